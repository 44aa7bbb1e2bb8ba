#pragma once
// Which state cell of a skin image a painter shows, by the element's state and the image's cell
// count. Cells are numbered from 1 and the result always lies in 1..cells (at least 1), so a skin
// with fewer cells than a state asks for never makes a painter read outside its image.
// Portable: no <windows.h>.
namespace qlt {

// A window edge: cell 1 while the window is active or when the edge has one cell, else cell 2.
int EdgeCell(int cells, bool active);

// A title button in the title bar as painted with the frame: cell 1 while the window is active or
// when the image has fewer than 4 cells, else cell 4 (the inactive window's look).
int TitleButtonIdleCell(int cells, bool active);

// How the mouse touches a check or radio mark. Only images with a group of four cells per mark
// (normal, hot, pressed, disabled: 12-cell check boxes, 8-cell radio buttons) show the hot and
// pressed looks; other images show the normal cell, and a disabled mark never looks hot or pressed.
enum class MarkLook { kNormal, kHot, kPressed };

// A check box's mark. With 12 cells: unchecked 1, checked 5, unchecked disabled 4, checked
// disabled 8, indeterminate 9, indeterminate disabled 12 (hot and pressed the cells after the
// normal one: 2 and 3, 6 and 7, 10 and 11). With any other count: unchecked 1, checked 2,
// unchecked disabled 3, checked disabled 4, and 4 for every indeterminate state.
int CheckBoxCell(int cells, bool checked, bool indeterminate, bool disabled, MarkLook look = MarkLook::kNormal);

// A radio button's mark. With 8 cells: unchecked 1, checked 5, unchecked disabled 4, checked
// disabled 8 (hot and pressed 2 and 3, 6 and 7). With any other count: unchecked 1, checked 2,
// unchecked disabled 3, checked disabled 4.
int RadioCell(int cells, bool checked, bool disabled, MarkLook look = MarkLook::kNormal);

}  // namespace qlt
