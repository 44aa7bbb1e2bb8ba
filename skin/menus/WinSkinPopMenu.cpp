#include "skin/menus/WinSkinPopMenu.h"

#include <algorithm>
#include <vector>

#include "skin/controls/SkinManager.h"
#include "skin/data/WinSkinData.h"
#include "skin/menus/MenuItemLayout.h"

namespace qlt {

// The skin's menu background rendered at one size: a 32-bit top-down DIB section, selected into a
// memory DC of its own for copying to the screen, with what it was rendered from.
struct RenderedMenuBackground {
  // What makes two renderings the same.
  struct Look {
    Bitmap24 image;
    SkinMargins margins;
    bool tile = false;
    bool keyed = false;
    Pixel32 fill = 0;
    SIZE size{};
    bool operator==(const Look& o) const {
      return margins == o.margins && tile == o.tile && keyed == o.keyed && fill == o.fill && size.cx == o.size.cx &&
             size.cy == o.size.cy && image == o.image;
    }
  };
  Look look;
  UniqueMemoryDc dc;
  UniqueBitmap bitmap;
  HGDIOBJ original = nullptr;
  Pixel32* bits = nullptr;

  RenderedMenuBackground() = default;
  RenderedMenuBackground(const RenderedMenuBackground&) = delete;
  RenderedMenuBackground& operator=(const RenderedMenuBackground&) = delete;
  ~RenderedMenuBackground() {
    if (dc && original) SelectObject(dc.Get(), original);
  }
  void CopyTo(HDC dest, const SkinRect& r) const {
    if (!r.Empty()) BitBlt(dest, r.left, r.top, r.Width(), r.Height(), dc.Get(), r.left, r.top, SRCCOPY);
  }
};

namespace {

TWinSkinPopMenu* g_pendingPopup = nullptr;

// The last few renderings, newest first: popups of one size and look share one.
constexpr size_t kKeptBackgrounds = 4;
std::vector<std::shared_ptr<const RenderedMenuBackground>>& KeptBackgrounds() {
  static std::vector<std::shared_ptr<const RenderedMenuBackground>> kept;
  return kept;
}

std::shared_ptr<const RenderedMenuBackground> Render(RenderedMenuBackground::Look look) {
  auto out = std::make_shared<RenderedMenuBackground>();
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = look.size.cx;
  bi.bmiHeader.biHeight = -look.size.cy;  // top-down rows
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  out->dc.Reset(CreateCompatibleDC(nullptr));
  out->bitmap.Reset(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!out->dc || !out->bitmap || !bits) return nullptr;
  out->original = SelectObject(out->dc.Get(), out->bitmap.Get());
  out->bits = static_cast<Pixel32*>(bits);
  const PixelView view(out->bits, look.size.cx, look.size.cy, look.size.cx);
  const SkinRect all{0, 0, look.size.cx, look.size.cy};
  view.Fill(all, look.fill);
  DrawNineSlice(view, all, look.image, 1, 1, CellLayout::kSideBySide, look.margins, look.tile,
                look.keyed ? BlendMode::kKeyTransparent : BlendMode::kCopy);
  GdiFlush();
  out->look = std::move(look);
  return out;
}

// A rendering of this look: a kept one, or a new one that is kept from now.
std::shared_ptr<const RenderedMenuBackground> KeptOrRendered(RenderedMenuBackground::Look look) {
  auto& kept = KeptBackgrounds();
  for (auto it = kept.begin(); it != kept.end(); ++it) {
    if ((*it)->look == look) {
      std::rotate(kept.begin(), it, it + 1);
      return kept.front();
    }
  }
  std::shared_ptr<const RenderedMenuBackground> made = Render(std::move(look));
  if (!made) return nullptr;
  kept.insert(kept.begin(), made);
  if (kept.size() > kKeptBackgrounds) kept.pop_back();
  return made;
}

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

void TWinSkinPopMenu::FreeKeptBackgrounds() { KeptBackgrounds().clear(); }

HBITMAP TWinSkinPopMenu::Background() const { return background_ ? background_->bitmap.Get() : nullptr; }

SIZE TWinSkinPopMenu::BackgroundSize() const { return background_ ? background_->look.size : SIZE{}; }

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
  background_.reset();
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
      // Answered here: the system's own border would cover the skin's. A popup whose border lies
      // inside its client area gets it after WM_PAINT, which would paint over it now.
      if (!ClientReachesBorder(window_)) {
        if (HDC dc = GetWindowDC(window_)) {
          PaintBorder(dc);
          ReleaseDC(window_, dc);
        }
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
  if (background_ && size.cx == background_->look.size.cx && size.cy == background_->look.size.cy) return true;
  const TDataSkinObject& back = *skin_->MenuBackground;
  const COLORREF menu = SkinColourToRgb(skin_->MenuColour, GetSysColor(COLOR_MENU));
  background_ = KeptOrRendered({back.Image,
                                 SkinMargins{back.LeftWidth, back.TopHeight, back.RightWidth, back.BottomHeight},
                                 back.Tile != 0, back.Trans == 1,
                                 ToPixel32(RgbPixel(GetRValue(menu), GetGValue(menu), GetBValue(menu))), size});
  return background_ != nullptr;
}

void TWinSkinPopMenu::PaintBorder(HDC windowDc) const {
  if (!background_) return;
  for (const SkinRect& strip : PopupBorderStrips(background_->look.size.cx, background_->look.size.cy)) {
    background_->CopyTo(windowDc, strip);
  }
}

void TWinSkinPopMenu::Print(TMessage& m, const TWindowSubclass::Next& next) {
  const auto dc = reinterpret_cast<HDC>(m.WParam);
  if (!dc || !PrepareBackground()) return next(m);
  const SIZE size = background_->look.size;
  background_->CopyTo(dc, SkinRect{0, 0, size.cx, size.cy});
  // The menu prints its items inside the border, on the skinned background. The DC's state is
  // the caller's: its clipping is narrowed for the items and given back as it was, never dropped.
  const int saved = SaveDC(dc);
  SetBkMode(dc, TRANSPARENT);
  IntersectClipRect(dc, kPopupBorder, kPopupBorder, size.cx - kPopupBorder, size.cy - kPopupBorder);
  next(m);
  RestoreDC(dc, saved);
}

}  // namespace qlt
