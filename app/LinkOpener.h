#pragma once
// Opening the web addresses of the links: through the browser registered under App Paths, its
// path quoted; through the user's default browser when none is registered.
#include <string>

#include "app/ProcessStarter.h"

namespace qlt {

// OpenLink(address). browserPath: the registered browser (read from the registry when not given).
bool OpenLink(const std::wstring& address, ProcessStarter& starter = SystemProcessStarter());
bool OpenLinkWith(const std::wstring& browserPath, const std::wstring& address, ProcessStarter& starter);

}  // namespace qlt
