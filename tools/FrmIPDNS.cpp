#include "tools/FrmIPDNS.h"

#include "app/WinText.h"

namespace qlt {

TFrm_IPDNS* Frm_IPDNS = nullptr;

const TClassInfo& TFrm_IPDNS::StaticClass() {
  static const TClassInfo info = ClassBuilder<TFrm_IPDNS, TForm>("TFrm_IPDNS")
                                     .Field("GroupBox1", &TFrm_IPDNS::GroupBox1)
                                     .Field("Edit1", &TFrm_IPDNS::Edit1)
                                     .Field("Edit2", &TFrm_IPDNS::Edit2)
                                     .Field("Edit3", &TFrm_IPDNS::Edit3)
                                     .Field("GroupBox2", &TFrm_IPDNS::GroupBox2)
                                     .Field("Edit4", &TFrm_IPDNS::Edit4)
                                     .Field("Edit5", &TFrm_IPDNS::Edit5)
                                     .Field("Edit6", &TFrm_IPDNS::Edit6)
                                     .Field("Button2", &TFrm_IPDNS::Button2)
                                     .Field("Button1", &TFrm_IPDNS::Button1)
                                     .Handler("FormCreate", &TFrm_IPDNS::FormCreate)
                                     .Handler("FormCloseQuery", &TFrm_IPDNS::FormCloseQuery)
                                     .Handler("Button2Click", &TFrm_IPDNS::Button2Click)
                                     .Handler("Button1Click", &TFrm_IPDNS::Button1Click)
                                     .Build();
  return info;
}

TEdit* TFrm_IPDNS::EditOf(int setNumber, AddressField field) const {
  const bool first = setNumber == 1;
  switch (field) {
    case AddressField::Ip: return first ? Edit1 : Edit4;
    case AddressField::Gateway: return first ? Edit2 : Edit5;
    case AddressField::Dns: break;
  }
  return first ? Edit3 : Edit6;
}

AddressSets TFrm_IPDNS::TypedSets() const {
  const auto typed = [this](int number) {
    return AddressSet{EditOf(number, AddressField::Ip)->Text(), EditOf(number, AddressField::Gateway)->Text(),
                      EditOf(number, AddressField::Dns)->Text()};
  };
  return {typed(1), typed(2)};
}

void TFrm_IPDNS::FormCreate(TObject*) {
  // Unconditional: a missing key empties its box, so the design-time addresses never show.
  const AddressSets stored = LoadAddressSets();
  for (int number = 1; number <= 2; ++number) {
    const AddressSet& set = number == 1 ? stored.first : stored.second;
    EditOf(number, AddressField::Ip)->SetText(set.ip);
    EditOf(number, AddressField::Gateway)->SetText(set.gateway);
    EditOf(number, AddressField::Dns)->SetText(set.dns);
  }
}

void TFrm_IPDNS::FormCloseQuery(TObject*, bool&) { SaveAddressSets(TypedSets()); }

void TFrm_IPDNS::Button2Click(TObject*) { Apply(1); }

void TFrm_IPDNS::Button1Click(TObject*) { Apply(2); }

void TFrm_IPDNS::Apply(int setNumber) {
  const AddressSets typed = TypedSets();
  const AddressSet& set = setNumber == 1 ? typed.first : typed.second;
  // A wrong text changes nothing: the box that holds it gets the focus and the user is told.
  if (const auto problem = CheckAddressSet(set, setNumber)) {
    TEdit* wrong = EditOf(setNumber, problem->field);
    if (wrong->CanFocus()) {
      wrong->SetFocus();
      wrong->SelectAll();
    }
    Application->MessageBox(problem->message, Application->Title(), MB_OK | MB_ICONWARNING);
    return;
  }
  const ApplyResult result = ApplyAddress(set, setNumber);
  if (!result.applied) throw ERegistryException(ToU16(result.message));
}

bool FormExists(std::u16string_view name) { return Application && Application->FindComponent(name) != nullptr; }

void ShowIpDnsDialog() {
  if (!FormExists(u"Frm_IPDNS")) Frm_IPDNS = NewForm<TFrm_IPDNS>(Application);
  Frm_IPDNS->Show();
  Frm_IPDNS->BringToFront();
}

}  // namespace qlt
