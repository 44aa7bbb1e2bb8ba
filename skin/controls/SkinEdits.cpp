#include "skin/controls/SkinEdits.h"

#include <algorithm>
#include <commctrl.h>
#include <windowsx.h>

#include <vector>

#include "skin/data/WinSkinData.h"
#include "ui/SysUtils.h"

namespace qlt {

const TClassInfo& TSkinUpDown::StaticClass() {
  static const TClassInfo info = ClassBuilder<TSkinUpDown, TSkinControl>("TSkinUpDown").Build();
  return info;
}

const TClassInfo& TSkinEdit::StaticClass() {
  static const TClassInfo info = ClassBuilder<TSkinEdit, TSkinControl>("TSkinEdit").Build();
  return info;
}

const TClassInfo& TSkinComBox::StaticClass() {
  static const TClassInfo info = ClassBuilder<TSkinComBox, TSkinControl>("TSkinComBox").Build();
  return info;
}

namespace {

Pixel32 SurfacePixel(COLORREF c) { return ToPixel32(RgbPixel(GetRValue(c), GetGValue(c), GetBValue(c))); }

Pixel32 SkinPixel(TColor colour, int systemIndex) { return SurfacePixel(SkinColourToRgb(colour, GetSysColor(systemIndex))); }

std::u16string LowerClassName(HWND window) {
  wchar_t name[101] = {};
  const int n = GetClassNameW(window, name, 101);
  return AsciiLower(std::u16string(reinterpret_cast<const char16_t*>(name), static_cast<size_t>(std::max(n, 0))));
}

SkinRect ClientSize(HWND window) {
  RECT r{};
  GetClientRect(window, &r);
  return {0, 0, r.right, r.bottom};
}

// Where the client area's top-left lies in the window (the origin skinners paint in).
POINT ClientOrigin(HWND window) {
  POINT origin{0, 0};
  RECT r{};
  if (!ClientToScreen(window, &origin) || !GetWindowRect(window, &r)) return {0, 0};
  return {origin.x - r.left, origin.y - r.top};
}

SkinRect ToSkinRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

// Copies the composed rectangle to `dc` except `keep`, which stays as the control painted it. The
// DC's clipping is the caller's again afterwards.
void CopyAround(PaintSurface& surface, HDC dc, const SkinRect& rect, const SkinRect& keep) {
  const int saved = SaveDC(dc);
  if (!keep.Empty()) ExcludeClipRect(dc, keep.left, keep.top, keep.right, keep.bottom);
  surface.CopyTo(dc, rect, 0, 0);
  if (saved) RestoreDC(dc, saved);
}

// The outer WM_PAINT of a double-buffered control: the control, the skin included, has just been
// painted into the bitmap this paint puts on the screen.
bool PaintedInBuffer(const TMessage& m, TWinControl* control) {
  return m.Msg == WM_PAINT && !m.WParam && control && control->DoubleBuffered();
}

}  // namespace

// ---- up-down buttons ----

bool TSkinUpDown::Horizontal() const {
  HWND h = Handle();
  return inTabSet_ || (h && (GetWindowLongW(h, GWL_STYLE) & UDS_HORZ));
}

bool TSkinUpDown::Disabled() const {
  HWND h = Handle();
  if (!h || !IsWindowEnabled(h)) return true;
  // A spin edit's button looks as the edit does.
  HWND parent = GetParent(h);
  return inEdit_ && parent && !IsWindowEnabled(parent);
}

std::pair<int, int> TSkinUpDown::Looks() const {
  HWND h = Handle();
  if (!h) return {kLookNormal, kLookNormal};
  const SkinRect client = ClientSize(h);
  const UpDownHalves halves = SplitUpDown(client.Width(), client.Height(), Horizontal(), inEdit_);
  // Where the last mouse message put the pointer: the system's cursor position may lag behind the
  // messages (under Wine it is read from the display server), and a look decided from an old
  // position would stay on the screen until the next move.
  const POINT p = pointer_;
  const bool disabled = Disabled();
  const bool pressed = (mouseState_ & kMousePressed) != 0, hot = (mouseState_ & kMouseHot) != 0;
  return {UpDownHalfLook(disabled, halves.first.Contains(p.x, p.y), pressed, hot),
          UpDownHalfLook(disabled, halves.second.Contains(p.x, p.y), pressed, hot)};
}

void TSkinUpDown::HoverChanged() {
  if (Looks() != painted_) Redraw();
}

bool TSkinUpDown::BeforeMessage(TMessage& m) {
  if (!TSkinControl::BeforeMessage(m)) return false;
  switch (m.Msg) {
    case WM_MOUSEMOVE:
      pointer_ = {GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
      return true;
    case WM_LBUTTONUP:
      pointer_ = {GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
      mouseState_ &= ~kMousePressed;
      CallDefault(m);
      DrawNow(nullptr);
      return false;
    case WM_PAINT:
      PaintMessage(m);
      return false;
    case WM_ERASEBKGND:
      m.Result = 1;
      return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      pointer_ = {GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
      // The control steps (and starts repeating) first; the skin shows the press.
      CallDefault(m);
      mouseState_ |= kMousePressed;
      DrawNow(nullptr);
      return false;
    default:
      return true;
  }
}

void TSkinUpDown::AfterMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_MOUSEMOVE:
      if (Disabled()) return;
      if (!tracking_) {
        TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, Handle(), 0};
        tracking_ = TrackMouseEvent(&tme) != FALSE;
      }
      mouseState_ |= kMouseHot;
      HoverChanged();  // also from one half to the other
      return;
    case WM_MOUSELEAVE:
    case CM_MOUSELEAVE:
      tracking_ = false;
      if (!(mouseState_ & kMouseHot)) return;
      mouseState_ &= ~kMouseHot;
      if (GetCapture() != Handle()) mouseState_ &= ~kMousePressed;
      HoverChanged();
      return;
    case WM_CAPTURECHANGED:
      if ((mouseState_ & kMousePressed) && reinterpret_cast<HWND>(m.LParam) != Handle()) {
        mouseState_ &= ~kMousePressed;
        HoverChanged();
      }
      return;
    case WM_PAINT:
      return;  // painted wholly in BeforeMessage
    default:
      TSkinControl::AfterMessage(m);
  }
}

void TSkinUpDown::Paint(HDC dc, const SkinRect& rect) {
  HWND h = Handle();
  if (!skin_ || !h || rect.Empty()) return;
  PaintSurface& surface = Surface();
  if (!surface.Reserve(rect.Width(), rect.Height())) return;
  const PixelView view = surface.View(rect.Width(), rect.Height());
  view.Fill(view.Bounds(), SkinPixel(skin_->ButtonFaceColour, COLOR_BTNFACE));
  const bool horizontal = Horizontal();
  const UpDownHalves halves = SplitUpDown(rect.Width(), rect.Height(), horizontal, inEdit_);
  const std::pair<int, int> looks = Looks();
  const TDataSkinBorder* art = horizontal ? skin_->UpDownHorz.get() : skin_->UpDownVert.get();
  for (int half = 0; half < 2; ++half) {
    const SkinRect& r = half ? halves.second : halves.first;
    const int look = half ? looks.second : looks.first;
    if (r.Empty()) continue;
    if (art && !art->Image.Empty()) {
      const int cell = UpDownCell(look, half == 1);
      DrawCell(view, r, art->Image, 8, cell, BlendMode::kKeyTransparent);
      if (!art->Image2.Empty()) {
        const SkinRect glyph = CentreIn(r, art->Image2.Width() / 8, art->Image2.Height());
        DrawCell(view, glyph, art->Image2, 8, cell, BlendMode::kKeyTransparent);
      }
      continue;
    }
    const bool sunk = look == kLookPressed || look == kLookHot;
    view.Fill(r, sunk ? SkinPixel(skin_->ButtonShadowColour, COLOR_BTNSHADOW)
                      : SkinPixel(skin_->ButtonFaceColour, COLOR_BTNFACE));
    FrameRectPixels(view, r, SkinPixel(skin_->ButtonDkShadowColour, COLOR_3DDKSHADOW));
    const ArrowDirection direction = horizontal ? (half ? ArrowDirection::kRight : ArrowDirection::kLeft)
                                                : (half ? ArrowDirection::kDown : ArrowDirection::kUp);
    DrawArrow(view, r, direction,
              look == kLookDisabled ? SkinPixel(skin_->ButtonShadowColour, COLOR_BTNSHADOW)
                                    : SkinPixel(skin_->ButtonDkShadowColour, COLOR_3DDKSHADOW));
  }
  surface.CopyTo(dc, rect, 0, 0);
  painted_ = looks;
  ++paints_;
}

// ---- edit boxes ----

void TSkinEdit::AttachControl(TWinSkinForm* formSkinner, TSkinData* skin, bool) {
  auto* edit = dynamic_cast<TWinControl*>(Owner());
  if (!edit || !edit->HandleAllocated()) return;
  AttachWindow(edit->Handle(), skin, formSkinner);
}

void TSkinEdit::SkinChanged() {
  TSkinControl::SkinChanged();
  if (HWND h = Handle()) RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
  if (arrow_) arrow_->SkinChanged();
}

void TSkinEdit::FindArrow() {
  HWND h = Handle();
  if (arrow_ || !h) return;
  for (HWND c = GetTopWindow(h); c; c = GetWindow(c, GW_HWNDNEXT)) {
    const std::u16string name = LowerClassName(c);
    if (name != u"msctls_updown32" && name != u"tspinbutton") continue;
    // Owned by this skinner and out of the form's list: it goes when the edit's skinner goes.
    auto* arrow = new TSkinUpDown(this);
    arrow->SetInEdit(true);
    arrow->AttachWindow(c, skin_, nullptr);
    if (!arrow->Attached()) {
      delete arrow;
      return;
    }
    arrow_ = arrow;
    return;
  }
}

void TSkinEdit::DrawBorder(HDC dc, const SkinRect& rect, int minimumInset) {
  HWND h = Handle();
  if (!skin_ || !h || rect.Width() < 4 || rect.Height() < 4) return;
  const SkinRect client = ClientSize(h);
  // An edit without a border is left alone.
  if (client.Width() + minimumInset >= rect.Width() || client.Height() + minimumInset >= rect.Height()) return;
  PaintSurface& surface = Surface();
  if (!surface.Reserve(rect.Width(), rect.Height())) return;
  const PixelView view = surface.View(rect.Width(), rect.Height());
  const SkinRect all{0, 0, rect.Width(), rect.Height()};
  FrameRectPixels(view, all, SkinPixel(skin_->ButtonShadowColour, COLOR_BTNSHADOW));
  FrameRectPixels(view, {1, 1, all.right - 1, all.bottom - 1}, SurfacePixel(RGB(255, 255, 255)));
  const int w = all.right, b = all.bottom;
  for (const SkinRect& band : {SkinRect{0, 0, w, 2}, SkinRect{0, b - 2, w, b}, SkinRect{0, 2, 2, b - 2},
                               SkinRect{w - 2, 2, w, b - 2}}) {
    surface.CopyTo(dc, band.Offset(rect.left, rect.top), band.left, band.top);
  }
}

void TSkinEdit::Paint(HDC dc, const SkinRect& rect) {
  FindArrow();
  DrawBorder(dc, rect, 0);
}

void TSkinEdit::AfterMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_PAINT:
      // Into a DC of the message (a print of the client): nothing of the border is there.
      if (!m.WParam) DrawNow(nullptr);
      return;
    case WM_NCPAINT:
      // The system has drawn its sunken edge again.
      DrawNow(nullptr);
      return;
    case WM_PRINT:
      if (m.LParam & PRF_NONCLIENT) {
        RECT r{};
        if (HWND h = Handle(); h && GetWindowRect(h, &r)) {
          DrawBorder(reinterpret_cast<HDC>(m.WParam), {0, 0, r.right - r.left, r.bottom - r.top}, 2);
        }
      }
      return;
    case WM_ENABLE:
      TSkinControl::AfterMessage(m);
      if (arrow_ && arrow_->Handle()) InvalidateRect(arrow_->Handle(), nullptr, FALSE);
      return;
    default:
      TSkinControl::AfterMessage(m);
  }
}

// ---- combo boxes ----

TSkinComBox::~TSkinComBox() {
  // Back where the control put it (a control being destroyed takes its edit with it).
  if (movedEdit_ && IsWindow(movedEdit_) && !OwnerDestroying()) {
    SetWindowPos(movedEdit_, nullptr, editHome_.left, editHome_.top, editHome_.right - editHome_.left,
                 editHome_.bottom - editHome_.top, SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

int TSkinComBox::Look() const {
  HWND h = Handle();
  if (!h) return kLookNormal;
  HWND focus = GetFocus();
  const bool focused = focus && (focus == h || IsChild(h, focus));
  return ComboLook((mouseState_ & kMousePressed) != 0, focused || (mouseState_ & kMouseHot), IsWindowEnabled(h) != FALSE);
}

bool TSkinComBox::HasFrame() const {
  HWND h = Handle();
  RECT window{}, client{};
  if (!h || !GetWindowRect(h, &window) || !GetClientRect(h, &client)) return false;
  return window.right - window.left != client.right || window.bottom - window.top != client.bottom;
}

bool TSkinComBox::LeftButton() const {
  HWND h = Handle();
  return h && (GetWindowLongW(h, GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR);
}

TSkinComBox::OwnParts TSkinComBox::ReadOwnParts() const {
  OwnParts own;
  HWND h = Handle();
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  if (!h || !GetComboBoxInfo(h, &info)) return own;
  const POINT origin = ClientOrigin(h);
  own.item = ToSkinRect(info.rcItem).Offset(origin.x, origin.y);
  own.button = ToSkinRect(info.rcButton).Offset(origin.x, origin.y);
  if (info.hwndItem && info.hwndItem != h && GetParent(info.hwndItem) == h) {
    RECT r{};
    GetWindowRect(info.hwndItem, &r);
    MapWindowPoints(nullptr, h, reinterpret_cast<POINT*>(&r), 2);
    own.edit = ToSkinRect(r).Offset(origin.x, origin.y);
    own.editWindow = info.hwndItem;
  }
  return own;
}

MirroredCombo TSkinComBox::Mirror(const ComboLayout& layout, const OwnParts& own) const {
  if (!LeftButton()) return {};
  return MirrorCombo(layout, own.item, own.editWindow ? own.edit : SkinRect{});
}

void TSkinComBox::PlaceEdit(const MirroredCombo& mirror, const OwnParts& own) {
  HWND h = Handle();
  if (!h || !mirror.needed || !own.editWindow || mirror.edit.Empty() || own.edit == mirror.edit) return;
  // Wherever the control put it last (it places it again when it is resized) is where it goes back.
  const POINT origin = ClientOrigin(h);
  const SkinRect home = own.edit.Offset(-origin.x, -origin.y);
  editHome_ = {home.left, home.top, home.right, home.bottom};
  movedEdit_ = own.editWindow;
  const SkinRect to = mirror.edit.Offset(-origin.x, -origin.y);
  SetWindowPos(own.editWindow, nullptr, to.left, to.top, to.Width(), to.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
}

void TSkinComBox::SetHover(bool hot) {
  if (((mouseState_ & kMouseHot) != 0) == hot) return;
  mouseState_ = hot ? mouseState_ | kMouseHot : mouseState_ & ~kMouseHot;
  SetHot(hot);
  if (Look() != paintedLook_) DrawNow(nullptr);
}

bool TSkinComBox::BeforeMessage(TMessage& m) {
  if (!TSkinControl::BeforeMessage(m)) return false;
  if ((m.Msg == WM_LBUTTONDOWN || m.Msg == WM_LBUTTONDBLCLK) && LeftButton() && skin_) {
    // A press on the left button of a control that has its own button elsewhere is a press on that.
    HWND h = Handle();
    RECT r{};
    GetWindowRect(h, &r);
    const ComboLayout layout = LayOutCombo(r.right - r.left, r.bottom - r.top, GetSystemMetrics(SM_CXHSCROLL), true);
    const OwnParts own = ReadOwnParts();
    const POINT origin = ClientOrigin(h);
    const int x = GET_X_LPARAM(m.LParam) + origin.x, y = GET_Y_LPARAM(m.LParam) + origin.y;
    if (Mirror(layout, own).needed && layout.button.Contains(x, y) && !own.button.Empty() &&
        !own.button.Contains(x, y)) {
      const SkinRect b = own.button.Offset(-origin.x, -origin.y);
      m.LParam = MAKELPARAM((b.left + b.right) / 2, (b.top + b.bottom) / 2);
    }
  }
  return true;
}

void TSkinComBox::AfterMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_KEYDOWN:
    case WM_CHAR:
    case WM_COMMAND:
    case WM_MOUSEWHEEL:
    case CB_SETCURSEL:
    case CB_SELECTSTRING:
      // A control that knows no left button paints a newly chosen item straight onto the screen
      // at its left edge, under the button: the picture is composed again.
      if (mirrored_) DrawNow(nullptr);
      return;
    case WM_DRAWITEM:
      Redraw();
      return;
    case WM_NCPAINT:
      // A box without a frame has nothing outside its client area for the system to paint over:
      // its own paint brings the ring back.
      if (HasFrame()) DrawNow(nullptr);
      return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      mouseState_ |= kMousePressed;
      DrawNow(nullptr);
      return;
    case WM_LBUTTONUP:
      mouseState_ &= ~kMousePressed;
      DrawNow(nullptr);
      return;
    case CN_COMMAND:
      // The list closed without the release reaching the box (a key, a click elsewhere).
      if (HIWORD(m.WParam) == CBN_CLOSEUP && (mouseState_ & kMousePressed)) {
        mouseState_ &= ~kMousePressed;
        DrawNow(nullptr);
      }
      return;
    case CM_MOUSEENTER:
      if (Handle() && IsWindowEnabled(Handle())) SetHover(true);
      return;
    case CM_MOUSELEAVE:
      SetHover(false);
      return;
    default:
      if (PaintedInBuffer(m, control_)) return;
      TSkinControl::AfterMessage(m);
  }
}

void TSkinComBox::PaintSimple(HDC dc, const SkinRect& rect, int look) {
  PaintSurface& surface = Surface();
  if (!surface.Reserve(rect.Width(), rect.Height())) return;
  const PixelView view = surface.View(rect.Width(), rect.Height());
  // The DC's own brush fills the inner ring and the button, as the control's background does.
  COLORREF brushColour = SkinColourToRgb(skin_->ButtonFaceColour, GetSysColor(COLOR_BTNFACE));
  LOGBRUSH lb{};
  if (GetObjectW(GetCurrentObject(dc, OBJ_BRUSH), sizeof lb, &lb) == sizeof lb && lb.lbStyle == BS_SOLID) {
    brushColour = lb.lbColor;
  }
  const int w = rect.Width(), h = rect.Height();
  const int thumb = GetSystemMetrics(SM_CYVTHUMB);
  const SkinRect button{std::max(w - 1 - thumb, 1), 1, w - 1, h - 1};
  FrameRectPixels(view, {1, 1, w - 1, h - 1}, SurfacePixel(brushColour));
  view.Fill(button, SurfacePixel(brushColour));
  DrawCell(view, button, skin_->ComboButton->Image, 4, look, BlendMode::kCopy);
  FrameRectPixels(view, {0, 0, w, h}, SkinPixel(skin_->ButtonShadowColour, COLOR_BTNSHADOW));
  CopyAround(surface, dc, rect, SkinRect{2, 2, button.left, h - 2}.Offset(rect.left, rect.top));
}

void TSkinComBox::DrawParts(const PixelView& view, const SkinRect& area, const ComboLayout& layout, bool left,
                            int look) {
  DrawSkinFrame(view, area, 4, look, *skin_->SunkEdge);
  const Bitmap24& button = left && !skin_->ComboButton->Image2.Empty() ? skin_->ComboButton->Image2
                                                                        : skin_->ComboButton->Image;
  DrawCell(view, layout.button, button, 4, look, BlendMode::kKeyTransparent);
  if (const TDataSkinObject* extra = skin_->ExtraImages.get(); extra && !extra->Image.Empty()) {
    const int cells = std::max(extra->Frame, 1);
    const SkinRect glyph = CentreIn(layout.glyph, extra->Image.Width() / cells, extra->Image.Height());
    DrawCell(view, glyph, extra->Image, cells, std::min(look, cells), BlendMode::kKeyTransparent);
  }
}

void TSkinComBox::PaintMirrored(HDC dc, const SkinRect& rect, const ComboLayout& layout, const MirroredCombo& mirror,
                                int look) {
  HWND h = Handle();
  PaintSurface& surface = Surface();
  if (!surface.Reserve(rect.Width(), rect.Height())) return;
  const SkinRect area{0, 0, rect.Width(), rect.Height()};
  surface.View(area.right, area.bottom).Fill(area, SkinPixel(skin_->ButtonFaceColour, COLOR_BTNFACE));
  // The control's own picture (its text, highlight and focus), then its item moved right of the
  // left button, over the button the control draws on the right.
  const POINT origin = ClientOrigin(h);
  POINT saved{};
  SetViewportOrgEx(surface.Dc(), origin.x, origin.y, &saved);
  SendMessageW(h, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(surface.Dc()), PRF_CLIENT | PRF_ERASEBKGND);
  SetViewportOrgEx(surface.Dc(), saved.x, saved.y, nullptr);
  const PixelView view = surface.View(area.right, area.bottom);
  const SkinRect text = layout.text;
  if (mirror.edit.Empty()) {
    ShiftPixels(view, {text.left - mirror.shift, text.top, text.right, text.bottom}, mirror.shift, text);
  } else {
    // Around its edit the control shows a margin in the window colour.
    view.Fill(text, SurfacePixel(GetSysColor(COLOR_WINDOW)));
  }
  // The ring and the button go everywhere but the text area.
  std::vector<Pixel32> kept;
  kept.reserve(static_cast<size_t>(std::max(text.Width(), 0)) * std::max(text.Height(), 0));
  for (int y = text.top; y < text.bottom; ++y) kept.insert(kept.end(), view.Row(y) + text.left, view.Row(y) + text.right);
  DrawParts(view, area, layout, true, look);
  auto at = kept.begin();
  for (int y = text.top; y < text.bottom; ++y, at += text.Width()) std::copy(at, at + text.Width(), view.Row(y) + text.left);
  // The edit is a window of its own: it paints itself.
  CopyAround(surface, dc, rect, mirror.edit.Offset(rect.left, rect.top));
}

void TSkinComBox::Paint(HDC dc, const SkinRect& rect) {
  HWND h = Handle();
  if (!skin_ || !h || rect.Empty() || !skin_->ComboButton || skin_->ComboButton->Image.Empty()) return;
  boxStyle_ = static_cast<DWORD>(GetWindowLongW(h, GWL_STYLE));
  boxExStyle_ = static_cast<DWORD>(GetWindowLongW(h, GWL_EXSTYLE));
  focused_ = GetFocus() == h;
  enabled_ = IsWindowEnabled(h) != FALSE;
  const int look = Look();
  if (skin_->ComboButton->Style == 1) {
    PaintSimple(dc, rect, look);
  } else {
    if (!skin_->SunkEdge || skin_->SunkEdge->Image.Empty()) return;
    const bool left = (boxExStyle_ & WS_EX_LEFTSCROLLBAR) != 0;
    const ComboLayout layout = LayOutCombo(rect.Width(), rect.Height(), GetSystemMetrics(SM_CXHSCROLL), left);
    const OwnParts own = ReadOwnParts();
    const MirroredCombo mirror = Mirror(layout, own);
    mirrored_ = mirror.needed && !layout.text.Empty();
    if (mirrored_) {
      PlaceEdit(mirror, own);
      PaintMirrored(dc, rect, layout, mirror, look);
    } else {
      PaintSurface& surface = Surface();
      if (!surface.Reserve(rect.Width(), rect.Height())) return;
      const PixelView view = surface.View(rect.Width(), rect.Height());
      const SkinRect area{0, 0, rect.Width(), rect.Height()};
      view.Fill(area, SkinPixel(skin_->ButtonFaceColour, COLOR_BTNFACE));
      DrawParts(view, area, layout, left, look);
      // Only the ring and the button reach the screen: the text area, and whatever the control
      // paints of its item beyond it, is the control's.
      CopyAround(surface, dc, rect, ComboTextArea(layout, own.item).Offset(rect.left, rect.top));
    }
  }
  paintedLook_ = look;
  ++paints_;
}

}  // namespace qlt
