#include "app/Registry.h"

#include <vector>

#include "app/Links.h"
#include "app/WinText.h"
#include "ui/SysUtils.h"

namespace qlt {

RegKey RegKey::Open(HKEY root, std::wstring_view path, REGSAM access, bool create) {
  HKEY key = nullptr;
  const std::wstring subKey(path);
  const LONG result = create ? RegCreateKeyExW(root, subKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr,
                                               &key, nullptr)
                             : RegOpenKeyExW(root, subKey.c_str(), 0, access, &key);
  return RegKey(result == ERROR_SUCCESS ? key : nullptr);
}

std::optional<std::wstring> RegKey::ReadString(std::wstring_view name) const {
  if (!key_) return std::nullopt;
  const std::wstring valueName(name);
  DWORD type = 0;
  DWORD size = 0;
  if (RegQueryValueExW(key_.Get(), valueName.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ)) {
    return std::nullopt;
  }
  std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 1, L'\0');
  DWORD bytes = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
  if (RegQueryValueExW(key_.Get(), valueName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &bytes) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  return std::wstring(buffer.data());  // up to the first NUL
}

bool RegKey::WriteString(std::wstring_view name, std::wstring_view text, int extraNuls) const {
  if (!key_) return false;
  std::wstring data(text);
  data.append(static_cast<size_t>(extraNuls), L'\0');
  const DWORD bytes = static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t));
  return RegSetValueExW(key_.Get(), std::wstring(name).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                        bytes) == ERROR_SUCCESS;
}

bool RegKey::DeleteValue(std::wstring_view name) const {
  return key_ && RegDeleteValueW(key_.Get(), std::wstring(name).c_str()) == ERROR_SUCCESS;
}

namespace {

RegError WriteString(HKEY root, std::wstring_view path, std::wstring_view name, std::wstring_view text, int extraNuls) {
  const RegKey key = RegKey::Open(root, path, KEY_ALL_ACCESS, true);
  if (!key) return ToWide(Format(msg::kFailedToCreateKey, {ToU16(path)}));
  if (!key.WriteString(name, text, extraNuls)) return ToWide(Format(msg::kFailedToSetData, {ToU16(name)}));
  return std::nullopt;
}

}  // namespace

RegError WriteRegValue(HKEY root, std::wstring_view path, std::wstring_view name, std::wstring_view text) {
  return WriteString(root, path, name, text, 0);
}

void DeleteRegValue(HKEY root, std::wstring_view path, std::wstring_view name) {
  if (const RegKey key = RegKey::Open(root, path, KEY_SET_VALUE)) key.DeleteValue(name);
}

std::wstring ReadMachineString(std::wstring_view path) {
  return RegKey::Open(HKEY_LOCAL_MACHINE, path, KEY_QUERY_VALUE).ReadString(L"").value_or(L"");
}

RegError WriteMachineString(std::wstring_view path, std::wstring_view name, std::wstring_view text) {
  return WriteString(HKEY_LOCAL_MACHINE, path, name, text, 1);
}

RegError SetAutostart(bool on, std::wstring_view exePath) {
  const std::wstring name = ToWide(AutostartValueName(ToU16(exePath)));
  const std::wstring keyPath = ToWide(kRunKeyPath);
  if (!on) {
    DeleteRegValue(HKEY_LOCAL_MACHINE, keyPath, name);
    return std::nullopt;
  }
  return WriteRegValue(HKEY_LOCAL_MACHINE, keyPath, name, ToWide(QuotedPath(ToU16(exePath))));
}

}  // namespace qlt
