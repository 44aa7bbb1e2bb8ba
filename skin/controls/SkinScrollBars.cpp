#include "skin/controls/SkinScrollBars.h"

#include <algorithm>

#include "skin/data/WinSkinData.h"

namespace qlt {

namespace {

// The smallest thumb of a bar with a page, as the NT family has it.
constexpr int kMinThumb = 8;
// Bars larger than this are no real bars: left to the system.
constexpr int kLargestBar = 10000;
// An arrow or page area held down repeats after this long, then at the shorter interval.
constexpr UINT kFirstRepeat = 200;
constexpr UINT kNextRepeat = 50;
// The repeat timer's id on the control: far from the ids controls use for their own timers.
constexpr UINT_PTR kRepeatTimer = 0x5C0B;

Pixel32 PixelOf(COLORREF c) { return ToPixel32(RgbPixel(GetRValue(c), GetGValue(c), GetBValue(c))); }

SkinRect FromRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

int Along(POINT p, bool vertical) { return vertical ? p.y : p.x; }

// The range and position of a bar (SB_HORZ, SB_VERT or SB_CTL); false when it has none.
bool ReadRange(HWND window, int which, ScrollRange& range) {
  SCROLLINFO si{};
  si.cbSize = sizeof(si);
  si.fMask = SIF_ALL;
  if (!GetScrollInfo(window, which, &si)) return false;
  range = {si.nMin, si.nMax, si.nPage, si.nPos};
  return true;
}

// The hit codes of a frame's bars.
bool IsBarHit(WPARAM hit) { return hit == HTHSCROLL || hit == HTVSCROLL; }

POINT PointOf(LPARAM lParam) { return POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))}; }

}  // namespace

// ---- what the bar skinners share ----

const TClassInfo& TSkinBarControl::StaticClass() {
  static const TClassInfo info = ClassBuilder<TSkinBarControl, TSkinControl>("TSkinBarControl").Build();
  return info;
}

ThumbLayout TSkinBarControl::LayOutBar(int length, bool vertical, const ScrollRange& range) {
  const int arrow = GetSystemMetrics(vertical ? SM_CYVSCROLL : SM_CXHSCROLL);
  const int fixedThumb = GetSystemMetrics(vertical ? SM_CYVTHUMB : SM_CXHTHUMB);
  return LayOutThumb(length, arrow, range, kMinThumb, fixedThumb);
}

TSkinBarControl::Bar TSkinBarControl::NoBar(int which, bool vertical) {
  Bar bar;
  bar.which = which;
  bar.vertical = vertical;
  return bar;
}

bool TSkinBarControl::TooLarge(const SkinRect& r) {
  return r.left > kLargestBar || r.top > kLargestBar || r.Width() > kLargestBar || r.Height() > kLargestBar;
}

bool TSkinBarControl::HasArt() const { return skin_ && skin_->Scrollbar && !skin_->Scrollbar->Image.Empty(); }

ScrollBarSkin TSkinBarControl::SkinFor(bool vertical) const {
  ScrollBarSkin s;
  if (!skin_) return s;
  s.arrows = skin_->Scrollbar.get();
  s.track = vertical ? skin_->VertScroll.get() : skin_->HorzScroll.get();
  s.thumb = vertical ? skin_->VertScrollThumb.get() : skin_->HorzScrollThumb.get();
  s.background = PixelOf(SkinColourToRgb(skin_->ScrollbarColour, GetSysColor(COLOR_SCROLLBAR)));
  return s;
}

ScrollBarLook TSkinBarControl::LookOf(const Bar& bar) const {
  ScrollBarLook look;
  look.disabled = bar.disabled;
  if (!tracking_ || trackBar_ != bar.which) return look;
  look.firstPressed = trackPart_ == ScrollPart::kLineUp && pressedOver_;
  look.secondPressed = trackPart_ == ScrollPart::kLineDown && pressedOver_;
  look.thumbDragged = trackPart_ == ScrollPart::kThumb;
  return look;
}

ThumbLayout TSkinBarControl::ShownLayout(const Bar& bar) const {
  if (!tracking_ || trackBar_ != bar.which || trackPart_ != ScrollPart::kThumb) return bar.layout;
  // The thumb follows the pointer over the geometry the drag started with.
  ThumbLayout shown = dragBar_.layout;
  shown.thumbPos = dragOffset_;
  return shown;
}

void TSkinBarControl::DrawBar(HDC dc, const Bar& bar) {
  if (!bar.Valid() || TooLarge(bar.rect) || !HasArt()) return;
  PaintSurface& surface = Surface();
  const int w = bar.rect.Width(), h = bar.rect.Height();
  if (!surface.Reserve(w, h)) return;
  ComposeScrollBar(surface.View(w, h), {0, 0, w, h}, bar.vertical, ShownLayout(bar), LookOf(bar), SkinFor(bar.vertical));
  surface.CopyTo(dc, bar.rect, 0, 0);
  ++barPaints_;
}

void TSkinBarControl::SetPosition(const Bar& bar, int position) {
  HWND h = Handle();
  if (!h) return;
  SCROLLINFO si{};
  si.cbSize = sizeof(si);
  si.fMask = SIF_POS;
  si.nPos = position;
  SetScrollInfo(h, bar.which, &si, FALSE);
}

int TSkinBarControl::CodeOf(ScrollPart part) {
  switch (part) {
    case ScrollPart::kLineUp:
      return SB_LINEUP;
    case ScrollPart::kLineDown:
      return SB_LINEDOWN;
    case ScrollPart::kPageUp:
      return SB_PAGEUP;
    case ScrollPart::kPageDown:
      return SB_PAGEDOWN;
    default:
      return SB_ENDSCROLL;
  }
}

bool TSkinBarControl::TrackPress(int which, POINT screen) {
  HWND h = Handle();
  if (!h || tracking_) return false;
  const Bar bar = BarOf(which);
  if (!bar.Valid() || bar.disabled) return false;
  const POINT p = FromScreen(screen);
  if (!bar.rect.Contains(p.x, p.y)) return false;
  const int along = Along(p, bar.vertical) - (bar.vertical ? bar.rect.top : bar.rect.left);
  const ScrollPart part = HitScrollPart(bar.layout, along);
  if (part == ScrollPart::kNone) return false;

  const std::shared_ptr<const bool> alive = Alive();
  tracking_ = true;
  trackBar_ = which;
  trackPart_ = part;
  pressedOver_ = true;
  dragBar_ = bar;
  pressAlong_ = along;
  dragOffset_ = bar.layout.thumbPos;
  dragValue_ = bar.range.pos;
  lastPointer_ = screen;
  SetCapture(h);
  captureLost_ = false;
  PaintBars();
  if (part != ScrollPart::kThumb) {
    SendScroll(bar, CodeOf(part), 0);
    if (!*alive) return true;
    SetTimer(h, kRepeatTimer, kFirstRepeat, nullptr);
  }

  // The press's own loop, as the system's bars have one: it waits for messages, and every message
  // it does not use goes on as usual.
  bool released = false;
  bool quit = false;
  WPARAM quitCode = 0;
  while (*alive && tracking_ && !captureLost_ && IsWindow(h) && GetCapture() == h) {
    MSG msg;
    if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      MsgWaitForMultipleObjectsEx(0, nullptr, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
      continue;
    }
    if (!*alive) return true;
    if (msg.message == WM_QUIT) {
      quit = true;
      quitCode = msg.wParam;
      break;
    }
    if (msg.message == WM_LBUTTONUP || msg.message == WM_NCLBUTTONUP) {
      TrackPointer(msg.pt);
      if (!*alive) return true;
      released = true;
      break;
    }
    if (msg.message == WM_MOUSEMOVE || msg.message == WM_NCMOUSEMOVE) {
      TrackPointer(msg.pt);
      if (!*alive) return true;
      continue;
    }
    if (msg.message == WM_TIMER && msg.hwnd == h && msg.wParam == kRepeatTimer) {
      RepeatPress();
      if (!*alive) return true;
      continue;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  if (!*alive) return true;
  EndTracking(released || IsWindow(h));
  // The program was asked to end while the bar was held: the request goes on to its own loop.
  if (quit) PostQuitMessage(static_cast<int>(quitCode));
  return true;
}

void TSkinBarControl::TrackPointer(POINT screen) {
  lastPointer_ = screen;
  const Bar& bar = dragBar_;
  const POINT p = FromScreen(screen);
  if (trackPart_ != ScrollPart::kThumb) {
    // An arrow looks held only while the pointer is on it; a page area repeats only while the
    // pointer is in it (the timer checks again each time).
    const Bar now = BarOf(trackBar_);
    const int along = Along(p, now.vertical) - (now.vertical ? now.rect.top : now.rect.left);
    const bool over = now.rect.Contains(p.x, p.y) && HitScrollPart(now.layout, along) == trackPart_;
    if (over != pressedOver_) {
      pressedOver_ = over;
      PaintBars();
    }
    return;
  }
  // Far from the bar the thumb goes back to where it was taken, as the system's does.
  int offset = bar.layout.thumbPos;
  if (DragNearBar(bar.rect, p.x, p.y, bar.vertical)) {
    const int along = Along(p, bar.vertical) - (bar.vertical ? bar.rect.top : bar.rect.left);
    offset = DraggedThumbOffset(bar.layout, bar.layout.thumbPos, along - pressAlong_);
  }
  const int value = ThumbPositionToValue(bar.layout, offset, bar.range);
  const bool moved = offset != dragOffset_;
  dragOffset_ = offset;
  if (value != dragValue_) {
    dragValue_ = value;
    const std::shared_ptr<const bool> alive = Alive();
    SetPosition(bar, value);
    if (!*alive) return;
    SendScroll(bar, SB_THUMBTRACK, value);
    if (!*alive) return;
  }
  if (moved) PaintBars();
}

void TSkinBarControl::RepeatPress() {
  HWND h = Handle();
  // After the first repeat the press repeats faster.
  SetTimer(h, kRepeatTimer, kNextRepeat, nullptr);
  TrackPointer(lastPointer_);
  if (!pressedOver_) return;
  SendScroll(BarOf(trackBar_), CodeOf(trackPart_), 0);
}

void TSkinBarControl::EndTracking(bool tellReceiver) {
  HWND h = Handle();
  const Bar bar = dragBar_;
  const ScrollPart part = trackPart_;
  const int value = dragValue_;
  tracking_ = false;
  trackPart_ = ScrollPart::kNone;
  pressedOver_ = false;
  if (h) KillTimer(h, kRepeatTimer);
  if (h && GetCapture() == h) ReleaseCapture();
  const std::shared_ptr<const bool> alive = Alive();
  if (tellReceiver && h && IsWindow(h)) {
    // A drag ends where the thumb was let go (or where it was when the capture went).
    if (part == ScrollPart::kThumb) {
      SetPosition(bar, value);
      if (!*alive) return;
      SendScroll(bar, SB_THUMBPOSITION, value);
      if (!*alive) return;
    }
    SendScroll(bar, SB_ENDSCROLL, 0);
    if (!*alive) return;
  }
  if (h && IsWindow(h)) PaintBars();
}

void TSkinBarControl::CaptureLost() {
  if (tracking_) captureLost_ = true;
}

// ---- the bars of a scrolling control ----

const TClassInfo& TSkinScrollbar::StaticClass() {
  static const TClassInfo info = ClassBuilder<TSkinScrollbar, TSkinBarControl>("TSkinScrollbar").Build();
  return info;
}

void TSkinScrollbar::AttachScrolled(TWinSkinForm* formSkinner, TSkinData* skin, bool ownThumbDrag) {
  if (Attached()) return;
  auto* control = dynamic_cast<TWinControl*>(Owner());
  // The bars are in the frame: the control paints its client as it always does (no double
  // buffering of its own, no colour of the skin's).
  const bool doubleBuffered = control && control->DoubleBuffered();
  TSkinControl::AttachControl(formSkinner, skin, false);
  if (!Attached()) return;
  control_->SetDoubleBuffered(doubleBuffered);
  ownThumbDrag_ = ownThumbDrag;
  RefreshFrame();
}

void TSkinScrollbar::AttachControl(TWinSkinForm* formSkinner, TSkinData* skin, bool) {
  AttachScrolled(formSkinner, skin, true);
}

void TSkinScrollbar::AttachWindow(HWND window, TSkinData* skin, TWinSkinForm* formSkinner) {
  if (Attached()) return;
  TSkinControl::AttachWindow(window, skin, formSkinner);
  if (!Attached()) return;
  ownThumbDrag_ = true;
  RefreshFrame();
}

void TSkinScrollbar::RefreshFrame() {
  // The frame is measured and painted again: the bars show the skin at once.
  if (HWND h = Handle()) {
    SetWindowPos(h, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    RedrawWindow(h, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
  }
}

void TSkinScrollbar::SkinChanged() {
  shownValid_ = false;
  TSkinBarControl::SkinChanged();
  if (HWND h = Handle()) RedrawWindow(h, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
}

TSkinBarControl::Bar TSkinScrollbar::BarOf(int which) const {
  Bar bar;
  bar.which = which;
  bar.vertical = which == SB_VERT;
  HWND h = Handle();
  if (!h) return bar;
  const LONG style = GetWindowLongW(h, GWL_STYLE);
  if (!(style & (bar.vertical ? WS_VSCROLL : WS_HSCROLL))) return bar;
  // The bar where the system has it (and hit-tests it); the thumb by the system's formula.
  SCROLLBARINFO sbi{};
  sbi.cbSize = sizeof(sbi);
  if (!GetScrollBarInfo(h, bar.vertical ? OBJID_VSCROLL : OBJID_HSCROLL, &sbi)) return bar;
  if (sbi.rgstate[0] & (STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_OFFSCREEN)) return bar;
  RECT window{};
  GetWindowRect(h, &window);
  bar.rect = FromRect(sbi.rcScrollBar).Offset(-window.left, -window.top);
  if (bar.rect.Empty()) return NoBar(which, bar.vertical);
  if (!ReadRange(h, which, bar.range)) return NoBar(which, bar.vertical);
  bar.disabled = !IsWindowEnabled(h) || (sbi.rgstate[0] & STATE_SYSTEM_UNAVAILABLE) != 0;
  bar.layout = LayOutBar(bar.vertical ? bar.rect.Height() : bar.rect.Width(), bar.vertical, bar.range);
  return bar;
}

POINT TSkinScrollbar::FromScreen(POINT screen) const {
  RECT window{};
  if (HWND h = Handle()) GetWindowRect(h, &window);
  return POINT{screen.x - window.left, screen.y - window.top};
}

void TSkinScrollbar::SendScroll(const Bar& bar, int code, int position) {
  // The control's own bars: it gets the message itself, as from the system.
  if (HWND h = Handle()) {
    SendMessageW(h, bar.vertical ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(code, static_cast<WORD>(position)), 0);
  }
}

void TSkinScrollbar::PaintBars() {
  HWND h = Handle();
  if (!h || !IsWindow(h)) return;
  WindowDc dc(h, true);
  if (dc.Get()) PaintOn(dc.Get(), true);
}

void TSkinScrollbar::Paint(HDC dc, const SkinRect&) { PaintOn(dc, true); }

void TSkinScrollbar::PaintOn(HDC dc, bool screen) {
  if (!HasArt() || painting_) return;
  painting_ = true;
  struct Done {
    bool& flag;
    ~Done() { flag = false; }
  } done{painting_};
  const Bar v = BarOf(SB_VERT);
  const Bar h = BarOf(SB_HORZ);
  // While the control handles a scroll message its bar is drawn afterwards, once.
  if (!vScrolling_) DrawBar(dc, v);
  if (!hScrolling_) DrawBar(dc, h);
  if (v.Valid() && h.Valid()) {
    const RECT corner{v.rect.left, h.rect.top, v.rect.right, h.rect.bottom};
    FillRect(dc, &corner, skin_->FaceBrush());
  }
  if (!screen) return;
  shown_ = Shown{v, h, LookOf(v), LookOf(h)};
  shownValid_ = !vScrolling_ && !hScrolling_;
}

void TSkinScrollbar::PaintIfChanged() {
  if (!HasArt() || painting_ || LifeState() != lsAttached) return;
  const Bar v = BarOf(SB_VERT);
  const Bar h = BarOf(SB_HORZ);
  if (shownValid_ && shown_ == Shown{v, h, LookOf(v), LookOf(h)}) return;
  PaintBars();
}

void TSkinScrollbar::ScrollMessage(TMessage& m, bool vertical) {
  bool& scrolling = vertical ? vScrolling_ : hScrolling_;
  const bool outer = !scrolling;
  scrolling = true;
  const std::shared_ptr<const bool> alive = Alive();
  struct Reset {
    const std::shared_ptr<const bool>& alive;
    bool& flag;
    bool value;
    ~Reset() {
      if (*alive) flag = value;
    }
  } reset{alive, scrolling, !outer};
  CallDefault(m);
}

bool TSkinScrollbar::BeforeMessage(TMessage& m) {
  if (!TSkinControl::BeforeMessage(m)) return false;
  const std::shared_ptr<const bool> alive = Alive();
  switch (m.Msg) {
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(m.LParam) != Handle()) CaptureLost();
      return true;
    case WM_CANCELMODE:
      CaptureLost();
      return true;
    case WM_NCMOUSEMOVE:
      // The bars do not light up under the pointer: the system gets no hover over them.
      if (HasArt() && ownThumbDrag_ && IsBarHit(m.WParam)) {
        m.Result = 0;
        return false;
      }
      return true;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
      // Presses on the bars, double-clicks too, are the skinner's: the system would track them with
      // its own arrows and thumb under the skin.
      if (!HasArt() || !ownThumbDrag_ || !IsBarHit(m.WParam)) return true;
      if (!TrackPress(m.WParam == HTVSCROLL ? SB_VERT : SB_HORZ, PointOf(m.LParam))) {
        // A press on no part of a bar (a disabled one) does nothing, as on the system's.
        if (!*alive) return false;
      }
      m.Result = 0;
      return false;
    case WM_VSCROLL:
    case WM_HSCROLL:
      if (m.LParam) return true;  // a scroll bar control's notice, not these bars'
      ScrollMessage(m, m.Msg == WM_VSCROLL);
      if (*alive) PaintIfChanged();
      return false;
    default:
      return true;
  }
}

void TSkinScrollbar::AfterMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_NCPAINT:
      // The system has just drawn its bars.
      PaintBars();
      return;
    case WM_PAINT:
      // Only a paint of the window itself: a paint into a DC of the message (the framework's
      // double-buffered paint) is the client's bitmap, and the bars are not in it.
      if (!m.WParam) PaintIfChanged();
      return;
    case WM_PRINT:
      if ((m.LParam & PRF_NONCLIENT) && m.WParam) PaintOn(reinterpret_cast<HDC>(m.WParam), false);
      return;
    case WM_NCHITTEST:
    case WM_SETCURSOR:
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH:
    case WM_GETDLGCODE:
    case WM_GETFONT:
    case WM_NCCALCSIZE:
    case WM_CAPTURECHANGED:
      return;
    case WM_SETTEXT:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case CM_ENABLEDCHANGED:
      // The base repaints on these (the client), which brings the bars along.
      TSkinControl::AfterMessage(m);
      PaintIfChanged();
      return;
    default:
      // Whatever the control did may have changed its bars (items added, a resize, the bars shown
      // or hidden): the system has drawn them then, and the skin goes over them again.
      PaintIfChanged();
      return;
  }
}

// ---- a scroll bar control ----

const TClassInfo& TSkinScControl::StaticClass() {
  static const TClassInfo info = ClassBuilder<TSkinScControl, TSkinBarControl>("TSkinScControl").Build();
  return info;
}

TSkinBarControl::Bar TSkinScControl::BarOf(int) const {
  Bar bar;
  bar.which = SB_CTL;
  HWND h = Handle();
  if (!h) return bar;
  const LONG style = GetWindowLongW(h, GWL_STYLE);
  bar.vertical = (style & SBS_VERT) != 0;
  RECT client{};
  GetClientRect(h, &client);
  bar.rect = FromRect(client);
  if (!ReadRange(h, SB_CTL, bar.range)) return NoBar(SB_CTL, bar.vertical);
  SCROLLBARINFO sbi{};
  sbi.cbSize = sizeof(sbi);
  const bool unavailable = GetScrollBarInfo(h, OBJID_CLIENT, &sbi) && (sbi.rgstate[0] & STATE_SYSTEM_UNAVAILABLE);
  bar.disabled = !IsWindowEnabled(h) || unavailable;
  bar.layout = LayOutBar(bar.vertical ? bar.rect.Height() : bar.rect.Width(), bar.vertical, bar.range);
  return bar;
}

POINT TSkinScControl::FromScreen(POINT screen) const {
  if (HWND h = Handle()) ScreenToClient(h, &screen);
  return screen;
}

void TSkinScControl::SendScroll(const Bar& bar, int code, int position) {
  // A scroll bar control tells its parent, naming itself.
  HWND h = Handle();
  HWND parent = h ? GetParent(h) : nullptr;
  if (!parent) return;
  SendMessageW(parent, bar.vertical ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(code, static_cast<WORD>(position)),
               reinterpret_cast<LPARAM>(h));
}

void TSkinScControl::DrawNow(HDC dc) {
  HWND h = Handle();
  if (!h || !IsWindow(h)) return;
  if (dc) {
    Paint(dc, {});
    return;
  }
  // The bar is the client area: painted on the client's DC.
  WindowDc client(h);
  if (client.Get()) Paint(client.Get(), {});
}

void TSkinScControl::Paint(HDC dc, const SkinRect&) { DrawBar(dc, BarOf(SB_CTL)); }

bool TSkinScControl::BeforeMessage(TMessage& m) {
  if (!TSkinControl::BeforeMessage(m)) return false;
  if (!HasArt()) return true;  // the control stays as the system draws it
  const std::shared_ptr<const bool> alive = Alive();
  HWND h = Handle();
  switch (m.Msg) {
    case WM_PAINT:
      PaintMessage(m);
      return false;
    case WM_ERASEBKGND:
      m.Result = 1;
      return false;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(m.LParam) != h) CaptureLost();
      return true;
    case WM_CANCELMODE:
      CaptureLost();
      return true;
    case WM_NCMOUSEMOVE:
    case WM_MOUSEMOVE:
      // No hover look, and no tracking of the system's while the skinner follows a press.
      m.Result = 0;
      return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      if ((GetWindowLongW(h, GWL_STYLE) & WS_TABSTOP) && GetFocus() != h) SetFocus(h);
      if (!*alive) return false;
      POINT screen = PointOf(m.LParam);
      ClientToScreen(h, &screen);
      TrackPress(SB_CTL, screen);
      if (*alive) m.Result = 0;
      return false;
    }
    // The control draws itself at once when told to: the skinner draws instead.
    case SBM_SETPOS: {
      const bool redraw = m.LParam != 0;
      m.LParam = FALSE;
      CallDefault(m);
      if (redraw && *alive) DrawNow(nullptr);
      return false;
    }
    case SBM_SETSCROLLINFO: {
      const bool redraw = m.WParam != 0;
      m.WParam = FALSE;
      CallDefault(m);
      if (redraw && *alive) DrawNow(nullptr);
      return false;
    }
    case SBM_SETRANGEREDRAW:
      m.Msg = SBM_SETRANGE;
      CallDefault(m);
      if (*alive) DrawNow(nullptr);
      return false;
    default:
      return true;
  }
}

void TSkinScControl::AfterMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_SETFOCUS:
      // The system's bar marks its focus with a blinking caret over the thumb: not over the skin.
      DestroyCaret();
      DrawNow(nullptr);
      return;
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case SBM_ENABLE_ARROWS:
    case WM_SIZE:
      DrawNow(nullptr);
      return;
    default:
      TSkinControl::AfterMessage(m);
  }
}

// ---- a size box or grip ----

const TClassInfo& TSkinSizer::StaticClass() {
  static const TClassInfo info = ClassBuilder<TSkinSizer, TSkinControl>("TSkinSizer").Build();
  return info;
}

bool TSkinSizer::BeforeMessage(TMessage& m) {
  if (!TSkinControl::BeforeMessage(m)) return false;
  switch (m.Msg) {
    case WM_PAINT:
      PaintMessage(m);
      return false;
    case WM_ERASEBKGND:
      m.Result = 1;
      return false;
    default:
      return true;
  }
}

void TSkinSizer::Paint(HDC dc, const SkinRect& rect) {
  if (!skin_ || rect.Empty()) return;
  // The whole box: the face colour, framed in the skin's button shadow.
  const RECT r{rect.left, rect.top, rect.right, rect.bottom};
  FillRect(dc, &r, skin_->FaceBrush());
  UniqueBrush shadow(CreateSolidBrush(SkinColourToRgb(skin_->ButtonShadowColour, GetSysColor(COLOR_BTNSHADOW))));
  if (shadow.Get()) FrameRect(dc, &r, shadow.Get());
}

}  // namespace qlt
