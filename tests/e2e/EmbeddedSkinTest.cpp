// What QLT.exe carries: the main window's description, read from the program's resources as the
// program reads it, holds the skin component with its design values and a skin that unpacks.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "skin/data/SkinReader.h"
#include "tests/e2e/QltData.h"
#include "tests/e2e/QltProcess.h"
#include "ui/FormText.h"

namespace qlt::e2e {
namespace {

TEST(EmbeddedSkin, TheMainWindowsDescriptionCarriesSkinData1WithTheDefaultSkin) {
  const std::string text = ProgramResource(Paths().qltExe, L"TFRM_MAIN");
  ASSERT_FALSE(text.empty()) << "no main window description in QLT.exe";
  const DfmObject form = ParseFormText(text);
  const DfmObject* skinData = ChildObject(form, "SkinData1");
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
