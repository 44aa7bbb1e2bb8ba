#include "skin/controls/SkinManager.h"

#include <algorithm>

#include "skin/data/WinSkinData.h"
#include "skin/frame/WinSkinForm.h"
#include "skin/menus/WinSkinPopMenu.h"
#include "ui/ComCtrls.h"
#include "ui/Forms.h"
#include "ui/SysUtils.h"
#include "ui/TypeInfo.h"
#include "ui/Utf.h"

namespace qlt {

TSkinManage* SkinManager = nullptr;

namespace {

std::u16string WindowClassName(HWND hwnd) {
  wchar_t name[101] = {};
  const int n = GetClassNameW(hwnd, name, 101);
  return std::u16string(reinterpret_cast<const char16_t*>(name), static_cast<std::size_t>(std::max(n, 0)));
}

TForm* FindVclForm(HWND hwnd) {
  if (!Screen) return nullptr;
  for (int i = 0; i < Screen->FormCount(); ++i) {
    TForm* form = Screen->Forms(i);
    if (form->HandleAllocated() && form->Handle() == hwnd) return form;
  }
  return nullptr;
}

bool IsPlainChildWindow(HWND hwnd) {
  if ((GetWindowLongW(hwnd, GWL_STYLE) & WS_CHILD) == 0) return false;
  return AsciiLower(WindowClassName(GetParent(hwnd))) != u"mdiclient";
}

HWND OwnerWindow(const TSkinData& sd) {
  auto* form = dynamic_cast<TForm*>(sd.Owner());
  return form && form->HandleAllocated() ? form->Handle() : nullptr;
}

}  // namespace

TSkinManage::TSkinManage() : actionTimer_(std::make_unique<TTimer>(nullptr)) {
  actionTimer_->SetEnabled(false);
  actionTimer_->SetInterval(kSkinActionDelay);
  actionTimer_->OnTimer = [this](TObject*) { RunPendingAction(); };
  RegisterComponentObserver(this);
}

TSkinManage::~TSkinManage() {
  UnregisterComponentObserver(this);
  phase_ = TPhase::GoingAway;
  actionTimer_.reset();
  if (hook_) UnhookWindowsHookEx(hook_);
  hook_ = nullptr;
  FreePopupSkinners();
  FreeOwnerlessFormSkinners();
}

void TSkinManage::InstallHook() {
  if (!hook_) hook_ = SetWindowsHookExW(WH_CBT, CbtHook, nullptr, GetCurrentThreadId());
}

LRESULT CALLBACK TSkinManage::CbtHook(int code, WPARAM wParam, LPARAM lParam) noexcept {
  // The hook never lets an exception reach the system, and never blocks what it reports.
  try {
    if (code >= 0 && SkinManager) SkinManager->HookCallback(code, wParam, lParam);
  } catch (...) {
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

void TSkinManage::HookCallback(int code, WPARAM wParam, LPARAM lParam) {
  if (phase_ == TPhase::GoingAway) return;
  const auto hwnd = reinterpret_cast<HWND>(wParam);
  switch (code) {
    case HCBT_CREATEWND: {
      const auto* create = reinterpret_cast<const CBT_CREATEWNDW*>(lParam);
      if (create && create->lpcs && !(create->lpcs->style & WS_CHILD) && WindowClassName(hwnd) == u"#32768") {
        SkinPopupWindow(hwnd);
      }
      return;
    }
    case HCBT_DESTROYWND:
      if (!popupSkinners_.empty()) ReleasePopupWindow(hwnd);
      // A child that goes before it was skinned leaves no handle behind to be skinned later.
      if (GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_MDICHILD) {
        for (TWinSkinForm* f : formSkinners_) f->ForgetMdiChild(hwnd);
      }
      return;
    case HCBT_ACTIVATE:
      WindowActivated();
      SkinWindow(hwnd);
      return;
    default:
      return;
  }
}

TWinSkinForm* TSkinManage::FindFormSkinner(HWND hwnd) const {
  for (TWinSkinForm* f : formSkinners_) {
    if (f->Window() == hwnd && f->State() != skDead) return f;
  }
  return nullptr;
}

void TSkinManage::RemoveFormSkinner(TWinSkinForm* skinner) { std::erase(formSkinners_, skinner); }

void TSkinManage::HandleCreated(TWinControl* control) noexcept {
  try {
    if (phase_ == TPhase::GoingAway || !control || !control->Parent()) return;
    TForm* form = control->GetParentForm();
    if (!form || !form->HandleAllocated()) return;
    if (TWinSkinForm* skinner = FindFormSkinner(form->Handle())) skinner->SkinLateControl(control);
  } catch (...) {
    // A control that cannot be skinned keeps its own look.
  }
}

void TSkinManage::SetMdiMaximized(bool on) {
  if (on == mdiMaximized_) return;
  mdiMaximized_ = on;
  // A skinner may be freed by what another one does: the list is walked as it was.
  const std::vector<TWinSkinForm*> skinners = formSkinners_;
  for (TWinSkinForm* f : skinners) {
    if (std::find(formSkinners_.begin(), formSkinners_.end(), f) == formSkinners_.end()) continue;
    if (f->MdiKind() == mkChild) f->MdiMaximizedChanged(on);
  }
}

int TSkinManage::MdiChildCount() const {
  return static_cast<int>(std::count_if(formSkinners_.begin(), formSkinners_.end(), [](TWinSkinForm* f) {
    return f->MdiKind() == mkChild && f->State() != skDead && f->State() != skDestroying;
  }));
}

bool TSkinManage::AttachFormSkinner(HWND hwnd, TSkinData& sd, TForm* form) {
  auto skinner = std::make_unique<TWinSkinForm>(form);
  skinner->SetWindow(hwnd);
  if (form) {
    skinner->AttachToForm(sd, form);
  } else {
    skinner->AttachToWindow(sd);
  }
  if (!skinner->Subclassed()) return false;
  formSkinners_.push_back(skinner.release());
  return true;
}

void TSkinManage::RefreshFormSkinners() {
  for (TWinSkinForm* f : formSkinners_) f->FreeTitleButtons();
}

void TSkinManage::PurgeDeadForms() {
  // Taken out of the list first: their destructors leave it alone then.
  std::vector<TWinSkinForm*> dead;
  std::erase_if(formSkinners_, [&](TWinSkinForm* f) {
    if (f->State() != skDead) return false;
    dead.push_back(f);
    return true;
  });
  for (TWinSkinForm* f : dead) TWinSkinForm::FreeWhenIdle(f);
}

void TSkinManage::DetachFormSkinners(TSkinData& sd, bool onlyLast) {
  std::vector<TWinSkinForm*> detach;
  for (auto it = formSkinners_.rbegin(); it != formSkinners_.rend(); ++it) {
    if ((*it)->Skin() != &sd) continue;
    detach.push_back(*it);
    if (onlyLast) break;
  }
  for (TWinSkinForm* f : detach) {
    std::erase(formSkinners_, f);
    const HWND window = f->Window();
    f->RestoreWindow();
    // Switched off from a loop that runs inside one of the window's messages: freed once that is done.
    TWinSkinForm::FreeWhenIdle(f);
    if (IsWindow(window)) RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  }
}

void TSkinManage::RebuildFormSkinners(TSkinData& sd, bool onlyFirst) {
  const std::vector<TWinSkinForm*> list = formSkinners_;
  for (TWinSkinForm* f : list) {
    if (f->Skin() != &sd || f->State() == skDead) continue;
    f->ComputeFrameMetrics();
    f->ReapplySkin();
    if (onlyFirst) break;
  }
}

void TSkinManage::FreeOwnerlessFormSkinners() {
  // Skinners of windows without a form (message boxes) belong to the manager alone; the others
  // go with their forms and no longer find a manager to tell.
  std::vector<TWinSkinForm*> list;
  list.swap(formSkinners_);
  for (TWinSkinForm* f : list) {
    if (f->Owner() && f->State() != skDead) continue;
    if (f->State() != skDead) f->RestoreWindow();
    TWinSkinForm::FreeWhenIdle(f);
  }
}

void TSkinManage::RegisterSkinData(TSkinData* sd) {
  if (sd && std::find(skinDataList_.begin(), skinDataList_.end(), sd) == skinDataList_.end()) {
    skinDataList_.push_back(sd);
  }
}

void TSkinManage::UnregisterSkinData(TSkinData* sd) {
  std::erase(skinDataList_, sd);
  // Popups painted with the component's skin give their windows back before it goes.
  std::erase_if(popupSkinners_, [sd](const std::unique_ptr<TWinSkinPopMenu>& p) { return p->Skin() == sd; });
  // A tick after the component is gone must not reach it.
  if (pendingSkinData_ == sd) pendingSkinData_ = nullptr;
}

void TSkinManage::WindowActivated() {
  if (phase_ == TPhase::BeforeFirstActivation) phase_ = TPhase::Running;
}

void TSkinManage::SkinOwnFormNow(TForm* owner) {
  skinEnabled_ = true;
  WindowActivated();
  if (owner) SkinWindow(owner->Handle());
}

void TSkinManage::ScheduleAction(TSkinAction action, int interval) {
  if (phase_ == TPhase::GoingAway) return;  // the timer is gone
  pendingAction_ = action;
  actionTimer_->SetInterval(interval);
  if (phase_ != TPhase::BeforeFirstActivation) {
    actionTimer_->SetEnabled(true);
  } else if (action == saSkinAll || action == saUnskinAll) {
    skinEnabled_ = action == saSkinAll;
  }
}

bool TSkinManage::ActionTimerEnabled() const { return actionTimer_->Enabled(); }
int TSkinManage::ActionTimerInterval() const { return actionTimer_->Interval(); }

void TSkinManage::SkinAll(TSkinData& sd, bool onlyOwner) {
  skinEnabled_ = true;
  // Cleared on every way out, also when attaching a skinner throws: a forced pass left standing
  // would let every later activation skin plain child windows.
  struct ForcedPassScope {
    bool& flag;
    explicit ForcedPassScope(bool& f) : flag(f) { flag = true; }
    ~ForcedPassScope() { flag = false; }
  } scope(forcedPass_);
  if (onlyOwner) {
    for (int i = Screen ? Screen->FormCount() - 1 : -1; i >= 0; --i) {
      if (Screen->Forms(i) == sd.Owner()) {
        SkinVisibleForm(Screen->Forms(i));
        return;
      }
    }
    return;
  }
  PurgeDeadForms();
  for (int i = Screen ? Screen->FormCount() - 1 : -1; i >= 0; --i) SkinVisibleForm(Screen->Forms(i));
}

void TSkinManage::RunPendingAction() {
  if (!pendingSkinData_ || phase_ == TPhase::GoingAway) return;
  actionTimer_->SetEnabled(false);
  TSkinData& sd = *pendingSkinData_;
  const bool onlyThisForm = sd.SkinFormtype() == sfOnlyThisForm;
  switch (pendingAction_) {
    case saSkinAll:
      SkinAll(sd, onlyThisForm);
      break;
    case saUnskinAll:
      skinEnabled_ = false;
      PurgeDeadForms();
      DetachFormSkinners(sd, onlyThisForm);
      break;
    case saRefresh:
      PurgeDeadForms();
      RebuildFormSkinners(sd, onlyThisForm);
      break;
    case saPurge:
      PurgeDeadForms();
      break;
    case saNone:
      break;
  }
  // The component may have been freed by its own handler; it unregisters itself then.
  if (pendingSkinData_ == &sd) {
    pendingSkinData_ = nullptr;
    sd.DoSkinChanged();
  }
}

bool TSkinManage::SkinWindow(HWND hwnd) {
  if (!skinEnabled_ || phase_ == TPhase::GoingAway || !IsWindow(hwnd)) return false;
  if (SendMessageW(hwnd, WM_SKIN_QUERY, 0, 0) == 1) return false;
  PurgeDeadForms();
  if (IsFormSkinned(hwnd)) return false;
  TForm* form = FindVclForm(hwnd);
  if (!forcedPass_ && IsPlainChildWindow(hwnd)) return false;
  RECT r{};
  GetWindowRect(hwnd, &r);
  if (static_cast<long long>(r.right - r.left) * (r.bottom - r.top) == 0) return false;
  if (form && form->Tag() == kNeverSkinnedFormTag) return false;
  const std::u16string className = WindowClassName(hwnd);
  if (className == u"TApplication" || !QueryFormSkin(className)) return false;
  TSkinData* sd = ChooseSkinData(hwnd);
  if (!sd || sd->NoSkin) return false;
  if (!AttachFormSkinner(hwnd, *sd, form)) return false;
  PostMessageW(hwnd, WM_SKIN_ATTACHED, 0, 1000);
  return true;
}

void TSkinManage::SkinVisibleForm(TForm* form) {
  if (!form || !form->Visible()) return;
  const HWND hwnd = form->Handle();
  if ((GetWindowLongW(hwnd, GWL_STYLE) & WS_CHILD) && form->FormStyle() != fsMDIChild) return;
  SkinWindow(hwnd);
}

TSkinData* TSkinManage::ChooseSkinData(HWND hwnd) const {
  for (auto it = skinDataList_.rbegin(); it != skinDataList_.rend(); ++it) {
    if ((*it)->SkinFormtype() == sfOnlyThisForm && OwnerWindow(**it) == hwnd) return *it;
  }
  const std::u16string className = AsciiLower(WindowClassName(hwnd));
  if (className == u"tmessageform" || className == u"#32770") {
    for (auto it = skinDataList_.rbegin(); it != skinDataList_.rend(); ++it) {
      if ((*it)->SkinFormtype() == sfDialog) return *it;
    }
  }
  for (auto it = skinDataList_.rbegin(); it != skinDataList_.rend(); ++it) {
    if ((*it)->SkinFormtype() == sfMainform) return *it;
  }
  return skinDataList_.empty() ? nullptr : skinDataList_.front();
}

bool TSkinManage::QueryFormSkin(const std::u16string& className) const {
  for (TSkinData* sd : skinDataList_) {
    if (sd->SkinFormtype() != sfMainform) continue;
    bool doSkin = true;
    sd->DoFormSkin(className, doSkin);
    return doSkin;
  }
  return true;
}

bool TSkinManage::SkinPopupWindow(HWND hwnd) {
  if (!skinEnabled_ || phase_ == TPhase::GoingAway || !IsWindow(hwnd)) return false;
  if (SendMessageW(hwnd, WM_SKIN_QUERY, 0, 0) == 1 || IsPopupSkinned(hwnd)) return false;
  // Popup menu windows follow the menu switch of the skin (the item painting follows xcPopupMenu).
  TSkinData* sd = ChooseSkinData(hwnd);
  if (!sd || sd->NoSkin || !(sd->SkinControls() & SkinControlBit(xcMainMenu))) return false;
  auto skinner = std::make_unique<TWinSkinPopMenu>();
  if (!skinner->AttachPopup(hwnd, *sd, nullptr)) return false;
  if (menuBarPopup_) skinner->MarkDroppedFromMenuBar();
  popupSkinners_.push_back(std::move(skinner));
  return true;
}

bool TSkinManage::ReleasePopupWindow(HWND hwnd) {
  const auto it = std::find_if(popupSkinners_.begin(), popupSkinners_.end(),
                               [hwnd](const std::unique_ptr<TWinSkinPopMenu>& p) { return p->Window() == hwnd; });
  if (it == popupSkinners_.end()) return false;
  // Out of the list before it is freed: nothing it does on the way finds it there.
  std::unique_ptr<TWinSkinPopMenu> skinner = std::move(*it);
  popupSkinners_.erase(it);
  skinner.reset();
  if (popupSkinners_.empty()) menuBarPopup_ = false;
  return true;
}

TWinSkinPopMenu* TSkinManage::FindPopupSkinner(HWND hwnd) const {
  for (const auto& p : popupSkinners_) {
    if (p->Window() == hwnd) return p.get();
  }
  return nullptr;
}

HBITMAP TSkinManage::PopupBitmap(HMENU menu) const {
  if (!menu) return nullptr;
  for (const auto& p : popupSkinners_) {
    if (p->Menu() == menu && p->Background()) return p->Background();
  }
  return nullptr;
}

void TSkinManage::MarkMenuBarPopups() {
  for (const auto& p : popupSkinners_) p->MarkDroppedFromMenuBar();
}

void TSkinManage::FreePopupSkinners() {
  std::vector<std::unique_ptr<TWinSkinPopMenu>> list;
  list.swap(popupSkinners_);
  list.clear();
  menuBarPopup_ = false;
  TWinSkinPopMenu::FreeKeptBackgrounds();
}

TSkinEngine::TSkinEngine(std::unique_ptr<TSkinManage> manager)
    : manager_(manager ? std::move(manager) : std::make_unique<TSkinManage>()) {
  RegisterComponentClass<TSkinData>();
  SkinManager = manager_.get();
  SkinManager->InstallHook();
}

TSkinEngine::~TSkinEngine() {
  if (SkinManager == manager_.get()) SkinManager = nullptr;
}

}  // namespace qlt
