#include "skin/controls/EditLayout.h"

#include <algorithm>
#include <cstring>

namespace qlt {

UpDownHalves SplitUpDown(int width, int height, bool horizontal, bool inEdit) {
  SkinRect work{0, 0, std::max(width, 0), std::max(height, 0)};
  if (inEdit) work = {1, 1, std::max(width - 1, 1), std::max(height - 1, 1)};
  UpDownHalves h;
  if (horizontal) {
    const int split = work.left + work.Width() / 2;
    h.first = {work.left, work.top, split, work.bottom};
    h.second = {split, work.top, work.right, work.bottom};
  } else {
    const int split = work.top + work.Height() / 2;
    h.first = {work.left, work.top, work.right, split};
    h.second = {work.left, split, work.right, work.bottom};
  }
  return h;
}

int UpDownHalfLook(bool disabled, bool underPointer, bool pressed, bool hot) {
  if (disabled) return kLookDisabled;
  if (!underPointer) return kLookNormal;
  if (pressed) return kLookPressed;
  return hot ? kLookHot : kLookNormal;
}

int ComboLook(bool pressed, bool hotOrFocused, bool enabled) {
  if (pressed) return kLookPressed;
  if (hotOrFocused) return kLookHot;
  return enabled ? kLookNormal : kLookDisabled;
}

ComboLayout LayOutCombo(int width, int height, int buttonWidth, bool buttonLeft) {
  const int b = std::max(buttonWidth, 0);
  ComboLayout l;
  if (buttonLeft) {
    l.text = {b + 4, 2, width - 2, height - 2};
    l.button = {0, 0, std::min(b + 2, width), height};
    l.glyph = {2, 2, l.button.right, height - 2};
  } else {
    l.text = {2, 2, width - b - 4, height - 2};
    l.button = {std::max(width - b - 2, 0), 0, width, height};
    l.glyph = {l.button.left, 2, width - 2, height - 2};
  }
  return l;
}

SkinRect ComboTextArea(const ComboLayout& layout, const SkinRect& ownItem) {
  if (ownItem.Empty()) return layout.text;
  if (layout.text.Empty()) return ownItem;
  return {std::min(layout.text.left, ownItem.left), std::min(layout.text.top, ownItem.top),
          std::max(layout.text.right, ownItem.right), std::max(layout.text.bottom, ownItem.bottom)};
}

MirroredCombo MirrorCombo(const ComboLayout& leftLayout, const SkinRect& ownItem, const SkinRect& ownEdit) {
  MirroredCombo m;
  // A control that lays its own parts out for a left button needs nothing moved.
  if (ownItem.Empty() || leftLayout.text.Empty() || ownItem.left >= leftLayout.button.right) return m;
  m.needed = true;
  m.shift = leftLayout.text.left - ownItem.left;
  if (!ownEdit.Empty()) {
    // One pixel inside the text area, at the edit's own height.
    m.edit = {leftLayout.text.left + 1, ownEdit.top, std::max(leftLayout.text.right - 1, leftLayout.text.left + 1),
              ownEdit.bottom};
  }
  return m;
}

void ShiftPixels(const PixelView& view, const SkinRect& source, int dx, const SkinRect& clip) {
  if (view.Empty()) return;
  const SkinRect target = source.Offset(dx, 0).Intersect(clip).Intersect(view.Bounds());
  if (target.Empty()) return;
  // Only the part whose source lies inside the view is moved.
  const SkinRect from = target.Offset(-dx, 0).Intersect(view.Bounds());
  const SkinRect to = from.Offset(dx, 0);
  if (to.Empty()) return;
  for (int y = to.top; y < to.bottom; ++y) {
    Pixel32* row = view.Row(y);
    std::memmove(row + to.left, row + from.left, sizeof(Pixel32) * static_cast<std::size_t>(to.Width()));
  }
}

SkinRect CentreIn(const SkinRect& area, int width, int height) {
  const int left = area.left + (area.Width() - width) / 2;
  const int top = area.top + (area.Height() - height) / 2;
  return {left, top, left + width, top + height};
}

namespace {

void Put(const PixelView& view, int x, int y, Pixel32 colour) {
  if (x >= 0 && y >= 0 && x < view.Width() && y < view.Height()) view.At(x, y) = colour;
}

}  // namespace

void DrawArrow(const PixelView& view, const SkinRect& area, ArrowDirection direction, Pixel32 colour) {
  if (view.Empty() || area.Empty()) return;
  // Four lines of 7, 5, 3 and 1 pixels: 7 x 4 pointing up or down, 4 x 7 pointing sideways.
  constexpr int kRows = 4;
  const bool vertical = direction == ArrowDirection::kUp || direction == ArrowDirection::kDown;
  const SkinRect box = vertical ? CentreIn(area, 2 * kRows - 1, kRows) : CentreIn(area, kRows, 2 * kRows - 1);
  for (int i = 0; i < kRows; ++i) {
    // Line i is 2*i+1 long, counted from the tip.
    const int half = i;
    switch (direction) {
      case ArrowDirection::kUp:
        for (int d = -half; d <= half; ++d) Put(view, box.left + kRows - 1 + d, box.top + i, colour);
        break;
      case ArrowDirection::kDown:
        for (int d = -half; d <= half; ++d) Put(view, box.left + kRows - 1 + d, box.bottom - 1 - i, colour);
        break;
      case ArrowDirection::kLeft:
        for (int d = -half; d <= half; ++d) Put(view, box.left + i, box.top + kRows - 1 + d, colour);
        break;
      case ArrowDirection::kRight:
        for (int d = -half; d <= half; ++d) Put(view, box.right - 1 - i, box.top + kRows - 1 + d, colour);
        break;
    }
  }
}

}  // namespace qlt
