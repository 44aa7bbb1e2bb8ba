#include "app/HotKeyText.h"

#include "ui/SysUtils.h"

namespace qlt {
namespace {

// Finds word in text; when found, erases `length` characters from there (as far as there are).
bool TakeWord(std::u16string& text, std::u16string_view word, size_t length) {
  const size_t at = text.find(word);
  if (at == std::u16string::npos) return false;
  text.erase(at, length);
  return true;
}

}  // namespace

std::optional<unsigned> KeyTextToVk(std::u16string_view text) {
  if (text.empty()) return 0u;
  if (text == u"-") return kVkMinus;
  if (text == u"=") return kVkEquals;
  if (text.size() == 1) return text[0] < 0x100 ? static_cast<unsigned>(text[0]) : 0u;
  if (text[0] == u'F') {
    int32_t number = 0;
    if (!TryStrToInt(Trim(text.substr(1, 2)), number)) return std::nullopt;
    const int code = number + 111;
    return code > 0 && code < 0x100 ? static_cast<unsigned>(code) : 0u;
  }
  return text == u"ESC" ? 27u : 0u;
}

HotKeyParse ParseHotKey(std::u16string_view text) {
  HotKeyParse result;
  if (Trim(text).empty()) return result;
  std::u16string rest(text);
  if (TakeWord(rest, u"WIN", 4)) result.hotKey.modifiers |= kModWin;
  if (TakeWord(rest, u"CTRL", 5)) result.hotKey.modifiers |= kModControl;
  if (TakeWord(rest, u"ALT", 4)) result.hotKey.modifiers |= kModAlt;
  if (TakeWord(rest, u"SHIFT", 6)) result.hotKey.modifiers |= kModShift;
  const std::u16string key = Trim(rest);
  if (auto vk = KeyTextToVk(key)) {
    result.hotKey.key = *vk;
  } else {
    result.hotKey = {};
    result.error = Format(msg::kInvalidInteger, {Trim(std::u16string_view(key).substr(1, 2))});
  }
  return result;
}

std::vector<std::u16string> HotKeyListItems() {
  std::vector<std::u16string> items{u" "};
  for (char16_t c = u'0'; c <= u'9'; ++c) items.emplace_back(1, c);
  for (char16_t c = u'A'; c <= u'Z'; ++c) items.emplace_back(1, c);
  for (int n = 1; n <= 12; ++n) items.push_back(u"F" + IntToStr(n));
  for (const char16_t* key : {u"ESC", u"-", u"="}) items.emplace_back(key);
  return items;
}

HotKeyChoice SetHotKeyText(std::u16string_view text) {
  HotKeyChoice choice;
  if (Trim(text).empty()) return choice;
  std::u16string rest(text);
  choice.win = TakeWord(rest, u"WIN", 4);
  choice.ctrl = TakeWord(rest, u"CTRL", 5);
  choice.alt = TakeWord(rest, u"ALT", 4);
  choice.shift = TakeWord(rest, u"SHIFT", 6);
  choice.key = std::move(rest);
  return choice;
}

std::u16string GetHotKeyText(const HotKeyChoice& choice) {
  std::u16string text;
  if (choice.win) text += u"WIN";
  if (choice.ctrl) text += u"+CTRL";
  if (choice.alt) text += u"+ALT";
  if (choice.shift) text += u"+SHIFT";
  text += u"+";
  text += choice.key;
  if (text.front() == u'+') text.erase(0, 1);
  if (!text.empty() && text.back() == u'+') text.clear();
  return text;
}

std::optional<std::u16string> AcceptedHotKey(std::u16string_view dialogResult) {
  if (dialogResult.empty()) return std::nullopt;
  return std::u16string(dialogResult.substr(1));
}

std::u16string DialogResultFor(const HotKeyChoice& accepted) { return u"1" + GetHotKeyText(accepted); }

}  // namespace qlt
