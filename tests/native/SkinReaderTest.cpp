// The skin container: entries found by name, and every kind of damaged file refused without a
// read or write out of bounds (the sanitizers watch), leaving the reader as it was.
#include "skin/data/SkinReader.h"

#include <gtest/gtest.h>

#include <random>

#include "skin/kit/LzhPack.h"
#include "skin/kit/SkinPack.h"

namespace qlt {
namespace {

Bytes Text(std::string_view s) { return Bytes(s.begin(), s.end()); }

void PutLe32(Bytes& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

// A container written field by field, so that each field can lie.
Bytes RawContainer(std::int32_t format, std::int32_t nameListLength, std::string_view names,
                   const std::vector<std::int32_t>& sizes, std::string_view contents) {
  Bytes out;
  PutLe32(out, static_cast<std::uint32_t>(format));
  PutLe32(out, static_cast<std::uint32_t>(nameListLength));
  out.insert(out.end(), 8, 0xEE);
  out.insert(out.end(), names.begin(), names.end());
  for (std::int32_t s : sizes) PutLe32(out, static_cast<std::uint32_t>(s));
  out.insert(out.end(), contents.begin(), contents.end());
  return out;
}

Bytes Packed(const Bytes& container) { return PackSkinContainer(container); }

std::vector<SkinEntry> SampleEntries() {
  return {{"Top.BMP", Text("TOP")},
          {"skin.ini", Text("[Personality]\r\nTop=top.bmp\r\n")},
          {"empty.bmp", {}},
          {"top.bmp", Text("second")},
          {"left.bmp", Text("LEFT")}};
}

TEST(SkinReader, FindsEntriesByNameInAnyLetterCaseAndTheFirstOfTwoWins) {
  TSkinReader reader;
  ASSERT_TRUE(reader.LoadPacked(PackSkin(SampleEntries())));
  EXPECT_EQ(reader.Result(), SkinLoadResult::Loaded);
  EXPECT_EQ(reader.Names(), (std::vector<std::string>{"top.bmp", "skin.ini", "empty.bmp", "top.bmp", "left.bmp"}));
  Bytes entry;
  for (const char* name : {"top.bmp", "TOP.BMP", "Top.bmp"}) {
    reader.GetEntry(name, entry);
    EXPECT_EQ(entry, Text("TOP")) << name;
  }
  reader.GetEntry("left.bmp", entry);
  EXPECT_EQ(entry, Text("LEFT"));
  reader.GetEntry("empty.bmp", entry);
  EXPECT_TRUE(entry.empty());
  reader.GetEntry("missing.bmp", entry);
  EXPECT_TRUE(entry.empty());
}

TEST(SkinReader, FindEntryTakesTheFirstNameContainingALowerCasePart) {
  TSkinReader reader;
  ASSERT_TRUE(reader.LoadPacked(PackSkin(SampleEntries())));
  Bytes entry;
  std::string found = "unchanged";
  EXPECT_FALSE(reader.FindEntry(".INI", entry, found));
  EXPECT_EQ(found, "unchanged");
  EXPECT_TRUE(entry.empty());
  EXPECT_FALSE(reader.FindEntry("", entry, found));
  ASSERT_TRUE(reader.FindEntry(".ini", entry, found));
  EXPECT_EQ(found, "skin.ini");
  EXPECT_EQ(entry, Text("[Personality]\r\nTop=top.bmp\r\n"));
  ASSERT_TRUE(reader.FindEntry("top", entry, found));
  EXPECT_EQ(entry, Text("TOP"));
}

TEST(SkinReader, NamesEndAtCrLfCrOrLfAndTheListMayBeEmpty) {
  TSkinReader reader;
  // "a\r\n" "b\r" "c\n" "\n" (an empty name) "d" (no line end): five names.
  const std::string names = "a\r\nb\rc\n\nd";
  ASSERT_TRUE(reader.LoadContainer(
      RawContainer(20000, static_cast<std::int32_t>(names.size()), names, {1, 1, 1, 0, 2}, "ABCDD")));
  EXPECT_EQ(reader.Names(), (std::vector<std::string>{"a", "b", "c", "", "d"}));
  EXPECT_EQ(reader.Entry("d").size(), 2u);
  EXPECT_EQ(reader.Entry("c")[0], 'C');

  ASSERT_TRUE(reader.LoadContainer(RawContainer(20000, 0, "", {}, "")));
  EXPECT_EQ(reader.Count(), 0);
  Bytes entry;
  std::string found;
  EXPECT_FALSE(reader.FindEntry(".ini", entry, found));
}

TEST(SkinReader, TheOldFormatKeepsItsOwnMessageAndChangesNothing) {
  TSkinReader reader;
  ASSERT_TRUE(reader.LoadPacked(PackSkin(SampleEntries())));
  EXPECT_FALSE(reader.LoadPacked(Packed(RawContainer(10000, 0, "", {}, ""))));
  EXPECT_EQ(reader.Result(), SkinLoadResult::OldFormat);
  EXPECT_EQ(reader.Defect(), SkinDefect::OtherFormat);
  EXPECT_EQ(reader.Message(), "This is Older Skin File\rPlease update to new version !");
  EXPECT_EQ(reader.Count(), 5);  // the earlier skin is still there
  EXPECT_EQ(reader.Entry("left.bmp").size(), 4u);
}

TEST(SkinReader, DamagedFilesAreRefusedWithTheDamagedMessage) {
  std::string names1002;
  for (int i = 0; i < 1002; ++i) names1002 += "n" + std::to_string(i) + ".bmp\r\n";
  std::string names1001;
  for (int i = 0; i < 1001; ++i) names1001 += "n" + std::to_string(i) + ".bmp\r\n";
  Bytes bigSize = {0x01, 0x00, 0x90, 0x00};  // claims 9 MB unpacked
  bigSize.insert(bigSize.end(), 100, 0);
  Bytes hugeSize = {0xFF, 0xFF, 0xFF, 0xFF};
  struct Case {
    const char* what;
    Bytes packed;
    SkinDefect defect;
  };
  const Case cases[] = {
      {"no size", Text("abc"), SkinDefect::NoUnpackedSize},
      {"unpacked size beyond the limit", bigSize, SkinDefect::UnpackedSizeTooLarge},
      {"unpacked size of 4 GB", hugeSize, SkinDefect::UnpackedSizeTooLarge},
      {"container shorter than its header", Packed(Text("0123456789")), SkinDefect::ShortHeader},
      {"negative name list length", Packed(RawContainer(20000, -1, "a\r\n", {1}, "x")), SkinDefect::NegativeNameList},
      {"name list beyond the data", Packed(RawContainer(20000, 1000, "a\r\n", {1}, "x")),
       SkinDefect::NameListBeyondData},
      {"1002 names",
       Packed(RawContainer(20000, static_cast<std::int32_t>(names1002.size()), names1002,
                           std::vector<std::int32_t>(1002, 0), "")),
       SkinDefect::TooManyNames},
      {"size table beyond the data", Packed(RawContainer(20000, 6, "a\r\nb\r\n", {1}, "")),
       SkinDefect::SizeTableBeyondData},
      {"negative entry size", Packed(RawContainer(20000, 6, "a\r\nb\r\n", {-1, 1}, "xy")), SkinDefect::NegativeEntrySize},
      {"entry beyond the data", Packed(RawContainer(20000, 6, "a\r\nb\r\n", {1, 2}, "xy")), SkinDefect::EntryBeyondData},
      {"entry sizes overflowing", Packed(RawContainer(20000, 6, "a\r\nb\r\n", {0x7FFFFFFF, 0x7FFFFFFF}, "xy")),
       SkinDefect::EntryBeyondData},
  };
  for (const Case& c : cases) {
    TSkinReader reader;
    EXPECT_FALSE(reader.LoadPacked(c.packed)) << c.what;
    EXPECT_EQ(reader.Result(), SkinLoadResult::Damaged) << c.what;
    EXPECT_EQ(reader.Message(), kDamagedSkinMessage) << c.what;
    EXPECT_FALSE(reader.Problem().empty()) << c.what;
    EXPECT_EQ(reader.Defect(), c.defect) << c.what;
    EXPECT_EQ(reader.Count(), 0) << c.what;
  }
  // 1001 names still fit the format.
  TSkinReader reader;
  EXPECT_TRUE(reader.LoadPacked(Packed(RawContainer(20000, static_cast<std::int32_t>(names1001.size()), names1001,
                                                    std::vector<std::int32_t>(1001, 0), ""))));
  EXPECT_EQ(reader.Count(), 1001);
}

// A container held in a buffer of exactly its size, so that the sanitizer reports any read past it.
SkinDefect LoadExact(TSkinReader& reader, const Bytes& container) {
  Bytes exact;
  exact.reserve(container.size());
  exact.assign(container.begin(), container.end());
  reader.LoadContainer(std::move(exact));
  return reader.Defect();
}

TEST(SkinReader, EachLengthIsCheckedAtTheExactEndOfTheContainer) {
  TSkinReader reader;
  // A name list that runs one byte past the end is refused by the name-list check itself; one
  // that ends exactly at the end passes it and is refused next, for the missing size table.
  const Bytes listOnly = RawContainer(20000, 3, "a\r\n", {}, "");
  ASSERT_EQ(listOnly.size(), 19u);
  Bytes longer = listOnly;
  longer[4] = 4;
  EXPECT_EQ(LoadExact(reader, longer), SkinDefect::NameListBeyondData);
  EXPECT_EQ(LoadExact(reader, listOnly), SkinDefect::SizeTableBeyondData);
  // An empty name list ending at the very end: no entries, and nothing wrong.
  EXPECT_EQ(LoadExact(reader, RawContainer(20000, 0, "", {}, "")), SkinDefect::None);
  EXPECT_EQ(reader.Result(), SkinLoadResult::Loaded);
  EXPECT_EQ(reader.Count(), 0);

  // The size table one byte short, and whole; the last entry one byte short, and fitting exactly.
  const Bytes whole = RawContainer(20000, 6, "a\r\nb\r\n", {1, 2}, "xyz");
  EXPECT_EQ(LoadExact(reader, Bytes(whole.begin(), whole.begin() + 16 + 6 + 7)), SkinDefect::SizeTableBeyondData);
  EXPECT_EQ(LoadExact(reader, Bytes(whole.begin(), whole.begin() + 16 + 6 + 8)), SkinDefect::EntryBeyondData);
  EXPECT_EQ(LoadExact(reader, Bytes(whole.begin(), whole.end() - 1)), SkinDefect::EntryBeyondData);
  EXPECT_EQ(LoadExact(reader, whole), SkinDefect::None);
  EXPECT_EQ(reader.Names(), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(reader.Entry("b").size(), 2u);
  EXPECT_EQ(reader.Entry("b").back(), 'z');
}

TEST(SkinReader, TheContainerEndsAtItsDeclaredSize) {
  // A stream whose last match runs past the declared size: the surplus is not part of the skin.
  const Bytes container = RawContainer(20000, 3, "a\r\n", {2}, "xy");
  LzhSymbolWriter w;
  for (std::uint8_t b : container) w.Literal(b);
  w.Match(40, 0);  // 40 more 'y', beyond the declared size
  Bytes packed;
  PutLe32(packed, static_cast<std::uint32_t>(container.size()));
  const Bytes stream = w.Finish();
  packed.insert(packed.end(), stream.begin(), stream.end());
  TSkinReader reader;
  ASSERT_TRUE(reader.LoadPacked(packed));
  EXPECT_EQ(reader.Container(), container);
  EXPECT_EQ(reader.BytesMissing(), 0u);
}

TEST(SkinReader, ACutOffFileStillLoadsAndSaysHowMuchIsMissing) {
  std::vector<SkinEntry> entries = SampleEntries();
  std::mt19937 rng(4);
  entries.push_back({"noise.bmp", Bytes(5000, 0)});
  for (auto& b : entries.back().data) b = static_cast<std::uint8_t>(rng());
  Bytes packed = PackSkin(entries);
  TSkinReader reader;
  ASSERT_TRUE(reader.LoadPacked(packed));
  EXPECT_EQ(reader.BytesMissing(), 0u);
  ASSERT_GT(packed.size(), 1000u);
  packed.erase(packed.end() - 100, packed.end());
  EXPECT_TRUE(reader.LoadPacked(packed));
  // Fewer than the 100 bytes cut: the zero bits read in their place decode to other bytes.
  EXPECT_GT(reader.BytesMissing(), 0u);
}

}  // namespace
}  // namespace qlt
