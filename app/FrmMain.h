#pragma once
// The main window TFrm_Main: it lives hidden behind its tray icon, holds the choice of programs
// (the selection list and the running processes) and the options, and runs the exit sequence.
// Its controls, their design values and the handler bindings come from its description,
// resources/forms/FrmMain.form.
#include <windows.h>

#include <memory>

#include "app/HideZVQ.h"
#include "app/HotKey.h"
#include "app/ReminderTimer.h"
#include "app/SelectList.h"
#include "app/SettingsFile.h"
#include "app/TrayIcon.h"
#include "skin/data/WinSkinData.h"
#include "ui/ComCtrls.h"
#include "ui/Forms.h"
#include "ui/Menus.h"
#include "ui/StdCtrls.h"

namespace qlt {

class TFrm_Main : public TForm {
  QLT_CLASS(TFrm_Main)
 public:
  explicit TFrm_Main(TComponent* owner);
  ~TFrm_Main() override;

  // Components, set by name when the description is read.
  TPageControl* PageControl1 = nullptr;
  TTabSheet* TabSheet1 = nullptr;
  TLabel* Label2 = nullptr;
  TLabel* Label3 = nullptr;
  TListBox* Lst_ALLP = nullptr;
  TListBox* Lst_SelectP = nullptr;
  TTabSheet* TabSheet2 = nullptr;
  TGroupBox* GroupBox1 = nullptr;
  TRadioButton* Rad_Kill = nullptr;
  TRadioButton* Rad_Hide = nullptr;
  TRadioButton* Rad_AP = nullptr;
  TSpinEdit* Edt_AP = nullptr;
  TLabel* Label7 = nullptr;
  TGroupBox* GroupBox3 = nullptr;
  TCheckBox* Chk_Volume = nullptr;
  TCheckBox* Chk_TP = nullptr;
  TGroupBox* GroupBox2 = nullptr;
  TLabel* Label6 = nullptr;
  TSpinEdit* Edt_M = nullptr;
  TRadioButton* Rad_Close = nullptr;
  TRadioButton* Rad_MSG = nullptr;
  TCheckBox* Chk_Auto = nullptr;
  TLabel* Label1 = nullptr;
  TLabel* Lab_key = nullptr;
  TLabel* Label4 = nullptr;
  TLabel* Label8 = nullptr;
  TLabel* Label5 = nullptr;
  TButton* Btn_Hide = nullptr;
  TButton* Btn_Show = nullptr;
  TButton* Btn_Color = nullptr;
  TEdit* Edt_Color = nullptr;
  TEdit* Edt_Color1 = nullptr;
  TTimer* Timer1 = nullptr;
  TPopupMenu* PopupMenu1 = nullptr;
  TMenuItem* N2 = nullptr;
  TMenuItem* N6 = nullptr;
  TMenuItem* N5 = nullptr;
  TMenuItem* IP1 = nullptr;
  TMenuItem* N4 = nullptr;
  TMenuItem* N1 = nullptr;
  TMenuItem* N3 = nullptr;
  TSkinData* SkinData1 = nullptr;  // carries the default skin; skins every form and menu

  // Start, exit and the tray menu.
  void FormCreate(TObject* Sender);
  void FormCloseQuery(TObject* Sender, bool& CanClose);
  void FormClose(TObject* Sender, TCloseAction& Action);
  void FormDestroy(TObject* Sender);
  void N1Click(TObject* Sender);
  void N3Click(TObject* Sender);

  // The choice of programs.
  void Lst_ALLPDblClick(TObject* Sender);
  void Lst_SelectPDblClick(TObject* Sender);

  // The options: each stores its value in QLT.ini the moment it changes.
  void Rad_HideClick(TObject* Sender);
  void Rad_KillClick(TObject* Sender);
  void Rad_APClick(TObject* Sender);
  void Edt_APChange(TObject* Sender);
  void Chk_TPClick(TObject* Sender);
  void Chk_VolumeClick(TObject* Sender);
  void Rad_CloseClick(TObject* Sender);
  void Rad_MSGClick(TObject* Sender);
  void Edt_MChange(TObject* Sender);

  // The hide and restore steps and the hotkey dialog (the click of Lab_key and of Label1).
  void Btn_HideClick(TObject* Sender);
  void Btn_ShowClick(TObject* Sender);
  void Lab_keyClick(TObject* Sender);

  // The reminder, autostart, the links, the IP/DNS dialog and the colour tool.
  void Timer1Timer(TObject* Sender);
  void Chk_AutoClick(TObject* Sender);
  void Label5Click(TObject* Sender);
  void Label8Click(TObject* Sender);
  void N5Click(TObject* Sender);
  void N6Click(TObject* Sender);
  void IP1Click(TObject* Sender);
  void Btn_ColorClick(TObject* Sender);

  // Fills both lists (the selection list, the running processes), shows the window and brings it
  // to the front.
  void ShowMainWindow();
  void RefreshProcessList();
  // The hotkey's and the tray icon's right button: hides the chosen programs, or brings back what
  // the last press hid.
  void ToggleHidden();

  bool HiddenFlag() const { return hide_ && hide_->Hidden(); }
  const SelectList& Selection() const { return selectList_; }
  int RemindMinute() const { return remindMinute_; }

 protected:
  void WndProc(TMessage& message) override;

 private:
  FormSettings LoadSettings();
  void LoadSelection();
  void TrayCallback(UINT mouseMessage);
  void ShowTrayMenu();
  void ShowForAnotherStart();

  // The hide engine and the global hotkey.
  void StartHideEngine();
  void RegisterStoredHotKey(const std::u16string& text, bool firstStart);
  // Tells the user something that went wrong outside a dialog: a balloon at the tray icon, or a
  // message once the message loop runs.
  void Notify(const std::u16string& text);
  HideOptions CurrentHideOptions() const;

  SelectList selectList_;   // the chosen executable names, "data.txt"
  int remindMinute_ = 0;    // the minute of the hour at which the reminder fires
  SettingsFile settings_;   // section "Form" of QLT.ini
  std::unique_ptr<TrayIcon> trayIcon_;
  std::unique_ptr<HideZVQ> hide_;           // HiddenFlag and the windows the last hide acted on
  std::unique_ptr<GlobalHotKey> hotKey_;    // "Hotkeyzvq"
  std::u16string pendingMessage_;           // a message for the user, shown once the loop runs
  bool loadingSettings_ = false;  // the stored values are being put into the controls
  bool keepDataFile_ = false;     // data.txt could not be read at start: it is never overwritten
  ReminderTimer reminder_;        // Timer1's clock and the once-an-hour rule
};

}  // namespace qlt
