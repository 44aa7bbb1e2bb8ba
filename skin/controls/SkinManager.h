#pragma once
// TSkinManage, the one coordinator of the skin engine per process (SkinManager). Skin components
// register with it; switching skinning on or off, or to a new skin, is never done inside a
// property writer: the component asks the manager, whose 250 ms action timer carries it out later
// on the same thread and then tells the component (OnSkinChanged).
//
// It holds the registration, the action timer with its pending action, the CBT hook that sees every
// window activation, the decision which window may be skinned with which component (SkinWindow),
// the skin-all pass, the form skinners (skin/frame) of the skinned windows and the popup skinners
// (skin/menus) of the popup menu windows.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "ui/Classes.h"

namespace qlt {

class TForm;
class TSkinData;
class TTimer;
class TWinSkinForm;
class TWinSkinPopMenu;

// Pending action codes of the action timer.
enum TSkinAction : int { saNone = 0, saSkinAll = 1, saUnskinAll = 2, saRefresh = 3, saPurge = 6 };

// A form whose Tag is this is never skinned, whatever its skin component's DisableTag says.
inline constexpr int kNeverSkinnedFormTag = 99;

// Private window messages of the skin engine.
inline constexpr UINT WM_SKIN_CHANGED = 0x3401;
inline constexpr UINT WM_SKIN_REPAINTFRAME = 0x3502;
inline constexpr UINT WM_SKIN_ATTACHED = 0x3503;
inline constexpr UINT WM_SKIN_QUERY = 0x3504;  // a skinned window answers 1
inline constexpr UINT WM_SKIN_BUTTONACTION = 0x3514;

inline constexpr int kSkinActionDelay = 250;  // ms

class TSkinManage : public TComponentObserver {
 public:
  TSkinManage();
  virtual ~TSkinManage();
  TSkinManage(const TSkinManage&) = delete;
  TSkinManage& operator=(const TSkinManage&) = delete;

  // Skin components in registration order (not owned); a component is listed once.
  void RegisterSkinData(TSkinData* sd);
  // Also forgets an action pending for the component, which is going away.
  void UnregisterSkinData(TSkinData* sd);
  const std::vector<TSkinData*>& SkinDataList() const { return skinDataList_; }

  // Where the manager is in its life: before the first window activation, actions 1 and 2 only
  // switch skinning on or off (the windows are skinned as they are activated); afterwards they go
  // through the action timer; while the manager is destroyed nothing new starts.
  enum class TPhase { BeforeFirstActivation, Running, GoingAway };
  TPhase Phase() const { return phase_; }
  // The hook saw a window activated.
  void WindowActivated();
  // A component that skins only its own form (or dialogs) has finished loading: skinning is on
  // from now, the start-up phase is over, and `owner`'s window is skinned at once.
  void SkinOwnFormNow(TForm* owner);

  // Sets the pending action and the timer's interval. Before the first window activation only
  // actions 1 and 2 have an effect, at once: they switch skinning on or off.
  void ScheduleAction(TSkinAction action, int interval);
  // The component the pending action belongs to: the timer's tick carries the action out for it.
  void SetPendingSkinData(TSkinData* sd) { pendingSkinData_ = sd; }
  // The timer's tick: nothing (and the timer keeps running) while no component is pending;
  // otherwise the timer stops, the action runs, the component hears of it and nothing is pending.
  void RunPendingAction();
  TSkinAction PendingAction() const { return pendingAction_; }
  TSkinData* PendingSkinData() const { return pendingSkinData_; }
  bool ActionTimerEnabled() const;
  int ActionTimerInterval() const;

  // Newly activated windows may be skinned.
  bool SkinEnabled() const { return skinEnabled_; }
  // A timer-driven skin-all pass is running: it also skins MDI children and other child forms.
  bool ForcedPass() const { return forcedPass_; }

  // Attaches a form skinner to a top-level window (or MDI child) when skinning is on, the window is
  // not skinned yet, has a size, is not exempt and a component with a loaded skin is there for it.
  bool SkinWindow(HWND hwnd);
  void SkinVisibleForm(TForm* form);
  // The component a window is skinned with: its own sfOnlyThisForm component, the dialog component
  // for message boxes and dialogs, the last sfMainform component, else the first one.
  TSkinData* ChooseSkinData(HWND hwnd) const;
  // Whether windows of a class may be skinned, asked of the first sfMainform component.
  bool QueryFormSkin(const std::u16string& className) const;
  // Every form skinner drops its title buttons, to rebuild them from a new skin.
  void RefreshAllForms() { RefreshFormSkinners(); }

  // The CBT hook on this thread: every window activation may skin a window. Installed by the
  // engine right after the manager is made; removed by the destructor.
  void InstallHook();
  bool HookInstalled() const { return hook_ != nullptr; }

  // The form skinners, one per skinned window (dead ones until the next purge).
  const std::vector<TWinSkinForm*>& FormSkinners() const { return formSkinners_; }
  // The live form skinner of a window, or nullptr.
  TWinSkinForm* FindFormSkinner(HWND hwnd) const;
  // Called by a form skinner that is being freed: the list forgets it (by identity, never by
  // window: a handle can be reused by another window).
  void RemoveFormSkinner(TWinSkinForm* skinner);

  // Whether the MDI children are shown maximised (their frames are then the system's).
  bool MdiMaximized() const { return mdiMaximized_; }
  void SetMdiMaximized(bool on);
  int MdiChildCount() const;
  // A control of a skinned form got its window after the form was skinned (a hidden form's
  // controls get theirs when it is first shown): it is skinned now.
  void HandleCreated(TWinControl* control) noexcept override;

  // Set while a drop-down of a skinned menu bar is open.
  bool MenuBarPopup() const { return menuBarPopup_; }
  void SetMenuBarPopup(bool open) { menuBarPopup_ = open; }

  // Popup menu windows ("#32768"): the hook gives each one a popup skinner as it is created (when
  // skinning is on and its component skins menus) and takes it away as it is destroyed.
  bool SkinPopupWindow(HWND hwnd);
  // True when the window had a popup skinner; once the last one is gone no menu bar drop-down is
  // open any more.
  bool ReleasePopupWindow(HWND hwnd);
  bool IsPopupSkinned(HWND hwnd) const { return FindPopupSkinner(hwnd) != nullptr; }
  TWinSkinPopMenu* FindPopupSkinner(HWND hwnd) const;
  // The skinned background of the popup window that shows `menu` (its items paint on it), or null.
  HBITMAP PopupBitmap(HMENU menu) const;
  // Every popup showing now was dropped from a skinned menu bar.
  void MarkMenuBarPopups();
  int PopupSkinnerCount() const { return static_cast<int>(popupSkinners_.size()); }
  // Gives every popup window its own look back and frees the skinners.
  void FreePopupSkinners();

 protected:
  // The frame skinner's part (tests replace it to watch the manager's decisions). Attach a form
  // skinner to a window that passed every check; true when one was attached.
  virtual bool AttachFormSkinner(HWND hwnd, TSkinData& sd, TForm* form);
  // Drop the title buttons of every form skinner.
  virtual void RefreshFormSkinners();
  // Free the form skinners whose window is gone.
  virtual void PurgeDeadForms();
  // Detach form skinners that use `sd` (only the last one when `onlyLast`), restoring the windows.
  virtual void DetachFormSkinners(TSkinData& sd, bool onlyLast);
  // Rebuild the frames of form skinners that use `sd` (only the first one when `onlyFirst`).
  virtual void RebuildFormSkinners(TSkinData& sd, bool onlyFirst);
  // Whether a form skinner already skins the window.
  virtual bool IsFormSkinned(HWND hwnd) const { return FindFormSkinner(hwnd) != nullptr; }

 private:
  void SkinAll(TSkinData& sd, bool onlyOwner);
  static LRESULT CALLBACK CbtHook(int code, WPARAM wParam, LPARAM lParam) noexcept;
  void HookCallback(int code, WPARAM wParam, LPARAM lParam);
  void FreeOwnerlessFormSkinners();

  std::vector<TSkinData*> skinDataList_;
  std::unique_ptr<TTimer> actionTimer_;
  TPhase phase_ = TPhase::BeforeFirstActivation;
  bool skinEnabled_ = false;
  bool forcedPass_ = false;
  TSkinAction pendingAction_ = saNone;
  TSkinData* pendingSkinData_ = nullptr;
  HHOOK hook_ = nullptr;
  std::vector<TWinSkinForm*> formSkinners_;
  std::vector<std::unique_ptr<TWinSkinPopMenu>> popupSkinners_;
  bool mdiMaximized_ = false;
  bool menuBarPopup_ = false;
};

// The process's manager: created when the skin engine starts, before any window, and freed when it
// ends.
extern TSkinManage* SkinManager;

// Starts the skin engine for the lifetime of the object: registers the skin component class for
// form descriptions and creates SkinManager (or takes the one given, for tests).
class TSkinEngine {
 public:
  explicit TSkinEngine(std::unique_ptr<TSkinManage> manager = nullptr);
  ~TSkinEngine();
  TSkinEngine(const TSkinEngine&) = delete;
  TSkinEngine& operator=(const TSkinEngine&) = delete;

 private:
  std::unique_ptr<TSkinManage> manager_;
};

}  // namespace qlt
