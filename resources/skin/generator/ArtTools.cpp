#include "resources/skin/generator/ArtTools.h"

#include <algorithm>
#include <cmath>

namespace qlt::art {

Bitmap24 Blank(int width, int height) { return Bitmap24(width, height, RgbPixel(255, 0, 255)); }

void DrawArrow(Raster r, int cx, int cy, Direction direction, Rgb c, int size) {
  const int back = size / 2 - 1;  // the base lies this far behind the centre, the point ahead of it
  for (int i = 0; i < size; ++i) {
    const int half = size - 1 - i;
    switch (direction) {
      case Direction::Left:
        r.VLine(cx + back - i, cy - half, cy + half, c);
        break;
      case Direction::Right:
        r.VLine(cx - back - 1 + i, cy - half, cy + half, c);
        break;
      case Direction::Up:
        r.HLine(cx - half, cx + half, cy + back - i, c);
        break;
      case Direction::Down:
        r.HLine(cx - half, cx + half, cy - back - 1 + i, c);
        break;
    }
  }
}

std::vector<int> RoundProfile(int radius) {
  std::vector<int> profile;
  for (int k = 0; k < radius; ++k) {
    const double d = radius - k - 0.5;
    const int cut = static_cast<int>(std::lround(radius - std::sqrt(std::max(0.0, radius * radius - d * d))));
    if (cut <= 0) break;
    profile.push_back(cut);
  }
  return profile;
}

void DrawPlate(Raster r, int x, int y, const Shape& shape, const PlateColours& c, bool horizontalGradient) {
  const int w = shape.Width();
  const int h = shape.Height();
  r.PaintShape(x, y, shape, c.outline, [&](int px, int py, int depth) {
    const double t = horizontalGradient ? px / static_cast<double>(std::max(w - 1, 1))
                                        : py / static_cast<double>(std::max(h - 1, 1));
    const Rgb body = Mix(c.top, c.bottom, t);
    if (depth == 2) return shape.FacesTopLeft(px, py) ? c.highlight : c.lowlight;
    return body;
  });
  r.CutOutside(x, y, shape);
}

Bitmap24 MdiButtonStrip(int cellWidth, int cellHeight, const MdiGlyphLayout& g,
                        const std::function<PlateColours(MdiLook)>& plate, const std::function<Rgb(MdiLook)>& ink) {
  Bitmap24 image = Blank(12 * cellWidth, cellHeight);
  const MdiLook looks[] = {MdiLook::Normal, MdiLook::Pressed, MdiLook::Hot, MdiLook::Hot};
  const Shape shape = Shape::Rounded(cellWidth, cellHeight, {1});
  for (int button = 0; button < 3; ++button) {
    for (int s = 0; s < 4; ++s) {
      Raster cell = Raster(image).Cell(button * 4 + s, 12);
      const PlateColours colours = plate(looks[s]);
      DrawPlate(cell, 0, 0, shape, colours);
      const Rgb c = ink(looks[s]);
      const int d = looks[s] == MdiLook::Pressed ? 1 : 0;
      if (button == 0) {
        cell.FillRect(g.barX + d, g.barY + d, g.barWidth, g.barHeight, c);
      } else if (button == 1) {
        cell.RectOutline(g.backX + d, g.backY + d, g.windowWidth, g.windowHeight, c);
        cell.FillRect(g.frontX + d, g.frontY + d, g.windowWidth, g.windowHeight, colours.bottom);
        cell.RectOutline(g.frontX + d, g.frontY + d, g.windowWidth, g.windowHeight, c);
      } else {
        const int last = g.crossX + g.crossSteps - 1;
        for (int i = 0; i < g.crossSteps; ++i) {
          cell.Set(g.crossX + i + d, g.crossY + i + d, c);
          cell.Set(last - i + d, g.crossY + i + d, c);
        }
      }
    }
  }
  return image;
}

}  // namespace qlt::art
