// QLT.exe's menus drawn from its skin, as a user sees and uses them: the tray icon's left button
// opens the tray menu framed and filled by the skin (border, background with its left band, item
// cells, the separator; the hidden items take no room), the item under the real mouse shows the
// selected cell, the keyboard chooses "显示窗口"; the skinned system menu of the main window shows
// the skin's glyphs and its Close ends the program. Every expected pixel comes from the skin file
// the build embedded in QLT.exe.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <optional>

#include "skin/controls/SkinManager.h"
#include "skin/menus/MenuItemLayout.h"
#include "tests/e2e/Desktop.h"
#include "tests/e2e/QltSession.h"
#include "tests/win/MenuTestSupport.h"

namespace qlt::e2e {
namespace {

using test::ShownItem;

// The framework measures a separator 8 pixels high; the skin keeps the items' heights.
constexpr int kSeparatorHeight = 8;

SIZE SizeOf(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return {r.right - r.left, r.bottom - r.top};
}

POINT Origin(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return {r.left, r.top};
}

POINT CentreOf(HWND window, const RECT& r) {
  const POINT o = Origin(window);
  return {o.x + (r.left + r.right) / 2, o.y + (r.top + r.bottom) / 2};
}

// A popup's items laid out from its size: text items of one height with separators (by position)
// between them. Nothing when the size does not divide into that many items.
std::optional<std::vector<ShownItem>> Layout(SIZE size, int texts, std::vector<int> separators) {
  const int rows = size.cy - 2 * kPopupBorder - kSeparatorHeight * static_cast<int>(separators.size());
  if (rows <= 0 || rows % texts != 0) return std::nullopt;
  std::vector<ShownItem> items;
  int y = kPopupBorder;
  for (int i = 0; i < texts + static_cast<int>(separators.size()); ++i) {
    const bool line = std::find(separators.begin(), separators.end(), i) != separators.end();
    const int h = line ? kSeparatorHeight : rows / texts;
    items.push_back({RECT{kPopupBorder, y, size.cx - kPopupBorder, y + h}, line, false});
    y += h;
  }
  return items;
}

// Whether a caption in this colour shows in the rectangle (window coordinates). Small captions are
// anti-aliased, and a short one may have no pixel of exactly its colour: the darkest strokes come
// close.
bool CaptionIn(const ScreenGrab& grab, POINT origin, const RECT& room, COLORREF colour) {
  for (int y = room.top; y < room.bottom; ++y) {
    for (int x = room.left; x < room.right; ++x) {
      const COLORREF c = grab.PixelAt({origin.x + x, origin.y + y});
      const int d = std::max({std::abs(GetRValue(c) - GetRValue(colour)), std::abs(GetGValue(c) - GetGValue(colour)),
                              std::abs(GetBValue(c) - GetBValue(colour))});
      if (d <= 72) return true;
    }
  }
  return false;
}

class SkinnedMenus : public ::testing::Test {
 protected:
  void SetUp() override {
    skin_ = test::SkinOfFile(test::Utf8ToWide(std::string(QLT_SKIN_BUILD_DIR) + "/QLTSkin.skin"));
    ASSERT_TRUE(skin_ && skin_->MenuItem && skin_->MenuBackground);
    ASSERT_NE(session_.Main(), nullptr) << "QLT started";
    ASSERT_TRUE(WaitUntil([&] { return TrayIconPresent(session_.Main()); }));
  }

  // What the skin shows of a popup with these items, compared with the screen until they agree
  // (Wine shows a paint a moment later); the last mismatches otherwise. Each text item also shows
  // its caption in the colour of its state.
  std::vector<std::string> ShowsTheSkin(HWND menu, const std::vector<ShownItem>& items, bool glyphs = false,
                                        int disabled = -1) {
    std::vector<std::string> last;
    WaitUntil(
        [&] {
          std::vector<test::MenuEntry> entries;
          int selected = -1;
          for (const ShownItem& item : items) {
            if (item.selected) selected = static_cast<int>(entries.size());
            entries.push_back({item.rect, true, item.separator, glyphs && !item.separator, false});
          }
          last = test::MenuWindowMismatches(*skin_, menu, entries, selected);
          const ScreenGrab grab = ScreenGrab::OfWindow(menu);
          for (int i = 0; i < static_cast<int>(items.size()); ++i) {
            const ShownItem& item = items[static_cast<size_t>(i)];
            const TColor text = i == disabled ? skin_->ButtonShadowColour
                                              : item.selected ? skin_->HilightTextColour : skin_->MenuTextColour;
            if (!item.separator && !CaptionIn(grab, Origin(menu), test::CaptionRoom(*skin_, item.rect), test::ColourOf(text))) {
              last.push_back("no caption in its colour at row " + std::to_string(item.rect.top));
            }
          }
          return last.empty();
        },
        5s);
    return last;
  }

  HWND OpenTrayMenu() {
    ClickTrayIcon();
    return WaitForPopupMenu(session_.Process().Id());
  }

  std::unique_ptr<TSkinContent> skin_;
  QltSession session_{IniText({}), ""};  // started
};

TEST_F(SkinnedMenus, TrayMenuIsDrawnFromTheSkinFollowsTheMouseAndItsKeysChoose) {
  const HWND main = session_.Main();
  HWND menu = OpenTrayMenu();
  ASSERT_NE(menu, nullptr) << "a click on the tray icon opens the tray menu";
  DWORD_PTR answer = 0;
  ASSERT_TRUE(SendMessageTimeoutW(menu, WM_SKIN_QUERY, 0, 0, SMTO_ABORTIFHUNG, 2000, &answer));
  EXPECT_EQ(answer, 1u) << "the tray menu's window is skinned";

  // Four items of one height and the separator: "Kelmi助手" and "Sorvek集成搜索" are hidden.
  MoveMouseTo(POINT{Origin(menu).x + 1, Origin(menu).y + 1});  // on the border: no item selected
  auto items = Layout(SizeOf(menu), 4, {2});
  ASSERT_TRUE(items) << "the menu's height is four items and a separator";
  std::vector<std::string> mismatches = ShowsTheSkin(menu, *items);
  EXPECT_TRUE(mismatches.empty()) << ::testing::PrintToString(mismatches);
  SaveScreenshot(L"skinned-tray-menu");

  // The item under the real mouse is drawn selected; the one it left goes back.
  for (const int hot : {3, 0}) {
    for (ShownItem& item : *items) item.selected = &item == &(*items)[static_cast<size_t>(hot)];
    MoveMouseTo(CentreOf(menu, (*items)[static_cast<size_t>(hot)].rect));
    mismatches = ShowsTheSkin(menu, *items);
    EXPECT_TRUE(mismatches.empty()) << "item " << hot << " hot: " << ::testing::PrintToString(mismatches);
    if (hot == 3) SaveScreenshot(L"skinned-tray-menu-hot");
  }
  test::PressKey(VK_ESCAPE);
  ASSERT_TRUE(WaitUntil([&] { return VisiblePopupMenu(session_.Process().Id()) == nullptr; }));

  // Down to the last item, up to "显示窗口", Enter: the main window shows.
  menu = OpenTrayMenu();
  ASSERT_NE(menu, nullptr);
  MoveMouseTo(POINT{Origin(menu).x + 1, Origin(menu).y + 1});
  for (WORD key : {VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_UP, VK_RETURN}) test::PressKey(key);
  EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(main) != FALSE; })) << "显示窗口 ran";
}

TEST_F(SkinnedMenus, SystemMenuShowsTheSkinsGlyphsAndItsCloseEndsTheProgram) {
  ASSERT_TRUE(session_.ShowMainWindow());
  const HWND main = session_.Main();
  const std::optional<Bitmap24> glyphs = test::SystemMenuGlyphs();
  ASSERT_TRUE(glyphs && !glyphs->Empty());
  // A right click on the caption, away from the title buttons.
  const int title = skin_->TopBorder->Image.Height() / std::max(skin_->TopBorder->Frame, 1);
  ClickAt(POINT{Origin(main).x + SizeOf(main).cx / 3, Origin(main).y + title / 2}, test::MouseButton::Right);
  const HWND menu = WaitForPopupMenu(session_.Process().Id());
  ASSERT_NE(menu, nullptr) << "the skinned system menu opens";
  MoveMouseTo(POINT{Origin(menu).x + 1, Origin(menu).y + 1});

  // The window has only a close box: Restore (disabled), a line, Close.
  const auto items = Layout(SizeOf(menu), 2, {1});
  ASSERT_TRUE(items) << "the menu's height is two items and a separator";
  const std::vector<std::string> mismatches = ShowsTheSkin(menu, *items, true, 0);
  EXPECT_TRUE(mismatches.empty()) << ::testing::PrintToString(mismatches);
  const RECT close = (*items)[2].rect;
  const POINT glyph{close.left + 1 + skin_->MenuItem->LeftWidth, close.top + 1};
  std::vector<std::string> glyphMismatches;
  WaitUntil([&] {
    glyphMismatches = test::GlyphMismatches(ScreenGrab::OfWindow(menu), Origin(menu), *glyphs, 3, glyph);
    return glyphMismatches.empty();
  }, 3s);
  EXPECT_TRUE(glyphMismatches.empty()) << "the Close glyph: " << ::testing::PrintToString(glyphMismatches);
  SaveScreenshot(L"skinned-system-menu");

  // A click the loaded desktop drops leaves the menu open: it is clicked again.
  for (int tries = 0; tries < 3; ++tries) {
    ClickAt(CentreOf(menu, close));
    if (WaitUntil([&] { return !IsWindow(menu) || !IsWindowVisible(menu); }, 3s)) break;
  }
  const auto exitCode = session_.Process().WaitForExit();
  ASSERT_TRUE(exitCode.has_value()) << "Close ends QLT";
  EXPECT_EQ(*exitCode, 0u);
}

}  // namespace
}  // namespace qlt::e2e
