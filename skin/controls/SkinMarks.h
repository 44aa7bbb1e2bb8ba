#pragma once
// Check boxes, radio buttons and group boxes painted from the skin. The check box and the radio
// button paint themselves (caption, focus rectangle); the skinner then covers the system's box or
// circle with the face colour and puts the skin's mark in its place (CheckButton and RadioButton
// of the "Buttons" object). A group box gets a rounded single-line frame in the skin's shadow
// colour, with its caption on the face colour. Each composes off the screen and copies once.
#include "skin/controls/SkinControl.h"
#include "skin/data/StateCells.h"

namespace qlt {

// What a check or radio mark shows, read from the control at paint time.
struct MarkState {
  bool checked = false;
  bool indeterminate = false;
  bool disabled = false;
  MarkLook look = MarkLook::kNormal;
};

// The common part of the check box and the radio button: the mark over the system's, repainted
// whenever the system may have drawn its own (a check, a press, focus), and on hover only when the
// skin has a hot look.
class TSkinMarkControl : public TSkinControl {
  QLT_CLASS(TSkinMarkControl)
 public:
  // The mark goes on the skin's face colour: a control that keeps a colour of its own (one that
  // does not follow its parent's) takes the face colour while skinned, as a group box does.
  void AttachControl(TWinSkinForm* formSkinner, TSkinData* skin, bool ownColour) override;
  // The cell of the mark image the control shows now (0 without a mark image).
  int CurrentCell() const;

 protected:
  TSkinMarkControl(TComponent* owner, bool radio) : TSkinControl(owner), radio_(radio) {}

  void AfterMessage(TMessage& message) override;
  void Paint(HDC dc, const SkinRect& rect) override;

  MarkState ReadState() const;
  const Bitmap24* MarkImage() const;
  int MarkCells() const;

 private:
  // The pointer came or went: repainted only when the mark looks different.
  void SetHover(bool hot);

  bool radio_;
};

class TSkinCheckBox : public TSkinMarkControl {
  QLT_CLASS(TSkinCheckBox)
 public:
  explicit TSkinCheckBox(TComponent* owner) : TSkinMarkControl(owner, false) {}
};

class TSkinRadioButton : public TSkinMarkControl {
  QLT_CLASS(TSkinRadioButton)
 public:
  explicit TSkinRadioButton(TComponent* owner) : TSkinMarkControl(owner, true) {}
};

class TSkinGroupBox : public TSkinControl {
  QLT_CLASS(TSkinGroupBox)
 public:
  explicit TSkinGroupBox(TComponent* owner) : TSkinControl(owner) {}

 protected:
  void AfterMessage(TMessage& message) override;
  void Paint(HDC dc, const SkinRect& rect) override;

 private:
  std::u16string CurrentCaption();
};

}  // namespace qlt
