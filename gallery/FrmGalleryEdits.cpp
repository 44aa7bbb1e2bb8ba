#include "gallery/FrmGalleryEdits.h"

#include <commctrl.h>

namespace qlt {

const TClassInfo& TGalleryLeftCombo::StaticClass() {
  static const TClassInfo info = ClassBuilder<TGalleryLeftCombo, TComboBox>("TGalleryLeftCombo").Build();
  return info;
}

void TGalleryLeftCombo::CreateParams(TCreateParams& params) {
  TComboBox::CreateParams(params);
  params.exStyle |= WS_EX_LEFTSCROLLBAR;
}

const TClassInfo& TFrm_GalleryEdits::StaticClass() {
  static const TClassInfo info = ClassBuilder<TFrm_GalleryEdits, TForm>("TFrm_GalleryEdits")
                                     .Field("Edt_Plain", &TFrm_GalleryEdits::Edt_Plain)
                                     .Field("Edt_Off", &TFrm_GalleryEdits::Edt_Off)
                                     .Field("Spn_Value", &TFrm_GalleryEdits::Spn_Value)
                                     .Field("Spn_Off", &TFrm_GalleryEdits::Spn_Off)
                                     .Field("Edt_Sideways", &TFrm_GalleryEdits::Edt_Sideways)
                                     .Field("Cmb_List", &TFrm_GalleryEdits::Cmb_List)
                                     .Field("Cmb_Off", &TFrm_GalleryEdits::Cmb_Off)
                                     .Field("Cmb_Edit", &TFrm_GalleryEdits::Cmb_Edit)
                                     .Field("Cmb_Left", &TFrm_GalleryEdits::Cmb_Left)
                                     .Handler("FormCreate", &TFrm_GalleryEdits::FormCreate)
                                     .Build();
  return info;
}

void TFrm_GalleryEdits::FormCreate(TObject*) {
  Cmb_List->SetItemIndex(0);
  Cmb_Off->SetItemIndex(0);
  Cmb_Left->SetItemIndex(0);
  // A sideways up-down control of the system's, inside the edit at its right end, stepping the
  // edit's number (its buddy) from 0 to 20.
  HWND edit = Edt_Sideways->Handle();
  RECT client{};
  GetClientRect(edit, &client);
  upDown_ = CreateWindowExW(0, UPDOWN_CLASSW, nullptr, WS_CHILD | WS_VISIBLE | UDS_HORZ | UDS_SETBUDDYINT | UDS_NOTHOUSANDS,
                            client.right - kUpDownWidth, 0, kUpDownWidth, client.bottom, edit, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
  if (!upDown_) return;
  SendMessageW(upDown_, UDM_SETBUDDY, reinterpret_cast<WPARAM>(edit), 0);
  SendMessageW(upDown_, UDM_SETRANGE32, 0, 20);
  SendMessageW(upDown_, UDM_SETPOS32, 0, 0);
  SendMessageW(edit, EM_SETMARGINS, EC_RIGHTMARGIN, MAKELPARAM(0, kUpDownWidth + 2));
}

void RegisterGalleryEditsClasses() {
  RegisterComponentClass<TGalleryLeftCombo>();
  RegisterComponentClass<TFrm_GalleryEdits>();
}

}  // namespace qlt
