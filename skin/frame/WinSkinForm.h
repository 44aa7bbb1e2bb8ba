#pragma once
// TWinSkinForm: the skinned frame of one top-level window (a form, a message box, a dialog of the
// system, any window of the program). It subclasses the window, takes the caption styles away,
// answers the non-client messages from the skin (frame size, hit testing, painting, the title
// buttons and the system menu) and gives the window its standard frame back when the skin is
// switched off. The skin manager creates one per window it skins and frees it; the window's form,
// when there is one, owns it as a component.
//
// Lifecycle: skAttaching from construction, skActive once WM_SKIN_ATTACHED has fitted the window
// to the frame, skRefreshing while a new skin is applied, skDestroying inside WM_NCDESTROY and
// skDead after it; the manager frees dead skinners.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "skin/frame/FrameLayout.h"
#include "skin/frame/PaintSurface.h"
#include "ui/Classes.h"
#include "ui/Controls.h"
#include "ui/Handles.h"

namespace qlt {

class TSkinData;
class TForm;
class TPopupMenu;
class TWinSkinForm;
class TDataSkinSysButton;
class TSkinControl;
class TSkinnedPopupMenus;
class TWinSkinMenu;

enum TSkinFormState { skAttaching = 0, skActive = 1, skRefreshing = 3, skDestroying = 4, skResizing = 5, skDead = 6 };

// One hot-trackable object of the non-client area (a title button, a menu bar button).
class TNCObject {
 public:
  explicit TNCObject(TWinSkinForm& owner) : owner_(owner) {}
  virtual ~TNCObject() = default;
  TNCObject(const TNCObject&) = delete;
  TNCObject& operator=(const TNCObject&) = delete;

  virtual void MouseDown();
  virtual void MouseUp();
  virtual void MouseMove();
  virtual void MouseLeave();
  virtual void Paint() {}

  SkinRect Rect;          // window coordinates; empty until laid out
  bool Visible = false;
  int State = kButtonNormal;

 protected:
  TWinSkinForm& owner_;
};

// A title button drawn from a skin button object.
class TWinSysButton : public TNCObject {
 public:
  TWinSysButton(TWinSkinForm& owner, const TDataSkinSysButton& data) : TNCObject(owner), Data(data) {}
  void Paint() override;
  // The button shows the window's icon instead of an image (system-menu buttons).
  bool ShowsIcon() const;
  const TDataSkinSysButton& Data;
};

class TWinSkinForm : public TComponent {
  QLT_CLASS(TWinSkinForm)
 public:
  // `owner` is the window's form, or nullptr for a window without one.
  explicit TWinSkinForm(TComponent* owner);
  ~TWinSkinForm() override;

  int32_t DisableTag() const { return disableTag_; }
  void SetDisableTag(int32_t value) { disableTag_ = value; }

  // Called by the manager, in this order, for a new window.
  void SetWindow(HWND window) { window_ = window; }
  void AttachToForm(TSkinData& skin, TForm* form);
  void AttachToWindow(TSkinData& skin);
  // The skin is switched off: the window gets its standard frame, styles and size back.
  void RestoreWindow();
  // Frees a skinner the manager has let go of: at once, or, while a message of its window is still
  // being handled (a nested loop inside it: the system menu, a move or size, a modal dialog), once
  // the outermost of those messages has returned, so that the procedure on the stack finds it whole.
  static void FreeWhenIdle(TWinSkinForm* skinner);
  // A new skin: the title buttons go at once (they refer to the old skin's objects) ...
  void FreeTitleButtons();
  // ... and the frame is rebuilt from the new one.
  void ComputeFrameMetrics();
  void ReapplySkin();
  void Notification(TComponent* component, TOperation operation) override;

  HWND Window() const { return window_; }
  TForm* Form() const { return form_; }
  TSkinData* Skin() const { return skin_; }
  TSkinFormState State() const { return state_; }
  bool Subclassed() const { return subclassed_; }
  bool FrameSkinning() const { return frameSkinning_; }
  TBorderKind BorderKind() const { return borderKind_; }
  TMdiKind MdiKind() const { return mdiKind_; }
  TFrameState FrameState() const { return frameState_; }
  bool Active() const { return active_; }
  const FrameMetrics& Metrics() const { return metrics_; }
  int MenuBarHeight() const { return menuBarHeight_; }
  // The skinned menu bar, for a window that had a menu bar of its own (nullptr otherwise).
  TWinSkinMenu* MenuBar() const { return menuBar_.get(); }
  // The window reads right to left (WS_EX_LEFTSCROLLBAR when it was skinned).
  bool RightToLeft() const { return rightToLeft_; }
  std::uint8_t BoxFlags() const { return boxFlags_; }
  const std::vector<std::unique_ptr<TWinSysButton>>& TitleButtons() const { return titleButtons_; }
  TPopupMenu* SkinnedSystemMenu() const { return systemMenu_.get(); }
  // The object under the mouse or pressed, or nullptr.
  TNCObject* HotObject() const { return hotObject_; }
  void SetHotObject(TNCObject* object) { hotObject_ = object; }

  // Paints the whole frame (a DC of the window, or nullptr for a fresh one).
  void PaintFrame(HDC dc);
  // Paints the title bar again where one title button is (after its state changed).
  void PaintTitleButton(const TWinSysButton& button);
  // Paints one part of the frame again (a title or menu bar button whose state changed).
  void PaintNcRect(const SkinRect& rect);
  // The menu bar's buttons are about to be rebuilt: none of them stays hot or pressed.
  void ForgetMenuButtons();
  // SetWindowPos with no change but SWP_FRAMECHANGED: the frame is measured and painted again.
  void RefreshFrame();
  void UpdateRegion();
  // Runs a title button's action.
  void ButtonAction(const TWinSysButton& button, POINT screen);
  // Shows the system menu (the skin's, or the window's own) at a screen point.
  void ShowSystemMenu(int x, int y);

  // The control skinners of this window (not owned: each belongs to its control, or to this
  // object for windows without a framework object).
  const std::vector<TSkinControl*>& ControlSkinners() const { return controlSkinners_; }
  // Adds a skinner unless it is listed; whether it was listed already.
  bool AddControlSkinner(TSkinControl* skinner);
  void RemoveControlSkinner(TSkinControl* skinner);
  bool HasControlSkinner(const TSkinControl* skinner) const;
  TSkinControl* FindControlSkinner(HWND window) const;
  // Frees the skinners whose window is gone.
  void PurgeDeadControls();
  // Picks up a control whose window appeared after the form was skinned.
  void SkinLateControl(TComponent* control);
  // The push button shown hot: one at a time in a window.
  TSkinControl* HotButton() const { return hotButton_; }
  void SetHotButton(TSkinControl* skinner) { hotButton_ = skinner; }

  // Messages the subclass passes on to the window's own procedure.
  LRESULT CallPrevious(UINT msg, WPARAM wParam, LPARAM lParam);

  // MDI. A frame subclasses its "MDIClient" window: children made through it are skinned once the
  // client refreshes its window menu, and the menu bar follows the children.
  HWND MdiClient() const { return mdiClient_; }
  bool MdiClientSubclassed() const { return clientSubclass_.Attached(); }
  // The child made by the last WM_MDICREATE and not skinned yet (nullptr when none).
  HWND PendingMdiChild() const { return pendingMdiChild_; }
  // A window is being destroyed: it is no pending child any more.
  void ForgetMdiChild(HWND window);
  // The frame's active child, and whether it shows maximised.
  HWND ActiveMdiChild() const;
  bool ActiveMdiChildMaximized() const;
  // The manager's MDI-maximised state changed: a child's frame goes to the system, or comes back.
  void MdiMaximizedChanged(bool on);

 private:
  LRESULT FrameWndProc(UINT msg, WPARAM wParam, LPARAM lParam);
  bool HandleFrameMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
  bool StageTwoRuns() const;
  bool IsMdiChild() const { return mdiKind_ == mkChild; }
  bool Minimized() const { return frameState_ == frMinimized; }
  bool MdiChildMaximizedOrMinimized() const { return IsMdiChild() && frameState_ != frNormal; }
  // The size handler makes the region anew for the window's size in this state.
  bool RegionFollowsSize() const;
  // The region was made for another size than w x h and is about to be made again.
  bool RegionStale(int w, int h) const;

  // Attaching and detaching.
  void Subclass();
  void Unsubclass();
  // An attach that failed half way: the window gets back its styles and procedure.
  void UndoAttach();
  void ReadWindow();
  void SetFrameStyles(bool restore);
  void AttachMenuBar();
  void DetachMenuBar(bool giveBack);
  void ReleaseOnDestroy();
  void AttachMdiClient();
  void DetachMdiClient();
  void MdiClientMessage(TMessage& m, const TWindowSubclass::Next& next);
  void RestoreMenuUpdate();
  void SkinMdiChild(HWND child);
  void RestoreStandardSize();
  void RemoveRegion();
  void StartHoverTimer(bool on);
  void SkinControls();
  void FreeControlSkinners();
  void LeaveHotButton();
  // The forms placed inside this one that have no form skinner of their own take the skin's face
  // colour with it; what they had comes back when the skin goes.
  void ColourEmbeddedForms();
  void RestoreEmbeddedColours();

  // Messages.
  void SizeHandler(WPARAM type);
  void MinMaxHandler(MINMAXINFO* info);
  void UpdateWindowState();
  void AttachCompleted();
  LRESULT NcCalcSize(WPARAM wParam, LPARAM lParam);
  LRESULT NcHitTest(LPARAM lParam);
  LRESULT NcActivate(WPARAM wParam, LPARAM lParam);
  bool NcMouse(UINT msg, WPARAM hitCode, LPARAM lParam, LRESULT& result);
  bool CommandHandler(WPARAM wParam, LPARAM lParam, LRESULT& result);
  bool SysCommandHandler(WPARAM wParam, LPARAM lParam, LRESULT& result);
  void HoverCheck();

  // Frame geometry and painting.
  void FitWindowToSkin(bool reread);
  void WidenDialogForCaption(int& width);
  void ComposeFrame(PixelView view, int w, int h);
  void ComposeTitleBar(PixelView view, int w);
  void LayOutTitleButtons(int w, const std::u16string& text);
  void DrawTitleButton(PixelView view, const TWinSysButton& button);
  SkinRect CaptionRect(int w, const std::u16string& text);
  void BuildIcon();
  void BuildTitleFont();
  void BuildSystemMenu();
  void SystemMenuClick(int tag);
  std::u16string WindowText() const;
  POINT ToWindow(POINT screen) const;
  TNCObject* ObjectAt(POINT window) const;
  void Maximize();
  void Minimize();
  void Restore();

  // What the window was and is.
  HWND window_ = nullptr;
  TForm* form_ = nullptr;
  TSkinData* skin_ = nullptr;
  bool subclassed_ = false;
  TWindowSubclass subclass_;
  const TWindowSubclass::Next* next_ = nullptr;  // the chain of the message being handled
  int messageDepth_ = 0;                         // messages of the window being handled
  bool freeWhenIdle_ = false;                    // freed once the outermost of them returns
  bool frameSkinning_ = false;
  TSkinFormState state_ = skAttaching;
  std::uint32_t style_ = 0;
  bool rightToLeft_ = false;
  TMdiKind mdiKind_ = mkNone;
  TBorderKind borderKind_ = bkSingle;
  std::uint8_t boxFlags_ = 0;
  std::uint32_t removedStyles_ = 0;  // exactly the style bits the skin took away
  TFrameState frameState_ = frNormal;
  bool active_ = false;
  int32_t disableTag_ = 0;
  HWND owner_ = nullptr;
  std::u16string className_;
  SIZE standardFrame_{};   // window size minus client size before the skin
  RECT clientAtAttach_{};  // the client area the skinned frame keeps
  TColor savedFormColour_ = 0;
  std::vector<std::pair<TForm*, TColor>> embeddedColours_;

  // The frame.
  FrameMetrics metrics_;
  int menuBarHeight_ = 0;
  SkinRect caption_;
  std::vector<std::unique_ptr<TWinSysButton>> titleButtons_;
  TNCObject* hotObject_ = nullptr;
  TNCObject* pressedObject_ = nullptr;  // pressed, and not yet released over itself
  UniqueFont titleFont_;
  UniqueIcon icon_;  // the window's icon at the small size
  Bitmap24 iconFallback_;  // the program's icon for a window without one
  int iconSize_ = 16;
  PaintSurface surface_;
  bool regionOwned_ = false;
  SIZE regionSize_{};
  bool composedForRegion_ = false;  // set while the region made from the surface's frame is applied
  std::unique_ptr<TPopupMenu> systemMenu_;
  // The skin's painting on the form's popup menus and the system menu's items.
  std::unique_ptr<TSkinnedPopupMenus> popupMenus_;
  std::unique_ptr<TWinSkinMenu> menuBar_;
  TWindowProcHook formHook_;  // the form's accelerators reach the menu bar
  std::vector<TSkinControl*> controlSkinners_;
  TSkinControl* hotButton_ = nullptr;
  bool hoverTimer_ = false;
  DWORD lastMenuRequest_ = 0;
  bool hasMenuRequest_ = false;
  bool menuRebuilding_ = false;  // the form rebuilds its menu: this frame is not painted meanwhile
  // An MDI frame's client and the child waiting to be skinned; the skin's MenuUpdate as it was
  // at attach, and whether this frame holds it off while children live.
  HWND mdiClient_ = nullptr;
  TWindowSubclass clientSubclass_;
  HWND pendingMdiChild_ = nullptr;
  bool savedMenuUpdate_ = true;
  bool menuUpdateHeld_ = false;
};

}  // namespace qlt
