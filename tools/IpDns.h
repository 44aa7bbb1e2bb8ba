#pragma once
// The IP/DNS switcher at the Win32 edge: the two address sets in QLT.ini, and applying a set
// through netsh and the "NameServer" value, after the set has been checked.
#include <string>

#include "app/IniFile.h"
#include "app/ProcessStarter.h"
#include "tools/AddressSet.h"

namespace qlt {

struct AddressSets {
  AddressSet first, second;  // sections IPDNS1 and IPDNS2
};

// FormCreate: the six values, trimmed (a missing key gives the empty text).
AddressSets LoadAddressSets(const IniFile& ini = IniFile());
// FormCloseQuery: the six texts as typed.
void SaveAddressSets(const AddressSets& sets, const IniFile& ini = IniFile());

struct ApplyResult {
  bool applied = false;
  std::wstring message;  // why not: the check's message (nothing started or written) or the registry's error
};

// ApplyAddress: checks the three texts; when they are addresses, starts netsh (its command line
// in code page 936, window hidden), waits 100 ms and writes "NameServer".
ApplyResult ApplyAddress(const AddressSet& set, int setNumber, ProcessStarter& starter = SystemProcessStarter());

}  // namespace qlt
