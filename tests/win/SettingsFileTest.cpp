// QLT.ini and data.txt through the real private-profile and file functions: the load rules'
// write-backs on disk, the 254-character limit, the ANSI file, and data.txt's line rules and
// error text.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "app/DataFile.h"
#include "app/IniFile.h"
#include "app/SettingsFile.h"
#include "app/WinText.h"
#include "tests/win/WinTestSupport.h"
#include "tools/IpDns.h"
#include "ui/Handles.h"

namespace qlt {
namespace {

using test::ScratchDir;

TEST(SettingsFile, StartWithoutFileWritesNumTypeType1) {
  ScratchDir dir(L"ini-new");
  SettingsFile settings{IniFile(dir.File(L"QLT.ini"))};
  const FormSettings values = settings.Load();
  EXPECT_EQ(values.alpha, 1);
  EXPECT_EQ(values.hideMode, HideMode::Translucent);
  EXPECT_EQ(values.reminder, ReminderAction::Message);
  const std::wstring path = dir.File(L"QLT.ini");
  EXPECT_EQ(ReadIniString(L"Form", L"Num", path), L"1");
  EXPECT_EQ(ReadIniString(L"Form", L"Type", path), L"1");
  EXPECT_EQ(ReadIniString(L"Form", L"Type1", path), L"2");
  EXPECT_EQ(ReadIniString(L"Form", L"Hide", path), L"");
  EXPECT_EQ(ReadIniString(L"Form", L"Time", path), L"");
}

TEST(SettingsFile, PreparedFileGetsTheWriteBacks) {
  ScratchDir dir(L"ini-prepared");
  dir.Write(L"QLT.ini",
            "[Form]\r\nNum=300\r\nType=00\r\nType1=7\r\nHide=0\r\nVolume=1\r\nTime=abc\r\nHotkey=  CTRL+ALT+Z  \r\n");
  SettingsFile settings{IniFile(dir.File(L"QLT.ini"))};
  const FormSettings values = settings.Load();
  EXPECT_EQ(values.alpha, 255);
  EXPECT_EQ(values.hotKey, u"CTRL+ALT+Z");
  EXPECT_TRUE(values.hideTray);
  EXPECT_EQ(values.remindMinute, 0);
  const std::wstring path = dir.File(L"QLT.ini");
  EXPECT_EQ(ReadIniString(L"Form", L"Num", path), L"255");
  EXPECT_EQ(ReadIniString(L"Form", L"Type", path), L"1");
  EXPECT_EQ(ReadIniString(L"Form", L"Type1", path), L"2");
  EXPECT_EQ(ReadIniString(L"Form", L"Hide", path), L"0");
  EXPECT_EQ(ReadIniString(L"Form", L"Volume", path), L"1");
  EXPECT_EQ(ReadIniString(L"Form", L"Time", path), L"abc");  // unparseable, left as stored

  dir.Write(L"QLT.ini", "[Form]\r\nNum=abc\r\n");
  EXPECT_EQ(SettingsFile{IniFile(path)}.Load().alpha, 1);
  EXPECT_EQ(ReadIniString(L"Form", L"Num", path), L"1");
}

TEST(SettingsFile, HandlersWriteTheirTextsAndHotKeyIsOneKey) {
  ScratchDir dir(L"ini-handlers");
  const std::wstring path = dir.File(L"QLT.ini");
  SettingsFile settings{IniFile(path)};
  settings.SaveHideMode(HideMode::Close);
  settings.SaveHideTray(true);
  settings.SaveMute(false);
  settings.SaveRemindMinute(30);
  settings.SaveHotKey(u"CTRL+ ");
  EXPECT_EQ(ReadIniString(L"Form", L"Type1", path), L"1");
  EXPECT_EQ(ReadIniString(L"Form", L"Hide", path), L"0");
  EXPECT_EQ(ReadIniString(L"Form", L"Volume", path), L"1");
  EXPECT_EQ(ReadIniString(L"Form", L"Time", path), L"30");
  // Written as "HotKey", read at start as "Hotkey": the same key; the value comes back trimmed.
  EXPECT_EQ(settings.Load().hotKey, u"CTRL+");
}

TEST(IniFile, LongValuesComeBackCutAndTheFileStaysAnsi) {
  ScratchDir dir(L"ini-long");
  const std::wstring path = dir.File(L"QLT.ini");
  const std::wstring value(300, L'x');
  WriteIniString(L"Form", L"Long", value, path);
  EXPECT_EQ(ReadIniString(L"Form", L"Long", path), value.substr(0, 254));
  EXPECT_EQ(ReadIniString(L"Form", L"Missing", path), L"");
  EXPECT_EQ(ReadIniString(L"NoSection", L"Long", dir.File(L"absent.ini")), L"");

  const std::wstring accented = L"caf\u00e9";
  WriteIniString(L"Form", L"Text", accented, path);
  const std::string bytes = dir.Read(L"QLT.ini");
  EXPECT_NE(bytes.find("Text=" + WideToAnsi(accented)), std::string::npos);
  EXPECT_EQ(bytes.find('\0'), std::string::npos) << "the file must not be UTF-16";
  EXPECT_NE(static_cast<unsigned char>(bytes[0]), 0xFF);
}

TEST(DataFile, ThreeLinesWithEmptyMiddleSurviveLoadAndSave) {
  ScratchDir dir(L"data-three");
  const std::string content = "notepad.exe\r\n\r\nwinemine.exe\r\n";
  dir.Write(L"data.txt", content);
  const SelectList list = LoadSelectList(dir.File(L"data.txt"));
  ASSERT_EQ(list.Count(), 3u);
  EXPECT_EQ(list.Name(1), u"");
  EXPECT_FALSE(SaveSelectList(list, dir.File(L"data.txt")).has_value());
  EXPECT_EQ(dir.Read(L"data.txt"), content);
}

TEST(DataFile, LongLinesAndNonTextBytesLoadAndSaveUnchanged) {
  ScratchDir dir(L"data-junk");
  std::string content = std::string(200000, 'n') + "\r\n" + std::string("\x81\xff\x00\x01\xfe", 5) + "\n" + "tail";
  dir.Write(L"data.txt", content);
  const SelectList list = LoadSelectList(dir.File(L"data.txt"));
  ASSERT_EQ(list.Count(), 3u);
  EXPECT_EQ(list.Name(0).size(), 200000u);
  EXPECT_FALSE(SaveSelectList(list, dir.File(L"data.txt")).has_value());
  // Line ends become CR LF; the names' bytes stay as they were.
  EXPECT_EQ(dir.Read(L"data.txt"),
            std::string(200000, 'n') + "\r\n" + std::string("\x81\xff\x00\x01\xfe", 5) + "\r\ntail\r\n");
  EXPECT_EQ(LoadSelectList(dir.File(L"missing.txt")).Count(), 0u);
}

TEST(DataFile, UnwritableFileGivesTheCannotCreateMessage) {
  ScratchDir dir(L"data-locked");
  CreateDirectoryW(dir.File(L"data.txt").c_str(), nullptr);  // a folder where the file should be
  SelectList list;
  list.Append(u"notepad.exe", AnsiCodec());
  const auto error = SaveSelectList(list, dir.File(L"data.txt"));
  ASSERT_TRUE(error.has_value());
  const std::wstring expectedStart = L"Cannot create file \"" + dir.File(L"data.txt") + L"\". ";
  EXPECT_EQ(error->substr(0, expectedStart.size()), expectedStart);
  EXPECT_GT(error->size(), expectedStart.size()) << "the system's reason follows";
}

TEST(DataFile, FailedSaveLeavesTheOldFileAsItWas) {
  ScratchDir dir(L"data-keep");
  const std::string old = "notepad.exe\r\nwinemine.exe\r\n";
  dir.Write(L"data.txt", old);
  SelectList list;
  list.Append(u"calc.exe", AnsiCodec());

  SetFileAttributesW(dir.File(L"data.txt").c_str(), FILE_ATTRIBUTE_READONLY);
  auto error = SaveSelectList(list, dir.File(L"data.txt"));
  ASSERT_TRUE(error.has_value()) << "a read-only file is not replaced";
  EXPECT_EQ(error->rfind(L"Cannot create file \"" + dir.File(L"data.txt") + L"\". ", 0), 0u);
  SetFileAttributesW(dir.File(L"data.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(dir.Read(L"data.txt"), old);
  EXPECT_FALSE(dir.Exists(L"data.txt.new"));

  // The new file cannot be made: the old one stays.
  CreateDirectoryW(dir.File(L"data.txt.new").c_str(), nullptr);
  error = SaveSelectList(list, dir.File(L"data.txt"));
  ASSERT_TRUE(error.has_value());
  EXPECT_EQ(error->rfind(L"Cannot create file \"" + dir.File(L"data.txt") + L"\". ", 0), 0u);
  EXPECT_EQ(dir.Read(L"data.txt"), old);
  RemoveDirectoryW(dir.File(L"data.txt.new").c_str());

  EXPECT_FALSE(SaveSelectList(list, dir.File(L"data.txt")).has_value());
  EXPECT_EQ(dir.Read(L"data.txt"), "calc.exe\r\n");
  EXPECT_FALSE(dir.Exists(L"data.txt.new"));
}

TEST(DataFile, AFileAnotherProgramHoldsOpenForAMomentIsStillReplaced) {
  ScratchDir dir(L"data-busy");
  dir.Write(L"data.txt", "notepad.exe\r\n");
  SelectList list;
  list.Append(u"calc.exe", AnsiCodec());
  // A reader (a virus scanner, a backup) that lets others read and write, but not replace.
  UniqueKernelHandle reader(CreateFileW(dir.File(L"data.txt").c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                        nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(reader);
  std::thread closer([&reader] {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    reader.Reset();
  });
  const auto error = SaveSelectList(list, dir.File(L"data.txt"));
  closer.join();
  EXPECT_FALSE(error.has_value()) << error.value_or(L"");
  EXPECT_EQ(dir.Read(L"data.txt"), "calc.exe\r\n");
  EXPECT_FALSE(dir.Exists(L"data.txt.new"));

  // Held for longer than the save waits: the old file stays, and the save says why.
  reader.Reset(CreateFileW(dir.File(L"data.txt").c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(reader);
  SelectList other;
  other.Append(u"winemine.exe", AnsiCodec());
  const auto held = SaveSelectList(other, dir.File(L"data.txt"));
  reader.Reset();
  ASSERT_TRUE(held.has_value());
  EXPECT_EQ(held->rfind(L"Cannot create file \"" + dir.File(L"data.txt") + L"\". ", 0), 0u);
  EXPECT_EQ(dir.Read(L"data.txt"), "calc.exe\r\n");
  EXPECT_FALSE(dir.Exists(L"data.txt.new"));
}

TEST(DataFile, ExistingFileThatCannotBeReadIsReportedNotTakenForEmpty) {
  ScratchDir dir(L"data-held");
  dir.Write(L"data.txt", "notepad.exe\r\n");
  UniqueKernelHandle held(CreateFileW(dir.File(L"data.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(held);
  const SelectListFile blocked = ReadSelectListFile(dir.File(L"data.txt"));
  held.Reset();
  ASSERT_TRUE(blocked.error.has_value());
  EXPECT_EQ(blocked.error->rfind(L"Cannot open file \"" + dir.File(L"data.txt") + L"\". ", 0), 0u);
  EXPECT_TRUE(blocked.list.Empty());

  const SelectListFile readable = ReadSelectListFile(dir.File(L"data.txt"));
  EXPECT_FALSE(readable.error.has_value());
  EXPECT_EQ(readable.list.Count(), 1u);
  const SelectListFile missing = ReadSelectListFile(dir.File(L"missing.txt"));
  EXPECT_FALSE(missing.error.has_value()) << "a missing file is an empty list, not an error";
  EXPECT_TRUE(missing.list.Empty());
}

TEST(AddressSetsFile, LoadTrimsSaveKeepsTyping) {
  ScratchDir dir(L"ipdns");
  const IniFile ini(dir.File(L"QLT.ini"));
  AddressSets empty = LoadAddressSets(ini);
  EXPECT_EQ(empty.first, AddressSet{});
  EXPECT_EQ(empty.second, AddressSet{});

  dir.Write(L"QLT.ini", "[IPDNS1]\r\nIP=\"  10.0.0.5  \"\r\nNet=10.0.0.1\r\n[IPDNS2]\r\nDNS=8.8.8.8\r\n");
  const AddressSets loaded = LoadAddressSets(ini);
  EXPECT_EQ(loaded.first, (AddressSet{u"10.0.0.5", u"10.0.0.1", u""}));
  EXPECT_EQ(loaded.second, (AddressSet{u"", u"", u"8.8.8.8"}));

  AddressSets typed{{u"10.0.0.300", u"x y", u""}, {u"1.2.3.4", u"", u"5.6.7.8"}};
  SaveAddressSets(typed, ini);
  EXPECT_EQ(ReadIniString(L"IPDNS1", L"IP", ini.Path()), L"10.0.0.300");
  EXPECT_EQ(ReadIniString(L"IPDNS1", L"Net", ini.Path()), L"x y");
  EXPECT_EQ(ReadIniString(L"IPDNS2", L"DNS", ini.Path()), L"5.6.7.8");
}

}  // namespace
}  // namespace qlt
