// QLT's default skin as the build makes it: the packed file the skin kit wrote, the skin objects
// it yields with the numbers of its own description, and SkinData1's form fragment that carries it.
#include <gtest/gtest.h>

#include <algorithm>

#include "skin/data/BmpCodec.h"
#include "skin/data/QuickIni.h"
#include "skin/data/SkinObjects.h"
#include "skin/data/SkinReader.h"
#include "skin/data/SkinTypes.h"
#include "tests/native/SkinTestData.h"
#include "ui/FormText.h"
#include "ui/Utf.h"

namespace qlt {
namespace {

using testdata::ReadTestFile;

std::string ReadText(const std::string& path) {
  const Bytes bytes = ReadTestFile(path);
  return std::string(bytes.begin(), bytes.end());
}

const std::string kSkinDir = QLT_SKIN_BUILD_DIR;

using Objects = std::vector<const TDataSkinObject*>;

struct Expected {
  const char* name;
  int width;
  int height;
};

const Expected kBitmaps[] = {
    {"top.bmp", 334, 58},          {"bottom.bmp", 334, 44},        {"left.bmp", 22, 240},
    {"right.bmp", 10, 240},        {"menu.bmp", 334, 36},          {"dialog.bmp", 32, 32},
    {"button.bmp", 275, 22},       {"check.bmp", 52, 13},          {"radio.bmp", 52, 13},
    {"progress.bmp", 96, 18},      {"groupboxedge.bmp", 128, 64},  {"taborders.bmp", 29, 28},
    {"tabs.bmp", 200, 19},         {"status.bmp", 111, 25},        {"combo.bmp", 72, 21},
    {"sunkedge.bmp", 22, 21},      {"extra.bmp", 80, 16},          {"headerbar.bmp", 320, 17},
    {"select.bmp", 620, 16},       {"menuback.bmp", 128, 128},     {"arrows.bmp", 368, 16},
    {"hscroll.bmp", 64, 16},       {"vscroll.bmp", 64, 16},        {"hscrollb.bmp", 48, 16},
    {"vscrollb.bmp", 48, 16},      {"mdibutton.bmp", 132, 12},     {"grouptop.bmp", 64, 19},
    {"button-off-tool.bmp", 96, 15}, {"button-max-tool.bmp", 90, 15}, {"button-rollup-tool.bmp", 96, 18},
    {"button-min-tool.bmp", 90, 14}, {"left_bullets.bmp", 30, 21},
};

class DefaultSkin : public ::testing::Test {
 protected:
  void SetUp() override {
    packed_ = ReadTestFile(kSkinDir + "/QLTSkin.skin");
    ASSERT_TRUE(reader_.LoadPacked(packed_)) << reader_.Problem();
    ini_.LoadFromStream(reader_.Entry("skin.ini"));
    skin_.BuildSkin(reader_, ini_);
  }
  Bytes packed_;
  TSkinReader reader_;
  TQuickIni ini_;
  TSkinContent skin_;
};

TEST_F(DefaultSkin, HoldsTheDescriptionAndThirtyTwoBitmapsOfTwentyFourBitsInOrder) {
  const Bytes& container = reader_.Container();
  ASSERT_GE(container.size(), 4u);
  EXPECT_EQ(container[0] | container[1] << 8 | container[2] << 16 | container[3] << 24, kSkinFormatNumber);
  ASSERT_EQ(reader_.Count(), 33);
  EXPECT_EQ(reader_.Names()[0], "skin.ini");
  for (int i = 0; i < 32; ++i) {
    const Expected& e = kBitmaps[i];
    EXPECT_EQ(reader_.Names()[static_cast<std::size_t>(i) + 1], e.name);
    const auto header = ReadBmpHeader(reader_.EntryAt(i + 1));
    ASSERT_TRUE(header) << e.name;
    EXPECT_EQ(header->bitsPerPixel, 24) << e.name;
    EXPECT_EQ(header->width, e.width) << e.name;
    EXPECT_EQ(header->height, e.height) << e.name;
  }
  const ByteView description = reader_.EntryAt(0);
  EXPECT_EQ(std::count(description.begin(), description.end(), '\n'), 443);
  EXPECT_EQ(ini_.Sections().size(), 42u);
  EXPECT_EQ(skin_.SkinName, "Slate");
  // Packed about as small as the skin it stands for.
  EXPECT_LT(packed_.size(), 32u * 1024u);
}

TEST_F(DefaultSkin, YieldsTheWindowEdges) {
  struct Edge {
    const TDataSkinBorder* edge;
    int first, second, trans;
    int width, height;
  };
  const Edge edges[] = {{skin_.TopBorder.get(), 43, 143, 1, 334, 58},
                        {skin_.LeftBorder.get(), 46, 33, 1, 22, 240},
                        {skin_.RightBorder.get(), 43, 21, 1, 10, 240},
                        {skin_.BottomBorder.get(), 14, 38, 0, 334, 44}};
  for (const Edge& e : edges) {
    const bool horizontal = e.edge->Name == "Top" || e.edge->Name == "Bottom";
    EXPECT_EQ(horizontal ? e.edge->LeftWidth : e.edge->TopHeight, e.first) << e.edge->Name;
    EXPECT_EQ(horizontal ? e.edge->RightWidth : e.edge->BottomHeight, e.second) << e.edge->Name;
    EXPECT_EQ(e.edge->Frame, 2) << e.edge->Name;
    EXPECT_EQ(e.edge->Tile, 0) << e.edge->Name;
    EXPECT_EQ(e.edge->Trans, e.trans) << e.edge->Name;
    EXPECT_EQ(e.edge->Image.Width(), e.width) << e.edge->Name;
    EXPECT_EQ(e.edge->Image.Height(), e.height) << e.edge->Name;
  }
}

TEST_F(DefaultSkin, YieldsTheTitleButtonsAndTheMdiButtons) {
  struct Button {
    const char* name;
    int action, align, x, y, cells, width, height;
  };
  const Button expected[] = {
      {"BUTTON0", 0, 1, 17, 1, 6, 96, 15},  {"BUTTON1", 1, 1, 32, 1, 6, 90, 15},
      {"BUTTON2", -1, 0, 1, 4, 6, 96, 18},  {"BUTTON3", 2, 1, 47, 1, 6, 90, 14},
      {"BUTTON4", -1, 0, 0, 50, 6, 30, 21}, {"BUTTON5", -1, 2, 0, 60, 6, 30, 21},
      {"BUTTON6", 3, 0, 24, 5, 6, 0, 0},
  };
  ASSERT_EQ(skin_.SysButtons.size(), 10u);
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    const Button& e = expected[i];
    const TDataSkinSysButton& b = *skin_.SysButtons[i];
    EXPECT_EQ(b.Name, e.name);
    EXPECT_EQ(std::tie(b.Action, b.Align, b.Xcoord, b.Ycoord), std::make_tuple(e.action, e.align, e.x, e.y)) << e.name;
    EXPECT_EQ(b.Visibility, 0) << e.name;
    EXPECT_EQ(b.Frame, e.cells) << e.name;
    EXPECT_EQ(b.Image.Width(), e.width) << e.name;
    EXPECT_EQ(b.Image.Height(), e.height) << e.name;
  }
  const int xcoords[] = {45, 30, 15};
  for (int i = 0; i < 3; ++i) {
    const TDataSkinSysButton& b = *skin_.SysButtons[7 + static_cast<std::size_t>(i)];
    EXPECT_EQ(b.Action, 7 + i);
    EXPECT_EQ(b.Image.Width(), 44);
    EXPECT_EQ(b.Image.Height(), 12);
    EXPECT_EQ(b.Xcoord, xcoords[i]);
    EXPECT_EQ(b.Frame, 4);
  }
}

TEST_F(DefaultSkin, YieldsTheColoursAndTheOtherObjects) {
  EXPECT_EQ(skin_.ButtonFaceColour, RGBColor(145, 146, 159));
  EXPECT_EQ(skin_.MenubarColour, RGBColor(145, 146, 159));
  EXPECT_EQ(skin_.TitleTextActiveColour, RGBColor(246, 247, 251));
  for (const TDataSkinObject* o : Objects{
       skin_.TrackbarThumbHorz.get(), skin_.TrackbarThumbVert.get(), skin_.TrackbarThumbLeft.get(),
        skin_.TrackbarThumbRight.get(), skin_.TrackbarThumbUp.get(), skin_.TrackbarThumbDown.get(),
        (skin_.UpDownHorz.get()), (skin_.UpDownVert.get())}) {
    EXPECT_EQ(o, nullptr);
  }
  // Every other element QLT's windows use is skinned.
  for (const TDataSkinObject* o : Objects{
       (skin_.Progress.get()), skin_.MenuBar.get(), skin_.GroupBoxEdge.get(),
        (skin_.GroupBox.get()), skin_.Toolbars.get(),
        (skin_.Tabs.get()), skin_.StatusBarEdges.get(),
        (skin_.ComboButton.get()), skin_.SunkEdge.get(), skin_.ExtraImages.get(),
        skin_.Headerbar.get(), skin_.MenuItem.get(), skin_.MenuBackground.get(), skin_.Scrollbar.get(),
        skin_.HorzScroll.get(), skin_.VertScroll.get(), skin_.HorzScrollThumb.get(), skin_.VertScrollThumb.get()}) {
    ASSERT_NE(o, nullptr);
    EXPECT_FALSE(o->Image.Empty()) << o->Name;
  }
  EXPECT_FALSE(skin_.Tabs->Image2.Empty());
  EXPECT_FALSE(skin_.ComboButton->Image2.Empty());
  EXPECT_FALSE(skin_.Buttons->Image.Empty());
  EXPECT_EQ(skin_.Buttons->CheckFrame, 4);
  EXPECT_EQ(skin_.Buttons->RadioFrame, 4);
  EXPECT_TRUE(skin_.Buttons->HasNormalColour2);
}

bool HasMagenta(const Bitmap24& image) {
  return std::any_of(image.Data(), image.Data() + image.PixelCount(), [](Bgr p) { return p == kSkinTransparent; });
}

// The rules every built skin keeps (cells that divide their images, magenta only where it is
// transparent) are checked for this skin and the second one in BuiltSkinsTest; these are Slate's own.
TEST_F(DefaultSkin, TheSunkenRingHasCellsOfFiveAndOnlyTheTopCornersAreCut) {
  // The sunken ring of 22 pixels holds four cells of 5 (the two columns left over are never shown).
  EXPECT_EQ(skin_.SunkEdge->Image.Width() / skin_.SunkEdge->Frame, 5);
  EXPECT_FALSE(HasMagenta(skin_.SunkEdge->Image));
  // The window's top corners are cut out of its shape; the bottom edge is never transparent.
  EXPECT_EQ(skin_.LeftBorder->Image.At(0, 0), kSkinTransparent);
  EXPECT_EQ(skin_.RightBorder->Image.At(skin_.RightBorder->Image.Width() / 2 - 1, 0), kSkinTransparent);
  EXPECT_NE(skin_.LeftBorder->Image.At(0, 239), kSkinTransparent);
  EXPECT_EQ(skin_.BottomBorder->Trans, 0);
  EXPECT_FALSE(HasMagenta(skin_.BottomBorder->Image));
}

TEST_F(DefaultSkin, MenuGlyphsAreSixtyFourBySixteenMonochrome) {
  const auto header = ReadBmpHeader(ReadTestFile(kSkinDir + "/menuglyphs.bmp"));
  ASSERT_TRUE(header);
  EXPECT_EQ(std::tie(header->width, header->height, header->bitsPerPixel), std::make_tuple(64, 16, 1));
  const auto glyphs = DecodeBmp(ReadTestFile(kSkinDir + "/menuglyphs.bmp"));
  ASSERT_TRUE(glyphs);
  // Four glyphs, each with ink of its own, on white.
  for (int g = 0; g < 4; ++g) {
    int ink = 0;
    for (int y = 0; y < 16; ++y) {
      for (int x = 0; x < 16; ++x) ink += glyphs->At(g * 16 + x, y) == RgbPixel(0, 0, 0) ? 1 : 0;
    }
    EXPECT_GT(ink, 8) << "glyph " << g;
  }
  EXPECT_EQ(glyphs->At(0, 0), RgbPixel(255, 255, 255));
}

TEST_F(DefaultSkin, SkinData1CarriesTheSkinAndItsDesignValues) {
  const DfmObject form = ParseFormText(ReadText(kSkinDir + "/SkinData1.form"));
  EXPECT_EQ(form.name, "SkinData1");
  EXPECT_EQ(form.className, "TSkinData");
  const DfmProperty* stream = form.Find("SkinStream");
  ASSERT_NE(stream, nullptr);
  const std::string& payload = stream->value.bytes;
  ASSERT_EQ(payload.size(), packed_.size() + 4);
  const auto byte = [&](std::size_t i) { return static_cast<std::uint32_t>(static_cast<std::uint8_t>(payload[i])); };
  EXPECT_EQ(byte(0) | byte(1) << 8 | byte(2) << 16 | byte(3) << 24, packed_.size());
  EXPECT_TRUE(std::equal(packed_.begin(), packed_.end(), payload.begin() + 4,
                         [](std::uint8_t a, char b) { return a == static_cast<std::uint8_t>(b); }));

  const DfmProperty* rows = form.Find("Skin3rd.Strings");
  ASSERT_NE(rows, nullptr);
  ASSERT_EQ(rows->value.list.size(), 97u);
  const auto& defaults = DefaultSkin3rdRows();
  EXPECT_TRUE(std::equal(defaults.begin(), defaults.end(), rows->value.list.begin()));
  EXPECT_EQ(form.Find("Active")->value.ident, "True");
  EXPECT_EQ(form.Find("DisableTag")->value.integer, 99);
  EXPECT_EQ(form.Find("SkinControls")->value.set.size(), 18u);
  EXPECT_EQ(form.Find("SkinFormtype")->value.ident, "sfMainform");
}

TEST(SkinTypes, Skin3rdHas97RowsAndTheGroupBoxRowComesFirst) {
  const auto& rows = DefaultSkin3rdRows();
  EXPECT_EQ(rows.size(), 97u);
  const auto groupbox = std::find(rows.begin(), rows.end(), u"TLMDGroupBox=Groupbox");
  const auto panel = std::find(rows.begin(), rows.end(), u"TLMDGROUPBOX=Panel");
  ASSERT_NE(groupbox, rows.end());
  ASSERT_NE(panel, rows.end());
  EXPECT_LT(groupbox, panel);
  EXPECT_EQ(kDefaultSkinControls, (1u << 18) - 1);
  EXPECT_EQ(SkinControlTypeInfo().names.size(), 19u);
}

}  // namespace
}  // namespace qlt
