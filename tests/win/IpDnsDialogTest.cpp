// The IP/DNS dialog as the user meets it: created hidden with the stored sets, the buttons
// applying a set through netsh (a recorder program stands in for it beside the test program) and
// the "NameServer" value, a wrong text refused with the field named, and closing saving the boxes.
#include <windows.h>

#include <gtest/gtest.h>

#include "app/WinText.h"
#include "tests/win/UiTestSupport.h"
#include "tests/win/WinTestSupport.h"
#include "tools/AddressSet.h"
#include "tools/FrmIPDNS.h"
#include "ui/Handles.h"
#include "ui/Utf.h"

namespace qlt {
namespace {

using namespace std::chrono_literals;
using test::FileExists;
using test::ReadFileBytes;
using test::RecorderRan;
using test::TakeRecordedCommandLine;
using test::WriteFileBytes;

std::wstring Beside(const std::wstring& name) { return test::TestProgramDirectory() + name; }

std::string ToUtf8(const std::wstring& text) { return Utf16ToUtf8(ToU16(text)); }

// The raw data of "NameServer": the bytes as stored, NULs included.
std::optional<std::wstring> NameServerData() {
  return test::RegistryData(HKEY_LOCAL_MACHINE, ToWide(kTcpipParametersKey), L"NameServer");
}

class IpDnsDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    RemoveTraces();
    ASSERT_TRUE(test::PutRecorder(netsh_));
  }
  void TearDown() override {
    delete Frm_IPDNS;
    Frm_IPDNS = nullptr;
    RemoveTraces();
    DeleteFileW(netsh_.c_str());
  }
  void RemoveTraces() {
    DeleteFileW(ini_.c_str());
    TakeRecordedCommandLine(netsh_, 0ms);  // a command line left by a test is forgotten
    test::DeleteRegistryValue(HKEY_LOCAL_MACHINE, ToWide(kTcpipParametersKey), L"NameServer");
  }
  TFrm_IPDNS* Create() { return Frm_IPDNS = NewForm<TFrm_IPDNS>(Application); }
  std::string IniBytes() const { return ReadFileBytes(ini_); }
  // The button pressed as the system passes a click on to its parent.
  static void Press(TButton* button) { SendMessageW(button->Handle(), BM_CLICK, 0, 0); }

  const std::wstring ini_ = Beside(L"QLT.ini");
  const std::wstring netsh_ = Beside(L"netsh.exe");
};

TEST_F(IpDnsDialog, CreatedHiddenWithTheStoredSetsTrimmedAndNothingElse) {
  TFrm_IPDNS* dialog = Create();
  EXPECT_FALSE(IsWindowVisible(dialog->Handle()));
  EXPECT_EQ(dialog->Name(), u"Frm_IPDNS");
  EXPECT_EQ(test::TextOf(dialog->Handle()), L"修改IP\\DNS地址");
  RECT outer{};
  GetWindowRect(dialog->Handle(), &outer);
  EXPECT_EQ(outer.right - outer.left, 487);
  EXPECT_EQ(outer.bottom - outer.top, 211);
  EXPECT_TRUE(GetWindowLongW(dialog->Handle(), GWL_STYLE) & WS_THICKFRAME) << "a sizeable border";
  EXPECT_EQ(dialog->Button2->Caption(), u"使用第一个地址");
  EXPECT_EQ(dialog->Button1->Caption(), u"使用第二个地址");
  EXPECT_EQ(dialog->GroupBox1->Caption(), u"第一个地址");
  EXPECT_EQ(dialog->GroupBox2->Caption(), u"第二个地址");
  EXPECT_EQ(dialog->GroupBox1->TabOrder(), 0);
  EXPECT_EQ(dialog->GroupBox2->TabOrder(), 1);
  EXPECT_EQ(dialog->Button2->TabOrder(), 2);
  EXPECT_EQ(dialog->Button1->TabOrder(), 3);
  EXPECT_LT(dialog->Edit1->Top(), dialog->Edit2->Top());
  EXPECT_LT(dialog->Edit2->Top(), dialog->Edit3->Top());
  // No keys in the file: the design-time addresses are gone, every box is empty.
  EXPECT_EQ(dialog->TypedSets().first, AddressSet{});
  EXPECT_EQ(dialog->TypedSets().second, AddressSet{});
  EXPECT_FALSE(FileExists(ini_)) << "creating the dialog writes nothing";
  delete dialog;
  Frm_IPDNS = nullptr;

  ASSERT_TRUE(WriteFileBytes(ini_, "[IPDNS1]\r\nIP=\"  10.0.0.5  \"\r\nNet=10.0.0.1\r\nDNS=10.0.0.2\r\n"
                       "[IPDNS2]\r\nIP=192.168.1.7\r\nNet=\" 192.168.1.1\"\r\n"));
  dialog = Create();
  EXPECT_EQ(dialog->TypedSets().first, (AddressSet{u"10.0.0.5", u"10.0.0.1", u"10.0.0.2"}));
  EXPECT_EQ(dialog->TypedSets().second, (AddressSet{u"192.168.1.7", u"192.168.1.1", u""}));
}

TEST_F(IpDnsDialog, ClosingSavesAllSixAsTypedAndApplyingSavesNothing) {
  TFrm_IPDNS* dialog = Create();
  dialog->Show();
  dialog->Edit1->SetText(u"10.0.0.5");
  dialog->Edit2->SetText(u"10.0.0.1");
  dialog->Edit3->SetText(u"10.0.0.2");
  dialog->Edit4->SetText(u"10.0.0.300");
  dialog->Edit5->SetText(u"gw 1");
  dialog->Edit6->SetText(u"8.8.8.8");
  Press(dialog->Button2);
  ASSERT_TRUE(test::WaitUntil([&] { return RecorderRan(netsh_); })) << "set 1 was applied";
  EXPECT_FALSE(FileExists(ini_)) << "applying saves nothing";

  // The close box: the dialog is hidden, not freed, and the six texts are in the file as typed.
  SendMessageW(dialog->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_FALSE(IsWindowVisible(dialog->Handle()));
  EXPECT_TRUE(FormExists(u"Frm_IPDNS"));
  EXPECT_EQ(ReadFileBytes(ini_), "[IPDNS1]\r\nIP=10.0.0.5\r\nNet=10.0.0.1\r\nDNS=10.0.0.2\r\n"
                                 "[IPDNS2]\r\nIP=10.0.0.300\r\nNet=gw 1\r\nDNS=8.8.8.8\r\n")
      << "wrong texts are kept as the user wrote them";

  // Shown again: the boxes hold what they held.
  ShowIpDnsDialog();
  EXPECT_EQ(Frm_IPDNS, dialog);
  EXPECT_TRUE(IsWindowVisible(dialog->Handle()));
  EXPECT_EQ(dialog->Edit5->Text(), u"gw 1");
}

TEST_F(IpDnsDialog, FirstButtonRunsNetshWithSetOneAndWritesTheNameServerWithTheExtraNul) {
  TFrm_IPDNS* dialog = Create();
  dialog->Show();
  dialog->Edit1->SetText(u"10.0.0.5");
  dialog->Edit2->SetText(u"10.0.0.1");
  dialog->Edit3->SetText(u"10.0.0.2");
  dialog->Edit4->SetText(u"172.16.0.9");
  dialog->Edit5->SetText(u"172.16.0.1");
  dialog->Edit6->SetText(u"172.16.0.2");
  test::MessageBoxWatcher boxes(GetCurrentThreadId());
  Press(dialog->Button2);
  EXPECT_EQ(TakeRecordedCommandLine(netsh_),
            WideToAnsi(L"netsh interface ip set address 本地连接 static 10.0.0.5 255.255.255.0 10.0.0.1 1", 936));
  EXPECT_EQ(NameServerData(), std::wstring(L"10.0.0.2 10.0.0.5\0\0", 19)) << "the text, one extra NUL, its own NUL";

  Press(dialog->Button1);
  EXPECT_EQ(TakeRecordedCommandLine(netsh_), "netsh interface ip set address " + WideToAnsi(L"本地连接", 936) +
                                          " static 172.16.0.9 255.255.255.0 172.16.0.1 1");
  EXPECT_EQ(NameServerData(), std::wstring(L"172.16.0.2 172.16.0.9\0\0", 23));
  EXPECT_TRUE(boxes.Seen().empty()) << "a set that is applied shows no message";
}

TEST_F(IpDnsDialog, AWrongTextIsNamedFocusedAndNothingIsStartedOrWritten) {
  TFrm_IPDNS* dialog = Create();
  dialog->Show();
  dialog->Edit4->SetText(u"10.0.0.300");
  dialog->Edit5->SetText(u"10.0.0.1");
  dialog->Edit6->SetText(u"10.0.0.2");
  {
    test::MessageBoxWatcher boxes(GetCurrentThreadId());
    Press(dialog->Button1);
    ASSERT_TRUE(test::PumpUntil([&] { return !boxes.Seen().empty(); }));
    const auto seen = boxes.Seen();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption, ToWide(Application->Title()));
    EXPECT_NE(seen[0].text.find(L"第二个地址的IP地址"), std::wstring::npos) << ToUtf8(seen[0].text);
    EXPECT_NE(seen[0].text.find(L"10.0.0.300"), std::wstring::npos);
  }
  EXPECT_TRUE(dialog->Edit4->Focused()) << "the wrong box has the focus";

  dialog->Edit1->SetText(u"10.0.0.5");
  dialog->Edit2->SetText(u"   ");
  dialog->Edit3->SetText(u"10.0.0.2");
  {
    test::MessageBoxWatcher boxes(GetCurrentThreadId());
    Press(dialog->Button2);
    ASSERT_TRUE(test::PumpUntil([&] { return !boxes.Seen().empty(); }));
    EXPECT_NE(boxes.Seen()[0].text.find(L"第一个地址的网关地址"), std::wstring::npos);
  }
  EXPECT_TRUE(dialog->Edit2->Focused());
  test::PumpFor(300ms);
  EXPECT_FALSE(RecorderRan(netsh_)) << "netsh was not started";
  EXPECT_FALSE(NameServerData().has_value()) << "the DNS server was not written";
  EXPECT_FALSE(FileExists(ini_)) << "the typed texts are only saved when the dialog closes";
}

TEST_F(IpDnsDialog, ShowingCreatesTheDialogAgainOnlyWhenItIsGone) {
  ASSERT_TRUE(WriteFileBytes(ini_, "[IPDNS2]\r\nDNS=10.1.1.1\r\n"));
  TFrm_IPDNS* first = Create();
  first->Edit6->SetText(u"typed, not saved");
  delete first;
  Frm_IPDNS = nullptr;
  EXPECT_FALSE(FormExists(u"Frm_IPDNS"));

  ShowIpDnsDialog();
  ASSERT_NE(Frm_IPDNS, nullptr);
  EXPECT_TRUE(FormExists(u"Frm_IPDNS"));
  EXPECT_TRUE(IsWindowVisible(Frm_IPDNS->Handle()));
  EXPECT_EQ(Frm_IPDNS->Edit6->Text(), u"10.1.1.1") << "a new dialog reads the file";
}

}  // namespace
}  // namespace qlt
