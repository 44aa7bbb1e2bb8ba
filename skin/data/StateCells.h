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

// A check box's mark. With 12 cells: unchecked 1, checked 5, unchecked disabled 4, checked
// disabled 8, indeterminate 9, indeterminate disabled 12. With any other count: unchecked 1,
// checked 2, unchecked disabled 3, checked disabled 4, and 4 for every indeterminate state.
int CheckBoxCell(int cells, bool checked, bool indeterminate, bool disabled);

// A radio button's mark. With 8 cells: unchecked 1, checked 5, unchecked disabled 4, checked
// disabled 8. With any other count: unchecked 1, checked 2, unchecked disabled 3, checked disabled 4.
int RadioCell(int cells, bool checked, bool disabled);

}  // namespace qlt
