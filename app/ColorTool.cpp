#include "app/ColorTool.h"

#include "ui/Colors.h"
#include "ui/SysUtils.h"
#include "ui/Utf.h"

namespace qlt {
ColorParse HexToColor(std::u16string_view text) {
  ColorParse result;
  std::uint32_t color = 0;
  for (int channel = 0; channel < 3; ++channel) {
    const size_t at = static_cast<size_t>(channel) * 2;
    const std::u16string piece = u"$" + std::u16string(at < text.size() ? text.substr(at, 2) : u"");
    int32_t value = 0;
    if (!TryStrToInt(piece, value)) {
      result.error = Format(msg::kInvalidInteger, {piece});
      return result;
    }
    color += static_cast<std::uint32_t>(value) << (8 * channel);
  }
  result.color = color;
  return result;
}

std::u16string ColorToText(std::uint32_t color) { return Utf8ToUtf16(ColorToString(static_cast<TColor>(color))); }

}  // namespace qlt
