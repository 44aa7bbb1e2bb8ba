#include "skin/menus/WinSkinPopMenu.h"

#include "skin/controls/SkinManager.h"
#include "skin/data/WinSkinData.h"
#include "skin/menus/MenuItemLayout.h"

namespace qlt {

namespace {

TWinSkinPopMenu* g_pendingPopup = nullptr;

// Copies parts of a bitmap to a DC, the bitmap selected into a memory DC for the copies only.
class BitmapSource {
 public:
  explicit BitmapSource(HBITMAP bitmap) : dc_(CreateCompatibleDC(nullptr)) {
    if (dc_) original_ = SelectObject(dc_.Get(), bitmap);
  }
  ~BitmapSource() {
    if (dc_ && original_) SelectObject(dc_.Get(), original_);
  }
  BitmapSource(const BitmapSource&) = delete;
  BitmapSource& operator=(const BitmapSource&) = delete;
  void CopyTo(HDC dest, const SkinRect& r) const {
    if (dc_ && !r.Empty()) BitBlt(dest, r.left, r.top, r.Width(), r.Height(), dc_.Get(), r.left, r.top, SRCCOPY);
  }

 private:
  UniqueMemoryDc dc_;
  HGDIOBJ original_ = nullptr;
};

SIZE WindowSize(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return {r.right - r.left, r.bottom - r.top};
}

// Wine's popup has no frame: its client area is the whole window, and it paints its border inside
// it during WM_PAINT.
bool ClientReachesBorder(HWND window) {
  RECT frame{}, client{};
  if (!GetWindowRect(window, &frame) || !GetClientRect(window, &client)) return false;
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  return origin.x - frame.left < kPopupBorder || origin.y - frame.top < kPopupBorder ||
         frame.right - (origin.x + client.right) < kPopupBorder ||
         frame.bottom - (origin.y + client.bottom) < kPopupBorder;
}

}  // namespace

TWinSkinPopMenu::~TWinSkinPopMenu() { ReleasePopup(); }

TWinSkinPopMenu* TWinSkinPopMenu::PendingPopup() { return g_pendingPopup; }

void TWinSkinPopMenu::MenuPainted(HMENU menu) {
  if (!g_pendingPopup || !menu) return;
  g_pendingPopup->menu_ = menu;
  g_pendingPopup = nullptr;
}

bool TWinSkinPopMenu::AttachPopup(HWND window, TSkinData& skin, HMENU menu) {
  ReleasePopup();
  window_ = window;
  skin_ = &skin;
  menu_ = menu;
  droppedFromMenuBar_ = false;
  return subclass_.Attach(window, [this](TMessage& m, const TWindowSubclass::Next& next) { PopupWndProc(m, next); });
}

void TWinSkinPopMenu::ReleasePopup() {
  subclass_.Detach();
  background_.Reset();
  bits_ = nullptr;
  backgroundSize_ = {};
  // A popup whose items never said which menu they belong to (a menu the system draws, such as an
  // edit's context menu) must not stay waiting once it is gone.
  if (g_pendingPopup == this) g_pendingPopup = nullptr;
}

void TWinSkinPopMenu::PopupWndProc(TMessage& m, const TWindowSubclass::Next& next) {
  if (m.Msg == WM_SKIN_QUERY) {
    m.Result = 1;
    return;
  }
  if (!SkinManager || !SkinManager->SkinEnabled()) return next(m);
  switch (m.Msg) {
    case WM_DESTROY:
      next(m);
      ReleasePopup();
      return;
    case WM_NCPAINT: {
      if (!PrepareBackground()) return next(m);
      // Answered here: the system's own border would cover the skin's.
      if (HDC dc = GetWindowDC(window_)) {
        PaintBorder(dc);
        ReleaseDC(window_, dc);
      }
      m.Result = 0;
      return;
    }
    case WM_PAINT: {
      // The items paint inside the default handling and copy their background from ours: it must
      // be ready first.
      const bool skinned = PrepareBackground();
      next(m);
      if (skinned && ClientReachesBorder(window_)) {
        if (HDC dc = GetWindowDC(window_)) {
          PaintBorder(dc);
          ReleaseDC(window_, dc);
        }
      }
      return;
    }
    case WM_PRINT:
      return Print(m, next);
    default:
      return next(m);
  }
}

bool TWinSkinPopMenu::CanPaint() const {
  return skin_ && !skin_->NoSkin && skin_->MenuBackground && !skin_->MenuBackground->Image.Empty();
}

bool TWinSkinPopMenu::PrepareBackground() {
  if (!CanPaint() || !IsWindow(window_)) return false;
  if (!menu_) menu_ = reinterpret_cast<HMENU>(SendMessageW(window_, MN_GETHMENU, 0, 0));
  if (!menu_) g_pendingPopup = this;
  const SIZE size = WindowSize(window_);
  if (size.cx <= 0 || size.cy <= 0) return false;
  if (background_ && size.cx == backgroundSize_.cx && size.cy == backgroundSize_.cy) return true;

  background_.Reset();
  bits_ = nullptr;
  backgroundSize_ = {};
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = size.cx;
  bi.bmiHeader.biHeight = -size.cy;  // top-down rows
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  UniqueBitmap bitmap(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap || !bits) return false;
  background_ = std::move(bitmap);
  bits_ = static_cast<Pixel32*>(bits);
  backgroundSize_ = size;

  const TDataSkinObject& back = *skin_->MenuBackground;
  const PixelView view(bits_, size.cx, size.cy, size.cx);
  const SkinRect all{0, 0, size.cx, size.cy};
  const COLORREF menu = SkinColourToRgb(skin_->MenuColour, GetSysColor(COLOR_MENU));
  view.Fill(all, ToPixel32(RgbPixel(GetRValue(menu), GetGValue(menu), GetBValue(menu))));
  DrawNineSlice(view, all, back.Image, 1, 1, CellLayout::kSideBySide,
                SkinMargins{back.LeftWidth, back.TopHeight, back.RightWidth, back.BottomHeight}, back.Tile != 0,
                back.Trans == 1 ? BlendMode::kKeyTransparent : BlendMode::kCopy);
  return true;
}

void TWinSkinPopMenu::PaintBorder(HDC windowDc) const {
  if (!background_) return;
  const BitmapSource source(background_.Get());
  for (const SkinRect& strip : PopupBorderStrips(backgroundSize_.cx, backgroundSize_.cy)) source.CopyTo(windowDc, strip);
}

void TWinSkinPopMenu::Print(TMessage& m, const TWindowSubclass::Next& next) {
  const auto dc = reinterpret_cast<HDC>(m.WParam);
  if (!dc || !PrepareBackground()) return next(m);
  {
    const BitmapSource source(background_.Get());
    source.CopyTo(dc, SkinRect{0, 0, backgroundSize_.cx, backgroundSize_.cy});
  }
  // The menu prints its items inside the border, on the skinned background. The DC's state is
  // the caller's: its clipping is narrowed for the items and given back as it was, never dropped.
  const int saved = SaveDC(dc);
  SetBkMode(dc, TRANSPARENT);
  IntersectClipRect(dc, kPopupBorder, kPopupBorder, backgroundSize_.cx - kPopupBorder,
                    backgroundSize_.cy - kPopupBorder);
  next(m);
  RestoreDC(dc, saved);
}

}  // namespace qlt
