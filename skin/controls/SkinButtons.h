#pragma once
// Push buttons painted from the skin's "Buttons" image: TSkinButton for plain buttons (framework
// buttons and the bare buttons of message boxes). The face, frame and caption are composed off the
// screen and copied once. The skinner takes the mouse over: a press captures the mouse, and only a
// release over the button clicks it; the space bar is left to the button itself.
#include "skin/controls/SkinControl.h"

namespace qlt {

class TSkinButton : public TSkinControl {
  QLT_CLASS(TSkinButton)
 public:
  explicit TSkinButton(TComponent* owner) : TSkinControl(owner) {}

 protected:
  bool BeforeMessage(TMessage& message) override;
  void AfterMessage(TMessage& message) override;
  void Paint(HDC dc, const SkinRect& rect) override;

  // Whether the skin has a "Buttons" image: without one the button paints itself.
  bool HasImage() const;
  ButtonState State() const;
  // The caption: the window text, or the control's "Caption" when the window has none.
  std::u16string CurrentCaption();
  // The caption's colour for a cell of the "Buttons" image.
  COLORREF TextColour(int cell) const;
  // Presses and releases of the mouse, and what a release over the button does.
  bool MouseMessage(TMessage& message);
  void ClickNow();

 private:
  bool captured_ = false;  // the mouse was pressed on the button and is held
};

}  // namespace qlt
