// QLT's spin edits and its hotkey dialog's combo box painted from the skin QLT.exe carries, read
// back from the screen and compared with what the build's skin composes: the up-down halves hot,
// pressed and disabled while they still step the value and write it to QLT.ini, the edits' flat
// border, and the combo box's button in each state with its list opening and a key chosen.
#include <gtest/gtest.h>

#include "skin/controls/EditLayout.h"
#include "tests/e2e/Desktop.h"
#include "tests/e2e/QltData.h"
#include "tests/e2e/QltSession.h"
#include "tests/win/SkinOnScreen.h"

namespace qlt::e2e {
namespace {

using test::ClassNameOf;
using test::SendMouseInput;

constexpr POINT kLabKey{177, 264};  // the main window's hotkey label: a click opens the dialog
constexpr POINT kAway{900, 640};    // the desktop, beside QLT's windows

HWND FirstDescendant(HWND root, const wchar_t* className) {
  const auto found = Descendants(root, className);
  return found.empty() ? nullptr : found.front();
}

class SkinnedEdits : public ::testing::Test {
 protected:
  // Waits until the window shows `want` (the text area of a combo box left out).
  ::testing::AssertionResult Shows(HWND h, const std::function<PixelBuffer()>& want, const SkinRect& skip,
                                   const wchar_t* name) {
    int bad = -1;
    if (WaitUntil([&] { return (bad = test::PixelMismatches(ScreenGrab::OfWindow(h), want(), skip)) == 0; }, 3s)) {
      return ::testing::AssertionSuccess();
    }
    SaveScreenshot(std::wstring(L"skin-edits-failed-") + name);
    return ::testing::AssertionFailure() << bad << " pixels differ";
  }
  ::testing::AssertionResult UpDownShows(HWND h, int first, int second, const wchar_t* name) {
    RECT r{};
    GetClientRect(h, &r);
    return Shows(h, [&] { return test::ExpectedUpDown(skin_, r.right, r.bottom, false, true, first, second); }, {}, name);
  }
  ::testing::AssertionResult ComboShows(HWND h, int look, const wchar_t* name) {
    RECT r{};
    GetWindowRect(h, &r);
    ComboLayout layout;
    test::ExpectedCombo(skin_, r.right - r.left, r.bottom - r.top, look, false, layout);
    // The control's own item area may reach nearer the button than the layout's text area.
    return Shows(h, [&] { return test::ExpectedCombo(skin_, r.right - r.left, r.bottom - r.top, look, false, layout); },
                 ComboTextArea(layout, test::ComboItemArea(h)), name);
  }
  static POINT HalfCentre(HWND h, bool second) { return test::UpDownHalfCentre(h, false, true, second); }

  const TSkinContent& skin_ = DefaultSkin();
};

TEST_F(SkinnedEdits, SpinHalvesShowHotPressedAndDisabledAndStillStepTheValueIntoQltIni) {
  QltSession qlt(IniText({{"Num", "200"}, {"Time", "30"}}), "");
  ASSERT_TRUE(qlt.ShowMainWindow());
  ASSERT_TRUE(qlt.ChooseMode(L"透明"));
  HWND alpha = Descendants(qlt.Main(), L"TSpinEdit").at(0);
  HWND minute = Descendants(qlt.Main(), L"TSpinEdit").at(1);
  HWND button = FirstDescendant(alpha, L"TSpinButton");
  ASSERT_TRUE(button);
  EXPECT_TRUE(UpDownShows(button, kLookNormal, kLookNormal, L"alpha"));

  MoveMouseTo(HalfCentre(button, false));
  EXPECT_TRUE(UpDownShows(button, kLookHot, kLookNormal, L"alpha-up-hot"));
  SendMouseInput(MOUSEEVENTF_LEFTDOWN, HalfCentre(button, true));
  EXPECT_TRUE(UpDownShows(button, kLookNormal, kLookPressed, L"alpha-down-pressed"));
  SaveScreenshot(L"skin-edits-spin-pressed");
  SendMouseInput(MOUSEEVENTF_LEFTUP, HalfCentre(button, true));
  EXPECT_TRUE(WaitUntil([&] { return qlt.Setting(L"Num") == L"199"; }, 3s)) << "stepped down and stored";
  ClickAt(HalfCentre(button, false));
  ClickAt(HalfCentre(button, false));
  EXPECT_TRUE(WaitUntil([&] { return qlt.Setting(L"Num") == L"201"; }, 3s)) << "stepped up twice and stored";
  EXPECT_EQ(ControlText(alpha), L"201");

  // The reminder's minute the same way.
  HWND minuteButton = FirstDescendant(minute, L"TSpinButton");
  ASSERT_TRUE(minuteButton);
  ClickAt(HalfCentre(minuteButton, false));
  EXPECT_TRUE(WaitUntil([&] { return qlt.Setting(L"Time") == L"31"; }, 3s));

  // Disabled: both halves disabled, and a click steps nothing.
  MoveMouseTo(kAway);
  EnableWindow(alpha, FALSE);
  EXPECT_TRUE(UpDownShows(button, kLookDisabled, kLookDisabled, L"alpha-disabled"));
  ClickAt(HalfCentre(button, false));
  Sleep(200);
  EXPECT_EQ(qlt.Setting(L"Num"), L"201");
  EnableWindow(alpha, TRUE);
  EXPECT_TRUE(UpDownShows(button, kLookNormal, kLookNormal, L"alpha-enabled"));
  SaveScreenshot(L"skin-edits-main-page2");
  PostMessageW(qlt.Main(), WM_CLOSE, 0, 0);
  qlt.Process().WaitForExit();
}

TEST_F(SkinnedEdits, TheHotkeyDialogsComboButtonInEachStateOpensItsListAndChoosesAKey) {
  QltSession qlt(IniText({{"Hotkey", "CTRL+ALT+Z"}}), "");
  ASSERT_TRUE(qlt.ShowMainWindow());
  ClickAt(qlt.OnScreen(kLabKey));
  HWND dialog = nullptr;
  ASSERT_TRUE(WaitUntil([&] {
    for (HWND w : qlt.Process().TopLevelWindows()) {
      if (ClassNameOf(w) == L"TFrm_HotKey" && IsWindowVisible(w)) dialog = w;
    }
    return dialog != nullptr;
  }));
  HWND combo = FirstDescendant(dialog, L"TComboBox");
  ASSERT_TRUE(combo);
  // The dialog's edit boxes: none; its combo box without the focus shows the normal look.
  MoveMouseTo(kAway);
  ClickAt(CentreOf(FindDescendant(dialog, L"TCheckBox", L"Win")));
  EXPECT_TRUE(ComboShows(combo, kLookNormal, L"hotkey-combo"));
  RECT wr{};
  GetWindowRect(combo, &wr);
  const ComboLayout layout = LayOutCombo(wr.right - wr.left, wr.bottom - wr.top, GetSystemMetrics(SM_CXHSCROLL), false);
  const POINT button{wr.left + (layout.button.left + layout.button.right) / 2, (wr.top + wr.bottom) / 2};
  MoveMouseTo(button);
  EXPECT_TRUE(ComboShows(combo, kLookHot, L"hotkey-combo-hot"));
  SendMouseInput(MOUSEEVENTF_LEFTDOWN, button);
  EXPECT_TRUE(ComboShows(combo, kLookPressed, L"hotkey-combo-pressed"));
  SendMouseInput(MOUSEEVENTF_LEFTUP, button);
  ASSERT_TRUE(WaitUntil([&] { return SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0) != 0; }, 3s));
  SaveScreenshot(L"skin-edits-hotkey-list");
  COMBOBOXINFO info{};
  ASSERT_TRUE(test::ComboInfoOf(combo, info));
  // The list opens scrolled to the key shown: another row it shows, clicked where it is.
  const int row = test::ShownListRow(info.hwndList, static_cast<int>(SendMessageW(combo, CB_GETCURSEL, 0, 0)));
  ASSERT_GE(row, 0);
  wchar_t item[32] = {};
  ASSERT_GT(SendMessageW(combo, CB_GETLBTEXT, row, reinterpret_cast<LPARAM>(item)), 0);
  ASSERT_NE(std::wstring(item), L"Z");
  ClickAt(test::ShownListRowCentre(info.hwndList, row));
  EXPECT_TRUE(WaitUntil([&] { return SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0) == 0; }, 3s));
  EXPECT_EQ(ControlText(combo), std::wstring(item));
  MoveMouseTo(kAway);
  EnableWindow(combo, FALSE);
  EXPECT_TRUE(ComboShows(combo, kLookDisabled, L"hotkey-combo-disabled"));
  EnableWindow(combo, TRUE);
  SaveScreenshot(L"skin-edits-hotkey");
  PostMessageW(dialog, WM_CLOSE, 0, 0);
  PostMessageW(qlt.Main(), WM_CLOSE, 0, 0);
  qlt.Process().WaitForExit();
}

TEST_F(SkinnedEdits, TheIpDnsDialogsEditBoxesHaveTheFlatBorder) {
  QltSession qlt("", "");
  ASSERT_TRUE(ChooseFromTrayMenu(qlt.Main(), qlt.Process().Id(), kTrayMenuIpItem));
  HWND dialog = qlt.Process().WaitForTopLevelWindow(L"TFrm_IPDNS");
  ASSERT_TRUE(dialog);
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(dialog) != FALSE; }));
  const auto edits = Descendants(dialog, L"TEdit");
  ASSERT_EQ(edits.size(), 6u);
  for (HWND e : edits) EXPECT_EQ(test::FlatBorderFault(e, skin_), "");
  SaveScreenshot(L"skin-edits-ipdns");
  PostMessageW(qlt.Main(), WM_CLOSE, 0, 0);
  qlt.Process().WaitForExit();
}

}  // namespace
}  // namespace qlt::e2e
