// What QLT.exe carries: the main window's description, read from the program's resources as the
// program reads it, holds the skin component with its design values and a skin that unpacks.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "skin/data/SkinReader.h"
#include "tests/e2e/QltProcess.h"
#include "ui/FormText.h"

namespace qlt::e2e {
namespace {

class DataModule {
 public:
  explicit DataModule(const std::wstring& path)
      : module_(LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)) {}
  ~DataModule() {
    if (module_) FreeLibrary(module_);
  }
  DataModule(const DataModule&) = delete;
  DataModule& operator=(const DataModule&) = delete;

  std::string Resource(const wchar_t* name) const {
    HRSRC found = module_ ? FindResourceW(module_, name, reinterpret_cast<LPCWSTR>(RT_RCDATA)) : nullptr;
    HGLOBAL loaded = found ? LoadResource(module_, found) : nullptr;
    const void* data = loaded ? LockResource(loaded) : nullptr;
    return data ? std::string(static_cast<const char*>(data), SizeofResource(module_, found)) : std::string();
  }

 private:
  HMODULE module_;
};

const DfmObject* Child(const DfmObject& parent, const std::string& name) {
  for (const DfmObject& child : parent.children)
    if (child.name == name) return &child;
  return nullptr;
}

TEST(EmbeddedSkin, TheMainWindowsDescriptionCarriesSkinData1WithTheDefaultSkin) {
  DataModule exe(Paths().qltExe);
  const std::string text = exe.Resource(L"TFRM_MAIN");
  ASSERT_FALSE(text.empty()) << "no main window description in QLT.exe";
  const DfmObject form = ParseFormText(text);
  const DfmObject* skinData = Child(form, "SkinData1");
  ASSERT_NE(skinData, nullptr);
  EXPECT_EQ(skinData->className, "TSkinData");
  ASSERT_NE(skinData->Find("Active"), nullptr);
  EXPECT_EQ(skinData->Find("Active")->value.ident, "True");
  ASSERT_NE(skinData->Find("DisableTag"), nullptr);
  EXPECT_EQ(skinData->Find("DisableTag")->value.integer, 99);
  ASSERT_NE(skinData->Find("SkinFormtype"), nullptr);
  EXPECT_EQ(skinData->Find("SkinFormtype")->value.ident, "sfMainform");
  ASSERT_NE(skinData->Find("Skin3rd.Strings"), nullptr);
  EXPECT_EQ(skinData->Find("Skin3rd.Strings")->value.list.size(), 97u);

  // The stream is the skin's byte count (32 bits, little-endian) and the packed skin.
  const DfmProperty* stream = skinData->Find("SkinStream");
  ASSERT_NE(stream, nullptr);
  const std::string& bytes = stream->value.bytes;
  ASSERT_GT(bytes.size(), 4u);
  const uint32_t count = static_cast<uint8_t>(bytes[0]) | static_cast<uint8_t>(bytes[1]) << 8 |
                         static_cast<uint8_t>(bytes[2]) << 16 | static_cast<uint32_t>(static_cast<uint8_t>(bytes[3])) << 24;
  EXPECT_EQ(count, bytes.size() - 4);
  TSkinReader reader;
  ASSERT_TRUE(reader.LoadPacked(ByteView(reinterpret_cast<const uint8_t*>(bytes.data()) + 4, bytes.size() - 4)));
  EXPECT_EQ(reader.Count(), 33);
}

}  // namespace
}  // namespace qlt::e2e
