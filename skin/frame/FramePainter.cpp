// TWinSkinForm: the frame's size, its painting (composed off the screen and copied in one piece)
// and the window's shape.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "skin/controls/SkinManager.h"
#include "skin/data/StateCells.h"
#include "skin/data/WinSkinData.h"
#include "skin/frame/WinSkinForm.h"
#include "skin/menus/WinSkinMenu.h"
#include "ui/Forms.h"

namespace qlt {

namespace {

void DrawEdge(const PixelView& view, const SkinRect& rect, const TDataSkinBorder& edge, CellLayout layout,
              bool active) {
  if (rect.Inverted()) return;
  DrawNineSlice(view, rect, edge.Image, edge.Frame, EdgeCell(edge.Frame, active), layout,
                {edge.LeftWidth, edge.TopHeight, edge.RightWidth, edge.BottomHeight}, edge.Tile != 1,
                BlendMode::kCopy);
}

COLORREF TextColour(const TSkinData& skin, bool active) {
  const TColor c = active ? skin.TitleTextActiveColour : skin.TitleTextNoActiveColour;
  return SkinColourToRgb(c, GetSysColor(active ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT));
}

// Every rectangle ORed into one region, in batches (a region made of thousands of rectangles at
// once is slow to build).
UniqueRegion RegionFromRects(const std::vector<SkinRect>& rects) {
  UniqueRegion result(CreateRectRgn(0, 0, 0, 0));
  constexpr size_t kBatch = 2000;
  std::vector<char> buffer;
  for (size_t start = 0; start < rects.size(); start += kBatch) {
    const size_t n = std::min(kBatch, rects.size() - start);
    buffer.assign(sizeof(RGNDATAHEADER) + n * sizeof(RECT), 0);
    auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
    data->rdh.dwSize = sizeof(RGNDATAHEADER);
    data->rdh.iType = RDH_RECTANGLES;
    data->rdh.nCount = static_cast<DWORD>(n);
    data->rdh.nRgnSize = static_cast<DWORD>(n * sizeof(RECT));
    SkinRect bounds = rects[start];
    auto* out = reinterpret_cast<RECT*>(data->Buffer);
    for (size_t i = 0; i < n; ++i) {
      const SkinRect& r = rects[start + i];
      out[i] = {r.left, r.top, r.right, r.bottom};
      bounds = {std::min(bounds.left, r.left), std::min(bounds.top, r.top), std::max(bounds.right, r.right),
                std::max(bounds.bottom, r.bottom)};
    }
    data->rdh.rcBound = {bounds.left, bounds.top, bounds.right, bounds.bottom};
    UniqueRegion batch(ExtCreateRegion(nullptr, static_cast<DWORD>(buffer.size()), data));
    if (!batch || !result) return {};
    CombineRgn(result.Get(), result.Get(), batch.Get(), RGN_OR);
  }
  return result;
}

// The icon on magenta, the skin's transparent colour: each pixel is the icon's where the icon is
// mostly opaque, magenta elsewhere. Drawn over magenta instead, the soft edges of an icon with an
// alpha channel would blend with it and show pink wherever the bitmap is used. False when the
// icon's bitmaps cannot be read at that size.
bool IconOnMagenta(HICON icon, int size, TBitmap& out) {
  ICONINFO info{};
  if (!GetIconInfo(icon, &info)) return false;
  const UniqueBitmap colour(info.hbmColor), mask(info.hbmMask);
  BITMAP shape{};
  if (!colour || !GetObjectW(colour.Get(), sizeof shape, &shape) || shape.bmWidth != size || shape.bmHeight != size) {
    return false;
  }
  BITMAPINFO header{};
  header.bmiHeader.biSize = sizeof header.bmiHeader;
  header.bmiHeader.biWidth = size;
  header.bmiHeader.biHeight = -size;  // top row first
  header.bmiHeader.biPlanes = 1;
  header.bmiHeader.biBitCount = 32;
  header.bmiHeader.biCompression = BI_RGB;
  const size_t count = static_cast<size_t>(size) * static_cast<size_t>(size);
  std::vector<std::uint32_t> pixels(count), transparent(count);
  const WindowDc screen(nullptr);
  if (GetDIBits(screen.Get(), colour.Get(), 0, size, pixels.data(), &header, DIB_RGB_COLORS) != size ||
      GetDIBits(screen.Get(), mask.Get(), 0, size, transparent.data(), &header, DIB_RGB_COLORS) != size) {
    return false;
  }
  const bool alpha = std::any_of(pixels.begin(), pixels.end(), [](std::uint32_t p) { return (p >> 24) != 0; });
  out.SetSize(size, size);
  GdiFlush();
  for (int y = 0; y < size; ++y) {
    std::uint8_t* row = out.ScanLine(y);
    for (int x = 0; x < size; ++x) {
      const size_t i = static_cast<size_t>(y) * static_cast<size_t>(size) + static_cast<size_t>(x);
      const bool opaque = alpha ? (pixels[i] >> 24) >= 128 : (transparent[i] & 0xFFFFFF) == 0;
      const std::uint32_t p = opaque ? pixels[i] : 0xFF00FF;
      row[3 * x] = static_cast<std::uint8_t>(p);
      row[3 * x + 1] = static_cast<std::uint8_t>(p >> 8);
      row[3 * x + 2] = static_cast<std::uint8_t>(p >> 16);
    }
  }
  return true;
}

}  // namespace

std::u16string TWinSkinForm::WindowText() const {
  wchar_t text[1001] = {};
  const int n = GetWindowTextW(window_, text, 1001);
  return std::u16string(reinterpret_cast<const char16_t*>(text), static_cast<size_t>(std::max(n, 0)));
}

POINT TWinSkinForm::ToWindow(POINT screen) const {
  RECT w{};
  GetWindowRect(window_, &w);
  return {screen.x - w.left, screen.y - w.top};
}

void TWinSkinForm::BuildTitleFont() {
  NONCLIENTMETRICSW metrics{};
  // The structure grew with later systems; the older size is what every system accepts.
  metrics.cbSize = sizeof metrics;
  bool ok = SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0) != 0;
  if (!ok) {
    metrics = {};
    metrics.cbSize = offsetof(NONCLIENTMETRICSW, lfMessageFont) + sizeof(LOGFONTW);
    ok = SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0) != 0;
  }
  LOGFONTW lf{};
  if (ok) {
    lf = metrics.lfCaptionFont;
  } else {
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf);
    lf.lfWeight = FW_BOLD;
  }
  titleFont_.Reset(CreateFontIndirectW(&lf));
}

void TWinSkinForm::BuildIcon() {
  iconSize_ = std::max(GetSystemMetrics(SM_CXSMICON), 1);
  auto icon = reinterpret_cast<HICON>(SendMessageW(window_, WM_GETICON, ICON_SMALL, 0));
  if (!icon) icon = reinterpret_cast<HICON>(SendMessageW(window_, WM_GETICON, ICON_BIG, 0));
  icon_.Reset(icon ? static_cast<HICON>(CopyImage(icon, IMAGE_ICON, iconSize_, iconSize_, 0)) : nullptr);
  iconFallback_.Clear();
  if (!skin_) return;
  TBitmap& shared = *skin_->IconBitmap();
  if (icon_ && shared.Empty()) {
    // The first window with an icon lends it to the windows without one (on magenta, the skin's
    // transparent colour).
    if (IconOnMagenta(icon_.Get(), iconSize_, shared)) return;
    shared.SetSize(iconSize_, iconSize_);
    HDC dc = shared.Canvas()->Handle();
    const RECT all{0, 0, iconSize_, iconSize_};
    UniqueBrush magenta(CreateSolidBrush(RGB(255, 0, 255)));
    FillRect(dc, &all, magenta.Get());
    DrawIconEx(dc, 0, 0, icon_.Get(), iconSize_, iconSize_, 0, nullptr, DI_NORMAL);
  } else if (!icon_ && !shared.Empty()) {
    GdiFlush();
    iconFallback_ = Bitmap24(shared.Width(), shared.Height());
    for (int y = 0; y < shared.Height(); ++y) {
      const uint8_t* row = shared.ScanLine(y);
      for (int x = 0; x < shared.Width(); ++x) iconFallback_.At(x, y) = Bgr{row[3 * x], row[3 * x + 1], row[3 * x + 2]};
    }
  }
}

// ---- metrics and fitting ----

void TWinSkinForm::FreeTitleButtons() {
  if (hotObject_ || pressedObject_) {
    hotObject_ = pressedObject_ = nullptr;
  }
  titleButtons_.clear();
}

void TWinSkinForm::ComputeFrameMetrics() {
  if (!skin_ || skin_->NoSkin) return;
  metrics_ = qlt::ComputeFrameMetrics(*skin_, borderKind_);
  if (borderKind_ == bkNone) menuBarHeight_ = 0;
  FreeTitleButtons();
  for (const auto& data : skin_->SysButtons) titleButtons_.push_back(std::make_unique<TWinSysButton>(*this, *data));
}

void TWinSkinForm::FitWindowToSkin(bool reread) {
  if (frameState_ == frMaximized) {
    RefreshFrame();
    return;
  }
  if (reread) GetClientRect(window_, &clientAtAttach_);
  const MinimumSize size =
      WindowSizeForClient(clientAtAttach_.right, clientAtAttach_.bottom, metrics_, menuBarHeight_);
  int width = size.width;
  if (!reread && IsDialogClass(className_)) WidenDialogForCaption(width);
  SetWindowPos(window_, nullptr, 0, 0, width, size.height,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TWinSkinForm::WidenDialogForCaption(int& width) {
  HDC dc = GetWindowDC(window_);
  if (!dc) return;
  HGDIOBJ old = SelectObject(dc, titleFont_.Get());
  const std::u16string text = WindowText();
  SIZE extent{};
  GetTextExtentPoint32W(dc, reinterpret_cast<LPCWSTR>(text.c_str()), static_cast<int>(text.size()), &extent);
  SelectObject(dc, old);
  ReleaseDC(window_, dc);
  const int needed = skin_->Title->LeftWidth + extent.cx + skin_->Title->RightWidth;
  if (width >= needed) return;
  const int offset = (needed - width) / 2;
  // A snapshot of the direct children, moved in their z-order (which is their tab order).
  std::vector<HWND> children;
  for (HWND c = GetTopWindow(window_); c; c = GetWindow(c, GW_HWNDNEXT)) children.push_back(c);
  for (HWND c : children) {
    RECT r{};
    GetWindowRect(c, &r);
    POINT p{r.left, r.top};
    ScreenToClient(window_, &p);
    SetWindowPos(c, nullptr, p.x + offset, p.y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSENDCHANGING | SWP_NOOWNERZORDER);
  }
  width = needed;
}

// ---- non-client messages ----

LRESULT TWinSkinForm::NcCalcSize(WPARAM wParam, LPARAM lParam) {
  if (!wParam) {
    // The window rectangle in, the skinned client rectangle out. The window procedure's own
    // answer overwrites the rectangle in place: the skin's is made from the window rectangle.
    auto* r = reinterpret_cast<RECT*>(lParam);
    const RECT window = *r;
    CallPrevious(WM_NCCALCSIZE, wParam, lParam);
    const SkinRect c =
        SkinnedClientRect({window.left, window.top, window.right, window.bottom}, metrics_, menuBarHeight_);
    *r = {c.left, c.top, c.right, c.bottom};
    return 0;
  }
  // The window procedure's own answer first (it keeps its own state, a menu's height, in step).
  CallPrevious(WM_NCCALCSIZE, wParam, lParam);
  auto* p = reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam);
  if (MdiChildMaximizedOrMinimized() || borderKind_ == bkNone || !p->lppos) {
    p->rgrc[1] = p->rgrc[0];
    return WVR_VALIDRECTS;
  }
  const WINDOWPOS& wp = *p->lppos;
  const SkinRect c = SkinnedClientRect(RectOfSize(wp.x, wp.y, wp.cx, wp.cy), metrics_, menuBarHeight_);
  p->rgrc[0] = p->rgrc[1] = {c.left, c.top, c.right, c.bottom};
  return WVR_VALIDRECTS;
}

LRESULT TWinSkinForm::NcHitTest(LPARAM lParam) {
  const LRESULT answer = CallPrevious(WM_NCHITTEST, 0, lParam);
  RECT w{};
  GetWindowRect(window_, &w);
  const int x = static_cast<short>(LOWORD(lParam)) - w.left, y = static_cast<short>(HIWORD(lParam)) - w.top;
  return SkinnedHitTest(static_cast<int>(answer), x, y, w.right - w.left, metrics_, menuBarHeight_);
}

LRESULT TWinSkinForm::NcActivate(WPARAM wParam, LPARAM lParam) {
  active_ = wParam != 0;
  StartHoverTimer(active_);
  if (!active_) {
    LeaveHotButton();
    // The hover timer stops with the focus: a title button left hot or pressed would stay so in
    // the inactive frame painted next.
    if (hotObject_) hotObject_->State = kButtonNormal;
    hotObject_ = pressedObject_ = nullptr;
  }
  if (mdiKind_ == mkFrame) CallPrevious(WM_NCACTIVATE, wParam, lParam);
  if (!MdiChildMaximizedOrMinimized()) PaintFrame(nullptr);
  // The system must not paint its own frame now.
  return TRUE;
}

// ---- painting ----

void TWinSkinForm::LayOutTitleButtons(int w, const std::u16string& text) {
  TitleButtonContext ctx;
  ctx.boxFlags = boxFlags_;
  ctx.maximized = frameState_ == frMaximized;
  ctx.active = active_;
  ctx.kind = borderKind_;
  ctx.rightToLeft = rightToLeft_;
  ctx.windowWidth = w;
  ctx.metrics = metrics_;
  ctx.menuBarHeight = menuBarHeight_;
  ctx.menuBarLeftWidth = skin_->MenuBar ? skin_->MenuBar->LeftWidth : 0;
  if (mdiKind_ == mkFrame && menuBarHeight_ > 0) {
    ctx.mdiChildMaximizedInMenuBar = ActiveMdiChildMaximized();
    // A child maximised by the system (created so, or by the keyboard) is seen here first.
    if (ctx.mdiChildMaximizedInMenuBar && SkinManager && !SkinManager->MdiMaximized()) {
      SkinManager->SetMdiMaximized(true);
    }
  }
  // Right-aligned buttons first: the caption is clipped before the leftmost of them.
  for (int pass = 0; pass < 2; ++pass) {
    if (pass == 1) ctx.caption = CaptionRect(w, text);
    for (auto& b : titleButtons_) {
      if (IsRightAligned(b->Data) != (pass == 0)) continue;
      b->Visible = TitleButtonVisible(b->Data, ctx);
      const bool icon = b->ShowsIcon();
      const int count = std::max(b->Data.Frame, 1);
      const int cw = icon ? iconSize_ : b->Data.Image.Width() / count;
      const int ch = icon ? iconSize_ : b->Data.Image.Height();
      b->Rect = b->Visible ? TitleButtonRect(b->Data, cw, ch, ctx) : SkinRect{};
      if (b->Rect.Empty()) b->Visible = false;
    }
  }
}

SkinRect TWinSkinForm::CaptionRect(int w, const std::u16string& windowText) {
  const std::u16string text = u"   " + windowText;
  HDC dc = surface_.Dc();
  HGDIOBJ old = SelectObject(dc, titleFont_.Get());
  RECT measured{0, 0, 0, 0};
  // Measured as it is drawn: an "&" of a caption is text, not a mnemonic.
  DrawTextW(dc, reinterpret_cast<LPCWSTR>(text.c_str()), static_cast<int>(text.size()), &measured,
            DT_CALCRECT | DT_NOCLIP | DT_SINGLELINE | DT_NOPREFIX);
  SelectObject(dc, old);
  CaptionInput in;
  in.title = {metrics_.left, 0, w - metrics_.right, metrics_.top};
  in.textWidth = measured.right - measured.left;
  in.textHeight = measured.bottom - measured.top;
  in.rightToLeft = rightToLeft_;
  in.popupStyle = (style_ & WS_POPUP) != 0;
  in.dialog = borderKind_ == bkDialog;
  int buttonsLeft = 0;
  for (const auto& b : titleButtons_) {
    if (b->Visible && IsRightAligned(b->Data) && b->Rect.left > 0) {
      buttonsLeft = buttonsLeft == 0 ? b->Rect.left : std::min(buttonsLeft, b->Rect.left);
    }
  }
  in.buttonsLeft = buttonsLeft;
  caption_ = LayOutCaption(*skin_->Title, in).block;
  return caption_;
}

void TWinSkinForm::DrawTitleButton(PixelView view, const TWinSysButton& b) {
  if (!b.Visible || b.Rect.Empty()) return;
  if (b.ShowsIcon()) {
    GdiFlush();
    if (icon_) {
      DrawIconEx(surface_.Dc(), b.Rect.left, b.Rect.top, icon_.Get(), iconSize_, iconSize_, 0, nullptr, DI_NORMAL);
    } else {
      DrawCell(view, b.Rect, iconFallback_, 1, 1, BlendMode::kKeyTransparent);
    }
    return;
  }
  DrawCell(view, b.Rect, b.Data.Image, b.Data.Frame, TitleButtonCell(b.Data, b.State, active_),
           BlendMode::kKeyTransparent);
}

void TWinSkinForm::ComposeTitleBar(PixelView view, int w) {
  const SkinRect title{metrics_.left, 0, w - metrics_.right, metrics_.top};
  DrawEdge(view, title, *skin_->TopBorder, CellLayout::kStacked, active_);
  // Read once: each read is a message through the window's procedures.
  const std::u16string windowText = WindowText();
  LayOutTitleButtons(w, windowText);
  const std::u16string text = u"  " + windowText;
  const TDataSkinTitle& t = *skin_->Title;
  if (!t.Image.Empty()) {
    const SkinRect strip{caption_.left, title.top, caption_.right, title.bottom};
    DrawStrip(view, strip, t.Image, 2, active_ ? 1 : 2, CellLayout::kStacked, t.TextBackLeft, t.TextBackRight,
              BlendMode::kKeyTransparent);
  }
  HDC dc = surface_.Dc();
  GdiFlush();
  HGDIOBJ old = SelectObject(dc, titleFont_.Get());
  const int mode = SetBkMode(dc, TRANSPARENT);
  const COLORREF colour = SetTextColor(dc, TextColour(*skin_, active_));
  RECT r{caption_.left + t.TextBackLeft, caption_.top, caption_.right - t.TextBackRight, caption_.bottom};
  // Clipped to the title: a caption wider than the title must not run over the edges.
  const int saved = SaveDC(dc);
  IntersectClipRect(dc, title.left, title.top, title.right, title.bottom);
  UINT format = DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX;
  if (rightToLeft_) format |= DT_RIGHT;
  DrawTextW(dc, reinterpret_cast<LPCWSTR>(text.c_str()), static_cast<int>(text.size()), &r, format);
  RestoreDC(dc, saved);
  SetTextColor(dc, colour);
  SetBkMode(dc, mode);
  SelectObject(dc, old);
  GdiFlush();
  for (const auto& b : titleButtons_) {
    if (b->Data.Visibility != 100) DrawTitleButton(view, *b);
  }
}

void TWinSkinForm::ComposeFrame(PixelView view, int w, int h) {
  const TSkinData& s = *skin_;
  DrawEdge(view, {0, 0, metrics_.left, h}, *s.LeftBorder, CellLayout::kSideBySide, active_);
  DrawEdge(view, {w - metrics_.right, 0, w, h}, *s.RightBorder, CellLayout::kSideBySide, active_);
  DrawEdge(view, {metrics_.left, h - metrics_.bottom, w - metrics_.right, h}, *s.BottomBorder, CellLayout::kStacked,
           active_);
  ComposeTitleBar(view, w);
  if (menuBarHeight_ > 0) {
    const SkinRect band{metrics_.left, metrics_.top, w - metrics_.right, metrics_.top + menuBarHeight_};
    if (menuBar_) {
      menuBar_->Compose(view, surface_.Dc(), band, active_);
    } else {
      const COLORREF face = SkinColourToRgb(s.ButtonFaceColour, GetSysColor(COLOR_BTNFACE));
      view.Fill(band, ToPixel32(RgbPixel(GetRValue(face), GetGValue(face), GetBValue(face))));
    }
  }
}

void TWinSkinForm::PaintFrame(HDC given) {
  if (!skin_ || skin_->NoSkin || (state_ != skActive && state_ != skRefreshing)) return;
  if (borderKind_ == bkNone || MdiChildMaximizedOrMinimized() || !subclassed_) return;
  // Nothing to see (a window losing the activation as it is hidden): it is painted when shown.
  if (!IsWindowVisible(window_)) return;
  RECT wr{};
  if (!GetWindowRect(window_, &wr)) return;
  const int w = wr.right - wr.left, h = wr.bottom - wr.top;
  // Wine paints the frame of a resized window before WM_SIZE, while the window still has the
  // region of its old size: that paint is left out, the new region brings the paint of the new
  // size at once.
  if (RegionStale(w, h)) return;
  if (w <= 0 || h <= 0 || !surface_.Reserve(w, h)) return;
  try {
    // Inside the region's change (which repaints the frame) the surface holds this frame already.
    const PixelView view = surface_.View(w, h);
    if (!composedForRegion_) ComposeFrame(view, w, h);
    HDC dc = given ? given : GetWindowDC(window_);
    if (!dc) return;
    const int saved = SaveDC(dc);
    // One copy of the whole window with the client area left out.
    const SkinRect client = SkinnedClientRect({0, 0, w, h}, metrics_, 0);
    ExcludeClipRect(dc, client.left, client.top + menuBarHeight_, client.right, client.bottom);
    surface_.CopyTo(dc, {0, 0, w, h}, 0, 0);
    RestoreDC(dc, saved);
    if (!given) ReleaseDC(window_, dc);
  } catch (...) {
    // A frame that cannot be painted stays as it was; the window goes on working.
  }
}

void TWinSkinForm::PaintTitleButton(const TWinSysButton& button) { PaintNcRect(button.Rect); }

void TWinSkinForm::PaintNcRect(const SkinRect& rect) {
  if (!skin_ || skin_->NoSkin || state_ != skActive || rect.Empty() || !subclassed_ ||
      !IsWindowVisible(window_)) {
    return;
  }
  RECT wr{};
  if (!GetWindowRect(window_, &wr)) return;
  const int w = wr.right - wr.left, h = wr.bottom - wr.top;
  if (!surface_.Reserve(w, h)) return;
  const SkinRect band{metrics_.left, metrics_.top, w - metrics_.right, metrics_.top + menuBarHeight_};
  if (menuBar_ && band.Intersect(rect) == rect) {
    // A menu bar button: the bar alone is composed again.
    menuBar_->Compose(surface_.View(w, h), surface_.Dc(), band, active_);
  } else {
    ComposeFrame(surface_.View(w, h), w, h);
  }
  HDC dc = GetWindowDC(window_);
  if (!dc) return;
  surface_.CopyTo(dc, rect, rect.left, rect.top);
  ReleaseDC(window_, dc);
}

// ---- the window's shape ----

void TWinSkinForm::UpdateRegion() {
  if (state_ == skDead || !skin_ || skin_->NoSkin || MdiChildMaximizedOrMinimized()) return;
  RECT wr{};
  GetWindowRect(window_, &wr);
  const int w = wr.right - wr.left, h = wr.bottom - wr.top;
  if (w <= 0 || h <= 0) return;
  if (w == regionSize_.cx && h == regionSize_.cy && !IsMdiChild() && state_ != skRefreshing) return;
  // Set first: SetWindowRgn sends the frame messages again, which must not rebuild it.
  regionSize_ = {w, h};
  const TSkinData& s = *skin_;
  const bool shaped = s.LeftBorder->Trans == 1 || s.RightBorder->Trans == 1 || s.TopBorder->Trans == 1 ||
                      s.BottomBorder->Trans == 1;
  std::vector<SkinRect> rects;
  const FrameMetrics& m = metrics_;
  if (!shaped || borderKind_ == bkNone) {
    rects.push_back({0, 0, w, h});
  } else {
    if (!surface_.Reserve(w, h)) return;
    const PixelView view = surface_.View(w, h);
    ComposeFrame(view, w, h);
    rects.push_back({m.left, m.top, w - m.right, h - m.bottom});
    auto add = [&](const SkinRect& band, bool cut) {
      if (band.Empty()) return;
      if (!cut) {
        rects.push_back(band);
        return;
      }
      const auto opaque = OpaqueRects(view, band, 0, 0);
      rects.insert(rects.end(), opaque.begin(), opaque.end());
    };
    add({0, 0, m.left, h}, s.LeftBorder->Trans == 1 && h > 1);
    add({w - m.right, 0, w, h}, s.RightBorder->Trans == 1 && h > 1);
    add({m.left, h - m.bottom, w - m.right, h}, s.BottomBorder->Trans == 1 && m.bottom >= 2);
    add({m.left, 0, w - m.right, m.top}, s.TopBorder->Trans == 1 && m.top > 1);
  }
  UniqueRegion region = RegionFromRects(rects);
  // The region's change repaints the frame, from the composition the shape was cut from.
  composedForRegion_ = shaped && borderKind_ != bkNone;
  struct Reset {
    bool& flag;
    ~Reset() { flag = false; }
  } reset{composedForRegion_};
  // Once set, the region belongs to the system: it is not deleted here.
  if (region && SetWindowRgn(window_, region.Get(), TRUE)) {
    region.Release();
    regionOwned_ = true;
  } else {
    // The paint of the new size waited for this region: it comes now all the same.
    RedrawWindow(window_, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
  }
}

void TWinSkinForm::RemoveRegion() {
  if (!regionOwned_) return;
  regionOwned_ = false;
  regionSize_ = {};
  if (IsWindow(window_)) SetWindowRgn(window_, nullptr, TRUE);
}

}  // namespace qlt
