#pragma once
// Registry access: an owning key handle, string values, and the errors the framework's registry
// layer reports ("Failed to create key %s", "Failed to set data for '%s'").
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "ui/Handles.h"

namespace qlt {

// An open key (move-only, like the handle it owns).
class RegKey {
 public:
  RegKey() = default;

  // Opens the key, or creates it when create is set; an empty key when that fails.
  static RegKey Open(HKEY root, std::wstring_view path, REGSAM access, bool create = false);

  explicit operator bool() const { return static_cast<bool>(key_); }
  HKEY Get() const { return key_.Get(); }

  std::optional<std::wstring> ReadString(std::wstring_view name) const;  // REG_SZ or REG_EXPAND_SZ
  // Writes a REG_SZ value; extraNuls NUL characters are stored after the text's own.
  bool WriteString(std::wstring_view name, std::wstring_view text, int extraNuls = 0) const;
  bool DeleteValue(std::wstring_view name) const;

 private:
  explicit RegKey(HKEY key) : key_(key) {}
  UniqueRegKey key_;
};

// Nothing on success, otherwise the error text for the user's error box.
using RegError = std::optional<std::wstring>;

// Opens or creates the key with full access and writes the string value.
RegError WriteRegValue(HKEY root, std::wstring_view path, std::wstring_view name, std::wstring_view text);
// Opens the key without creating it; when that works, deletes the value. Never an error.
void DeleteRegValue(HKEY root, std::wstring_view path, std::wstring_view name);
// The default value of a key under HKEY_LOCAL_MACHINE, read only; empty when unreadable.
std::wstring ReadMachineString(std::wstring_view path);
// Opens or creates the key under HKEY_LOCAL_MACHINE and writes text plus one NUL character.
RegError WriteMachineString(std::wstring_view path, std::wstring_view name, std::wstring_view text);

// Autostart under the machine-wide Run key: value named after the executable (cut before its
// first "."), data the executable's full path in double quotes.
RegError SetAutostart(bool on, std::wstring_view exePath);

}  // namespace qlt
