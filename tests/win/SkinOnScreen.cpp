#include "tests/win/SkinOnScreen.h"

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

}  // namespace qlt::test
