#include "app/Links.h"

#include "ui/SysUtils.h"

namespace qlt {

std::u16string QuotedPath(std::u16string_view path) {
  if (path.size() >= 2 && path.front() == u'"' && path.back() == u'"') return std::u16string(path);
  return u"\"" + std::u16string(path) + u"\"";
}

std::u16string AutostartValueName(std::u16string_view exePath) {
  const size_t slash = exePath.find_last_of(u"\\/");
  std::u16string_view name = slash == std::u16string_view::npos ? exePath : exePath.substr(slash + 1);
  return std::u16string(name.substr(0, name.find(u'.')));
}

std::u16string BrowserCommandLine(std::u16string_view browserPath, std::u16string_view address) {
  return QuotedPath(Trim(browserPath)) + u" \"" + std::u16string(address) + u"\"";
}

}  // namespace qlt
