// The frame rules: border kinds, edge widths, caption styles taken and given back, caption and
// title-button layout, hit testing.
#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <tuple>

#include "skin/frame/FrameLayout.h"

namespace qlt {
namespace {

using namespace wsbits;

TEST(FrameRules, BorderKindFollowsStyleAndClass) {
  EXPECT_EQ(DecideBorderKind(kPopup | kBorder, u"TForm"), bkNone);             // caption-less popup
  EXPECT_EQ(DecideBorderKind(kPopup | kCaption | kThickFrame, u"T"), bkSizeable);
  EXPECT_EQ(DecideBorderKind(kCaption | kThickFrame, u"T"), bkSizeable);
  EXPECT_EQ(DecideBorderKind(kCaption | kModalFrame, u"T"), bkDialog);
  EXPECT_EQ(DecideBorderKind(kCaption, u"T"), bkSingle);
  // Message boxes and dialogs are dialogs whatever their style.
  EXPECT_EQ(DecideBorderKind(kCaption | kThickFrame, u"#32770"), bkDialog);
  EXPECT_EQ(DecideBorderKind(kPopup, u"TMessageForm"), bkDialog);
}

TEST(FrameRules, EdgeWidthsComeFromTheCellsOfEachEdge) {
  TSkinContent skin;
  skin.LeftBorder->Image = Bitmap24(22, 100);  // 2 cells side by side, 11 wide
  skin.LeftBorder->Frame = 2;
  skin.RightBorder->Image = Bitmap24(5, 100);
  skin.RightBorder->Frame = 0;  // a count the skin got wrong counts as one cell
  skin.TopBorder->Image = Bitmap24(300, 87);  // 3 cells stacked, 29 high
  skin.TopBorder->Frame = 3;
  const FrameMetrics m = ComputeFrameMetrics(skin, bkSizeable);  // bottom edge has no image
  EXPECT_EQ(m, (FrameMetrics{11, 29, 5, 0}));
  EXPECT_EQ(ComputeFrameMetrics(skin, bkNone), FrameMetrics{});
}

TEST(FrameRules, StylesComeBackExactlyAsTheyWere) {
  // A window without a system menu or boxes never gets them back.
  std::uint32_t removed = 0;
  const std::uint32_t plain = kCaption | kThickFrame;
  std::uint32_t s = StripFrameStyles(plain, false, removed);
  EXPECT_EQ(s, kThickFrame);
  s = StripFrameStyles(s, false, removed);  // stripped again (every WM_GETMINMAXINFO does)
  EXPECT_EQ(RestoreFrameStyles(s, removed), plain);
  EXPECT_EQ(removed, 0u);
  // An owned window keeps its caption and loses its boxes, and gets exactly those back.
  const std::uint32_t owned = kCaption | kSysMenu | kMinimizeBox;
  s = StripFrameStyles(owned, true, removed);
  EXPECT_EQ(s, kCaption);
  EXPECT_EQ(RestoreFrameStyles(s, removed), owned);
  EXPECT_EQ(BoxFlagsOf(kSysMenu | kMaximizeBox, false), boxflag::kSystemMenu | boxflag::kMaximize);
  EXPECT_EQ(BoxFlagsOf(kCaption, true), boxflag::kSystemMenu);
}

TEST(FrameRules, ClientAreaIsClampedAndSizesFitTheFrame) {
  const FrameMetrics m{11, 29, 5, 22};
  EXPECT_EQ(SkinnedClientRect({0, 0, 200, 150}, m, 18), (SkinRect{11, 47, 195, 128}));
  // Smaller than its frame: an empty client area, never an inverted one.
  const SkinRect tiny = SkinnedClientRect({0, 0, 10, 30}, m, 18);
  EXPECT_FALSE(tiny.Inverted());
  EXPECT_TRUE(tiny.Empty());
  EXPECT_EQ(MinimumFrameSize(m, 18).width, 16);
  EXPECT_EQ(MinimumFrameSize(m, 18).height, 69);
  EXPECT_EQ(WindowSizeForClient(371, 300, m, 0).width, 387);
  EXPECT_EQ(WindowSizeForClient(371, 300, m, 0).height, 351);
}

// Skin objects are not copied: the painters keep references to them.
TDataSkinTitle& TitleObject(int shift, int shiftVert, int rightClip, int alignment, int backLeft, int backRight) {
  static TDataSkinTitle t("Title");
  t.LeftWidth = shift, t.TopHeight = shiftVert, t.RightWidth = rightClip;
  t.TextAlignment = alignment, t.TextBackLeft = backLeft, t.TextBackRight = backRight;
  return t;
}

TEST(FrameRules, CaptionIsPlacedByAlignmentAndClipped) {
  CaptionInput in;
  in.title = {11, 0, 395, 29};  // width 384
  in.textWidth = 100, in.textHeight = 13;
  // Left: shifted, centred vertically with half the vertical shift (rounded toward zero).
  CaptionLayout c = LayOutCaption(TitleObject(30, -3, 47, 0, 0, 0), in);
  EXPECT_EQ(c.block, (SkinRect{41, 7, 141, 20}));
  // Centred with a text background: the block grows by its ends, the text sits inside them.
  c = LayOutCaption(TitleObject(0, 0, 10, 1, 6, 8), in);
  EXPECT_EQ(c.block.left, 11 + (384 - 114) / 2);
  EXPECT_EQ(c.text.left, c.block.left + 6);
  EXPECT_EQ(c.text.right, c.block.right - 8);
  // Wider than the title: starts left of it, still clipped on the right.
  in.textWidth = 500;
  c = LayOutCaption(TitleObject(0, 0, 10, 1, 0, 0), in);
  EXPECT_LT(c.block.left, in.title.left);
  EXPECT_EQ(c.block.right, 385);
  // Right-to-left windows are right-aligned whatever the skin says.
  in.textWidth = 100, in.rightToLeft = true;
  EXPECT_EQ(LayOutCaption(TitleObject(30, 0, 47, 0, 0, 0), in).block.right, 395 - 47);
  // A popup is clipped 5 pixels before the leftmost right-aligned button; a dialog has no icon.
  in.rightToLeft = false, in.popupStyle = true, in.buttonsLeft = 120;
  EXPECT_EQ(LayOutCaption(TitleObject(30, 0, 47, 0, 0, 0), in).block.right, 115);
  in.popupStyle = false, in.dialog = true;
  EXPECT_EQ(LayOutCaption(TitleObject(30, 0, 47, 0, 0, 0), in).block.left, 41 - 16);
  // A text background end at int's limit (an object no reader clamped): no overflow, no text room.
  in.dialog = false;
  c = LayOutCaption(TitleObject(0, 0, 0, 0, INT_MAX, 0), in);
  EXPECT_EQ(c.block.right, 395);
  EXPECT_TRUE(c.text.Empty());
}

std::unique_ptr<TDataSkinSysButton> NewButton(int action, int align, int x, int y, int visibility, int visibility1 = 0,
                                              int frames = 3) {
  auto b = std::make_unique<TDataSkinSysButton>("B");
  b->Action = action, b->Align = align, b->Xcoord = x, b->Ycoord = y;
  b->Visibility = visibility, b->Visibility1 = visibility1, b->Frame = frames;
  return b;
}

TEST(FrameRules, TitleButtonsShowByTheirRulesAndTheWindowsBoxes) {
  TitleButtonContext c;
  c.boxFlags = boxflag::kSystemMenu | boxflag::kMinimize;
  // Maximise needs a maximise box, whatever its visibility says; minimise shows.
  EXPECT_FALSE(TitleButtonVisible(*NewButton(1, 1, 32, 1, 0), c));
  EXPECT_TRUE(TitleButtonVisible(*NewButton(2, 1, 47, 1, 0), c));
  // Close (action 0) needs a system menu.
  EXPECT_TRUE(TitleButtonVisible(*NewButton(0, 1, 17, 1, 0), c));
  c.boxFlags = 0;
  EXPECT_FALSE(TitleButtonVisible(*NewButton(0, 1, 17, 1, 0), c));
  // Restore-only (1) and not-maximised (2) buttons, active (3) and inactive (4) windows.
  c.boxFlags = boxflag::kSystemMenu | boxflag::kMaximize;
  c.maximized = true;
  EXPECT_TRUE(TitleButtonVisible(*NewButton(5, 1, 60, 1, 1, 1), c));
  EXPECT_FALSE(TitleButtonVisible(*NewButton(5, 1, 60, 1, 2), c));
  c.active = false;
  EXPECT_TRUE(TitleButtonVisible(*NewButton(5, 1, 60, 1, 4, 4), c));
  EXPECT_FALSE(TitleButtonVisible(*NewButton(5, 1, 60, 1, 0, 3), c));
  EXPECT_TRUE(TitleButtonVisible(*NewButton(5, 1, 60, 1, 200, 2000), c));
  EXPECT_FALSE(TitleButtonVisible(*NewButton(5, 1, 60, 1, 12), c));
  // Dialogs have no icon button; MDI buttons only while a maximised child sits in the menu bar.
  c.kind = bkDialog;
  EXPECT_FALSE(TitleButtonVisible(*NewButton(3, 0, 4, 4, 0), c));
  c.kind = bkSingle;
  EXPECT_TRUE(TitleButtonVisible(*NewButton(3, 0, 4, 4, 0), c));
  EXPECT_FALSE(TitleButtonVisible(*NewButton(7, 100, 40, 0, 100, 100), c));
  c.mdiChildMaximizedInMenuBar = true;
  EXPECT_FALSE(TitleButtonVisible(*NewButton(7, 100, 40, 0, 100, 100), c));  // no menu bar
  c.menuBarHeight = 18;
  EXPECT_TRUE(TitleButtonVisible(*NewButton(7, 100, 40, 0, 100, 100), c));
}

TEST(FrameRules, TitleButtonsArePlacedByAlignment) {
  TitleButtonContext c;
  c.windowWidth = 400;
  c.metrics = {11, 29, 5, 22};
  c.caption = {41, 7, 141, 20};
  c.menuBarHeight = 18;
  c.menuBarLeftWidth = 4;
  EXPECT_EQ(TitleButtonRect(*NewButton(0, 0, 4, 5, 0), 16, 14, c), RectOfSize(4, 5, 16, 14));
  EXPECT_EQ(TitleButtonRect(*NewButton(0, 1, 17, 1, 0), 16, 14, c), RectOfSize(383, 1, 16, 14));
  EXPECT_EQ(TitleButtonRect(*NewButton(0, 2, 3, 1, 0), 16, 14, c), RectOfSize(41 - 16 - 3, 1, 16, 14));
  EXPECT_EQ(TitleButtonRect(*NewButton(0, 9, 3, 1, 0), 16, 14, c), RectOfSize(144, 1, 16, 14));
  EXPECT_EQ(TitleButtonRect(*NewButton(7, 100, 40, 0, 100), 16, 14, c), RectOfSize(400 - 40 - 5 - 4, 29 + 2, 16, 14));
  c.rightToLeft = true;
  EXPECT_EQ(TitleButtonRect(*NewButton(7, 100, 40, 0, 100), 16, 14, c).left, 40 + 4 + 11);
  EXPECT_TRUE(TitleButtonRect(*NewButton(0, 1, 17, 1, 0), 0, 14, c).Empty());  // no image
  // Places beyond int's range (objects no reader clamped) keep the cell's size.
  for (auto [align, x, y] : {std::tuple{0, 4, INT_MAX}, {1, INT_MIN, 1}, {9, INT_MAX, INT_MIN}, {100, INT_MIN, 0}}) {
    const SkinRect r = TitleButtonRect(*NewButton(0, align, x, y, 100), 16, 14, c);
    EXPECT_EQ(std::make_pair(r.Width(), r.Height()), std::make_pair(16, 14)) << align;
  }
}

TEST(FrameRules, TitleButtonCellsFollowTheStateWithinTheirCount) {
  const auto sixCells = NewButton(0, 1, 17, 1, 0, 0, 6), threeCells = NewButton(0, 1, 17, 1, 0, 0, 3);
  const auto mdiButton = NewButton(7, 100, 40, 0, 100, 100, 4), oneCell = NewButton(3, 0, 4, 4, 0, 0, 1);
  const TDataSkinSysButton &six = *sixCells, &three = *threeCells, &mdi = *mdiButton, &one = *oneCell;
  EXPECT_EQ(TitleButtonCell(six, kButtonNormal, true), 1);
  EXPECT_EQ(TitleButtonCell(six, kButtonNormal, false), 4);
  EXPECT_EQ(TitleButtonCell(three, kButtonNormal, false), 1);
  EXPECT_EQ(TitleButtonCell(six, kButtonPressed, true), 2);
  EXPECT_EQ(TitleButtonCell(six, kButtonHot, true), 3);
  EXPECT_EQ(TitleButtonCell(mdi, kButtonHot, true), 4);
  EXPECT_EQ(TitleButtonCell(one, kButtonHot, true), 1);  // clamped to the one cell it has
}

TEST(FrameRules, HitTestGivesCaptionMenuAndBorderOnlyWhereTheyAre) {
  const FrameMetrics m{11, 29, 5, 22};
  // The window procedure's sizing and client answers stand.
  EXPECT_EQ(SkinnedHitTest(hit::kClient, 50, 60, 400, m, 18), hit::kClient);
  EXPECT_EQ(SkinnedHitTest(13 /* HTTOP */, 50, 1, 400, m, 18), 13);
  // Top rows keep the answer; the title drags; the menu band is the menu.
  EXPECT_EQ(SkinnedHitTest(hit::kNowhere, 50, 3, 400, m, 18), hit::kNowhere);
  EXPECT_EQ(SkinnedHitTest(hit::kNowhere, 50, 4, 400, m, 18), hit::kCaption);
  EXPECT_EQ(SkinnedHitTest(hit::kNowhere, 2, 28, 400, m, 18), hit::kCaption);
  EXPECT_EQ(SkinnedHitTest(hit::kNowhere, 50, 29, 400, m, 18), hit::kMenu);
  EXPECT_EQ(SkinnedHitTest(hit::kCaption, 394, 46, 400, m, 18), hit::kMenu);
  // Side and bottom edges, and the menu band's ends over the edges, are border.
  EXPECT_EQ(SkinnedHitTest(hit::kNowhere, 5, 35, 400, m, 18), hit::kBorder);
  EXPECT_EQ(SkinnedHitTest(hit::kNowhere, 397, 100, 400, m, 18), hit::kBorder);
  EXPECT_EQ(SkinnedHitTest(hit::kNowhere, 200, 290, 400, m, 0), hit::kBorder);
  EXPECT_EQ(SkinnedHitTest(hit::kNowhere, 50, 30, 400, m, 0), hit::kBorder);
}

}  // namespace
}  // namespace qlt
