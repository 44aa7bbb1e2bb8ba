// The skin objects as small descriptions make them: image lookup, optional objects, the tile
// rule, the title buttons kept and dropped with their cell counts, the MDI buttons, the check and
// radio cells, colour texts, and the defaults of a description that says nothing.
#include "skin/data/SkinObjects.h"

#include <gtest/gtest.h>

#include "skin/data/BmpCodec.h"
#include "skin/data/QuickIni.h"
#include "skin/data/SkinReader.h"
#include "skin/kit/SkinPack.h"

namespace qlt {
namespace {

Bytes Text(std::string_view s) { return Bytes(s.begin(), s.end()); }

// A picture whose pixel (x, 0) tells its column, so cuts and mirrors can be checked.
Bitmap24 Picture(int width, int height) {
  Bitmap24 image(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) image.At(x, y) = RgbPixel(static_cast<std::uint8_t>(x), 7, 9);
  }
  return image;
}

// A skin made in the test: a description and bitmaps of the sizes given.
class Skin {
 public:
  explicit Skin(std::string description) : description_(std::move(description)) {}
  Skin& Bitmap(std::string name, int width, int height) {
    entries_.push_back({std::move(name), EncodeBmp(Picture(width, height))});
    return *this;
  }
  Skin& Entry(std::string name, Bytes data) {
    entries_.push_back({std::move(name), std::move(data)});
    return *this;
  }
  // Reads the skin into `content` (which may hold an earlier skin).
  void Into(TSkinContent& content) const {
    std::vector<SkinEntry> entries = entries_;
    entries.insert(entries.begin(), {"skin.ini", Text(description_)});
    TSkinReader reader;
    ASSERT_TRUE(reader.LoadContainer(BuildSkinContainer(entries)));
    TQuickIni ini;
    ini.LoadFromStream(reader.Entry("skin.ini"));
    content.BuildSkin(reader, ini);
  }

 private:
  std::string description_;
  std::vector<SkinEntry> entries_;
};

std::vector<std::string> Names(const TSkinContent& c) {
  std::vector<std::string> names;
  for (const auto& b : c.SysButtons) names.push_back(b->Name);
  return names;
}

TEST(SkinObjects, ImageKeysNameEntriesByFileNameWithExactlyDotBmp) {
  TSkinContent c;
  Skin("[GroupBoxEdge]\nImage=Dir\\Sub\\Edge.bmp\n"
       "[Toolbars]\nImage=C:edge.bmp\n"
       "[Headerbar]\nImage=edge.BMP\n"
       "[MenuItem]\nImage=edge\n"
       "[SunkEdge]\nImage=missing.bmp\n"
       "[ExtraImages]\nImage=damaged.bmp\n"
       "[MenuBackground]\nImage=Dir\\\n")
      .Bitmap("edge.bmp", 12, 5)
      .Entry("damaged.bmp", Text("BM this is no bitmap"))
      .Into(c);
  ASSERT_TRUE(c.GroupBoxEdge);
  EXPECT_EQ(c.GroupBoxEdge->Image.Width(), 12);
  EXPECT_EQ(c.GroupBoxEdge->Name, "GroupBoxEdge");
  ASSERT_TRUE(c.Toolbars);
  EXPECT_EQ(c.Toolbars->Image.Width(), 12);
  // The object exists (its key has a value) but its image stays empty.
  for (const auto* o : {c.Headerbar.get(), c.MenuItem.get(), c.SunkEdge.get(), c.ExtraImages.get(),
                        c.MenuBackground.get()}) {
    ASSERT_NE(o, nullptr);
    EXPECT_TRUE(o->Image.Empty()) << o->Name;
  }
}

TEST(SkinObjects, OptionalObjectsExistOnlyWhileTheirSectionNamesAnImage) {
  TSkinContent c;
  Skin("[GroupBoxEdge]\nImage=a.bmp\n[Tabs]\nImage=a.bmp\n[Progress]\nBitmap=a.bmp\n").Bitmap("a.bmp", 4, 4).Into(c);
  EXPECT_TRUE(c.GroupBoxEdge && c.Tabs && c.Progress);
  EXPECT_FALSE(c.Toolbars || c.Scrollbar || c.TrackbarThumbHorz || c.UpDownVert);
  // The next skin frees what it does not name again; an empty value counts as not named.
  Skin("[GroupBoxEdge]\nImage=\n[Tabs]\nImage=a.bmp\n").Bitmap("a.bmp", 4, 4).Into(c);
  EXPECT_FALSE(c.GroupBoxEdge);
  EXPECT_TRUE(c.Tabs);
  EXPECT_FALSE(c.Progress);
  // The permanent objects stay, refilled.
  EXPECT_TRUE(c.Title && c.Buttons && c.LeftBorder && c.RightBorder && c.TopBorder && c.BottomBorder);
}

TEST(SkinObjects, TileAboveOneReadsAsZeroExceptForProgressAndButtons) {
  TSkinContent c;
  Skin("[GroupBoxEdge]\nImage=a.bmp\nTile=2\n[Tabs]\nImage=a.bmp\nTile=2\n[GroupBox]\nImage=a.bmp\nTile=2\n"
       "[Progress]\nBitmap=a.bmp\nTile=2\n[Buttons]\nBitmap=a.bmp\nTile=2\n[SunkEdge]\nImage=a.bmp\nTile=1\n")
      .Bitmap("a.bmp", 4, 4)
      .Into(c);
  EXPECT_EQ(c.GroupBoxEdge->Tile, 0);
  EXPECT_EQ(c.Tabs->Tile, 0);
  EXPECT_EQ(c.GroupBox->Tile, 0);
  EXPECT_EQ(c.Progress->Tile, 2);
  EXPECT_EQ(c.Buttons->Tile, 2);
  EXPECT_EQ(c.SunkEdge->Tile, 1);
}

TEST(SkinObjects, ReadersFillTheirFields) {
  TSkinContent c;
  Skin("[Colours]\nButtonText=1 2 3\n"
       "[Tabs]\nImage=a.bmp\nBorder=b.bmp\nLeftWidth=1\nTopHeight=2\nRightWidth=3\nBottomHeight=4\nTrans=1\n"
       "Style=9\nNormalColour=5\nNormalColour2=10 20 30\n"
       "[Progress]\nBitmap=a.bmp\nChunk=b.bmp\nStyle=1\nNormalColour=5\nNormalColour2=10 20 30\n"
       "[GroupBox]\nImage=a.bmp\nStyle=3\nBackgroundAlignment=1\nBackgroundLeftShift=6\nBackgroundRightShift=7\n"
       "[ComboButton]\nImage=a.bmp\n"
       "[UpDown.Horz]\nImage=a.bmp\nGlyphImage=b.bmp\n"
       "[HorzScrollThumb]\nImage=a.bmp\nFrameCount=5\n[VertScrollThumb]\nImage=a.bmp\nFrameCount=0\n"
       "[Personality]\nmenuBar=a.bmp\nTileMenu=1\n")
      .Bitmap("a.bmp", 6, 2)
      .Bitmap("b.bmp", 3, 3)
      .Into(c);
  const TDataSkinBorder& tabs = *c.Tabs;
  EXPECT_EQ(tabs.Name, "Tabs");
  EXPECT_EQ(tabs.Image2.Width(), 3);
  EXPECT_EQ(std::tie(tabs.LeftWidth, tabs.TopHeight, tabs.RightWidth, tabs.BottomHeight, tabs.Trans),
            std::make_tuple(1, 2, 3, 4, 1));
  EXPECT_EQ(tabs.Style, 0) << "the two-image reader reads no style";
  EXPECT_EQ(tabs.NormalColour, 5);
  EXPECT_EQ(tabs.MouseOverColour, -1);
  EXPECT_EQ(tabs.NormalColour2, RGBColor(10, 20, 30));
  EXPECT_EQ(tabs.MouseOverColour2, RGBColor(1, 2, 3)) << "text colours default to the button text colour";
  EXPECT_EQ(tabs.Frame, 5);
  // The progress reader reads no colours at all.
  EXPECT_EQ(c.Progress->Style, 1);
  EXPECT_EQ(c.Progress->Image2.Width(), 3);
  EXPECT_EQ(c.Progress->NormalColour, 0);
  EXPECT_EQ(c.Progress->NormalColour2, 0);
  EXPECT_EQ(c.Progress->Frame, 2);
  EXPECT_EQ(c.GroupBox->Style, 3);
  EXPECT_EQ(std::tie(c.GroupBox->BackgroundAlignment, c.GroupBox->BackgroundLeftShift, c.GroupBox->BackgroundRightShift),
            std::make_tuple(1, 6, 7));
  EXPECT_EQ(c.GroupBox->Frame, 1);
  // The combo button's second image is its mirror: the last column comes first.
  ASSERT_EQ(c.ComboButton->Image2.Width(), 6);
  EXPECT_EQ(c.ComboButton->Image2.At(0, 0), c.ComboButton->Image.At(5, 0));
  EXPECT_EQ(c.ComboButton->Frame, 4);
  EXPECT_EQ(c.UpDownHorz->Image2.Width(), 3);
  EXPECT_EQ(c.UpDownHorz->Frame, 8);
  EXPECT_EQ(c.HorzScrollThumb->Frame, 5);
  EXPECT_EQ(c.VertScrollThumb->Frame, 3) << "a count below 1 would divide by zero in the painter";
  ASSERT_TRUE(c.MenuBar);
  EXPECT_EQ(c.MenuBar->Name, "Personality");
  EXPECT_EQ(std::tie(c.MenuBar->Tile, c.MenuBar->LeftWidth, c.MenuBar->RightWidth), std::make_tuple(1, 1, 1));
  EXPECT_EQ(c.MenuBar->Frame, 2);
}

TEST(SkinObjects, SizesAndPlacesAreKeptToAScreensRangeCodesAsStated) {
  TSkinContent c;
  Skin("[Personality]\nTXTBackleft=2147483647\nTextShift=-2147483648\nmenuBar=a.bmp\nTileLeftMenu=2147483647\n"
       "TopFrame=99999\n[Button1]\nAction=2000000000\nYcoord=2147483647\nXcoord=-2147483648\nframe=70000\n"
       "[Progress]\nBitmap=a.bmp\nLeftWidth=2000000000\nRightWidth=-2000000000\n")
      .Bitmap("a.bmp", 6, 2)
      .Into(c);
  EXPECT_EQ(std::tie(c.Title->TextBackLeft, c.Title->LeftWidth), std::make_tuple(kSkinMetricLimit, -kSkinMetricLimit));
  EXPECT_EQ(c.MenuBar->LeftWidth, kSkinMetricLimit);
  EXPECT_EQ(c.TopBorder->Frame, kSkinMetricLimit);
  const TDataSkinSysButton& b = *c.SysButtons[0];
  EXPECT_EQ(std::tie(b.Ycoord, b.Xcoord, b.Frame), std::make_tuple(kSkinMetricLimit, -kSkinMetricLimit, kSkinMetricLimit));
  EXPECT_EQ(b.Action, 2000000000) << "a code is not a size";
  EXPECT_EQ(std::tie(c.Progress->LeftWidth, c.Progress->RightWidth), std::make_tuple(kSkinMetricLimit, -kSkinMetricLimit));
}

TEST(SkinObjects, WindowEdgesReadTheirKeysFromPersonality) {
  TSkinContent c;
  Skin("[Personality]\nTop=t.bmp\nTopTopHeight=43\nTopBotHeight=143\nTopFrame=2\nTopStretch=0\n"
       "Left=l.bmp\nLeftTopHeight=46\nLeftBotHeight=33\nLeftFrame=0\n"
       "Bottom=b.bmp\nBottomTrans=0\n")
      .Bitmap("t.bmp", 10, 4)
      .Bitmap("l.bmp", 4, 10)
      .Bitmap("b.bmp", 10, 2)
      .Into(c);
  const TDataSkinBorder& top = *c.TopBorder;
  EXPECT_EQ(std::tie(top.LeftWidth, top.RightWidth, top.TopHeight, top.BottomHeight), std::make_tuple(43, 143, 0, 0));
  EXPECT_EQ(std::tie(top.Frame, top.Tile, top.Trans), std::make_tuple(2, 0, 1));
  EXPECT_EQ(top.Image.Height(), 4);
  const TDataSkinBorder& left = *c.LeftBorder;
  EXPECT_EQ(std::tie(left.TopHeight, left.BottomHeight, left.LeftWidth, left.RightWidth), std::make_tuple(46, 33, 0, 0));
  EXPECT_EQ(left.Frame, 1) << "a frame count of 0 would divide by zero in the frame painter";
  EXPECT_EQ(std::tie(left.Tile, left.Trans), std::make_tuple(1, 1));
  EXPECT_EQ(c.BottomBorder->Trans, 0);
  EXPECT_TRUE(c.RightBorder->Image.Empty());
  EXPECT_EQ(c.RightBorder->Frame, 1);
}

TEST(SkinObjects, TitleButtonSectionsAreKeptOrDroppedByNameAndAction) {
  TSkinContent c;
  Skin("[Buttons]\n[BUTTON]\nAction=4\n[Button.Radio]\n[button.checkbox]\n[Button]\n"
       "[ButtonX]\nAction=5\nAlign=2\nXcoord=3\nYcoord=4\n"
       "[Button1]\nAction=-1\n"
       "[buttonKeep]\nAction=-1\nVisibility=0\n"
       "[MyButton]\nAction=1\n"
       "[Button7]\nVisibility=-1\n")
      .Into(c);
  EXPECT_EQ(Names(c), (std::vector<std::string>{"BUTTONX", "BUTTONKEEP", "BUTTON7", "", "", ""}));
  const TDataSkinSysButton& x = *c.SysButtons[0];
  EXPECT_EQ(std::tie(x.Action, x.Align, x.Xcoord, x.Ycoord), std::make_tuple(5, 2, 3, 4));
  EXPECT_EQ(std::tie(x.Visibility, x.Visibility1, x.CombineOp), std::make_tuple(0, 0, -1));
  EXPECT_EQ(x.Frame, 6) << "no image: six cells";
  const TDataSkinSysButton& keep = *c.SysButtons[1];
  EXPECT_EQ(std::tie(keep.Action, keep.Visibility, keep.Visibility1), std::make_tuple(-1, 0, -1));
  EXPECT_EQ(c.SysButtons[2]->Visibility, -1);
}

TEST(SkinObjects, TitleButtonCellsComeFromTheImageRatioUnlessGiven) {
  TSkinContent c;
  Skin("[Button0]\nButtonImage=narrow.bmp\n[Button1]\nButtonImage=wide.bmp\n"
       "[Button2]\nAction=-1\nVisibility=0\nButtonImage=narrow.bmp\n"
       "[Button3]\nframe=4\nButtonImage=narrow.bmp\n[Button4]\nframe=-2\nButtonImage=narrow.bmp\n"
       "[Button5]\nAction=3\nButtonImage=narrow.bmp\n[Button6]\nAction=11\nframe=2\nButtonImage=narrow.bmp\n"
       "[Button7]\nButtonImage=edge.bmp\n")
      .Bitmap("narrow.bmp", 57, 19)
      .Bitmap("wide.bmp", 114, 19)
      .Bitmap("edge.bmp", 76, 20)
      .Into(c);
  ASSERT_EQ(c.SysButtons.size(), 11u);
  EXPECT_EQ(c.SysButtons[0]->Frame, 3);  // 57 / 19 = 3.0
  EXPECT_EQ(c.SysButtons[1]->Frame, 6);  // 6.0
  EXPECT_EQ(c.SysButtons[2]->Frame, 6) << "a negative action always has six cells";
  EXPECT_EQ(c.SysButtons[3]->Frame, 4);
  EXPECT_EQ(c.SysButtons[4]->Frame, 3) << "a negative count is computed like a missing one";
  // The icon buttons show the window's icon: their image goes, unless the skin gave the count.
  EXPECT_TRUE(c.SysButtons[5]->Image.Empty());
  EXPECT_EQ(c.SysButtons[5]->Frame, 3);
  EXPECT_EQ(c.SysButtons[6]->Image.Width(), 57);
  EXPECT_EQ(c.SysButtons[6]->Frame, 2);
  EXPECT_EQ(c.SysButtons[7]->Frame, 3) << "76 / 20 = 3.8 is at most 3.8";
}

TEST(SkinObjects, MdiButtonsAreCutFromTwelveCells) {
  TSkinContent c;
  Skin("[Button0]\n[MDICONTROLS]\nImage=mdi.bmp\n").Bitmap("mdi.bmp", 120, 9).Into(c);
  ASSERT_EQ(c.SysButtons.size(), 4u);
  const int xcoords[] = {42, 28, 14};
  for (int i = 0; i < 3; ++i) {
    const TDataSkinSysButton& b = *c.SysButtons[1 + static_cast<std::size_t>(i)];
    EXPECT_EQ(b.Action, 7 + i);
    EXPECT_EQ(std::tie(b.Align, b.Visibility, b.Visibility1, b.Frame), std::make_tuple(100, 100, 100, 4));
    EXPECT_EQ(b.Xcoord, xcoords[i]);
    EXPECT_EQ(b.Ycoord, 0);
    ASSERT_EQ(b.Image.Width(), 40);
    EXPECT_EQ(b.Image.Height(), 9);
    EXPECT_EQ(b.Image.At(0, 0).r, 40 * i) << "button " << i << " starts at its own four cells";
  }
  // Without the strip the three buttons keep empty images and their Xcoord 0.
  Skin("").Into(c);
  ASSERT_EQ(c.SysButtons.size(), 3u);
  EXPECT_TRUE(c.SysButtons[0]->Image.Empty());
  EXPECT_EQ(c.SysButtons[0]->Xcoord, 0);
}

TEST(SkinObjects, CheckAndRadioCellsComeFromTheImageWhenNotGiven) {
  TSkinContent c;
  Skin("[Buttons]\nRadioButton=radio.bmp\nCheckButton=check.bmp\n").Bitmap("radio.bmp", 26, 13).Bitmap("check.bmp", 96, 16).Into(c);
  EXPECT_EQ(c.Buttons->RadioFrame, 4) << "26 div 13 = 2, raised to 4";
  EXPECT_EQ(c.Buttons->CheckFrame, 6) << "96 div 16";
  EXPECT_EQ(c.Buttons->Frame, 5);
  Skin("[Buttons]\nRadioButton=radio.bmp\nRadioButtonFrame=3\nCheckButtonFrame=-1\n").Bitmap("radio.bmp", 26, 13).Into(c);
  EXPECT_EQ(c.Buttons->RadioFrame, 3);
  EXPECT_EQ(c.Buttons->CheckFrame, 4) << "an empty image gives 4";
}

TEST(SkinObjects, ButtonTextColoursAreMarkedWhenTheSkinGivesThem) {
  TSkinContent c;
  Skin("[Colours]\nButtonText=9 9 9\n[Buttons]\nNormalColour2=1 2 3\nPressedColour2=\nMouseOverColour=255\n").Into(c);
  EXPECT_TRUE(c.Buttons->HasNormalColour2);
  EXPECT_FALSE(c.Buttons->HasMouseOverColour2);
  EXPECT_FALSE(c.Buttons->HasPressedColour2);
  EXPECT_EQ(c.Buttons->NormalColour2, RGBColor(1, 2, 3));
  EXPECT_EQ(c.Buttons->PressedColour2, RGBColor(9, 9, 9));
  EXPECT_EQ(c.Buttons->MouseOverColour, 255);
  EXPECT_EQ(c.Buttons->NormalColour, -1);
}

TEST(SkinObjects, AnEmptyDescriptionGivesEveryDefault) {
  TSkinContent c;
  Skin("").Into(c);
  EXPECT_EQ(c.ButtonFaceColour, static_cast<TColor>(0xFF00000F));
  EXPECT_EQ(c.MenubarColour, c.ButtonFaceColour);
  EXPECT_EQ(c.TitleTextNoActiveColour, static_cast<TColor>(0xFF000013));
  EXPECT_EQ(c.Title->FontHeight, 14);
  EXPECT_EQ(c.Title->ActiveTextColour, clNone);
  EXPECT_EQ(c.Title->Frame, 2);
  EXPECT_EQ(c.Buttons->NormalColour2, static_cast<TColor>(0xFF000012));
  EXPECT_EQ(c.SkinName, "");
  for (const auto* edge : {c.LeftBorder.get(), c.RightBorder.get(), c.TopBorder.get(), c.BottomBorder.get()}) {
    EXPECT_TRUE(edge->Image.Empty());
    EXPECT_EQ(std::tie(edge->Frame, edge->Tile, edge->Trans), std::make_tuple(1, 1, 1)) << edge->Name;
  }
  // A menu bar colour given on its own, and the title's colours from RGB keys.
  Skin("[Colours]\nButtonFace=1,2,3\n[Personality]\nActiveTextR=300\nActiveTextG=2\nActiveTextB=3\nInActiveTextR=1\n"
       "[Fonts]\nFontHeight=11\n[TitlebarSkin]\nSkinName=Test\n")
      .Into(c);
  EXPECT_EQ(c.MenubarColour, RGBColor(1, 2, 3));
  EXPECT_EQ(c.Title->ActiveTextColour, RGBColor(44, 2, 3));
  EXPECT_EQ(c.Title->InactiveTextColour, clNone) << "green and blue are missing";
  EXPECT_EQ(c.Title->FontHeight, 11);
  EXPECT_EQ(c.SkinName, "Test");
}

TEST(SkinObjects, ParseColourReadsThreeRunsOfDigits) {
  const TColor d = 0x123456;
  for (const char* text : {"60 60 68", "60,60,68", "60,60,68,", "R60 G60 B68", "  60 60 68  ", "060 060 068"}) {
    EXPECT_EQ(ParseColour(text, d), RGBColor(60, 60, 68)) << text;
  }
  EXPECT_EQ(ParseColour("", d), d);
  EXPECT_EQ(ParseColour("60 60", d), RGBColor(60, 0, 0));
  EXPECT_EQ(ParseColour("60", d), 0);
  EXPECT_EQ(ParseColour("10 20", d), RGBColor(10, 0, 0));
  EXPECT_EQ(ParseColour("1,2,3,", d), RGBColor(1, 2, 3));
  EXPECT_EQ(ParseColour("300 0 0", d), RGBColor(44, 0, 0));
  EXPECT_EQ(ParseColour("1 2 3 4 5 ", d), RGBColor(1, 2, 3)) << "a fourth value has no place";
  EXPECT_EQ(ParseColour("none", d), 0) << "no digits give black";
  EXPECT_EQ(ParseColour("   ", d), 0);
  // A run too long for 32 bits is not ended by the separator: it swallows the digits after it.
  EXPECT_EQ(ParseColour("5 99999999999 7", d), RGBColor(5, 0, 0));
  EXPECT_EQ(ParseColour("5 6 99999999999 7", d), RGBColor(5, 6, 0));
  EXPECT_EQ(ParseColour("2147483647 1 2 ", d), RGBColor(255, 1, 2));
}

TEST(SkinObjects, ReadRgbReplacesTheColourOnlyWhenAllThreeKeysAreGiven) {
  TQuickIni ini;
  ini.LoadFromText("[S]\nAR=1\nAG=2\nAB=3\nBR=1\nBG=2\nCR=-1\nCG=2\nCB=3\nDR=256\nDG=0\nDB=511\n");
  TColor colour = 77;
  ReadRGB(ini, "S", "A", colour);
  EXPECT_EQ(colour, RGBColor(1, 2, 3));
  colour = 77;
  ReadRGB(ini, "S", "B", colour);
  EXPECT_EQ(colour, 77);
  ReadRGB(ini, "S", "C", colour);
  EXPECT_EQ(colour, 77);
  ReadRGB(ini, "S", "D", colour);
  EXPECT_EQ(colour, RGBColor(0, 0, 255));
}

}  // namespace
}  // namespace qlt
