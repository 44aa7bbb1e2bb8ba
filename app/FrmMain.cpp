#include "app/FrmMain.h"

#include <utility>

#include "app/ColorTool.h"
#include "app/DataFile.h"
#include "app/LinkOpener.h"
#include "app/Links.h"
#include "app/ProcessList.h"
#include "app/Registry.h"
#include "app/WinText.h"
#include "tools/FrmHotKey.h"
#include "tools/FrmIPDNS.h"
#include "tools/FunVolume.h"

namespace qlt {
namespace {

constexpr char16_t kShowWindowCaption[] = u"显示窗口";
constexpr char16_t kHideWindowCaption[] = u"隐藏窗口";
// Without the journal a crash or a kill would leave the hidden windows hidden for good.
constexpr char16_t kJournalNotWrittenMessage[] =
    u"无法保存隐藏窗口的记录文件QLT.journal。如果QLT意外退出，被隐藏的窗口不会在下次启动时自动恢复；"
    u"请确认QLT所在的文件夹可以写入。";
// Posted to itself: a message of the start shown once the message loop runs.
constexpr UINT kShowPendingMessage = WM_APP + 1;

// Sets a flag for the lifetime of a scope.
class FlagScope {
 public:
  explicit FlagScope(bool& flag) : flag_(flag) { flag_ = true; }
  ~FlagScope() { flag_ = false; }
  FlagScope(const FlagScope&) = delete;
  FlagScope& operator=(const FlagScope&) = delete;

 private:
  bool& flag_;
};

}  // namespace

const TClassInfo& TFrm_Main::StaticClass() {
  static const TClassInfo info = ClassBuilder<TFrm_Main, TForm>("TFrm_Main")
      .Field("PageControl1", &TFrm_Main::PageControl1)
      .Field("TabSheet1", &TFrm_Main::TabSheet1)
      .Field("Label2", &TFrm_Main::Label2)
      .Field("Label3", &TFrm_Main::Label3)
      .Field("Lst_ALLP", &TFrm_Main::Lst_ALLP)
      .Field("Lst_SelectP", &TFrm_Main::Lst_SelectP)
      .Field("TabSheet2", &TFrm_Main::TabSheet2)
      .Field("GroupBox1", &TFrm_Main::GroupBox1)
      .Field("Rad_Kill", &TFrm_Main::Rad_Kill)
      .Field("Rad_Hide", &TFrm_Main::Rad_Hide)
      .Field("Rad_AP", &TFrm_Main::Rad_AP)
      .Field("Edt_AP", &TFrm_Main::Edt_AP)
      .Field("Label7", &TFrm_Main::Label7)
      .Field("GroupBox3", &TFrm_Main::GroupBox3)
      .Field("Chk_Volume", &TFrm_Main::Chk_Volume)
      .Field("Chk_TP", &TFrm_Main::Chk_TP)
      .Field("GroupBox2", &TFrm_Main::GroupBox2)
      .Field("Label6", &TFrm_Main::Label6)
      .Field("Edt_M", &TFrm_Main::Edt_M)
      .Field("Rad_Close", &TFrm_Main::Rad_Close)
      .Field("Rad_MSG", &TFrm_Main::Rad_MSG)
      .Field("Chk_Auto", &TFrm_Main::Chk_Auto)
      .Field("Label1", &TFrm_Main::Label1)
      .Field("Lab_key", &TFrm_Main::Lab_key)
      .Field("Label4", &TFrm_Main::Label4)
      .Field("Label8", &TFrm_Main::Label8)
      .Field("Label5", &TFrm_Main::Label5)
      .Field("Btn_Hide", &TFrm_Main::Btn_Hide)
      .Field("Btn_Show", &TFrm_Main::Btn_Show)
      .Field("Btn_Color", &TFrm_Main::Btn_Color)
      .Field("Edt_Color", &TFrm_Main::Edt_Color)
      .Field("Edt_Color1", &TFrm_Main::Edt_Color1)
      .Field("Timer1", &TFrm_Main::Timer1)
      .Field("PopupMenu1", &TFrm_Main::PopupMenu1)
      .Field("N2", &TFrm_Main::N2)
      .Field("N6", &TFrm_Main::N6)
      .Field("N5", &TFrm_Main::N5)
      .Field("IP1", &TFrm_Main::IP1)
      .Field("N4", &TFrm_Main::N4)
      .Field("N1", &TFrm_Main::N1)
      .Field("N3", &TFrm_Main::N3)
      .Field("SkinData1", &TFrm_Main::SkinData1)
      .Handler("FormCreate", &TFrm_Main::FormCreate)
      .Handler("FormCloseQuery", &TFrm_Main::FormCloseQuery)
      .Handler("FormClose", &TFrm_Main::FormClose)
      .Handler("FormDestroy", &TFrm_Main::FormDestroy)
      .Handler("N1Click", &TFrm_Main::N1Click)
      .Handler("N3Click", &TFrm_Main::N3Click)
      .Handler("Lst_ALLPDblClick", &TFrm_Main::Lst_ALLPDblClick)
      .Handler("Lst_SelectPDblClick", &TFrm_Main::Lst_SelectPDblClick)
      .Handler("Rad_HideClick", &TFrm_Main::Rad_HideClick)
      .Handler("Rad_KillClick", &TFrm_Main::Rad_KillClick)
      .Handler("Rad_APClick", &TFrm_Main::Rad_APClick)
      .Handler("Edt_APChange", &TFrm_Main::Edt_APChange)
      .Handler("Chk_TPClick", &TFrm_Main::Chk_TPClick)
      .Handler("Chk_VolumeClick", &TFrm_Main::Chk_VolumeClick)
      .Handler("Rad_CloseClick", &TFrm_Main::Rad_CloseClick)
      .Handler("Rad_MSGClick", &TFrm_Main::Rad_MSGClick)
      .Handler("Edt_MChange", &TFrm_Main::Edt_MChange)
      .Handler("Btn_HideClick", &TFrm_Main::Btn_HideClick)
      .Handler("Btn_ShowClick", &TFrm_Main::Btn_ShowClick)
      .Handler("Lab_keyClick", &TFrm_Main::Lab_keyClick)
      .Handler("Timer1Timer", &TFrm_Main::Timer1Timer)
      .Handler("Chk_AutoClick", &TFrm_Main::Chk_AutoClick)
      .Handler("Label5Click", &TFrm_Main::Label5Click)
      .Handler("Label8Click", &TFrm_Main::Label8Click)
      .Handler("N5Click", &TFrm_Main::N5Click)
      .Handler("N6Click", &TFrm_Main::N6Click)
      .Handler("IP1Click", &TFrm_Main::IP1Click)
      .Handler("Btn_ColorClick", &TFrm_Main::Btn_ColorClick)
      .Build();
  return info;
}

TFrm_Main::TFrm_Main(TComponent* owner) : TForm(owner) {}

TFrm_Main::~TFrm_Main() = default;

// ---- Start ----

void TFrm_Main::FormCreate(TObject*) {
  selectList_ = SelectList();
  // No taskbar button for the application: its owner window becomes a tool window.
  SetWindowLongW(Application->Handle(), GWL_EXSTYLE, WS_EX_TOOLWINDOW);

  // A failure to add the icon is not fatal: the icon comes back with the next taskbar, and the
  // hotkey still works.
  trayIcon_ = std::make_unique<TrayIcon>(Handle(), Icon()->Handle(), ToWide(Application->Title()));
  trayIcon_->Add();

  // Loading the settings writes the values it corrects, so QLT.ini exists from the first start on.
  const bool firstStart = GetFileAttributesW(settings_.Ini().Path().c_str()) == INVALID_FILE_ATTRIBUTES;
  const FormSettings stored = LoadSettings();
  LoadSelection();
  remindMinute_ = Edt_M->Value();
  StartHideEngine();
  RegisterStoredHotKey(stored.hotKey, firstStart);
}

void TFrm_Main::LoadSelection() {
  SelectListFile file = ReadSelectListFile();
  selectList_ = std::move(file.list);
  if (file.error) {
    // Saving at exit would replace the names the file holds by an empty list.
    keepDataFile_ = true;
    Application->ShowException(ToU16(*file.error) + u" The list of programs is not saved at exit.");
  }
}

FormSettings TFrm_Main::LoadSettings() {
  // SettingsFile::Load has already written back what the load rules change; the controls' own
  // handlers stay quiet meanwhile so nothing is written twice.
  FlagScope loading(loadingSettings_);
  const FormSettings values = settings_.Load();
  Lab_key->SetCaption(values.hotKey);
  Edt_M->SetValue(values.remindMinute);
  Edt_AP->SetValue(values.alpha);
  (values.reminder == ReminderAction::MonitorOff ? Rad_Close : Rad_MSG)->SetChecked(true);
  switch (values.hideMode) {
    case HideMode::Hide: Rad_Hide->SetChecked(true); break;
    case HideMode::Close: Rad_Kill->SetChecked(true); break;
    case HideMode::Translucent: Rad_AP->SetChecked(true); break;
  }
  Chk_TP->SetChecked(values.hideTray);
  Chk_Volume->SetChecked(values.muteVolume);
  return values;
}

// ---- Window messages ----

void TFrm_Main::WndProc(TMessage& m) {
  if (m.Msg == kTrayCallbackMessage) {
    TrayCallback(static_cast<UINT>(m.LParam));
    m.Result = 0;
    return;
  }
  switch (m.Msg) {
    case WM_HOTKEY:
      if (hotKey_ && hotKey_->IsOwnId(m.WParam)) ToggleHidden();
      m.Result = 0;
      return;
    case kShowPendingMessage:
      if (!pendingMessage_.empty()) Application->ShowMessage(std::exchange(pendingMessage_, u""));
      m.Result = 0;
      return;
    case WM_SYSCOMMAND:
      // The close box and Alt+F4 only hide the window; the program goes on in the tray.
      if (m.WParam == SC_CLOSE) {
        Hide();
        m.Result = 0;
        return;
      }
      break;
  }
  if (trayIcon_ && trayIcon_->HandleTaskbarCreated(m.Msg)) {
    m.Result = 0;
    return;
  }
  if (m.Msg == ShowMainWindowMessage()) {
    ShowForAnotherStart();
    m.Result = 0;
    return;
  }
  TForm::WndProc(m);
}

void TFrm_Main::TrayCallback(UINT mouseMessage) {
  switch (mouseMessage) {
    case WM_LBUTTONDOWN:
      ShowTrayMenu();
      break;
    case WM_RBUTTONDOWN:
      ToggleHidden();
      break;
    default:
      break;
  }
}

void TFrm_Main::ShowTrayMenu() {
  POINT cursor{};
  GetCursorPos(&cursor);
  // A popup menu closes on a click elsewhere only while its thread owns the foreground window;
  // the posted WM_NULL lets the menu's loop end properly, so the next opening works too.
  SetForegroundWindow(Handle());
  Application->ProcessMessages();
  PopupMenu1->Popup(cursor.x, cursor.y);
  PostMessageW(Handle(), WM_NULL, 0, 0);
}

void TFrm_Main::ShowForAnotherStart() {
  ShowMainWindow();
  N1->SetCaption(kHideWindowCaption);
}

// ---- Showing the window ----

void TFrm_Main::ShowMainWindow() {
  Lst_SelectP->Items()->Assign(selectList_.Names());
  RefreshProcessList();
  Show();
  SetForegroundWindow(Handle());
}

void TFrm_Main::RefreshProcessList() {
  std::vector<std::u16string> rows;
  for (auto& process : ListProcesses()) rows.push_back(std::move(process.exeName));
  Lst_ALLP->Items()->Assign(rows);
}

void TFrm_Main::N1Click(TObject*) {
  // By what the window really is: the close box hides it without touching this caption.
  if (HandleAllocated() && IsWindowVisible(Handle())) {
    Hide();
    N1->SetCaption(kShowWindowCaption);
  } else {
    ShowMainWindow();
    N1->SetCaption(kHideWindowCaption);
  }
}

// ---- The choice of programs ----

void TFrm_Main::Lst_ALLPDblClick(TObject*) {
  if (AddChosenProcess(selectList_, Lst_ALLP->Items()->Items(), Lst_ALLP->ItemIndex(), AnsiCodec())) {
    Lst_SelectP->Items()->Add(selectList_.Name(selectList_.Count() - 1));
  }
}

void TFrm_Main::Lst_SelectPDblClick(TObject*) {
  const int index = Lst_SelectP->ItemIndex();
  if (Lst_SelectP->Count() == 0 || index < 0 || index >= Lst_SelectP->Count()) return;
  if (RemoveChosen(selectList_, index)) Lst_SelectP->Items()->Delete(index);
}

// ---- The options ----

void TFrm_Main::Rad_HideClick(TObject*) {
  if (!loadingSettings_) settings_.SaveHideMode(HideMode::Hide);
}

void TFrm_Main::Rad_KillClick(TObject*) {
  if (!loadingSettings_) settings_.SaveHideMode(HideMode::Close);
}

void TFrm_Main::Rad_APClick(TObject*) {
  if (!loadingSettings_) settings_.SaveHideMode(HideMode::Translucent);
}

void TFrm_Main::Edt_APChange(TObject*) {
  // The value as typed; the box brings it into 1 to 255 when it loses the focus, and that
  // correction comes back here.
  if (!loadingSettings_) settings_.SaveAlpha(Edt_AP->Value());
}

void TFrm_Main::Chk_TPClick(TObject*) {
  if (!loadingSettings_) settings_.SaveHideTray(Chk_TP->Checked());
}

void TFrm_Main::Chk_VolumeClick(TObject*) {
  if (!loadingSettings_) settings_.SaveMute(Chk_Volume->Checked());
}

void TFrm_Main::Rad_CloseClick(TObject*) {
  if (!loadingSettings_) settings_.SaveReminder(ReminderAction::MonitorOff);
}

void TFrm_Main::Rad_MSGClick(TObject*) {
  if (!loadingSettings_) settings_.SaveReminder(ReminderAction::Message);
}

void TFrm_Main::Edt_MChange(TObject*) {
  remindMinute_ = Edt_M->Value();
  if (!loadingSettings_) settings_.SaveRemindMinute(remindMinute_);
}

// ---- Hiding and the hotkey ----

void TFrm_Main::StartHideEngine() {
  HideSeams seams;
  seams.setMute = [](bool mute) { SetLineMute(kSpeakersLine, mute ? 1 : 0); };
  seams.journalNotWritten = [this](const std::wstring&) { Notify(kJournalNotWrittenMessage); };
  hide_ = std::make_unique<HideZVQ>(DefaultJournalPath(), std::move(seams));
  // What an earlier run left hidden when it ended without restoring (killed, crashed) comes
  // back now.
  hide_->ReplayJournal();
}

HideOptions TFrm_Main::CurrentHideOptions() const {
  // Read at each press, as the options stand at that moment.
  HideOptions options;
  options.mode = Rad_Hide->Checked() ? HideMode::Hide : (Rad_Kill->Checked() ? HideMode::Close : HideMode::Translucent);
  options.alpha = ClampAlpha(Edt_AP->Value());  // the box may hold a value being typed
  options.hideTray = Chk_TP->Checked();
  options.mute = Chk_Volume->Checked();
  return options;
}

void TFrm_Main::ToggleHidden() {
  if (!hide_) return;  // a tray click while the start's own message box is up
  hide_->ToggleHidden(selectList_.Names(), CurrentHideOptions(), Handle());
}

void TFrm_Main::Btn_HideClick(TObject*) {
  if (!hide_) return;
  const HideOptions options = CurrentHideOptions();
  hide_->HideAll(selectList_.Names(), options.mode, options.alpha);
}

void TFrm_Main::Btn_ShowClick(TObject*) {
  if (hide_) hide_->RestoreWindows();
}

void TFrm_Main::RegisterStoredHotKey(const std::u16string& text, bool firstStart) {
  hotKey_ = std::make_unique<GlobalHotKey>(Handle());
  const std::u16string stored = Trim(text);
  // The label shows what is stored, also when it cannot be registered: that is what the user
  // chose, and the dialog starts from it.
  Lab_key->SetCaption(stored);
  const HotKeyOutcome outcome = hotKey_->Register(stored);
  if (outcome.ok()) return;
  // No hotkey stored is a choice, not a fault (the tray icon's right button toggles too); only the
  // very first start points to the hotkey once.
  if (!stored.empty()) {
    Notify(outcome.message);
  } else if (firstStart) {
    Notify(HotKeyProblemMessage(HotKeyState::NoKey, u""));
  }
}

void TFrm_Main::Lab_keyClick(TObject*) {
  const auto accepted = AcceptedHotKey(EditHotKey(settings_.ReadHotKey()));
  if (!accepted || !hotKey_) return;  // cancelled
  // The choice is stored whether or not it can be registered now; the next start registers it.
  settings_.SaveHotKey(*accepted);
  // It takes effect at once when it can; otherwise the hotkey in effect stays, and the label and
  // the message name both.
  const HotKeyOutcome outcome = hotKey_->Change(*accepted);
  Lab_key->SetCaption(HotKeyLabel(Trim(*accepted), outcome.activeText));
  if (!outcome.ok()) Application->ShowMessage(outcome.message);
}

void TFrm_Main::Notify(const std::u16string& text) {
  // A balloon does not hold the program up; where there is no notification area to show it, the
  // message comes once the message loop runs (never from inside the handler that found it).
  if (trayIcon_ && trayIcon_->ShowBalloon(ToWide(Application->Title()), ToWide(text))) return;
  if (!pendingMessage_.empty()) {
    pendingMessage_ += u"\r\n\r\n" + text;  // one box for what came before the loop got to it
    return;
  }
  pendingMessage_ = text;
  PostMessageW(Handle(), kShowPendingMessage, 0, 0);
}

// ---- Reminder, autostart, links, IP/DNS dialog, colour tool ----

void TFrm_Main::Timer1Timer(TObject*) {
  const ReminderAction action = Rad_MSG->Checked() ? ReminderAction::Message : ReminderAction::MonitorOff;
  // The rule has already counted this hour when the box opens: ticks that arrive while it is
  // open (its loop still delivers them) do not open another.
  if (reminder_.Tick(remindMinute_, action, Handle()) == ReminderFired::ShowMessage) {
    Application->ShowMessage(kReminderMessage);
  }
}

void TFrm_Main::Chk_AutoClick(TObject*) {
  // Never loaded from the registry: the box shows only what was done since this start.
  if (auto error = SetAutostart(Chk_Auto->Checked(), ExecutablePath())) throw ERegistryException(ToU16(*error));
}

void TFrm_Main::Label5Click(TObject*) { OpenLink(ToWide(kMakerSite)); }

void TFrm_Main::Label8Click(TObject*) { OpenLink(ToWide(kForumSite)); }

void TFrm_Main::N5Click(TObject*) { OpenLink(ToWide(kForumSite)); }

void TFrm_Main::N6Click(TObject*) { OpenLink(ToWide(kSearchSite)); }

void TFrm_Main::IP1Click(TObject*) { ShowIpDnsDialog(); }

void TFrm_Main::Btn_ColorClick(TObject*) {
  const std::u16string text = Trim(Edt_Color->Text());
  if (text.empty()) return;
  const ColorParse parsed = HexToColor(text);
  if (!parsed.color) throw EConvertError(parsed.error);  // the colour stays as it was
  SetColor(static_cast<TColor>(*parsed.color));
  Edt_Color1->SetText(ColorToText(*parsed.color));
}

// ---- Exit ----

void TFrm_Main::N3Click(TObject*) { Close(); }

void TFrm_Main::FormCloseQuery(TObject*, bool& CanClose) {
  if (HiddenFlag()) ToggleHidden();  // nothing stays hidden behind a program that has ended
  // The restoring calls are made on the engine's workers; they reach their windows before the end
  // (a program that does not answer holds this up for three seconds at most).
  if (hide_) hide_->WaitForWindowCalls(3000);
  Sleep(100);
  // The selection list is kept only here; when it cannot be written the program stays, so the
  // user's choice is not lost.
  if (keepDataFile_) return;
  if (auto error = SaveSelectList(selectList_)) {
    CanClose = false;
    Application->ShowException(ToU16(*error));
  }
}

void TFrm_Main::FormClose(TObject*, TCloseAction& Action) { Action = caFree; }

void TFrm_Main::FormDestroy(TObject*) {
  hotKey_.reset();    // releases the hotkey
  trayIcon_.reset();  // removes the icon
}

}  // namespace qlt
