// QLT.ini and data.txt as the real QLT.exe reads and writes them: the values written back at
// start, values nobody can parse, the 254-character limit, options stored the moment they change,
// and data.txt kept exactly through a start and an exit, or kept safe when it cannot be written
// or read.
#include <gtest/gtest.h>

#include <thread>

#include "tests/e2e/Desktop.h"
#include "tests/e2e/QltProcess.h"
#include "ui/Handles.h"

namespace qlt::e2e {
namespace {

std::wstring IniValue(const ScratchFolder& folder, const wchar_t* key) {
  wchar_t value[512] = {};
  GetPrivateProfileStringW(L"Form", key, L"<missing>", value, 512, folder.File(L"QLT.ini").c_str());
  return value;
}

HWND StartQlt(QltProcess& qlt) {
  qlt.Start();
  return qlt.WaitForTopLevelWindow(L"TFrm_Main");
}

// Shown through the message a second start sends.
void ShowMainWindow(HWND main) {
  PostMessageW(main, RegisterWindowMessageW(L"QLTZarnit.ShowMainWindow"), 0, 0);
  WaitUntil([&] { return IsWindowVisible(main) != FALSE; });
}

void CloseAndWait(QltProcess& qlt, HWND main) {
  PostMessageW(main, WM_CLOSE, 0, 0);
  const auto exitCode = qlt.WaitForExit();
  ASSERT_TRUE(exitCode.has_value()) << "QLT did not end after WM_CLOSE";
  EXPECT_EQ(*exitCode, 0u);
}

TEST(Settings, PreparedFileGetsTheWriteBacksOfTheLoadRules) {
  ScratchFolder folder;
  folder.WriteBytes(L"QLT.ini",
                    "[Form]\r\nNum=300\r\nType=00\r\nType1=7\r\nHide=0\r\nVolume=1\r\nTime=99999999999999\r\n");
  QltProcess qlt(folder);
  HWND main = StartQlt(qlt);
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(IniValue(folder, L"Num"), L"255");
  EXPECT_EQ(IniValue(folder, L"Type"), L"1");
  EXPECT_EQ(IniValue(folder, L"Type1"), L"2");
  EXPECT_EQ(IniValue(folder, L"Hide"), L"0");
  EXPECT_EQ(IniValue(folder, L"Volume"), L"1");
  EXPECT_EQ(IniValue(folder, L"Time"), L"99999999999999") << "a Time out of range reads as 0, nothing written";

  ShowMainWindow(main);
  EXPECT_EQ(ControlText(Descendants(main, L"TSpinEdit").at(0)), L"255");  // Edt_AP
  EXPECT_EQ(ControlText(Descendants(main, L"TSpinEdit").at(1)), L"0");    // Edt_M
  HWND hideTray = FindDescendant(main, L"TCheckBox", L"隐藏托盘(XP以上系统有效)");
  HWND translucent = FindDescendant(main, L"TRadioButton", L"透明");
  HWND message = FindDescendant(main, L"TRadioButton", L"提示");
  ASSERT_TRUE(hideTray && translucent && message);
  EXPECT_EQ(SendMessageW(hideTray, BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(SendMessageW(translucent, BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(SendMessageW(message, BM_GETCHECK, 0, 0), BST_CHECKED);
  CloseAndWait(qlt, main);

  folder.WriteBytes(L"QLT.ini", "[Form]\r\nNum=abc\r\nType1=1\r\nType= 0 \r\n");
  QltProcess again(folder);
  main = StartQlt(again);
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(IniValue(folder, L"Num"), L"1");
  EXPECT_EQ(IniValue(folder, L"Type1"), L"1");
  EXPECT_EQ(IniValue(folder, L"Type"), L"0") << "0 with blanks around it is 0: nothing written";
  EXPECT_EQ(IniValue(folder, L"Hide"), L"<missing>");
  CloseAndWait(again, main);
}

TEST(Settings, StartWithoutAnyFileWritesNumTypeAndType1) {
  ScratchFolder folder;
  QltProcess qlt(folder);
  HWND main = StartQlt(qlt);
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(IniValue(folder, L"Num"), L"1");
  EXPECT_EQ(IniValue(folder, L"Type"), L"1");
  EXPECT_EQ(IniValue(folder, L"Type1"), L"2");
  EXPECT_EQ(IniValue(folder, L"Time"), L"<missing>");
  EXPECT_EQ(IniValue(folder, L"Hide"), L"<missing>");
  EXPECT_EQ(IniValue(folder, L"Volume"), L"<missing>");
  CloseAndWait(qlt, main);
}

TEST(Settings, ValuesAreReadUpToTheir254thCharacter) {
  // Time: "7" and blanks up to the 254th character, then digits: only the first 254 characters
  // give the number 7. Num: "9", blanks, and an "x" as the 254th character: read whole up to
  // there, it is no number and gives 1.
  ScratchFolder folder;
  const std::string time = "7" + std::string(253, ' ') + std::string(46, '9');
  const std::string num = "9" + std::string(252, ' ') + "x" + std::string(46, 'x');
  ASSERT_EQ(time.size(), 300u);
  ASSERT_EQ(num.size(), 300u);
  folder.WriteBytes(L"QLT.ini", "[Form]\r\nTime=" + time + "\r\nNum=" + num + "\r\n");
  QltProcess qlt(folder);
  HWND main = StartQlt(qlt);
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(IniValue(folder, L"Time"), L"7");
  EXPECT_EQ(IniValue(folder, L"Num"), L"1");
  CloseAndWait(qlt, main);
}

TEST(Settings, EveryOptionIsStoredTheMomentItChanges) {
  ScratchFolder folder;
  QltProcess qlt(folder);
  HWND main = StartQlt(qlt);
  ASSERT_NE(main, nullptr);
  ShowMainWindow(main);

  const auto click = [&](const wchar_t* className, const wchar_t* caption) {
    HWND control = FindDescendant(main, className, caption);
    ASSERT_NE(control, nullptr) << "no control " << testing::PrintToString(std::wstring(caption));
    SendMessageW(control, BM_CLICK, 0, 0);
  };
  click(L"TRadioButton", L"关闭");
  EXPECT_EQ(IniValue(folder, L"Type1"), L"1");
  click(L"TRadioButton", L"隐藏");
  EXPECT_EQ(IniValue(folder, L"Type1"), L"0");
  click(L"TRadioButton", L"透明");
  EXPECT_EQ(IniValue(folder, L"Type1"), L"2");
  click(L"TRadioButton", L"关闭显示器");
  EXPECT_EQ(IniValue(folder, L"Type"), L"0");
  click(L"TRadioButton", L"提示");
  EXPECT_EQ(IniValue(folder, L"Type"), L"1");
  click(L"TCheckBox", L"隐藏托盘(XP以上系统有效)");
  EXPECT_EQ(IniValue(folder, L"Hide"), L"0");
  click(L"TCheckBox", L"隐藏托盘(XP以上系统有效)");
  EXPECT_EQ(IniValue(folder, L"Hide"), L"1");
  click(L"TCheckBox", L"开/关控制音量");
  EXPECT_EQ(IniValue(folder, L"Volume"), L"0");

  HWND alpha = Descendants(main, L"TSpinEdit").at(0);
  HWND minute = Descendants(main, L"TSpinEdit").at(1);
  SendMessageW(alpha, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"120"));
  EXPECT_EQ(IniValue(folder, L"Num"), L"120");
  SendMessageW(minute, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"75"));
  EXPECT_EQ(IniValue(folder, L"Time"), L"75") << "any minute is stored; the reminder then never fires";
  CloseAndWait(qlt, main);
}

TEST(DataFile, ThreeLinesWithAnEmptyMiddleSurviveStartAndExit) {
  ScratchFolder folder;
  const std::string content = "notepad.exe\r\n\r\nwinemine.exe\r\n";
  folder.WriteBytes(L"data.txt", content);
  QltProcess qlt(folder);
  HWND main = StartQlt(qlt);
  ASSERT_NE(main, nullptr);
  ShowMainWindow(main);
  HWND chosen = Descendants(main, L"TListBox").at(1);
  EXPECT_EQ(ListBoxRows(chosen), (std::vector<std::wstring>{L"notepad.exe", L"", L"winemine.exe"}));
  CloseAndWait(qlt, main);
  EXPECT_EQ(folder.ReadBytes(L"data.txt"), content);
  EXPECT_FALSE(folder.Exists(L"data.txt.new"));
}

TEST(DataFile, LongLinesAndBytesThatAreNotTextLoadAndComeBackUnchanged) {
  ScratchFolder folder;
  const std::string junk = std::string(100000, 'n') + "\r\n" + std::string("\x81\xff\x00\x01\xfe", 5) + "\r\n" +
                           "\xc4\xe3\xba\xc3.exe\r\n";
  folder.WriteBytes(L"data.txt", junk);
  QltProcess qlt(folder);
  HWND main = StartQlt(qlt);
  ASSERT_NE(main, nullptr);
  ShowMainWindow(main);
  EXPECT_EQ(ListBoxRows(Descendants(main, L"TListBox").at(1)).size(), 3u);
  CloseAndWait(qlt, main);
  EXPECT_EQ(folder.ReadBytes(L"data.txt"), junk);
}

TEST(DataFile, ExitThatCannotWriteTheFileSaysSoAndKeepsRunning) {
  ScratchFolder folder;
  folder.WriteBytes(L"data.txt", "notepad.exe\r\n");
  QltProcess qlt(folder);
  HWND main = StartQlt(qlt);
  ASSERT_NE(main, nullptr);
  SetFileAttributesW(folder.File(L"data.txt").c_str(), FILE_ATTRIBUTE_READONLY);

  PostMessageW(main, WM_CLOSE, 0, 0);
  HWND box = WaitForMessageBox(qlt.Id());
  ASSERT_NE(box, nullptr) << "the failure is shown";
  const std::wstring expected = L"Cannot create file \"" + folder.File(L"data.txt") + L"\". ";
  const std::wstring text = MessageBoxText(box);
  EXPECT_EQ(text.substr(0, expected.size()), expected);
  EXPECT_GT(text.size(), expected.size()) << "with the system's reason";
  SaveScreenshot(L"06-data-file-cannot-be-written");
  PressOk(box);
  std::this_thread::sleep_for(500ms);
  EXPECT_TRUE(qlt.Running()) << "the program keeps running, and the list with it";
  EXPECT_TRUE(TrayIconPresent(main));
  EXPECT_EQ(folder.ReadBytes(L"data.txt"), std::string("notepad.exe\r\n"));
  EXPECT_FALSE(folder.Exists(L"data.txt.new"));

  SetFileAttributesW(folder.File(L"data.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
  CloseAndWait(qlt, main);
}

TEST(DataFile, FileThatCannotBeReadAtStartIsLeftAlone) {
  ScratchFolder folder;
  folder.WriteBytes(L"data.txt", "notepad.exe\r\n");
  // Another program holds the file open for itself while QLT starts.
  UniqueKernelHandle held(
      CreateFileW(folder.File(L"data.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(held);
  QltProcess qlt(folder);
  qlt.Start();
  HWND box = WaitForMessageBox(qlt.Id());
  ASSERT_NE(box, nullptr) << "the user is told";
  EXPECT_EQ(MessageBoxText(box).rfind(L"Cannot open file \"" + folder.File(L"data.txt") + L"\". ", 0), 0u);
  PressOk(box);
  held.Reset();

  HWND main = qlt.WaitForTopLevelWindow(L"TFrm_Main");
  ASSERT_NE(main, nullptr);
  CloseAndWait(qlt, main);
  EXPECT_EQ(folder.ReadBytes(L"data.txt"), std::string("notepad.exe\r\n")) << "the names in it are not lost";
}

}  // namespace
}  // namespace qlt::e2e
