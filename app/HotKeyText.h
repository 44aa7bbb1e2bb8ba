#pragma once
// The hotkey text: modifier words "WIN", "CTRL", "ALT", "SHIFT" each followed by "+", then a key
// name (CTRL+ALT+Z, WIN+F12, SHIFT+ESC, A). Conversion into the modifier flags and key code of the
// Windows hotkey interface, and the hotkey dialog's split and composition of such a text.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qlt {

inline constexpr unsigned kModAlt = 1;
inline constexpr unsigned kModControl = 2;
inline constexpr unsigned kModShift = 4;
inline constexpr unsigned kModWin = 8;

struct HotKey {
  unsigned modifiers = 0;
  unsigned key = 0;  // virtual-key code, 0 for none
  bool operator==(const HotKey&) const = default;
};

inline constexpr unsigned kVkMinus = 0xBD;  // the "-" key of the main keyboard (VK_OEM_MINUS)
inline constexpr unsigned kVkEquals = 0xBB;  // the "=" key, "+" with Shift (VK_OEM_PLUS)

// Key name to key code: "" gives 0; one character gives its code (digits and capital letters are
// their virtual-key codes), except "-" and "=", which give the codes of those keys (their character
// codes would be the Insert key and no key at all); "F" and a number n gives 111 + n (only two
// characters after the F are read); "ESC" gives 27; anything else 0. Nothing when the characters after "F" are not a number
// (the framework's conversion error then names them: see KeyTextError).
std::optional<unsigned> KeyTextToVk(std::u16string_view text);

struct HotKeyParse {
  HotKey hotKey;
  std::u16string error;  // "'%s' is not a valid integer value" when the key's number is not one
  bool ok() const { return error.empty(); }
};

// Each modifier word is looked for once (case-sensitive), in the order WIN, CTRL, ALT, SHIFT, and
// removed with the character behind it; the trimmed rest is the key name. The empty text (or
// blanks only) gives modifiers 0 and key 0.
HotKeyParse ParseHotKey(std::u16string_view text);

// The keys the hotkey dialog offers, in list order: a blank (no key), "0" to "9", "A" to "Z",
// "F1" to "F12", "ESC", "-" and "=".
std::vector<std::u16string> HotKeyListItems();

// The hotkey dialog's controls.
struct HotKeyChoice {
  bool win = false, ctrl = false, alt = false, shift = false;
  std::u16string key;  // the text of the key box, untrimmed
  bool operator==(const HotKeyChoice&) const = default;
};

// Splits a text into the dialog's controls (SetHotKeyText): blanks only leave everything empty;
// an unrecognised rest stays in the key box as it is.
HotKeyChoice SetHotKeyText(std::u16string_view text);

// Composes the text (GetHotKeyText): modifiers in the fixed order, then the key; a modifier
// without a key gives the empty text.
std::u16string GetHotKeyText(const HotKeyChoice& choice);

// The dialog's result contract: empty means cancelled (nothing); "1" followed by the new text
// means accepted (the new text, possibly empty).
std::optional<std::u16string> AcceptedHotKey(std::u16string_view dialogResult);
std::u16string DialogResultFor(const HotKeyChoice& accepted);  // "1" + GetHotKeyText

}  // namespace qlt
