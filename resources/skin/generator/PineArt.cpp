#include "resources/skin/generator/PineArt.h"

#include <algorithm>
#include <functional>
#include <utility>

#include "resources/skin/generator/ArtTools.h"
#include "skin/data/BitmapTransforms.h"

namespace qlt::art::pine {
namespace {

using namespace geometry;

const Palette& P() { return Colours(); }

// ---------------------------------------------------------------------------------------------
// Window frame. The four edge images are cut from one window drawn whole, so that the pieces meet
// without a seam whatever the engine stretches or tiles in between: rounded corners (magenta
// outside), a dark outline, the title band over the top rows, and elsewhere a band with the line
// around the client area on its inner side.

Shape WindowShape(int width, int height) {
  const std::vector<int> top = RoundProfile(kTopRadius);
  const std::vector<int> bottom = RoundProfile(kBottomRadius);
  return Shape::Rounded(width, height, top, top, bottom, bottom);
}

Rgb TitleRow(int y) {
  if (y == 1) return P().titleHighlight;
  if (y < kTitleBand) return Mix(P().titleTop, P().titleBottom, (y - 2) / static_cast<double>(kTitleBand - 3));
  if (y < kTitleHeight - 1) return P().band;
  return P().titleInner;
}

Rgb FramePixel(const Shape& window, int x, int y, bool active) {
  const int depth = window.Depth(x, y);
  if (depth == 0) return kMagenta;
  if (depth == 1) return P().outline;
  if (y < kTitleHeight) return TitleRow(y);
  const int fromEdge = std::min({x, window.Width() - 1 - x, window.Height() - 1 - y});
  if (fromEdge == kClientLine) return active ? P().clientLineActive : P().clientLineInactive;
  return P().band;
}

// Fills `cell` with the part of a window of width x height whose top-left corner is (x0, y0).
void CutFromWindow(Raster cell, int width, int height, int x0, int y0, bool active) {
  const Shape window = WindowShape(width, height);
  for (int y = 0; y < cell.Height(); ++y) {
    for (int x = 0; x < cell.Width(); ++x) cell.Set(x, y, FramePixel(window, x0 + x, y0 + y, active));
  }
}

// caption.bmp: one cell; the title looks the same whether the window is active or not.
Bitmap24 CaptionImage() {
  constexpr int kWidth = 300;
  Bitmap24 image = Blank(kWidth, kTitleHeight);
  CutFromWindow(Raster(image), kWidth + 2 * kSideWidth, 120, kSideWidth, 0, true);
  return image;
}

// side-left.bmp, side-right.bmp, base.bmp: two cells each, active and inactive window.
Bitmap24 SideImage(bool right) {
  Bitmap24 image = Blank(2 * kSideWidth, kSideHeight);
  constexpr int kWindowWidth = 64;
  for (int i = 0; i < 2; ++i) {
    CutFromWindow(Raster(image).Cell(i, 2), kWindowWidth, kSideHeight, right ? kWindowWidth - kSideWidth : 0, 0,
                  i == 0);
  }
  return image;
}

Bitmap24 BaseImage() {
  constexpr int kWidth = 240;
  constexpr int kWindowHeight = 80;
  Bitmap24 image = Blank(kWidth, 2 * kBottomHeight);
  for (int i = 0; i < 2; ++i) {
    CutFromWindow(Raster(image).StackedCell(i, 2), kWidth + 2 * kSideWidth, kWindowHeight, kSideWidth,
                  kWindowHeight - kBottomHeight, i == 0);
  }
  return image;
}

// captionback.bmp: the plate behind the caption, two cells stacked (active, inactive window), as
// high as the title; its ends are fixed and its middle is repeated, so the middle is all alike.
Bitmap24 CaptionBackImage() {
  constexpr int kWidth = 60;
  constexpr int kPlateTop = 5;
  constexpr int kPlateHeight = 21;
  Bitmap24 image = Blank(kWidth, 2 * kTitleHeight);
  const Shape plate = Shape::Rounded(kWidth, kPlateHeight, RoundProfile(6));
  for (int i = 0; i < 2; ++i) {
    const bool active = i == 0;
    Raster cell = Raster(image).StackedCell(i, 2);
    const Rgb top = active ? Rgb{74, 102, 91} : Rgb{52, 72, 64};
    const Rgb bottom = active ? Rgb{58, 82, 73} : Rgb{46, 64, 57};
    cell.PaintShape(0, kPlateTop, plate, active ? Rgb{24, 36, 31} : Rgb{32, 46, 40}, [&](int, int y, int d) {
      if (d == 2 && y < kPlateHeight / 2) return active ? Rgb{96, 126, 114} : Rgb{62, 82, 74};
      return Mix(top, bottom, y / static_cast<double>(kPlateHeight - 1));
    });
  }
  return image;
}

// ---------------------------------------------------------------------------------------------
// Title buttons: plates of the title's colours at the right end of the title bar. Four cells:
// normal, pressed, hot, inactive window. The help button is a disc with three cells (normal,
// pressed, hot) and shows only while the window is active.

enum class TitleGlyph { Close, Maximise, Minimise, Help };

void DrawTitleGlyph(Raster r, TitleGlyph glyph, Rgb c, int x, int y) {
  switch (glyph) {
    case TitleGlyph::Close:
      for (int i = 0; i < 8; ++i) {
        r.FillRect(x + i, y + i, 2, 1, c);
        r.FillRect(x + 7 - i, y + i, 2, 1, c);
      }
      break;
    case TitleGlyph::Maximise:
      r.RectOutline(x, y, 9, 8, c);
      r.HLine(x, x + 8, y + 1, c);
      break;
    case TitleGlyph::Minimise:
      r.FillRect(x, y + 6, 9, 2, c);
      break;
    case TitleGlyph::Help:
      r.Pattern(x, y, {".###.", "#...#", "....#", "..##.", "..#..", ".....", "..#.."}, {{'#', c}});
      break;
  }
}

Bitmap24 TitleButtonImage(TitleGlyph glyph) {
  Bitmap24 image = Blank(4 * kTitleButtonWidth, kTitleButtonHeight);
  const Shape shape = Shape::Rounded(kTitleButtonWidth, kTitleButtonHeight, RoundProfile(4));
  for (int state = 0; state < 4; ++state) {
    Raster cell = Raster(image).Cell(state, 4);
    const bool pressed = state == 1;
    const bool hot = state == 2;
    const bool inactive = state == 3;
    Rgb fill{56, 80, 71};
    Rgb ink{214, 226, 219};
    if (pressed) fill = {30, 44, 39};
    if (hot) fill = glyph == TitleGlyph::Close ? Rgb{176, 70, 60} : P().accent, ink = {255, 255, 255};
    if (inactive) fill = P().titleBottom, ink = {112, 128, 121};
    const Rgb outline = inactive ? Rgb{48, 66, 59} : Rgb{22, 32, 28};
    cell.PaintShape(0, 0, shape, outline, [&](int, int y, int d) {
      if (d == 2 && y < 3 && !pressed && !inactive) return Shade(fill, 0.18);
      return fill;
    });
    cell.CutOutside(0, 0, shape);
    const int shift = pressed ? 1 : 0;
    DrawTitleGlyph(cell, glyph, ink, 6 + shift, 5 + shift);
  }
  return image;
}

Bitmap24 HelpButtonImage() {
  constexpr int kSize = 16;
  Bitmap24 image = Blank(3 * kSize, kSize);
  const Shape disc = Shape::Disc(kSize);
  for (int state = 0; state < 3; ++state) {
    Raster cell = Raster(image).Cell(state, 3);
    const Rgb fill = state == 1 ? Rgb{30, 44, 39} : state == 2 ? P().accent : Rgb{56, 80, 71};
    cell.PaintShape(0, 0, disc, Rgb{22, 32, 28}, [&](int, int, int) { return fill; });
    DrawTitleGlyph(cell, TitleGlyph::Help, state == 2 ? Rgb{255, 255, 255} : Rgb{214, 226, 219}, 6 + (state == 1),
                   4 + (state == 1));
  }
  return image;
}

// ---------------------------------------------------------------------------------------------
// Flat plates for push buttons, drop-down and spin buttons, scroll arrows and MDI buttons.

enum class Look { Normal, Pressed, Disabled, Hot, Default };

PlateColours PlateFor(Look look) {
  switch (look) {
    case Look::Pressed:
      return {{70, 84, 78}, {200, 207, 201}, {204, 211, 205}, {188, 195, 189}, {206, 212, 206}};
    case Look::Disabled:
      return {{176, 182, 177}, {226, 228, 224}, {226, 228, 224}, {232, 234, 230}, {222, 224, 220}};
    case Look::Hot:
      return {P().accent, {238, 246, 241}, {228, 238, 232}, {200, 228, 214}, {200, 228, 214}};
    case Look::Default:
      return {P().accentDark, {234, 237, 231}, {226, 230, 224}, P().accentLight, P().accentLight};
    case Look::Normal:
      break;
  }
  return {{112, 124, 118}, {234, 237, 231}, {226, 230, 224}, {248, 249, 246}, {216, 221, 215}};
}

Rgb InkFor(Look look) {
  switch (look) {
    case Look::Disabled:
      return {164, 172, 167};
    case Look::Hot:
      return P().accentDark;
    case Look::Pressed:
      return {12, 20, 16};
    default:
      return {44, 56, 50};
  }
}

// A chevron of two-pixel strokes, 7 pixels across, pointing towards `direction`.
void DrawChevron(Raster r, int cx, int cy, Direction direction, Rgb c) {
  for (int i = 0; i < 4; ++i) {
    for (int t = 0; t < 2; ++t) {
      const int along = i - 1 + t;  // two pixels thick along the pointing axis
      switch (direction) {
        case Direction::Down:
          r.Set(cx - 3 + i, cy - 1 + along, c);
          r.Set(cx + 3 - i, cy - 1 + along, c);
          break;
        case Direction::Up:
          r.Set(cx - 3 + i, cy + 1 - along, c);
          r.Set(cx + 3 - i, cy + 1 - along, c);
          break;
        case Direction::Right:
          r.Set(cx - 1 + along, cy - 3 + i, c);
          r.Set(cx - 1 + along, cy + 3 - i, c);
          break;
        case Direction::Left:
          r.Set(cx + 1 - along, cy - 3 + i, c);
          r.Set(cx + 1 - along, cy + 3 - i, c);
          break;
      }
    }
  }
}

// A size grip in the bottom-right corner: three diagonal strokes, each with a light line beside it.
void DrawGrip(Raster r) {
  const int right = r.Width() - 2;
  const int bottom = r.Height() - 2;
  for (int i = 0; i < 3; ++i) {
    const int length = 4 + 4 * i;
    for (int k = 0; k < length; ++k) {
      r.Set(right - length + 1 + k, bottom - k, P().shadow);
      r.Set(right - length + 2 + k, bottom - k, P().light);
    }
  }
}

// push.bmp: normal, pressed, disabled, hot or focused, default. The middle is flat, so the engine
// may tile it.
Bitmap24 PushButtonImage() {
  Bitmap24 image = Blank(200, 24);
  const Look looks[] = {Look::Normal, Look::Pressed, Look::Disabled, Look::Hot, Look::Default};
  for (int i = 0; i < 5; ++i) {
    Raster cell = Raster(image).Cell(i, 5);
    DrawPlate(cell, 0, 0, Shape::Rounded(cell.Width(), cell.Height(), {1}), PlateFor(looks[i]));
  }
  return image;
}

// ---------------------------------------------------------------------------------------------
// Check boxes (twelve cells: unchecked, checked and indeterminate, each normal, hot, pressed and
// disabled) and radio buttons (eight cells: unchecked and checked, the same four each).

struct MarkColours {
  Rgb outline, field, ink;
};

MarkColours MarkFor(int state) {
  switch (state) {
    case 1:
      return {P().accent, {240, 248, 243}, P().accentDark};
    case 2:
      return {P().accentDark, {214, 228, 220}, P().accentDark};
    case 3:
      return {{176, 182, 177}, {226, 228, 224}, {156, 164, 159}};
    default:
      return {{96, 110, 104}, P().field, P().accentDark};
  }
}

Bitmap24 CheckImage() {
  constexpr int kSize = 14;
  Bitmap24 image = Blank(12 * kSize, kSize);
  const Shape box = Shape::Rounded(kSize, kSize, {1});
  for (int mark = 0; mark < 3; ++mark) {
    for (int state = 0; state < 4; ++state) {
      Raster cell = Raster(image).Cell(mark * 4 + state, 12);
      const MarkColours c = MarkFor(state);
      cell.PaintShape(0, 0, box, c.outline, [&](int, int, int) { return c.field; });
      cell.CutOutside(0, 0, box);
      if (mark == 1) {
        cell.Pattern(2, 3, {"........#", ".......##", "#.....##.", "##...##..", ".##.##...", "..###....", "...#....."},
                     {{'#', c.ink}});
      } else if (mark == 2) {
        cell.FillRect(4, 4, 6, 6, state == 3 ? c.ink : P().accent);
      }
    }
  }
  return image;
}

Bitmap24 RadioImage() {
  constexpr int kSize = 16;
  Bitmap24 image = Blank(8 * kSize, kSize);
  const Shape disc = Shape::Disc(14);
  const Shape dot = Shape::Disc(6);
  for (int mark = 0; mark < 2; ++mark) {
    for (int state = 0; state < 4; ++state) {
      Raster cell = Raster(image).Cell(mark * 4 + state, 8);
      const MarkColours c = MarkFor(state);
      cell.PaintShape(1, 1, disc, c.outline, [&](int, int, int) { return c.field; });
      if (mark == 1) cell.PaintShape(5, 5, dot, c.ink, [&](int, int, int) { return c.ink; });
    }
  }
  return image;
}

// ---------------------------------------------------------------------------------------------
// Scroll bars: square arrow buttons, tracks with a line along both sides, and flat thumbs (drawn
// on the track's colour, not transparent) with four cells: normal, dragged, hot, disabled.

Bitmap24 ArrowsImage() {
  constexpr int kCell = 16;
  Bitmap24 image(23 * kCell, kCell, RgbPixel(222, 226, 220));
  const Look looks[] = {Look::Normal, Look::Pressed, Look::Hot, Look::Disabled};
  const Direction directions[] = {Direction::Left, Direction::Right, Direction::Up, Direction::Down};
  for (int d = 0; d < 4; ++d) {
    for (int s = 0; s < 4; ++s) {
      Raster cell = Raster(image).Cell(d * 4 + s, 23);
      const PlateColours c = PlateFor(looks[s]);
      cell.Fill(c.top);
      cell.RectOutline(0, 0, kCell, kCell, looks[s] == Look::Hot ? P().accentLight : Rgb{196, 202, 197});
      const int shift = looks[s] == Look::Pressed ? 1 : 0;
      DrawChevron(cell, 7 + shift, 7 + shift, directions[d], InkFor(looks[s]));
    }
  }
  Raster sizeBox = Raster(image).Cell(16, 23);
  sizeBox.Fill(P().face);
  DrawGrip(sizeBox);
  for (int i = 0; i < 6; ++i) {
    Raster plate = Raster(image).Cell(17 + i, 23);
    plate.Fill(PlateFor(i % 2 ? Look::Pressed : Look::Normal).top);
    plate.RectOutline(0, 0, kCell, kCell, Rgb{196, 202, 197});
  }
  return image;
}

Bitmap24 TrackImage(bool vertical) {
  const int along = 24;
  Bitmap24 image = Blank(vertical ? 4 * 16 : 4 * along, vertical ? along : 16);
  const Rgb fills[] = {P().scrollbar, {186, 194, 188}, {212, 216, 211}, {208, 214, 208}};
  for (int i = 0; i < 4; ++i) {
    Raster cell = Raster(image).Cell(i, 4);
    cell.Fill(fills[i]);
    const Rgb line = Shade(fills[i], -0.06);
    if (vertical) {
      cell.VLine(0, 0, cell.Height() - 1, line);
      cell.VLine(15, 0, cell.Height() - 1, line);
    } else {
      cell.HLine(0, cell.Width() - 1, 0, line);
      cell.HLine(0, cell.Width() - 1, 15, line);
    }
  }
  return image;
}

Bitmap24 ThumbImage(bool vertical) {
  const int along = 24;
  Bitmap24 image = Blank(vertical ? 4 * 16 : 4 * along, vertical ? along : 16);
  const Rgb fills[] = {{150, 162, 156}, P().accent, {118, 158, 139}, {194, 199, 195}};
  const Rgb outlines[] = {{120, 132, 126}, P().accentDark, {96, 134, 116}, {182, 188, 184}};
  const Shape bar = vertical ? Shape::Rounded(10, along, RoundProfile(3)) : Shape::Rounded(along, 10, RoundProfile(3));
  for (int i = 0; i < 4; ++i) {
    Raster cell = Raster(image).Cell(i, 4);
    // The thumb lies on the track: its cell repeats the track's own colour and side lines.
    cell.Fill(P().scrollbar);
    const Rgb line = Shade(P().scrollbar, -0.06);
    if (vertical) {
      cell.VLine(0, 0, along - 1, line);
      cell.VLine(15, 0, along - 1, line);
    } else {
      cell.HLine(0, along - 1, 0, line);
      cell.HLine(0, along - 1, 15, line);
    }
    cell.PaintShape(vertical ? 3 : 0, vertical ? 0 : 3, bar, outlines[i], [&](int, int, int) { return fills[i]; });
  }
  return image;
}

// ---------------------------------------------------------------------------------------------
// Progress bar: the trough as one picture (the bar is drawn in chunks) and the chunk: eight
// pixels of green and two of the trough's colour between chunks.

constexpr Rgb kTrough{236, 239, 234};

Bitmap24 MeterImage() {
  Bitmap24 image = Blank(64, 16);
  const Shape shape = Shape::Rounded(64, 16, {2, 1});
  Raster(image).PaintShape(0, 0, shape, P().shadow, [&](int, int y, int d) {
    if (d == 2 && y < 3) return Rgb{214, 219, 213};
    return kTrough;
  });
  return image;
}

Bitmap24 MeterChunkImage() {
  Bitmap24 image(10, 10, RgbPixel(kTrough.r, kTrough.g, kTrough.b));
  Raster(image).VGradient(0, 0, 8, 10, Rgb{108, 170, 142}, P().accent);
  return image;
}

// ---------------------------------------------------------------------------------------------
// Group boxes, tabs, status bar panels, list headers.

Bitmap24 GroupFrameImage() {
  Bitmap24 image = Blank(96, 48);
  const Shape shape = Shape::Rounded(48, 48, RoundProfile(4));
  for (int i = 0; i < 2; ++i) {
    Raster cell = Raster(image).Cell(i, 2);
    cell.PaintShape(0, 0, shape, i == 0 ? Rgb{150, 160, 154} : P().accent, [](int, int, int) { return kMagenta; });
  }
  return image;
}

Bitmap24 GroupLabelImage() {
  Bitmap24 image = Blank(56, 20);
  const std::vector<int> round = RoundProfile(4);
  const Shape shape = Shape::Rounded(56, 21, round, round, {}, {});
  Raster(image).PaintShape(0, 0, shape, P().shadow, [&](int, int y, int) {
    return Mix(Rgb{230, 234, 228}, P().face, y / 19.0);
  });
  return image;
}

// tab.bmp: normal, selected, hot, disabled, pressed. The selected tab carries a green bar on top
// and opens into the page below it.
Bitmap24 TabImage() {
  constexpr int kWidth = 48;
  constexpr int kHeight = 22;
  Bitmap24 image = Blank(5 * kWidth, kHeight);
  const std::vector<int> round = RoundProfile(4);
  for (int i = 0; i < 5; ++i) {
    Raster cell = Raster(image).Cell(i, 5);
    const bool selected = i == 1 || i == 4;
    const Shape shape = Shape::Rounded(kWidth, selected ? kHeight + 2 : kHeight, round, round, {}, {});
    Rgb top{204, 210, 204}, bottom{192, 198, 192};
    if (selected) top = bottom = P().face;
    if (i == 2) top = {228, 234, 229}, bottom = {214, 222, 216};
    if (i == 3) top = bottom = {206, 209, 205};
    const Rgb outline = i == 3 ? Rgb{176, 182, 177} : P().shadow;
    cell.PaintShape(0, 0, shape, outline, [&](int, int y, int) {
      if (selected && y >= 1 && y <= 3) return i == 4 ? P().accentDark : P().accent;
      return Mix(top, bottom, y / static_cast<double>(kHeight - 1));
    });
  }
  return image;
}

Bitmap24 TabPageImage() {
  Bitmap24 image(32, 32, RgbPixel(P().face.r, P().face.g, P().face.b));
  Raster r(image);
  r.RectOutline(0, 0, 32, 32, P().shadow);
  r.HLine(1, 30, 1, P().light);
  r.VLine(1, 1, 30, P().light);
  return image;
}

// status-panels.bmp: lowered, raised, flat.
Bitmap24 StatusImage() {
  Bitmap24 image(90, 20, RgbPixel(P().face.r, P().face.g, P().face.b));
  for (int i = 0; i < 2; ++i) {
    Raster cell = Raster(image).Cell(i, 3);
    const int w = cell.Width();
    const int h = cell.Height();
    if (i == 0) {
      cell.RectOutline(0, 0, w, h, Rgb{176, 184, 178});
      cell.HLine(1, w - 2, 1, Rgb{200, 205, 199});
    } else {
      cell.HLine(0, w - 1, 0, P().light);
      cell.VLine(0, 0, h - 1, P().light);
      cell.HLine(1, w - 1, h - 1, P().shadow);
      cell.VLine(w - 1, 1, h - 1, P().shadow);
    }
  }
  return image;
}

Bitmap24 HeaderImage() {
  Bitmap24 image = Blank(240, 20);
  for (int i = 0; i < 5; ++i) {
    Raster cell = Raster(image).Cell(i, 5);
    const Rgb fill = i == 1   ? Rgb{210, 216, 210}
                     : i == 2 ? Rgb{240, 246, 242}
                     : i == 3 ? Rgb{226, 228, 224}
                              : Rgb{234, 237, 231};
    cell.Fill(fill);
    cell.HLine(0, cell.Width() - 1, cell.Height() - 1, Rgb{176, 184, 178});
    cell.VLine(cell.Width() - 1, 4, cell.Height() - 5, Rgb{190, 197, 191});
    if (i == 4) cell.HLine(0, cell.Width() - 1, cell.Height() - 2, P().accent);
  }
  return image;
}

// ---------------------------------------------------------------------------------------------
// Combo boxes: the drop-down button, the ring around the box, the glyphs (the drop-down chevron
// in four states and the status bar's size grip).

Bitmap24 DropButtonImage() {
  Bitmap24 image = Blank(68, 22);
  const Look looks[] = {Look::Normal, Look::Pressed, Look::Disabled, Look::Hot};
  for (int i = 0; i < 4; ++i) {
    DrawPlate(Raster(image).Cell(i, 4), 0, 0, Shape::Rounded(17, 22, {1}), PlateFor(looks[i]));
  }
  return image;
}

Bitmap24 FieldRingImage() {
  Bitmap24 image(32, 22, RgbPixel(P().field.r, P().field.g, P().field.b));
  const Rgb rings[] = {{150, 160, 154}, P().accentDark, {196, 200, 196}, P().accent};
  const Rgb fields[] = {P().field, P().field, {232, 234, 230}, {246, 251, 248}};
  for (int i = 0; i < 4; ++i) {
    Raster cell = Raster(image).Cell(i, 4);
    cell.Fill(fields[i]);
    cell.RectOutline(0, 0, cell.Width(), cell.Height(), rings[i]);
  }
  return image;
}

Bitmap24 GlyphsImage() {
  Bitmap24 image = Blank(70, 14);
  const Look looks[] = {Look::Normal, Look::Pressed, Look::Disabled, Look::Hot};
  for (int i = 0; i < 4; ++i) {
    const int shift = looks[i] == Look::Pressed ? 1 : 0;
    DrawChevron(Raster(image).Cell(i, 5), 7 + shift, 7 + shift, Direction::Down, InkFor(looks[i]));
  }
  DrawGrip(Raster(image).Cell(4, 5));
  return image;
}

// ---------------------------------------------------------------------------------------------
// Menus: item cells (normal, separator, disabled selected, selected, default selected) and the
// popup's background: a three-pixel border and a gutter for the glyphs.

Bitmap24 MenuItemImage() {
  constexpr int kWidth = 100;
  constexpr int kHeight = 20;
  Bitmap24 image = Blank(5 * kWidth, kHeight);
  Raster separator = Raster(image).Cell(1, 5);
  separator.HLine(4, kWidth - 5, 15, Rgb{206, 212, 206});
  separator.HLine(4, kWidth - 5, 16, Rgb{255, 255, 255});
  const Shape shape = Shape::Rounded(kWidth, kHeight, {1});
  for (int i : {2, 3, 4}) {
    Raster cell = Raster(image).Cell(i, 5);
    Rgb outline = P().accentDark, fill = P().accent;
    if (i == 2) outline = {196, 202, 197}, fill = {226, 230, 225};
    if (i == 4) fill = Shade(P().accent, 0.1);
    cell.PaintShape(0, 0, shape, outline, [&](int, int, int) { return fill; });
    cell.CutOutside(0, 0, shape);
  }
  return image;
}

Bitmap24 MenuBackImage() {
  constexpr int kSize = 96;
  constexpr int kGutterEnd = 26;
  Bitmap24 image(kSize, kSize, RgbPixel(P().menu.r, P().menu.g, P().menu.b));
  Raster r(image);
  r.FillRect(3, 3, kGutterEnd - 3, kSize - 6, Rgb{234, 238, 233});
  r.VLine(kGutterEnd, 3, kSize - 4, Rgb{214, 220, 214});
  r.RectOutline(0, 0, kSize, kSize, Rgb{84, 98, 92});
  return image;
}

Bitmap24 MenuBarImage() {
  Bitmap24 image = Blank(200, 40);
  for (int i = 0; i < 2; ++i) {
    Raster cell = Raster(image).StackedCell(i, 2);
    cell.Fill(i == 0 ? Rgb{206, 211, 204} : Rgb{218, 221, 216});
    cell.HLine(0, cell.Width() - 1, 0, Rgb{232, 235, 230});
    cell.HLine(0, cell.Width() - 1, cell.Height() - 1, Rgb{176, 184, 178});
  }
  return image;
}

// mdi-buttons.bmp: minimise, restore, close; each normal, pressed, hot, hot.
Bitmap24 MdiButtonsImage() {
  const auto look = [](MdiLook l) {
    return l == MdiLook::Normal ? Look::Normal : l == MdiLook::Pressed ? Look::Pressed : Look::Hot;
  };
  return MdiButtonStrip(
      14, 14, {4, 9, 6, 2, 5, 3, 3, 6, 6, 5, 4, 4, 6}, [&](MdiLook l) { return PlateFor(look(l)); },
      [&](MdiLook l) { return InkFor(look(l)); });
}

// ---------------------------------------------------------------------------------------------
// Track bar thumbs: five cells (unfocused, normal, pressed, disabled, hot; the track bar painter
// shows the second). Upright and lying plates, and pointed ones for ticks on one side.

Bitmap24 SliderCells(int cellWidth, int cellHeight, const std::function<Shape()>& shapeOf,
                     const std::function<void(Bitmap24&)>& turn = nullptr) {
  const Look looks[] = {Look::Normal, Look::Default, Look::Pressed, Look::Disabled, Look::Hot};
  const Shape shape = shapeOf();
  Bitmap24 strip = Blank(5 * cellWidth, cellHeight);
  for (int i = 0; i < 5; ++i) {
    Bitmap24 cell = Blank(shape.Width(), shape.Height());
    DrawPlate(Raster(cell), 0, 0, shape, PlateFor(looks[i]), true);
    if (turn) turn(cell);
    Raster(strip).Cell(i, 5).Blit(0, 0, Raster(cell));
  }
  return strip;
}

Bitmap24 SliderImage(bool lying) {
  return lying ? SliderCells(20, 11, [] { return Shape::Rounded(20, 11, {1}); })
               : SliderCells(11, 20, [] { return Shape::Rounded(11, 20, {1}); });
}

// Pointing up (ticks above the track) or down; turned a quarter for a vertical track bar.
Shape PointedThumb(bool up) {
  const std::vector<int> point = {5, 4, 3, 2, 1};
  return up ? Shape::Rounded(11, 20, point, point, {1}, {1}) : Shape::Rounded(11, 20, {1}, {1}, point, point);
}

// ---------------------------------------------------------------------------------------------
// Up-down buttons: eight cells, the first button's four (normal, pressed, disabled, hot) then the
// second's; the arrows in the same eight cells, drawn unstretched in the middle of each button.

Bitmap24 SpinImage(bool horizontal) {
  const int w = horizontal ? 10 : 15;
  const int h = horizontal ? 15 : 10;
  Bitmap24 image = Blank(8 * w, h);
  const Look looks[] = {Look::Normal, Look::Pressed, Look::Disabled, Look::Hot};
  for (int button = 0; button < 2; ++button) {
    // The two buttons are rounded on their outer ends only.
    const std::vector<int> round = {1};
    Shape shape =
        horizontal
            ? (button == 0 ? Shape::Rounded(w, h, round, {}, round, {}) : Shape::Rounded(w, h, {}, round, {}, round))
            : (button == 0 ? Shape::Rounded(w, h, round, round, {}, {}) : Shape::Rounded(w, h, {}, {}, round, round));
    for (int s = 0; s < 4; ++s) DrawPlate(Raster(image).Cell(button * 4 + s, 8), 0, 0, shape, PlateFor(looks[s]));
  }
  return image;
}

Bitmap24 SpinArrowsImage(bool horizontal) {
  const int w = horizontal ? 4 : 7;
  const int h = horizontal ? 7 : 4;
  Bitmap24 image = Blank(8 * w, h);
  const Look looks[] = {Look::Normal, Look::Pressed, Look::Disabled, Look::Hot};
  for (int button = 0; button < 2; ++button) {
    const Direction d = horizontal ? (button == 0 ? Direction::Left : Direction::Right)
                                   : (button == 0 ? Direction::Up : Direction::Down);
    for (int s = 0; s < 4; ++s) {
      Raster cell = Raster(image).Cell(button * 4 + s, 8);
      DrawArrow(cell, horizontal ? 2 : 3, horizontal ? 3 : 2, d, InkFor(looks[s]));
    }
  }
  return image;
}

}  // namespace

const Palette& Colours() {
  static const Palette palette;
  return palette;
}

std::vector<SkinImage> DrawImages() {
  std::vector<SkinImage> images;
  auto add = [&](std::string name, Bitmap24 image, int cells = 1, bool stacked = false) {
    images.push_back({std::move(name), std::move(image), cells, stacked});
  };
  add("caption.bmp", CaptionImage());
  add("captionback.bmp", CaptionBackImage(), 2, true);
  add("side-left.bmp", SideImage(false), 2);
  add("side-right.bmp", SideImage(true), 2);
  add("base.bmp", BaseImage(), 2, true);
  add("menubar.bmp", MenuBarImage(), 2, true);
  add("close.bmp", TitleButtonImage(TitleGlyph::Close), 4);
  add("maximise.bmp", TitleButtonImage(TitleGlyph::Maximise), 4);
  add("minimise.bmp", TitleButtonImage(TitleGlyph::Minimise), 4);
  add("help.bmp", HelpButtonImage(), 3);
  add("mdi-buttons.bmp", MdiButtonsImage(), 12);
  add("push.bmp", PushButtonImage(), 5);
  add("tick.bmp", CheckImage(), 12);
  add("dot.bmp", RadioImage(), 8);
  add("scroll-arrows.bmp", ArrowsImage(), 23);
  add("scroll-track-h.bmp", TrackImage(false), 4);
  add("scroll-track-v.bmp", TrackImage(true), 4);
  add("scroll-thumb-h.bmp", ThumbImage(false), 4);
  add("scroll-thumb-v.bmp", ThumbImage(true), 4);
  add("meter.bmp", MeterImage());
  add("meter-chunk.bmp", MeterChunkImage());
  add("frame-group.bmp", GroupFrameImage(), 2);
  add("group-label.bmp", GroupLabelImage());
  add("tab.bmp", TabImage(), 5);
  add("tab-page.bmp", TabPageImage());
  add("status-panels.bmp", StatusImage(), 3);
  add("drop-button.bmp", DropButtonImage(), 4);
  add("field-ring.bmp", FieldRingImage(), 4);
  add("glyphs.bmp", GlyphsImage(), 5);
  add("header.bmp", HeaderImage(), 5);
  add("menu-item.bmp", MenuItemImage(), 5);
  add("menu-back.bmp", MenuBackImage());
  add("slider-h.bmp", SliderImage(false), 5);
  add("slider-v.bmp", SliderImage(true), 5);
  add("slider-left.bmp",
      SliderCells(
          20, 11, [] { return PointedThumb(true); }, RotateLeft),
      5);
  add("slider-right.bmp",
      SliderCells(
          20, 11, [] { return PointedThumb(false); }, RotateLeft),
      5);
  add("slider-up.bmp", SliderCells(11, 20, [] { return PointedThumb(true); }), 5);
  add("slider-down.bmp", SliderCells(11, 20, [] { return PointedThumb(false); }), 5);
  add("spin-h.bmp", SpinImage(true), 8);
  add("spin-h-arrows.bmp", SpinArrowsImage(true), 8);
  add("spin-v.bmp", SpinImage(false), 8);
  add("spin-v-arrows.bmp", SpinArrowsImage(false), 8);
  return images;
}

}  // namespace qlt::art::pine
