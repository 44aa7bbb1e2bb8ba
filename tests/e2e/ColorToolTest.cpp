// The colour tool of the running QLT.exe, whose controls lie outside the window's visible area:
// six hexadecimal digits RRGGBB become the main window's background and its colour name; a text
// that is no colour is reported with the framework's conversion message and changes nothing. Until
// then the window has the skin's face colour.
#include <gtest/gtest.h>

#include "tests/e2e/Desktop.h"
#include "tests/e2e/QltData.h"
#include "tests/e2e/QltProcess.h"

namespace qlt::e2e {
namespace {

class ColorTool : public ::testing::Test {
 protected:
  void SetUp() override {
    qlt_.Start();
    main_ = qlt_.WaitForTopLevelWindow(L"TFrm_Main");
    ASSERT_NE(main_, nullptr);
    ASSERT_TRUE(ChooseFromTrayMenu(main_, qlt_.Id(), kTrayMenuShowHideItem));
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(main_); }));
    for (HWND edit : Descendants(main_, L"TEdit")) {
      const RECT r = RectInParent(edit);
      if (r.left == 530 && r.top == 85) input_ = edit;
      if (r.left == 530 && r.top == 115) output_ = edit;
    }
    button_ = FindDescendant(main_, L"TButton", L"得到颜色");
    ASSERT_TRUE(input_ && output_ && button_) << "Edt_Color, Edt_Color1 and Btn_Color";
  }

  // Types the text and presses the button (it cannot be reached by the pointer).
  void Convert(const std::wstring& text) {
    SendMessageW(input_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    PostMessageW(button_, BM_CLICK, 0, 0);
  }
  // The colour of the window's background on the screen, where no control covers it.
  COLORREF Background() const {
    POINT at{365, 150};
    ClientToScreen(main_, &at);
    return ScreenGrab(RECT{at.x, at.y, at.x + 1, at.y + 1}).Pixel(0, 0);
  }
  // Repaints the window and waits until its background shows `expected`; the colour last seen.
  COLORREF BackgroundAfterRepaint(COLORREF expected) const {
    RedrawWindow(main_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    WaitUntil([&] { return Background() == expected; }, 3s);
    return Background();
  }

  ScratchFolder folder_;
  QltProcess qlt_{folder_};
  HWND main_ = nullptr, input_ = nullptr, output_ = nullptr, button_ = nullptr;
};

TEST_F(ColorTool, SixHexDigitsBecomeTheWindowColourAndItsName) {
  // The skinned window is painted in the skin's face colour, not the system's.
  const COLORREF face = ScreenColourOf(DefaultSkin().ButtonFaceColour);
  EXPECT_NE(face, GetSysColor(COLOR_BTNFACE)) << "the default skin has a face colour of its own";
  EXPECT_EQ(BackgroundAfterRepaint(face), face);
  Convert(L"00FF80");
  ASSERT_TRUE(WaitUntil([&] { return ControlText(output_) == L"$0080FF00"; })) << ControlText(output_);
  EXPECT_EQ(BackgroundAfterRepaint(8453888), static_cast<COLORREF>(8453888)) << "red 0, green 255, blue 128";
  SaveScreenshot(L"colour-tool-00FF80");

  Convert(L"  FF0000 ");  // blanks around it do not count; a framework colour shows by its name
  ASSERT_TRUE(WaitUntil([&] { return ControlText(output_) == L"clRed"; })) << ControlText(output_);
  EXPECT_EQ(BackgroundAfterRepaint(RGB(255, 0, 0)), RGB(255, 0, 0));
}

TEST_F(ColorTool, NoColourIsReportedAndChangesNothing) {
  Convert(L"00FF80");
  ASSERT_TRUE(WaitUntil([&] { return ControlText(output_) == L"$0080FF00"; }));

  for (const auto& [text, message] : {std::pair{L"00GG80", L"'$GG' is not a valid integer value."},
                                      std::pair{L"00FF", L"'$' is not a valid integer value."}}) {
    Convert(text);
    HWND box = WaitForMessageBox(qlt_.Id());
    ASSERT_NE(box, nullptr) << "no message for " << ControlText(input_).size();
    EXPECT_EQ(MessageBoxText(box), message);
    PressOk(box);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }));
    EXPECT_EQ(ControlText(output_), L"$0080FF00");
    EXPECT_EQ(BackgroundAfterRepaint(8453888), static_cast<COLORREF>(8453888));
  }

  Convert(L"   ");  // nothing typed: nothing happens
  EXPECT_EQ(WaitForMessageBox(qlt_.Id(), 500ms), nullptr);
  EXPECT_EQ(ControlText(output_), L"$0080FF00");
}

}  // namespace
}  // namespace qlt::e2e
