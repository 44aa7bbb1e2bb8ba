#pragma once
// The gallery's window of edit boxes, spin edits and combo boxes, enabled and disabled: a plain
// edit, a spin edit, an edit with a sideways up-down control of the system's inside it, a
// drop-down list, a drop-down combo box with its own edit, and one whose button sits on the left.
#include "ui/ComCtrls.h"
#include "ui/Forms.h"
#include "ui/StdCtrls.h"

namespace qlt {

// A drop-down list whose button is on the left (WS_EX_LEFTSCROLLBAR).
class TGalleryLeftCombo : public TComboBox {
  QLT_CLASS(TGalleryLeftCombo)
 public:
  explicit TGalleryLeftCombo(TComponent* owner) : TComboBox(owner) {}

 protected:
  void CreateParams(TCreateParams& params) override;
};

class TFrm_GalleryEdits : public TForm {
  QLT_CLASS(TFrm_GalleryEdits)
 public:
  explicit TFrm_GalleryEdits(TComponent* owner) : TForm(owner) {}
  TEdit* Edt_Plain = nullptr;
  TEdit* Edt_Off = nullptr;
  TSpinEdit* Spn_Value = nullptr;
  TSpinEdit* Spn_Off = nullptr;
  TEdit* Edt_Sideways = nullptr;
  TComboBox* Cmb_List = nullptr;
  TComboBox* Cmb_Off = nullptr;
  TComboBox* Cmb_Edit = nullptr;
  TGalleryLeftCombo* Cmb_Left = nullptr;
  void FormCreate(TObject* Sender);

  // The system's up-down control inside Edt_Sideways (left and right step its number). It
  // belongs to the edit's window and goes with it.
  HWND SidewaysUpDown() const { return upDown_; }
  static constexpr int kUpDownWidth = 30;

 private:
  HWND upDown_ = nullptr;
};

void RegisterGalleryEditsClasses();

}  // namespace qlt
