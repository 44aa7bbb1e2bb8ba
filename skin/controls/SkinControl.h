#pragma once
// TSkinControl: the base of every control skinner. A skinner sits in front of one control's
// messages (a hook in a framework control's chain, or a subclass of a window the framework did not
// make), lets the control do its own work where wanted and paints the control from the skin. Its
// owner is the control (it dies with it) or, for windows without a framework object, the form
// skinner; the form skinner lists it either way.
//
// Detaching is the same in every case and safe to run twice and in any order: the hook or
// subclass unlinks itself wherever it is in the chain, the control gets its colour and double
// buffering back and is painted again; nothing is given back to a control that is being destroyed
// or to a window that is gone.
#include <windows.h>

#include <memory>
#include <string>

#include "skin/controls/ControlLayout.h"
#include "skin/frame/PaintSurface.h"
#include "ui/Controls.h"

namespace qlt {

class TSkinData;
class TWinSkinForm;
class TDataSkinObject;

enum TSkinLifeState { lsNew = 0, lsAttached = 1, lsDead = 6 };

// Bits of MouseState.
inline constexpr int kMouseHot = 1;
inline constexpr int kMousePressed = 2;

class TSkinControl : public TComponent {
  QLT_CLASS(TSkinControl)
 public:
  explicit TSkinControl(TComponent* owner);
  ~TSkinControl() override;

  // Attaches to the owner control through its message chain (once; a second call does nothing).
  virtual void AttachControl(TWinSkinForm* formSkinner, TSkinData* skin, bool ownColour);
  // Attaches to a bare window through the system's subclass chain (once).
  virtual void AttachWindow(HWND window, TSkinData* skin, TWinSkinForm* formSkinner);
  // Attaches to a windowless owner (a speed button) through its message chain (once). It has no
  // window of its own: its parent paints it and hands it its mouse messages.
  void AttachGraphic(TWinSkinForm* formSkinner, TSkinData* skin);
  // Lets go of the control or window: see the top of this file.
  void Detach();
  virtual void RestoreColour();
  // The skin changed: colours again, and a repaint.
  virtual void SkinChanged();

  HWND Handle() const;
  TWinControl* Control() const { return control_; }
  TControl* GraphicControl() const { return graphicControl_; }
  TSkinData* Skin() const { return skin_; }
  TWinSkinForm* FormSkinner() const { return formSkinner_; }
  TSkinLifeState LifeState() const { return lifeState_; }
  bool Attached() const { return attached_; }
  int MouseState() const { return mouseState_; }
  // The form skinner is going: the skinner must not call into it any more.
  void ForgetFormSkinner() { formSkinner_ = nullptr; }

  // Paints the whole window now (on `dc`, or on a window DC when it is null).
  virtual void DrawNow(HDC dc);
  // Invalidates the window without erasing and updates it at once.
  void Redraw();
  // Tells the skinner the mouse has left its control (the form's hot button changes, the form is
  // deactivated, or the hover timer saw the pointer go).
  void SendMouseLeave();

 protected:
  // The message chain: BeforeMessage runs first; when it returns true the control's own handling
  // runs, then AfterMessage. When it returns false the message ends there with its Result.
  virtual bool BeforeMessage(TMessage& message);
  virtual void AfterMessage(TMessage& message);
  // Draws the skinned control into `rect` (origin 0,0, the whole window) of `dc`.
  virtual void Paint(HDC dc, const SkinRect& rect) {}
  // The control's own handling of a message (for skinners that take a message over).
  void CallDefault(TMessage& message);
  // WM_PAINT handled wholly by the skinner: the DC of the message or BeginPaint/EndPaint.
  void PaintMessage(TMessage& message);
  // Frame `index` of `count` of a skin object's image, nine-sliced into `rect` of the surface
  // (transparent where the object says so).
  static void DrawSkinFrame(const PixelView& view, const SkinRect& rect, int count, int index,
                            const TDataSkinObject& object);
  // Fills a rectangle of a DC with the skin's face colour.
  void FillFace(HDC dc, const SkinRect& rect) const;
  // Becomes or stops being the form skinner's hot button (one at a time, across the form).
  void SetHot(bool hot);
  bool OwnerDestroying() const;
  // Attaches to the owner control like AttachControl but leaves its messages alone: the skinner
  // only takes its place in the form's list and, with `ownColour`, gives the control the face
  // colour (plain containers).
  void AttachWithoutMessages(TWinSkinForm* formSkinner, TSkinData* skin, bool ownColour);

  // The surface every control skinner composes on before the one copy to the screen.
  static PaintSurface& Surface();
  // False from the moment the skinner is being freed: a skinner that runs a loop of its own (which
  // may free its control, and the skinner with it) checks this before touching itself again.
  std::shared_ptr<const bool> Alive() const { return alive_; }

  int mouseState_ = 0;
  bool enabled_ = true;
  bool focused_ = false;
  std::u16string caption_;
  TSkinData* skin_ = nullptr;
  TWinControl* control_ = nullptr;
  TControl* graphicControl_ = nullptr;  // the windowless owner of AttachGraphic
  TWinSkinForm* formSkinner_ = nullptr;
  RECT windowRect_{};

 private:
  void HookMessage(TMessage& message, const std::function<void(TMessage&)>& next);
  void AttachOwner(TWinSkinForm* formSkinner, TSkinData* skin, bool ownColour, bool takeMessages);
  std::u16string ReadWindowText() const;

  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
  HWND window_ = nullptr;  // a bare window's handle while subclassed
  TWindowProcHook hook_;
  TWindowSubclass subclass_;
  const std::function<void(TMessage&)>* next_ = nullptr;  // the chain of the message being handled
  bool ownColour_ = false;
  TColor savedColour_ = 0;
  bool savedDoubleBuffered_ = false;
  bool attached_ = false;
  TSkinLifeState lifeState_ = lsNew;
};

}  // namespace qlt
