#pragma once
// What the skin puts on the screen, read back from grabs. What a skinned button shows on the screen, judged against the skin's own "Buttons" image: the
// button tests of the gallery's windows and the end-to-end drivers of QLT.exe read the cells the
// same way.
#include <windows.h>

#include <string>
#include <vector>

#include "skin/controls/EditLayout.h"
#include "skin/controls/TabLayout.h"
#include "skin/data/SkinObjects.h"
#include "skin/frame/SkinGeometry.h"
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
// The smallest rectangle around the pixels of exactly this colour there (empty when none is).
RECT ColourBounds(const ScreenGrab& grab, POINT origin, const RECT& area, COLORREF colour);
// How wide ColourBounds finds a text drawn in a colour, in the system's caption font (or its menu
// font), without prefixes: the pixels wholly covered, as on the screen whatever the background.
int TextInkWidth(const std::wstring& text, COLORREF colour, bool menuFont = false);

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

// Waits until the window shows the edits' flat border: the shadow colour outside, white one pixel
// in, all round, where it shows (a sibling above may cover a part; most of it must show). Empty
// when it does, else what is wrong.
std::string FlatBorderFault(HWND edit, const TSkinContent& skin);

// A combo box's parts (its COMBOBOXINFO), of this process's or another's; false when unknown.
bool ComboInfoOf(HWND combo, COMBOBOXINFO& info);
// The item area a combo box paints itself (its rcItem), in window coordinates; empty when unknown.
SkinRect ComboItemArea(HWND combo);

// A row of a list box that shows now and is not `avoid` (the top one or the next), and the centre
// of that row on the screen; the list is not scrolled. -1 when the list shows no such row.
int ShownListRow(HWND listBox, int avoid);
POINT ShownListRowCentre(HWND listBox, int row);
// Whether the corners of `place` in `shown` (a picture of the screen) are those of cell `cell` of
// `count` cells side by side in `image` (the margins are never stretched; their two outer rows are
// compared), and the top margin's two outer rows between them are made of that cell's rows; a transparent pixel of a `trans`
// image shows `face`. Corners the picture cuts off are not checked, but two at least must be
// there. False when the place is smaller than its margins.
bool CornersShowCell(const Bitmap24& shown, const SkinRect& place, const Bitmap24& image, int count, int cell,
                     SkinMargins margins, bool trans, Bgr face);
// The cell the corners show: 1 to count, 0 when none does, -1 when several would.
int CellOfCorners(const Bitmap24& shown, const SkinRect& place, const Bitmap24& image, int count, SkinMargins margins,
                  bool trans, Bgr face);

// A form description of QLT as the program carries it in its resources (RCDATA `resourceName`),
// without its event bindings, so nothing of the program runs when a test creates the form (no
// tray icon, settings file or hotkey). `keepSkin`: the skin component stays in it (the main
// window's SkinData1, which then skins every form of the test as it skins QLT's); otherwise it is
// left out, and a skin component of the test's paints the form. Empty when there is no such resource.
std::string QltFormDescription(const wchar_t* resourceName, bool keepSkin);

// Images put side by side in rows on one page (each row's images left to right, rows top to
// bottom, `gap` pixels of `background` around and between them), e.g. a window skinned and unskinned.
Bitmap24 SideBySidePage(const std::vector<std::vector<const Bitmap24*>>& rows, int gap, Bgr background);

// The centre of an up-down control's first (up or left) or second half on the screen, its halves
// split as the skin splits them.
POINT UpDownHalfCentre(HWND upDown, bool horizontal, bool inEdit, bool second);
// ---- Tab controls (of this program or another) ----

// What a tab control shows on the screen, its strip of tabs turned back to lie horizontally, as
// the skin composes it.
struct TabPicture {
  TabSide side = TabSide::kTop;
  TabStripLayout layout;
  Bitmap24 client;  // the client area as it shows
  Bitmap24 strip;   // the strip, horizontal
};
TabPicture PictureOf(HWND tab);
// Whether tab `index` shows cell `cell` of the skin's "Tabs" image (upside down at the bottom).
bool TabShowsCell(const TabPicture& p, HWND tab, int index, int cell, const TSkinContent& skin, Bgr face);
// Waits until every tab in sight shows its cell, the selected one 2 and the others 1; "" then,
// otherwise what differs.
std::string TabsOnScreen(HWND tab, const TSkinContent& skin, Bgr face);
// Whether the page border's four corners on the screen are the "Tabs" object's Border image,
// turned for the side.
bool TabPageBorderOnScreen(HWND tab, const TSkinContent& skin, Bgr face);

}  // namespace qlt::test
