#include "skin/data/StateCells.h"

#include <algorithm>

namespace qlt {
namespace {

int Clamp(int cell, int cells) { return std::clamp(cell, 1, std::max(cells, 1)); }

}  // namespace

int EdgeCell(int cells, bool active) { return Clamp(active || cells < 2 ? 1 : 2, cells); }

int TitleButtonIdleCell(int cells, bool active) { return Clamp(active || cells < 4 ? 1 : 4, cells); }

int CheckBoxCell(int cells, bool checked, bool indeterminate, bool disabled) {
  int cell = 0;
  if (cells == 12) {
    if (indeterminate) cell = disabled ? 12 : 9;
    else if (checked) cell = disabled ? 8 : 5;
    else cell = disabled ? 4 : 1;
  } else if (indeterminate) {
    cell = 4;
  } else {
    cell = (disabled ? 3 : 1) + (checked ? 1 : 0);
  }
  return Clamp(cell, cells);
}

int RadioCell(int cells, bool checked, bool disabled) {
  int cell = 0;
  if (cells == 8) cell = (disabled ? 4 : 1) + (checked ? 4 : 0);
  else cell = (disabled ? 3 : 1) + (checked ? 1 : 0);
  return Clamp(cell, cells);
}

}  // namespace qlt
