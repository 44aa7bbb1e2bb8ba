#include "skin/controls/SkinControl.h"

#include "skin/data/WinSkinData.h"
#include "skin/frame/WinSkinForm.h"

namespace qlt {

const TClassInfo& TSkinControl::StaticClass() {
  static const TClassInfo info = ClassBuilder<TSkinControl, TComponent>("TSkinControl").Build();
  return info;
}

TSkinControl::TSkinControl(TComponent* owner) : TComponent(owner) {}

TSkinControl::~TSkinControl() {
  *alive_ = false;
  Detach();
}

PaintSurface& TSkinControl::Surface() {
  static PaintSurface surface;
  return surface;
}

HWND TSkinControl::Handle() const {
  if (control_) return control_->HandleAllocated() ? control_->Handle() : nullptr;
  return window_;
}

bool TSkinControl::OwnerDestroying() const {
  // Not the skinner's own destruction (a skinner freed when the skin goes gives its whole control
  // back): only its control, or an owner that takes everything it owns down with it, being
  // destroyed leaves nothing to give back.
  return (control_ && control_->InState(csDestroying)) || (graphicControl_ && graphicControl_->InState(csDestroying)) ||
         (Owner() && Owner()->InState(csDestroying));
}

std::u16string TSkinControl::ReadWindowText() const {
  HWND h = Handle();
  if (!h) return {};
  wchar_t text[1001] = {};
  const int n = GetWindowTextW(h, text, 1001);
  return std::u16string(reinterpret_cast<const char16_t*>(text), static_cast<size_t>(std::max(n, 0)));
}

// ---- attaching and detaching ----

void TSkinControl::HookMessage(TMessage& m, const std::function<void(TMessage&)>& next) {
  // Messages nest (a paint inside a focus change): each keeps the chain it came with. The control
  // may be freed while a message is handled (the skinner with it): nothing of the skinner is
  // touched after that.
  const std::shared_ptr<bool> alive = alive_;
  const auto* outer = std::exchange(next_, &next);
  struct Restore {
    const std::shared_ptr<bool>& alive;
    const std::function<void(TMessage&)>*& slot;
    const std::function<void(TMessage&)>* saved;
    ~Restore() {
      if (*alive) slot = saved;
    }
  } restore{alive, next_, outer};
  if (!BeforeMessage(m) || !*alive) return;
  next(m);
  if (*alive) AfterMessage(m);
}

void TSkinControl::AttachControl(TWinSkinForm* formSkinner, TSkinData* skin, bool ownColour) {
  AttachOwner(formSkinner, skin, ownColour, true);
}

void TSkinControl::AttachWithoutMessages(TWinSkinForm* formSkinner, TSkinData* skin, bool ownColour) {
  AttachOwner(formSkinner, skin, ownColour, false);
}

void TSkinControl::AttachOwner(TWinSkinForm* formSkinner, TSkinData* skin, bool ownColour, bool takeMessages) {
  if (attached_) return;
  auto* control = dynamic_cast<TWinControl*>(Owner());
  if (!control || !skin) return;
  control_ = control;
  skin_ = skin;
  formSkinner_ = formSkinner;
  ownColour_ = ownColour;
  savedDoubleBuffered_ = control_->DoubleBuffered();
  if (takeMessages) {
    hook_.Install(control_, [this](TMessage& m, const TWindowProcHook::Next& next) {
      HookMessage(m, [&next](TMessage& message) { next(message); });
    });
    control_->SetDoubleBuffered(true);
  }
  if (formSkinner_) formSkinner_->AddControlSkinner(this);
  focused_ = control_->Focused();
  enabled_ = control_->Enabled();
  caption_ = ReadWindowText();
  if (ownColour_) {
    savedColour_ = control_->Color();
    control_->SetColor(skin_->ButtonFaceColour);
  }
  attached_ = true;
  lifeState_ = lsAttached;
  control_->Invalidate();
}

void TSkinControl::AttachWindow(HWND window, TSkinData* skin, TWinSkinForm* formSkinner) {
  if (attached_ || !skin || !IsWindow(window)) return;
  skin_ = skin;
  formSkinner_ = formSkinner;
  const bool ok = subclass_.Attach(window, [this](TMessage& m, const TWindowSubclass::Next& next) {
    HookMessage(m, [&next](TMessage& message) { next(message); });
  });
  if (!ok) return;
  window_ = window;
  enabled_ = IsWindowEnabled(window) != FALSE;
  caption_ = ReadWindowText();
  if (formSkinner_) formSkinner_->AddControlSkinner(this);
  attached_ = true;
  lifeState_ = lsAttached;
  InvalidateRect(window, nullptr, TRUE);
}

void TSkinControl::AttachGraphic(TWinSkinForm* formSkinner, TSkinData* skin) {
  if (attached_) return;
  auto* control = dynamic_cast<TControl*>(Owner());
  if (!control || dynamic_cast<TWinControl*>(control) || !skin) return;
  graphicControl_ = control;
  skin_ = skin;
  formSkinner_ = formSkinner;
  hook_.Install(control, [this](TMessage& m, const TWindowProcHook::Next& next) {
    HookMessage(m, [&next](TMessage& message) { next(message); });
  });
  if (formSkinner_) formSkinner_->AddControlSkinner(this);
  enabled_ = control->Enabled();
  caption_ = control->Caption();
  attached_ = true;
  lifeState_ = lsAttached;
  control->Invalidate();
}

void TSkinControl::Detach() {
  const bool wasAttached = std::exchange(attached_, false);
  hook_.Remove();
  subclass_.Detach();
  if (formSkinner_) {
    formSkinner_->RemoveControlSkinner(this);
    formSkinner_ = nullptr;
  }
  if (!wasAttached || OwnerDestroying()) return;
  // The control gets back what the skinner changed, and shows its own look again.
  RestoreColour();
  if (control_) control_->SetDoubleBuffered(savedDoubleBuffered_);
  if (graphicControl_) graphicControl_->Invalidate();
  if (lifeState_ == lsAttached) {
    if (HWND h = Handle(); h && IsWindow(h)) RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
  }
  window_ = nullptr;
}

void TSkinControl::RestoreColour() {
  if (ownColour_ && control_ && !OwnerDestroying()) control_->SetColor(savedColour_);
}

void TSkinControl::SkinChanged() {
  if (ownColour_ && control_ && skin_) control_->SetColor(skin_->ButtonFaceColour);
  if (HWND h = Handle()) {
    InvalidateRect(h, nullptr, TRUE);
  } else if (graphicControl_) {
    graphicControl_->Invalidate();
  }
}

// ---- messages ----

void TSkinControl::CallDefault(TMessage& m) {
  if (next_) (*next_)(m);
}

bool TSkinControl::BeforeMessage(TMessage& m) {
  if (m.Msg == WM_NCDESTROY) {
    CallDefault(m);
    lifeState_ = lsDead;
    SetHot(false);
    RestoreColour();
    return false;
  }
  return true;
}

void TSkinControl::AfterMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case CM_ENABLEDCHANGED:
      Redraw();
      break;
    case WM_SETTEXT:
      // lParam may be null or text of the other width: the window says what it holds now.
      caption_ = ReadWindowText();
      Redraw();
      break;
    case WM_PAINT:
      DrawNow(reinterpret_cast<HDC>(m.WParam));
      break;
    default:
      break;
  }
}

void TSkinControl::Redraw() {
  // A windowless control is painted over its parent at once.
  if (graphicControl_) return DrawNow(nullptr);
  HWND h = Handle();
  RECT r{};
  if (!h || !GetWindowRect(h, &r) || !GetParent(h)) return;
  InvalidateRect(h, nullptr, FALSE);
  UpdateWindow(h);
}

void TSkinControl::DrawNow(HDC dc) {
  HWND h = Handle();
  if (!h || !GetWindowRect(h, &windowRect_)) return;
  const SkinRect rect{0, 0, windowRect_.right - windowRect_.left, windowRect_.bottom - windowRect_.top};
  if (dc) {
    try {
      Paint(dc, rect);
    } catch (...) {
      // The control keeps what it drew itself.
    }
    return;
  }
  WindowDc window(h, true);
  if (!window.Get()) return;
  try {
    Paint(window.Get(), rect);
  } catch (...) {
  }
}

void TSkinControl::PaintMessage(TMessage& m) {
  HWND h = Handle();
  if (!h) return;
  GetWindowRect(h, &windowRect_);
  const SkinRect rect{0, 0, windowRect_.right - windowRect_.left, windowRect_.bottom - windowRect_.top};
  if (m.WParam) {
    Paint(reinterpret_cast<HDC>(m.WParam), rect);
    m.Result = 0;
    return;
  }
  PAINTSTRUCT ps{};
  HDC dc = BeginPaint(h, &ps);
  // EndPaint on every way out: the window is validated even when painting fails.
  struct End {
    HWND h;
    PAINTSTRUCT* ps;
    ~End() { EndPaint(h, ps); }
  } end{h, &ps};
  Paint(dc, rect);
  m.Result = 0;
}

void TSkinControl::DrawSkinFrame(const PixelView& view, const SkinRect& rect, int count, int index,
                                 const TDataSkinObject& o) {
  if (rect.Inverted()) return;
  DrawNineSlice(view, rect, o.Image, count, index, CellLayout::kSideBySide,
                {o.LeftWidth, o.TopHeight, o.RightWidth, o.BottomHeight}, o.Tile == 1,
                o.Trans == 1 ? BlendMode::kKeyTransparent : BlendMode::kCopy);
}

void TSkinControl::FillFace(HDC dc, const SkinRect& rect) const {
  if (!skin_) return;
  const RECT r{rect.left, rect.top, rect.right, rect.bottom};
  FillRect(dc, &r, skin_->FaceBrush());
}

void TSkinControl::SendMouseLeave() {
  if (TControl* c = control_ ? control_ : graphicControl_) {
    c->Perform(CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(c));
  } else if (window_) {
    SendMessageW(window_, CM_MOUSELEAVE, 0, 0);
  }
}

void TSkinControl::SetHot(bool hot) {
  if (!formSkinner_) return;
  TSkinControl* current = formSkinner_->HotButton();
  if (hot) {
    if (current == this) return;
    if (current) current->SendMouseLeave();
    formSkinner_->SetHotButton(this);
  } else if (current == this) {
    formSkinner_->SetHotButton(nullptr);
  }
}

}  // namespace qlt
