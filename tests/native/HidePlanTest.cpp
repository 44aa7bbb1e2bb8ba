// Which windows one hide acts on and in what order, and the journal that outlives a crash.
#include <gtest/gtest.h>

#include "app/HidePlan.h"

namespace qlt {
namespace {

std::vector<WindowId> Ids(const std::vector<WindowInfo>& windows) {
  std::vector<WindowId> ids;
  for (const auto& w : windows) ids.push_back(w.window);
  return ids;
}

TEST(HidePlan, OrderIsNameThenProcessInSnapshotOrderThenWindowInEnumerationOrder) {
  const std::vector<ProcessInfo> processes{
      {4, u"explorer.exe"}, {20, u"NOTEPAD.EXE"}, {30, u"winemine.exe"}, {10, u"notepad.exe"}};
  const std::vector<WindowInfo> windows{
      {101, 10, true}, {201, 20, true}, {301, 30, true}, {102, 10, false}, {103, 10, true}, {202, 20, true},
      {401, 4, true}};
  const auto plan = PlanHide({u"mine", u"NOTE"}, processes, windows);
  EXPECT_EQ(Ids(plan), (std::vector<WindowId>{301, 201, 202, 101, 103}));
  EXPECT_EQ(plan[1].pid, 20u);
}

TEST(HidePlan, EachWindowOnceEmptyNamesAndInvisibleWindowsNever) {
  const std::vector<ProcessInfo> processes{{10, u"notepad.exe"}};
  const std::vector<WindowInfo> windows{{101, 10, true}, {102, 10, false}};
  EXPECT_EQ(Ids(PlanHide({u"note", u"notepad.exe", u"NOTEPAD"}, processes, windows)), std::vector<WindowId>{101});
  EXPECT_TRUE(PlanHide({u""}, processes, windows).empty());
  EXPECT_TRUE(PlanHide({}, processes, windows).empty());
  EXPECT_TRUE(PlanHide({u"calc"}, processes, windows).empty());
  // A process that has ended between the snapshot and the enumeration simply has no windows.
  EXPECT_TRUE(PlanHide({u"gone"}, {{99, u"gone.exe"}}, windows).empty());
}

TEST(HideJournal, RoundTripsEveryAction) {
  HideRecord record;
  record.trayHidden = true;
  record.muted = true;
  record.windows = {{0x10020, 1234, WindowAction::Hidden, false},
                    {0x30044, 88, WindowAction::MadeTranslucent, true},
                    {0x50066, 88, WindowAction::MadeTranslucent, false},
                    {0x70010, 9, WindowAction::CloseRequested, false}};
  EXPECT_EQ(ParseJournal(FormatJournal(record)), record);
  EXPECT_EQ(ParseJournal(FormatJournal(HideRecord{})), HideRecord{});
}

TEST(HideJournal, DamagedJournalRestoresWhatItCanAndNeverCrashes) {
  const std::string text =
      "QLT hidden windows 1\r\n"
      "window 65568 1234 hide 0\r\n"
      "window garbage\r\n"
      "window 0 5 hide 0\r\n"           // no window 0
      "window 70000 5 explode 0\r\n"    // unknown action
      "window 99999999999999999999999 5 hide 0\r\n"
      "tray 1\n"
      "window 70002 7 alpha 1";         // last line without its end
  const HideRecord record = ParseJournal(text);
  EXPECT_TRUE(record.trayHidden);
  EXPECT_FALSE(record.muted);
  EXPECT_EQ(record.windows, (std::vector<HiddenWindow>{{65568, 1234, WindowAction::Hidden, false},
                                                       {70002, 7, WindowAction::MadeTranslucent, true}}));
  EXPECT_TRUE(ParseJournal("something else\nwindow 5 5 hide 0\n").Empty());
  EXPECT_TRUE(ParseJournal("").Empty());
  EXPECT_TRUE(ParseJournal(std::string("\0\xff\r\n", 4)).Empty());
}

}  // namespace
}  // namespace qlt
