// The hotkey dialog as the main window uses it (EditHotKey): shown modally, driven with real mouse
// and keyboard input from a timer while its modal loop runs.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "tests/win/UiTestSupport.h"
#include "tools/FrmHotKey.h"
#include "ui/ComCtrls.h"

namespace qlt {
namespace {

using namespace test;

TFrm_HotKey* OpenDialog() {
  HWND window = FindWindowW(L"TFrm_HotKey", nullptr);
  auto* form = dynamic_cast<TFrm_HotKey*>(TWinControl::FindControl(window));
  return form && form->Modal() && IsWindowVisible(window) ? form : nullptr;
}

struct DialogRun {
  std::u16string result;
  bool userRan = false;
  bool closedByTest = false;  // the user's actions did not end the dialog
};

// Runs EditHotKey(current); once the dialog shows, `user` acts on it as a person would. A dialog
// the user's actions leave open is closed after a while, and the run says so.
DialogRun RunDialog(const std::u16string& current, const std::function<void(TFrm_HotKey&)>& user) {
  DialogRun run;
  TTimer timer(nullptr);
  timer.SetInterval(50);
  bool busy = false;
  DWORD userDone = 0;
  timer.OnTimer = [&](TObject*) {
    if (busy) return;
    TFrm_HotKey* form = OpenDialog();
    if (!form) return;
    if (!run.userRan) {
      busy = true;
      run.userRan = true;
      user(*form);
      userDone = GetTickCount();
      busy = false;
    } else if (GetTickCount() - userDone > 3000) {
      run.closedByTest = true;
      PostMessageW(form->Handle(), WM_CLOSE, 0, 0);
    }
  };
  run.result = EditHotKey(current);
  return run;
}

void Click(TWinControl* control) { ClickAt(CentreOf(control->Handle())); }

// Opens the key list with the mouse, walks to the key with the arrow keys and clicks it.
void ChooseKey(TFrm_HotKey& form, const std::u16string& key) {
  HWND combo = form.Cmb_Key->Handle();
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  ASSERT_TRUE(GetComboBoxInfo(combo, &info));
  POINT arrow{(info.rcButton.left + info.rcButton.right) / 2, (info.rcButton.top + info.rcButton.bottom) / 2};
  ClientToScreen(combo, &arrow);
  ClickAt(arrow);
  ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(info.hwndList) != FALSE; })) << "the list did not open";
  const auto wanted = SendMessageW(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                   reinterpret_cast<LPARAM>(reinterpret_cast<const wchar_t*>(key.c_str())));
  ASSERT_GE(wanted, 0);
  for (int presses = 0; presses < 60; ++presses) {
    const auto at = SendMessageW(info.hwndList, LB_GETCURSEL, 0, 0);
    if (at == wanted) break;
    PressKey(at < wanted ? VK_DOWN : VK_UP);
  }
  ClickAt(ListBoxRowCentre(info.hwndList, static_cast<int>(wanted)));
  PumpUntil([&] { return !IsWindowVisible(info.hwndList); });
}

TEST(HotKeyDialog, IsTheFormOfItsDescription) {
  std::unique_ptr<TFrm_HotKey> form(NewForm<TFrm_HotKey>(nullptr));
  EXPECT_EQ(form->Caption(), u"热键设置");
  EXPECT_EQ(form->ClientWidth(), 362);
  EXPECT_EQ(form->ClientHeight(), 134);
  EXPECT_EQ(form->BorderStyle(), bsSingle);
  EXPECT_EQ(form->Position(), poScreenCenter);
  EXPECT_EQ(form->Font()->Name(), u"宋体");
  const LONG style = GetWindowLongW(form->Handle(), GWL_STYLE);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));

  // The choosers in the group box, then the two buttons, in tab order.
  const std::vector<TWinControl*> inGroup{form->Chk_Win, form->Chk_CTRL, form->Chk_Alt, form->Chk_Shift, form->Cmb_Key};
  const std::vector<std::u16string> captions{u"Win", u"Ctrl", u"Alt", u"Shift"};
  for (size_t i = 0; i < inGroup.size(); ++i) {
    EXPECT_EQ(inGroup[i]->Parent(), form->GroupBox1);
    EXPECT_EQ(inGroup[i]->TabOrder(), static_cast<int>(i));
    if (i < captions.size()) {
      EXPECT_EQ(inGroup[i]->Caption(), captions[i]);
    }
  }
  EXPECT_EQ(form->GroupBox1->Caption(), u"热键");
  EXPECT_EQ(form->GroupBox1->TabOrder(), 0);
  EXPECT_EQ(form->Btn_Yes->TabOrder(), 1);
  EXPECT_EQ(form->Btn_No->TabOrder(), 2);
  EXPECT_EQ(form->Btn_Yes->Caption(), u"确定");
  EXPECT_EQ(form->Btn_No->Caption(), u"取消");
  EXPECT_TRUE(form->Btn_No->Cancel());
  for (TBitBtn* button : {form->Btn_Yes, form->Btn_No}) {
    EXPECT_EQ(button->ButtonGlyph().NumGlyphs(), 2);
    EXPECT_EQ(button->Glyph()->Width(), 32);
    EXPECT_EQ(button->Glyph()->Height(), 16);
    EXPECT_EQ(button->Glyph()->TransparentColor(), clFuchsia);
  }
  EXPECT_FALSE(form->Lab_Hotkey->Visible());
  EXPECT_FALSE(form->Lab_Result->Visible());
  EXPECT_EQ(form->Lab_Result->Caption(), u"Lab_Result");

  // The key list: a blank, the digits, the letters, F1 to F12, ESC, "-" and "=".
  TStringList* items = form->Cmb_Key->Items();
  ASSERT_EQ(items->Count(), 52);
  EXPECT_EQ(items->Get(0), u" ");
  EXPECT_EQ(items->Get(1), u"0");
  EXPECT_EQ(items->Get(11), u"A");
  EXPECT_EQ(items->Get(36), u"Z");
  EXPECT_EQ(items->Get(37), u"F1");
  EXPECT_EQ(items->Get(48), u"F12");
  EXPECT_EQ(items->Get(49), u"ESC");
  EXPECT_EQ(items->Get(50), u"-");
  EXPECT_EQ(items->Get(51), u"=");
  EXPECT_EQ(SendMessageW(form->Cmb_Key->Handle(), CB_GETCOUNT, 0, 0), 52);
}

TEST(HotKeyDialog, ShowsModallyAtTheScreenCentreWithTheCurrentHotKeySplit) {
  const auto run = RunDialog(u"CTRL+ALT+Z", [](TFrm_HotKey& form) {
    RECT r{}, area{};
    GetWindowRect(form.Handle(), &r);
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);  // the screen less the taskbar
    EXPECT_NEAR((r.left + r.right) / 2, (area.left + area.right) / 2, 1);
    EXPECT_NEAR((r.top + r.bottom) / 2, (area.top + area.bottom) / 2, 1);
    EXPECT_EQ(GetForegroundWindow(), form.Handle());
    EXPECT_FALSE(form.Chk_Win->Checked());
    EXPECT_TRUE(form.Chk_CTRL->Checked());
    EXPECT_TRUE(form.Chk_Alt->Checked());
    EXPECT_FALSE(form.Chk_Shift->Checked());
    EXPECT_EQ(form.Cmb_Key->Text(), u"Z");
    Click(form.Btn_Yes);
  });
  EXPECT_TRUE(run.userRan);
  EXPECT_FALSE(run.closedByTest);
  EXPECT_EQ(run.result, u"1CTRL+ALT+Z") << "accepted unchanged";
  EXPECT_EQ(FindWindowW(L"TFrm_HotKey", nullptr), nullptr) << "the dialog is freed";

  struct Split {
    std::u16string text;
    bool win, ctrl, alt, shift;
    std::u16string key;
  };
  for (const Split& s : {Split{u"ctrl+z", false, false, false, false, u"ctrl+z"},
                         Split{u"ALT", false, false, true, false, u""},
                         Split{u"   ", false, false, false, false, u""},
                         Split{u"WIN+SHIFT+F12", true, false, false, true, u"F12"}}) {
    const auto shown = RunDialog(s.text, [&](TFrm_HotKey& form) {
      EXPECT_EQ(form.Chk_Win->Checked(), s.win);
      EXPECT_EQ(form.Chk_CTRL->Checked(), s.ctrl);
      EXPECT_EQ(form.Chk_Alt->Checked(), s.alt);
      EXPECT_EQ(form.Chk_Shift->Checked(), s.shift);
      EXPECT_EQ(form.Cmb_Key->Text(), s.key);
      PressKey(VK_ESCAPE);
    });
    EXPECT_FALSE(shown.closedByTest) << "Esc ends the dialog";
    EXPECT_EQ(shown.result, u"");
  }
}

TEST(HotKeyDialog, ChoosingModifiersAndAKeyComposesTheText) {
  const auto run = RunDialog(u"", [](TFrm_HotKey& form) {
    Click(form.Chk_CTRL);
    ChooseKey(form, u"Z");
    EXPECT_TRUE(form.Chk_CTRL->Checked());
    EXPECT_EQ(form.Cmb_Key->Text(), u"Z");
    Click(form.Btn_Yes);
  });
  EXPECT_FALSE(run.closedByTest);
  EXPECT_EQ(run.result, u"1CTRL+Z");

  // Ticked in any order, the modifiers come in the order WIN, CTRL, ALT, SHIFT.
  const auto all = RunDialog(u"", [](TFrm_HotKey& form) {
    for (TCheckBox* box : {form.Chk_Shift, form.Chk_Alt, form.Chk_Win, form.Chk_CTRL}) Click(box);
    ChooseKey(form, u"F12");
    Click(form.Btn_Yes);
  });
  EXPECT_EQ(all.result, u"1WIN+CTRL+ALT+SHIFT+F12");

  // Unticking a modifier of the current hotkey; the blank item means no key.
  const auto fewer = RunDialog(u"CTRL+ALT+Z", [](TFrm_HotKey& form) {
    Click(form.Chk_Alt);
    ChooseKey(form, u" ");
    Click(form.Btn_Yes);
  });
  EXPECT_EQ(fewer.result, u"1CTRL+ ") << "ends in the blank key, so it is kept";

  // Modifiers without a key: accepted, but no hotkey.
  const auto noKey = RunDialog(u"", [](TFrm_HotKey& form) {
    Click(form.Chk_Win);
    Click(form.Btn_Yes);
  });
  EXPECT_EQ(noKey.result, u"1");
}

TEST(HotKeyDialog, CancelAndEscapeChangeNothing) {
  const auto cancelled = RunDialog(u"CTRL+ALT+Z", [](TFrm_HotKey& form) {
    Click(form.Chk_Shift);
    ChooseKey(form, u"Q");
    Click(form.Btn_No);
  });
  EXPECT_FALSE(cancelled.closedByTest);
  EXPECT_EQ(cancelled.result, u"");

  const auto escaped = RunDialog(u"CTRL+ALT+Z", [](TFrm_HotKey& form) {
    Click(form.Chk_Win);
    PressKey(VK_ESCAPE);
  });
  EXPECT_FALSE(escaped.closedByTest);
  EXPECT_EQ(escaped.result, u"");

  // The close box is a cancel too.
  const auto closed = RunDialog(u"A", [](TFrm_HotKey& form) { PostMessageW(form.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0); });
  EXPECT_FALSE(closed.closedByTest);
  EXPECT_EQ(closed.result, u"");
}

TEST(HotKeyDialog, TypingIntoTheKeyBoxHasNoEffect) {
  const auto run = RunDialog(u"ALT+F5", [](TFrm_HotKey& form) {
    const HWND edit = form.Cmb_Key->EditHandle();
    ASSERT_NE(edit, nullptr);
    ClickAt(CentreOf(edit));
    ASSERT_EQ(GetFocus(), edit);
    TypeText(L"Qx9");
    PressKey(VK_BACK);
    // Pasting with Ctrl+V is a typed character too.
    if (OpenClipboard(form.Handle())) {
      EmptyClipboard();
      HGLOBAL text = GlobalAlloc(GMEM_MOVEABLE, 8);
      memcpy(GlobalLock(text), L"K\0", 4);
      GlobalUnlock(text);
      SetClipboardData(CF_UNICODETEXT, text);
      CloseClipboard();
    }
    PressKey('V', false);  // without Ctrl first: a plain letter
    PressKeys({VK_CONTROL, 'V'});
    PumpFor(std::chrono::milliseconds(50));
    EXPECT_EQ(form.Cmb_Key->Text(), u"F5");
    Click(form.Btn_Yes);
  });
  EXPECT_FALSE(run.closedByTest);
  EXPECT_EQ(run.result, u"1ALT+F5");
}

}  // namespace
}  // namespace qlt
