#include "skin/data/StateCells.h"

#include <algorithm>

namespace qlt {
namespace {

int Clamp(int cell, int cells) { return std::clamp(cell, 1, std::max(cells, 1)); }

// A mark's cell in a group of four (normal, hot, pressed, disabled) that starts at `first`.
int InGroupOfFour(int first, bool disabled, MarkLook look) {
  if (disabled) return first + 3;
  return first + (look == MarkLook::kHot ? 1 : look == MarkLook::kPressed ? 2 : 0);
}

}  // namespace

int EdgeCell(int cells, bool active) { return Clamp(active || cells < 2 ? 1 : 2, cells); }

int TitleButtonIdleCell(int cells, bool active) { return Clamp(active || cells < 4 ? 1 : 4, cells); }

int CheckBoxCell(int cells, bool checked, bool indeterminate, bool disabled, MarkLook look) {
  int cell = 0;
  if (cells == 12) {
    cell = InGroupOfFour(indeterminate ? 9 : checked ? 5 : 1, disabled, look);
  } else {
    cell = indeterminate ? 4 : (disabled ? 3 : 1) + (checked ? 1 : 0);
  }
  return Clamp(cell, cells);
}

int RadioCell(int cells, bool checked, bool disabled, MarkLook look) {
  const int cell = cells == 8 ? InGroupOfFour(checked ? 5 : 1, disabled, look) : (disabled ? 3 : 1) + (checked ? 1 : 0);
  return Clamp(cell, cells);
}

}  // namespace qlt
