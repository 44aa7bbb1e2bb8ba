#pragma once
// The rules of the skinned buttons, check boxes and radio buttons that are plain arithmetic: which
// cell of the "Buttons" image a button shows in which state, and where a glyph, a caption and a
// check mark go (the check and radio cells are in skin/data/StateCells.h). Portable: no
// <windows.h>.
#include "skin/frame/SkinGeometry.h"

namespace qlt {

// Cells of the "Buttons" image.
enum ButtonCell { kButtonCellNormal = 1, kButtonCellPressed = 2, kButtonCellDisabled = 3, kButtonCellHot = 4,
                  kButtonCellDefault = 5 };

struct ButtonState {
  bool pressed = false;
  bool hot = false;
  bool focused = false;
  bool isDefault = false;
  bool disabled = false;
  bool down = false;  // a speed button held down by its group
};
// A push button: disabled, pressed, hot, default, focused, normal, in that order.
int PushButtonCell(const ButtonState& s);
// A button with a glyph: focus looks like hot, and "Default" comes after both.
int BitButtonCell(const ButtonState& s);
// A speed button: down wins over everything, then disabled, pressed, hot.
int SpeedButtonCell(const ButtonState& s);

// The glyph cell a button shows: a glyph of exactly four cells has one per state (1 up, 2
// disabled, 3 pressed); any other count shows its first cell. `greyed` says the cell is drawn
// grey (the disabled state, whatever the cell count).
struct GlyphCell {
  int cell = 1;
  bool greyed = false;
};
GlyphCell GlyphCellFor(int buttonCell, int numGlyphs);

enum class GlyphLayout { kLeft, kRight, kTop, kBottom };
struct GlyphTextPlacement {
  SkinRect glyph;
  SkinRect text;
};
// Places a glyph and a caption in a button: `margin` from the edge to the glyph and `spacing`
// between glyph and caption, each -1 for "work it out"; `centred` forces the automatic margin.
// `speedButton` adds the one pixel a speed button's automatic margin has.
GlyphTextPlacement PlaceGlyphAndText(int width, int height, int glyphWidth, int glyphHeight, int textWidth,
                                     int textHeight, int margin, int spacing, GlyphLayout layout, bool centred,
                                     bool speedButton);

// A caption centred in a rectangle: one pixel above the middle, as the skinned buttons draw it.
SkinRect CentreText(const SkinRect& area, int textWidth, int textHeight);

// Where the skin's mark goes over the system's: `mark` (the cell's size, centred vertically)
// and the strip painted with the face colour first (`menuCheck` is SM_CXMENUCHECK).
struct MarkPlacement {
  SkinRect mark;
  SkinRect face;
};
MarkPlacement PlaceMark(int width, int height, int cellWidth, int cellHeight, int menuCheck, bool textLeft,
                        bool radio);

// A skinned group box (origin 0,0): the rounded frame (a rectangle as RoundRect takes it, its line
// half a text height down, one pixel in), the caption's place (9 pixels in, on the top edge; empty
// without a caption) and the bands along the edges that are painted: the top one with the caption
// and the system's etched lines, then left, right and bottom, three pixels each (the etched
// frame's two and the rounded corners). The inside, where the group's windowless controls draw,
// is not touched.
struct GroupBoxLayout {
  SkinRect frame;
  SkinRect caption;
  SkinRect bands[4];
};
GroupBoxLayout LayOutGroupBox(int width, int height, int textHeight, int captionWidth);

}  // namespace qlt
