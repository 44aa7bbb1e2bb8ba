#include "skin/menus/MenuBarLayout.h"

#include <algorithm>
#include <cstdint>

namespace qlt {

int MenuBarStart(int barWidth, const MenuBarStyle& style) {
  if (!style.hasImage) return 6;
  const std::int64_t start = style.rightToLeft ? std::int64_t{style.rightWidth} + 8 : std::int64_t{style.leftWidth} + 4;
  return start > barWidth ? 12 : static_cast<int>(start);
}

std::vector<SkinRect> LayOutMenuBar(const SkinRect& bar, const std::vector<MenuBarEntry>& entries,
                                    const MenuBarStyle& style) {
  std::vector<SkinRect> rects;
  rects.reserve(entries.size());
  const int start = MenuBarStart(bar.Width(), style);
  // In 64 bits, each place brought back into int's range: captions past the bar's end only move
  // further out.
  std::int64_t x = style.rightToLeft ? std::int64_t{bar.right} - start : std::int64_t{bar.left} + start;
  for (const MenuBarEntry& e : entries) {
    if (!e.visible) {
      rects.push_back({});
      continue;
    }
    const std::int64_t width = e.textWidth > 0 ? std::int64_t{e.textWidth} + 10 : 0;
    const std::int64_t next = style.rightToLeft ? x - width : x + width;
    rects.push_back({ClampToInt(std::min(x, next)), bar.top, ClampToInt(std::max(x, next)), bar.bottom});
    x = next;
  }
  return rects;
}

int NeighbourButton(const std::vector<bool>& opens, int from, int step) {
  const int n = static_cast<int>(opens.size());
  if (n == 0 || (step != 1 && step != -1)) return -1;
  int i = from < 0 || from >= n ? (step > 0 ? -1 : n) : from;
  for (int tries = 0; tries < n; ++tries) {
    i = ((i + step) % n + n) % n;
    if (i == from) return -1;
    if (opens[static_cast<size_t>(i)]) return i;
  }
  return -1;
}

char16_t AcceleratorOf(std::u16string_view caption) {
  for (size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != u'&') continue;
    if (caption[i + 1] == u'&') {
      ++i;  // an ampersand of the text
      continue;
    }
    return caption[i + 1];
  }
  return 0;
}

namespace {

char16_t FoldCase(char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c; }

}  // namespace

bool IsAccelerator(std::u16string_view caption, char16_t typed) {
  const char16_t accelerator = AcceleratorOf(caption);
  return accelerator != 0 && typed != 0 && FoldCase(accelerator) == FoldCase(typed);
}

int ArrowSwitch(ArrowKey key, const DropDownState& state) {
  if (key == ArrowKey::kLeft) return state.openMenus <= 1 ? -1 : 0;
  return !state.selected || !state.selectionOpensSubMenu ? 1 : 0;
}

}  // namespace qlt
