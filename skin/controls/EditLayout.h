#pragma once
// The arithmetic of the skinned edit boxes, up-down buttons and combo boxes: which state cell each
// part shows, how an up-down button is split into its two halves, where a combo box's button, its
// glyph and its text go, and the small arrows of an up-down drawn without skin images. Portable:
// no <windows.h>.
#include "skin/frame/SkinPixels.h"

namespace qlt {

// The four looks of an up-down half, a combo box's ring and its button (cells numbered from 1).
enum ControlLook { kLookNormal = 1, kLookPressed = 2, kLookDisabled = 3, kLookHot = 4 };

// An up-down control's two halves: the first is the upper (or left) one, (size div 2) long; the
// second takes the rest. Inside an edit box both sit one pixel in from every side.
struct UpDownHalves {
  SkinRect first;
  SkinRect second;
};
UpDownHalves SplitUpDown(int width, int height, bool horizontal, bool inEdit);

// The look of one half: a disabled control shows disabled on both; the half under the pointer is
// pressed while the mouse is held, hot while it is only over it; the other half is normal.
int UpDownHalfLook(bool disabled, bool underPointer, bool pressed, bool hot);
// The cell of the eight-cell up-down images for a half's look: 1 to 4 for the first button, 5 to 8
// for the second.
inline int UpDownCell(int look, bool secondHalf) { return look + (secondHalf ? 4 : 0); }

// A combo box's ring and button: pressed, then hot or focused, then enabled, else disabled.
int ComboLook(bool pressed, bool hotOrFocused, bool enabled);

// Where a combo box's parts go (origin 0,0): the text area the control paints itself (the skin
// leaves it alone), the button at the right edge (the left one with a left scroll bar) and the
// glyph area, the button narrowed to two pixels inside the control's outer edge.
struct ComboLayout {
  SkinRect text;
  SkinRect button;
  SkinRect glyph;
};
ComboLayout LayOutCombo(int width, int height, int buttonWidth, bool buttonLeft);

// The text area the skin leaves to a combo box: the layout's, widened to the item area the control
// itself paints (`ownItem`, empty when unknown), so that the ring never covers the control's text.
SkinRect ComboTextArea(const ComboLayout& layout, const SkinRect& ownItem);

// A combo box whose button the skin draws on the left while the control keeps its item area at the
// left edge (it knows no left button): what the skin moves where. The control's picture of its
// item area goes right by `shift`, into the layout's text area; an edit of its own is placed at
// `edit` (empty for a drop-down list).
struct MirroredCombo {
  bool needed = false;
  int shift = 0;
  SkinRect edit;
};
MirroredCombo MirrorCombo(const ComboLayout& leftLayout, const SkinRect& ownItem, const SkinRect& ownEdit);

// Moves the pixels of `source` right (or left) by `dx`; only what lands inside `clip` (and the
// view) is written. The source may overlap where it goes.
void ShiftPixels(const PixelView& view, const SkinRect& source, int dx, const SkinRect& clip);

// A rectangle of `width` x `height` centred in `area` (rounded towards the top left).
SkinRect CentreIn(const SkinRect& area, int width, int height);

// A small filled arrow (a triangle of four rows or columns) centred in `area`, pointing up, down,
// left or right; clipped to the view.
enum class ArrowDirection { kUp, kDown, kLeft, kRight };
void DrawArrow(const PixelView& view, const SkinRect& area, ArrowDirection direction, Pixel32 colour);

}  // namespace qlt
