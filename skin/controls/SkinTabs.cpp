#include "skin/controls/SkinTabs.h"

#include <commctrl.h>

#include <algorithm>

#include "skin/data/BitmapTransforms.h"
#include "skin/data/WinSkinData.h"

namespace qlt {

namespace {

constexpr int kTabCellNormal = 1;
constexpr int kTabCellSelected = 2;
// Enough for any caption a tab shows; the control is told the size, so a longer one is cut here
// and never written past the buffer.
constexpr int kCaptionBuffer = 260;

SkinRect ToSkinRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

Pixel32 PixelOf(COLORREF c) { return ToPixel32(RgbPixel(GetRValue(c), GetGValue(c), GetBValue(c))); }

// The caller's DC state (clipping, selected objects, colours) around what is done on it.
class SavedDcState {
 public:
  explicit SavedDcState(HDC dc) : dc_(dc), saved_(SaveDC(dc)) {}
  ~SavedDcState() {
    if (saved_) RestoreDC(dc_, saved_);
  }
  SavedDcState(const SavedDcState&) = delete;
  SavedDcState& operator=(const SavedDcState&) = delete;

 private:
  HDC dc_;
  int saved_;
};

}  // namespace

const TClassInfo& TSkinTab::StaticClass() {
  static const TClassInfo info = ClassBuilder<TSkinTab, TSkinControl>("TSkinTab").Build();
  return info;
}

bool TSkinTab::HasImage() const { return skin_ && skin_->Tabs && !skin_->Tabs->Image.Empty(); }

void TSkinTab::AttachWindow(HWND window, TSkinData* skin, TWinSkinForm* formSkinner) {
  TSkinControl::AttachWindow(window, skin, formSkinner);
  if (!Attached()) return;
  focused_ = GetFocus() == window;
  LoadTabImages();
}

void TSkinTab::SkinChanged() {
  LoadTabImages();
  TSkinControl::SkinChanged();
}

void TSkinTab::LoadTabImages() {
  HWND h = Handle();
  side_ = TabSideOfStyle(h ? static_cast<std::uint32_t>(GetWindowLongW(h, GWL_STYLE)) : 0u);
  tabImage_.Clear();
  borderImage_.Clear();
  // Both images or neither: a skin without the page border shows the captions on the face alone.
  if (!HasImage() || skin_->Tabs->Image2.Empty()) return;
  tabImage_ = skin_->Tabs->Image;
  borderImage_ = skin_->Tabs->Image2;
  switch (side_) {
    case TabSide::kBottom:
      FlipVertical(tabImage_);
      FlipVertical(borderImage_);
      break;
    case TabSide::kLeft:
      RotateLeft(borderImage_);
      break;
    case TabSide::kRight:
      RotateRight(borderImage_);
      break;
    case TabSide::kTop:
      break;
  }
}

HWND TSkinTab::ArrowWindow() const {
  HWND h = Handle();
  HWND arrows = h ? FindWindowExW(h, nullptr, L"msctls_updown32", nullptr) : nullptr;
  return arrows && (GetWindowLongW(arrows, GWL_STYLE) & WS_VISIBLE) ? arrows : nullptr;
}

bool TSkinTab::BeforeMessage(TMessage& m) {
  if (!TSkinControl::BeforeMessage(m)) return false;
  if (!HasImage()) return true;
  switch (m.Msg) {
    case WM_PAINT:
      PaintMessage(m);
      return false;
    case WM_PRINTCLIENT:
      if (m.WParam) Paint(reinterpret_cast<HDC>(m.WParam), {});
      return false;
    case WM_ERASEBKGND:
      // Everything is painted at once on WM_PAINT.
      m.Result = 1;
      return false;
    default:
      return true;
  }
}

void TSkinTab::AfterMessage(TMessage& m) {
  if (m.Msg == TCM_SETCURFOCUS && HasImage()) {
    // The control need not repaint for a focus moved among button tabs; the skin shows it. (A new
    // selection repaints the control itself.)
    Redraw();
    return;
  }
  if (m.Msg == WM_STYLECHANGED) {
    // Tabs moved to another side: the images are oriented again.
    LoadTabImages();
    Redraw();
    return;
  }
  TSkinControl::AfterMessage(m);
}

void TSkinTab::DrawNow(HDC dc) {
  HWND h = Handle();
  if (!h) return;
  try {
    if (dc) {
      Paint(dc, {});
    } else {
      // The client area: the control's rectangles (tabs, pages) are all in client coordinates.
      WindowDc client(h);
      if (client.Get()) Paint(client.Get(), {});
    }
  } catch (...) {
    // The control keeps what it showed.
  }
}

void TSkinTab::DrawTab(HDC dc, const PixelView& strip, const SkinRect& local, int dcLeft, int index, int cell,
                       bool focus) {
  HWND h = Handle();
  const TDataSkinBorder& tabs = *skin_->Tabs;
  if (!tabImage_.Empty()) {
    GdiFlush();  // text drawn on the surface by GDI is in its pixels before they are written here
    SkinMargins margins{tabs.LeftWidth, tabs.TopHeight, tabs.RightWidth, tabs.BottomHeight};
    if (side_ == TabSide::kBottom) std::swap(margins.top, margins.bottom);  // the image is upside down
    DrawNineSlice(strip, local, tabImage_, tabs.Frame, cell, CellLayout::kSideBySide, margins, tabs.Tile == 1,
                  tabs.Trans != 0 ? BlendMode::kKeyTransparent : BlendMode::kCopy);
  }
  // The caption with the W message and the buffer's size: Chinese captions stay Chinese.
  wchar_t text[kCaptionBuffer] = {};
  TCITEMW item{};
  item.mask = TCIF_TEXT | TCIF_IMAGE | TCIF_STATE;
  item.dwStateMask = TCIS_BUTTONPRESSED | TCIS_HIGHLIGHTED;
  item.pszText = text;
  item.cchTextMax = kCaptionBuffer;
  item.iImage = -1;
  if (!SendMessageW(h, TCM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item))) text[0] = 0;
  text[kCaptionBuffer - 1] = 0;
  const int length = static_cast<int>(wcslen(text));

  // GDI draws on the surface's DC, where the strip starts at dcLeft.
  const SkinRect at = local.Offset(dcLeft, 0);
  HIMAGELIST images = reinterpret_cast<HIMAGELIST>(SendMessageW(h, TCM_GETIMAGELIST, 0, 0));
  int imageWidth = 0, imageHeight = 0;
  if (images && item.iImage >= 0 && ImageList_GetIconSize(images, &imageWidth, &imageHeight) &&
      imageWidth >= at.Width()) {
    imageWidth = imageHeight = 0;  // an image wider than its tab is left out
  }
  if (!images || item.iImage < 0) imageWidth = imageHeight = 0;
  SIZE textSize{0, 0};
  if (length > 0) GetTextExtentPoint32W(dc, text, length, &textSize);
  const TabContentPlacement place = PlaceTabContent(at.Width(), at.Height(), imageWidth, imageHeight, textSize.cx);
  if (!place.image.Empty()) {
    ImageList_Draw(images, item.iImage, dc, at.left + place.image.left, at.top + place.image.top, ILD_TRANSPARENT);
  }
  const COLORREF fallback = SkinColourToRgb(skin_->ButtonTextColour, GetSysColor(COLOR_BTNTEXT));
  COLORREF colour = SkinColourToRgb(cell == kTabCellSelected ? tabs.MouseOverColour2 : tabs.NormalColour2, fallback);
  if (!IsWindowEnabled(h)) colour = GetSysColor(COLOR_BTNSHADOW);
  SetTextColor(dc, colour);
  RECT r{at.left + place.text.left, at.top + place.text.top, at.left + place.text.right, at.top + place.text.bottom};
  if (length > 0) DrawTextW(dc, text, length, &r, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
  if (focus) {
    RECT f{at.left + 3, at.top + 3, at.right - 3, at.bottom - 3};
    if (f.right > f.left && f.bottom > f.top) DrawFocusRect(dc, &f);
  }
}

void TSkinTab::Paint(HDC dc, const SkinRect&) {
  HWND h = Handle();
  if (!h || !dc || !HasImage()) return;
  if (TabSideOfStyle(static_cast<std::uint32_t>(GetWindowLongW(h, GWL_STYLE))) != side_) LoadTabImages();
  RECT client{};
  GetClientRect(h, &client);
  const int width = client.right, height = client.bottom;
  if (width <= 0 || height <= 0) return;
  RECT display = client;
  SendMessageW(h, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
  const TabStripLayout layout = LayOutTabStrip(side_, width, height, ToSkinRect(display));

  // The window's picture at the surface's left, the horizontal strip beside it.
  PaintSurface& surface = Surface();
  const int stripLength = layout.HasStrip() ? layout.length : 0;
  const int stripThickness = layout.HasStrip() ? layout.thickness : 0;
  if (!surface.Reserve(width + stripLength, std::max(height, stripThickness))) return;
  const PixelView all = surface.View(width + stripLength, std::max(height, stripThickness));
  const PixelView window(&all.At(0, 0), width, height, surface.Width());
  const Pixel32 face = PixelOf(SkinColourToRgb(skin_->ButtonFaceColour, GetSysColor(COLOR_BTNFACE)));

  // The strip first: a caption running past its tab may spill into the window's part of the
  // surface, which is filled afterwards.
  const PixelView strip = layout.HasStrip() ? PixelView(&all.At(width, 0), stripLength, stripThickness, surface.Width())
                                            : PixelView();
  if (!strip.Empty()) {
    strip.Fill(strip.Bounds(), face);
    HDC memory = surface.Dc();
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(h, WM_GETFONT, 0, 0));
    SelectedObject selectFont(memory, font ? font : GetStockObject(DEFAULT_GUI_FONT));
    const int mode = SetBkMode(memory, TRANSPARENT);
    const COLORREF oldColour = GetTextColor(memory);
    const int count = static_cast<int>(SendMessageW(h, TCM_GETITEMCOUNT, 0, 0));
    // The selected tab is the selected one, whatever has the focus; the focus is drawn as focus.
    const int selected = static_cast<int>(SendMessageW(h, TCM_GETCURSEL, 0, 0));
    const int focusIndex = static_cast<int>(SendMessageW(h, TCM_GETCURFOCUS, 0, 0));
    const bool hasFocus = GetFocus() == h && !(GetWindowLongW(h, GWL_STYLE) & TCS_FOCUSNEVER);
    // The selected tab last, over its neighbours.
    for (int pass = 0; pass < 2; ++pass) {
      for (int i = 0; i < count; ++i) {
        if ((i == selected) != (pass == 1)) continue;
        RECT r{};
        if (!SendMessageW(h, TCM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r))) continue;
        const SkinRect at = TabInStrip(side_, layout, ToSkinRect(r));
        if (at.Intersect(strip.Bounds()).Empty()) continue;
        DrawTab(memory, strip, at, width, i, i == selected ? kTabCellSelected : kTabCellNormal,
                hasFocus && i == focusIndex);
      }
    }
    SetTextColor(memory, oldColour);
    SetBkMode(memory, mode);
    GdiFlush();
  }
  window.Fill(window.Bounds(), face);
  if (!strip.Empty()) PutStrip(side_, strip, layout, window);
  if (!borderImage_.Empty()) {
    const SkinRect cell = CellRect(borderImage_.Width(), borderImage_.Height(), 1, 1, CellLayout::kSideBySide);
    DrawPieces(window, borderImage_, PageBorderPieces(cell, PageBorderMargins(side_), layout.page),
               skin_->Tabs->Trans != 0 ? BlendMode::kKeyTransparent : BlendMode::kCopy);
  }

  // One copy; the overflow arrows keep what the system drew, and the caller's clipping is its own
  // again afterwards.
  SavedDcState state(dc);
  if (HWND arrows = ArrowWindow()) {
    RECT a{};
    GetWindowRect(arrows, &a);
    MapWindowPoints(nullptr, h, reinterpret_cast<POINT*>(&a), 2);
    ExcludeClipRect(dc, a.left, a.top, a.right, a.bottom);
  }
  surface.CopyTo(dc, {0, 0, width, height}, 0, 0);
  ++paints_;
}

}  // namespace qlt
