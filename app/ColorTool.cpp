#include "app/ColorTool.h"

#include <cstdio>

#include "app/TextRules.h"

namespace qlt {
namespace {

struct NamedColor {
  std::uint32_t value;
  const char* name;
};

constexpr NamedColor kNamedColors[] = {
    {0x000000, "clBlack"},  {0x000080, "clMaroon"},     {0x008000, "clGreen"},   {0x008080, "clOlive"},
    {0x800000, "clNavy"},   {0x800080, "clPurple"},     {0x808000, "clTeal"},    {0x808080, "clGray"},
    {0xC0C0C0, "clSilver"}, {0x0000FF, "clRed"},        {0x00FF00, "clLime"},    {0x00FFFF, "clYellow"},
    {0xFF0000, "clBlue"},   {0xFF00FF, "clFuchsia"},    {0xFFFF00, "clAqua"},    {0xFFFFFF, "clWhite"},
    {0xC0DCC0, "clMoneyGreen"}, {0xF0CAA6, "clSkyBlue"}, {0xF0FBFF, "clCream"}, {0xA4A0A0, "clMedGray"},
};

}  // namespace

ColorParse HexToColor(std::u16string_view text) {
  ColorParse result;
  std::uint32_t color = 0;
  for (int channel = 0; channel < 3; ++channel) {
    const size_t at = static_cast<size_t>(channel) * 2;
    const std::u16string piece = u"$" + std::u16string(at < text.size() ? text.substr(at, 2) : u"");
    const auto value = StrToInt(piece);
    if (!value) {
      result.error = InvalidIntegerMessage(piece);
      return result;
    }
    color += static_cast<std::uint32_t>(*value) << (8 * channel);
  }
  result.color = color;
  return result;
}

std::u16string ColorToText(std::uint32_t color) {
  for (const auto& named : kNamedColors) {
    if (named.value == color) return U16(named.name);
  }
  char text[16];
  std::snprintf(text, sizeof text, "$%08X", static_cast<unsigned>(color));
  return U16(text);
}

}  // namespace qlt
