#pragma once
// The hotkey dialog: four modifier boxes and a key list. It knows nothing of the settings file or
// of the registration; the caller puts the current hotkey text into Lab_Hotkey, clears Lab_Result,
// shows the dialog modally and reads Lab_Result afterwards: empty means cancelled, "1" followed
// by a hotkey text (possibly empty) means accepted.
#include "ui/Buttons.h"
#include "ui/Forms.h"
#include "ui/StdCtrls.h"

namespace qlt {

class TFrm_HotKey : public TForm {
  QLT_CLASS(TFrm_HotKey)
 public:
  explicit TFrm_HotKey(TComponent* owner) : TForm(owner) {}

  TGroupBox* GroupBox1 = nullptr;
  TCheckBox* Chk_Win = nullptr;
  TCheckBox* Chk_CTRL = nullptr;
  TCheckBox* Chk_Alt = nullptr;
  TCheckBox* Chk_Shift = nullptr;
  TComboBox* Cmb_Key = nullptr;
  TBitBtn* Btn_Yes = nullptr;
  TBitBtn* Btn_No = nullptr;
  TLabel* Lab_Hotkey = nullptr;  // in: the current hotkey text
  TLabel* Lab_Result = nullptr;  // out: the result

  void FormCreate(TObject* Sender);
  void FormShow(TObject* Sender);
  void FormClose(TObject* Sender, TCloseAction& Action);
  void Btn_YesClick(TObject* Sender);
  void Btn_NoClick(TObject* Sender);
  void Cmb_KeyKeyPress(TObject* Sender, char16_t& Key);

 private:
  void SetHotKeyText(const std::u16string& text);
  std::u16string GetHotKeyText() const;
};

// Runs the dialog for the current hotkey text and returns its result: empty when cancelled, "1"
// and the new text when accepted. The dialog is freed before this returns.
std::u16string EditHotKey(const std::u16string& current);

}  // namespace qlt
