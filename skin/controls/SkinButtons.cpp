#include "skin/controls/SkinButtons.h"

#include "skin/data/WinSkinData.h"
#include "skin/frame/WinSkinForm.h"
#include "ui/StdCtrls.h"
#include "ui/TypeInfo.h"

namespace qlt {

const TClassInfo& TSkinButton::StaticClass() {
  static const TClassInfo info = ClassBuilder<TSkinButton, TSkinControl>("TSkinButton").Build();
  return info;
}

bool TSkinButton::HasImage() const { return skin_ && skin_->Buttons && !skin_->Buttons->Image.Empty(); }

ButtonState TSkinButton::State() const {
  ButtonState s;
  HWND h = Handle();
  const LONG style = h ? GetWindowLongW(h, GWL_STYLE) : 0;
  s.pressed = (mouseState_ & kMousePressed) != 0;
  s.hot = (mouseState_ & kMouseHot) != 0;
  s.focused = h && GetFocus() == h;
  s.isDefault = (style & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
  s.disabled = (style & WS_DISABLED) != 0;
  return s;
}

std::u16string TSkinButton::CurrentCaption() {
  HWND h = Handle();
  std::u16string text;
  if (h) {
    const int n = GetWindowTextLengthW(h);
    text.resize(static_cast<size_t>(n) + 1);
    text.resize(static_cast<size_t>(std::max(GetWindowTextW(h, reinterpret_cast<LPWSTR>(text.data()), n + 1), 0)));
  }
  if (text.empty() && control_) text = GetStrProp(control_, "Caption");
  caption_ = text;
  return text;
}

COLORREF TSkinButton::TextColour(int cell) const {
  const TDataSkinButton& b = *skin_->Buttons;
  if (cell == kButtonCellDisabled) {
    return control_ ? GetSysColor(COLOR_BTNSHADOW) : RGB(128, 128, 128);
  }
  COLORREF colour = control_ ? ColorToRGB(control_->Font()->Color())
                             : SkinColourToRgb(skin_->ButtonTextColour, GetSysColor(COLOR_BTNTEXT));
  if (cell == kButtonCellNormal && b.HasNormalColour2) colour = SkinColourToRgb(b.NormalColour2, colour);
  if (cell == kButtonCellHot && b.HasMouseOverColour2) colour = SkinColourToRgb(b.MouseOverColour2, colour);
  if (cell == kButtonCellPressed && b.HasPressedColour2) colour = SkinColourToRgb(b.PressedColour2, colour);
  return colour;
}

void TSkinButton::Paint(HDC dc, const SkinRect& rect) {
  if (!HasImage() || rect.Empty()) return;
  PaintSurface& surface = Surface();
  if (!surface.Reserve(rect.Width(), rect.Height())) return;
  const PixelView view = surface.View(rect.Width(), rect.Height());
  const SkinRect area{0, 0, rect.Width(), rect.Height()};
  const COLORREF face = SkinColourToRgb(skin_->ButtonFaceColour, GetSysColor(COLOR_BTNFACE));
  view.Fill(area, ToPixel32(RgbPixel(GetRValue(face), GetGValue(face), GetBValue(face))));
  const int cell = PushButtonCell(State());
  DrawSkinFrame(view, area, 5, cell, *skin_->Buttons);

  const std::u16string text = CurrentCaption();
  HDC memory = surface.Dc();
  GdiFlush();
  HFONT font = control_ ? control_->Font()->Handle() : reinterpret_cast<HFONT>(SendMessageW(Handle(), WM_GETFONT, 0, 0));
  SelectedObject selected(memory, font ? font : GetStockObject(DEFAULT_GUI_FONT));
  const int mode = SetBkMode(memory, TRANSPARENT);
  const COLORREF old = SetTextColor(memory, TextColour(cell));
  const auto* wide = reinterpret_cast<LPCWSTR>(text.c_str());
  RECT measured{0, 0, area.right, area.bottom};
  DrawTextW(memory, wide, -1, &measured, DT_CENTER | DT_CALCRECT | DT_NOCLIP | DT_EXPANDTABS);
  const SkinRect at = CentreText(area, measured.right - measured.left, measured.bottom - measured.top);
  RECT r{at.left, at.top, at.right, at.bottom};
  DrawTextW(memory, wide, -1, &r, DT_CENTER | DT_EXPANDTABS | DT_NOCLIP);
  SetTextColor(memory, old);
  SetBkMode(memory, mode);
  GdiFlush();
  surface.CopyTo(dc, rect, 0, 0);
}

void TSkinButton::ClickNow() {
  HWND h = Handle();
  HWND parent = h ? GetParent(h) : nullptr;
  if (!parent) return;
  // What the button itself sends: its parent (a dialog, or the framework's reflection to the
  // control) runs the click.
  PostMessageW(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(h), BN_CLICKED), reinterpret_cast<LPARAM>(h));
}

bool TSkinButton::MouseMessage(TMessage& m) {
  HWND h = Handle();
  switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (h && GetFocus() != h) SetFocus(h);
      mouseState_ |= kMousePressed;
      captured_ = true;
      SetCapture(h);
      DrawNow(nullptr);
      m.Result = 0;
      return true;
    case WM_MOUSEMOVE: {
      if (!captured_) return false;
      // While held, the button looks pressed only with the pointer over it, as the system's does.
      POINT p{static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))};
      RECT client{};
      GetClientRect(h, &client);
      const int was = mouseState_;
      if (PtInRect(&client, p)) {
        mouseState_ |= kMousePressed;
      } else {
        mouseState_ &= ~kMousePressed;
      }
      if (was != mouseState_) Redraw();
      return false;
    }
    case WM_LBUTTONUP: {
      if (!captured_) return false;
      captured_ = false;
      const bool over = (mouseState_ & kMousePressed) != 0;
      mouseState_ &= ~kMousePressed;
      if (GetCapture() == h) ReleaseCapture();
      Redraw();
      if (over) ClickNow();
      m.Result = 0;
      return true;
    }
    case WM_CAPTURECHANGED:
      // Capture taken away (a message box, WM_CANCELMODE): the press is over without a click.
      if (captured_ && reinterpret_cast<HWND>(m.LParam) != h) {
        captured_ = false;
        mouseState_ &= ~kMousePressed;
        Redraw();
      }
      return false;
    default:
      return false;
  }
}

bool TSkinButton::BeforeMessage(TMessage& m) {
  if (!TSkinControl::BeforeMessage(m)) return false;
  // Without an image the button stays as the system draws it.
  if (!HasImage()) return true;
  switch (m.Msg) {
    case WM_PAINT:
      PaintMessage(m);
      return false;
    case WM_ERASEBKGND:
      m.Result = 1;
      return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP:
      return !MouseMessage(m);
    case WM_MOUSEMOVE:
    case WM_CAPTURECHANGED:
      MouseMessage(m);
      return true;
    default:
      return true;
  }
}

void TSkinButton::AfterMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_KEYDOWN:
      if (m.WParam == VK_SPACE) {
        mouseState_ |= kMousePressed;
        Redraw();
      }
      return;
    case WM_KEYUP:
      if (m.WParam == VK_SPACE) {
        mouseState_ &= ~kMousePressed;
        Redraw();
      }
      return;
    case WM_MOUSEMOVE:
    case CM_MOUSEENTER:
      if (!(mouseState_ & kMouseHot) && IsWindowEnabled(Handle())) {
        mouseState_ |= kMouseHot;
        SetHot(true);
        Redraw();
      }
      if (m.Msg == WM_MOUSEMOVE) TSkinControl::AfterMessage(m);
      return;
    case BM_SETSTYLE:
    case BM_SETSTATE:
    case WM_UPDATEUISTATE:
      // The system button draws itself at once on these: the skin goes over it again.
      Redraw();
      return;
    case CM_MOUSELEAVE:
      if (mouseState_ & kMouseHot) {
        mouseState_ &= ~kMouseHot;
        // A press held with the mouse captured stays until the release.
        if (!captured_) mouseState_ &= ~kMousePressed;
        SetHot(false);
        Redraw();
      }
      return;
    default:
      TSkinControl::AfterMessage(m);
  }
}

}  // namespace qlt
