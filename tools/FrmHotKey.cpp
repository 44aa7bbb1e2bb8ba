#include "tools/FrmHotKey.h"

#include <memory>

#include "app/HotKeyText.h"

namespace qlt {

const TClassInfo& TFrm_HotKey::StaticClass() {
  static const TClassInfo info = ClassBuilder<TFrm_HotKey, TForm>("TFrm_HotKey")
                                     .Field("GroupBox1", &TFrm_HotKey::GroupBox1)
                                     .Field("Chk_Win", &TFrm_HotKey::Chk_Win)
                                     .Field("Chk_CTRL", &TFrm_HotKey::Chk_CTRL)
                                     .Field("Chk_Alt", &TFrm_HotKey::Chk_Alt)
                                     .Field("Chk_Shift", &TFrm_HotKey::Chk_Shift)
                                     .Field("Cmb_Key", &TFrm_HotKey::Cmb_Key)
                                     .Field("Btn_Yes", &TFrm_HotKey::Btn_Yes)
                                     .Field("Btn_No", &TFrm_HotKey::Btn_No)
                                     .Field("Lab_Hotkey", &TFrm_HotKey::Lab_Hotkey)
                                     .Field("Lab_Result", &TFrm_HotKey::Lab_Result)
                                     .Handler("FormCreate", &TFrm_HotKey::FormCreate)
                                     .Handler("FormShow", &TFrm_HotKey::FormShow)
                                     .Handler("FormClose", &TFrm_HotKey::FormClose)
                                     .Handler("Btn_YesClick", &TFrm_HotKey::Btn_YesClick)
                                     .Handler("Btn_NoClick", &TFrm_HotKey::Btn_NoClick)
                                     .Handler("Cmb_KeyKeyPress", &TFrm_HotKey::Cmb_KeyKeyPress)
                                     .Build();
  return info;
}

void TFrm_HotKey::FormCreate(TObject*) {
  for (const auto& key : HotKeyListItems()) Cmb_Key->Items()->Add(key);
}

void TFrm_HotKey::FormShow(TObject*) { SetHotKeyText(Lab_Hotkey->Caption()); }

void TFrm_HotKey::FormClose(TObject*, TCloseAction& Action) { Action = caFree; }

void TFrm_HotKey::Btn_YesClick(TObject*) {
  Lab_Result->SetCaption(u"1" + GetHotKeyText());
  Close();
}

void TFrm_HotKey::Btn_NoClick(TObject*) { Close(); }

// Only list items can be chosen: every character typed into the key box is dropped.
void TFrm_HotKey::Cmb_KeyKeyPress(TObject*, char16_t& Key) { Key = 0; }

void TFrm_HotKey::SetHotKeyText(const std::u16string& text) {
  if (Trim(text).empty()) return;
  const HotKeyChoice choice = qlt::SetHotKeyText(text);
  // Boxes are only ever ticked here: the dialog is made fresh for every use.
  if (choice.win) Chk_Win->SetChecked(true);
  if (choice.ctrl) Chk_CTRL->SetChecked(true);
  if (choice.alt) Chk_Alt->SetChecked(true);
  if (choice.shift) Chk_Shift->SetChecked(true);
  Cmb_Key->SetText(choice.key);
}

std::u16string TFrm_HotKey::GetHotKeyText() const {
  return qlt::GetHotKeyText({Chk_Win->Checked(), Chk_CTRL->Checked(), Chk_Alt->Checked(), Chk_Shift->Checked(),
                             Cmb_Key->Text()});
}

std::u16string EditHotKey(const std::u16string& current) {
  // Without an owner: freed here, also when an error ends the modal loop. Its own close action
  // (free) only posts a release, which the window's destruction here makes void.
  std::unique_ptr<TFrm_HotKey> dialog(NewForm<TFrm_HotKey>(nullptr));
  dialog->Lab_Result->SetCaption(u"");
  dialog->Lab_Hotkey->SetCaption(current);
  dialog->ShowModal();
  return dialog->Lab_Result->Caption();
}

}  // namespace qlt
