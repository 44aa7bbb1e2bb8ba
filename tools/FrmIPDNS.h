#pragma once
// TFrm_IPDNS: the non-modal IP/DNS dialog. It keeps two address sets (IP address, gateway, DNS
// server) in sections "IPDNS1" and "IPDNS2" of QLT.ini and switches the wired connection to either
// set. Created hidden at start, right after the main window; shown from the tray menu.
#include <string_view>

#include "tools/IpDns.h"
#include "ui/Forms.h"
#include "ui/StdCtrls.h"

namespace qlt {

class TFrm_IPDNS : public TForm {
  QLT_CLASS(TFrm_IPDNS)
 public:
  explicit TFrm_IPDNS(TComponent* owner) : TForm(owner) {}

  TGroupBox* GroupBox1 = nullptr;  // "第一个地址"
  TEdit* Edit1 = nullptr;          // IP address of set 1
  TEdit* Edit2 = nullptr;          // gateway of set 1
  TEdit* Edit3 = nullptr;          // DNS server of set 1
  TGroupBox* GroupBox2 = nullptr;  // "第二个地址"
  TEdit* Edit4 = nullptr;
  TEdit* Edit5 = nullptr;
  TEdit* Edit6 = nullptr;
  TButton* Button2 = nullptr;      // "使用第一个地址"
  TButton* Button1 = nullptr;      // "使用第二个地址"

  void FormCreate(TObject* Sender);
  void FormCloseQuery(TObject* Sender, bool& CanClose);
  void Button2Click(TObject* Sender);
  void Button1Click(TObject* Sender);

  // The six boxes as sets, texts as typed.
  AddressSets TypedSets() const;

 private:
  void Apply(int setNumber);
  TEdit* EditOf(int setNumber, AddressField field) const;
};

// The program's IP/DNS dialog (owned by the application object).
extern TFrm_IPDNS* Frm_IPDNS;

// True when the application object owns a component of that name.
bool FormExists(std::u16string_view name);

// The tray menu's "切换IP地址": creates the dialog again if it no longer exists, then shows it
// (not modally) in front of the other windows.
void ShowIpDnsDialog();

}  // namespace qlt
