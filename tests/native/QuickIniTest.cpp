// The skin description parser: lines, sections and typed lookups as the skin objects use them.
#include "skin/data/QuickIni.h"

#include <gtest/gtest.h>

namespace qlt {
namespace {

TQuickIni Parse(std::string_view text) {
  TQuickIni ini;
  ini.LoadFromText(text);
  return ini;
}

TEST(QuickIni, KeepsTrimmedLinesAndPairsHeadersWithTheirLines) {
  const TQuickIni ini = Parse(
      "; a skin\r\n"
      "\r\n"
      "  [Personality]  \r\n"
      "\tTop = top.bmp\n"
      "[Colours]\r"
      "ButtonFace=145,146,159\r\n"
      "[ Fonts ]\n"
      "FontHeight=14");
  EXPECT_EQ(ini.Lines(), (std::vector<std::string>{"[Personality]", "Top = top.bmp", "[Colours]",
                                                    "ButtonFace=145,146,159", "[ Fonts ]", "FontHeight=14"}));
  ASSERT_EQ(ini.Sections().size(), 3u);
  EXPECT_EQ(ini.Sections()[1], (std::pair<std::string, int>{"[Colours]", 2}));
  EXPECT_EQ(ini.ReadSections(), (std::vector<std::string>{"Personality", "Colours", "Fonts"}));
  // Blanks inside the brackets: listed as "Fonts", but not found under that name.
  EXPECT_EQ(ini.FindSection("Fonts"), -1);
  EXPECT_EQ(ini.FindSection(" fonts "), 4);
  EXPECT_EQ(ini.ReadInteger("Fonts", "FontHeight", 99), 99);
}

TEST(QuickIni, SectionsAndKeysAreFoundInAnyLetterCase) {
  const TQuickIni ini = Parse("[Colours]\nXCoord=17\n");
  EXPECT_EQ(ini.FindSection("colours"), 0);
  EXPECT_EQ(ini.FindSection("COLOURS"), 0);
  EXPECT_EQ(ini.ReadInteger("COLOURS", "Xcoord", 0), 17);
  EXPECT_EQ(ini.ReadString("colours", "xcoord", ""), "17");
}

TEST(QuickIni, ValuesAreTrimmedAndTheFirstKeyOfASectionDecides) {
  const TQuickIni ini = Parse(
      "[A]\n"
      "Key = 12 \n"
      "Empty=\n"
      "Empty=later\n"
      "NoEquals\n"
      "#x=1\n"
      "Dup=first\n"
      "Dup=second\n"
      "[B]\n"
      "Other=1\n"
      "[A]\n"
      "Late=1\n");
  EXPECT_EQ(ini.ReadInteger("A", "Key", 0), 12);
  EXPECT_EQ(ini.ReadString("A", "Empty", "default"), "default");  // the empty value hides "later"
  EXPECT_EQ(ini.ReadString("A", "NoEquals", "default"), "default");
  EXPECT_EQ(ini.ReadString("A", "", "default"), "default");
  EXPECT_EQ(ini.ReadInteger("A", "#x", 0), 1);  // not a comment
  EXPECT_EQ(ini.ReadString("A", "Dup", ""), "first");
  EXPECT_EQ(ini.ReadString("A", "Other", "none"), "none");  // the scan stops at [B]
  EXPECT_EQ(ini.ReadString("A", "Late", "none"), "none");   // only the first [A] is seen
  EXPECT_EQ(ini.ReadString("Missing", "Key", "none"), "none");
  EXPECT_EQ(ini.ReadString("A", "Missing", "none"), "none");
}

TEST(QuickIni, IntegersInDecimalAndHexadecimalElseTheDefault) {
  const TQuickIni ini = Parse(
      "[N]\n"
      "a=0x1F\nb=$1F\nc=-5\nd=60 60 68\ne=0x\nf=+7\ng=2147483647\nh=2147483648\ni=-2147483648\n"
      "j=0XfF00000f\nk=$123456789\nl=12abc\nm=-\nn=$\no=0012\n"
      "p=$7FFFFFFF\nq=$80000000\nr=$FFFFFFFF\ns=-$10\nt=+$10\nu=-0x10\nv=0x-5\nw=-2147483649\n"
      "x=0X7fffffff\ny=$-1\nz=99999999999999999999\n");
  EXPECT_EQ(ini.ReadInteger("N", "a", 0), 31);
  EXPECT_EQ(ini.ReadInteger("N", "b", 0), 31);
  EXPECT_EQ(ini.ReadInteger("N", "c", 0), -5);
  EXPECT_EQ(ini.ReadInteger("N", "d", -1), -1);
  EXPECT_EQ(ini.ReadInteger("N", "e", -1), -1);
  EXPECT_EQ(ini.ReadInteger("N", "f", 0), 7);
  EXPECT_EQ(ini.ReadInteger("N", "g", 0), 2147483647);
  EXPECT_EQ(ini.ReadInteger("N", "h", -1), -1);
  EXPECT_EQ(ini.ReadInteger("N", "i", 0), INT32_MIN);
  // Hexadecimal is a number like any other, not a 32-bit pattern: past the signed range it is no
  // value, also where the digits would spell a system colour or -1.
  EXPECT_EQ(ini.ReadInteger("N", "j", 7), 7);
  EXPECT_EQ(ini.ReadInteger("N", "k", -1), -1);
  EXPECT_EQ(ini.ReadInteger("N", "l", -1), -1);
  EXPECT_EQ(ini.ReadInteger("N", "m", -1), -1);
  EXPECT_EQ(ini.ReadInteger("N", "n", -1), -1);
  EXPECT_EQ(ini.ReadInteger("N", "o", -1), 12);
  EXPECT_EQ(ini.ReadInteger("N", "p", 0), 2147483647);
  EXPECT_EQ(ini.ReadInteger("N", "q", 7), 7);
  EXPECT_EQ(ini.ReadInteger("N", "r", 7), 7);
  // No sign before "$" or "0x", and nothing between them and the digits.
  EXPECT_EQ(ini.ReadInteger("N", "s", 7), 7);
  EXPECT_EQ(ini.ReadInteger("N", "t", 7), 7);
  EXPECT_EQ(ini.ReadInteger("N", "u", 7), 7);
  EXPECT_EQ(ini.ReadInteger("N", "v", 7), 7);
  EXPECT_EQ(ini.ReadInteger("N", "y", 7), 7);
  EXPECT_EQ(ini.ReadInteger("N", "w", 7), 7);
  EXPECT_EQ(ini.ReadInteger("N", "x", 0), 2147483647);
  EXPECT_EQ(ini.ReadInteger("N", "z", 7), 7);
  EXPECT_EQ(ini.ReadInteger("N", "missing", 42), 42);
}

TEST(QuickIni, TextEndsAtANulAndALoadReplacesTheLast) {
  TQuickIni ini;
  const std::string text = std::string("[S]\nk=1\n\0[T]\nk=2\n", 18);
  ini.LoadFromStream(ByteView(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
  EXPECT_EQ(ini.Lines().size(), 2u);
  EXPECT_EQ(ini.FindSection("T"), -1);
  ini.LoadFromText("[T]\nk=2");
  EXPECT_EQ(ini.FindSection("S"), -1);
  EXPECT_EQ(ini.ReadInteger("T", "k", 0), 2);
  ini.LoadFromText("");
  EXPECT_TRUE(ini.Lines().empty());
  EXPECT_EQ(ini.ReadString("T", "k", "gone"), "gone");
}

TEST(QuickIni, ChineseTextAndControlCharactersPassThrough) {
  // Bytes of the system code page are kept as they are; codes up to 32 are trimmed.
  const TQuickIni ini = Parse("[\xC6\xA4\xB7\xF4]\x01\n\x1F name = \xB2\xE2\xCA\xD4\x7F \t\n");
  EXPECT_EQ(ini.FindSection("\xC6\xA4\xB7\xF4"), 0);
  EXPECT_EQ(ini.ReadString("\xC6\xA4\xB7\xF4", "NAME", ""), "\xB2\xE2\xCA\xD4\x7F");
}

}  // namespace
}  // namespace qlt
