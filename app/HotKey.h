#pragma once
// The global hotkey, registered for the main window under the id of the global atom "Hotkeyzvq".
// A change takes effect at once; a hotkey that cannot be registered is reported, never kept
// silently, and the outcome names the hotkey that is in effect afterwards.
#include <windows.h>

#include <string>

#include "app/HotKeyText.h"

namespace qlt {

inline constexpr wchar_t kHotKeyAtomName[] = L"Hotkeyzvq";

enum class HotKeyState {
  Registered,     // the hotkey works
  NoKey,          // the text names no key (empty, modifiers only, or a key no keyboard has)
  Taken,          // the system refused it: another program holds the combination
  NotUnderstood,  // a function key without a number
};

struct HotKeyOutcome {
  HotKeyState state = HotKeyState::NoKey;
  std::u16string activeText;  // the hotkey in effect afterwards (empty: none)
  std::u16string message;     // for the user when the wanted hotkey does not work; empty otherwise
  bool ok() const { return state == HotKeyState::Registered; }
};

// The user's message for a hotkey that does not work (text: the hotkey as stored). `stillActive`
// names the hotkey that stays in effect instead, if any.
std::u16string HotKeyProblemMessage(HotKeyState state, std::u16string_view text, std::u16string_view detail = u"",
                                    std::u16string_view stillActive = u"");

// What the main window shows for the hotkey: the stored text, and when another hotkey is in effect
// (a new choice that could not be registered left the previous one working), that one as well.
std::u16string HotKeyLabel(std::u16string_view stored, std::u16string_view active);

class GlobalHotKey {
 public:
  explicit GlobalHotKey(HWND window, const wchar_t* atomName = kHotKeyAtomName);
  ~GlobalHotKey();  // releases the registration and the atom
  GlobalHotKey(const GlobalHotKey&) = delete;
  GlobalHotKey& operator=(const GlobalHotKey&) = delete;

  // At start: registers the stored text.
  HotKeyOutcome Register(std::u16string_view text);
  // After the dialog: releases the current hotkey and registers the new one; when the new one
  // cannot be registered (taken or not understood), the previous hotkey is registered again and
  // stays in effect, and the message says so. A text without a key leaves no hotkey.
  HotKeyOutcome Change(std::u16string_view text);

  int Id() const { return id_; }
  bool IsOwnId(WPARAM id) const { return id_ != 0 && id == static_cast<WPARAM>(id_); }
  bool Active() const { return registered_; }
  const std::u16string& ActiveText() const { return activeText_; }

 private:
  // Registers the text's hotkey when it can; `detail` gets the conversion error of a text that is
  // not understood.
  HotKeyOutcome TryRegister(std::u16string_view text, std::u16string& detail);
  void Release();

  HWND window_;
  ATOM atom_ = 0;
  int id_ = 0;
  bool registered_ = false;
  std::u16string activeText_;
};

}  // namespace qlt
