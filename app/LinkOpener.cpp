#include "app/LinkOpener.h"

#include "app/Links.h"
#include "app/Registry.h"
#include "ui/SysUtils.h"
#include "app/WinText.h"

namespace qlt {

bool OpenLinkWith(const std::wstring& browserPath, const std::wstring& address, ProcessStarter& starter) {
  if (Trim(ToU16(browserPath)).empty()) return starter.OpenWithDefaultProgram(address);
  return starter.Run(ToWide(BrowserCommandLine(ToU16(browserPath), ToU16(address))), SW_SHOWNORMAL);
}

bool OpenLink(const std::wstring& address, ProcessStarter& starter) {
  return OpenLinkWith(ReadMachineString(ToWide(kBrowserKeyPath)), address, starter);
}

}  // namespace qlt
