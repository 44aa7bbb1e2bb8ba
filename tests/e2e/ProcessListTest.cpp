// The two lists of the main window's first page with real programs running: every process is a
// row, double-clicks choose and remove names by the rules of the selection list, and the choice
// reaches data.txt at exit.
#include <windows.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

#include "tests/e2e/Desktop.h"
#include "tests/e2e/QltProcess.h"
#include "tests/win/WinTestSupport.h"
#include "ui/Handles.h"

namespace qlt::e2e {
namespace {

using test::RunningProgram;

int RunningCopies(const std::wstring& exeName) {
  int count = 0;
  const UniqueKernelHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot) return count;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot.Get(), &entry); more; more = Process32NextW(snapshot.Get(), &entry)) {
    if (exeName == entry.szExeFile) ++count;
  }
  return count;
}

std::vector<int> RowsOf(const std::vector<std::wstring>& rows, const std::wstring& name) {
  std::vector<int> found;
  for (size_t i = 0; i < rows.size(); ++i) {
    if (rows[i] == name) found.push_back(static_cast<int>(i));
  }
  return found;
}

class ProcessLists : public ::testing::Test {
 protected:
  void StartAndShow(const std::string& dataFile) {
    folder_.WriteBytes(L"data.txt", dataFile);
    qlt_.Start();
    main_ = qlt_.WaitForTopLevelWindow(L"TFrm_Main");
    ASSERT_NE(main_, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return TrayIconPresent(main_); }));
    // "显示窗口" from the tray menu.
    ASSERT_TRUE(ChooseFromTrayMenu(main_, qlt_.Id(), kTrayMenuShowHideItem));
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(main_) != FALSE; }));
    const auto lists = Descendants(main_, L"TListBox");
    ASSERT_EQ(lists.size(), 2u);
    processes_ = lists[0];
    chosen_ = lists[1];
    std::this_thread::sleep_for(300ms);
  }

  void DoubleClickRow(HWND list, int row) {
    DoubleClickAt(ListBoxRowCentre(list, row));
    WaitUntil([&] { return ListBoxSelection(list) == row; }, 2s);
    std::this_thread::sleep_for(200ms);
  }

  std::string ExitAndReadDataFile() {
    PostMessageW(main_, WM_CLOSE, 0, 0);
    const auto exitCode = qlt_.WaitForExit();
    EXPECT_TRUE(exitCode.has_value());
    return folder_.ReadBytes(L"data.txt").value_or("<none>");
  }

  ScratchFolder folder_;
  QltProcess qlt_{folder_};
  HWND main_ = nullptr;
  HWND processes_ = nullptr;
  HWND chosen_ = nullptr;
};

TEST_F(ProcessLists, TwoCopiesAreTwoRowsAndDoubleClicksChooseAndRemoveNames) {
  RunningProgram notepad1(L"notepad.exe");
  RunningProgram notepad2(L"notepad.exe");
  RunningProgram mines(L"winemine.exe");
  ASSERT_NE(notepad1.MainWindow(), nullptr);
  ASSERT_NE(notepad2.MainWindow(), nullptr);
  ASSERT_NE(mines.MainWindow(), nullptr);
  // The chosen name in other letter case, and a name of a program that is not running.
  StartAndShow("WINEMINE.EXE\r\nabsent.exe\r\n");

  const auto rows = ListBoxRows(processes_);
  const auto notepadRows = RowsOf(rows, L"notepad.exe");
  EXPECT_EQ(static_cast<int>(notepadRows.size()), RunningCopies(L"notepad.exe"));
  ASSERT_GE(notepadRows.size(), 2u) << "each running copy is one row";
  EXPECT_EQ(RowsOf(rows, L"QLT.exe").size(), 1u);
  EXPECT_EQ(ListBoxRows(chosen_), (std::vector<std::wstring>{L"WINEMINE.EXE", L"absent.exe"}));

  DoubleClickRow(processes_, notepadRows[0]);
  EXPECT_EQ(ListBoxRows(chosen_), (std::vector<std::wstring>{L"WINEMINE.EXE", L"absent.exe", L"notepad.exe"}));
  DoubleClickRow(processes_, notepadRows[1]);
  EXPECT_EQ(ListBoxRows(chosen_).size(), 3u) << "the second copy's row adds the name no second time";

  const auto mineRows = RowsOf(rows, L"winemine.exe");
  ASSERT_FALSE(mineRows.empty());
  DoubleClickRow(processes_, mineRows[0]);
  EXPECT_EQ(ListBoxRows(chosen_).size(), 3u) << "chosen already, in other letter case";

  DoubleClickRow(processes_, 0);
  EXPECT_EQ(ListBoxRows(chosen_).size(), 3u) << "the first row is never added";
  SaveScreenshot(L"07-process-lists");

  DoubleClickRow(chosen_, 0);
  EXPECT_EQ(ListBoxRows(chosen_), (std::vector<std::wstring>{L"absent.exe", L"notepad.exe"}));

  EXPECT_EQ(ExitAndReadDataFile(), "absent.exe\r\nnotepad.exe\r\n");
}

TEST_F(ProcessLists, NameRemovedAndChosenAgainGoesToTheEnd) {
  RunningProgram notepad(L"notepad.exe");
  ASSERT_NE(notepad.MainWindow(), nullptr);
  StartAndShow("notepad.exe\r\nnotepad.exe\r\nfirst.exe\r\n");
  EXPECT_EQ(ListBoxRows(chosen_), (std::vector<std::wstring>{L"notepad.exe", L"notepad.exe", L"first.exe"}))
      << "the file is loaded as it is, duplicates included";

  DoubleClickRow(chosen_, 1);
  DoubleClickRow(chosen_, 0);
  EXPECT_EQ(ListBoxRows(chosen_), (std::vector<std::wstring>{L"first.exe"}));
  const auto notepadRows = RowsOf(ListBoxRows(processes_), L"notepad.exe");
  ASSERT_FALSE(notepadRows.empty());
  DoubleClickRow(processes_, notepadRows[0]);
  EXPECT_EQ(ListBoxRows(chosen_), (std::vector<std::wstring>{L"first.exe", L"notepad.exe"}));

  EXPECT_EQ(ExitAndReadDataFile(), "first.exe\r\nnotepad.exe\r\n");
}

}  // namespace
}  // namespace qlt::e2e
