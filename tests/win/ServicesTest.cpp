// What leaves the program: autostart and the DNS value in the registry, the command lines of the
// links and of netsh (seen by a recorder program), the reminder's monitor-power request through
// a real window procedure, and the notification-area finder.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "app/LinkOpener.h"
#include "app/Links.h"
#include "app/Registry.h"
#include "app/ReminderTimer.h"
#include "app/TrayArea.h"
#include "app/WinText.h"
#include "tests/win/WinTestSupport.h"
#include "tools/IpDns.h"

namespace qlt {
namespace {

using test::PutRecorder;
using test::RecorderRan;
using test::ScratchDir;
using test::TakeRecordedCommandLine;

// Records what would have been started instead of starting it.
class RecordingStarter : public ProcessStarter {
 public:
  bool RunAnsi(const std::string& line, int show) override { return ansi.push_back(line), true; }
  bool Run(const std::wstring& line, int show) override { return wide.push_back(line), true; }
  bool OpenWithDefaultProgram(const std::wstring& target) override { return opened.push_back(target), true; }
  std::vector<std::string> ansi;
  std::vector<std::wstring> wide, opened;
};

TEST(Autostart, QuotedPathUnderTheRunKeyAndRemoval) {
  const std::wstring exe = L"C:\\Program Files\\QLT Tools\\QLTtest.beta.exe";
  ASSERT_FALSE(SetAutostart(true, exe).has_value());
  const RegKey run = RegKey::Open(HKEY_LOCAL_MACHINE, ToWide(kRunKeyPath), KEY_READ);
  EXPECT_EQ(run.ReadString(L"QLTtest").value_or(L"<none>"), L"\"" + exe + L"\"");
  ASSERT_FALSE(SetAutostart(true, exe).has_value());  // ticked again: written again
  ASSERT_FALSE(SetAutostart(false, exe).has_value());
  EXPECT_FALSE(run.ReadString(L"QLTtest").has_value());
  EXPECT_FALSE(SetAutostart(false, exe).has_value()) << "removing a missing value is no error";
}

TEST(Registry, MachineStringWithExtraNulAndErrorTexts) {
  const std::wstring path = L"Software\\QLT test\\Parameters";
  ASSERT_FALSE(WriteMachineString(path, L"NameServer", L"10.0.0.2 10.0.0.5").has_value());
  const RegKey key = RegKey::Open(HKEY_LOCAL_MACHINE, path, KEY_READ);
  DWORD type = 0, size = 0;
  ASSERT_EQ(RegQueryValueExW(key.Get(), L"NameServer", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(size, (17 + 2) * sizeof(wchar_t)) << "the text, its NUL and one extra NUL";
  EXPECT_EQ(key.ReadString(L"NameServer"), L"10.0.0.2 10.0.0.5");
  EXPECT_EQ(ReadMachineString(L"Software\\QLT test\\No such key"), L"");
  EXPECT_FALSE(RegKey::Open(HKEY_LOCAL_MACHINE, L"Software\\QLT test\\No such key", KEY_READ))
      << "reading the browser path creates no key";
  const HKEY noSuchRoot = reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x4321));
  EXPECT_EQ(WriteRegValue(noSuchRoot, L"Software\\Run", L"v", L"x"), L"Failed to create key Software\\Run");
  RegDeleteKeyW(HKEY_LOCAL_MACHINE, path.c_str());
  RegDeleteKeyW(HKEY_LOCAL_MACHINE, L"Software\\QLT test");
}

TEST(Links, BrowserPathWithABlankIsQuotedAndNoBrowserMeansTheDefaultOne) {
  ScratchDir dir(L"links");
  CreateDirectoryW(dir.File(L"My Browser").c_str(), nullptr);
  const std::wstring browser = dir.File(L"My Browser\\browse.exe");
  ASSERT_TRUE(PutRecorder(browser));
  // A program where the unquoted path would be cut: it must not be the one started.
  const std::wstring decoy = dir.File(L"My.exe");
  ASSERT_TRUE(PutRecorder(decoy));

  EXPECT_TRUE(OpenLinkWith(browser, ToWide(kForumSite), SystemProcessStarter()));
  EXPECT_EQ(AnsiToWide(TakeRecordedCommandLine(browser)), L"\"" + browser + L"\" \"" + ToWide(kForumSite) + L"\"");
  EXPECT_FALSE(RecorderRan(decoy));

  RecordingStarter starter;
  EXPECT_TRUE(OpenLinkWith(L"", ToWide(kMakerSite), starter));
  EXPECT_TRUE(OpenLinkWith(L"  ", ToWide(kMakerSite), starter));
  EXPECT_EQ(starter.opened, (std::vector<std::wstring>{ToWide(kMakerSite), ToWide(kMakerSite)}));
  EXPECT_TRUE(starter.wide.empty());
}

TEST(Links, RegisteredBrowserIsReadFromAppPaths) {
  const std::wstring keyPath = ToWide(kBrowserKeyPath);
  const RegKey key = RegKey::Open(HKEY_LOCAL_MACHINE, keyPath, KEY_ALL_ACCESS, true);
  ASSERT_TRUE(key);
  const auto saved = key.ReadString(L"");
  ASSERT_TRUE(key.WriteString(L"", L"C:\\Program Files\\Some Browser\\b.exe"));
  RecordingStarter starter;
  OpenLink(ToWide(kForumSite), starter);
  if (saved) {
    key.WriteString(L"", *saved);
  } else {
    key.DeleteValue(L"");
  }
  ASSERT_EQ(starter.wide.size(), 1u);
  EXPECT_EQ(starter.wide[0], L"\"C:\\Program Files\\Some Browser\\b.exe\" \"" + ToWide(kForumSite) + L"\"");
}

TEST(IpDns, AppliesACheckedSetThroughNetshAndTheNameServerValue) {
  // WinExec looks beside the executable first: the recorder stands in for netsh there.
  const std::wstring netsh = test::TestProgramDirectory() + L"netsh.exe";
  ASSERT_TRUE(PutRecorder(netsh));
  const std::wstring tcpip = ToWide(kTcpipParametersKey);

  const ApplyResult applied = ApplyAddress({u"10.0.0.5", u"10.0.0.1", u"10.0.0.2"}, 1);
  EXPECT_TRUE(applied.applied) << std::string(applied.message.begin(), applied.message.end());
  EXPECT_EQ(TakeRecordedCommandLine(netsh),
            WideToAnsi(L"netsh interface ip set address 本地连接 static 10.0.0.5 255.255.255.0 10.0.0.1 1", 936));
  const RegKey parameters = RegKey::Open(HKEY_LOCAL_MACHINE, tcpip, KEY_READ);
  EXPECT_EQ(parameters.ReadString(L"NameServer"), L"10.0.0.2 10.0.0.5");

  for (const AddressSet& bad : {AddressSet{u"10.0.0.300", u"10.0.0.1", u"10.0.0.2"},
                                AddressSet{u"10.0.0.6", u"", u"10.0.0.2"}}) {
    const ApplyResult refused = ApplyAddress(bad, 2);
    EXPECT_FALSE(refused.applied);
    EXPECT_NE(refused.message.find(L"第二个地址"), std::wstring::npos);
  }
  Sleep(300);
  EXPECT_FALSE(RecorderRan(netsh)) << "nothing is started for a wrong set";
  EXPECT_EQ(parameters.ReadString(L"NameServer"), L"10.0.0.2 10.0.0.5") << "nothing is written for a wrong set";
  DeleteFileW(netsh.c_str());
}

class FixedClock : public Clock {
 public:
  LocalTime Now() const override { return now; }
  LocalTime now{2024, 5, 7, 10, 29, 59};
};

struct Received {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};

TEST(ReminderTimer, MonitorPowerGoesThroughTheWindowsOwnProcedureOncePerHour) {
  test::TestWindow recorder(false);
  std::vector<Received> received;
  recorder.OnMessage = [&](UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message != WM_SYSCOMMAND) return false;
    received.push_back({message, wParam, lParam});
    result = 0;
    return true;
  };
  const HWND window = recorder.Get();
  ASSERT_TRUE(window);
  FixedClock clock;
  ReminderTimer timer(clock);
  EXPECT_EQ(timer.Tick(30, ReminderAction::MonitorOff, window), ReminderFired::No);
  clock.now.minute = 30, clock.now.second = 0;
  EXPECT_EQ(timer.Tick(30, ReminderAction::MonitorOff, window), ReminderFired::MonitorOff);
  EXPECT_EQ(timer.Tick(30, ReminderAction::MonitorOff, window), ReminderFired::No);
  ASSERT_EQ(received.size(), 1u);
  EXPECT_EQ(received[0].wParam, static_cast<WPARAM>(SC_MONITORPOWER));
  EXPECT_EQ(received[0].lParam, 1);

  clock.now.hour = 11, clock.now.minute = 29, clock.now.second = 59;
  timer.Tick(30, ReminderAction::Message, window);
  clock.now.minute = 30, clock.now.second = 0;
  EXPECT_EQ(timer.Tick(30, ReminderAction::Message, window), ReminderFired::ShowMessage);
  EXPECT_EQ(received.size(), 1u);

  clock.now.hour = 12, clock.now.minute = 15;
  for (int s = 0; s < 3; ++s) EXPECT_EQ(timer.Tick(75, ReminderAction::MonitorOff, window), ReminderFired::No);
}

TEST(TrayArea, FindsTheNotifyChildAndNothingWhereTheShellHasNone) {
  WNDCLASSW top{};
  top.lpfnWndProc = DefWindowProcW;
  top.hInstance = GetModuleHandleW(nullptr);
  top.lpszClassName = L"QltFakeTrayWnd";
  RegisterClassW(&top);
  WNDCLASSW child = top;
  child.lpszClassName = L"QltFakeNotifyWnd";
  RegisterClassW(&child);
  HWND bar = CreateWindowExW(0, L"QltFakeTrayWnd", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, top.hInstance, nullptr);
  HWND area = CreateWindowExW(0, L"QltFakeNotifyWnd", L"", WS_CHILD, 0, 0, 5, 5, bar, nullptr, top.hInstance, nullptr);
  EXPECT_EQ(FindChildOfTopLevel(L"QltFakeTrayWnd", L"QltFakeNotifyWnd"), area);
  EXPECT_EQ(FindChildOfTopLevel(L"QltNoSuchClass", L"QltFakeNotifyWnd"), nullptr);
  DestroyWindow(bar);
  // Wine's taskbar has no "TrayNotifyWnd" child: hiding the notification area does nothing there.
  EXPECT_NE(FindWindowW(L"Shell_TrayWnd", nullptr), nullptr);
  EXPECT_EQ(FindTrayNotifyWnd(), nullptr);
}

}  // namespace
}  // namespace qlt
