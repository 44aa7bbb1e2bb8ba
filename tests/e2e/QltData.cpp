#include "tests/e2e/QltData.h"

#include <stdexcept>

#include "skin/data/SkinReader.h"
#include "tests/e2e/QltProcess.h"

namespace qlt::e2e {

std::string ProgramResource(const std::wstring& exePath, const wchar_t* name) {
  HMODULE module = LoadLibraryExW(exePath.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!module) return {};
  std::string bytes;
  if (HRSRC found = FindResourceW(module, name, reinterpret_cast<LPCWSTR>(RT_RCDATA))) {
    HGLOBAL loaded = LoadResource(module, found);
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (data) bytes.assign(static_cast<const char*>(data), SizeofResource(module, found));
  }
  FreeLibrary(module);
  return bytes;
}

DfmObject QltFormDescription(const wchar_t* resourceName) {
  const std::string text = ProgramResource(Paths().qltExe, resourceName);
  if (text.empty()) throw std::runtime_error("QLT.exe carries no such form description");
  return ParseFormText(text);
}

const DfmObject* ChildObject(const DfmObject& parent, std::string_view name) {
  for (const DfmObject& child : parent.children)
    if (child.name == name) return &child;
  return nullptr;
}

LoadedSkin::LoadedSkin(const std::wstring& path) {
  const auto bytes = test::TryReadFileBytes(path);
  if (!bytes) throw std::runtime_error("cannot read the skin file");
  TSkinReader reader;
  if (!reader.LoadPacked(ByteView(reinterpret_cast<const uint8_t*>(bytes->data()), bytes->size()))) {
    throw std::runtime_error("the skin file holds no skin");
  }
  content_.BuildSkin(reader);
}

const TSkinContent& DefaultSkin() {
  static const LoadedSkin skin(ToWindowsPath(QLT_SKIN_BUILD_DIR "/QLTSkin.skin"));
  return skin.Objects();
}

COLORREF ScreenColourOf(TColor colour) {
  if (IsSystemColor(colour)) return GetSysColor(colour & 0xFF);
  return static_cast<COLORREF>(colour) & 0x00FFFFFF;
}

}  // namespace qlt::e2e
