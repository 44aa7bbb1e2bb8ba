#pragma once
// The skin objects: what a skin's description says about each visual element (window edges,
// title, title buttons, push buttons, check and radio marks, tabs, scroll bars, menus, ...), with
// its images cut into state cells, its margins and colours. TSkinContent reads them all from an
// unpacked skin (TSkinReader) and its parsed description (TQuickIni); the painters of frames,
// controls and menus read the objects and never look at the description. Portable: no <windows.h>.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "skin/data/Bitmap24.h"
#include "ui/Colors.h"

namespace qlt {

class TSkinReader;
class TQuickIni;

// Colours are framework colour values (ui/Colors.h): an RGB colour 0x00BBGGRR, a system colour
// 0xFF0000nn, clNone; and -1 for an integer colour key the description does not give.
inline constexpr TColor kColourNotGiven = -1;

// Every size, margin, coordinate and cell count a description states is brought into
// -kSkinMetricLimit..kSkinMetricLimit as it is read (window coordinates are 16-bit in the system's
// messages): a painter adds a few of them to window sizes without ever leaving int's range. Codes
// (styles, actions, alignments, visibilities) and colours are kept as stated.
inline constexpr std::int32_t kSkinMetricLimit = 32767;

// The image of one element and how to slice it. Fields start at 0 and the bitmap empty.
class TDataSkinObject {
 public:
  explicit TDataSkinObject(std::string name) : Name(std::move(name)) {}
  virtual ~TDataSkinObject() = default;
  TDataSkinObject(const TDataSkinObject&) = delete;
  TDataSkinObject& operator=(const TDataSkinObject&) = delete;

  std::int32_t LeftWidth = 0;     // margins: the parts that are never stretched or tiled
  std::int32_t TopHeight = 0;
  std::int32_t RightWidth = 0;
  std::int32_t BottomHeight = 0;
  Bitmap24 Image;
  std::int32_t Trans = 0;         // 1: magenta pixels are transparent (or cut the window's shape)
  std::int32_t Tile = 0;          // how the middle fills the space (the painters say which is which)
  std::string Name;
  std::int32_t Frame = 0;         // state cells in Image
  std::int32_t Style = 0;
  TColor NormalColour = 0;   // -1 when not given
  TColor MouseOverColour = 0;
  TColor PressedColour = 0;
  TColor NormalColour2 = 0;  // text colours
  TColor MouseOverColour2 = 0;
  TColor PressedColour2 = 0;
};

// An element with a second image (window edges, tabs with their page border, progress bars with
// their chunk, the combo button with its mirrored copy, up-down buttons with their glyphs).
class TDataSkinBorder : public TDataSkinObject {
 public:
  using TDataSkinObject::TDataSkinObject;
  Bitmap24 Image2;
};

class TDataSkinTitle : public TDataSkinObject {
 public:
  using TDataSkinObject::TDataSkinObject;
  std::int32_t TextAlignment = 0;  // 0 left, 1 centre, 2 right
  std::int32_t TextBackground = 0;
  std::int32_t FontHeight = 0;
  std::int32_t TextBackLeft = 0;
  std::int32_t TextBackRight = 0;
  TColor ActiveTextColour = 0;
  TColor InactiveTextColour = 0;
};

class TDataSkinButton : public TDataSkinObject {
 public:
  using TDataSkinObject::TDataSkinObject;
  Bitmap24 CheckImage;
  Bitmap24 RadioImage;
  std::int32_t RadioFrame = 0;
  std::int32_t CheckFrame = 0;
  bool HasNormalColour2 = false;  // whether the description gives the text colours at all
  bool HasMouseOverColour2 = false;
  bool HasPressedColour2 = false;
};

// A title button: what it does (Action), where it sits (Align, Xcoord, Ycoord) and when it shows.
class TDataSkinSysButton : public TDataSkinObject {
 public:
  using TDataSkinObject::TDataSkinObject;
  std::int32_t Action = 0;
  std::int32_t Align = 0;
  std::int32_t Xcoord = 0;
  std::int32_t Ycoord = 0;
  std::int32_t CombineOp = 0;
  std::int32_t Visibility = 0;
  std::int32_t Visibility1 = 0;
};

class TDataSkinBoxLabel : public TDataSkinObject {
 public:
  using TDataSkinObject::TDataSkinObject;
  std::int32_t BackgroundLeftShift = 0;
  std::int32_t BackgroundRightShift = 0;
  std::int32_t BackgroundAlignment = 0;
};

// Colour text of a description: the first three runs of digits ended by another character are
// red, green and blue; a run still open at the end counts as blue only after exactly two values
// ("60 60 68", "60,60,68,", "R60 G60 B68"). An empty text gives `defaultValue`.
TColor ParseColour(std::string_view text, TColor defaultValue);
// prefix + "R", "G", "B" of the section; replaces `colour` only when all three are given (>= 0).
void ReadRGB(const TQuickIni& ini, std::string_view section, std::string_view prefix, TColor& colour);
// The entry an image key names: the file-name part of the value (after the last "\" or ":"), which
// must end in exactly ".bmp"; an entry that is missing, empty or no readable bitmap gives an empty
// image.
void LoadSkinImage(const TSkinReader& reader, Bitmap24& bitmap, std::string_view value);

using SkinObjectPtr = std::unique_ptr<TDataSkinObject>;
using SkinBorderPtr = std::unique_ptr<TDataSkinBorder>;

// Everything a skin yields, as the skin component holds it. Title, Buttons and the four edges
// always exist; the other objects exist only while their section names an image.
class TSkinContent {
 public:
  TSkinContent();
  virtual ~TSkinContent();
  TSkinContent(const TSkinContent&) = delete;
  TSkinContent& operator=(const TSkinContent&) = delete;

  // Reads the objects, colours and name of a skin, in the order the engine defines (colours come
  // before the objects, whose text colours default to ButtonTextColour), then sets the state cell
  // counts. Nothing in a description is an error: missing keys give their defaults.
  void BuildSkin(const TSkinReader& reader, const TQuickIni& ini);
  // The same with the skin's own description: the first entry whose name contains ".ini" (a skin
  // without one yields the defaults).
  void BuildSkin(const TSkinReader& reader);

  std::string SkinName;

  TColor WindowTextColour = clWindowText;
  TColor ButtonFaceColour = clBtnFace;
  TColor ScrollbarColour = clScrollBar;
  TColor HilightTextColour = clHighlightText;
  TColor HilightColour = clHighlight;
  TColor MenubarColour = clBtnFace;
  TColor MenuColour = clMenu;
  TColor MenuTextColour = clMenuText;
  TColor ButtonTextColour = clBtnText;
  TColor ButtonHilightColour = clBtnHighlight;
  TColor ButtonLightColour = clBtnHighlight;
  TColor ButtonShadowColour = clBtnShadow;
  TColor ButtonDkShadowColour = cl3DDkShadow;
  TColor MenuBarTextColour = clMenuText;
  TColor TitleTextActiveColour = clCaptionText;
  TColor TitleTextNoActiveColour = clInactiveCaptionText;

  std::unique_ptr<TDataSkinTitle> Title;
  std::unique_ptr<TDataSkinButton> Buttons;
  SkinBorderPtr LeftBorder;
  SkinBorderPtr RightBorder;
  SkinBorderPtr TopBorder;
  SkinBorderPtr BottomBorder;
  // The skin's title buttons in description order, then the three MDI child buttons.
  std::vector<std::unique_ptr<TDataSkinSysButton>> SysButtons;

  SkinBorderPtr Progress;
  SkinObjectPtr MenuBar;
  SkinObjectPtr GroupBoxEdge;
  std::unique_ptr<TDataSkinBoxLabel> GroupBox;
  SkinObjectPtr Toolbars;
  SkinBorderPtr Tabs;
  SkinObjectPtr StatusBarEdges;
  SkinBorderPtr ComboButton;
  SkinObjectPtr SunkEdge;
  SkinObjectPtr ExtraImages;
  SkinObjectPtr Headerbar;
  SkinObjectPtr MenuItem;
  SkinObjectPtr MenuBackground;
  SkinObjectPtr Scrollbar;
  SkinObjectPtr HorzScroll;
  SkinObjectPtr VertScroll;
  SkinObjectPtr HorzScrollThumb;
  SkinObjectPtr VertScrollThumb;
  SkinObjectPtr TrackbarThumbHorz;
  SkinObjectPtr TrackbarThumbVert;
  SkinObjectPtr TrackbarThumbLeft;
  SkinObjectPtr TrackbarThumbRight;
  SkinObjectPtr TrackbarThumbUp;
  SkinObjectPtr TrackbarThumbDown;
  SkinBorderPtr UpDownHorz;
  SkinBorderPtr UpDownVert;

 private:
  void ReadColours(const TQuickIni& ini);
  void SetStateCells(const TQuickIni& ini);
};

}  // namespace qlt
