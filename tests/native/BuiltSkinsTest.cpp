// Both skins the build draws, the default "Slate" and the second "Pine", loaded the way the skin
// component loads a skin and held to the same rules: every image is the entry its description
// names, its cells divide it and fit what the painters cut, its state cells look different where
// the painters tell states apart, and magenta appears only where it is transparent. The expected
// cell counts come from the skin objects and the descriptions. A last test keeps the two skins
// apart in every metric the engine reads, so that no engine test can pass by fitting one skin.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <memory>
#include <set>
#include <tuple>

#include "skin/data/BitmapTransforms.h"
#include "skin/data/BmpCodec.h"
#include "skin/data/QuickIni.h"
#include "skin/data/SkinObjects.h"
#include "skin/data/SkinReader.h"
#include "skin/data/SkinText.h"
#include "skin/data/SkinTypes.h"
#include "skin/data/StateCells.h"
#include "ui/Colors.h"

namespace qlt {
namespace {

Bytes ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}

// A skin file loaded as the skin component loads one, with its description parsed beside it for
// the tests to read what it says.
struct LoadedSkin {
  explicit LoadedSkin(const std::string& path) : packed(ReadBytes(path)) {
    loaded = reader.LoadPacked(packed);
    if (!loaded) return;
    Bytes description;
    reader.FindEntry(".ini", description, descriptionName);
    ini.LoadFromStream(description);
    skin.BuildSkin(reader);
  }
  Bytes packed;
  TSkinReader reader;
  bool loaded = false;
  std::string descriptionName;
  TQuickIni ini;
  TSkinContent skin;
};

struct SkinFile {
  const char* name;
  const char* path;
};
const SkinFile kSkinFiles[] = {{"Slate", QLT_DEFAULT_SKIN_FILE}, {"Pine", QLT_SECOND_SKIN_FILE}};
void PrintTo(const SkinFile& file, std::ostream* out) { *out << file.name; }

// Cell `k` (1-based) of `n`, side by side or stacked.
Bitmap24 CellOf(const Bitmap24& image, int n, int k, bool stacked = false) {
  if (stacked) {
    const int h = image.Height() / n;
    return image.Copy(0, h * (k - 1), image.Width(), h);
  }
  const int w = image.Width() / n;
  return image.Copy(w * (k - 1), 0, w, image.Height());
}

bool HasMagenta(const Bitmap24& image) {
  return std::any_of(image.Data(), image.Data() + image.PixelCount(), [](Bgr p) { return p == kSkinTransparent; });
}

// Every pair of the given cells differs somewhere.
void ExpectDistinctCells(const Bitmap24& image, int n, std::initializer_list<int> cells, const std::string& what,
                         bool stacked = false) {
  for (int a : cells) {
    for (int b : cells) {
      if (a < b) {
        EXPECT_NE(CellOf(image, n, a, stacked), CellOf(image, n, b, stacked)) << what << ": cells " << a << ", " << b;
      }
    }
  }
}

class BuiltSkin : public ::testing::TestWithParam<SkinFile> {
 protected:
  void SetUp() override {
    loaded_ = std::make_unique<LoadedSkin>(GetParam().path);
    ASSERT_TRUE(loaded_->loaded) << GetParam().path << ": " << loaded_->reader.Problem();
  }
  const TSkinContent& S() const { return loaded_->skin; }
  const TQuickIni& Ini() const { return loaded_->ini; }
  const TSkinReader& Reader() const { return loaded_->reader; }
  std::unique_ptr<LoadedSkin> loaded_;
};

INSTANTIATE_TEST_SUITE_P(Skins, BuiltSkin, ::testing::ValuesIn(kSkinFiles),
                         [](const ::testing::TestParamInfo<SkinFile>& info) { return std::string(info.param.name); });

TEST_P(BuiltSkin, LoadsThroughTheSkinLoaderWithOneDescriptionAndBitmapsItNames) {
  const Bytes& container = Reader().Container();
  ASSERT_GE(container.size(), 4u);
  EXPECT_EQ(container[0] | container[1] << 8 | container[2] << 16 | container[3] << 24, kSkinFormatNumber);
  EXPECT_EQ(Reader().BytesMissing(), 0u);
  EXPECT_EQ(S().SkinName, GetParam().name);

  // Values of the description that name pictures.
  std::set<std::string> named;
  for (const std::string& line : Ini().Lines()) {
    const std::size_t eq = line.find('=');
    if (eq == std::string::npos) continue;
    const std::string value = Lower(std::string(TrimBlanks(std::string_view(line).substr(eq + 1))));
    if (value.size() > 4 && value.ends_with(".bmp")) named.insert(value);
  }
  EXPECT_FALSE(named.empty());
  for (const std::string& name : named) {
    EXPECT_FALSE(Reader().Entry(name).empty()) << name << " is named but not packed";
  }

  int descriptions = 0;
  for (int i = 0; i < Reader().Count(); ++i) {
    const std::string& name = Reader().Names()[static_cast<std::size_t>(i)];
    if (name.find(".ini") != std::string::npos) {
      ++descriptions;
      EXPECT_EQ(i, 0) << "the description comes first";
      continue;
    }
    const auto header = ReadBmpHeader(Reader().EntryAt(i));
    ASSERT_TRUE(header) << name;
    EXPECT_EQ(header->bitsPerPixel, 24) << name;
    EXPECT_TRUE(named.count(name)) << name << " is packed but the description never names it";
  }
  EXPECT_EQ(descriptions, 1);
}

TEST_P(BuiltSkin, EveryObjectHoldsTheImageItsDescriptionNames) {
  const TSkinContent& s = S();
  // (section, key, the image the reader filled, or null when the object is absent)
  auto expectImage = [&](std::string_view section, std::string_view key, const Bitmap24* image) {
    const std::string value = Ini().ReadString(section, key, "");
    SCOPED_TRACE(std::string(section) + "/" + std::string(key) + "=" + value);
    if (value.empty()) {
      if (image) {
        EXPECT_TRUE(image->Empty());
      }
      return;
    }
    ASSERT_NE(image, nullptr) << "the description names an image but the object is absent";
    const auto decoded = DecodeBmp(Reader().Entry(value));
    ASSERT_TRUE(decoded);
    EXPECT_FALSE(image->Empty());
    EXPECT_TRUE(*image == *decoded);
  };
  auto image = [](const auto& object) -> const Bitmap24* { return object ? &object->Image : nullptr; };
  auto image2 = [](const auto& object) -> const Bitmap24* { return object ? &object->Image2 : nullptr; };

  expectImage("Personality", "Top", image(s.TopBorder));
  expectImage("Personality", "Left", image(s.LeftBorder));
  expectImage("Personality", "Right", image(s.RightBorder));
  expectImage("Personality", "Bottom", image(s.BottomBorder));
  expectImage("Personality", "TextBack", image(s.Title));
  expectImage("Personality", "menuBar", image(s.MenuBar));
  expectImage("Buttons", "Bitmap", image(s.Buttons));
  expectImage("Buttons", "CheckButton", &s.Buttons->CheckImage);
  expectImage("Buttons", "RadioButton", &s.Buttons->RadioImage);
  expectImage("Progress", "Bitmap", image(s.Progress));
  expectImage("Progress", "Chunk", image2(s.Progress));
  expectImage("Tabs", "Image", image(s.Tabs));
  expectImage("Tabs", "Border", image2(s.Tabs));
  expectImage("UpDown.Horz", "Image", image(s.UpDownHorz));
  expectImage("UpDown.Horz", "GlyphImage", image2(s.UpDownHorz));
  expectImage("UpDown.Vert", "Image", image(s.UpDownVert));
  expectImage("UpDown.Vert", "GlyphImage", image2(s.UpDownVert));
  expectImage("ComboButton", "Image", image(s.ComboButton));
  const std::pair<const char*, const SkinObjectPtr*> plain[] = {
      {"GroupBoxEdge", &s.GroupBoxEdge},
      {"Toolbars", &s.Toolbars},
      {"StatusBarEdges", &s.StatusBarEdges},
      {"SunkEdge", &s.SunkEdge},
      {"ExtraImages", &s.ExtraImages},
      {"Headerbar", &s.Headerbar},
      {"MenuItem", &s.MenuItem},
      {"MenuBackground", &s.MenuBackground},
      {"Scrollbar", &s.Scrollbar},
      {"HorzScroll", &s.HorzScroll},
      {"VertScroll", &s.VertScroll},
      {"HorzScrollThumb", &s.HorzScrollThumb},
      {"VertScrollThumb", &s.VertScrollThumb},
      {"Trackbar.ThumbHorz", &s.TrackbarThumbHorz},
      {"Trackbar.ThumbVert", &s.TrackbarThumbVert},
      {"Trackbar.ThumbLeft", &s.TrackbarThumbLeft},
      {"Trackbar.ThumbRight", &s.TrackbarThumbRight},
      {"Trackbar.ThumbUp", &s.TrackbarThumbUp},
      {"Trackbar.ThumbDown", &s.TrackbarThumbDown},
  };
  for (const auto& [section, object] : plain) expectImage(section, "Image", image(*object));
  expectImage("GroupBox", "Image", image(s.GroupBox));

  // The combo button's second image is its mirror, for a button on the left.
  if (s.ComboButton) {
    Bitmap24 mirrored = s.ComboButton->Image;
    MirrorHorizontal(mirrored);
    EXPECT_TRUE(s.ComboButton->Image2 == mirrored);
  }
  // The skin's own title buttons (the three MDI buttons close the list); those showing the
  // window's icon keep no image of their own.
  ASSERT_GE(s.SysButtons.size(), 3u);
  for (std::size_t i = 0; i + 3 < s.SysButtons.size(); ++i) {
    const TDataSkinSysButton& b = *s.SysButtons[i];
    const bool icon = (b.Action == 3 || b.Action == 11) && Ini().ReadInteger(b.Name, "frame", 0) <= 0;
    if (icon) {
      EXPECT_TRUE(b.Image.Empty()) << b.Name;
    } else
      expectImage(b.Name, "ButtonImage", &b.Image);
  }
}

TEST_P(BuiltSkin, CellsDivideTheImagesAndFitWhatThePaintersCut) {
  const TSkinContent& s = S();
  struct Sliced {
    const TDataSkinObject* object;
    const Bitmap24* image;
    int cells;
    bool stacked = false;
    bool nineSliced = true;          // margins cut the cell
    bool alwaysTransparent = false;  // drawn with magenta left out whatever Trans says
  };
  std::vector<Sliced> all;
  for (const TDataSkinBorder* edge : {s.TopBorder.get(), s.BottomBorder.get()}) {
    all.push_back({edge, &edge->Image, edge->Frame, true});
  }
  for (const TDataSkinBorder* edge : {s.LeftBorder.get(), s.RightBorder.get()}) {
    all.push_back({edge, &edge->Image, edge->Frame});
  }
  if (s.MenuBar) all.push_back({s.MenuBar.get(), &s.MenuBar->Image, s.MenuBar->Frame, true});
  all.push_back({s.Buttons.get(), &s.Buttons->Image, s.Buttons->Frame});
  all.push_back({s.Buttons.get(), &s.Buttons->CheckImage, s.Buttons->CheckFrame, false, false, true});
  all.push_back({s.Buttons.get(), &s.Buttons->RadioImage, s.Buttons->RadioFrame, false, false, true});
  if (!s.Title->Image.Empty()) all.push_back({s.Title.get(), &s.Title->Image, 2, true, false, true});
  // The chunked progress bar draws its whole image as the trough.
  if (s.Progress) all.push_back({s.Progress.get(), &s.Progress->Image, s.Progress->Style == 1 ? 1 : s.Progress->Frame});
  const std::vector<const TDataSkinObject*> nineSliced = {
      s.GroupBoxEdge.get(),   s.GroupBox.get(),    s.Toolbars.get(),   s.Tabs.get(),
      s.StatusBarEdges.get(), s.ComboButton.get(), s.Headerbar.get(),  s.MenuItem.get(),
      s.MenuBackground.get(), s.HorzScroll.get(),  s.VertScroll.get(), s.HorzScrollThumb.get(),
      s.VertScrollThumb.get()};
  for (const TDataSkinObject* o : nineSliced) {
    if (o) all.push_back({o, &o->Image, o->Frame});
  }
  for (const TDataSkinObject* o :
       {s.Scrollbar.get(), s.ExtraImages.get(), s.TrackbarThumbHorz.get(), s.TrackbarThumbVert.get(),
        s.TrackbarThumbLeft.get(), s.TrackbarThumbRight.get(), s.TrackbarThumbUp.get(), s.TrackbarThumbDown.get()}) {
    if (o) all.push_back({o, &o->Image, o->Frame, false, false});
  }
  for (const TDataSkinBorder* o : {s.UpDownHorz.get(), s.UpDownVert.get()}) {
    if (!o) continue;
    all.push_back({o, &o->Image, o->Frame, false, false, true});
    all.push_back({o, &o->Image2, o->Frame, false, false, true});
  }
  for (const auto& b : s.SysButtons) {
    if (!b->Image.Empty()) all.push_back({b.get(), &b->Image, b->Frame, false, false, true});
  }

  for (const Sliced& sl : all) {
    const TDataSkinObject& o = *sl.object;
    SCOPED_TRACE(o.Name);
    ASSERT_FALSE(sl.image->Empty());
    ASSERT_GE(sl.cells, 1);
    const int length = sl.stacked ? sl.image->Height() : sl.image->Width();
    EXPECT_EQ(length % sl.cells, 0) << "the image does not divide into " << sl.cells << " cells";
    const int cellWidth = sl.stacked ? sl.image->Width() : sl.image->Width() / sl.cells;
    const int cellHeight = sl.stacked ? sl.image->Height() / sl.cells : sl.image->Height();
    if (sl.nineSliced) {
      EXPECT_LE(o.LeftWidth + o.RightWidth, cellWidth) << "the middle would be cut with a negative width";
      EXPECT_LE(o.TopHeight + o.BottomHeight, cellHeight) << "the middle would be cut with a negative height";
      EXPECT_GE(std::min({o.LeftWidth, o.RightWidth, o.TopHeight, o.BottomHeight}), 0);
    }
    // Images copied as they are must not show magenta; the menu bar is always copied.
    if ((o.Trans != 1 && !sl.alwaysTransparent) || &o == s.MenuBar.get()) {
      EXPECT_FALSE(HasMagenta(*sl.image));
    }
  }

  // The ring around a combo box may leave columns over that are never shown; its cell holds its
  // margins and a middle.
  if (s.SunkEdge) {
    const TDataSkinObject& ring = *s.SunkEdge;
    EXPECT_GT(ring.Image.Width() / ring.Frame, ring.LeftWidth + ring.RightWidth);
    EXPECT_GT(ring.Image.Height(), ring.TopHeight + ring.BottomHeight);
    if (ring.Trans != 1) {
      EXPECT_FALSE(HasMagenta(ring.Image));
    }
  }
  // The caption background's fixed ends fit it; a chunked progress bar has its chunk, which fits
  // the trough's height.
  EXPECT_LE(s.Title->TextBackLeft + s.Title->TextBackRight, std::max(s.Title->Image.Width(), 0));
  if (s.Progress && s.Progress->Style == 1) {
    ASSERT_FALSE(s.Progress->Image2.Empty());
    EXPECT_LE(s.Progress->Image2.Height(), s.Progress->Image.Height());
  }
  // Tabs need the page border too, at least as large as the border's fixed parts (4, 5, 4, 4).
  if (s.Tabs) {
    EXPECT_GE(s.Tabs->Image2.Width(), 9);
    EXPECT_GE(s.Tabs->Image2.Height(), 10);
  }
  // Up-down glyphs are drawn unstretched in the middle of their button.
  for (const TDataSkinBorder* o : {s.UpDownHorz.get(), s.UpDownVert.get()}) {
    if (!o) continue;
    EXPECT_EQ(o->Frame, 8);
    EXPECT_LE(o->Image2.Width() / o->Frame, o->Image.Width() / o->Frame) << o->Name;
    EXPECT_LE(o->Image2.Height(), o->Image.Height()) << o->Name;
  }
  // Scroll bars are composed 16 pixels thick, so their images are that thick.
  if (s.Scrollbar) {
    EXPECT_EQ(s.Scrollbar->Image.Height(), 16);
    EXPECT_EQ(s.Scrollbar->Image.Width() / s.Scrollbar->Frame, 16);
  }
  if (s.HorzScroll) {
    EXPECT_EQ(s.HorzScroll->Image.Height(), 16);
  }
  if (s.HorzScrollThumb) {
    EXPECT_EQ(s.HorzScrollThumb->Image.Height(), 16);
  }
  if (s.VertScroll) {
    EXPECT_EQ(s.VertScroll->Image.Width() / s.VertScroll->Frame, 16);
  }
  if (s.VertScrollThumb) {
    EXPECT_EQ(s.VertScrollThumb->Image.Width() / s.VertScrollThumb->Frame, 16);
  }
  // Check and radio marks cover the system's own box (at most 16 pixels square).
  for (const auto& [mark, cells] : {std::pair(&s.Buttons->CheckImage, s.Buttons->CheckFrame),
                                    std::pair(&s.Buttons->RadioImage, s.Buttons->RadioFrame)}) {
    EXPECT_LE(mark->Width() / cells, 16);
    EXPECT_LE(mark->Height(), 16);
  }
}

TEST_P(BuiltSkin, CellCountsAreTheOnesTheDescriptionGives) {
  const TSkinContent& s = S();
  for (const TDataSkinBorder* edge :
       {s.LeftBorder.get(), s.RightBorder.get(), s.TopBorder.get(), s.BottomBorder.get()}) {
    EXPECT_EQ(edge->Frame, std::max(1, Ini().ReadInteger("Personality", edge->Name + "Frame", 1))) << edge->Name;
  }
  if (s.HorzScrollThumb) {
    EXPECT_EQ(s.HorzScrollThumb->Frame, Ini().ReadInteger("HorzScrollThumb", "FrameCount", 3));
  }
  if (s.VertScrollThumb) {
    EXPECT_EQ(s.VertScrollThumb->Frame, Ini().ReadInteger("VertScrollThumb", "FrameCount", 3));
  }
  // Marks: the count the description gives, else one cell per 13 (or, from 16 pixels high, 16)
  // pixels of width, at least 4.
  auto markCells = [&](const char* key, const Bitmap24& image) {
    const int given = Ini().ReadInteger("Buttons", key, 0);
    if (given > 0) return given;
    return std::max(4, image.Width() / (image.Height() < 16 ? 13 : 16));
  };
  EXPECT_EQ(s.Buttons->CheckFrame, markCells("CheckButtonFrame", s.Buttons->CheckImage));
  EXPECT_EQ(s.Buttons->RadioFrame, markCells("RadioButtonFrame", s.Buttons->RadioImage));
  // Title buttons: the "frame" key, else 3 cells for an image at most 3.8 times as wide as high and
  // 6 for a wider one or a button without an action.
  for (std::size_t i = 0; i + 3 < s.SysButtons.size(); ++i) {
    const TDataSkinSysButton& b = *s.SysButtons[i];
    if (b.Image.Empty()) continue;
    const int given = Ini().ReadInteger(b.Name, "frame", 0);
    const double ratio = static_cast<double>(b.Image.Width()) / b.Image.Height();
    const int expected = given > 0 ? given : (b.Action < 0 || ratio > 3.8) ? 6 : 3;
    EXPECT_EQ(b.Frame, expected) << b.Name;
  }
  // The MDI buttons are cut from a strip of twelve cells, four for each.
  const auto strip = DecodeBmp(Reader().Entry(Ini().ReadString("MdiControls", "Image", "")));
  ASSERT_TRUE(strip) << "both skins have MDI buttons";
  const int w = strip->Width() / 12;
  for (int i = 0; i < 3; ++i) {
    const TDataSkinSysButton& b = *s.SysButtons[s.SysButtons.size() - 3 + static_cast<std::size_t>(i)];
    EXPECT_EQ(b.Action, 7 + i);
    EXPECT_EQ(b.Frame, 4);
    EXPECT_EQ(b.Image.Width(), 4 * w);
    EXPECT_EQ(b.Image.Height(), strip->Height());
    EXPECT_EQ(b.Xcoord, (w + 4) * (3 - i));
    EXPECT_TRUE(b.Image == strip->Copy(4 * i * w, 0, 4 * w, strip->Height()));
  }
}

TEST_P(BuiltSkin, StateCellsLookDifferentWhereThePaintersTellStatesApart) {
  const TSkinContent& s = S();
  for (const TDataSkinBorder* edge :
       {s.LeftBorder.get(), s.RightBorder.get(), s.TopBorder.get(), s.BottomBorder.get()}) {
    const bool stacked = edge == s.TopBorder.get() || edge == s.BottomBorder.get();
    if (edge->Frame >= 2) {
      EXPECT_NE(CellOf(edge->Image, edge->Frame, EdgeCell(edge->Frame, true), stacked),
                CellOf(edge->Image, edge->Frame, EdgeCell(edge->Frame, false), stacked))
          << edge->Name << ": active and inactive windows look alike";
    }
  }
  ExpectDistinctCells(s.Buttons->Image, s.Buttons->Frame, {1, 2, 3, 4, 5}, "push button");
  const int cf = s.Buttons->CheckFrame;
  ExpectDistinctCells(s.Buttons->CheckImage, cf,
                      {CheckBoxCell(cf, false, false, false), CheckBoxCell(cf, true, false, false),
                       CheckBoxCell(cf, false, false, true), CheckBoxCell(cf, true, false, true)},
                      "check box");
  if (cf == 12) {
    ExpectDistinctCells(s.Buttons->CheckImage, cf,
                        {CheckBoxCell(cf, false, false, false), CheckBoxCell(cf, true, false, false),
                         CheckBoxCell(cf, false, true, false), CheckBoxCell(cf, false, true, true)},
                        "check box, indeterminate");
  }
  const int rf = s.Buttons->RadioFrame;
  ExpectDistinctCells(
      s.Buttons->RadioImage, rf,
      {RadioCell(rf, false, false), RadioCell(rf, true, false), RadioCell(rf, false, true), RadioCell(rf, true, true)},
      "radio button");
  // Title buttons: normal, pressed, hot; with four cells or more the inactive window's look too.
  for (const auto& b : s.SysButtons) {
    // Buttons without an action are decorations: never pressed nor hot.
    if (b->Image.Empty() || b->Frame < 3 || b->Action < 0) continue;
    ExpectDistinctCells(b->Image, b->Frame, {1, 2, 3}, b->Name);
    if (b->Frame >= 4 && b->Visibility != 100) ExpectDistinctCells(b->Image, b->Frame, {1, 4}, b->Name);
  }
  // Scroll arrows: each direction, and pressed against normal.
  if (s.Scrollbar) {
    const TDataSkinObject& a = *s.Scrollbar;
    ExpectDistinctCells(a.Image, a.Frame, {1, 5, 9, 13}, "scroll arrows");
    for (int first : {1, 5, 9, 13}) ExpectDistinctCells(a.Image, a.Frame, {first, first + 1}, "scroll arrow pressed");
  }
  if (s.HorzScrollThumb) ExpectDistinctCells(s.HorzScrollThumb->Image, s.HorzScrollThumb->Frame, {1, 2}, "thumb");
  if (s.VertScrollThumb) ExpectDistinctCells(s.VertScrollThumb->Image, s.VertScrollThumb->Frame, {1, 2}, "thumb");
  if (s.Tabs) ExpectDistinctCells(s.Tabs->Image, s.Tabs->Frame, {1, 2}, "tab");
  if (s.MenuItem) ExpectDistinctCells(s.MenuItem->Image, s.MenuItem->Frame, {1, 2, 4}, "menu item");
  if (s.ComboButton) ExpectDistinctCells(s.ComboButton->Image, s.ComboButton->Frame, {1, 2, 3, 4}, "combo button");
  if (s.SunkEdge) ExpectDistinctCells(s.SunkEdge->Image, s.SunkEdge->Frame, {1, 3, 4}, "combo ring");
  if (s.StatusBarEdges) {
    ExpectDistinctCells(s.StatusBarEdges->Image, s.StatusBarEdges->Frame, {1, 2, 3}, "status panel");
  }
  if (!s.Title->Image.Empty()) ExpectDistinctCells(s.Title->Image, 2, {1, 2}, "caption background", true);
  for (const TDataSkinBorder* o : {s.UpDownHorz.get(), s.UpDownVert.get()}) {
    if (!o) continue;
    // Each button's normal, pressed, disabled and hot cells; the two buttons' arrows.
    ExpectDistinctCells(o->Image, o->Frame, {1, 2, 3, 4}, o->Name);
    ExpectDistinctCells(o->Image, o->Frame, {5, 6, 7, 8}, o->Name);
    ExpectDistinctCells(o->Image2, o->Frame, {1, 5}, o->Name + " arrows");
  }
}

TEST_P(BuiltSkin, ColoursAreTheSkinsOwnAndTheTitleRepeatsThem) {
  const TSkinContent& s = S();
  for (TColor c : {s.WindowTextColour, s.ButtonFaceColour, s.ScrollbarColour, s.HilightTextColour, s.HilightColour,
                   s.MenubarColour, s.MenuColour, s.MenuTextColour, s.ButtonTextColour, s.ButtonHilightColour,
                   s.ButtonLightColour, s.ButtonShadowColour, s.ButtonDkShadowColour, s.MenuBarTextColour,
                   s.TitleTextActiveColour, s.TitleTextNoActiveColour}) {
    EXPECT_GE(c, 0);
    EXPECT_FALSE(IsSystemColor(c)) << std::hex << c;
  }
  EXPECT_EQ(s.Title->ActiveTextColour, s.TitleTextActiveColour);
  EXPECT_EQ(s.Title->InactiveTextColour, s.TitleTextNoActiveColour);
  EXPECT_NE(s.TitleTextActiveColour, s.TitleTextNoActiveColour);
}

// ---------------------------------------------------------------------------------------------

using Margins = std::tuple<int, int, int, int>;
Margins MarginsOf(const TDataSkinObject& o) { return {o.LeftWidth, o.TopHeight, o.RightWidth, o.BottomHeight}; }

TEST(BuiltSkins, TheSecondSkinDiffersFromTheDefaultInEveryMetricTheEngineReads) {
  const LoadedSkin slate(QLT_DEFAULT_SKIN_FILE);
  const LoadedSkin pine(QLT_SECOND_SKIN_FILE);
  ASSERT_TRUE(slate.loaded && pine.loaded);
  const TSkinContent& a = slate.skin;
  const TSkinContent& b = pine.skin;
  EXPECT_NE(a.SkinName, b.SkinName);

  // Window edges: every border width, every fixed part, and the title's cell count.
  auto cellWidth = [](const TDataSkinBorder& e) { return e.Image.Width() / e.Frame; };
  auto cellHeight = [](const TDataSkinBorder& e) { return e.Image.Height() / e.Frame; };
  EXPECT_NE(cellWidth(*a.LeftBorder), cellWidth(*b.LeftBorder));
  EXPECT_NE(cellWidth(*a.RightBorder), cellWidth(*b.RightBorder));
  EXPECT_NE(cellHeight(*a.TopBorder), cellHeight(*b.TopBorder));
  EXPECT_NE(cellHeight(*a.BottomBorder), cellHeight(*b.BottomBorder));
  EXPECT_NE(a.TopBorder->Frame, b.TopBorder->Frame);
  bool tileDiffers = false;
  for (const auto& [ea, eb] :
       {std::pair(a.LeftBorder.get(), b.LeftBorder.get()), std::pair(a.RightBorder.get(), b.RightBorder.get()),
        std::pair(a.TopBorder.get(), b.TopBorder.get()), std::pair(a.BottomBorder.get(), b.BottomBorder.get())}) {
    const bool horizontal = ea->Name == "Top" || ea->Name == "Bottom";
    const int a1 = horizontal ? ea->LeftWidth : ea->TopHeight, a2 = horizontal ? ea->RightWidth : ea->BottomHeight;
    const int b1 = horizontal ? eb->LeftWidth : eb->TopHeight, b2 = horizontal ? eb->RightWidth : eb->BottomHeight;
    EXPECT_NE(a1, b1) << ea->Name;
    EXPECT_NE(a2, b2) << ea->Name;
    EXPECT_NE(ea->Image.Width(), eb->Image.Width()) << ea->Name;
    EXPECT_NE(ea->Image.Height(), eb->Image.Height()) << ea->Name;
    tileDiffers = tileDiffers || ea->Tile != eb->Tile;
  }
  EXPECT_TRUE(tileDiffers) << "at least one edge stretches in one skin and tiles in the other";
  // Exactly one skin cuts its shape with the bottom edge.
  EXPECT_NE(a.BottomBorder->Trans == 1 && HasMagenta(a.BottomBorder->Image),
            b.BottomBorder->Trans == 1 && HasMagenta(b.BottomBorder->Image));

  // Caption: background, placement, alignment, colours, font height.
  EXPECT_NE(a.Title->Image.Empty(), b.Title->Image.Empty());
  EXPECT_NE(a.Title->LeftWidth, b.Title->LeftWidth);          // TextShift
  EXPECT_NE(a.Title->TopHeight / 2, b.Title->TopHeight / 2);  // TextShiftVert, as the painter halves it
  EXPECT_NE(a.Title->RightWidth, b.Title->RightWidth);        // TextRightClip
  EXPECT_NE(a.Title->TextAlignment, b.Title->TextAlignment);
  EXPECT_NE(a.Title->TextBackLeft, b.Title->TextBackLeft);
  EXPECT_NE(a.Title->TextBackRight, b.Title->TextBackRight);
  EXPECT_NE(a.Title->FontHeight, b.Title->FontHeight);
  EXPECT_NE(a.TitleTextActiveColour, b.TitleTextActiveColour);
  EXPECT_NE(a.TitleTextNoActiveColour, b.TitleTextNoActiveColour);

  // Title buttons: the same actions in other places with other cell counts; each skin has an
  // action and an alignment the other lacks.
  auto own = [](const TSkinContent& s) {
    std::vector<const TDataSkinSysButton*> list;
    for (std::size_t i = 0; i + 3 < s.SysButtons.size(); ++i) list.push_back(s.SysButtons[i].get());
    return list;
  };
  std::set<int> actionsA, actionsB, alignsA, alignsB;
  for (const auto* x : own(a)) actionsA.insert(x->Action), alignsA.insert(x->Align);
  for (const auto* x : own(b)) actionsB.insert(x->Action), alignsB.insert(x->Align);
  EXPECT_NE(actionsA, actionsB);
  EXPECT_FALSE(std::includes(actionsA.begin(), actionsA.end(), actionsB.begin(), actionsB.end()));
  EXPECT_FALSE(std::includes(alignsA.begin(), alignsA.end(), alignsB.begin(), alignsB.end()));
  int shared = 0;
  for (const auto* x : own(a)) {
    for (const auto* y : own(b)) {
      if (x->Action != y->Action || x->Action < 0) continue;
      ++shared;
      SCOPED_TRACE("action " + std::to_string(x->Action));
      EXPECT_NE(x->Xcoord, y->Xcoord);
      EXPECT_NE(x->Ycoord, y->Ycoord);
      if (!x->Image.Empty() && !y->Image.Empty()) {
        EXPECT_NE(x->Frame, y->Frame);
        EXPECT_NE(x->Image.Width() / x->Frame, y->Image.Width() / y->Frame);
        EXPECT_NE(x->Image.Height(), y->Image.Height());
      }
    }
  }
  EXPECT_GE(shared, 4) << "close, maximise, minimise and the icon button in both";
  for (std::size_t i = 1; i <= 3; ++i) {
    const TDataSkinSysButton& x = *a.SysButtons[a.SysButtons.size() - i];
    const TDataSkinSysButton& y = *b.SysButtons[b.SysButtons.size() - i];
    EXPECT_NE(x.Xcoord, y.Xcoord) << "MDI button";
    EXPECT_NE(x.Image.Height(), y.Image.Height()) << "MDI button";
  }

  // Controls: every object both skins have differs in its cell size or its margins; the marks and
  // thumbs in their cell counts; the progress bar in its style.
  const std::pair<const TDataSkinObject*, const TDataSkinObject*> both[] = {
      {a.Buttons.get(), b.Buttons.get()},
      {a.Progress.get(), b.Progress.get()},
      {a.MenuBar.get(), b.MenuBar.get()},
      {a.GroupBoxEdge.get(), b.GroupBoxEdge.get()},
      {a.GroupBox.get(), b.GroupBox.get()},
      {a.Toolbars.get(), b.Toolbars.get()},
      {a.Tabs.get(), b.Tabs.get()},
      {a.StatusBarEdges.get(), b.StatusBarEdges.get()},
      {a.ComboButton.get(), b.ComboButton.get()},
      {a.SunkEdge.get(), b.SunkEdge.get()},
      {a.ExtraImages.get(), b.ExtraImages.get()},
      {a.Headerbar.get(), b.Headerbar.get()},
      {a.MenuItem.get(), b.MenuItem.get()},
      {a.MenuBackground.get(), b.MenuBackground.get()},
      {a.Scrollbar.get(), b.Scrollbar.get()},
      {a.HorzScroll.get(), b.HorzScroll.get()},
      {a.VertScroll.get(), b.VertScroll.get()},
      {a.HorzScrollThumb.get(), b.HorzScrollThumb.get()},
      {a.VertScrollThumb.get(), b.VertScrollThumb.get()},
  };
  for (const auto& [x, y] : both) {
    ASSERT_TRUE(x && y);
    SCOPED_TRACE(x->Name);
    const bool stacked = x == a.MenuBar.get();
    const auto cell = [stacked](const TDataSkinObject& o) {
      return std::pair(stacked ? o.Image.Width() : o.Image.Width() / o.Frame,
                       stacked ? o.Image.Height() / o.Frame : o.Image.Height());
    };
    EXPECT_TRUE(cell(*x) != cell(*y) || MarginsOf(*x) != MarginsOf(*y));
    EXPECT_FALSE(x->Image == y->Image);
  }
  EXPECT_NE(a.Buttons->CheckFrame, b.Buttons->CheckFrame);
  EXPECT_NE(a.Buttons->RadioFrame, b.Buttons->RadioFrame);
  EXPECT_NE(a.Buttons->CheckImage.Width() / a.Buttons->CheckFrame,
            b.Buttons->CheckImage.Width() / b.Buttons->CheckFrame);
  EXPECT_NE(a.Buttons->RadioImage.Width() / a.Buttons->RadioFrame,
            b.Buttons->RadioImage.Width() / b.Buttons->RadioFrame);
  EXPECT_NE(a.HorzScrollThumb->Frame, b.HorzScrollThumb->Frame);
  EXPECT_NE(a.VertScrollThumb->Frame, b.VertScrollThumb->Frame);
  EXPECT_NE(a.Progress->Style, b.Progress->Style);
  EXPECT_NE(a.Tabs->Image2.Width(), b.Tabs->Image2.Width());
  // Objects one skin has and the other lacks: the track bar thumbs and the up-down buttons.
  EXPECT_NE(a.UpDownVert == nullptr, b.UpDownVert == nullptr);
  EXPECT_NE(a.UpDownHorz == nullptr, b.UpDownHorz == nullptr);
  EXPECT_NE(a.TrackbarThumbHorz == nullptr, b.TrackbarThumbHorz == nullptr);

  // Every colour of the Colours table.
  const TColor TSkinContent::*colours[] = {&TSkinContent::WindowTextColour,
                                           &TSkinContent::ButtonFaceColour,
                                           &TSkinContent::ScrollbarColour,
                                           &TSkinContent::HilightTextColour,
                                           &TSkinContent::HilightColour,
                                           &TSkinContent::MenubarColour,
                                           &TSkinContent::MenuColour,
                                           &TSkinContent::MenuTextColour,
                                           &TSkinContent::ButtonTextColour,
                                           &TSkinContent::ButtonHilightColour,
                                           &TSkinContent::ButtonLightColour,
                                           &TSkinContent::ButtonShadowColour,
                                           &TSkinContent::ButtonDkShadowColour,
                                           &TSkinContent::MenuBarTextColour,
                                           &TSkinContent::TitleTextActiveColour,
                                           &TSkinContent::TitleTextNoActiveColour};
  for (std::size_t i = 0; i < std::size(colours); ++i) EXPECT_NE(a.*colours[i], b.*colours[i]) << "colour " << i;
}

}  // namespace
}  // namespace qlt
