#pragma once
// Edit boxes, up-down buttons and combo boxes painted from the skin:
// - TSkinEdit: a bordered edit box gets a flat two-line border (the skin's shadow colour outside,
//   white inside) in place of the sunken edge; the up-down button inside a spin edit (or any
//   "msctls_updown32" child) gets a TSkinUpDown, owned by the edit's skinner;
// - TSkinUpDown: the two halves of an up-down control from "UpDown.Vert" / "UpDown.Horz" (eight
//   cells: normal, pressed, disabled, hot of the first button, then of the second) with their
//   arrow glyphs, or without those images face-coloured halves with drawn arrows. The control
//   keeps its own mouse handling (steps, auto-repeat); only the painting is the skin's;
// - TSkinComBox: the ring ("SunkEdge") and the drop-down button ("ComboButton", mirrored on the
//   left for a left scroll bar) with its arrow ("ExtraImages"); the text area stays the control's.
// Each composes off the screen and copies once; a DC it is given keeps its clipping.
#include "skin/controls/EditLayout.h"
#include "skin/controls/SkinControl.h"

namespace qlt {

class TSkinUpDown : public TSkinControl {
  QLT_CLASS(TSkinUpDown)
 public:
  explicit TSkinUpDown(TComponent* owner) : TSkinControl(owner) {}

  // The buttons sit inside an edit box: they are drawn one pixel in from every side, and they look
  // disabled with the edit.
  void SetInEdit(bool on) { inEdit_ = on; }
  bool InEdit() const { return inEdit_; }
  // The buttons belong to a tab strip's overflow arrows: always side by side.
  void SetInTabSet(bool on) { inTabSet_ = on; }
  bool Horizontal() const;
  // The looks of the two halves as they would be painted now (ControlLook values).
  int FirstLook() const { return Looks().first; }
  int SecondLook() const { return Looks().second; }
  // How often the skinner has painted the control (a hover that changes nothing paints nothing).
  int Paints() const { return paints_; }

 protected:
  bool BeforeMessage(TMessage& message) override;
  void AfterMessage(TMessage& message) override;
  void Paint(HDC dc, const SkinRect& rect) override;

 private:
  std::pair<int, int> Looks() const;
  bool Disabled() const;
  // Hover came or went, or moved from one half to the other: painted again only if a look changed.
  void HoverChanged();

  bool inEdit_ = false;
  bool inTabSet_ = false;
  bool tracking_ = false;  // a WM_MOUSELEAVE has been asked for
  POINT pointer_{-1, -1};  // the pointer of the last mouse message (client coordinates)
  std::pair<int, int> painted_{0, 0};
  int paints_ = 0;
};

class TSkinEdit : public TSkinControl {
  QLT_CLASS(TSkinEdit)
 public:
  explicit TSkinEdit(TComponent* owner) : TSkinControl(owner) {}
  // A framework edit is attached by its window, as a bare one is.
  void AttachControl(TWinSkinForm* formSkinner, TSkinData* skin, bool ownColour) override;
  // The skinner of the up-down button inside the edit (after the first paint), or nullptr.
  TSkinUpDown* ArrowSkinner() const { return arrow_; }
  // The border and the up-down button are painted again too.
  void SkinChanged() override;

 protected:
  void AfterMessage(TMessage& message) override;
  void Paint(HDC dc, const SkinRect& rect) override;

 private:
  void FindArrow();
  // The flat border on `dc` (whole-window coordinates) when the edit has a border at all.
  void DrawBorder(HDC dc, const SkinRect& rect, int minimumInset);

  TSkinUpDown* arrow_ = nullptr;  // owned: a component of this skinner
};

class TSkinComBox : public TSkinControl {
  QLT_CLASS(TSkinComBox)
 public:
  explicit TSkinComBox(TComponent* owner) : TSkinControl(owner) {}
  // A moved edit goes back where the control put it.
  ~TSkinComBox() override;
  // The look the ring and the button show now (ControlLook), and the one last painted (0: none).
  int Look() const;
  int PaintedLook() const { return paintedLook_; }
  int Paints() const { return paints_; }

 protected:
  bool BeforeMessage(TMessage& message) override;
  void AfterMessage(TMessage& message) override;
  void Paint(HDC dc, const SkinRect& rect) override;

 private:
  void PaintSimple(HDC dc, const SkinRect& rect, int look);
  void SetHover(bool hot);
  // The control's own item area and edit (window coordinates) and the move a left button needs.
  struct OwnParts {
    SkinRect item, edit, button;
    HWND editWindow = nullptr;
  };
  OwnParts ReadOwnParts() const;
  MirroredCombo Mirror(const ComboLayout& layout, const OwnParts& own) const;
  // A left button over a control that keeps its item at the left: its edit goes right of the
  // button (and back on detach), and its picture is composed with the item moved right.
  void PlaceEdit(const MirroredCombo& mirror, const OwnParts& own);
  void PaintMirrored(HDC dc, const SkinRect& rect, const ComboLayout& layout, const MirroredCombo& mirror, int look);
  void DrawParts(const PixelView& view, const SkinRect& area, const ComboLayout& layout, bool left, int look);
  bool LeftButton() const;
  bool HasFrame() const;  // the window is larger than its client area

  bool mirrored_ = false;     // the last paint moved the control's item right of a left button
  HWND movedEdit_ = nullptr;  // the control's edit while the skin keeps it right of a left button
  RECT editHome_{};           // where the control had put it (its parent's client coordinates)
  DWORD boxStyle_ = 0;
  DWORD boxExStyle_ = 0;
  int paintedLook_ = 0;
  int paints_ = 0;
};

}  // namespace qlt
