#include "skin/frame/FrameLayout.h"

#include <algorithm>
#include <climits>

#include "skin/data/StateCells.h"

namespace qlt {

bool IsDialogClass(std::u16string_view className) {
  return className == u"#32770" || className == u"TMessageForm";
}

TBorderKind DecideBorderKind(std::uint32_t style, std::u16string_view className) {
  TBorderKind kind = bkSingle;
  if ((style & wsbits::kPopup) && (style & wsbits::kCaption) != wsbits::kCaption) {
    kind = bkNone;
  } else if (style & wsbits::kThickFrame) {
    kind = bkSizeable;
  } else if (style & wsbits::kModalFrame) {
    kind = bkDialog;
  }
  if (IsDialogClass(className)) kind = bkDialog;
  return kind;
}

namespace {

int CellAcross(const TDataSkinBorder* edge, bool stacked) {
  if (!edge || edge->Image.Empty()) return 0;
  const int count = std::max(edge->Frame, 1);
  return stacked ? edge->Image.Height() / count : edge->Image.Width() / count;
}

}  // namespace

FrameMetrics ComputeFrameMetrics(const TSkinContent& skin, TBorderKind kind) {
  if (kind == bkNone) return {};
  return {CellAcross(skin.LeftBorder.get(), false), CellAcross(skin.TopBorder.get(), true),
          CellAcross(skin.RightBorder.get(), false), CellAcross(skin.BottomBorder.get(), true)};
}

std::uint8_t BoxFlagsOf(std::uint32_t style, bool hasSystemMenu) {
  std::uint8_t flags = 0;
  if ((style & wsbits::kSysMenu) || hasSystemMenu) flags |= boxflag::kSystemMenu;
  if (style & wsbits::kMinimizeBox) flags |= boxflag::kMinimize;
  if (style & wsbits::kMaximizeBox) flags |= boxflag::kMaximize;
  return flags;
}

std::uint32_t StripFrameStyles(std::uint32_t style, bool ownedOrMdiChild, std::uint32_t& removed) {
  const std::uint32_t take =
      ownedOrMdiChild ? (wsbits::kSysMenu | wsbits::kMinimizeBox | wsbits::kMaximizeBox) : wsbits::kCaption;
  removed |= style & take;
  return style & ~take;
}

std::uint32_t RestoreFrameStyles(std::uint32_t style, std::uint32_t& removed) {
  const std::uint32_t restored = style | removed;
  removed = 0;
  return restored;
}

SkinRect SkinnedClientRect(const SkinRect& window, const FrameMetrics& m, int menuBarHeight) {
  SkinRect r;
  r.left = ClampToInt(std::min<std::int64_t>(std::int64_t{window.left} + m.left, window.right));
  r.top = ClampToInt(std::min<std::int64_t>(std::int64_t{window.top} + m.top + menuBarHeight, window.bottom));
  r.right = ClampToInt(std::max<std::int64_t>(std::int64_t{window.right} - m.right, r.left));
  r.bottom = ClampToInt(std::max<std::int64_t>(std::int64_t{window.bottom} - m.bottom, r.top));
  return r;
}

MinimumSize MinimumFrameSize(const FrameMetrics& m, int menuBarHeight) {
  return {ClampToInt(std::int64_t{m.left} + m.right), ClampToInt(std::int64_t{m.top} + menuBarHeight + m.bottom)};
}

MinimumSize WindowSizeForClient(int clientWidth, int clientHeight, const FrameMetrics& m, int menuBarHeight) {
  return {ClampToInt(std::int64_t{std::max(clientWidth, 0)} + m.left + m.right),
          ClampToInt(std::int64_t{std::max(clientHeight, 0)} + m.top + menuBarHeight + m.bottom)};
}

CaptionLayout LayOutCaption(const TDataSkinTitle& title, const CaptionInput& in) {
  // In 64 bits: the title's numbers and the measured text only ever meet here.
  const std::int64_t shift = title.LeftWidth, shiftVert = title.TopHeight, rightClip = title.RightWidth;
  const std::int64_t backLeft = title.TextBackLeft, backRight = title.TextBackRight;
  const SkinRect& t = in.title;
  const std::int64_t blockWidth = std::int64_t{in.textWidth} + backLeft + backRight;
  std::int64_t dx = 0;
  const int alignment = in.rightToLeft ? 2 : title.TextAlignment;
  switch (alignment) {
    case 0: dx = shift; break;
    case 1: dx = (t.Width() - blockWidth) / 2; break;
    case 2: dx = t.Width() - rightClip - blockWidth; break;
    default: break;
  }
  // Both divisions truncate toward zero, as the skins were drawn for.
  const std::int64_t dy = (std::int64_t{t.Height()} - in.textHeight) / 2 + shiftVert / 2;
  const std::int64_t left = t.left + dx, top = t.top + dy;
  std::int64_t right = left + blockWidth;
  if (in.popupStyle) {
    if (in.buttonsLeft > 5 && in.buttonsLeft - 5 < right) right = in.buttonsLeft - 5;
  } else {
    right = std::min(right, t.right - rightClip);
  }
  // Dialogs show no icon: a left-aligned caption takes its place.
  const std::int64_t blockLeft = in.dialog && title.TextAlignment == 0 ? left - 16 : left;
  const std::int64_t bottom = top + in.textHeight;
  CaptionLayout layout;
  layout.block = {ClampToInt(blockLeft), ClampToInt(top), ClampToInt(right), ClampToInt(bottom)};
  layout.text = {ClampToInt(blockLeft + backLeft), ClampToInt(top), ClampToInt(right - backRight), ClampToInt(bottom)};
  return layout;
}

namespace {

bool HasMax(const TitleButtonContext& c) { return (c.boxFlags & boxflag::kMaximize) != 0; }
bool HasMin(const TitleButtonContext& c) { return (c.boxFlags & boxflag::kMinimize) != 0; }
bool HasSysMenu(const TitleButtonContext& c) { return (c.boxFlags & boxflag::kSystemMenu) != 0; }

// The rules shared by both visibility values; `first` says which of the two differing rules apply.
bool VisibleBy(int value, bool first, int action, const TitleButtonContext& c) {
  switch (value) {
    case 0: return !first || action != 0 || HasSysMenu(c);
    case 1: return c.maximized;
    case 2: return !c.maximized;
    case 3: return c.active;
    case 4: return !c.active;
    case 6: return HasMax(c) && (!first || HasSysMenu(c));
    case 7: return !HasMax(c);
    case 8: return HasMin(c) && (!first || HasSysMenu(c));
    case 9: return !HasMin(c);
    case 100: return c.mdiChildMaximizedInMenuBar && c.menuBarHeight > 0;
    default: return value >= 200 && value <= 2000;
  }
}

}  // namespace

bool TitleButtonVisible(const TDataSkinSysButton& b, const TitleButtonContext& c) {
  const bool a = VisibleBy(b.Visibility, true, b.Action, c);
  const bool second = b.Visibility1 == 100 ? a : VisibleBy(b.Visibility1, false, b.Action, c);
  bool visible = a && second;
  if (b.Action == 1 && !HasMax(c)) visible = false;
  if (b.Action == 2 && !HasMin(c)) visible = false;
  if ((b.Action == 3 || b.Action == 11 || b.Action == 12) && c.kind == bkDialog) visible = false;
  return visible;
}

bool IsRightAligned(const TDataSkinSysButton& button) { return button.Align == 1; }

SkinRect TitleButtonRect(const TDataSkinSysButton& b, int cellWidth, int cellHeight, const TitleButtonContext& c) {
  if (cellWidth <= 0 || cellHeight <= 0) return {};
  // In 64 bits, and the whole cell kept: a button placed beyond int's range stays its own size.
  std::int64_t x = 0, y = 0;
  switch (b.Align) {
    case 0: x = b.Xcoord, y = b.Ycoord; break;
    case 1: x = std::int64_t{c.windowWidth} - b.Xcoord, y = b.Ycoord; break;
    case 2:
    case 8: x = std::int64_t{c.caption.left} - cellWidth - b.Xcoord, y = b.Ycoord; break;
    case 3:
    case 9: x = std::int64_t{c.caption.right} + b.Xcoord, y = b.Ycoord; break;
    case 100:
      y = (std::int64_t{c.menuBarHeight} - cellHeight) / 2 + c.metrics.top;
      x = c.rightToLeft ? std::int64_t{b.Xcoord} + c.menuBarLeftWidth + c.metrics.left
                        : std::int64_t{c.windowWidth} - b.Xcoord - c.metrics.right - c.menuBarLeftWidth;
      break;
    default: break;
  }
  x = std::clamp<std::int64_t>(x, INT_MIN, std::int64_t{INT_MAX} - cellWidth);
  y = std::clamp<std::int64_t>(y, INT_MIN, std::int64_t{INT_MAX} - cellHeight);
  return RectOfSize(static_cast<int>(x), static_cast<int>(y), cellWidth, cellHeight);
}

int TitleButtonCell(const TDataSkinSysButton& b, int state, bool active) {
  const int count = std::max(b.Frame, 1);
  if (state == kButtonPressed) return std::min(2, count);
  if (state == kButtonHot) return std::min(b.Visibility == 100 ? 4 : 3, count);
  return TitleButtonIdleCell(count, active);
}

int SkinnedHitTest(int defaultAnswer, int x, int y, int windowWidth, const FrameMetrics& m, int menuBarHeight) {
  if (defaultAnswer != hit::kNowhere && defaultAnswer != hit::kCaption) return defaultAnswer;
  // The outer rows keep the window procedure's answer.
  if (y <= 3) return defaultAnswer;
  if (y < m.top) return hit::kCaption;
  if (menuBarHeight > 0 && y < std::int64_t{m.top} + menuBarHeight && x >= m.left &&
      x < std::int64_t{windowWidth} - m.right) {
    return hit::kMenu;
  }
  return hit::kBorder;
}

}  // namespace qlt
