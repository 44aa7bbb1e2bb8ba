// The skin kit as an author uses it: pack a folder, list and unpack the skin file, and the checks
// that keep a broken skin from being written; and skin files of random content of many sizes.
#include "skin/kit/SkinKit.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <sstream>

#include "skin/data/BmpCodec.h"
#include "skin/data/SkinText.h"
#include "ui/SysUtils.h"
#include "tests/native/SkinTestData.h"

namespace qlt::skinkit {
namespace {

namespace fs = std::filesystem;

class SkinKit : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::temp_directory_path() / ("qlt-skinkit-" + std::to_string(::getpid()) + "-" +
                                         ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(root_);
    fs::create_directories(root_ / "art");
  }
  void TearDown() override { fs::remove_all(root_); }

  void Write(const fs::path& path, const Bytes& bytes) {
    std::string error;
    ASSERT_TRUE(WriteFileBytes(path, bytes, error)) << error;
  }
  void WriteText(const fs::path& path, std::string_view text) { Write(path, Bytes(text.begin(), text.end())); }

  int Run(std::vector<std::string> args) {
    out_.str("");
    err_.str("");
    return RunSkinKit(args, out_, err_);
  }

  // A small skin: three generated pictures, the real bitmaps of the test data, a description.
  void MakeArt() {
    Write(root_ / "art" / "Top.bmp", EncodeBmp(testdata::MakePicture(334, 58, 1)));
    Write(root_ / "art" / "left.bmp", EncodeBmp(testdata::MakePicture(22, 240, 2)));
    Write(root_ / "art" / "button.bmp", EncodeBmp(testdata::MakePicture(275, 22, 3)));
    for (const auto& f : fs::directory_iterator(fs::path(QLT_TEST_DATA_DIR) / "bitmaps")) {
      if (f.path().extension() == ".bmp") fs::copy_file(f.path(), root_ / "art" / f.path().filename());
    }
    WriteText(root_ / "art" / "skin.ini",
              "[Personality]\r\nTop=Top.bmp\r\nLeft=skins\\left.bmp\r\n[Buttons]\r\nBitmap=button.bmp\r\n");
  }

  std::string Path(const fs::path& p) { return PathToUtf8(p); }

  fs::path root_;
  std::ostringstream out_;
  std::ostringstream err_;
};

TEST_F(SkinKit, PacksAFolderThatReadsBackAndUnpacksToTheSameFiles) {
  MakeArt();
  const fs::path skin = root_ / "my.skn";
  ASSERT_EQ(Run({"pack", Path(root_ / "art"), Path(skin)}), 0) << err_.str();
  EXPECT_EQ(err_.str(), "");

  TSkinReader reader;
  ASSERT_TRUE(reader.LoadPacked(testdata::ReadTestFile(skin)));
  EXPECT_EQ(reader.Count(), 13);
  EXPECT_EQ(reader.Names().front(), "button.bmp");  // sorted by name when no order is given
  Bytes description;
  std::string name;
  ASSERT_TRUE(reader.FindEntry(".ini", description, name));
  EXPECT_EQ(name, "skin.ini");
  EXPECT_EQ(DecodeBmp(reader.Entry("TOP.BMP")), testdata::MakePicture(334, 58, 1));

  ASSERT_EQ(Run({"list", Path(skin)}), 0) << err_.str();
  EXPECT_NE(out_.str().find("13 entries"), std::string::npos) << out_.str();
  EXPECT_NE(out_.str().find("top.bmp\t334 x 58, 24 bits"), std::string::npos) << out_.str();
  EXPECT_NE(out_.str().find("skin.ini\tdescription, 5 lines, 2 sections"), std::string::npos) << out_.str();

  ASSERT_EQ(Run({"unpack", Path(skin), Path(root_ / "out")}), 0) << err_.str();
  for (const auto& f : fs::directory_iterator(root_ / "art")) {
    const std::string lower = AsciiLower(PathToUtf8(f.path().filename()));
    EXPECT_EQ(testdata::ReadTestFile(root_ / "out" / lower), testdata::ReadTestFile(f.path())) << lower;
  }
}

TEST_F(SkinKit, NamesGivenOnTheCommandLineSetTheOrder) {
  MakeArt();
  const fs::path skin = root_ / "ordered.skn";
  ASSERT_EQ(Run({"pack", Path(root_ / "art"), Path(skin), "skin.ini", "Top.bmp", "left.bmp", "button.bmp"}), 0)
      << err_.str();
  TSkinReader reader;
  ASSERT_TRUE(reader.LoadPacked(testdata::ReadTestFile(skin)));
  EXPECT_EQ(reader.Names(), (std::vector<std::string>{"skin.ini", "top.bmp", "left.bmp", "button.bmp"}));
  EXPECT_EQ(Run({"pack", Path(root_ / "art"), Path(skin), "skin.ini", "missing.bmp"}), 1);
  EXPECT_NE(err_.str().find("missing.bmp"), std::string::npos);
}

TEST_F(SkinKit, RefusesSkinsThatWouldNotLoadAndWarnsAboutImagesThatStayEmpty) {
  MakeArt();
  const fs::path skin = root_ / "bad.skn";
  auto refused = [&](std::vector<std::string> names, std::string_view why) {
    std::vector<std::string> args = {"pack", Path(root_ / "art"), Path(skin)};
    args.insert(args.end(), names.begin(), names.end());
    EXPECT_EQ(Run(args), 1) << why;
    EXPECT_NE(err_.str().find(why), std::string::npos) << err_.str();
    EXPECT_FALSE(fs::exists(skin));
  };
  WriteText(root_ / "art" / "other.ini", "[A]\n");
  WriteText(root_ / "art" / "broken.bmp", "BM not really");
  WriteText(root_ / "art" / "notes.txt", "hello");
  WriteText(root_ / "art" / "x.ini.bmp", "");
  refused({"Top.bmp"}, "no description");
  refused({"skin.ini", "other.ini"}, "more than one description");
  refused({"skin.ini", "broken.bmp"}, "broken.bmp: not a bitmap QLT can read");
  refused({"skin.ini", "notes.txt"}, "only .bmp bitmaps");
  fs::copy_file(root_ / "art" / "left.bmp", root_ / "art" / "LEFT.BMP");
  refused({"skin.ini", "left.bmp", "LEFT.BMP"}, "two entries of that name");
  refused({"skin.ini", "x.ini.bmp"}, "only the description's name may contain");
  refused({"skin.ini", "../art/Top.bmp"}, "plain ASCII file name");
  Write(root_ / "art" / "huge.bmp", EncodeBmp(Bitmap24(3000, 1000)));
  refused({"skin.ini", "huge.bmp"}, "a skin may have at most 8388608");

  WriteText(root_ / "art" / "skin.ini", "[Personality]\r\nTop=Top.BMP\r\nLeft=nothere.bmp\r\n");
  EXPECT_EQ(Run({"pack", Path(root_ / "art"), Path(skin), "skin.ini", "Top.bmp"}), 0) << err_.str();
  EXPECT_NE(err_.str().find("\"Top=Top.BMP\": the extension must be written \".bmp\""), std::string::npos);
  EXPECT_NE(err_.str().find("no entry nothere.bmp"), std::string::npos);
}

TEST_F(SkinKit, UnpackWritesOnlyPlainNamesAndTheFirstOfTwo) {
  const Bytes packed = PackSkin({{"../escape.bmp", Bytes{'x'}},
                                 {"sub/dir.bmp", Bytes{'y'}},
                                 {"a.bmp", Bytes{'1'}},
                                 {"A.BMP", Bytes{'2'}},
                                 {"skin.ini", Bytes{'['}}});
  Write(root_ / "crafted.skn", packed);
  EXPECT_EQ(Run({"unpack", Path(root_ / "crafted.skn"), Path(root_ / "out")}), 0);
  EXPECT_FALSE(fs::exists(root_ / "escape.bmp"));
  EXPECT_FALSE(fs::exists(root_ / "out" / "sub"));
  EXPECT_EQ(testdata::ReadTestFile(root_ / "out" / "a.bmp"), Bytes{'1'});
  EXPECT_TRUE(fs::exists(root_ / "out" / "skin.ini"));
  EXPECT_NE(err_.str().find("not a plain file name"), std::string::npos);
}

TEST_F(SkinKit, DamagedOrMissingFilesAndWrongUsageFailWithAMessage) {
  Write(root_ / "damaged.skn", Bytes{0xFF, 0xFF, 0xFF, 0x7F, 1, 2, 3});
  EXPECT_EQ(Run({"list", Path(root_ / "damaged.skn")}), 1);
  EXPECT_NE(err_.str().find("damaged"), std::string::npos);
  EXPECT_EQ(Run({"unpack", Path(root_ / "damaged.skn"), Path(root_ / "out")}), 1);
  EXPECT_FALSE(fs::exists(root_ / "out"));
  EXPECT_EQ(Run({"list", Path(root_ / "missing.skn")}), 1);
  EXPECT_NE(err_.str().find("cannot open"), std::string::npos);
  EXPECT_EQ(Run({"pack", Path(root_ / "empty"), Path(root_ / "x.skn")}), 1);
  EXPECT_EQ(Run({}), 2);
  EXPECT_EQ(Run({"list"}), 2);
  EXPECT_NE(err_.str().find("usage:"), std::string::npos);
}

TEST(SkinFiles, RandomEntriesOfManySizesReadBackExactly) {
  std::mt19937 rng(2024);
  const std::size_t sizes[] = {0, 1, 2, 3, 60, 61, 4095, 4096, 4097, 65536, 250000, 1 << 20, 3 << 20};
  std::vector<SkinEntry> entries;
  int n = 0;
  for (std::size_t size : sizes) {
    entries.push_back({"e" + std::to_string(n) + ".bmp",
                       testdata::MakeBytes(size, static_cast<testdata::Kind>(n % 4), rng())});
    ++n;
    // Each size alone, then all of them together.
    const Bytes packed = PackSkin({entries.back()});
    TSkinReader reader;
    ASSERT_TRUE(reader.LoadPacked(packed)) << size;
    EXPECT_EQ(reader.EntryAt(0).size(), size);
    EXPECT_TRUE(std::equal(reader.EntryAt(0).begin(), reader.EntryAt(0).end(), entries.back().data.begin()));
  }
  TSkinReader reader;
  ASSERT_TRUE(reader.LoadPacked(PackSkin(entries)));
  ASSERT_EQ(reader.Count(), static_cast<int>(entries.size()));
  for (int i = 0; i < reader.Count(); ++i) {
    const ByteView e = reader.EntryAt(i);
    EXPECT_TRUE(std::equal(e.begin(), e.end(), entries[static_cast<std::size_t>(i)].data.begin(),
                           entries[static_cast<std::size_t>(i)].data.end()))
        << i;
  }
  EXPECT_EQ(reader.BytesMissing(), 0u);
}

}  // namespace
}  // namespace qlt::skinkit
