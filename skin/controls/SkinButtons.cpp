#include "skin/controls/SkinButtons.h"

#include <algorithm>

#include "skin/controls/GlyphPixels.h"
#include "skin/data/WinSkinData.h"
#include "skin/frame/WinSkinForm.h"
#include "ui/Buttons.h"
#include "ui/StdCtrls.h"
#include "ui/SysUtils.h"
#include "ui/TypeInfo.h"

namespace qlt {

namespace {

bool PropIsTrue(TObject* object, std::string_view name) { return AsciiLower(GetEnumProp(object, name)) == "true"; }

GlyphLayout LayoutOf(TObject* button) {
  const std::string layout = AsciiLower(GetEnumProp(button, "Layout"));
  if (layout == "blglyphright") return GlyphLayout::kRight;
  if (layout == "blglyphtop") return GlyphLayout::kTop;
  if (layout == "blglyphbottom") return GlyphLayout::kBottom;
  return GlyphLayout::kLeft;
}

// The caption's alignment inside its place for each layout.
UINT AlignmentOf(GlyphLayout layout) {
  switch (layout) {
    case GlyphLayout::kLeft: return DT_LEFT;
    case GlyphLayout::kRight: return DT_RIGHT;
    default: return DT_CENTER;
  }
}

// The glyph of a button and the image list it draws from when it has none.
struct ButtonImage {
  TBitmap* glyph = nullptr;
  int numGlyphs = 1;
  TImageList* images = nullptr;
  int index = -1;
  SIZE size{0, 0};
};

ButtonImage ImageOfButton(TObject* button, bool enabled) {
  ButtonImage b;
  b.numGlyphs = GetIntProp(button, "NumGlyphs");
  auto* glyph = dynamic_cast<TBitmap*>(GetObjectProp(button, "Glyph", &TBitmap::StaticClass()));
  if (glyph && !glyph->Empty()) {
    const SkinRect cell = GlyphCellRect(glyph->Width(), glyph->Height(), b.numGlyphs, 1);
    if (!cell.Empty()) {
      b.glyph = glyph;
      b.size = {cell.Width(), cell.Height()};
    }
    return b;
  }
  b.images = dynamic_cast<TImageList*>(GetObjectProp(button, "Images", &TImageList::StaticClass()));
  const int index = GetIntProp(button, "ImageIndex");
  if (!b.images || !GetPropInfo(button, "ImageIndex") || index < 0) {
    b.images = nullptr;
    return b;
  }
  b.index = index;
  if (!enabled && GetPropInfo(button, "DisabledIndex") && GetIntProp(button, "DisabledIndex") >= 0) {
    b.index = GetIntProp(button, "DisabledIndex");
  }
  b.size = {b.images->Width(), b.images->Height()};
  return b;
}

// A glyph goes into the face's pixels (its transparent colour left out, grey when disabled); an
// image list's image is drawn by GDI on the face's DC.
void DrawImage(HDC dc, const PixelView& view, const ButtonImage& image, const SkinRect& at, int buttonCell) {
  if (image.glyph) {
    const GlyphCell g = GlyphCellFor(buttonCell, image.numGlyphs);
    const SkinRect source = GlyphCellRect(image.glyph->Width(), image.glyph->Height(), image.numGlyphs, g.cell);
    const TColor key = image.glyph->TransparentColor();
    const COLORREF rgb = ColorToRGB(key);
    DrawGlyph(view, at.left, at.top, BitmapPixels(*image.glyph), source,
              RgbPixel(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb)), g.greyed);
  } else if (image.images) {
    TCanvas canvas;
    canvas.SetHandle(dc);
    image.images->Draw(&canvas, at.left, at.top, image.index, buttonCell != kButtonCellDisabled);
    canvas.SetHandle(nullptr);
  }
}

}  // namespace

Bitmap24 BitmapPixels(TBitmap& bitmap) {
  Bitmap24 image(bitmap.Width(), bitmap.Height());
  for (int y = 0; y < image.Height(); ++y) {
    const uint8_t* row = bitmap.ScanLine(y);
    if (!row) return {};
    std::copy_n(row, static_cast<size_t>(image.Width()) * 3, reinterpret_cast<uint8_t*>(image.ScanLine(y)));
  }
  return image;
}

const TClassInfo& TSkinButton::StaticClass() {
  static const TClassInfo info = ClassBuilder<TSkinButton, TSkinControl>("TSkinButton").Build();
  return info;
}

const TClassInfo& TSkinBitButton::StaticClass() {
  static const TClassInfo info = ClassBuilder<TSkinBitButton, TSkinButton>("TSkinBitButton").Build();
  return info;
}

const TClassInfo& TSkinSpeedButton::StaticClass() {
  static const TClassInfo info = ClassBuilder<TSkinSpeedButton, TSkinBitButton>("TSkinSpeedButton").Build();
  return info;
}

// ---- TSkinButton ----

bool TSkinButton::HasImage() const { return skin_ && skin_->Buttons && !skin_->Buttons->Image.Empty(); }

TControl* TSkinButton::ButtonControl() const {
  if (control_) return control_;
  return GraphicControl();
}

bool TSkinButton::ButtonEnabled() const {
  if (HWND h = Handle()) return IsWindowEnabled(h) != FALSE;
  return GraphicControl() && GraphicControl()->Enabled();
}

ButtonState TSkinButton::WindowState() const {
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

int TSkinButton::Cell() const { return PushButtonCell(WindowState()); }

std::u16string TSkinButton::CurrentCaption() {
  HWND h = Handle();
  std::u16string text;
  if (h) {
    const int n = GetWindowTextLengthW(h);
    text.resize(static_cast<size_t>(n) + 1);
    text.resize(static_cast<size_t>(std::max(GetWindowTextW(h, reinterpret_cast<LPWSTR>(text.data()), n + 1), 0)));
  }
  if (text.empty() && ButtonControl()) text = GetStrProp(ButtonControl(), "Caption");
  caption_ = text;
  return text;
}

HFONT TSkinButton::CaptionFont() {
  HFONT font = nullptr;
  if (TControl* c = ButtonControl()) {
    font = c->Font()->Handle();
  } else if (HWND h = Handle()) {
    font = reinterpret_cast<HFONT>(SendMessageW(h, WM_GETFONT, 0, 0));
  }
  return font ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

COLORREF TSkinButton::TextColour(int cell) const {
  const TDataSkinButton& b = *skin_->Buttons;
  TControl* c = ButtonControl();
  if (cell == kButtonCellDisabled) return c ? GetSysColor(COLOR_BTNSHADOW) : RGB(128, 128, 128);
  COLORREF colour = c ? ColorToRGB(c->Font()->Color()) : SkinColourToRgb(skin_->ButtonTextColour, GetSysColor(COLOR_BTNTEXT));
  if (cell == kButtonCellNormal && b.HasNormalColour2) colour = SkinColourToRgb(b.NormalColour2, colour);
  if (cell == kButtonCellHot && b.HasMouseOverColour2) colour = SkinColourToRgb(b.MouseOverColour2, colour);
  if (cell == kButtonCellPressed && b.HasPressedColour2) colour = SkinColourToRgb(b.PressedColour2, colour);
  return colour;
}

SIZE TSkinButton::MeasureCaption(HDC dc, const std::u16string& text) {
  if (text.empty()) return {0, 0};
  RECT r{0, 0, 0, 0};
  ::DrawTextW(dc, reinterpret_cast<LPCWSTR>(text.c_str()), static_cast<int>(text.size()), &r,
            DT_CALCRECT | DT_NOCLIP | DT_EXPANDTABS);
  return {r.right - r.left, r.bottom - r.top};
}

void TSkinButton::DrawCaption(HDC dc, const std::u16string& text, const SkinRect& at, UINT alignment) {
  if (text.empty()) return;
  RECT r{at.left, at.top, at.right, at.bottom};
  ::DrawTextW(dc, reinterpret_cast<LPCWSTR>(text.c_str()), static_cast<int>(text.size()), &r,
            alignment | DT_NOCLIP | DT_EXPANDTABS);
}

void TSkinButton::Paint(HDC dc, const SkinRect& rect) {
  if (!HasImage() || rect.Empty()) return;
  PaintSurface& surface = Surface();
  if (!surface.Reserve(rect.Width(), rect.Height())) return;
  const int cell = Cell();
  const PixelView view = surface.View(rect.Width(), rect.Height());
  const SkinRect area{0, 0, rect.Width(), rect.Height()};
  const COLORREF face = SkinColourToRgb(skin_->ButtonFaceColour, GetSysColor(COLOR_BTNFACE));
  view.Fill(area, ToPixel32(RgbPixel(GetRValue(face), GetGValue(face), GetBValue(face))));
  if (DrawsFrame(cell)) DrawSkinFrame(view, area, 5, cell, *skin_->Buttons);

  HDC memory = surface.Dc();
  SelectedObject font(memory, CaptionFont());
  const int mode = SetBkMode(memory, TRANSPARENT);
  const COLORREF colour = GetTextColor(memory);
  // The DC's settings go back on every way out: the surface is shared by every skinner.
  struct Restore {
    HDC dc;
    int mode;
    COLORREF colour;
    ~Restore() {
      SetTextColor(dc, colour);
      SetBkMode(dc, mode);
    }
  } restore{memory, mode, colour};
  DrawContent(memory, view, area, cell);
  GdiFlush();
  surface.CopyTo(dc, rect, 0, 0);
  paintedCell_ = cell;
}

void TSkinButton::DrawContent(HDC dc, const PixelView&, const SkinRect& area, int cell) {
  const std::u16string text = CurrentCaption();
  SetTextColor(dc, TextColour(cell));
  const SIZE size = MeasureCaption(dc, text);
  DrawCaption(dc, text, CentreText(area, size.cx, size.cy), DT_CENTER);
}

void TSkinButton::HotChanged() {
  if (Cell() != paintedCell_) Redraw();
}

void TSkinButton::ClickNow() {
  HWND h = Handle();
  HWND parent = h ? GetParent(h) : nullptr;
  if (!parent) return;
  // What the button itself sends: its parent (a dialog, or the framework's reflection to the
  // control) runs the click, after this message is done.
  PostMessageW(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(h), BN_CLICKED), reinterpret_cast<LPARAM>(h));
}

bool TSkinButton::MouseMessage(TMessage& m) {
  // BM_CLICK presses and releases the button from inside the system's own handling: that click
  // is the button's, and its parent hears of it before BM_CLICK returns, as the caller expects.
  if (programClick_) return false;
  HWND h = Handle();
  switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      const std::shared_ptr<const bool> alive = Alive();
      if (h && GetFocus() != h) SetFocus(h);
      // The focus moving on may free, hide or disable the button (another control's OnExit):
      // then nothing is pressed.
      m.Result = 0;
      if (!*alive || !IsWindowVisible(h) || !IsWindowEnabled(h)) return true;
      mouseState_ |= kMousePressed;
      captured_ = true;
      SetCapture(h);
      DrawNow(nullptr);
      return true;
    }
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
    case BM_CLICK:
      programClick_ = true;
      return true;
    default:
      return true;
  }
}

void TSkinButton::AfterMessage(TMessage& m) {
  switch (m.Msg) {
    case BM_CLICK:
      programClick_ = false;
      Redraw();
      return;
    case WM_KEYDOWN:
      if (m.WParam == VK_SPACE && !(mouseState_ & kMousePressed)) {
        mouseState_ |= kMousePressed;
        Redraw();
      }
      return;
    case WM_KEYUP:
      if (m.WParam == VK_SPACE && (mouseState_ & kMousePressed)) {
        mouseState_ &= ~kMousePressed;
        Redraw();
      }
      return;
    case WM_MOUSEMOVE:
    case CM_MOUSEENTER:
      if (!(mouseState_ & kMouseHot) && ButtonEnabled()) {
        mouseState_ |= kMouseHot;
        SetHot(true);
        HotChanged();
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
        HotChanged();
      }
      return;
    default:
      TSkinControl::AfterMessage(m);
  }
}

// ---- TSkinBitButton ----

int TSkinBitButton::Cell() const {
  ButtonState s = WindowState();
  // An owner-drawn button has no default style bit: the property says it.
  s.isDefault = ButtonControl() && PropIsTrue(ButtonControl(), "Default");
  return BitButtonCell(s);
}

bool TSkinBitButton::BeforeMessage(TMessage& m) {
  if (m.Msg == CN_DRAWITEM && HasImage()) {
    // The system asks the owner-drawn button to draw itself (focus, state): the skin draws it.
    const auto* dis = reinterpret_cast<const DRAWITEMSTRUCT*>(m.LParam);
    const RECT& r = dis->rcItem;
    Paint(dis->hDC, SkinRect{r.left, r.top, r.right, r.bottom});
    m.Result = TRUE;
    return false;
  }
  return TSkinButton::BeforeMessage(m);
}

void TSkinBitButton::DrawContent(HDC dc, const PixelView& view, const SkinRect& area, int cell) {
  TControl* button = ButtonControl();
  if (!button) return TSkinButton::DrawContent(dc, view, area, cell);
  const ButtonImage image = ImageOfButton(button, cell != kButtonCellDisabled);
  const std::u16string text = CurrentCaption();
  const SIZE textSize = MeasureCaption(dc, text);
  const GlyphLayout layout = LayoutOf(button);
  const bool centred = GetEnumProp(button, "Alignment") == "taCenter";
  const GlyphTextPlacement place =
      PlaceGlyphAndText(area.Width(), area.Height(), image.size.cx, image.size.cy, textSize.cx, textSize.cy,
                        GetIntProp(button, "Margin"), GetIntProp(button, "Spacing"), layout, centred, SpeedButtonLayout());
  DrawImage(dc, view, image, place.glyph, cell);
  SetTextColor(dc, TextColour(cell));
  DrawCaption(dc, text, place.text, AlignmentOf(layout));
}

// ---- TSkinSpeedButton ----

void TSkinSpeedButton::AttachControl(TWinSkinForm* formSkinner, TSkinData* skin, bool) {
  AttachGraphic(formSkinner, skin);
}

int TSkinSpeedButton::Cell() const {
  ButtonState s;
  TControl* button = ButtonControl();
  s.pressed = (mouseState_ & kMousePressed) != 0;
  s.hot = (mouseState_ & kMouseHot) != 0;
  s.down = button && PropIsTrue(button, "Down");
  s.disabled = !button || !PropIsTrue(button, "Enabled");
  return SpeedButtonCell(s);
}

bool TSkinSpeedButton::DrawsFrame(int cell) const {
  return !(cell == kButtonCellNormal && ButtonControl() && PropIsTrue(ButtonControl(), "Flat"));
}

void TSkinSpeedButton::DrawContent(HDC dc, const PixelView& view, const SkinRect& area, int cell) {
  TControl* button = ButtonControl();
  if (!button) return;
  if (ImageOfButton(button, true).size.cx > 0) return TSkinBitButton::DrawContent(dc, view, area, cell);
  // Without a glyph: the caption centred in the plain font, the state colours not applied.
  TFont plain;
  plain.Assign(*button->Font());
  plain.SetStyle(0);
  if (!plainFont_.SameAs(plain)) plainFont_.Assign(plain);
  SelectedObject font(dc, plainFont_.Handle());
  const std::u16string text = CurrentCaption();
  SetTextColor(dc, cell == kButtonCellDisabled ? GetSysColor(COLOR_BTNSHADOW) : ColorToRGB(button->Font()->Color()));
  const SIZE size = MeasureCaption(dc, text);
  DrawCaption(dc, text, CentreText(area, size.cx, size.cy), DT_CENTER);
}

void TSkinSpeedButton::DrawNow(HDC dc) {
  TControl* button = ButtonControl();
  if (!button || !HasImage()) return;
  TWinControl* parent = button->Parent();
  if (!button->Showing() || !parent || !parent->HandleAllocated()) return;
  try {
    // A DC given is the parent's with its origin at the button, as in WM_PAINT.
    if (dc) return Paint(dc, SkinRect{0, 0, button->Width(), button->Height()});
    // Otherwise a DC of the parent's client area: the button is drawn at its place there.
    WindowDc window(parent->Handle());
    if (window.Get()) Paint(window.Get(), RectOfSize(button->Left(), button->Top(), button->Width(), button->Height()));
  } catch (...) {
    // The button keeps what was on the screen.
  }
}

bool TSkinSpeedButton::BeforeMessage(TMessage& m) {
  if (!TSkinControl::BeforeMessage(m)) return false;
  if (!HasImage()) return true;
  TControl* button = ButtonControl();
  switch (m.Msg) {
    case WM_PAINT:
      // The parent hands over its DC with the origin at the button.
      if (!m.WParam || !button) return true;
      Paint(reinterpret_cast<HDC>(m.WParam), SkinRect{0, 0, button->Width(), button->Height()});
      m.Result = 1;
      return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      // The button keeps its own press (its click and its group's down state).
      CallDefault(m);
      held_ = true;
      mouseState_ |= kMousePressed;
      Redraw();
      return false;
    case WM_MOUSEMOVE: {
      if (!held_ || !button) return true;
      // While held it looks pressed only with the pointer over it (the parent keeps sending the
      // moves to it), as the button's own click needs.
      const int x = static_cast<short>(LOWORD(m.LParam)), y = static_cast<short>(HIWORD(m.LParam));
      const bool inside = x >= 0 && y >= 0 && x < button->Width() && y < button->Height();
      const int was = mouseState_;
      mouseState_ = inside ? (mouseState_ | kMousePressed) : (mouseState_ & ~kMousePressed);
      if (was != mouseState_) Redraw();
      return true;
    }
    default:
      return true;
  }
}

void TSkinSpeedButton::AfterMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_LBUTTONUP:
      held_ = false;
      if (mouseState_ & kMousePressed) {
        mouseState_ &= ~kMousePressed;
        Redraw();
      }
      return;
    case CM_MOUSEENTER:
      if (!(mouseState_ & kMouseHot)) {
        mouseState_ |= kMouseHot;
        SetHot(true);
        HotChanged();
      }
      return;
    case CM_MOUSELEAVE:
      if (mouseState_ & (kMouseHot | kMousePressed)) {
        mouseState_ &= ~(kMouseHot | kMousePressed);
        held_ = false;
        SetHot(false);
        HotChanged();
      }
      return;
    default:
      TSkinControl::AfterMessage(m);
  }
}

}  // namespace qlt
