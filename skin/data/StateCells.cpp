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
    cell = indeterminate ? (disabled ? 12 : 9) : checked ? (disabled ? 8 : 5) : (disabled ? 4 : 1);
  } else {
    cell = indeterminate ? 4 : (disabled ? 3 : 1) + (checked ? 1 : 0);
  }
  return Clamp(cell, cells);
}

int RadioCell(int cells, bool checked, bool disabled) {
  const int cell = cells == 8 ? (disabled ? 4 : 1) + (checked ? 4 : 0) : (disabled ? 3 : 1) + (checked ? 1 : 0);
  return Clamp(cell, cells);
}

}  // namespace qlt
