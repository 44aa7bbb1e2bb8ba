#include "skin/data/SkinObjects.h"

#include <algorithm>
#include <array>
#include <limits>

#include "skin/data/BitmapTransforms.h"
#include "skin/data/BmpCodec.h"
#include "skin/data/QuickIni.h"
#include "skin/data/SkinReader.h"
#include "skin/data/SkinText.h"
#include "ui/SysUtils.h"

namespace qlt {
namespace {

// The description's keys, read in one section.
class SectionReader {
 public:
  SectionReader(const TQuickIni& ini, std::string_view section) : ini_(ini), section_(section) {}
  std::int32_t Int(std::string_view key, std::int32_t defaultValue) const {
    return ini_.ReadInteger(section_, key, defaultValue);
  }
  // A size, margin, coordinate or cell count: the one place such a value is kept to a screen's
  // range.
  std::int32_t Metric(std::string_view key, std::int32_t defaultValue) const {
    return std::clamp(Int(key, defaultValue), -kSkinMetricLimit, kSkinMetricLimit);
  }
  std::string Str(std::string_view key) const { return ini_.ReadString(section_, key, ""); }
  std::string_view Section() const { return section_; }
  const TQuickIni& Ini() const { return ini_; }

 private:
  const TQuickIni& ini_;
  std::string_view section_;
};

void ReadIntegerColours(const SectionReader& s, TDataSkinObject& o) {
  o.NormalColour = s.Int("NormalColour", kColourNotGiven);
  o.MouseOverColour = s.Int("MouseOverColour", kColourNotGiven);
  o.PressedColour = s.Int("PressedColour", kColourNotGiven);
}

void ReadTextColours(const SectionReader& s, TDataSkinObject& o, TColor buttonText) {
  o.NormalColour2 = ParseColour(s.Str("NormalColour2"), buttonText);
  o.MouseOverColour2 = ParseColour(s.Str("MouseOverColour2"), buttonText);
  o.PressedColour2 = ParseColour(s.Str("PressedColour2"), buttonText);
}

void ReadMargins(const SectionReader& s, TDataSkinObject& o) {
  o.LeftWidth = s.Metric("LeftWidth", 0);
  o.RightWidth = s.Metric("RightWidth", 0);
  o.TopHeight = s.Metric("TopHeight", 0);
  o.BottomHeight = s.Metric("BottomHeight", 0);
}

// Tile is 0 or 1 for the objects whose readers apply this rule.
void ApplyTileRule(TDataSkinObject& o) {
  if (o.Tile > 1) o.Tile = 0;
}

// What readers 1 and 2 read besides the images: margins, transparency, tiling and colours.
void ReadSlicingAndColours(const SectionReader& s, TDataSkinObject& o, TColor buttonText) {
  ReadMargins(s, o);
  o.Trans = s.Int("Trans", 0);
  o.Tile = s.Int("Tile", 0);
  ReadIntegerColours(s, o);
  ReadTextColours(s, o, buttonText);
  ApplyTileRule(o);
}

// Reader 1: one image with margins, style and colours.
template <class T = TDataSkinObject>
std::unique_ptr<T> ReadImageObject(const TSkinReader& reader, const SectionReader& s, TColor buttonText) {
  const std::string image = s.Str("Image");
  if (image.empty()) return nullptr;
  auto o = std::make_unique<T>(std::string(s.Section()));
  LoadSkinImage(reader, o->Image, image);
  o->Style = s.Int("Style", 0);
  ReadSlicingAndColours(s, *o, buttonText);
  return o;
}

// Reader 2: an image and a second image named by `secondKey`.
SkinBorderPtr ReadTwoImageObject(const TSkinReader& reader, const SectionReader& s, std::string_view secondKey,
                                 TColor buttonText) {
  const std::string image = s.Str("Image");
  if (image.empty()) return nullptr;
  auto o = std::make_unique<TDataSkinBorder>(std::string(s.Section()));
  LoadSkinImage(reader, o->Image, image);
  if (const std::string second = s.Str(secondKey); !second.empty()) LoadSkinImage(reader, o->Image2, second);
  ReadSlicingAndColours(s, *o, buttonText);
  return o;
}

// Reader 3: the progress bar, its background and its chunk; no colours and no tile rule.
SkinBorderPtr ReadProgress(const TSkinReader& reader, const SectionReader& s) {
  const std::string bitmap = s.Str("Bitmap");
  if (bitmap.empty()) return nullptr;
  auto o = std::make_unique<TDataSkinBorder>(std::string(s.Section()));
  LoadSkinImage(reader, o->Image, bitmap);
  if (const std::string chunk = s.Str("Chunk"); !chunk.empty()) LoadSkinImage(reader, o->Image2, chunk);
  o->Style = s.Int("Style", 0);
  ReadMargins(s, *o);
  o->Trans = s.Int("Trans", 0);
  o->Tile = s.Int("Tile", 0);
  return o;
}

// Reader 4: the group box caption's background.
std::unique_ptr<TDataSkinBoxLabel> ReadBoxLabel(const TSkinReader& reader, const SectionReader& s,
                                                TColor buttonText) {
  auto o = ReadImageObject<TDataSkinBoxLabel>(reader, s, buttonText);
  if (!o) return nullptr;
  o->BackgroundAlignment = s.Int("BackgroundAlignment", 0);
  o->BackgroundLeftShift = s.Metric("BackgroundLeftShift", 0);
  o->BackgroundRightShift = s.Metric("BackgroundRightShift", 0);
  return o;
}

// Reader 5: the menu bar's background, from the window section.
SkinObjectPtr ReadMenuBar(const TSkinReader& reader, const SectionReader& s) {
  const std::string image = s.Str("menuBar");
  if (image.empty()) return nullptr;
  auto o = std::make_unique<TDataSkinObject>("Personality");
  LoadSkinImage(reader, o->Image, image);
  o->Tile = s.Int("TileMenu", 0);
  o->LeftWidth = s.Metric("TileLeftMenu", 1);
  o->RightWidth = s.Metric("TileRightMenu", 1);
  return o;
}

// Reader 6: push buttons with the check and radio marks; the object is kept and refilled.
void ReadButtons(const TSkinReader& reader, const SectionReader& s, TDataSkinButton& o, TColor buttonText) {
  ReadMargins(s, o);
  o.Trans = s.Int("Trans", 0);
  LoadSkinImage(reader, o.Image, s.Str("Bitmap"));
  o.Tile = s.Int("Tile", 0);
  LoadSkinImage(reader, o.CheckImage, s.Str("CheckButton"));
  LoadSkinImage(reader, o.RadioImage, s.Str("RadioButton"));
  ReadIntegerColours(s, o);
  o.RadioFrame = s.Metric("RadioButtonFrame", 0);
  o.CheckFrame = s.Metric("CheckButtonFrame", 0);
  o.HasNormalColour2 = !s.Str("NormalColour2").empty();
  o.HasMouseOverColour2 = !s.Str("MouseOverColour2").empty();
  o.HasPressedColour2 = !s.Str("PressedColour2").empty();
  ReadTextColours(s, o, buttonText);
}

// Reader 7: the caption, from the window section.
void ReadTitle(const TSkinReader& reader, const TQuickIni& ini, TDataSkinTitle& o) {
  const SectionReader s(ini, "Personality");
  LoadSkinImage(reader, o.Image, s.Str("TextBack"));
  o.LeftWidth = s.Metric("TextShift", 0);
  o.TopHeight = s.Metric("TextShiftVert", 0);
  o.RightWidth = s.Metric("TextRightClip", 0);
  o.BottomHeight = 0;
  o.TextAlignment = s.Int("TextAlignment", 0);
  o.TextBackground = s.Int("Textbackground", 0);
  o.FontHeight = SectionReader(ini, "Fonts").Metric("FontHeight", 14);
  o.TextBackLeft = s.Metric("TXTBackleft", 0);
  o.TextBackRight = s.Metric("TXTBackRight", 0);
  o.ActiveTextColour = clNone;
  o.InactiveTextColour = clNone;
  ReadRGB(ini, "Personality", "ActiveText", o.ActiveTextColour);
  ReadRGB(ini, "Personality", "InActiveText", o.InactiveTextColour);
}

// Reader 8: a window edge, from the window section, every key named after the edge.
void ReadEdge(const TSkinReader& reader, const TQuickIni& ini, TDataSkinBorder& o) {
  const SectionReader s(ini, "Personality");
  const std::string& name = o.Name;
  const std::int32_t first = s.Metric(name + "TopHeight", 0);
  const std::int32_t second = s.Metric(name + "BotHeight", 0);
  if (name == "Left" || name == "Right") {
    o.TopHeight = first;
    o.BottomHeight = second;
    o.LeftWidth = o.RightWidth = 0;
  } else {
    o.LeftWidth = first;
    o.RightWidth = second;
    o.TopHeight = o.BottomHeight = 0;
  }
  // The frame painter divides the image by the cell count: a count below 1 would divide by zero.
  o.Frame = s.Metric(name + "Frame", 1);
  if (o.Frame < 1) o.Frame = 1;
  o.Tile = s.Int(name + "Stretch", 1);
  o.Trans = s.Int(name + "Trans", 1);
  LoadSkinImage(reader, o.Image, s.Str(name));
}

bool IsTitleButtonSection(std::string_view name) {
  const std::string upper = AsciiUpper(name);
  if (upper == "BUTTONS" || upper == "BUTTON.RADIO" || upper == "BUTTON.CHECKBOX" || upper == "BUTTON") return false;
  return upper.starts_with("BUTTON");
}

// Reader 9: the title buttons, then the three MDI child buttons cut from one strip.
std::vector<std::unique_ptr<TDataSkinSysButton>> ReadTitleButtons(const TSkinReader& reader, const TQuickIni& ini) {
  std::vector<std::string> kept;
  for (const std::string& section : ini.ReadSections()) {
    if (!IsTitleButtonSection(section)) continue;
    const SectionReader s(ini, section);
    if (s.Int("Action", 0) == -1 && s.Int("Visibility", -1) != 0) continue;
    kept.push_back(section);
  }
  std::vector<std::unique_ptr<TDataSkinSysButton>> buttons;
  buttons.reserve(kept.size() + 3);
  for (const std::string& section : kept) {
    const SectionReader s(ini, section);
    auto b = std::make_unique<TDataSkinSysButton>(AsciiUpper(section));
    b->Action = s.Int("Action", 0);
    b->Align = s.Int("Align", 0);
    b->Xcoord = s.Metric("Xcoord", 0);
    b->Ycoord = s.Metric("Ycoord", 0);
    b->Visibility = s.Int("Visibility", 0);
    b->Visibility1 = s.Int("Visibility1", b->Action == -1 ? -1 : 0);
    b->CombineOp = s.Int("CombineOp", -1);
    b->Frame = s.Metric("frame", 0);
    LoadSkinImage(reader, b->Image, s.Str("ButtonImage"));
    // A count the skin does not give (or a nonsensical negative one) comes from the image.
    if (b->Frame <= 0) {
      b->Frame = 6;
      if (!b->Image.Empty()) {
        const double ratio = static_cast<double>(b->Image.Width()) / b->Image.Height();
        b->Frame = ratio <= 3.8 ? 3 : 6;
        if (b->Action < 0) b->Frame = 6;
      }
      // These buttons show the window's icon instead of an image.
      if (b->Action == 3 || b->Action == 11) b->Image.Clear();
    }
    buttons.push_back(std::move(b));
  }
  const std::size_t first = buttons.size();
  for (std::int32_t action : {7, 8, 9}) {
    auto b = std::make_unique<TDataSkinSysButton>(std::string());
    b->Action = action;
    b->Align = b->Visibility = b->Visibility1 = 100;
    b->Frame = 4;
    buttons.push_back(std::move(b));
  }
  Bitmap24 strip;
  LoadSkinImage(reader, strip, ini.ReadString("MDICONTROLS", "Image", ""));
  if (!strip.Empty()) {
    // Twelve cells: four states for each of minimise, restore and close.
    const int w = strip.Width() / 12;
    for (int i = 0; i < 3; ++i) {
      TDataSkinSysButton& b = *buttons[first + static_cast<std::size_t>(i)];
      b.Image = strip.Copy(4 * i * w, 0, 4 * w, strip.Height());
      b.Xcoord = (w + 4) * (3 - i);
    }
  }
  return buttons;
}

void SetFrame(TDataSkinObject* o, std::int32_t frame) {
  if (o) o->Frame = frame;
}

// Cells of the check and radio marks when the skin does not say: 13- or 16-pixel cells, at least 4.
std::int32_t MarkCells(const Bitmap24& image) {
  const int cell = image.Height() < 16 ? 13 : 16;
  return std::max(image.Width() / cell, 4);
}

}  // namespace

TColor ParseColour(std::string_view text, TColor defaultValue) {
  if (text.empty()) return defaultValue;
  const std::string_view trimmed = TrimBlanks(text);
  std::array<std::int64_t, 3> values = {0, 0, 0};
  int stored = 0;
  std::string run;
  auto convert = [](const std::string& digits, std::int64_t& value) {
    // Leading zeros do not count towards the length a 32-bit number can have.
    std::size_t start = digits.find_first_not_of('0');
    if (start == std::string::npos) start = digits.size();
    if (digits.size() - start > 10) return false;
    value = 0;
    for (std::size_t i = start; i < digits.size(); ++i) value = value * 10 + (digits[i] - '0');
    return value <= std::numeric_limits<std::int32_t>::max();
  };
  for (char c : trimmed) {
    if (c >= '0' && c <= '9') {
      run += c;
      continue;
    }
    if (run.empty()) continue;
    std::int64_t value = 0;
    if (!convert(run, value)) continue;  // too long: the run goes on with the next digits
    if (stored < 3) values[static_cast<std::size_t>(stored++)] = value;
    run.clear();
  }
  if (!run.empty() && stored == 2) {
    std::int64_t value = 0;
    if (convert(run, value)) values[2] = value;
  }
  return RGBColor(static_cast<int>(values[0] & 0xFF), static_cast<int>(values[1] & 0xFF),
                  static_cast<int>(values[2] & 0xFF));
}

void ReadRGB(const TQuickIni& ini, std::string_view section, std::string_view prefix, TColor& colour) {
  const std::string p(prefix);
  const std::int32_t r = ini.ReadInteger(section, p + "R", -1);
  const std::int32_t g = ini.ReadInteger(section, p + "G", -1);
  const std::int32_t b = ini.ReadInteger(section, p + "B", -1);
  if (r >= 0 && g >= 0 && b >= 0) colour = RGBColor(r & 0xFF, g & 0xFF, b & 0xFF);
}

void LoadSkinImage(const TSkinReader& reader, Bitmap24& bitmap, std::string_view value) {
  const std::size_t slash = value.find_last_of("\\:");
  const std::string_view file = slash == std::string_view::npos ? value : value.substr(slash + 1);
  const std::size_t dot = file.rfind('.');
  if (file.empty() || dot == std::string_view::npos || file.substr(dot) != ".bmp") {
    bitmap.Clear();
    return;
  }
  const ByteView entry = reader.Entry(file);
  std::optional<Bitmap24> decoded;
  if (!entry.empty()) decoded = DecodeBmp(entry);
  if (decoded) {
    bitmap = std::move(*decoded);
  } else {
    bitmap.Clear();
  }
}

TSkinContent::TSkinContent()
    : Title(std::make_unique<TDataSkinTitle>("Title")),
      Buttons(std::make_unique<TDataSkinButton>("Buttons")),
      LeftBorder(std::make_unique<TDataSkinBorder>("Left")),
      RightBorder(std::make_unique<TDataSkinBorder>("Right")),
      TopBorder(std::make_unique<TDataSkinBorder>("Top")),
      BottomBorder(std::make_unique<TDataSkinBorder>("Bottom")) {}

TSkinContent::~TSkinContent() = default;

void TSkinContent::ReadColours(const TQuickIni& ini) {
  auto colour = [&](std::string_view key, TColor defaultValue) {
    return ParseColour(ini.ReadString("Colours", key, ""), defaultValue);
  };
  WindowTextColour = colour("WindowText", clWindowText);
  ButtonFaceColour = colour("ButtonFace", clBtnFace);
  ScrollbarColour = colour("Scrollbar", clScrollBar);
  HilightTextColour = colour("HilightText", clHighlightText);
  HilightColour = colour("Hilight", clHighlight);
  MenubarColour = colour("Menubar", ButtonFaceColour);
  MenuColour = colour("Menu", clMenu);
  MenuTextColour = colour("MenuText", clMenuText);
  ButtonTextColour = colour("ButtonText", clBtnText);
  ButtonHilightColour = colour("ButtonHilight", clBtnHighlight);
  ButtonLightColour = colour("Buttonlight", clBtnHighlight);
  ButtonShadowColour = colour("ButtonShadow", clBtnShadow);
  ButtonDkShadowColour = colour("ButtonDkShadow", cl3DDkShadow);
  MenuBarTextColour = colour("MenuBarText", clMenuText);
  TitleTextActiveColour = colour("TitleTextActive", clCaptionText);
  TitleTextNoActiveColour = colour("TitleTextNoActive", clInactiveCaptionText);
}

void TSkinContent::BuildSkin(const TSkinReader& reader) {
  Bytes description;
  std::string name;
  reader.FindEntry(".ini", description, name);
  TQuickIni ini;
  ini.LoadFromStream(description);
  BuildSkin(reader, ini);
}

void TSkinContent::BuildSkin(const TSkinReader& reader, const TQuickIni& ini) {
  SkinName = ini.ReadString("TitlebarSkin", "SkinName", "");
  for (TDataSkinBorder* edge : {LeftBorder.get(), RightBorder.get(), TopBorder.get(), BottomBorder.get()}) {
    ReadEdge(reader, ini, *edge);
  }
  ReadColours(ini);
  const TColor text = ButtonTextColour;
  SysButtons = ReadTitleButtons(reader, ini);
  ReadButtons(reader, SectionReader(ini, "Buttons"), *Buttons, text);
  ReadTitle(reader, ini, *Title);

  auto section = [&](std::string_view name) { return SectionReader(ini, name); };
  // Each optional object is freed before it is read again.
  Progress = ReadProgress(reader, section("Progress"));
  MenuBar = ReadMenuBar(reader, section("Personality"));
  GroupBoxEdge = ReadImageObject(reader, section("GroupBoxEdge"), text);
  GroupBox = ReadBoxLabel(reader, section("GroupBox"), text);
  Toolbars = ReadImageObject(reader, section("Toolbars"), text);
  Tabs = ReadTwoImageObject(reader, section("Tabs"), "Border", text);
  StatusBarEdges = ReadImageObject(reader, section("StatusBarEdges"), text);
  ComboButton = ReadTwoImageObject(reader, section("ComboButton"), "****", text);
  if (ComboButton && !ComboButton->Image.Empty()) {
    // The button of a combo box whose list opens on the left is the mirror image.
    ComboButton->Image2 = ComboButton->Image;
    MirrorHorizontal(ComboButton->Image2);
  }
  SunkEdge = ReadImageObject(reader, section("SunkEdge"), text);
  ExtraImages = ReadImageObject(reader, section("ExtraImages"), text);
  Headerbar = ReadImageObject(reader, section("Headerbar"), text);
  MenuItem = ReadImageObject(reader, section("MenuItem"), text);
  MenuBackground = ReadImageObject(reader, section("MenuBackground"), text);
  Scrollbar = ReadImageObject(reader, section("Scrollbar"), text);
  HorzScroll = ReadImageObject(reader, section("HorzScroll"), text);
  VertScroll = ReadImageObject(reader, section("VertScroll"), text);
  HorzScrollThumb = ReadImageObject(reader, section("HorzScrollThumb"), text);
  VertScrollThumb = ReadImageObject(reader, section("VertScrollThumb"), text);
  TrackbarThumbHorz = ReadImageObject(reader, section("Trackbar.ThumbHorz"), text);
  TrackbarThumbVert = ReadImageObject(reader, section("Trackbar.ThumbVert"), text);
  TrackbarThumbLeft = ReadImageObject(reader, section("Trackbar.ThumbLeft"), text);
  TrackbarThumbRight = ReadImageObject(reader, section("Trackbar.ThumbRight"), text);
  TrackbarThumbUp = ReadImageObject(reader, section("Trackbar.ThumbUp"), text);
  TrackbarThumbDown = ReadImageObject(reader, section("Trackbar.ThumbDown"), text);
  UpDownHorz = ReadTwoImageObject(reader, section("UpDown.Horz"), "GlyphImage", text);
  UpDownVert = ReadTwoImageObject(reader, section("UpDown.Vert"), "GlyphImage", text);
  SetStateCells(ini);
}

void TSkinContent::SetStateCells(const TQuickIni& ini) {
  Buttons->Frame = 5;
  // A count the skin does not give, or a negative one, comes from the image.
  if (Buttons->RadioFrame <= 0) Buttons->RadioFrame = MarkCells(Buttons->RadioImage);
  if (Buttons->CheckFrame <= 0) Buttons->CheckFrame = MarkCells(Buttons->CheckImage);
  Title->Frame = 2;
  for (TDataSkinObject* o : {static_cast<TDataSkinObject*>(Progress.get()), MenuBar.get(), GroupBoxEdge.get()}) {
    SetFrame(o, 2);
  }
  for (TDataSkinObject* o :
       {Toolbars.get(), static_cast<TDataSkinObject*>(Tabs.get()), ExtraImages.get(), Headerbar.get(), MenuItem.get()}) {
    SetFrame(o, 5);
  }
  SetFrame(StatusBarEdges.get(), 3);
  SetFrame(GroupBox.get(), 1);
  SetFrame(MenuBackground.get(), 1);
  for (TDataSkinObject* o :
       {static_cast<TDataSkinObject*>(ComboButton.get()), SunkEdge.get(), HorzScroll.get(), VertScroll.get()}) {
    SetFrame(o, 4);
  }
  SetFrame(Scrollbar.get(), 23);
  SetFrame(UpDownHorz.get(), 8);
  SetFrame(UpDownVert.get(), 8);
  for (TDataSkinObject* o : {TrackbarThumbHorz.get(), TrackbarThumbVert.get(), TrackbarThumbLeft.get(),
                             TrackbarThumbRight.get(), TrackbarThumbUp.get(), TrackbarThumbDown.get()}) {
    SetFrame(o, 5);
  }
  for (TDataSkinObject* thumb : {HorzScrollThumb.get(), VertScrollThumb.get()}) {
    if (!thumb) continue;
    thumb->Frame = SectionReader(ini, thumb->Name).Metric("FrameCount", 3);
    if (thumb->Frame < 1) thumb->Frame = 3;
  }
}

}  // namespace qlt
