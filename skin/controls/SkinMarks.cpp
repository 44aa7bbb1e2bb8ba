#include "skin/controls/SkinMarks.h"

#include <algorithm>

#include "skin/data/WinSkinData.h"
#include "ui/SysUtils.h"
#include "ui/TypeInfo.h"

namespace qlt {

const TClassInfo& TSkinMarkControl::StaticClass() {
  static const TClassInfo info = ClassBuilder<TSkinMarkControl, TSkinControl>("TSkinMarkControl").Build();
  return info;
}

const TClassInfo& TSkinCheckBox::StaticClass() {
  static const TClassInfo info = ClassBuilder<TSkinCheckBox, TSkinMarkControl>("TSkinCheckBox").Build();
  return info;
}

const TClassInfo& TSkinRadioButton::StaticClass() {
  static const TClassInfo info = ClassBuilder<TSkinRadioButton, TSkinMarkControl>("TSkinRadioButton").Build();
  return info;
}

const TClassInfo& TSkinGroupBox::StaticClass() {
  static const TClassInfo info = ClassBuilder<TSkinGroupBox, TSkinControl>("TSkinGroupBox").Build();
  return info;
}

namespace {

COLORREF FaceColour(const TSkinData& skin) {
  return SkinColourToRgb(skin.ButtonFaceColour, GetSysColor(COLOR_BTNFACE));
}

Pixel32 SurfacePixel(COLORREF c) { return ToPixel32(RgbPixel(GetRValue(c), GetGValue(c), GetBValue(c))); }

SkinRect Union(const SkinRect& a, const SkinRect& b) {
  return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right), std::max(a.bottom, b.bottom)};
}

// The outer WM_PAINT of a double-buffered control: the control has just been painted, the skin
// included, into the bitmap this paint copies to the screen. Painting again would be wasted.
bool PaintedInBuffer(const TMessage& m, TWinControl* control) {
  return m.Msg == WM_PAINT && !m.WParam && control && control->DoubleBuffered();
}

}  // namespace

// ---- check boxes and radio buttons ----

void TSkinMarkControl::AttachControl(TWinSkinForm* formSkinner, TSkinData* skin, bool ownColour) {
  const auto* control = dynamic_cast<TControl*>(Owner());
  TSkinControl::AttachControl(formSkinner, skin, ownColour || (control && !control->ParentColor()));
}

const Bitmap24* TSkinMarkControl::MarkImage() const {
  if (!skin_ || !skin_->Buttons) return nullptr;
  const Bitmap24& image = radio_ ? skin_->Buttons->RadioImage : skin_->Buttons->CheckImage;
  return image.Empty() ? nullptr : &image;
}

int TSkinMarkControl::MarkCells() const {
  if (!skin_ || !skin_->Buttons) return 1;
  return std::max(radio_ ? skin_->Buttons->RadioFrame : skin_->Buttons->CheckFrame, 1);
}

MarkState TSkinMarkControl::ReadState() const {
  MarkState s;
  HWND h = Handle();
  if (!h) return s;
  const LRESULT state = SendMessageW(h, BM_GETSTATE, 0, 0);
  s.checked = (state & BST_CHECKED) != 0;
  s.indeterminate = !radio_ && (state & BST_INDETERMINATE) != 0;
  if (control_) {
    // A control that publishes its state decides, whatever its window says.
    const std::string checked = GetEnumProp(control_, "Checked");
    if (!checked.empty()) s.checked = AsciiLower(checked) == "true";
    const std::string grayed = radio_ ? std::string() : GetEnumProp(control_, "State");
    if (!grayed.empty()) s.indeterminate = AsciiLower(grayed) == "cbgrayed";
  }
  s.disabled = (GetWindowLongW(h, GWL_STYLE) & WS_DISABLED) != 0;
  if (state & BST_PUSHED) {
    s.look = MarkLook::kPressed;
  } else if (mouseState_ & kMouseHot) {
    s.look = MarkLook::kHot;
  }
  return s;
}

int TSkinMarkControl::CurrentCell() const {
  if (!MarkImage()) return 0;
  const MarkState s = ReadState();
  return radio_ ? RadioCell(MarkCells(), s.checked, s.disabled, s.look)
                : CheckBoxCell(MarkCells(), s.checked, s.indeterminate, s.disabled, s.look);
}

void TSkinMarkControl::Paint(HDC dc, const SkinRect& rect) {
  const Bitmap24* image = MarkImage();
  HWND h = Handle();
  if (!image || !h || rect.Empty()) return;
  const int cells = MarkCells();
  const int cellWidth = image->Width() / cells;
  if (cellWidth <= 0) return;
  const bool textLeft = (GetWindowLongW(h, GWL_STYLE) & BS_LEFTTEXT) != 0;
  const MarkPlacement place = PlaceMark(rect.Width(), rect.Height(), cellWidth, image->Height(),
                                        GetSystemMetrics(SM_CXMENUCHECK), textLeft, radio_);
  // The face colour hides the system's mark; the skin's goes over it, its magenta left out.
  const SkinRect area = Union(place.face, place.mark).Intersect(rect);
  if (area.Empty()) return;
  PaintSurface& surface = Surface();
  if (!surface.Reserve(area.Width(), area.Height())) return;
  const PixelView view = surface.View(area.Width(), area.Height());
  view.Fill(view.Bounds(), SurfacePixel(FaceColour(*skin_)));
  DrawCell(view, place.mark.Offset(-area.left, -area.top), *image, cells, CurrentCell(), BlendMode::kKeyTransparent);
  surface.CopyTo(dc, area, 0, 0);
}

void TSkinMarkControl::SetHover(bool hot) {
  if (((mouseState_ & kMouseHot) != 0) == hot) return;
  const int before = CurrentCell();
  mouseState_ = hot ? mouseState_ | kMouseHot : mouseState_ & ~kMouseHot;
  SetHot(hot);
  if (CurrentCell() != before) Redraw();
}

void TSkinMarkControl::AfterMessage(TMessage& m) {
  switch (m.Msg) {
    // The system draws its own mark at once on these (a check, a press, the focus moving on, a
    // change of the state from the framework): the skin's goes over it again.
    case BM_SETCHECK:
    case BM_SETSTATE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_UPDATEUISTATE:
    case CM_EXIT:
    case CM_CHECKCHANGED:
      Redraw();
      return;
    case WM_MOUSEMOVE:
    case CM_MOUSEENTER:
      SetHover(true);
      return;
    case CM_MOUSELEAVE:
      SetHover(false);
      return;
    default:
      if (PaintedInBuffer(m, control_)) return;
      TSkinControl::AfterMessage(m);
  }
}

// ---- group boxes ----

std::u16string TSkinGroupBox::CurrentCaption() {
  if (caption_.empty() && control_) return GetStrProp(control_, "Caption");
  return caption_;
}

void TSkinGroupBox::AfterMessage(TMessage& m) {
  if (PaintedInBuffer(m, control_)) return;
  TSkinControl::AfterMessage(m);
}

void TSkinGroupBox::Paint(HDC dc, const SkinRect& rect) {
  HWND h = Handle();
  if (!skin_ || !h || rect.Empty()) return;
  PaintSurface& surface = Surface();
  if (!surface.Reserve(rect.Width(), rect.Height())) return;
  const PixelView view = surface.View(rect.Width(), rect.Height());
  view.Fill(view.Bounds(), SurfacePixel(FaceColour(*skin_)));

  HDC memory = surface.Dc();
  HFONT font = control_ ? control_->Font()->Handle() : reinterpret_cast<HFONT>(SendMessageW(h, WM_GETFONT, 0, 0));
  SelectedObject selectedFont(memory, font ? font : GetStockObject(DEFAULT_GUI_FONT));
  SIZE zero{};
  GetTextExtentPoint32W(memory, L"0", 1, &zero);
  const std::u16string text = CurrentCaption();
  RECT measured{0, 0, rect.Width(), zero.cy};
  if (!text.empty()) skin_->DrawSkinText(memory, text, measured, DT_SINGLELINE | DT_EXPANDTABS | DT_CALCRECT);
  const GroupBoxLayout layout =
      LayOutGroupBox(rect.Width(), rect.Height(), zero.cy, text.empty() ? 0 : measured.right - measured.left);
  {
    // The pen is put back and freed before the copy: nothing of the skinner stays in the DC.
    UniquePen pen(CreatePen(PS_SOLID, 1, SkinColourToRgb(skin_->ButtonShadowColour, GetSysColor(COLOR_BTNSHADOW))));
    SelectedObject selectedPen(memory, pen.Get());
    SelectedObject selectedBrush(memory, GetStockObject(NULL_BRUSH));
    const SkinRect& f = layout.frame;
    RoundRect(memory, f.left, f.top, f.right, f.bottom, 5, 5);
  }
  if (!layout.caption.Empty()) {
    // On the face colour, a pixel wider than the text each side: the line stops short of it.
    const SkinRect& c = layout.caption;
    RECT back{c.left - 1, c.top, std::min(c.right + 1, rect.Width()), c.bottom};
    FillRect(memory, &back, skin_->FaceBrush());
    const COLORREF colour = !IsWindowEnabled(h) ? GetSysColor(COLOR_GRAYTEXT)
                            : control_       ? ColorToRGB(control_->Font()->Color())
                                             : GetSysColor(COLOR_BTNTEXT);
    const COLORREF oldColour = SetTextColor(memory, colour);
    const int oldMode = SetBkMode(memory, TRANSPARENT);
    RECT r{c.left, c.top, c.right, c.bottom};
    skin_->DrawSkinText(memory, text, r, DT_SINGLELINE | DT_EXPANDTABS);
    SetBkMode(memory, oldMode);
    SetTextColor(memory, oldColour);
  }
  GdiFlush();
  for (const SkinRect& band : layout.bands) {
    if (!band.Empty()) surface.CopyTo(dc, band, band.left, band.top);
  }
}

}  // namespace qlt
