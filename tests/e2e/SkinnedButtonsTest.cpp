// QLT's own push buttons painted from the skin QLT.exe carries (the IP/DNS dialog's: the main
// window's lie outside its visible area), each cell read back from the screen and compared with
// the skin the build embeds (its "Buttons" image and face colour), under the real mouse: hot,
// pressed, a press let go off the button doing nothing, and a click still reaching it.
#include <gtest/gtest.h>

#include "skin/controls/ControlLayout.h"
#include "skin/data/SkinReader.h"
#include "skin/data/WinSkinData.h"
#include "tests/e2e/Desktop.h"
#include "tests/e2e/QltProcess.h"
#include "tests/win/SkinOnScreen.h"

namespace qlt::e2e {
namespace {

constexpr POINT kAway{900, 640};  // the desktop, beside QLT's windows

class SkinnedButtons : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string packed = test::ReadFileBytes(test::Utf8ToWide(std::string(QLT_SKIN_BUILD_DIR) + "/QLTSkin.skin"));
    TSkinReader reader;
    ASSERT_TRUE(reader.LoadPacked(ByteView(reinterpret_cast<const std::uint8_t*>(packed.data()), packed.size())));
    skin_.BuildSkin(reader);
    ASSERT_TRUE(skin_.Buttons && !skin_.Buttons->Image.Empty());
    face_ = SkinColourToRgb(skin_.ButtonFaceColour, GetSysColor(COLOR_BTNFACE));
    qlt_.Start();
    main_ = qlt_.WaitForTopLevelWindow(L"TFrm_Main");
    ASSERT_NE(main_, nullptr);
  }
  // The cell a button shows once Wine has put it on the screen; the cell last seen.
  int WaitForCell(HWND button, int cell) {
    int seen = 0;
    WaitUntil([&] {
      RECT r{};
      GetWindowRect(button, &r);
      return (seen = test::ButtonCellOnScreen(ScreenGrab(r), *skin_.Buttons, face_)) == cell;
    }, 3s);
    return seen;
  }
  static POINT Below(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return POINT{(r.left + r.right) / 2, r.bottom + 30};
  }

  TSkinContent skin_;
  COLORREF face_ = 0;
  ScratchFolder folder_;
  QltProcess qlt_{folder_};
  HWND main_ = nullptr;
};

TEST_F(SkinnedButtons, TheIpDnsDialogsButtonsAreSkinnedAndClickable) {
  ASSERT_TRUE(ChooseFromTrayMenu(main_, qlt_.Id(), kTrayMenuIpItem));
  HWND dialog = qlt_.WaitForTopLevelWindow(L"TFrm_IPDNS");
  ASSERT_NE(dialog, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(dialog); }));
  HWND first = FindDescendant(dialog, L"TButton", L"使用第一个地址");
  ASSERT_NE(first, nullptr);
  HWND second = FindDescendant(dialog, L"TButton", L"使用第二个地址");
  ASSERT_NE(second, nullptr);
  test::PumpFor(300ms);  // fitted to the skin's frame
  EXPECT_EQ(WaitForCell(second, kButtonCellNormal), kButtonCellNormal);
  MoveMouseTo(CentreOf(first));
  EXPECT_EQ(WaitForCell(first, kButtonCellHot), kButtonCellHot);
  SaveScreenshot(L"skinned-buttons-ipdns-dialog");
  test::SendMouseInput(MOUSEEVENTF_LEFTDOWN, CentreOf(first));
  EXPECT_EQ(WaitForCell(first, kButtonCellPressed), kButtonCellPressed);
  MoveMouseTo(Below(first));
  test::SendMouseInput(MOUSEEVENTF_LEFTUP, Below(first));
  EXPECT_EQ(WaitForMessageBox(qlt_.Id(), 500ms), nullptr) << "a press let go off the button clicked it";
  MoveMouseTo(kAway);
  // Empty boxes: the click is answered with the message that names the field.
  ClickAt(CentreOf(first));
  HWND box = WaitForMessageBox(qlt_.Id());
  ASSERT_NE(box, nullptr) << "the click did not reach the button";
  PressOk(box);
}

}  // namespace
}  // namespace qlt::e2e
