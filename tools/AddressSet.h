#pragma once
// The IP/DNS switcher's rules: the two stored address sets, the check of a set before it is
// applied, the netsh command line and the DNS server value.
#include <optional>
#include <string>
#include <string_view>

namespace qlt {

struct AddressSet {
  std::u16string ip, gateway, dns;
  bool operator==(const AddressSet&) const = default;
};

enum class AddressField { Ip, Gateway, Dns };

// Sections "IPDNS1" and "IPDNS2" of QLT.ini, keys "IP", "Net", "DNS".
std::u16string AddressSection(int setNumber);  // 1 or 2
std::u16string AddressKey(AddressField field);

// IPv4 in dotted form: four decimal numbers 0 to 255 joined by "."; no blanks, no signs, no
// leading zeros (netsh would read 010 as octal).
bool IsDottedIPv4(std::u16string_view text);

struct AddressProblem {
  AddressField field;
  std::u16string message;  // names the set and the field, for the message box
};

// Checks the three texts (trimmed) of set 1 or 2; the first wrong field in the order IP, gateway,
// DNS, or nothing when all three are addresses.
std::optional<AddressProblem> CheckAddressSet(const AddressSet& set, int setNumber);

// "netsh interface ip set address 本地连接 static <ip> 255.255.255.0 <gateway> 1", texts trimmed.
std::u16string NetshCommandLine(const AddressSet& set);

// The "NameServer" text: DNS, a blank, the IP address (trimmed); the caller appends the extra NUL.
std::u16string NameServerText(const AddressSet& set);

inline constexpr char16_t kTcpipParametersKey[] = u"SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters";
inline constexpr char16_t kNameServerValue[] = u"NameServer";

}  // namespace qlt
