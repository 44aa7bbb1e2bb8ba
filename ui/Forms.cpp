#include "ui/Forms.h"

#include <algorithm>

#include <commctrl.h>

#include "ui/Buttons.h"
#include "ui/ComCtrls.h"
#include "ui/ExtCtrls.h"
#include "ui/StdCtrls.h"
#include "ui/SysUtils.h"
#include "ui/Utf.h"

namespace qlt {

TApplication* Application = nullptr;
TScreen* Screen = nullptr;

namespace {

LPCWSTR W(const std::u16string& s) { return reinterpret_cast<LPCWSTR>(s.c_str()); }

const TEnumInfo& BorderStyleInfo() {
  static const TEnumInfo info{{"bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow", "bsSizeToolWin"}};
  return info;
}
const TEnumInfo& BorderIconInfo() {
  static const TEnumInfo info{{"biSystemMenu", "biMinimize", "biMaximize", "biHelp"}};
  return info;
}
const TEnumInfo& PositionInfo() {
  static const TEnumInfo info{{"poDesigned", "poDefault", "poDefaultPosOnly", "poDefaultSizeOnly", "poScreenCenter",
                               "poDesktopCenter", "poMainFormCenter", "poOwnerFormCenter"}};
  return info;
}
const TEnumInfo& BiDiModeInfo() {
  static const TEnumInfo info{{"bdLeftToRight", "bdRightToLeft"}};
  return info;
}
constexpr LONG kRightToLeftExStyles = WS_EX_RIGHT | WS_EX_RTLREADING | WS_EX_LEFTSCROLLBAR;
const TEnumInfo& FormStyleInfo() {
  static const TEnumInfo info{{"fsNormal", "fsMDIChild", "fsMDIForm", "fsStayOnTop"}};
  return info;
}

std::u16string MessageOf(std::exception_ptr error) {
  try {
    std::rethrow_exception(error);
  } catch (const Exception& e) {
    return e.Message();
  } catch (const std::exception& e) {
    return Utf8ToUtf16(e.what());
  } catch (...) {
    return u"Unknown exception";
  }
}

BOOL CALLBACK CollectEnabledWindow(HWND window, LPARAM list) {
  if (IsWindowVisible(window) && IsWindowEnabled(window)) reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  return TRUE;
}

HWND MessageBoxOwner() {
  HWND active = GetActiveWindow();
  if (active) return active;
  return Application ? Application->Handle() : nullptr;
}

constexpr UINT_PTR kHintShowTimer = 1;
constexpr UINT_PTR kHintHideTimer = 2;
constexpr UINT kShowPaintErrors = WM_USER + 0x100;  // posted to the application's window

// An error raised while painting is shown after the paint, from the message loop: a box shown
// inside the paint would run its own loop, which paints the failed window again, and so on. A
// paint that keeps failing the same way is told once (each message once per run).
struct PaintError {
  std::exception_ptr error;
  std::u16string text;
};
std::vector<PaintError> g_paintErrors;
std::vector<std::u16string> g_toldPaintErrors;
bool g_paintErrorsPosted = false;
bool g_showingPaintErrors = false;

void ShowPaintErrors() {
  g_paintErrorsPosted = false;
  // While a box is open, the errors raised meanwhile wait for it to close (the loop below).
  if (g_showingPaintErrors) return;
  g_showingPaintErrors = true;
  struct Showing {
    ~Showing() { g_showingPaintErrors = false; }
  } showing;
  while (!g_paintErrors.empty()) {
    PaintError next = std::move(g_paintErrors.front());
    g_paintErrors.erase(g_paintErrors.begin());
    g_toldPaintErrors.push_back(next.text);
    if (Application) {
      Application->HandleException(nullptr, next.error);
    } else {
      MessageBoxW(nullptr, W(next.text), L"Error", MB_OK | MB_ICONSTOP);
    }
  }
}

void DeferPaintError(std::exception_ptr error) {
  std::u16string text = MessageOf(error);
  if (std::find(g_toldPaintErrors.begin(), g_toldPaintErrors.end(), text) != g_toldPaintErrors.end()) return;
  for (const PaintError& waiting : g_paintErrors) {
    if (waiting.text == text) return;
  }
  g_paintErrors.push_back(PaintError{std::move(error), std::move(text)});
  if (Application && Application->Handle()) {
    if (!g_paintErrorsPosted) g_paintErrorsPosted = PostMessageW(Application->Handle(), kShowPaintErrors, 0, 0);
  } else {
    ShowPaintErrors();  // no loop to wait for: at once, still told once
  }
}

}  // namespace

void ShowExceptionInHandler() noexcept {
  try {
    if (HandlingPaintMessage()) {
      DeferPaintError(std::current_exception());
    } else if (Application) {
      Application->HandleException(nullptr, std::current_exception());
    } else {
      const std::u16string text = MessageOf(std::current_exception());
      MessageBoxW(nullptr, W(text), L"Error", MB_OK | MB_ICONSTOP);
    }
  } catch (...) {
    // Nothing more can be done for an error raised while showing an error.
  }
}

void ShowMessage(const std::u16string& text) {
  if (Application) {
    Application->ShowMessage(text);
  } else {
    MessageBoxW(nullptr, W(text), L"", MB_OK);
  }
}

TForm* TControl::GetParentForm() const {
  const TControl* c = this;
  while (c->Parent()) c = c->Parent();
  return dynamic_cast<TForm*>(const_cast<TControl*>(c));
}

void RegisterControlClasses() {
  RegisterComponentClass<TLabel>();
  RegisterComponentClass<TEdit>();
  RegisterComponentClass<TButton>();
  RegisterComponentClass<TCheckBox>();
  RegisterComponentClass<TRadioButton>();
  RegisterComponentClass<TListBox>();
  RegisterComponentClass<TComboBox>();
  RegisterComponentClass<TGroupBox>();
  RegisterComponentClass<TBitBtn>();
  RegisterComponentClass<TSpeedButton>();
  RegisterComponentClass<TSpinEdit>();
  RegisterComponentClass<TPageControl>();
  RegisterComponentClass<TTabSheet>();
  RegisterComponentClass<TTimer>();
  RegisterComponentClass<TMainMenu>();
  RegisterComponentClass<TPopupMenu>();
  RegisterComponentClass<TMenuItem>();
  RegisterComponentClass<TImageList>();
  RegisterComponentClass<TPanel>();
}

// ---- TForm ----

const TClassInfo& TForm::StaticClass() {
  static const TClassInfo info =
      ClassBuilder<TForm, TWinControl>("TForm")
          .Object<TWinControl>("ActiveControl", &TForm::ActiveControl, &TForm::SetActiveControl)
          .Bool("AutoScroll", &TForm::AutoScroll, &TForm::SetAutoScroll)
          .Enum("BiDiMode", BiDiModeInfo(), &TForm::BiDiMode, &TForm::SetBiDiMode)
          .Default(bdLeftToRight)
          .Set("BorderIcons", BorderIconInfo(), &TForm::BorderIcons, &TForm::SetBorderIcons)
          .Default(7)
          .Enum("BorderStyle", BorderStyleInfo(), &TForm::BorderStyle, &TForm::SetBorderStyle)
          .Default(bsSizeable)
          .Int("ClientHeight", &TForm::ClientHeight, &TForm::SetClientHeight)
          .Int("ClientWidth", &TForm::ClientWidth, &TForm::SetClientWidth)
          .Enum("FormStyle", FormStyleInfo(), &TForm::FormStyle, &TForm::SetFormStyle)
          .Object<TIcon>("Icon", [](TForm& f) { return f.Icon(); })
          .Bool("KeyPreview", &TForm::KeyPreview, &TForm::SetKeyPreview)
          .Object<TMainMenu>("Menu", &TForm::Menu, &TForm::SetMenu)
          .Enum("Position", PositionInfo(), &TForm::Position, &TForm::SetPosition)
          .Object<TMenuItem>("WindowMenu", &TForm::WindowMenu, &TForm::SetWindowMenu)
          .Event("OnActivate", &TForm::OnActivate)
          .Event("OnClose", &TForm::OnClose)
          .Event("OnCloseQuery", &TForm::OnCloseQuery)
          .Event("OnCreate", &TForm::OnCreate)
          .Event("OnDeactivate", &TForm::OnDeactivate)
          .Event("OnDestroy", &TForm::OnDestroy)
          .Event("OnHide", &TForm::OnHide)
          .Event("OnShow", &TForm::OnShow)
          .Build();
  return info;
}

TForm::TForm(TComponent* owner) : TWinControl(owner) {
  TControl::SetVisible(false);
  clickEvents_ = true;
  doubleClicks_ = true;
  SetBounds(0, 0, 320, 240);
  icon_.OnChange = [this] {
    if (HandleAllocated()) SendIcons();
  };
  if (Screen) Screen->AddForm(this);
}

TForm::~TForm() {
  BeginDestruction();  // done already, unless the form was not freed with delete
  if (Screen) Screen->RemoveForm(this);
  if (Application && Application->mainForm_ == this) Application->mainForm_ = nullptr;
  if (menu_) menu_->SetWindowHandle(nullptr);
  icon_.OnChange = nullptr;
}

void TForm::BeforeDestruction() {
  RunOnDestroy();
  TWinControl::BeforeDestruction();
}

void TForm::RunOnDestroy() {
  if (!created_ || std::exchange(destroyRun_, true) || !OnDestroy) return;
  try {
    OnDestroy(this);
  } catch (...) {
    ShowExceptionInHandler();
  }
}

void TForm::ReadDescription(const DfmObject& description) { ReadRootComponent(*this, description); }

void TForm::ReadDescriptionResource(const std::u16string& resourceName) {
  HMODULE module = GetModuleHandleW(nullptr);
  HRSRC resource = FindResourceW(module, W(resourceName), reinterpret_cast<LPCWSTR>(RT_RCDATA));
  HGLOBAL loaded = resource ? LoadResource(module, resource) : nullptr;
  const void* data = loaded ? LockResource(loaded) : nullptr;
  if (!data) throw EReadError(Format(msg::kResourceNotFound, {resourceName}));
  ReadDescription(ParseFormText(std::string_view(static_cast<const char*>(data), SizeofResource(module, resource))));
}

void TForm::DoCreate() {
  created_ = true;
  if (OnCreate) OnCreate(this);
  if (Visible()) {
    TControl::SetVisible(false);
    Show();
  }
}

void TForm::Loaded() {
  TWinControl::Loaded();
  ApplyClientSize();
}

void TForm::SetBorderStyle(TFormBorderStyle style) {
  if (style == borderStyle_) return;
  borderStyle_ = style;
  ApplyClientSize();
  RecreateWnd();
}

void TForm::SetBorderIcons(TBorderIcons icons) {
  if (icons == borderIcons_) return;
  borderIcons_ = icons;
  RecreateWnd();
}

void TForm::SetFormStyle(TFormStyle style) {
  formStyle_ = style;
  if (HandleAllocated()) {
    SetWindowPos(Handle(), style == fsStayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
}

void TForm::SetBiDiMode(TBiDiMode mode) {
  if (mode == biDiMode_) return;
  biDiMode_ = mode;
  if (menu_) menu_->SetBiDiMode(mode);
  if (HandleAllocated()) {
    const LONG ex = GetWindowLongW(Handle(), GWL_EXSTYLE);
    SetWindowLongW(Handle(), GWL_EXSTYLE, mode == bdRightToLeft ? ex | kRightToLeftExStyles : ex & ~kRightToLeftExStyles);
    SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  }
}

void TForm::SetMenu(TMainMenu* menu) {
  if (menu == menu_) return;
  if (menu_) menu_->SetWindowHandle(nullptr);
  menu_ = menu;
  if (menu) {
    menu->FreeNotification(this);
    menu->SetBiDiMode(biDiMode_);
  }
  if (HandleAllocated()) {
    if (menu_) menu_->SetWindowHandle(Handle());
    SendMessageW(Handle(), CM_MENUCHANGED, 0, 0);
  }
  ApplyClientSize();
}

void TForm::SetActiveControl(TWinControl* control) {
  activeControl_ = control;
  if (control) control->FreeNotification(this);
  if (control && !InState(csLoading) && Showing() && control->CanFocus()) control->SetFocus();
}

void TForm::Notification(TComponent* component, TOperation operation) {
  TWinControl::Notification(component, operation);
  if (operation != TOperation::opRemove) return;
  if (component == menu_) menu_ = nullptr;
  if (component == windowMenu_) windowMenu_ = nullptr;
  if (component == activeControl_) activeControl_ = nullptr;
}

std::vector<TComponent*> TForm::GetChildren(TComponent* root) const {
  std::vector<TComponent*> out;
  if (root == this) {
    for (TComponent* c : ComponentList()) {
      if (!dynamic_cast<TControl*>(c) && !c->GetParentComponent()) out.push_back(c);
    }
  }
  const std::vector<TComponent*> controls = TWinControl::GetChildren(root);
  out.insert(out.end(), controls.begin(), controls.end());
  return out;
}

void TForm::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
  p.exStyle = 0;
  const bool sysMenu = (borderIcons_ & (1u << biSystemMenu)) != 0;
  switch (borderStyle_) {
    case bsNone:
      p.style |= WS_POPUP;
      break;
    case bsSingle:
      p.style |= WS_CAPTION;
      break;
    case bsSizeable:
      p.style |= WS_CAPTION | WS_THICKFRAME;
      break;
    case bsDialog:
      p.style |= WS_POPUP | WS_CAPTION | DS_MODALFRAME;
      p.exStyle |= WS_EX_DLGMODALFRAME;
      break;
    case bsToolWindow:
      p.style |= WS_CAPTION;
      p.exStyle |= WS_EX_TOOLWINDOW;
      break;
    case bsSizeToolWin:
      p.style |= WS_CAPTION | WS_THICKFRAME;
      p.exStyle |= WS_EX_TOOLWINDOW;
      break;
  }
  if (borderStyle_ != bsNone && sysMenu) {
    p.style |= WS_SYSMENU;
    const bool boxes = borderStyle_ == bsSingle || borderStyle_ == bsSizeable;
    if (boxes && (borderIcons_ & (1u << biMinimize))) p.style |= WS_MINIMIZEBOX;
    if (boxes && (borderIcons_ & (1u << biMaximize))) p.style |= WS_MAXIMIZEBOX;
  }
  if (formStyle_ == fsStayOnTop) p.exStyle |= WS_EX_TOPMOST;
  if (formStyle_ == fsMDIChild) {
    p.style &= ~WS_POPUP;
    p.exStyle |= WS_EX_MDICHILD;
  }
  if (biDiMode_ == bdRightToLeft) p.exStyle |= kRightToLeftExStyles;
  if (!Enabled()) p.style |= WS_DISABLED;
  p.wndParent = Application ? Application->Handle() : nullptr;
  if (formStyle_ == fsMDIChild) p.wndParent = ParentClient();
}

void TForm::ApplyClientSize() {
  if (clientWidth_ < 0 && clientHeight_ < 0) return;
  if (InState(csReading)) return;
  if (HandleAllocated()) return FitClientSize();
  TCreateParams p;
  CreateParams(p);
  const SIZE size = WindowSizeForClient(SIZE{std::max(clientWidth_, 0), std::max(clientHeight_, 0)}, p.style,
                                        p.exStyle, menu_ != nullptr);
  width_ = clientWidth_ >= 0 ? size.cx : Width();
  height_ = clientHeight_ >= 0 ? size.cy : Height();
}

void TForm::FitClientSize() {
  const HWND window = Handle();
  if (IsIconic(window) || IsZoomed(window)) return;
  RECT client{};
  GetClientRect(window, &client);
  const SIZE want{clientWidth_ >= 0 ? clientWidth_ : client.right, clientHeight_ >= 0 ? clientHeight_ : client.bottom};
  if (want.cx == client.right && want.cy == client.bottom) return;  // nothing to move
  // The window is asked what frame it has now: a skinned one, or the system's.
  const SIZE size = WindowSizeForClient(window, want);
  fittingClient_ = true;
  struct Fitting {
    bool& flag;
    ~Fitting() { flag = false; }
  } fitting{fittingClient_};
  SetBounds(Left(), Top(), size.cx, size.cy);
}

void TForm::RememberClientSize() {
  RECT client{};
  GetClientRect(Handle(), &client);
  clientWidth_ = client.right;
  clientHeight_ = client.bottom;
}

void TForm::WindowPosChanged() {
  if (!HandleAllocated()) return;
  const HWND window = Handle();
  RECT r{};
  GetWindowRect(window, &r);
  const SIZE size{r.right - r.left, r.bottom - r.top};
  const SIZE before = std::exchange(windowSize_, size);
  const bool normal = !IsIconic(window) && !IsZoomed(window);
  const bool wasNormal = std::exchange(normalPlacement_, normal);
  if (fittingClient_ || creatingHandle_ || !normal) return;
  if (!wasNormal || (size.cx == before.cx && size.cy == before.cy)) {
    // The window kept its size (a new frame measures its client area anew), or it comes back
    // from maximised or minimised (the frame may have changed meanwhile): the client area keeps
    // its size.
    FitClientSize();
  } else {
    RememberClientSize();  // resized on purpose: this client size is the one to keep
  }
}

int32_t TForm::ClientWidth() const {
  if (!const_cast<TForm*>(this)->HandleAllocated() && clientWidth_ >= 0) return clientWidth_;
  return TWinControl::ClientWidth();
}

int32_t TForm::ClientHeight() const {
  if (!const_cast<TForm*>(this)->HandleAllocated() && clientHeight_ >= 0) return clientHeight_;
  return TWinControl::ClientHeight();
}

void TForm::SetClientWidth(int32_t value) {
  clientWidth_ = value;
  ApplyClientSize();
}

void TForm::SetClientHeight(int32_t value) {
  clientHeight_ = value;
  ApplyClientSize();
}

void TForm::CreateWnd() {
  if (menu_) {
    menu_->SetWindowHandle(Handle());
    ::SetMenu(Handle(), menu_->Handle());
  }
  if (formStyle_ == fsMDIForm) CreateClient();
  // Icons cost the window manager some work, and only a shown window needs them.
  if (DefersChildHandles()) {
    iconsPending_ = true;
  } else {
    SendIcons();
  }
  // The frame size computed without a window can differ (a wrapped menu bar): measure again.
  if (clientWidth_ >= 0 || clientHeight_ >= 0) ApplyClientSize();
  if (!IsIconic(Handle()) && !IsZoomed(Handle())) RememberClientSize();
  RECT r{};
  GetWindowRect(Handle(), &r);
  windowSize_ = SIZE{r.right - r.left, r.bottom - r.top};
}

void TForm::SendIcons() {
  iconsPending_ = false;
  if (icon_.Empty()) return;
  SendMessageW(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_.Handle()));
  SendMessageW(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_.Handle()));
}

void TForm::CompleteForShowing() {
  CreateChildHandles();
  if (iconsPending_) SendIcons();
}

bool TForm::Showing() const {
  auto* self = const_cast<TForm*>(this);
  return Visible() && self->HandleAllocated() && IsWindowVisible(self->Handle());
}

void TForm::SetVisible(bool visible) {
  if (visible == Visible()) return;
  if (InState(csReading) || !created_) return TControl::SetVisible(visible);
  visible ? Show() : Hide();
}

void TForm::PlaceOnScreen() {
  if (placed_) return;
  placed_ = true;
  RECT area{};
  const TForm* over = nullptr;
  if (position_ == poMainFormCenter && Application) over = Application->MainForm();
  if (position_ == poOwnerFormCenter) over = dynamic_cast<TForm*>(Owner());
  if (over == this) over = nullptr;
  if (over && const_cast<TForm*>(over)->HandleAllocated()) {
    GetWindowRect(const_cast<TForm*>(over)->Handle(), &area);
  } else if (position_ == poScreenCenter || position_ == poDesktopCenter || position_ == poMainFormCenter ||
             position_ == poOwnerFormCenter) {
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  } else {
    return;
  }
  const int x = area.left + (area.right - area.left - Width()) / 2;
  const int y = area.top + (area.bottom - area.top - Height()) / 2;
  SetBounds(std::max(x, 0), std::max(y, 0), Width(), Height());
}

void TForm::Show() {
  HandleNeeded();
  if (Visible() && IsWindowVisible(Handle())) {
    BringToFront();
    return;
  }
  TControl::SetVisible(true);
  CompleteForShowing();
  PlaceOnScreen();
  if (OnShow) OnShow(this);
  ShowWindow(Handle(), SW_SHOW);
  BringToFront();
}

void TForm::Hide() {
  if (!Visible() && !(HandleAllocated() && IsWindowVisible(Handle()))) return;
  if (OnHide) OnHide(this);
  TControl::SetVisible(false);
  if (HandleAllocated()) ShowWindow(Handle(), SW_HIDE);
}

void TForm::BringToFront() {
  if (HandleAllocated()) SetWindowPos(Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

bool TForm::CloseQuery() {
  bool canClose = true;
  if (OnCloseQuery) OnCloseQuery(this, canClose);
  return canClose;
}

void TForm::DoClose(TCloseAction& action) {
  if (OnClose) OnClose(this, action);
}

void TForm::Close() {
  if (modal_) {
    modalResult_ = mrCancel;
    return;
  }
  if (!CloseQuery()) return;
  // An MDI child is put aside as an icon unless its form says otherwise.
  TCloseAction action = formStyle_ == fsMDIChild ? caMinimize : caHide;
  DoClose(action);
  if (action == caNone) return;
  if (Application && Application->MainForm() == this) {
    Application->Terminate();
    return;
  }
  switch (action) {
    case caHide: Hide(); break;
    case caMinimize: ShowWindow(Handle(), SW_MINIMIZE); break;
    case caFree: Release(); break;
    default: break;
  }
}

void TForm::CloseModal() {
  TCloseAction action = caNone;
  if (CloseQuery()) {
    action = caHide;
    DoClose(action);
  }
  switch (action) {
    case caNone: modalResult_ = mrNone; break;
    case caFree: Release(); break;
    default: break;
  }
}

TModalResult TForm::ShowModal() {
  if (modal_ || Visible()) throw Exception(u"Cannot make a visible window modal");
  modalResult_ = mrNone;
  modal_ = true;
  HWND previous = GetActiveWindow();
  // Every other window of the program stops taking input while the modal form shows.
  std::vector<HWND> disabled;
  EnumThreadWindows(GetCurrentThreadId(), CollectEnabledWindow, reinterpret_cast<LPARAM>(&disabled));
  const HWND self = Handle();
  disabled.erase(std::remove(disabled.begin(), disabled.end(), self), disabled.end());
  for (HWND w : disabled) EnableWindow(w, FALSE);
  const auto restore = [&] {
    for (HWND w : disabled) {
      if (IsWindow(w)) EnableWindow(w, TRUE);
    }
    if (previous && IsWindow(previous)) SetActiveWindow(previous);
  };
  try {
    Show();
    SetForegroundWindow(self);
    while (modalResult_ == mrNone) {
      Application->HandleMessage();
      if (Application->Terminated()) {
        modalResult_ = mrCancel;
      } else if (modalResult_ != mrNone) {
        CloseModal();
      }
    }
    const TModalResult result = modalResult_;
    for (HWND w : disabled) {
      if (IsWindow(w)) EnableWindow(w, TRUE);
    }
    disabled.clear();
    Hide();
    modal_ = false;
    restore();
    return result;
  } catch (...) {
    modal_ = false;
    restore();
    throw;
  }
}

void TForm::Release() { PostMessageW(Handle(), CM_RELEASE, 0, 0); }

bool TForm::IsShortCut(TShortCut shortCut) {
  if (menu_ && menu_->IsShortCut(shortCut)) return true;
  for (TComponent* c : ComponentList()) {
    if (auto* popup = dynamic_cast<TPopupMenu*>(c); popup && popup->IsShortCut(shortCut)) return true;
  }
  return false;
}

TWinControl* TForm::DefaultButton(bool cancel) const {
  struct Finder {
    static TWinControl* Find(const TWinControl* parent, bool cancel) {
      for (int i = 0; i < parent->ControlCount(); ++i) {
        auto* w = dynamic_cast<TWinControl*>(parent->Controls(i));
        if (!w || !w->Visible() || !w->Enabled()) continue;
        if (auto* b = dynamic_cast<TButton*>(w); b && (cancel ? b->Cancel() : b->Default())) return b;
        if (TWinControl* found = Find(w, cancel)) return found;
      }
      return nullptr;
    }
  };
  return Finder::Find(this, cancel);
}

void TForm::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_CLOSE:
      Close();
      return;
    case WM_QUERYENDSESSION:
      m.Result = CloseQuery() ? TRUE : FALSE;
      return;
    case CM_RELEASE:
      deleteAfterMessage_ = true;
      return;
    case CM_MENUCHANGED:
      if (HandleAllocated() && clientHandle_ && menu_) {
        // The client keeps its window menu in the new bar.
        SendMessageW(clientHandle_, WM_MDISETMENU, reinterpret_cast<WPARAM>(menu_->Handle()),
                     reinterpret_cast<LPARAM>(windowMenu_ && windowMenu_->Count() ? windowMenu_->Handle() : nullptr));
        DrawMenuBar(Handle());
      } else if (HandleAllocated()) {
        ::SetMenu(Handle(), menu_ ? menu_->Handle() : nullptr);
        DrawMenuBar(Handle());
      }
      return;
    case DM_GETDEFID:
      if (TWinControl* b = DefaultButton(false)) {
        m.Result = MAKELRESULT(b->ControlId(), DC_HASDEFID);
        return;
      }
      break;
    case WM_COMMAND:
      if (m.LParam == 0) {
        const UINT id = LOWORD(m.WParam);
        if (menu_ && menu_->DispatchCommand(id)) return;
        if (TMenuItem* item = TMenu::FindAnyItem(id)) {
          item->Click();
          return;
        }
        // Enter and Esc from the dialog manager when the button is not a direct child.
        if (id == IDCANCEL || id == IDOK) {
          if (TWinControl* b = DefaultButton(id == IDCANCEL)) static_cast<TButton*>(b)->Click();
          return;
        }
        if (TWinControl* b = DefaultButton(false); b && b->ControlId() == static_cast<int>(id)) {
          static_cast<TButton*>(b)->Click();
          return;
        }
      }
      break;
    case WM_INITMENUPOPUP:
    case WM_UNINITMENUPOPUP:
    case WM_MENUSELECT:
    case WM_ENTERMENULOOP:
    case WM_EXITMENULOOP:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
      // Menu messages go to the menu they concern (and its hooks); the rest of the form's menu
      // loop is its main menu's. Control notifications fall through to be reflected.
      if (DispatchMenuMessage(Handle(), m, nullptr, menu_)) return;
      break;
    case WM_ACTIVATE:
      if (LOWORD(m.WParam) == WA_INACTIVE) {
        TWinControl* focused = FindControl(GetFocus());
        if (focused && focused != this && focused->GetParentForm() == this) activeControl_ = focused;
        TWinControl::WndProc(m);
        if (OnDeactivate) OnDeactivate(this);
      } else {
        if (Screen) Screen->FormActivated(this);
        TWinControl::WndProc(m);
        if (activeControl_ && activeControl_->CanFocus()) activeControl_->SetFocus();
        if (OnActivate) OnActivate(this);
      }
      return;
    case WM_SHOWWINDOW:
      if (m.LParam == 0) TControl::SetVisible(m.WParam != 0);
      break;
    case WM_WINDOWPOSCHANGING:
      // Shown from outside Show() (ShowWindow, SetWindowPos): the controls and icons come along.
      if (reinterpret_cast<const WINDOWPOS*>(m.LParam)->flags & SWP_SHOWWINDOW) CompleteForShowing();
      break;
    case WM_WINDOWPOSCHANGED:
      TWinControl::WndProc(m);
      WindowPosChanged();
      return;
  }
  TWinControl::WndProc(m);
}

// ---- TScreen ----

const TClassInfo& TScreen::StaticClass() {
  static const TClassInfo info = ClassBuilder<TScreen, TComponent>("TScreen").Build();
  return info;
}

TScreen::TScreen(TComponent* owner) : TComponent(owner) {
  NONCLIENTMETRICSW ncm{};
  ncm.cbSize = sizeof ncm;
  if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0)) menuFont_.SetFromLogFont(ncm.lfMenuFont);
}

void TScreen::AddForm(TForm* form) { forms_.push_back(form); }

void TScreen::RemoveForm(TForm* form) {
  forms_.erase(std::remove(forms_.begin(), forms_.end(), form), forms_.end());
  if (activeForm_ == form) activeForm_ = nullptr;
}

void TScreen::FormActivated(TForm* form) {
  RemoveForm(form);
  forms_.insert(forms_.begin(), form);
  activeForm_ = form;
}

// ---- TApplication ----

const TClassInfo& TApplication::StaticClass() {
  static const TClassInfo info = ClassBuilder<TApplication, TComponent>("TApplication").Build();
  return info;
}

TApplication::TApplication(TComponent* owner) : TComponent(owner), screen_(std::make_unique<TScreen>(nullptr)) {
  Application = this;
  Screen = screen_.get();
  RegisterControlClasses();
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = WindowProcedure;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hIcon = LoadIconW(wc.hInstance, MAKEINTRESOURCEW(1));
  wc.lpszClassName = L"TApplication";
  RegisterClassExW(&wc);
  // Hidden and zero-sized: the owner of every form, so forms have no taskbar buttons of their own.
  handle_ = CreateWindowExW(0, L"TApplication", L"", WS_POPUP | WS_CLIPSIBLINGS,
                            GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0, nullptr,
                            nullptr, wc.hInstance, nullptr);
  SetMouseControlHook(&TApplication::MouseControlChanged);
}

TApplication::~TApplication() {
  BeginDestruction();
  SetMouseControlHook(nullptr);
  // The forms go while their windows and the owner window still exist, so their OnDestroy
  // handlers can still use their windows.
  while (ComponentCount() > 0) delete Components(ComponentCount() - 1);
  if (hintWindow_) DestroyWindow(hintWindow_);
  hintWindow_ = nullptr;
  if (handle_) DestroyWindow(handle_);
  handle_ = nullptr;
  Screen = nullptr;
  screen_.reset();
  if (Application == this) Application = nullptr;
}

LRESULT CALLBACK TApplication::WindowProcedure(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
  try {
    if (msg == WM_CLOSE) {
      if (Application && Application->MainForm()) Application->MainForm()->Close();
      return 0;
    }
    if (msg == kShowPaintErrors) {
      ShowPaintErrors();
      return 0;
    }
    if (msg == WM_TIMER && Application && (wParam == kHintShowTimer || wParam == kHintHideTimer)) {
      KillTimer(window, wParam);
      if (wParam == kHintShowTimer) {
        Application->ShowHintNow();
      } else {
        Application->CancelHint();
      }
      return 0;
    }
  } catch (...) {
    ShowExceptionInHandler();
    return 0;
  }
  return DefWindowProcW(window, msg, wParam, lParam);
}

void TApplication::MouseControlChanged(TControl* control) {
  if (!Application) return;
  Application->CancelHint();
  if (control && Application->showHint_) SetTimer(Application->handle_, kHintShowTimer, Application->HintPause, nullptr);
}

void TApplication::SetShowHint(bool value) {
  showHint_ = value;
  if (!value) CancelHint();
}

namespace {

// The hint window is the system's tooltip control under the framework's class name.
WNDPROC g_tooltipProc = nullptr;

LRESULT CALLBACK HintWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
  return CallWindowProcW(g_tooltipProc, window, msg, wParam, lParam);
}

TTTOOLINFOW HintTool(HWND owner, std::u16string* text) {
  TTTOOLINFOW tool{};
  tool.cbSize = TTTOOLINFOW_V2_SIZE;
  tool.uFlags = TTF_TRACK | TTF_ABSOLUTE;
  tool.hwnd = owner;
  tool.uId = 1;
  tool.lpszText = text ? reinterpret_cast<LPWSTR>(text->data()) : nullptr;
  return tool;
}

}  // namespace

void TApplication::ShowHintNow() {
  TControl* control = MouseControl();
  if (!control || !showHint_ || !control->ShowHint() || control->Hint().empty()) return;
  if (!hintWindow_) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    if (!GetClassInfoExW(nullptr, TOOLTIPS_CLASSW, &wc)) return;
    g_tooltipProc = wc.lpfnWndProc;
    wc.lpfnWndProc = HintWindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"THintWindow";
    wc.style &= ~CS_GLOBALCLASS;
    RegisterClassExW(&wc);
    hintWindow_ = CreateWindowExW(WS_EX_TOPMOST, L"THintWindow", nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, 0, 0,
                                  0, 0, handle_, nullptr, wc.hInstance, nullptr);
    if (!hintWindow_) return;
    std::u16string empty = u" ";
    TTTOOLINFOW tool = HintTool(handle_, &empty);
    SendMessageW(hintWindow_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageW(hintWindow_, TTM_SETMAXTIPWIDTH, 0, 400);
  }
  hintText_ = control->Hint();
  TTTOOLINFOW tool = HintTool(handle_, &hintText_);
  SendMessageW(hintWindow_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
  POINT p{};
  GetCursorPos(&p);
  SendMessageW(hintWindow_, TTM_TRACKPOSITION, 0, MAKELPARAM(p.x, p.y + 20));
  SendMessageW(hintWindow_, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
  SetTimer(handle_, kHintHideTimer, HintHidePause, nullptr);
}

void TApplication::CancelHint() {
  if (handle_) KillTimer(handle_, kHintShowTimer);
  if (!hintWindow_ || hintText_.empty()) return;
  TTTOOLINFOW tool = HintTool(handle_, nullptr);
  SendMessageW(hintWindow_, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool));
  hintText_.clear();
}

std::u16string TApplication::ShownHint() const {
  return hintWindow_ && IsWindowVisible(hintWindow_) ? hintText_ : std::u16string();
}

void TApplication::SetTitle(const std::u16string& title) {
  title_ = title;
  if (handle_) SetWindowTextW(handle_, W(title));
}

void TApplication::Run() {
  if (mainForm_ && showMainForm_) mainForm_->Show();
  while (!terminated_) HandleMessage();
}

void TApplication::Terminate() {
  terminated_ = true;
  PostQuitMessage(0);
}

void TApplication::ProcessMessages() {
  MSG msg;
  while (ProcessMessage(msg)) {
  }
}

void TApplication::HandleMessage() {
  MSG msg;
  if (!ProcessMessage(msg)) {
    if (OnIdle) {
      try {
        OnIdle(this);
      } catch (...) {
        ShowExceptionInHandler();
      }
    }
    WaitMessage();
  }
}

bool TApplication::ProcessMessage(MSG& msg) {
  if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
  if (msg.message == WM_QUIT) {
    terminated_ = true;
    return true;
  }
  if (!IsKeyMessage(msg)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return true;
}

bool TApplication::IsKeyMessage(MSG& msg) {
  if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST) return false;
  TWinControl* control = nullptr;
  for (HWND h = msg.hwnd; h && !control; h = GetParent(h)) control = TWinControl::FindControl(h);
  TForm* form = control ? control->GetParentForm() : nullptr;
  if (!form || !form->HandleAllocated()) return false;
  try {
    switch (msg.message) {
      case WM_KEYDOWN:
      case WM_SYSKEYDOWN: {
        TShortCut shortCut = static_cast<TShortCut>(msg.wParam & 0xFF);
        if (GetKeyState(VK_SHIFT) < 0) shortCut |= scShift;
        if (GetKeyState(VK_CONTROL) < 0) shortCut |= scCtrl;
        if (GetKeyState(VK_MENU) < 0) shortCut |= scAlt;
        if ((shortCut & ~0xFF) && form->IsShortCut(shortCut)) return true;
        break;
      }
      case WM_CHAR:
        if (form->KeyPreview() && form->OnKeyPress && control != form) {
          auto key = static_cast<char16_t>(msg.wParam);
          form->OnKeyPress(form, key);
          if (key == 0) return true;
          msg.wParam = key;
        }
        break;
      case WM_SYSCHAR:
        if (form->Perform(CM_DIALOGCHAR, msg.wParam, msg.lParam)) return true;
        break;
    }
  } catch (...) {
    ShowExceptionInHandler();
    return true;
  }
  // Tab, the arrow keys, Enter (the default button) and Esc (the cancel button).
  return IsDialogMessageW(form->Handle(), &msg) != FALSE;
}

void TApplication::HandleException(TObject* sender, std::exception_ptr error) {
  if (OnException) {
    try {
      std::rethrow_exception(error);
    } catch (const std::exception& e) {
      OnException(sender, e);
      return;
    } catch (...) {
      OnException(sender, Exception(u"Unknown exception"));
      return;
    }
  }
  ShowException(MessageOf(error));
}

void TApplication::ShowException(const std::u16string& message) {
  std::u16string text = message;
  // The standard box ends the message with a period.
  if (!text.empty() && text.back() > u'.') text += u'.';
  ::MessageBoxW(MessageBoxOwner(), W(text), W(title_), MB_OK | MB_ICONSTOP);
}

void TApplication::ShowMessage(const std::u16string& text) { MessageBox(text, title_, MB_OK); }

int TApplication::MessageBox(const std::u16string& text, const std::u16string& caption, UINT flags) {
  return ::MessageBoxW(MessageBoxOwner(), W(text), W(caption), flags);
}

}  // namespace qlt
