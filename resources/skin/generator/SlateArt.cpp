#include "resources/skin/generator/SlateArt.h"

#include <algorithm>
#include <array>
#include <utility>

#include "resources/skin/generator/ArtTools.h"

namespace qlt::art::slate {
namespace {

using namespace geometry;
using Frame = Palette::Frame;

const Palette& P() { return DefaultPalette(); }

// ---------------------------------------------------------------------------------------------
// Window frame. Every edge is drawn from the same rows and columns, so the pieces meet without a
// seam: a dark outline, the title band (25 rows) or a three-pixel frame, an inner line, and the
// face colour inside.

Rgb TitleRow(const Frame& f, int y) {
  if (y == 0) return f.outline;
  if (y == 1) return f.highlight;
  if (y < kTitleBand) return Mix(f.titleTop, f.titleBottom, (y - 2) / static_cast<double>(kTitleBand - 3));
  if (y == kTitleBand) return f.inner;
  return P().face;
}

// The window's top corners are rounded; magenta cuts them out of the window's shape.
void RoundTopCorner(Raster r, bool right, Rgb outline) {
  static constexpr std::array<int, 4> kProfile = {4, 2, 1, 1};
  auto set = [&](int i, int y, Rgb c) { r.Set(right ? r.Width() - 1 - i : i, y, c); };
  for (int k = 0; k < static_cast<int>(kProfile.size()); ++k) {
    const int cut = kProfile[static_cast<std::size_t>(k)];
    for (int i = 0; i < cut; ++i) set(i, k, kMagenta);
    const int to = k == 0 ? cut : std::max(cut, kProfile[static_cast<std::size_t>(k - 1)] - 1);
    for (int i = cut; i <= to; ++i) set(i, k, outline);
  }
}

void DrawTop(Raster cell, const Frame& f) {
  for (int y = 0; y < cell.Height(); ++y) cell.HLine(0, cell.Width() - 1, y, TitleRow(f, y));
}

void DrawLeft(Raster cell, const Frame& f) {
  const int w = cell.Width();
  const int h = cell.Height();
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      Rgb c = P().face;
      if (x == 0 || y == h - 1) c = f.outline;
      else if (y < kTitleBand) c = TitleRow(f, y);
      else if (y >= h - kFrameWidth + 1) c = f.band;
      else if (x < kFrameWidth - 1) c = f.band;
      else if (x == kFrameWidth - 1 || y == kTitleBand || y == h - kFrameWidth) c = f.inner;
      cell.Set(x, y, c);
    }
  }
  RoundTopCorner(cell, false, f.outline);
}

void DrawRight(Raster cell, const Frame& f) {
  const int w = cell.Width();
  const int h = cell.Height();
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      Rgb c = f.band;
      if (x == w - 1 || y == h - 1) c = f.outline;
      else if (y < kTitleBand) c = TitleRow(f, y);
      else if (y >= h - kFrameWidth + 1) c = f.band;
      else if (x == 0) c = f.inner;
      cell.Set(x, y, c);
    }
  }
  RoundTopCorner(cell, true, f.outline);
}

void DrawBottom(Raster cell, const Frame& f) {
  const int h = cell.Height();
  for (int y = 0; y < h; ++y) {
    Rgb c = P().face;
    if (y == h - 1) c = f.outline;
    else if (y >= h - kFrameWidth + 1) c = f.band;
    else if (y == h - kFrameWidth) c = f.inner;
    cell.HLine(0, cell.Width() - 1, y, c);
  }
}

// ---------------------------------------------------------------------------------------------
// Title buttons: minimise, maximise and close are small plates hanging from the top edge at the
// right end of the title bar, one pixel apart, so that any of them can show alone (QLT's main window
// has only the close box). Cells: normal, pressed, hot, inactive window, disabled, hot while the
// window is inactive.

enum class TitleGlyph { Minimise, Maximise, Close };

constexpr int kPlateHeight = 14;
constexpr int kPlateWidth = 14;

void DrawTitleGlyph(Raster r, TitleGlyph glyph, Rgb c, int dx, int dy) {
  switch (glyph) {
    case TitleGlyph::Minimise:
      r.FillRect(4 + dx, 8 + dy, 8, 2, c);
      break;
    case TitleGlyph::Maximise:
      r.RectOutline(4 + dx, 3 + dy, 8, 7, c);
      r.HLine(4 + dx, 11 + dx, 4 + dy, c);
      break;
    case TitleGlyph::Close:
      for (int i = 0; i < 7; ++i) {
        r.FillRect(4 + i + dx, 3 + i + dy, 2, 1, c);
        r.FillRect(10 - i + dx, 3 + i + dy, 2, 1, c);
      }
      break;
  }
}

void DrawTitleButton(Raster cell, TitleGlyph glyph, int state) {
  const bool inactiveWindow = state == 3 || state == 5;
  const Frame& f = inactiveWindow ? P().inactive : P().active;
  const bool hot = state == 2 || state == 5;
  const bool pressed = state == 1;
  Rgb plate = f.plate;
  Rgb glyphColour = f.glyph;
  if (hot) {
    plate = glyph == TitleGlyph::Close ? Rgb{178, 66, 72} : Mix(f.plate, P().accentLight, 0.45);
    glyphColour = {255, 255, 255};
  } else if (pressed) {
    plate = glyph == TitleGlyph::Close ? Rgb{132, 42, 50} : Shade(f.plate, -0.3);
  } else if (state == 4) {
    glyphColour = Mix(f.plate, f.glyph, 0.35);
  }
  // The shape reaches above the cell, so its top side gets no outline: the plate hangs from the
  // window's outline.
  const Shape shape = Shape::Rounded(kPlateWidth, kPlateHeight + 2, {}, {}, {2, 1}, {2, 1});
  Raster plateArea = cell.Part(1, -2, kPlateWidth, kPlateHeight + 2);
  plateArea.PaintShape(0, 0, shape, f.plateLine, [&](int, int y, int) {
    const double t = (y - 2) / static_cast<double>(kPlateHeight - 1);
    return Mix(Shade(plate, 0.08), Shade(plate, -0.06), std::clamp(t, 0.0, 1.0));
  });
  plateArea.CutOutside(0, 0, shape);
  const int shift = pressed ? 1 : 0;
  DrawTitleGlyph(cell, glyph, glyphColour, shift, shift);
}

Bitmap24 TitleButtonImage(int cellWidth, int height, TitleGlyph glyph) {
  Bitmap24 image = Blank(cellWidth * 6, height);
  Raster r(image);
  for (int state = 0; state < 6; ++state) DrawTitleButton(r.Cell(state, 6), glyph, state);
  return image;
}

// A grip of embossed dots left of the window icon: the title bar moves the window.
Bitmap24 RollupImage() {
  Bitmap24 image = Blank(96, 18);
  Raster r(image);
  for (int state = 0; state < 6; ++state) {
    const Frame& f = (state == 3 || state == 5) ? P().inactive : P().active;
    Raster cell = r.Cell(state, 6);
    for (int row = 0; row < 4; ++row) {
      for (int col = 0; col < 2; ++col) {
        const int x = 6 + col * 3;
        const int y = 4 + row * 3;
        cell.Set(x, y, Shade(f.titleTop, 0.5));
        cell.Set(x + 1, y + 1, f.outline);
      }
    }
  }
  return image;
}

Bitmap24 BulletsImage() {
  Bitmap24 image = Blank(30, 21);
  Raster r(image);
  for (int state = 0; state < 6; ++state) {
    const Frame& f = (state == 3 || state == 5) ? P().inactive : P().active;
    Raster cell = r.Cell(state, 6);
    for (int i = 0; i < 3; ++i) {
      cell.FillRect(1, 4 + i * 5, 2, 2, f.highlight);
      cell.Set(3, 5 + i * 5, f.outline);
      cell.Set(2, 6 + i * 5, f.outline);
    }
  }
  return image;
}

// ---------------------------------------------------------------------------------------------
// Push buttons and the plates that share their look (combo, scroll arrows, MDI buttons).

enum class Look { Normal, Pressed, Disabled, Hot, Default };

PlateColours PlateFor(Look look) {
  switch (look) {
    case Look::Pressed:
      return {{52, 57, 80}, {156, 158, 173}, {180, 182, 196}, {140, 142, 157}, {180, 182, 196}};
    case Look::Disabled:
      return {{124, 126, 140}, {178, 179, 190}, {172, 173, 184}, {188, 189, 199}, {168, 169, 180}};
    case Look::Hot:
      return {{66, 84, 140}, {232, 234, 243}, {200, 204, 222}, {246, 247, 251}, {186, 192, 216}};
    case Look::Default:
      return {{40, 48, 82}, {216, 218, 229}, {186, 188, 202}, {242, 243, 248}, {168, 170, 186}};
    case Look::Normal:
      break;
  }
  return {{72, 77, 98}, {216, 218, 229}, {186, 188, 202}, {242, 243, 248}, {168, 170, 186}};
}

void DrawPlate(Raster r, int x, int y, const Shape& shape, Look look, bool horizontalGradient = false) {
  art::DrawPlate(r, x, y, shape, PlateFor(look), horizontalGradient);
}

Bitmap24 PushButtonImage() {
  Bitmap24 image = Blank(275, 22);
  Raster r(image);
  const Look looks[] = {Look::Normal, Look::Pressed, Look::Disabled, Look::Hot, Look::Default};
  for (int i = 0; i < 5; ++i) {
    Raster cell = r.Cell(i, 5);
    const Shape shape = Shape::Rounded(cell.Width(), cell.Height(), {2, 1});
    DrawPlate(cell, 0, 0, shape, looks[i]);
    if (looks[i] == Look::Hot) {
      // A second ring in the accent colour makes hot and focused buttons plain to see.
      cell.PaintShape(0, 0, shape, PlateFor(Look::Hot).outline, [&](int px, int py, int d) {
        return d == 2 ? P().accentLight : cell.Get(px, py);
      });
    } else if (looks[i] == Look::Default) {
      cell.PaintShape(0, 0, shape, PlateFor(Look::Default).outline, [&](int px, int py, int d) {
        return d == 2 ? P().accent : cell.Get(px, py);
      });
    }
  }
  return image;
}

// ---------------------------------------------------------------------------------------------
// Check boxes and radio buttons: unchecked, checked, unchecked disabled, checked disabled.

Bitmap24 CheckImage() {
  Bitmap24 image = Blank(52, 13);
  Raster r(image);
  for (int i = 0; i < 4; ++i) {
    Raster cell = r.Cell(i, 4);
    const bool disabled = i >= 2;
    const bool checked = i % 2 == 1;
    const Shape shape = Shape::Rounded(13, 13, {1});
    const Rgb outline = disabled ? Rgb{128, 130, 143} : Rgb{64, 70, 96};
    const Rgb field = disabled ? Rgb{198, 199, 208} : P().field;
    cell.PaintShape(0, 0, shape, outline, [&](int px, int py, int d) {
      if (d == 2 && shape.FacesTopLeft(px, py)) return disabled ? Rgb{184, 185, 195} : Rgb{196, 199, 212};
      return field;
    });
    cell.CutOutside(0, 0, shape);
    if (checked) {
      const Rgb mark = disabled ? Rgb{120, 122, 136} : P().accentDark;
      cell.Pattern(2, 3, {"......##",
                          ".....###",
                          "#...###.",
                          "##.###..",
                          "#####...",
                          ".###....",
                          "..#....."},
                   {{'#', mark}});
    }
  }
  return image;
}

Bitmap24 RadioImage() {
  Bitmap24 image = Blank(52, 13);
  Raster r(image);
  for (int i = 0; i < 4; ++i) {
    Raster cell = r.Cell(i, 4);
    const bool disabled = i >= 2;
    const bool checked = i % 2 == 1;
    const Shape disc = Shape::Disc(13);
    const Rgb outline = disabled ? Rgb{128, 130, 143} : Rgb{64, 70, 96};
    const Rgb field = disabled ? Rgb{198, 199, 208} : P().field;
    cell.PaintShape(0, 0, disc, outline, [&](int px, int py, int d) {
      if (d == 2 && disc.FacesTopLeft(px, py) && py < 6) return disabled ? Rgb{184, 185, 195} : Rgb{196, 199, 212};
      return field;
    });
    cell.CutOutside(0, 0, disc);
    if (checked) {
      const Shape dot = Shape::Disc(5);
      const Rgb ink = disabled ? Rgb{120, 122, 136} : P().accentDark;
      cell.PaintShape(4, 4, dot, ink, [&](int, int, int) { return disabled ? ink : P().accent; });
    }
  }
  return image;
}

// ---------------------------------------------------------------------------------------------
// Progress bar: the trough, then the filled part.

Bitmap24 ProgressImage() {
  Bitmap24 image = Blank(96, 18);
  Raster r(image);
  const Shape shape = Shape::Rounded(48, 18, {2, 1});
  Raster trough = r.Cell(0, 2);
  trough.PaintShape(0, 0, shape, P().shadow, [&](int px, int py, int d) {
    if (d == 2 && shape.FacesTopLeft(px, py)) return Rgb{160, 161, 174};
    return Mix(Rgb{188, 189, 201}, Rgb{206, 207, 217}, py / 17.0);
  });
  trough.CutOutside(0, 0, shape);
  Raster fill = r.Cell(1, 2);
  fill.PaintShape(0, 0, shape, P().accentDark, [&](int px, int py, int d) {
    if (d == 2 && shape.FacesTopLeft(px, py)) return Rgb{176, 192, 232};
    return Mix(Rgb{138, 157, 210}, Rgb{84, 103, 160}, py / 17.0);
  });
  fill.CutOutside(0, 0, shape);
  return image;
}

// ---------------------------------------------------------------------------------------------
// Group boxes (the frame and the caption tab) and tab controls.

Bitmap24 GroupBoxEdgeImage() {
  Bitmap24 image = Blank(128, 64);
  Raster r(image);
  for (int i = 0; i < 2; ++i) {
    Raster cell = r.Cell(i, 2);
    const Shape shape = Shape::Rounded(64, 64, {2, 1});
    cell.PaintShape(0, 0, shape, i == 0 ? P().shadow : P().accent, [&](int px, int py, int d) {
      return d == 2 ? P().light : kMagenta;
    });
    cell.CutOutside(0, 0, shape);
  }
  return image;
}

Bitmap24 GroupTopImage() {
  Bitmap24 image = Blank(64, 19);
  Raster r(image);
  const Shape shape = Shape::Rounded(64, 20, {2, 1}, {2, 1}, {}, {});
  r.PaintShape(0, 0, shape, P().shadow, [&](int px, int py, int d) {
    if (d == 2 && shape.FacesTopLeft(px, py)) return P().light;
    return Mix(Rgb{164, 165, 178}, P().face, py / 18.0);
  });
  r.CutOutside(0, 0, shape);
  return image;
}

Bitmap24 TabBorderImage() {
  Bitmap24 image(29, 28, RgbPixel(145, 146, 159));
  Raster r(image);
  const Shape shape = Shape::Rounded(29, 28, {1});
  r.PaintShape(0, 0, shape, P().shadow, [&](int px, int py, int d) {
    if (d == 2) return shape.FacesTopLeft(px, py) ? Rgb{190, 191, 203} : Rgb{126, 127, 141};
    return P().face;
  });
  r.CutOutside(0, 0, shape);
  return image;
}

// Tabs: normal, selected (focused), hot, disabled, pressed.
Bitmap24 TabsImage() {
  Bitmap24 image = Blank(200, 19);
  Raster r(image);
  for (int i = 0; i < 5; ++i) {
    Raster cell = r.Cell(i, 5);
    const bool selected = i == 1 || i == 4;
    const Shape shape = Shape::Rounded(40, selected ? 21 : 19, {2, 1}, {2, 1}, {}, {});
    Rgb top{134, 135, 149}, bottom{126, 127, 141};
    if (selected) top = bottom = P().face;
    if (i == 2) top = {164, 165, 178}, bottom = {150, 151, 164};
    if (i == 3) top = bottom = {138, 139, 151};
    const Rgb outline = i == 3 ? Rgb{120, 122, 136} : P().shadow;
    cell.PaintShape(0, 0, shape, outline, [&](int px, int py, int d) {
      if (selected && py >= 1 && py <= 2) return P().accent;
      if (d == 2 && shape.FacesTopLeft(px, py)) return selected ? P().light : Shade(top, 0.18);
      return Mix(top, bottom, py / 18.0);
    });
    cell.CutOutside(0, 0, shape);
    if (selected) {
      // The selected tab opens into the page below it.
      for (int x = 1; x < 39; ++x) cell.Set(x, 18, P().face);
    }
  }
  return image;
}

// ---------------------------------------------------------------------------------------------
// Status bar panels: lowered, raised, flat.

Bitmap24 StatusImage() {
  Bitmap24 image(111, 25, RgbPixel(145, 146, 159));
  Raster r(image);
  for (int i = 0; i < 3; ++i) {
    Raster cell = r.Cell(i, 3);
    cell.Fill(P().face);
    if (i == 2) continue;
    const Rgb topLeft = i == 0 ? P().shadow : P().light;
    const Rgb bottomRight = i == 0 ? P().light : P().shadow;
    cell.HLine(0, cell.Width() - 1, 0, topLeft);
    cell.VLine(0, 0, cell.Height() - 1, topLeft);
    cell.HLine(1, cell.Width() - 1, cell.Height() - 1, bottomRight);
    cell.VLine(cell.Width() - 1, 1, cell.Height() - 1, bottomRight);
  }
  return image;
}

// ---------------------------------------------------------------------------------------------
// Combo box: the drop-down button, the sunken ring around the box, the arrow glyph.

Bitmap24 ComboImage() {
  Bitmap24 image = Blank(72, 21);
  Raster r(image);
  const Look looks[] = {Look::Normal, Look::Pressed, Look::Disabled, Look::Hot};
  for (int i = 0; i < 4; ++i) {
    Raster cell = r.Cell(i, 4);
    DrawPlate(cell, 0, 0, Shape::Rounded(18, 21, {1}), looks[i]);
  }
  return image;
}

Bitmap24 SunkEdgeImage() {
  Bitmap24 image(22, 21, RgbPixel(244, 245, 249));
  Raster r(image);
  const Rgb outlines[] = {{104, 107, 124}, P().accent, {150, 151, 163}, P().accent};
  const Rgb inner[] = {P().field, P().field, {204, 205, 213}, {226, 230, 244}};
  for (int i = 0; i < 4; ++i) {
    Raster cell = r.Part(i * 5, 0, 5, 21);
    cell.Fill(inner[i]);
    cell.RectOutline(0, 0, 5, 21, outlines[i]);
  }
  return image;
}

Rgb GlyphInk(Look look) {
  switch (look) {
    case Look::Disabled: return {132, 134, 148};
    case Look::Hot: return P().accentDark;
    case Look::Pressed: return {20, 22, 34};
    default: return {40, 44, 64};
  }
}

// The drop-down arrow (normal, pressed, disabled, hot) and the status bar's size grip.
Bitmap24 ExtraImage() {
  Bitmap24 image = Blank(80, 16);
  Raster r(image);
  const Look looks[] = {Look::Normal, Look::Pressed, Look::Disabled, Look::Hot};
  for (int i = 0; i < 4; ++i) {
    const int shift = looks[i] == Look::Pressed ? 1 : 0;
    DrawArrow(r.Cell(i, 5), 7 + shift, 8 + shift, Direction::Down, GlyphInk(looks[i]));
  }
  Raster grip = r.Cell(4, 5);
  for (int row = 0; row < 4; ++row) {
    for (int col = 3 - row; col < 4; ++col) {
      const int x = 3 + col * 3;
      const int y = 3 + row * 3;
      grip.Set(x, y, P().light);
      grip.Set(x + 1, y + 1, P().shadow);
    }
  }
  return image;
}

// ---------------------------------------------------------------------------------------------
// List headers: normal, pressed, hot, disabled, sorted.

Bitmap24 HeaderImage() {
  Bitmap24 image = Blank(320, 17);
  Raster r(image);
  for (int i = 0; i < 5; ++i) {
    Raster cell = r.Cell(i, 5);
    Rgb top{204, 205, 216}, bottom{176, 177, 190};
    if (i == 1) std::swap(top, bottom), top = Shade(top, -0.08), bottom = Shade(bottom, -0.04);
    if (i == 2) top = {222, 224, 234}, bottom = {192, 195, 212};
    if (i == 3) top = bottom = {180, 181, 192};
    cell.VGradient(0, 0, cell.Width(), cell.Height(), top, bottom);
    cell.HLine(0, cell.Width() - 1, 0, Shade(top, 0.35));
    cell.HLine(0, cell.Width() - 1, cell.Height() - 1, P().shadow);
    cell.VLine(cell.Width() - 2, 3, cell.Height() - 4, Rgb{132, 134, 150});
    cell.VLine(cell.Width() - 1, 3, cell.Height() - 4, Shade(top, 0.35));
    if (i == 4) cell.HLine(0, cell.Width() - 1, cell.Height() - 2, P().accent);
  }
  return image;
}

// ---------------------------------------------------------------------------------------------
// Menus: item cells (normal, separator, disabled selected, selected, default selected) and the
// popup window's background with its border and the glyph gutter.

inline constexpr Rgb kMenu{240, 241, 246};
inline constexpr Rgb kGutter{218, 220, 230};

Bitmap24 MenuItemImage() {
  Bitmap24 image = Blank(620, 16);
  Raster r(image);
  Raster separator = r.Cell(1, 5);
  separator.HLine(2, separator.Width() - 3, 11, Rgb{182, 184, 198});
  separator.HLine(2, separator.Width() - 3, 12, Rgb{255, 255, 255});
  const Shape shape = Shape::Rounded(124, 16, {2, 1});
  for (int i : {2, 3, 4}) {
    Raster cell = r.Cell(i, 5);
    Rgb outline = P().accentDark, top{110, 128, 180}, bottom{84, 101, 154}, rim{140, 158, 206};
    if (i == 2) outline = {176, 178, 192}, top = {214, 216, 226}, bottom = {206, 208, 219}, rim = {228, 229, 236};
    if (i == 4) top = Shade(top, 0.08), bottom = Shade(bottom, 0.08);
    cell.PaintShape(0, 0, shape, outline, [&](int px, int py, int d) {
      if (d == 2 && shape.FacesTopLeft(px, py)) return rim;
      return Mix(top, bottom, py / 15.0);
    });
    cell.CutOutside(0, 0, shape);
  }
  return image;
}

inline constexpr int kGutterEnd = 23;  // the gutter runs from x 3 to 22, its edge at 23 and 24

Bitmap24 MenuBackImage() {
  Bitmap24 image(128, 128, RgbPixel(kMenu.r, kMenu.g, kMenu.b));
  Raster r(image);
  r.FillRect(3, 1, kGutterEnd - 3, 126, kGutter);
  r.VLine(kGutterEnd, 1, 126, Rgb{200, 202, 214});
  r.VLine(kGutterEnd + 1, 1, 126, Rgb{252, 252, 254});
  r.RectOutline(0, 0, 128, 128, Rgb{84, 90, 114});
  return image;
}

Bitmap24 MenuBarImage() {
  Bitmap24 image(334, 36, RgbPixel(145, 146, 159));
  Raster r(image);
  for (int i = 0; i < 2; ++i) {
    Raster cell = r.StackedCell(i, 2);
    cell.Fill(P().face);
    cell.HLine(0, cell.Width() - 1, cell.Height() - 2, P().shadow);
    cell.HLine(0, cell.Width() - 1, cell.Height() - 1, Rgb{170, 171, 184});
  }
  return image;
}

// ---------------------------------------------------------------------------------------------
// Scroll bars: arrow buttons (left, right, up, down; each normal, pressed, hot, disabled), the size
// box and spare plates; the tracks; the thumbs (normal, dragged, hot).

Bitmap24 ArrowsImage() {
  Bitmap24 image = Blank(368, 16);
  Raster r(image);
  const Look looks[] = {Look::Normal, Look::Pressed, Look::Hot, Look::Disabled};
  const Shape shape = Shape::Rounded(16, 16, {1});
  for (int direction = 0; direction < 4; ++direction) {
    for (int s = 0; s < 4; ++s) {
      Raster cell = r.Cell(direction * 4 + s, 23);
      DrawPlate(cell, 0, 0, shape, looks[s], direction >= 2);
      const int shift = looks[s] == Look::Pressed ? 1 : 0;
      DrawArrow(cell, 7 + shift, 7 + shift, static_cast<Direction>(direction), GlyphInk(looks[s]));
    }
  }
  Raster sizeBox = r.Cell(16, 23);
  sizeBox.Fill(P().face);
  for (int i = 0; i < 3; ++i) {
    sizeBox.Set(12 - i * 3, 12, P().light);
    sizeBox.Set(13 - i * 3, 13, P().shadow);
    sizeBox.Set(12, 12 - i * 3, P().light);
    sizeBox.Set(13, 13 - i * 3, P().shadow);
  }
  const Look spare[] = {Look::Normal, Look::Pressed, Look::Hot, Look::Disabled, Look::Normal, Look::Normal};
  for (int i = 0; i < 6; ++i) DrawPlate(r.Cell(17 + i, 23), 0, 0, shape, spare[i]);
  return image;
}

Bitmap24 TrackImage(bool vertical) {
  Bitmap24 image = Blank(64, 16);
  Raster r(image);
  const Rgb fills[] = {{128, 129, 143}, {116, 117, 131}, {152, 153, 165}, {136, 137, 151}};
  for (int i = 0; i < 4; ++i) {
    Raster cell = r.Cell(i, 4);
    cell.Fill(fills[i]);
    const Rgb line = Shade(fills[i], -0.14);
    if (vertical) {
      cell.VLine(0, 0, 15, line);
      cell.VLine(15, 0, 15, Shade(fills[i], 0.1));
    } else {
      cell.HLine(0, 15, 0, line);
      cell.HLine(0, 15, 15, Shade(fills[i], 0.1));
    }
  }
  return image;
}

Bitmap24 ThumbImage(bool vertical) {
  Bitmap24 image = Blank(48, 16);
  Raster r(image);
  const Look looks[] = {Look::Normal, Look::Default, Look::Hot};
  const Shape shape = Shape::Rounded(16, 16, {2, 1});
  for (int i = 0; i < 3; ++i) {
    Raster cell = r.Cell(i, 3);
    DrawPlate(cell, 0, 0, shape, looks[i], vertical);
    if (i == 1) {
      // Dragged: the thumb takes the accent colour.
      cell.PaintShape(0, 0, shape, P().accentDark, [&](int px, int py, int d) {
        if (d == 2 && shape.FacesTopLeft(px, py)) return Rgb{186, 200, 236};
        const double t = (vertical ? px : py) / 15.0;
        return Mix(Rgb{160, 176, 222}, Rgb{120, 138, 194}, t);
      });
      cell.CutOutside(0, 0, shape);
    }
  }
  return image;
}

// MDI child buttons in a menu bar: minimise, restore, close; each normal, pressed, hot, hot.
Bitmap24 MdiButtonImage() {
  const auto look = [](MdiLook l) {
    return l == MdiLook::Normal ? Look::Normal : l == MdiLook::Pressed ? Look::Pressed : Look::Hot;
  };
  return MdiButtonStrip(11, 12, {3, 8, 5, 1, 4, 2, 2, 5, 5, 4, 3, 3, 5},
                        [&](MdiLook l) { return PlateFor(look(l)); }, [&](MdiLook l) { return GlyphInk(look(l)); });
}

// The program's mark, for dialogs: the slate tile with a lid drawn over an eye.
Bitmap24 DialogImage() {
  Bitmap24 image = Blank(32, 32);
  Raster r(image);
  const Shape tile = Shape::Rounded(32, 32, {4, 2, 1, 1});
  r.PaintShape(0, 0, tile, P().accentDark, [&](int px, int py, int d) {
    if (d == 2 && tile.FacesTopLeft(px, py)) return Rgb{128, 146, 198};
    return Mix(Rgb{104, 124, 182}, P().accent, py / 31.0);
  });
  r.CutOutside(0, 0, tile);
  const Rgb ink{232, 236, 247};
  r.Pattern(6, 10, {"....########....",
                    "..###......###..",
                    ".##..........##.",
                    "##............##"},
            {{'#', ink}});
  r.Pattern(6, 11, {"....########....",
                    "..###......###.."},
            {{'#', ink}});
  r.PaintShape(12, 15, Shape::Disc(8), ink, [&](int, int, int) { return ink; });
  return image;
}

}  // namespace

const Palette& DefaultPalette() {
  static const Palette palette;
  return palette;
}

Bitmap24 DrawProgramMark() { return DialogImage(); }

std::vector<SkinImage> DrawImages() {
  std::vector<SkinImage> images;
  auto add = [&](std::string name, Bitmap24 image, int cells = 1, bool stacked = false) {
    images.push_back({std::move(name), std::move(image), cells, stacked});
  };

  Bitmap24 top = Blank(334, 2 * kTitleHeight);
  Bitmap24 bottom = Blank(334, 2 * kBottomHeight);
  Bitmap24 left = Blank(2 * kLeftWidth, 240);
  Bitmap24 right = Blank(2 * kRightWidth, 240);
  for (int i = 0; i < 2; ++i) {
    const Frame& f = i == 0 ? P().active : P().inactive;
    DrawTop(Raster(top).StackedCell(i, 2), f);
    DrawBottom(Raster(bottom).StackedCell(i, 2), f);
    DrawLeft(Raster(left).Cell(i, 2), f);
    DrawRight(Raster(right).Cell(i, 2), f);
  }
  add("top.bmp", std::move(top), 2, true);
  add("bottom.bmp", std::move(bottom), 2, true);
  add("left.bmp", std::move(left), 2);
  add("right.bmp", std::move(right), 2);
  add("menu.bmp", MenuBarImage(), 2, true);
  add("dialog.bmp", DialogImage());
  add("button.bmp", PushButtonImage(), 5);
  add("check.bmp", CheckImage(), 4);
  add("radio.bmp", RadioImage(), 4);
  add("progress.bmp", ProgressImage(), 2);
  add("groupboxedge.bmp", GroupBoxEdgeImage(), 2);
  add("taborders.bmp", TabBorderImage());
  add("tabs.bmp", TabsImage(), 5);
  add("status.bmp", StatusImage(), 3);
  add("combo.bmp", ComboImage(), 4);
  add("sunkedge.bmp", SunkEdgeImage(), 4);
  add("extra.bmp", ExtraImage(), 5);
  add("headerbar.bmp", HeaderImage(), 5);
  add("select.bmp", MenuItemImage(), 5);
  add("menuback.bmp", MenuBackImage());
  add("arrows.bmp", ArrowsImage(), 23);
  add("hscroll.bmp", TrackImage(false), 4);
  add("vscroll.bmp", TrackImage(true), 4);
  add("hscrollb.bmp", ThumbImage(false), 3);
  add("vscrollb.bmp", ThumbImage(true), 3);
  add("mdibutton.bmp", MdiButtonImage(), 12);
  add("grouptop.bmp", GroupTopImage());
  add("button-off-tool.bmp", TitleButtonImage(16, 15, TitleGlyph::Close), 6);
  add("button-max-tool.bmp", TitleButtonImage(15, 15, TitleGlyph::Maximise), 6);
  add("button-rollup-tool.bmp", RollupImage(), 6);
  add("button-min-tool.bmp", TitleButtonImage(15, 14, TitleGlyph::Minimise), 6);
  add("left_bullets.bmp", BulletsImage(), 6);
  return images;
}

}  // namespace qlt::art::slate

namespace qlt::art {

Bitmap24 DrawMenuGlyphs() {
  Bitmap24 image(64, 16, RgbPixel(255, 255, 255));
  Raster r(image);
  const Rgb ink{0, 0, 0};
  const Rgb paper{255, 255, 255};
  // Restore: two overlapping window outlines, the front one hiding the back one.
  Raster restore = r.Cell(0, 4);
  restore.RectOutline(5, 2, 8, 7, ink);
  restore.HLine(5, 12, 3, ink);
  restore.FillRect(2, 5, 8, 7, paper);
  restore.RectOutline(2, 5, 8, 7, ink);
  restore.HLine(2, 9, 6, ink);
  // Maximise: one window outline with a heavy title.
  Raster maximise = r.Cell(1, 4);
  maximise.RectOutline(2, 2, 11, 10, ink);
  maximise.HLine(2, 12, 3, ink);
  // Minimise: a short bar at the bottom.
  r.Cell(2, 4).FillRect(4, 10, 7, 2, ink);
  // Close: an X.
  Raster close = r.Cell(3, 4);
  for (int i = 0; i < 8; ++i) {
    close.FillRect(3 + i, 3 + i, 2, 1, ink);
    close.FillRect(10 - i, 3 + i, 2, 1, ink);
  }
  return image;
}

}  // namespace qlt::art
