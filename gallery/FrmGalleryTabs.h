#pragma once
// The gallery's tabs window: page controls with their tabs on each of the four sides, button-style
// tabs with Chinese captions (as QLT's main window has them), a disabled page control, and a tab
// control of the system's own (no framework object) with more tabs than fit, so its overflow
// arrows show.
#include "ui/ComCtrls.h"
#include "ui/Forms.h"

namespace qlt {

class TFrm_GalleryTabs : public TForm {
  QLT_CLASS(TFrm_GalleryTabs)
 public:
  explicit TFrm_GalleryTabs(TComponent* owner) : TForm(owner) {}
  TPageControl* Page_Top = nullptr;
  TPageControl* Page_Bottom = nullptr;
  TPageControl* Page_Left = nullptr;
  TPageControl* Page_Right = nullptr;
  TPageControl* Page_Buttons = nullptr;
  TPageControl* Page_Off = nullptr;
  TTabSheet* Sheet_TopTwo = nullptr;
  TTabSheet* Sheet_ButtonsTwo = nullptr;
  void FormCreate(TObject* Sender);

  // The system's tab control; it belongs to the form's window and goes with it.
  HWND TabControl() const { return tabControl_; }
  static constexpr int kTabCount = 8;
  // Its captions, the first one first.
  static std::u16string TabCaption(int index);

 private:
  HWND tabControl_ = nullptr;
};

}  // namespace qlt
