#pragma once
// What the skin puts on the screen, read back from grabs. What a skinned button shows on the screen, judged against the skin's own "Buttons" image: the
// button tests of the gallery's windows and the end-to-end drivers of QLT.exe read the cells the
// same way.
#include <windows.h>

#include "skin/controls/EditLayout.h"
#include "skin/data/SkinObjects.h"
#include "tests/win/WinTestSupport.h"

namespace qlt::test {

// Whether the four corners of a button in the grab (the grab is the button's rectangle) are those
// of cell `cell` (from 1) of the five-cell "Buttons" image. Corners are never stretched; a
// transparent pixel of a Trans image shows the face colour.
bool ButtonCornersShowCell(const ScreenGrab& grab, const TDataSkinButton& buttons, int cell, COLORREF face);
// The cell the corners show: 1 to 5, 0 when none does, -1 when several would.
int ButtonCellOnScreen(const ScreenGrab& grab, const TDataSkinButton& buttons, COLORREF face);

// A skin colour on the screen: system colours resolved, the flag byte dropped.
COLORREF ColourOf(TColor colour);
// Pixels of exactly this colour in a rectangle of the grab (coordinates relative to `origin`).
int CountColour(const ScreenGrab& grab, POINT origin, const RECT& area, COLORREF colour);

// What an up-down control of w x h shows with the looks of its two halves (ControlLook values),
// composed from the skin: its "UpDown" images where it has them, drawn halves otherwise.
PixelBuffer ExpectedUpDown(const TSkinContent& skin, int w, int h, bool horizontal, bool inEdit, int first, int second);
// What a combo box of w x h shows in a look, outside its text area (given back in `layout`).
PixelBuffer ExpectedCombo(const TSkinContent& skin, int w, int h, int look, bool buttonLeft, ComboLayout& layout);
// Pixels of a grab that differ from the expected ones, `skip` left out (-1 for another size).
int PixelMismatches(const ScreenGrab& grab, const PixelBuffer& want, const SkinRect& skip = {});

// True when the screen point shows `window` (or a child of it): inside every parent's client area
// and under no visible sibling above it or above one of its parents.
bool WindowShowsAt(HWND window, POINT screen);

}  // namespace qlt::test
