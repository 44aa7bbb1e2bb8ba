#include "tools/IpDns.h"

#include <windows.h>

#include "app/Registry.h"
#include "ui/SysUtils.h"
#include "app/WinText.h"

namespace qlt {
namespace {

constexpr UINT kChineseCodePage = 936;
constexpr AddressField kFields[] = {AddressField::Ip, AddressField::Gateway, AddressField::Dns};

std::u16string* FieldOf(AddressSet& set, AddressField field) {
  switch (field) {
    case AddressField::Ip: return &set.ip;
    case AddressField::Gateway: return &set.gateway;
    case AddressField::Dns: break;
  }
  return &set.dns;
}

}  // namespace

AddressSets LoadAddressSets(const IniFile& ini) {
  AddressSets sets;
  for (int number = 1; number <= 2; ++number) {
    AddressSet& set = number == 1 ? sets.first : sets.second;
    for (const auto field : kFields) *FieldOf(set, field) = Trim(ini.Read(AddressSection(number), AddressKey(field)));
  }
  return sets;
}

void SaveAddressSets(const AddressSets& sets, const IniFile& ini) {
  for (int number = 1; number <= 2; ++number) {
    AddressSet set = number == 1 ? sets.first : sets.second;
    for (const auto field : kFields) ini.Write(AddressSection(number), AddressKey(field), *FieldOf(set, field));
  }
}

ApplyResult ApplyAddress(const AddressSet& set, int setNumber, ProcessStarter& starter) {
  if (const auto problem = CheckAddressSet(set, setNumber)) return {false, ToWide(problem->message)};
  starter.RunAnsi(WideToAnsi(ToWide(NetshCommandLine(set)), kChineseCodePage), SW_HIDE);
  Sleep(100);
  if (auto error = WriteMachineString(ToWide(kTcpipParametersKey), ToWide(kNameServerValue),
                                      ToWide(NameServerText(set)))) {
    return {false, std::move(*error)};
  }
  return {true, L""};
}

}  // namespace qlt
