#include "tests/win/SkinOnScreen.h"

#include <algorithm>
#include <sstream>

#include <commctrl.h>

#include "skin/data/BitmapTransforms.h"
#include "skin/frame/SkinPixels.h"
#include "ui/Handles.h"

namespace qlt::test {

bool ButtonCornersShowCell(const ScreenGrab& grab, const TDataSkinButton& b, int cell, COLORREF face) {
  const Bitmap24& image = b.Image;
  const int cw = image.Width() / 5, ch = image.Height(), x0 = (cell - 1) * cw;
  const int w = grab.Width(), h = grab.Height();
  const int l = b.LeftWidth, t = b.TopHeight, r = b.RightWidth, bo = b.BottomHeight;
  if (image.Empty() || w < l + r || h < t + bo) return false;
  // A corner block of the grab against the same block of the cell.
  auto block = [&](int gx, int gy, int ix, int iy, int bw, int bh) {
    for (int y = 0; y < bh; ++y) {
      for (int x = 0; x < bw; ++x) {
        const Bgr p = image.At(ix + x, iy + y);
        const COLORREF expected = b.Trans == 1 && IsTransparent(p) ? face : RGB(p.r, p.g, p.b);
        if (grab.Pixel(gx + x, gy + y) != expected) return false;
      }
    }
    return true;
  };
  return block(0, 0, x0, 0, l, t) && block(w - r, 0, x0 + cw - r, 0, r, t) && block(0, h - bo, x0, ch - bo, l, bo) &&
         block(w - r, h - bo, x0 + cw - r, ch - bo, r, bo);
}

int ButtonCellOnScreen(const ScreenGrab& grab, const TDataSkinButton& buttons, COLORREF face) {
  int found = 0;
  for (int cell = 1; cell <= 5; ++cell) {
    if (!ButtonCornersShowCell(grab, buttons, cell, face)) continue;
    if (found) return -1;
    found = cell;
  }
  return found;
}

COLORREF ColourOf(TColor colour) {
  return (colour & 0xFF000000) ? GetSysColor(colour & 0xFF) : static_cast<COLORREF>(colour & 0xFFFFFF);
}

int CountColour(const ScreenGrab& grab, POINT origin, const RECT& area, COLORREF colour) {
  int n = 0;
  for (int y = area.top; y < area.bottom; ++y) {
    for (int x = area.left; x < area.right; ++x) n += grab.PixelAt({origin.x + x, origin.y + y}) == colour;
  }
  return n;
}

RECT ColourBounds(const ScreenGrab& grab, POINT origin, const RECT& area, COLORREF colour) {
  RECT box{area.right, area.bottom, area.left, area.top};
  for (int y = area.top; y < area.bottom; ++y) {
    for (int x = area.left; x < area.right; ++x) {
      if (grab.PixelAt({origin.x + x, origin.y + y}) != colour) continue;
      box = {std::min<LONG>(box.left, x), std::min<LONG>(box.top, y), std::max<LONG>(box.right, x + 1),
             std::max<LONG>(box.bottom, y + 1)};
    }
  }
  return box.left < box.right ? box : RECT{};
}

int TextInkWidth(const std::wstring& text, COLORREF colour, bool menuFont) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) return 0;
  constexpr int kWidth = 1000, kHeight = 100;
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), kWidth, -kHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  UniqueBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
  UniqueFont font(CreateFontIndirectW(menuFont ? &metrics.lfMenuFont : &metrics.lfCaptionFont));
  if (!bitmap || !dc || !font) return 0;
  auto* pixels = static_cast<DWORD*>(bits);
  const DWORD ink = (DWORD{GetRValue(colour)} << 16) | (DWORD{GetGValue(colour)} << 8) | GetBValue(colour);
  std::fill_n(pixels, kWidth * kHeight, ink ^ 0x808080);
  {
    SelectedObject b(dc.Get(), bitmap.Get()), f(dc.Get(), font.Get());
    SetBkMode(dc.Get(), TRANSPARENT);
    SetTextColor(dc.Get(), colour);
    RECT r{10, 10, kWidth, kHeight};
    DrawTextW(dc.Get(), text.c_str(), -1, &r, DT_SINGLELINE | DT_NOPREFIX);
    GdiFlush();
  }
  int left = kWidth, right = 0;
  for (int i = 0; i < kWidth * kHeight; ++i) {
    if ((pixels[i] & 0xFFFFFF) == ink) left = std::min(left, i % kWidth), right = std::max(right, i % kWidth + 1);
  }
  return std::max(right - left, 0);
}

namespace {

Pixel32 SkinPx(TColor colour) {
  const COLORREF c = ColourOf(colour);
  return ToPixel32(RgbPixel(GetRValue(c), GetGValue(c), GetBValue(c)));
}

}  // namespace

PixelBuffer ExpectedUpDown(const TSkinContent& s, int w, int h, bool horizontal, bool inEdit, int first, int second) {
  PixelBuffer buffer(w, h, SkinPx(s.ButtonFaceColour));
  const PixelView view = buffer.View();
  const UpDownHalves halves = SplitUpDown(w, h, horizontal, inEdit);
  const TDataSkinBorder* art = horizontal ? s.UpDownHorz.get() : s.UpDownVert.get();
  for (int half = 0; half < 2; ++half) {
    const SkinRect& r = half ? halves.second : halves.first;
    const int look = half ? second : first;
    const int cell = UpDownCell(look, half == 1);
    if (art && !art->Image.Empty()) {
      DrawCell(view, r, art->Image, 8, cell, BlendMode::kKeyTransparent);
      DrawCell(view, CentreIn(r, art->Image2.Width() / 8, art->Image2.Height()), art->Image2, 8, cell,
               BlendMode::kKeyTransparent);
      continue;
    }
    const bool sunk = look == kLookPressed || look == kLookHot;
    view.Fill(r, SkinPx(sunk ? s.ButtonShadowColour : s.ButtonFaceColour));
    FrameRectPixels(view, r, SkinPx(s.ButtonDkShadowColour));
    DrawArrow(view, r,
              horizontal ? (half ? ArrowDirection::kRight : ArrowDirection::kLeft)
                         : (half ? ArrowDirection::kDown : ArrowDirection::kUp),
              SkinPx(look == kLookDisabled ? s.ButtonShadowColour : s.ButtonDkShadowColour));
  }
  return buffer;
}

PixelBuffer ExpectedCombo(const TSkinContent& s, int w, int h, int look, bool buttonLeft, ComboLayout& layout) {
  PixelBuffer buffer(w, h, SkinPx(s.ButtonFaceColour));
  const PixelView view = buffer.View();
  layout = LayOutCombo(w, h, GetSystemMetrics(SM_CXHSCROLL), buttonLeft);
  if (!s.SunkEdge || !s.ComboButton) return buffer;
  const TDataSkinObject& ring = *s.SunkEdge;
  DrawNineSlice(view, {0, 0, w, h}, ring.Image, 4, look, CellLayout::kSideBySide,
                {ring.LeftWidth, ring.TopHeight, ring.RightWidth, ring.BottomHeight}, ring.Tile == 1,
                ring.Trans == 1 ? BlendMode::kKeyTransparent : BlendMode::kCopy);
  DrawCell(view, layout.button, buttonLeft ? s.ComboButton->Image2 : s.ComboButton->Image, 4, look,
           BlendMode::kKeyTransparent);
  if (s.ExtraImages && s.ExtraImages->Frame > 0) {
    const TDataSkinObject& extra = *s.ExtraImages;
    DrawCell(view, CentreIn(layout.glyph, extra.Image.Width() / extra.Frame, extra.Image.Height()), extra.Image,
             extra.Frame, look, BlendMode::kKeyTransparent);
  }
  return buffer;
}

int PixelMismatches(const ScreenGrab& grab, const PixelBuffer& want, const SkinRect& skip) {
  if (grab.Width() != want.Width() || grab.Height() != want.Height()) return -1;
  int bad = 0;
  for (int y = 0; y < grab.Height(); ++y) {
    for (int x = 0; x < grab.Width(); ++x) {
      const Pixel32 p = want.At(x, y);
      if (!skip.Contains(x, y) && grab.Pixel(x, y) != RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF)) ++bad;
    }
  }
  return bad;
}

bool WindowShowsAt(HWND window, POINT screen) {
  for (HWND w = window; w && (GetWindowLongW(w, GWL_STYLE) & WS_CHILD); w = GetParent(w)) {
    HWND parent = GetParent(w);
    RECT client{};
    GetClientRect(parent, &client);
    POINT p = screen;
    ScreenToClient(parent, &p);
    if (!PtInRect(&client, p)) return false;
    for (HWND above = GetWindow(w, GW_HWNDPREV); above; above = GetWindow(above, GW_HWNDPREV)) {
      RECT r{};
      if (IsWindowVisible(above) && GetWindowRect(above, &r) && PtInRect(&r, screen)) return false;
    }
  }
  return true;
}

bool CornersShowCell(const Bitmap24& shown, const SkinRect& place, const Bitmap24& image, int count, int cell,
                     SkinMargins m, bool trans, Bgr face) {
  const SkinRect c = CellRect(image.Width(), image.Height(), count, cell, CellLayout::kSideBySide);
  if (c.Empty() || place.Width() < m.left + m.right || place.Height() < m.top + m.bottom) return false;
  auto colour = [&](int ix, int iy) {
    const Bgr p = image.At(ix, iy);
    return trans && IsTransparent(p) ? face : p;
  };
  auto inside = [&](int x, int y) { return x >= 0 && y >= 0 && x < shown.Width() && y < shown.Height(); };
  int checked = 0;
  // A corner block of the place against the same block of the cell; a block the picture cuts off
  // (a tab that runs under the page border) is not checked.
  auto block = [&](int px, int py, int ix, int iy, int bw, int bh) {
    if (!inside(px, py) || !inside(px + bw - 1, py + bh - 1)) return true;
    ++checked;
    for (int y = 0; y < bh; ++y) {
      for (int x = 0; x < bw; ++x) {
        if (!(shown.At(px + x, py + y) == colour(ix + x, iy + y))) return false;
      }
    }
    return true;
  };
  // A row of the top or bottom margin between the corners: each pixel one of the cell's pixels of
  // that row's middle (which is stretched along the place).
  auto band = [&](int py, int iy) {
    if (!inside(place.left, py)) return true;
    for (int x = place.left + m.left; x < place.right - m.right; ++x) {
      if (!inside(x, py)) continue;
      bool found = false;
      for (int ix = c.left + m.left; ix < c.right - m.right && !found; ++ix) found = shown.At(x, py) == colour(ix, iy);
      if (!found) return false;
    }
    return true;
  };
  // The corners' two outer rows: a caption (a tall Chinese one, cut with an ellipsis near the
  // end) may reach into their inner rows.
  const int w = place.Width(), h = place.Height(), x = place.left, y = place.top;
  const int top = std::min(m.top, 2), bottom = std::min(m.bottom, 2);
  const bool corners =
      block(x, y, c.left, 0, m.left, top) && block(x + w - m.right, y, c.right - m.right, 0, m.right, top) &&
      block(x, y + h - bottom, c.left, c.bottom - bottom, m.left, bottom) &&
      block(x + w - m.right, y + h - bottom, c.right - m.right, c.bottom - bottom, m.right, bottom);
  if (!corners || checked < 2) return false;
  for (int row = 0; row < top; ++row) {
    if (!band(y + row, row)) return false;
  }
  return true;
}

std::string FlatBorderFault(HWND h, const TSkinContent& s) {
  std::string wrong;
  int seen = 0, hidden = 0;
  const bool ok = WaitUntil(
      [&] {
        const ScreenGrab g = ScreenGrab::OfWindow(h);
        std::ostringstream out;
        seen = hidden = 0;
        const int w = g.Width(), ht = g.Height();
        auto check = [&](int x, int y, COLORREF want) {
          if (!WindowShowsAt(h, {g.Rect().left + x, g.Rect().top + y})) {
            ++hidden;
            return;
          }
          ++seen;
          if (g.Pixel(x, y) != want) out << "(" << x << "," << y << ") ";
        };
        for (int ring = 0; ring < 2; ++ring) {
          const COLORREF want = ring ? RGB(255, 255, 255) : ColourOf(s.ButtonShadowColour);
          for (int x = ring; x < w - ring; ++x) check(x, ring, want), check(x, ht - 1 - ring, want);
          for (int y = ring + 1; y < ht - 1 - ring; ++y) check(ring, y, want), check(w - 1 - ring, y, want);
        }
        wrong = out.str();
        return wrong.empty() && seen > 2 * hidden;
      },
      3s);
  if (ok) return {};
  return std::to_string(seen) + " border pixels seen, " + std::to_string(hidden) + " covered; wrong: " +
         wrong.substr(0, 300);
}

bool ComboInfoOf(HWND combo, COMBOBOXINFO& info) {
  info = {};
  info.cbSize = sizeof info;
  return SendWithData(combo, CB_GETCOMBOBOXINFO, 0, &info, sizeof info) != 0;
}

SkinRect ComboItemArea(HWND combo) {
  COMBOBOXINFO info{};
  RECT w{};
  POINT origin{0, 0};
  if (!ComboInfoOf(combo, info) || !GetWindowRect(combo, &w) || !ClientToScreen(combo, &origin)) return {};
  return SkinRect{info.rcItem.left, info.rcItem.top, info.rcItem.right, info.rcItem.bottom}.Offset(origin.x - w.left,
                                                                                                     origin.y - w.top);
}

int ShownListRow(HWND listBox, int avoid) {
  const auto top = SendMessageW(listBox, LB_GETTOPINDEX, 0, 0);
  const auto count = SendMessageW(listBox, LB_GETCOUNT, 0, 0);
  if (top < 0 || count <= 0) return -1;
  const int row = static_cast<int>(top) + (top == avoid ? 1 : 0);
  return row < count ? row : -1;
}

POINT ShownListRowCentre(HWND listBox, int row) {
  RECT r{};
  SendWithData(listBox, LB_GETITEMRECT, row, &r, sizeof r);
  POINT centre{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  ClientToScreen(listBox, &centre);
  return centre;
}

int CellOfCorners(const Bitmap24& shown, const SkinRect& place, const Bitmap24& image, int count, SkinMargins margins,
                  bool trans, Bgr face) {
  int found = 0;
  for (int cell = 1; cell <= count; ++cell) {
    if (!CornersShowCell(shown, place, image, count, cell, margins, trans, face)) continue;
    if (found) return -1;
    found = cell;
  }
  return found;
}

std::string QltFormDescription(const wchar_t* resourceName, bool keepSkin) {
  HMODULE module = GetModuleHandleW(nullptr);
  HRSRC resource = FindResourceW(module, resourceName, reinterpret_cast<LPCWSTR>(RT_RCDATA));
  const char* data = resource ? static_cast<const char*>(LockResource(LoadResource(module, resource))) : nullptr;
  if (!data) return {};
  std::istringstream in(std::string(data, SizeofResource(module, resource)));
  std::string out, line;
  std::string skinEnd;  // while inside the skin component left out: the indented "end" that closes it
  while (std::getline(in, line)) {
    const size_t indent = std::min(line.find_first_not_of(' '), line.size());
    const std::string word = line.substr(indent);
    if (!skinEnd.empty()) {
      if (line.rfind(skinEnd, 0) == 0 && word.rfind("end", 0) == 0 && indent + 3 == skinEnd.size()) skinEnd.clear();
      continue;
    }
    if (!keepSkin && word.rfind("object ", 0) == 0 && word.find(": TSkinData") != std::string::npos) {
      skinEnd = line.substr(0, indent) + "end";
      continue;
    }
    if (word.rfind("On", 0) == 0 && word.find(" = ") != std::string::npos) continue;  // an event binding
    out += line + "\n";
  }
  return out;
}

Bitmap24 SideBySidePage(const std::vector<std::vector<const Bitmap24*>>& rows, int gap, Bgr background) {
  gap = std::max(gap, 0);
  int width = 0, height = gap;
  for (const auto& row : rows) {
    int w = gap, h = 0;
    for (const Bitmap24* image : row) {
      if (!image) continue;
      w += image->Width() + gap;
      h = std::max(h, image->Height());
    }
    width = std::max(width, w);
    height += h + gap;
  }
  Bitmap24 page(width, height, background);
  int top = gap;
  for (const auto& row : rows) {
    int left = gap, h = 0;
    for (const Bitmap24* image : row) {
      if (!image) continue;
      for (int y = 0; y < image->Height(); ++y) {
        std::copy(image->ScanLine(y), image->ScanLine(y) + image->Width(), page.ScanLine(top + y) + left);
      }
      left += image->Width() + gap;
      h = std::max(h, image->Height());
    }
    top += h + gap;
  }
  return page;
}

POINT UpDownHalfCentre(HWND upDown, bool horizontal, bool inEdit, bool second) {
  RECT r{};
  GetClientRect(upDown, &r);
  const UpDownHalves halves = SplitUpDown(r.right, r.bottom, horizontal, inEdit);
  const SkinRect& half = second ? halves.second : halves.first;
  POINT p{(half.left + half.right) / 2, (half.top + half.bottom) / 2};
  ClientToScreen(upDown, &p);
  return p;
}

// ---- tab controls ----

namespace {

SkinRect ToSkinRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

bool TabRect(HWND tab, int index, RECT& r) {
  r = {};
  return SendWithData(tab, TCM_GETITEMRECT, static_cast<WPARAM>(index), &r, sizeof r) != 0;
}

// With `cell` 0 the cell tab `index` shows (0: none, -1: several: a skin may draw the selected and
// the pressed tab alike), otherwise 1 when that cell shows.
int CheckTab(const TabPicture& p, HWND tab, int index, int cell, const TSkinContent& skin, Bgr face) {
  const TDataSkinBorder& t = *skin.Tabs;
  Bitmap24 image = t.Image;
  SkinMargins m{t.LeftWidth, t.TopHeight, t.RightWidth, t.BottomHeight};
  if (p.side == TabSide::kBottom) {
    FlipVertical(image);
    std::swap(m.top, m.bottom);
  }
  RECT r{};
  if (!TabRect(tab, index, r)) return 0;
  const SkinRect place = TabInStrip(p.side, p.layout, ToSkinRect(r));
  if (cell > 0) return CornersShowCell(p.strip, place, image, t.Frame, cell, m, t.Trans != 0, face) ? 1 : 0;
  return CellOfCorners(p.strip, place, image, t.Frame, m, t.Trans != 0, face);
}

}  // namespace

TabPicture PictureOf(HWND tab) {
  TabPicture p;
  p.side = TabSideOfStyle(static_cast<std::uint32_t>(GetWindowLongW(tab, GWL_STYLE)));
  RECT client{};
  GetClientRect(tab, &client);
  RECT display = client;
  SendWithData(tab, TCM_ADJUSTRECT, FALSE, &display, sizeof display);
  p.layout = LayOutTabStrip(p.side, client.right, client.bottom, ToSkinRect(display));
  RECT screen = client;
  MapWindowPoints(tab, nullptr, reinterpret_cast<POINT*>(&screen), 2);
  p.client = ScreenGrab(screen).Image();
  const SkinRect s = p.layout.strip;
  p.strip = p.client.Copy(s.left, s.top, s.Width(), s.Height());
  // The turn the skin made, undone.
  if (p.side == TabSide::kLeft) RotateRight(p.strip);
  if (p.side == TabSide::kRight) RotateLeft(p.strip);
  return p;
}

bool TabShowsCell(const TabPicture& p, HWND tab, int index, int cell, const TSkinContent& skin, Bgr face) {
  return CheckTab(p, tab, index, cell, skin, face) > 0;
}

std::string TabsOnScreen(HWND tab, const TSkinContent& skin, Bgr face) {
  std::string differs;
  WaitUntil([&] {
    differs.clear();
    const TabPicture p = PictureOf(tab);
    const int count = static_cast<int>(SendMessageW(tab, TCM_GETITEMCOUNT, 0, 0));
    const int selected = static_cast<int>(SendMessageW(tab, TCM_GETCURSEL, 0, 0));
    RECT client{};
    GetClientRect(tab, &client);
    for (int i = 0; i < count; ++i) {
      RECT r{};
      // A tab scrolled out of sight has no place (or none inside the control).
      if (!TabRect(tab, i, r)) continue;
      if (r.left < 0 || r.top < 0 || r.right > client.right || r.bottom > client.bottom) continue;
      if (HWND arrows = FindWindowExW(tab, nullptr, UPDOWN_CLASSW, nullptr); arrows && IsWindowVisible(arrows)) {
        RECT a{}, both{};
        GetWindowRect(arrows, &a);
        MapWindowPoints(nullptr, tab, reinterpret_cast<POINT*>(&a), 2);
        if (IntersectRect(&both, &a, &r)) continue;  // under the arrows
      }
      const int expected = i == selected ? 2 : 1;
      if (!TabShowsCell(p, tab, i, expected, skin, face) || TabShowsCell(p, tab, i, 3 - expected, skin, face)) {
        differs += "tab " + std::to_string(i) + " shows " + std::to_string(CheckTab(p, tab, i, 0, skin, face)) + "; ";
      }
    }
    if (count == 0) differs = "no tabs";
    return differs.empty();
  }, 3s);
  return differs;
}

bool TabPageBorderOnScreen(HWND tab, const TSkinContent& skin, Bgr face) {
  const TabPicture p = PictureOf(tab);
  Bitmap24 border = skin.Tabs->Image2;
  if (p.side == TabSide::kBottom) FlipVertical(border);
  if (p.side == TabSide::kLeft) RotateLeft(border);
  if (p.side == TabSide::kRight) RotateRight(border);
  return CornersShowCell(p.client, p.layout.page.Intersect({0, 0, p.client.Width(), p.client.Height()}), border, 1, 1,
                         PageBorderMargins(p.side), skin.Tabs->Trans != 0, face);
}

}  // namespace qlt::test
