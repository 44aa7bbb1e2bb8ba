#include "tools/AddressSet.h"

#include "ui/SysUtils.h"

namespace qlt {
namespace {

std::u16string FieldCaption(AddressField field) {
  switch (field) {
    case AddressField::Ip: return u"IP地址";
    case AddressField::Gateway: return u"网关地址";
    case AddressField::Dns: break;
  }
  return u"DNS地址";
}

std::u16string SetCaption(int setNumber) { return setNumber == 1 ? u"第一个地址" : u"第二个地址"; }

}  // namespace

std::u16string AddressSection(int setNumber) { return setNumber == 1 ? u"IPDNS1" : u"IPDNS2"; }

std::u16string AddressKey(AddressField field) {
  switch (field) {
    case AddressField::Ip: return u"IP";
    case AddressField::Gateway: return u"Net";
    case AddressField::Dns: break;
  }
  return u"DNS";
}

bool IsDottedIPv4(std::u16string_view text) {
  int parts = 0;
  size_t i = 0;
  while (true) {
    const size_t start = i;
    int value = 0;
    while (i < text.size() && text[i] >= u'0' && text[i] <= u'9' && i - start < 3) value = value * 10 + (text[i++] - u'0');
    const size_t digits = i - start;
    if (digits == 0 || value > 255 || (digits > 1 && text[start] == u'0')) return false;
    if (++parts == 4) return i == text.size();
    if (i >= text.size() || text[i] != u'.') return false;
    ++i;
  }
}

std::optional<AddressProblem> CheckAddressSet(const AddressSet& set, int setNumber) {
  const std::pair<AddressField, const std::u16string*> fields[] = {
      {AddressField::Ip, &set.ip}, {AddressField::Gateway, &set.gateway}, {AddressField::Dns, &set.dns}};
  for (const auto& [field, text] : fields) {
    const std::u16string value = Trim(*text);
    if (IsDottedIPv4(value)) continue;
    const std::u16string shown = value.empty() ? u"（空）" : u"“" + value + u"”";
    return AddressProblem{field, SetCaption(setNumber) + u"的" + FieldCaption(field) + u"不正确：" + shown +
                                     u"。\r\n请输入四个 0 到 255 之间的数，用点隔开，例如 192.168.1.10。"
                                     u"网络设置没有改变。"};
  }
  return std::nullopt;
}

std::u16string NetshCommandLine(const AddressSet& set) {
  return u"netsh interface ip set address 本地连接 static " + Trim(set.ip) + u" 255.255.255.0 " + Trim(set.gateway) +
         u" 1";
}

std::u16string NameServerText(const AddressSet& set) { return Trim(set.dns) + u" " + Trim(set.ip); }

}  // namespace qlt
