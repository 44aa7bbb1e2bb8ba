// The hourly reminder of the running QLT.exe: the real timer and handler, with QLT's clock put just
// before the chosen minute by the probe (QltProbe.h). The message box appears once in the hour,
// also when the timer sees second 0 again; with "关闭显示器" chosen the main window's procedure
// gets SC_MONITORPOWER with level 1 instead; a minute beyond 59 never fires.
#include <gtest/gtest.h>

#include "tests/e2e/Desktop.h"
#include "tests/e2e/QltProbe.h"
#include "tests/e2e/QltProcess.h"

namespace qlt::e2e {
namespace {

constexpr wchar_t kReminderText[] = L"一个小时了,请注意您的眼睛,休息一会！";

// QLT's message boxes on the screen.
std::vector<HWND> MessageBoxes(const QltProcess& qlt) { return test::MessageBoxesOf(qlt.Id()); }

int ReminderBoxCount(const QltProcess& qlt) {
  int count = 0;
  for (HWND box : MessageBoxes(qlt)) count += MessageBoxText(box) == kReminderText;
  return count;
}

class Reminder : public ::testing::Test {
 protected:
  // QLT started with the reminder set in its settings file, the probe inside it.
  void Start(const std::string& settings) {
    folder_.WriteBytes(L"QLT.ini", settings);
    qlt_.Start();
    main_ = qlt_.WaitForTopLevelWindow(L"TFrm_Main");
    ASSERT_NE(main_, nullptr);
    ASSERT_TRUE(probe_.WaitAttached(main_)) << "the probe did not get into QLT.exe: clock " << probe_.Attached()
                                           << ", main window " << probe_.Subclassed();
    GetLocalTime(&started_);
  }
  // QLT's clock at hh:mm:ss of the hour the test started in, plus `hours`.
  void ClockAt(int minute, int second, int hours = 0) {
    probe_.SetLocalTime(TodayAt((started_.wHour + hours) % 24, minute, second));
  }

  ScratchFolder folder_;
  QltProbe probe_;
  QltProcess qlt_{folder_};
  HWND main_ = nullptr;
  SYSTEMTIME started_{};
};

TEST_F(Reminder, MessageAppearsOnceInTheHourAtTheChosenMinute) {
  Start("[Form]\r\nTime=30\r\nType=1\r\n");
  ClockAt(29, 57);
  ASSERT_TRUE(WaitUntil([&] { return ReminderBoxCount(qlt_) == 1; }, 8s)) << "no reminder at minute 30";
  const std::vector<HWND> boxes = MessageBoxes(qlt_);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(TextOf(boxes[0]), L"QLTZarnit") << "the application title is the caption";

  // A timer that jitters sees second 0 of the minute again: still the one box.
  ClockAt(30, 0);
  ASSERT_TRUE(probe_.WaitForClockRead(3s)) << "QLT's timer stopped";
  EXPECT_EQ(ReminderBoxCount(qlt_), 1);
  PressOk(boxes[0]);
  ASSERT_TRUE(WaitUntil([&] { return ReminderBoxCount(qlt_) == 0; }));

  // Leaving the minute and entering it again in the same hour: nothing.
  ClockAt(29, 58);
  ASSERT_TRUE(probe_.WaitForClockRead(4s)) << "QLT's timer stopped";
  EXPECT_EQ(ReminderBoxCount(qlt_), 0);

  // The next hour reminds again.
  ClockAt(29, 58, 1);
  ASSERT_TRUE(WaitUntil([&] { return ReminderBoxCount(qlt_) == 1; }, 8s)) << "no reminder in the next hour";
  for (HWND box : MessageBoxes(qlt_)) PressOk(box);
  EXPECT_EQ(probe_.MonitorPowerCount(), 0) << "the message was chosen, not the monitor";
}

TEST_F(Reminder, MonitorGoesToLowPowerThroughTheMainWindowInsteadOfAMessage) {
  Start("[Form]\r\nTime=30\r\nType=0\r\n");
  ClockAt(29, 57);
  ASSERT_TRUE(WaitUntil([&] { return probe_.MonitorPowerCount() > 0; }, 8s)) << "no monitor-power request";
  EXPECT_EQ(probe_.LastMonitorPowerLevel(), 1) << "low power, not off";
  ClockAt(30, 0);
  ASSERT_TRUE(probe_.WaitForClockRead(3s)) << "QLT's timer stopped";
  EXPECT_EQ(probe_.MonitorPowerCount(), 1) << "once in the hour";
  EXPECT_TRUE(MessageBoxes(qlt_).empty());
  EXPECT_TRUE(qlt_.Running());
}

TEST_F(Reminder, MinuteBeyondTheHourNeverFiresAndATypedMinuteTakesEffectAtOnce) {
  Start("[Form]\r\nTime=75\r\nType=1\r\n");
  ClockAt(14, 58);  // 75 minutes past is minute 15 of the next hour: no such minute is chosen
  ASSERT_TRUE(probe_.WaitForClockRead(4s)) << "QLT's timer stopped";
  ClockAt(59, 58);
  ASSERT_TRUE(probe_.WaitForClockRead(4s)) << "QLT's timer stopped";
  EXPECT_TRUE(MessageBoxes(qlt_).empty());
  EXPECT_EQ(probe_.MonitorPowerCount(), 0);
  EXPECT_NE(folder_.ReadBytes(L"QLT.ini").value_or("").find("Time=75"), std::string::npos) << "the minute is kept";

  // The user opens the window (as a second start does) and types 31 into the minute box: minute 31
  // reminds.
  PostMessageW(main_, RegisterWindowMessageW(L"QLTZarnit.ShowMainWindow"), 0, 0);
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(main_) != FALSE; })) << "the main window did not show";
  HWND minuteBox = Descendants(main_, L"TSpinEdit").at(1);
  SendMessageW(minuteBox, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"31"));
  ClockAt(30, 58);
  ASSERT_TRUE(WaitUntil([&] { return ReminderBoxCount(qlt_) == 1; }, 8s)) << "no reminder at the typed minute";
  for (HWND box : MessageBoxes(qlt_)) PressOk(box);
}

}  // namespace
}  // namespace qlt::e2e
