#include "tests/win/SkinOnScreen.h"

#include <algorithm>
#include <sstream>

#include "skin/frame/SkinPixels.h"

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

namespace {

// Sends a message whose lParam points at `data` (read and written by the window's procedure),
// through a copy in the window's process when it is another one. 0 when that fails.
template <typename T>
LRESULT SendWithData(HWND window, UINT msg, WPARAM wParam, T& data) {
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (pid == GetCurrentProcessId()) return SendMessageW(window, msg, wParam, reinterpret_cast<LPARAM>(&data));
  HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
  if (!process) return 0;
  LRESULT result = 0;
  if (void* remote = VirtualAllocEx(process, nullptr, sizeof(T), MEM_COMMIT, PAGE_READWRITE)) {
    if (WriteProcessMemory(process, remote, &data, sizeof(T), nullptr)) {
      result = SendMessageW(window, msg, wParam, reinterpret_cast<LPARAM>(remote));
      if (!ReadProcessMemory(process, remote, &data, sizeof(T), nullptr)) result = 0;
    }
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  }
  CloseHandle(process);
  return result;
}

}  // namespace

bool ComboInfoOf(HWND combo, COMBOBOXINFO& info) {
  info = {};
  info.cbSize = sizeof info;
  return SendWithData(combo, CB_GETCOMBOBOXINFO, 0, info) != 0;
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
  SendWithData(listBox, LB_GETITEMRECT, row, r);
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

}  // namespace qlt::test
