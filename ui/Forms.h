#pragma once
// Forms, the application object and the screen.
//
// A form class declares its components and event handlers and is read from its description:
//
//   class TFrm_Main : public TForm {
//     QLT_CLASS(TFrm_Main)
//    public:
//     explicit TFrm_Main(TComponent* owner) : TForm(owner) {}
//     TButton* Btn_Hide = nullptr;           // set from the description by name
//     void Btn_HideClick(TObject* Sender);   // bound by "OnClick = Btn_HideClick"
//   };
//   const TClassInfo& TFrm_Main::StaticClass() {
//     static const TClassInfo info = ClassBuilder<TFrm_Main, TForm>("TFrm_Main")
//         .Field("Btn_Hide", &TFrm_Main::Btn_Hide)
//         .Handler("Btn_HideClick", &TFrm_Main::Btn_HideClick)
//         .Build();
//     return info;
//   }
//
//   Application->CreateForm(Frm_Main);                    // the description is the RCDATA resource
//   auto* dlg = NewForm<TFrm_HotKey>(Application);        // "TFRM_HOTKEY"
//   auto* f = NewFormFromText<TFrm_Test>(owner, text);    // a description given as text
#include <exception>
#include <string>
#include <vector>

#include "ui/Controls.h"
#include "ui/FormReader.h"
#include "ui/Menus.h"
#include "ui/SysUtils.h"

namespace qlt {

enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum TBorderIcon { biSystemMenu, biMinimize, biMaximize, biHelp };
using TBorderIcons = uint32_t;
enum TPosition { poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poDesktopCenter,
                 poMainFormCenter, poOwnerFormCenter };
enum TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
enum TCloseAction { caNone, caHide, caFree, caMinimize };
using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = std::function<void(TObject* Sender, bool& CanClose)>;

class TForm : public TWinControl {
  QLT_CLASS(TForm)
 public:
  explicit TForm(TComponent* owner);
  ~TForm() override;

  // Reads a description into this form, then runs OnCreate; shows the form when the description
  // says Visible = True. NewForm and CreateForm call these.
  void ReadDescription(const DfmObject& description);
  void ReadDescriptionResource(const std::u16string& resourceName);
  void DoCreate();

  TFormBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TFormBorderStyle style);
  TBorderIcons BorderIcons() const { return borderIcons_; }
  void SetBorderIcons(TBorderIcons icons);
  TPosition Position() const { return position_; }
  void SetPosition(TPosition position) { position_ = position; }
  TFormStyle FormStyle() const { return formStyle_; }
  void SetFormStyle(TFormStyle style);
  bool KeyPreview() const { return keyPreview_; }
  void SetKeyPreview(bool value) { keyPreview_ = value; }
  bool AutoScroll() const { return autoScroll_; }
  void SetAutoScroll(bool value) { autoScroll_ = value; }
  TMainMenu* Menu() const { return menu_; }
  void SetMenu(TMainMenu* menu);
  // MDI. An fsMDIForm frame keeps an "MDIClient" window over its client area; an fsMDIChild form
  // is made inside the client of its frame (its owner when that is an MDI frame, else the first
  // MDI frame of the program) through WM_MDICREATE, and goes through WM_MDIDESTROY. The client
  // lists the children at the end of WindowMenu's drop-down, as the system does.
  HWND ClientHandle() const { return clientHandle_; }
  TMenuItem* WindowMenu() const { return windowMenu_; }
  void SetWindowMenu(TMenuItem* item);
  TForm* ActiveMDIChild() const;
  int MDIChildCount() const;
  // The children in the client's order (the active one first).
  TForm* MDIChildren(int index) const;
  void Tile();
  void Cascade();
  // Right to left: the window reads right to left with its scroll bar on the left
  // (WS_EX_RIGHT, WS_EX_RTLREADING, WS_EX_LEFTSCROLLBAR), and its main menu follows.
  TBiDiMode BiDiMode() const { return biDiMode_; }
  void SetBiDiMode(TBiDiMode mode);
  TIcon* Icon() { return &icon_; }
  TWinControl* ActiveControl() const { return activeControl_; }
  void SetActiveControl(TWinControl* control);
  TModalResult ModalResult() const { return modalResult_; }
  void SetModalResult(TModalResult value) { modalResult_ = value; }
  bool Modal() const { return modal_; }

  int32_t ClientWidth() const override;
  int32_t ClientHeight() const override;
  void SetClientWidth(int32_t value) override;
  void SetClientHeight(int32_t value) override;
  void SetVisible(bool visible) override;
  bool Showing() const override;

  void Show();
  void Hide();
  // Asks OnCloseQuery, then OnClose decides what closing does (hide by default; closing the main
  // form ends the application). A modal form ends its ShowModal instead.
  void Close();
  bool CloseQuery();
  // Shows the form and runs messages until ModalResult is set or the form is closed.
  TModalResult ShowModal();
  // Frees the form once the message being handled is done (safe inside its own handlers).
  void Release();
  void BringToFront();
  // Clicks the menu item of a shortcut (main menu and popup menus of the form).
  bool IsShortCut(TShortCut shortCut);

  TNotifyEvent OnCreate;
  TNotifyEvent OnDestroy;
  TNotifyEvent OnShow;
  TNotifyEvent OnHide;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;

  std::vector<TComponent*> GetChildren(TComponent* root) const override;
  void Notification(TComponent* component, TOperation operation) override;
  void Loaded() override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  // A hidden form's controls get their windows, and its window its icons, when it is first shown:
  // its own window (a tray icon's owner, a hotkey's target) comes without the cost of theirs.
  bool DefersChildHandles() const override { return !Parent() && !Visible(); }
  void WndProc(TMessage& message) override;
  HWND CreateWindowHandle(const TCreateParams& params, HMENU id) override;
  void DestroyWindowHandle(HWND window) override;
  LRESULT CallDefaultProcedure(UINT msg, WPARAM wParam, LPARAM lParam) override;
  virtual void DoClose(TCloseAction& action);
  // OnDestroy runs here, once, while the whole form (a derived form's members too) exists.
  void BeforeDestruction() override;

 private:
  friend class TApplication;
  void PlaceOnScreen();
  void CloseModal();
  TWinControl* DefaultButton(bool cancel) const;
  // The designed client size is kept: set from a description or by code, it follows a resize on
  // purpose (by the user or by code) and survives a change of the frame (SWP_FRAMECHANGED, a
  // skinned frame, another border style) while the form is neither maximised nor minimised.
  void ApplyClientSize();
  void FitClientSize();
  void RememberClientSize();
  void WindowPosChanged();
  void RunOnDestroy();
  void SendIcons();
  // What a hidden form's window waits for until it shows (DefersChildHandles).
  void CompleteForShowing();
  // MDI: the frame's client window, and the client a child is made in.
  void CreateClient();
  HWND ParentClient() const;
  std::vector<HWND> ChildWindows() const;
  TFormBorderStyle borderStyle_ = bsSizeable;
  TBorderIcons borderIcons_ = (1u << biSystemMenu) | (1u << biMinimize) | (1u << biMaximize);
  TPosition position_ = poDesigned;
  TFormStyle formStyle_ = fsNormal;
  bool keyPreview_ = false;
  bool autoScroll_ = false;
  TMainMenu* menu_ = nullptr;
  HWND clientHandle_ = nullptr;      // an MDI frame's client, destroyed with the frame
  TMenuItem* windowMenu_ = nullptr;
  TBiDiMode biDiMode_ = bdLeftToRight;
  TIcon icon_;
  TWinControl* activeControl_ = nullptr;
  TModalResult modalResult_ = mrNone;
  bool modal_ = false;
  bool placed_ = false;
  bool iconsPending_ = false;
  int32_t clientWidth_ = -1, clientHeight_ = -1;  // the designed client size (-1: not known yet)
  bool fittingClient_ = false;   // resizing the window to the designed client size
  bool normalPlacement_ = true;  // neither maximised nor minimised when last moved
  SIZE windowSize_{};            // the window's size when last moved
  bool created_ = false;
  bool destroyRun_ = false;
};

class TScreen : public TComponent {
  QLT_CLASS(TScreen)
 public:
  explicit TScreen(TComponent* owner);
  // The forms of the program, the most recently active first.
  int FormCount() const { return static_cast<int>(forms_.size()); }
  TForm* Forms(int index) const { return forms_.at(static_cast<size_t>(index)); }
  TForm* ActiveForm() const { return activeForm_; }
  TFont* MenuFont() { return &menuFont_; }
  int32_t Width() const { return GetSystemMetrics(SM_CXSCREEN); }
  int32_t Height() const { return GetSystemMetrics(SM_CYSCREEN); }

 private:
  friend class TForm;
  void AddForm(TForm* form);
  void RemoveForm(TForm* form);
  void FormActivated(TForm* form);
  std::vector<TForm*> forms_;
  TForm* activeForm_ = nullptr;
  TFont menuFont_;
};

using TExceptionEvent = std::function<void(TObject* Sender, const std::exception& E)>;

// One per program, created first in the entry point; Application and Screen point at it and its
// screen while it lives. Forms created with CreateForm belong to it.
class TApplication : public TComponent {
  QLT_CLASS(TApplication)
 public:
  explicit TApplication(TComponent* owner = nullptr);
  ~TApplication() override;

  // The hidden owner window of all forms, of class "TApplication".
  HWND Handle() const { return handle_; }
  const std::u16string& Title() const { return title_; }
  void SetTitle(const std::u16string& title);
  bool ShowMainForm() const { return showMainForm_; }
  void SetShowMainForm(bool value) { showMainForm_ = value; }
  TForm* MainForm() const { return mainForm_; }
  bool Terminated() const { return terminated_; }

  template <class T>
  void CreateForm(T*& reference);
  // The message loop; returns when the main form closes or Terminate is called.
  void Run();
  void Terminate();
  // Handles every message waiting, then returns.
  void ProcessMessages();
  // Handles one message, waiting for it when none is there.
  void HandleMessage();

  // The error box for an exception raised in a handler (or OnException when assigned).
  void HandleException(TObject* sender, std::exception_ptr error);
  void ShowException(const std::u16string& message);
  // The simple message box: the title as caption, one button.
  void ShowMessage(const std::u16string& text);
  int MessageBox(const std::u16string& text, const std::u16string& caption, UINT flags);

  // Hints: shown after the mouse rested HintPause ms on a control with ShowHint and a Hint, hidden
  // after HintHidePause ms or when the mouse moves to another control.
  bool ShowHint() const { return showHint_; }
  void SetShowHint(bool value);
  int32_t HintPause = 500;
  int32_t HintHidePause = 5000;
  // The hint window (class "THintWindow"), created with the first hint.
  HWND HintWindow() const { return hintWindow_; }
  std::u16string ShownHint() const;  // the text of the hint on the screen, "" when none shows
  void CancelHint();

  TExceptionEvent OnException;
  TNotifyEvent OnIdle;

 private:
  friend class TForm;
  bool ProcessMessage(MSG& msg);
  bool IsKeyMessage(MSG& msg);
  static void MouseControlChanged(TControl* control);
  static LRESULT CALLBACK WindowProcedure(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;
  void ShowHintNow();
  HWND handle_ = nullptr;
  HWND hintWindow_ = nullptr;
  bool showHint_ = true;
  std::u16string hintText_;
  std::u16string title_;
  bool showMainForm_ = true;
  TForm* mainForm_ = nullptr;
  bool terminated_ = false;
  std::unique_ptr<TScreen> screen_;
};

extern TApplication* Application;
extern TScreen* Screen;
// The simple message box of the application.
void ShowMessage(const std::u16string& text);

// Creates a form of class T owned by `owner` and reads its description: the RCDATA resource named
// after the class in upper case ("TFRM_HOTKEY"), or the text given. A form that cannot be read is
// freed and the error passed on.
template <class T, class Read>
T* MakeForm(TComponent* owner, Read read) {
  auto* form = new T(owner);
  try {
    read(*form);
    form->DoCreate();
  } catch (...) {
    delete form;
    throw;
  }
  return form;
}

template <class T>
T* NewForm(TComponent* owner) {
  return MakeForm<T>(owner, [](T& f) { f.ReadDescriptionResource(Widen(AsciiUpper(f.ClassName()))); });
}

template <class T>
T* NewFormFromText(TComponent* owner, std::string_view description) {
  return MakeForm<T>(owner, [description](T& f) { f.ReadDescription(ParseFormText(description)); });
}

template <class T>
void TApplication::CreateForm(T*& reference) {
  // The reference is set before OnCreate runs, and the first form created is the main form by
  // then (a form that fails to be created stops being the main form when it is freed).
  try {
    MakeForm<T>(this, [this, &reference](T& f) {
      reference = &f;
      if (!mainForm_) mainForm_ = &f;
      f.ReadDescriptionResource(Widen(AsciiUpper(f.ClassName())));
    });
  } catch (...) {
    reference = nullptr;
    throw;
  }
}

}  // namespace qlt
