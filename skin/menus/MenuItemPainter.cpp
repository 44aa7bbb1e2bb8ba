#include "skin/menus/MenuItemPainter.h"

#include <algorithm>

#include "skin/controls/SkinManager.h"
#include "skin/data/WinSkinData.h"
#include "skin/frame/PaintSurface.h"
#include "skin/menus/MenuItemLayout.h"
#include "skin/menus/WinSkinPopMenu.h"
#include "ui/Handles.h"

namespace qlt {

namespace {

// Every item is composed here and copied to its DC once: the surface grows to the largest item
// and stays, so painting items creates no GDI object that outlives the paint.
PaintSurface& ItemSurface() {
  static PaintSurface surface;
  return surface;
}

Pixel32 PixelOf(COLORREF c) { return ToPixel32(RgbPixel(GetRValue(c), GetGValue(c), GetBValue(c))); }

COLORREF Colour(TColor colour, int systemIndex) { return SkinColourToRgb(colour, GetSysColor(systemIndex)); }

// Where the item's DC sits in its popup window: the window's border lies outside the client area
// on Windows (3 pixels), inside it under Wine (none). A DC that belongs to no window (printing)
// is taken to have the border outside.
POINT ClientOffset(HDC dc) {
  const HWND window = WindowFromDC(dc);
  RECT frame{};
  if (!window || !GetWindowRect(window, &frame)) return {kPopupBorder, kPopupBorder};
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  return {origin.x - frame.left, origin.y - frame.top};
}

// Copies the popup's background behind the item (`item` in window coordinates); false when there
// is no background to copy from.
bool CopyBackground(const PixelView& view, HBITMAP background, const SkinRect& item) {
  DIBSECTION ds{};
  if (!background || GetObjectW(background, sizeof ds, &ds) != sizeof ds || !ds.dsBm.bmBits ||
      ds.dsBm.bmBitsPixel != 32) {
    return false;
  }
  const int w = ds.dsBm.bmWidth, h = ds.dsBm.bmHeight;
  if (w <= 0 || h <= 0) return false;
  const bool topDown = ds.dsBmih.biHeight < 0;
  const int stride = ds.dsBm.bmWidthBytes / 4;
  const auto* bits = static_cast<const Pixel32*>(ds.dsBm.bmBits);
  GdiFlush();
  const SkinRect inside = item.Intersect(SkinRect{0, 0, w, h});
  if (inside != item) view.Fill(view.Bounds(), bits[0]);  // an item beyond the window (scrolled): no gap
  for (int y = inside.top; y < inside.bottom; ++y) {
    const Pixel32* row = bits + static_cast<std::ptrdiff_t>(topDown ? y : h - 1 - y) * stride;
    std::copy(row + inside.left, row + inside.right, view.Row(y - item.top) + (inside.left - item.left));
  }
  return true;
}

// A right-to-left menu of the framework (it leaves MFT_RIGHTORDER off, which Wine misreads), or the
// menu's own right-to-left mark on the item's entry.
bool RightToLeft(TMenuItem& item) {
  if (const TMenu* menu = item.GetParentMenu(); menu && menu->IsRightToLeft()) return true;
  TMenuItem* parent = item.Parent();
  if (!parent || !parent->HandleAllocated()) return false;
  MENUITEMINFOW mii{};
  mii.cbSize = sizeof mii;
  mii.fMask = MIIM_FTYPE;
  return GetMenuItemInfoW(parent->Handle(), item.Command(), FALSE, &mii) && (mii.fType & MFT_RIGHTORDER);
}

RECT ToRect(const SkinRect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

// The system's check mark (or bullet) in a colour: its black-on-white mask, then the colour
// painted through the mask's black.
void DrawCheckMark(HDC dc, const SkinRect& glyph, bool radio, COLORREF colour) {
  const int w = GetSystemMetrics(SM_CXMENUCHECK), h = GetSystemMetrics(SM_CYMENUCHECK);
  UniqueMemoryDc mask(CreateCompatibleDC(dc));
  UniqueBitmap bits(CreateBitmap(w, h, 1, 1, nullptr));
  UniqueBrush brush(CreateSolidBrush(colour));
  if (!mask || !bits || !brush) return;
  const SelectedObject maskBits(mask.Get(), bits.Get());
  RECT r{0, 0, w, h};
  PatBlt(mask.Get(), 0, 0, w, h, WHITENESS);
  DrawFrameControl(mask.Get(), &r, DFC_MENU, radio ? DFCS_MENUBULLET : DFCS_MENUCHECK);
  const SelectedObject paint(dc, brush.Get());
  const COLORREF text = SetTextColor(dc, RGB(0, 0, 0));
  const COLORREF back = SetBkColor(dc, RGB(255, 255, 255));
  const int x = glyph.left + (glyph.Width() - w) / 2 + 1, y = glyph.top + (glyph.Height() - h) / 2 + 1;
  constexpr DWORD kBrushWhereBlack = 0x00B8074A;  // ((dest ^ brush) & source) ^ brush
  BitBlt(dc, x, y, w, h, mask.Get(), 0, 0, kBrushWhereBlack);
  SetTextColor(dc, text);
  SetBkColor(dc, back);
}

// The checked look behind an image: the button face and highlight mixed, a sunken edge around.
void DrawCheckedBox(HDC dc, const SkinRect& glyph) {
  static const WORD pattern[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
  UniqueBitmap bits(CreateBitmap(8, 8, 1, 1, pattern));
  UniqueBrush brush(bits ? CreatePatternBrush(bits.Get()) : nullptr);
  if (!brush) return;
  const COLORREF text = SetTextColor(dc, GetSysColor(COLOR_BTNFACE));
  const COLORREF back = SetBkColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
  RECT r = ToRect(glyph);
  FillRect(dc, &r, brush.Get());
  SetTextColor(dc, text);
  SetBkColor(dc, back);
  InflateRect(&r, 1, 1);
  DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT);
}

// Glyph, caption and shortcut of an item that is not a separator, on the composed surface.
void DrawContent(const TSkinData& skin, TMenuItem& item, TCanvas& canvas, const SkinRect& rect, TOwnerDrawState state,
                 bool rightToLeft) {
  const HDC dc = canvas.Handle();
  const bool selected = (state & odSelected) != 0;
  const bool disabled = !item.Enabled() || (state & (odDisabled | odGrayed)) != 0;
  TImageList* images = item.GetImageList();
  const int band = skin.MenuItem ? skin.MenuItem->LeftWidth : 0;
  const int size = MenuGlyphSize(images ? images->Width() : 0, images != nullptr, item.Checked());
  const MenuItemPlaces places = PlaceMenuItem(rect, size, band, false, rightToLeft);

  if (images && item.ImageIndex() >= 0 && item.ImageIndex() < images->Count()) {
    if (item.Checked()) DrawCheckedBox(dc, places.glyph);
    images->Draw(&canvas, places.glyph.left, places.glyph.top, item.ImageIndex(), !disabled);
  } else if (item.Checked()) {
    DrawCheckMark(dc, places.glyph, item.RadioItem(), Colour(skin.ButtonTextColour, COLOR_BTNTEXT));
  }

  TFont* font = canvas.Font();
  const TFontStyles style = font->Style();
  if (item.Default()) font->SetStyle(style | FontStyle(fsBold));
  COLORREF colour = selected ? Colour(skin.HilightTextColour, COLOR_HIGHLIGHTTEXT) : Colour(skin.MenuTextColour, COLOR_MENUTEXT);
  if (disabled) {
    // A shadow colour the same as the text would hide that the item is disabled.
    colour = skin.ButtonShadowColour == skin.MenuTextColour ? GetSysColor(COLOR_BTNSHADOW)
                                                             : Colour(skin.ButtonShadowColour, COLOR_BTNSHADOW);
  }
  font->SetColor(static_cast<TColor>(colour));
  canvas.Brush()->SetStyle(bsClear);
  SetBkMode(dc, TRANSPARENT);

  const UINT hidePrefix = (state & odNoAccel) ? DT_HIDEPREFIX : 0;
  const UINT direction = rightToLeft ? DT_RIGHT | DT_RTLREADING : 0;
  TRect measured = ToRect(places.text);
  canvas.DrawText(item.Caption(), measured, DT_CALCRECT | DT_NOCLIP | DT_EXPANDTABS | DT_SINGLELINE | hidePrefix | direction);
  const SkinRect caption = CaptionRect(places, rect, measured.right - measured.left, measured.bottom - measured.top,
                                       rightToLeft);
  TRect text = ToRect(caption);
  canvas.DrawText(item.Caption(), text, DT_EXPANDTABS | DT_SINGLELINE | DT_NOCLIP | hidePrefix | direction);
  if (item.ShortCut()) {
    TRect shortcut = ToRect(ShortcutRect(places, rect, caption, rightToLeft));
    if (shortcut.right > shortcut.left) {
      canvas.DrawText(ShortCutToText(item.ShortCut()), shortcut,
                      DT_SINGLELINE | DT_EXPANDTABS | (rightToLeft ? DT_LEFT | DT_RTLREADING : DT_RIGHT));
    }
  }
  font->SetStyle(style);
}

}  // namespace

void DrawSkinnedMenuItem(const TSkinData& skin, TMenuItem& item, TCanvas& canvas, const TRect& rect,
                         TOwnerDrawState state, HBITMAP background) {
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  if (w <= 0 || h <= 0) return;
  PaintSurface& surface = ItemSurface();
  if (!surface.Reserve(w, h)) return item.DefaultDrawItem(&canvas, rect, state, false);
  const PixelView view = surface.View(w, h);
  const SkinRect all{0, 0, w, h};
  const bool selected = (state & odSelected) != 0;
  const bool separator = item.IsLine();
  const TDataSkinObject* look = skin.MenuItem && !skin.MenuItem->Image.Empty() ? skin.MenuItem.get() : nullptr;

  if (look) {
    const POINT offset = ClientOffset(canvas.Handle());
    const SkinRect inWindow{rect.left + offset.x, rect.top + offset.y, rect.right + offset.x, rect.bottom + offset.y};
    if (!CopyBackground(view, background, inWindow)) view.Fill(all, PixelOf(Colour(skin.MenuColour, COLOR_MENU)));
    if (separator) {
      const SkinRect cell = CellRect(look->Image.Width(), look->Image.Height(), kMenuItemCells, kMenuItemSeparatorCell,
                                     CellLayout::kSideBySide);
      DrawPieces(view, look->Image, SeparatorPieces(cell, look->LeftWidth, look->RightWidth, all),
                 BlendMode::kKeyTransparent);
    } else {
      DrawNineSlice(view, all, look->Image, kMenuItemCells, MenuItemCell(false, selected), CellLayout::kSideBySide,
                    SkinMargins{look->LeftWidth, look->TopHeight, look->RightWidth, look->BottomHeight},
                    look->Tile != 0, look->Trans == 1 ? BlendMode::kKeyTransparent : BlendMode::kCopy);
    }
  } else {
    const COLORREF fill = selected ? Colour(skin.HilightColour, COLOR_HIGHLIGHT) : Colour(skin.MenuColour, COLOR_MENU);
    view.Fill(all, PixelOf(fill));
  }

  TCanvas composed;
  composed.SetHandle(surface.Dc());
  composed.Font()->Assign(*canvas.Font());
  if (separator && !look) {
    // The plain look's separator: an etched line 4 pixels down.
    RECT line{0, 4, w, h};
    DrawEdge(surface.Dc(), &line, EDGE_ETCHED, BF_TOP);
  } else if (!separator) {
    DrawContent(skin, item, composed, all, state, RightToLeft(item));
  }
  composed.SetHandle(nullptr);
  surface.CopyTo(canvas.Handle(), SkinRect{rect.left, rect.top, rect.right, rect.bottom}, 0, 0);
}

void DrawSkinnedMenuItemOnPopup(const TSkinData& skin, TMenuItem& item, TCanvas& canvas, const TRect& rect,
                                TOwnerDrawState state, HMENU menu) {
  if (SkinManager && SkinManager->MenuBarPopup()) SkinManager->MarkMenuBarPopups();
  TWinSkinPopMenu::MenuPainted(menu);
  const HBITMAP background = SkinManager ? SkinManager->PopupBitmap(menu) : nullptr;
  DrawSkinnedMenuItem(skin, item, canvas, rect, state, background);
}

void MeasureSkinnedPopupItem(const TSkinData& skin, TMenuItem& item, int& width, int&) {
  const int band = skin.MenuItem ? skin.MenuItem->LeftWidth : 0;
  width = SkinnedPopupItemWidth(width, band, item.GetImageList() != nullptr);
}

void MeasureSkinnedMainMenuItem(const TSkinData& skin, TMenuItem& item, int& width, int&) {
  const int band = skin.MenuItem ? skin.MenuItem->LeftWidth : 0;
  width = SkinnedMainMenuItemWidth(width, band, item.GetImageList() != nullptr);
}

}  // namespace qlt
