// The IP/DNS dialog of the running QLT.exe, opened from the tray menu's "切换IP地址": its six boxes
// from QLT.ini, closing saving them, and the buttons running netsh (a recorder program put beside
// QLT.exe as netsh.exe, which WinExec finds first) and writing "NameServer", or refusing a wrong
// address with a message and changing nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <thread>

#include "tests/e2e/Desktop.h"
#include "tests/e2e/QltProcess.h"

namespace qlt::e2e {
namespace {

using test::PutRecorder;
using test::RecorderRan;
using test::TakeRecordedCommandLine;

constexpr wchar_t kTcpipKey[] = L"SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters";

// "NameServer" as stored: every byte of its data, NULs included.
std::optional<std::wstring> NameServerData() { return test::RegistryData(HKEY_LOCAL_MACHINE, kTcpipKey, L"NameServer"); }

void SetNameServer(const std::wstring& text) {
  test::SetRegistryString(HKEY_LOCAL_MACHINE, kTcpipKey, L"NameServer", text);
}

class IpDnsDialog : public ::testing::Test {
 protected:
  void SetUp() override { SetNameServer(L""); }
  void TearDown() override {
    if (qlt_.Running()) qlt_.Kill();
    SetNameServer(L"");
  }

  // Starts QLT; `afterStart` runs once QLT's thread is in its message loop (both windows made).
  void Start(const std::function<void()>& afterStart = [] {}) {
    qlt_.Start();
    main_ = qlt_.WaitForTopLevelWindow(L"TFrm_Main");
    ASSERT_NE(main_, nullptr);
    DWORD_PTR ignored = 0;
    ASSERT_TRUE(SendMessageTimeoutW(main_, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &ignored));
    afterStart();
  }
  // Opens the dialog from the tray menu; its window, once visible.
  HWND OpenDialog() {
    if (!ChooseFromTrayMenu(main_, qlt_.Id(), kTrayMenuIpItem)) return nullptr;
    HWND dialog = nullptr;
    WaitUntil([&] { return (dialog = qlt_.FindTopLevelWindow(L"TFrm_IPDNS")) && IsWindowVisible(dialog); });
    return dialog && IsWindowVisible(dialog) ? dialog : nullptr;
  }
  HWND StartAndOpenDialog() {
    Start();
    return main_ ? OpenDialog() : nullptr;
  }

  // The three boxes of a set, top to bottom.
  static std::vector<HWND> Boxes(HWND dialog, const std::wstring& group) {
    std::vector<HWND> boxes = Descendants(FindDescendant(dialog, L"TGroupBox", group), L"TEdit");
    std::sort(boxes.begin(), boxes.end(), [](HWND a, HWND b) { return RectInParent(a).top < RectInParent(b).top; });
    return boxes;
  }
  static std::vector<std::wstring> Texts(const std::vector<HWND>& boxes) {
    std::vector<std::wstring> texts;
    for (HWND box : boxes) texts.push_back(ControlText(box));
    return texts;
  }
  // WinExec looks beside QLT.exe first: there the recorder is netsh.
  void PutRecorderAsNetsh() { ASSERT_TRUE(PutRecorder(netsh_)); }

  ScratchFolder folder_;
  QltProcess qlt_{folder_};
  HWND main_ = nullptr;
  const std::wstring netsh_ = folder_.File(L"netsh.exe");
};

TEST_F(IpDnsDialog, FirstStartShowsSixEmptyBoxesAndClosingSavesThemAll) {
  HWND dialog = StartAndOpenDialog();
  ASSERT_NE(dialog, nullptr);
  ASSERT_TRUE(IsWindowVisible(dialog)) << "\"切换IP地址\" shows the dialog";
  EXPECT_EQ(TextOf(dialog), L"修改IP\\DNS地址");
  const std::vector<HWND> first = Boxes(dialog, L"第一个地址");
  const std::vector<HWND> second = Boxes(dialog, L"第二个地址");
  ASSERT_EQ(first.size(), 3u);
  ASSERT_EQ(second.size(), 3u);
  EXPECT_EQ(Texts(first), (std::vector<std::wstring>{L"", L"", L""}));
  EXPECT_EQ(Texts(second), (std::vector<std::wstring>{L"", L"", L""}));
  std::this_thread::sleep_for(300ms);  // painted
  SaveScreenshot(L"ipdns-dialog-first-start");

  PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);  // the close box
  ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(dialog); }));
  EXPECT_TRUE(IsWindow(dialog)) << "closing hides the dialog";
  const std::string ini = folder_.ReadBytes(L"QLT.ini").value_or("");
  EXPECT_NE(ini.find("[IPDNS1]\r\nIP=\r\nNet=\r\nDNS=\r\n"), std::string::npos) << ini;
  EXPECT_NE(ini.find("[IPDNS2]\r\nIP=\r\nNet=\r\nDNS=\r\n"), std::string::npos) << ini;
}

TEST_F(IpDnsDialog, StoredValuesAreReadAtStartShownTrimmedAndSavedAsShown) {
  folder_.WriteBytes(L"QLT.ini", "[IPDNS1]\r\nIP=\"  10.0.0.5  \"\r\nNet=10.0.0.1\r\nDNS=10.0.0.2\r\n"
                                 "[IPDNS2]\r\nIP=\" 192.168.1.7\"\r\nNet=\"192.168.1.1 \"\r\nDNS=192.168.1.2\r\n");
  // The dialog was made at start: what the file says later does not reach it.
  Start([&] { folder_.WriteBytes(L"QLT.ini", "[IPDNS1]\r\nIP=1.1.1.1\r\n"); });
  HWND dialog = OpenDialog();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(Texts(Boxes(dialog, L"第一个地址")), (std::vector<std::wstring>{L"10.0.0.5", L"10.0.0.1", L"10.0.0.2"}));
  EXPECT_EQ(Texts(Boxes(dialog, L"第二个地址")),
            (std::vector<std::wstring>{L"192.168.1.7", L"192.168.1.1", L"192.168.1.2"}));
  PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(dialog); }));
  const std::string ini = folder_.ReadBytes(L"QLT.ini").value_or("");
  EXPECT_NE(ini.find("[IPDNS1]\r\nIP=10.0.0.5\r\nNet=10.0.0.1\r\nDNS=10.0.0.2\r\n"), std::string::npos) << ini;
  EXPECT_NE(ini.find("[IPDNS2]\r\nIP=192.168.1.7\r\nNet=192.168.1.1\r\nDNS=192.168.1.2\r\n"), std::string::npos)
      << ini;
}

TEST_F(IpDnsDialog, FirstSetRunsNetshAndSetsTheNameServerAndSavesNothing) {
  PutRecorderAsNetsh();
  folder_.WriteBytes(L"QLT.ini", "[IPDNS1]\r\nIP=10.0.0.5\r\nNet=10.0.0.1\r\nDNS=10.0.0.2\r\n");
  std::string stored;  // as the start left it (the main window writes its options back)
  Start([&] { stored = folder_.ReadBytes(L"QLT.ini").value_or(""); });
  HWND dialog = OpenDialog();
  ASSERT_NE(dialog, nullptr);
  ClickAt(CentreOf(FindDescendant(dialog, L"TButton", L"使用第一个地址")));
  EXPECT_EQ(TakeRecordedCommandLine(netsh_),
            test::WideToCodePage(L"netsh interface ip set address 本地连接 static 10.0.0.5 255.255.255.0 10.0.0.1 1",
                                 936));
  ASSERT_TRUE(WaitUntil([] { return NameServerData().value_or(L"") != std::wstring(1, L'\0'); }));
  EXPECT_EQ(NameServerData(), std::wstring(L"10.0.0.2 10.0.0.5\0\0", 19)) << "the text and one NUL more";
  EXPECT_EQ(folder_.ReadBytes(L"QLT.ini"), stored) << "applying saves nothing";
  EXPECT_EQ(WaitForMessageBox(qlt_.Id(), 300ms), nullptr);
}

TEST_F(IpDnsDialog, AWrongOrEmptyAddressIsNamedAndNothingRunsOrIsWritten) {
  PutRecorderAsNetsh();
  SetNameServer(L"10.9.9.9");
  folder_.WriteBytes(L"QLT.ini", "[IPDNS1]\r\nIP=10.0.0.300\r\nNet=10.0.0.1\r\nDNS=10.0.0.2\r\n");
  HWND dialog = StartAndOpenDialog();
  ASSERT_NE(dialog, nullptr);
  HWND apply = FindDescendant(dialog, L"TButton", L"使用第一个地址");
  ClickAt(CentreOf(apply));
  HWND box = WaitForMessageBox(qlt_.Id());
  ASSERT_NE(box, nullptr) << "no message for 10.0.0.300";
  EXPECT_NE(MessageBoxText(box).find(L"第一个地址的IP地址"), std::wstring::npos);
  EXPECT_NE(MessageBoxText(box).find(L"10.0.0.300"), std::wstring::npos);
  SaveScreenshot(L"ipdns-wrong-address");
  PressOk(box);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }));

  // The user mends the address and leaves the gateway empty.
  const std::vector<HWND> first = Boxes(dialog, L"第一个地址");
  SendMessageW(first[0], WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"10.0.0.30"));
  SendMessageW(first[1], WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
  ClickAt(CentreOf(apply));
  box = WaitForMessageBox(qlt_.Id());
  ASSERT_NE(box, nullptr) << "no message for an empty gateway";
  EXPECT_NE(MessageBoxText(box).find(L"第一个地址的网关地址"), std::wstring::npos);
  PressOk(box);

  // A netsh started by either click would have written its command line by now.
  EXPECT_FALSE(WaitUntil([&] { return RecorderRan(netsh_); }, 1s)) << "netsh must not run for a wrong set";
  EXPECT_EQ(NameServerData(), std::wstring(L"10.9.9.9", 9)) << "the DNS server must stay";
}

}  // namespace
}  // namespace qlt::e2e
