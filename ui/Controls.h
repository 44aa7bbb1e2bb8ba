#pragma once
// Controls: TControl (windowless: painted and fed mouse messages by its parent) and TWinControl (a
// window of its own, created when first needed). Every message of a control passes through its
// WindowProc, then through the hooks linked into it (TWindowProcHook, newest first), then the
// control's own handling:
//
//   TWindowProcHook hook(button, [this](TMessage& m, const TWindowProcHook::Next& next) {
//     if (!Swallow(m)) next(m);     // the older hooks, then the control's own handling
//   });                             // unlinks itself when it goes, wherever it is in the chain
//
// Windows the framework did not create are hooked with TWindowSubclass, over the system's
// subclass chain, with the same shape of handler.
//
// Windows are bound to their object when they are created (WM_NCCREATE carries the object); the
// window class of each is named after its framework class ("TButton", "TFrm_Main"). Standard
// controls are superclassed: "TButton" is the system "BUTTON" class with the framework's window
// procedure in front; a window of such a class without an object goes straight to the system
// class. Window procedures are noexcept: an exception raised while a message is handled ends that
// handler and is shown in the application's error box (after the paint, for one raised while
// painting).
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "ui/Classes.h"
#include "ui/Graphics.h"

namespace qlt {

// Framework messages, delivered to a control's WindowProc.
inline constexpr UINT CM_BASE = 0xB000;
inline constexpr UINT CM_DIALOGKEY = 0xB005;       // wParam: virtual key; result 1 when used
inline constexpr UINT CM_DIALOGCHAR = 0xB006;      // Alt+character: wParam the character; result 1 when used
inline constexpr UINT CM_VISIBLECHANGED = 0xB00B;  // wParam: the new value
inline constexpr UINT CM_ENABLEDCHANGED = 0xB00C;
inline constexpr UINT CM_COLORCHANGED = 0xB00D;
inline constexpr UINT CM_FONTCHANGED = 0xB00E;
inline constexpr UINT CM_TEXTCHANGED = 0xB012;
inline constexpr UINT CM_MOUSEENTER = 0xB013;      // lParam: the control
inline constexpr UINT CM_MOUSELEAVE = 0xB014;      // lParam: the control
inline constexpr UINT CM_MENUCHANGED = 0xB015;     // sent to a form's window when its menu changes
inline constexpr UINT CM_ENTER = 0xB01A;           // the control got the focus
inline constexpr UINT CM_EXIT = 0xB01B;            // the focus left the control
inline constexpr UINT CM_RELEASE = 0xB021;         // posted to a form that frees itself
inline constexpr UINT CM_CHECKCHANGED = 0xB0D0;    // a check box or radio button changed its state
// Notifications a parent window receives from a child are reflected to the child as CN_BASE + msg.
inline constexpr UINT CN_BASE = 0xBC00;
inline constexpr UINT CN_COMMAND = CN_BASE + WM_COMMAND;
inline constexpr UINT CN_NOTIFY = CN_BASE + WM_NOTIFY;  // 0xBC4E
inline constexpr UINT CN_HSCROLL = CN_BASE + WM_HSCROLL;  // 0xBD14
inline constexpr UINT CN_VSCROLL = CN_BASE + WM_VSCROLL;  // 0xBD15
inline constexpr UINT CN_DRAWITEM = CN_BASE + WM_DRAWITEM;
inline constexpr UINT CN_MEASUREITEM = CN_BASE + WM_MEASUREITEM;
inline constexpr UINT CN_CTLCOLOREDIT = CN_BASE + WM_CTLCOLOREDIT;
inline constexpr UINT CN_CTLCOLORLISTBOX = CN_BASE + WM_CTLCOLORLISTBOX;
inline constexpr UINT CN_CTLCOLORBTN = CN_BASE + WM_CTLCOLORBTN;
inline constexpr UINT CN_CTLCOLORSTATIC = CN_BASE + WM_CTLCOLORSTATIC;

struct TMessage {
  UINT Msg;
  WPARAM WParam;
  LPARAM LParam;
  LRESULT Result;
};
using TWndMethod = std::function<void(TMessage&)>;

class TControl;
struct WindowProcHookNode;

// A hook in a control's message chain, for as long as the object lives (move-only). The handler
// gets every message of the control before the control's own handling and passes it on with
// next(message), or answers it itself (setting Result) by not calling next. Hooks are independent:
// removing one, in any order, from anywhere (also inside its own handler) never cuts off another.
// A hook outlives its control safely: it then reports that it is no longer installed.
class TWindowProcHook {
 public:
  class Next {
   public:
    void operator()(TMessage& message) const;

   private:
    friend struct WindowProcHookNode;
    explicit Next(const WindowProcHookNode* node) : node_(node) {}
    const WindowProcHookNode* node_;
  };
  using Handler = std::function<void(TMessage& message, const Next& next)>;

  TWindowProcHook() = default;
  TWindowProcHook(TControl* control, Handler handler) { Install(control, std::move(handler)); }
  ~TWindowProcHook() { Remove(); }
  TWindowProcHook(TWindowProcHook&& other) noexcept = default;
  TWindowProcHook& operator=(TWindowProcHook&& other) noexcept;
  TWindowProcHook(const TWindowProcHook&) = delete;
  TWindowProcHook& operator=(const TWindowProcHook&) = delete;

  // Links the handler in front of the control's other hooks (a previous installation is removed).
  void Install(TControl* control, Handler handler);
  void Remove();
  // Linked into a control that still exists.
  bool Installed() const;
  TControl* Control() const;

 private:
  std::shared_ptr<WindowProcHookNode> node_;
};

// A subclass of any window of this thread, over the system's subclass chain (SetWindowSubclass):
// for windows the framework did not create (message boxes, dialogs, the combo box's edit) and for
// anything that must sit in front of a window's procedure. Subclasses are independent and may be
// removed in any order. Attach and Detach are safe to run twice and in any order; at WM_NCDESTROY
// the subclass passes the message on, then detaches itself and never touches the handle again.
// Freeing the object inside its own handler is safe. Move-only.
class TWindowSubclass {
 public:
  class Next {
   public:
    void operator()(TMessage& message) const;

   private:
    friend struct WindowSubclassCall;
    Next(HWND window, bool* passed) : window_(window), passed_(passed) {}
    HWND window_;
    bool* passed_;
  };
  using Handler = std::function<void(TMessage& message, const Next& next)>;

  TWindowSubclass() = default;
  TWindowSubclass(HWND window, Handler handler) { Attach(window, std::move(handler)); }
  ~TWindowSubclass();
  TWindowSubclass(TWindowSubclass&& other) noexcept : state_(std::exchange(other.state_, nullptr)) {}
  TWindowSubclass& operator=(TWindowSubclass&& other) noexcept;
  TWindowSubclass(const TWindowSubclass&) = delete;
  TWindowSubclass& operator=(const TWindowSubclass&) = delete;

  // Puts the handler in front of the window's procedure (and its other subclasses); false when the
  // window is gone or belongs to another thread.
  bool Attach(HWND window, Handler handler);
  void Detach();
  bool Attached() const;
  HWND Window() const;

  struct State;

 private:
  State* state_ = nullptr;
};

// The window size that gives a window the client size asked for. The window itself is asked
// (WM_NCCALCSIZE on a proposed rectangle), so a frame that a subclass draws, or a menu bar that
// wraps, counts; without a window to ask, the system's frame for the styles.
SIZE WindowSizeForClient(HWND window, SIZE client);
SIZE WindowSizeForClient(SIZE client, DWORD style, DWORD exStyle, bool menu);

// True while a paint message (WM_PAINT, WM_NCPAINT, WM_ERASEBKGND, WM_DRAWITEM, printing) of a
// framework window or subclass is handled on this thread: an error is then shown after the paint.
bool HandlingPaintMessage();
using TKeyPressEvent = std::function<void(TObject* Sender, char16_t& Key)>;

enum TAlignment { taLeftJustify, taRightJustify, taCenter };
const TEnumInfo& AlignmentInfo();

using TCursor = int32_t;
inline constexpr TCursor crDefault = 0;
inline constexpr TCursor crArrow = -2;
inline constexpr TCursor crCross = -3;
inline constexpr TCursor crIBeam = -4;
inline constexpr TCursor crSizeAll = -22;
inline constexpr TCursor crHourGlass = -11;
inline constexpr TCursor crNo = -18;
inline constexpr TCursor crHandPoint = -21;
const TIdentMap& CursorIdents();

using TModalResult = int32_t;
inline constexpr TModalResult mrNone = 0;
inline constexpr TModalResult mrOk = IDOK;
inline constexpr TModalResult mrCancel = IDCANCEL;
inline constexpr TModalResult mrAbort = IDABORT;
inline constexpr TModalResult mrRetry = IDRETRY;
inline constexpr TModalResult mrIgnore = IDIGNORE;
inline constexpr TModalResult mrYes = IDYES;
inline constexpr TModalResult mrNo = IDNO;
const TIdentMap& ModalResultIdents();

class TWinControl;
class TPopupMenu;
class TForm;

class TControl : public TComponent {
  QLT_CLASS(TControl)
 public:
  explicit TControl(TComponent* owner);
  ~TControl() override;

  TWinControl* Parent() const { return parent_; }
  virtual void SetParent(TWinControl* parent);

  int32_t Left() const { return left_; }
  int32_t Top() const { return top_; }
  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }
  void SetLeft(int32_t v) { SetBounds(v, top_, width_, height_); }
  void SetTop(int32_t v) { SetBounds(left_, v, width_, height_); }
  void SetWidth(int32_t v) { SetBounds(left_, top_, v, height_); }
  void SetHeight(int32_t v) { SetBounds(left_, top_, width_, v); }
  virtual void SetBounds(int32_t left, int32_t top, int32_t width, int32_t height);
  TRect BoundsRect() const { return Rect(left_, top_, left_ + width_, top_ + height_); }
  virtual int32_t ClientWidth() const { return width_; }
  virtual int32_t ClientHeight() const { return height_; }
  virtual void SetClientWidth(int32_t v) { SetWidth(v); }
  virtual void SetClientHeight(int32_t v) { SetHeight(v); }
  TRect ClientRect() const { return Rect(0, 0, ClientWidth(), ClientHeight()); }

  // Caption and Text are the same: the window text of a windowed control.
  virtual std::u16string Text() const;
  virtual void SetText(const std::u16string& text);
  std::u16string Caption() const { return Text(); }
  void SetCaption(const std::u16string& text) { SetText(text); }

  TColor Color() const { return color_; }
  void SetColor(TColor color);
  bool ParentColor() const { return parentColor_; }
  void SetParentColor(bool value);
  TFont* Font() { return &font_; }
  const TFont* Font() const { return &font_; }
  bool ParentFont() const { return parentFont_; }
  void SetParentFont(bool value);

  bool Enabled() const { return enabled_; }
  virtual void SetEnabled(bool enabled);
  bool Visible() const { return visible_; }
  virtual void SetVisible(bool visible);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  // Visible here and in every parent up to a top-level window that is shown.
  virtual bool Showing() const;
  const std::u16string& Hint() const { return hint_; }
  void SetHint(const std::u16string& hint) { hint_ = hint; }
  // Whether the hint shows; with ParentShowHint (the default) the parent decides.
  bool ShowHint() const;
  void SetShowHint(bool show);
  bool ParentShowHint() const { return parentShowHint_; }
  void SetParentShowHint(bool value) { parentShowHint_ = value; }
  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor cursor) { cursor_ = cursor; }
  TPopupMenu* PopupMenu() const { return popupMenu_; }
  void SetPopupMenu(TPopupMenu* menu);

  // Sends a message straight to WindowProc (not through the window) and gives its result.
  LRESULT Perform(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
  virtual void Invalidate();
  virtual void Update();
  void Repaint() {
    Invalidate();
    Update();
  }
  virtual TPoint ClientToScreen(TPoint p) const;
  virtual TPoint ScreenToClient(TPoint p) const;
  // The form this control is on (itself for a form), or nullptr.
  TForm* GetParentForm() const;
  virtual void Click();
  virtual void DblClick();

  // Every message of the control passes through this method first; by default it runs the hooks
  // (TWindowProcHook) and then the control's own handling. It may still be replaced by hand (save
  // it, assign, put it back), but such replacements are undone only in the reverse order.
  TWndMethod WindowProc;
  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;

  void SetParentComponent(TComponent* parent) override;
  TComponent* GetParentComponent() const override;
  void Notification(TComponent* component, TOperation operation) override;
  void Loaded() override;
  // Whether a description stores the text as "Caption" (edits store it as "Text").
  virtual bool IsCaptionStored() const { return true; }

 protected:
  // The control's own handling; the base handles mouse clicks, popup menus and the framework's
  // change messages, and passes the rest to DefaultHandler.
  virtual void WndProc(TMessage& message);
  virtual void DefaultHandler(TMessage& message) {}
  // For windowless controls: draws on the parent's DC (at the control's origin).
  virtual void Paint(TCanvas* canvas) {}
  virtual void FontChanged();
  virtual void ColorChanged();
  virtual void TextChanged() {}
  // Controls that fire OnClick/OnDblClick from the mouse themselves (labels, forms, speed buttons).
  bool clickEvents_ = false;
  bool doubleClicks_ = false;
  std::u16string text_;
  int32_t left_ = 0, top_ = 0, width_ = 0, height_ = 0;

 private:
  friend class TWinControl;
  friend class TWindowProcHook;
  friend struct WindowProcHookNode;
  void RunHooks(TMessage& message);
  void ParentFontChanged();
  void ParentColorChanged();
  void MouseClickMessage(TMessage& message);

  TWinControl* parent_ = nullptr;
  TColor color_ = clBtnFace;
  bool parentColor_ = false;
  TFont font_;
  bool parentFont_ = true;
  bool applyingParentFont_ = false;
  bool enabled_ = true;
  bool visible_ = true;
  std::u16string hint_;
  bool showHint_ = false;
  bool parentShowHint_ = true;
  TCursor cursor_ = crDefault;
  TPopupMenu* popupMenu_ = nullptr;
  bool clicked_ = false;
  std::shared_ptr<TControl*> self_;                // what hooks hold: this, or nullptr once gone
  std::shared_ptr<WindowProcHookNode> hooks_;      // newest first
};

// A windowless control (a label, a speed button): drawn by its parent's WM_PAINT.
class TGraphicControl : public TControl {
  QLT_CLASS(TGraphicControl)
 public:
  explicit TGraphicControl(TComponent* owner);
  // The parent's DC while painting, otherwise a DC of the parent window (released when the
  // canvas is no longer needed).
  TCanvas* Canvas() { return &canvas_; }

 protected:
  void WndProc(TMessage& message) override;
  TCanvas canvas_;
};

// What CreateParams fills in for the window of a windowed control.
struct TCreateParams {
  std::u16string caption;
  DWORD style = 0;
  DWORD exStyle = 0;
  int x = 0, y = 0, width = 0, height = 0;
  HWND wndParent = nullptr;
  // The window class: its name (the framework class name by default), the system class it
  // superclasses (empty for a class of the framework's own) and its class style.
  std::u16string className;
  std::u16string baseClass;
  UINT classStyle = CS_DBLCLKS;
};

class TWinControl : public TControl {
  QLT_CLASS(TWinControl)
 public:
  explicit TWinControl(TComponent* owner);
  ~TWinControl() override;

  HWND Handle();  // creates the window when it does not exist yet
  bool HandleAllocated() const { return handle_ != nullptr; }
  void HandleNeeded() { Handle(); }
  // Destroys and creates the window again (after a change of style).
  void RecreateWnd();

  int ControlCount() const { return static_cast<int>(controls_.size()); }
  TControl* Controls(int index) const { return controls_.at(static_cast<size_t>(index)); }
  // The windowless child control at a point of the client area, or nullptr.
  TControl* ControlAtPos(TPoint p) const;

  int32_t TabOrder() const;
  void SetTabOrder(int32_t order);
  bool TabStop() const { return tabStop_; }
  void SetTabStop(bool value);
  bool Focused() const;
  bool CanFocus() const;
  virtual void SetFocus();

  std::u16string Text() const override;
  void SetText(const std::u16string& text) override;
  int32_t ClientWidth() const override;
  int32_t ClientHeight() const override;
  void SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) override;
  void SetEnabled(bool enabled) override;
  void SetVisible(bool visible) override;
  bool Showing() const override;
  void Invalidate() override;
  void Update() override;
  TPoint ClientToScreen(TPoint p) const override;
  TPoint ScreenToClient(TPoint p) const override;
  TBrush* Brush() { return &brush_; }
  // Painted in an off-screen bitmap and copied to the window in one piece (no flicker); the
  // control then gets WM_ERASEBKGND and WM_PAINT with the bitmap's DC in wParam.
  bool DoubleBuffered() const { return doubleBuffered_; }
  void SetDoubleBuffered(bool value) { doubleBuffered_ = value; }

  TKeyPressEvent OnKeyPress;
  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;

  // The object of one of the framework's windows, or nullptr.
  static TWinControl* FindControl(HWND window);
  std::vector<TComponent*> GetChildren(TComponent* root) const override;
  void Loaded() override;
  // The identifier of the window among its siblings (GetDlgCtrlID), unique in the program.
  int ControlId() const { return controlId_; }

 protected:
  virtual void CreateParams(TCreateParams& params);
  virtual void CreateHandle();
  // After the window exists: the framework has set its font; a control fills in its state
  // (items, check marks, ranges). Observers hear HandleCreated right after.
  virtual void CreateWnd() {}
  // Observers hear HandleDestroying first, then the children lose their windows, then this one.
  virtual void DestroyHandle();
  // Before the window is destroyed by RecreateWnd: a control saves what lives only in the window.
  virtual void DestroyWnd() {}
  // Makes and destroys the window itself (an MDI child asks its MDI client instead). The window
  // announces `this` at WM_NCCREATE (CREATESTRUCT's, or MDICREATESTRUCT's lParam for an MDI child).
  virtual HWND CreateWindowHandle(const TCreateParams& params, HMENU id);
  virtual void DestroyWindowHandle(HWND window);
  // The default handling of a message (the window class's procedure; an MDI frame's or child's
  // default procedure for those).
  virtual LRESULT CallDefaultProcedure(UINT msg, WPARAM wParam, LPARAM lParam);
  // Whether the children wait for their windows until this one is shown (a hidden form): they
  // get them then, or as soon as one is asked for its Handle().
  virtual bool DefersChildHandles() const { return false; }
  // Creates the windows the children do not have yet, and puts them in tab order.
  void CreateChildHandles();
  void WndProc(TMessage& message) override;
  void DefaultHandler(TMessage& message) override;
  void FontChanged() override;
  void ColorChanged() override;
  // The window goes while the whole object exists.
  void BeforeDestruction() override;
  virtual void KeyPress(char16_t& key);
  // Paints the windowless children on a DC (after the control has painted itself).
  void PaintControls(HDC dc);
  bool creatingHandle_ = false;
  bool creatingChildren_ = false;  // CreateChildHandles puts the tab order right once at the end
  bool deleteAfterMessage_ = false;  // a form that released itself is deleted after the message

 private:
  friend class TControl;
  friend LRESULT CALLBACK FrameworkWndProc(HWND, UINT, WPARAM, LPARAM) noexcept;
  // The object of a framework window: bound ones by handle, one being created from the message
  // that announces it (WM_NCCREATE's create parameters, or the innermost creation for the
  // messages before it); nullptr for a window of a framework class that has no object.
  static TWinControl* ObjectOfWindow(HWND window, UINT msg, LPARAM lParam);
  void Bind(HWND window);
  void WindowDestroying();  // observers hear it once per window
  void InsertControl(TControl* control);
  void RemoveControl(TControl* control);
  void UpdateTabOrderOfWindows();
  void PaintHandler(TMessage& message);
  void PaintBuffered(TMessage& message);
  void ReflectNotification(TMessage& message, HWND child);
  void TrackMouse(TMessage& message);

  HWND handle_ = nullptr;
  WNDPROC defWndProc_ = nullptr;
  std::vector<TControl*> controls_;     // creation order (paint order of windowless children)
  std::vector<TWinControl*> tabList_;   // windowed children in tab order
  bool tabStop_ = false;
  bool doubleBuffered_ = false;
  int32_t tabOrderRead_ = -1;  // TabOrder from a description, applied once all siblings exist
  int controlId_ = 0;
  TBrush brush_;
  TControl* mouseCapture_ = nullptr;  // windowless child that got the mouse press
  bool destroyingAnnounced_ = false;   // observers heard HandleDestroying for this window
};

// The control the mouse is over (windowless or windowed), or nullptr; and a function told whenever
// that changes (the application shows hints with it).
TControl* MouseControl();
void SetMouseControlHook(void (*hook)(TControl* control));

// Shows the application's error box for the exception being handled; every window procedure and
// callback of the framework calls it from its catch block, so the program goes on.
void ShowExceptionInHandler() noexcept;

// The window procedure of every framework window. Exposed for code that subclasses a framework
// window and wants to know whether it is one.
LRESULT CALLBACK FrameworkWndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;

// Registers the framework's control classes for form descriptions (called by TApplication).
void RegisterControlClasses();

}  // namespace qlt
