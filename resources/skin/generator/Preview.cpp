#include "resources/skin/generator/Preview.h"

#include <algorithm>
#include <string>

#include "resources/skin/generator/PixelFont.h"

namespace qlt::art {
namespace {

Rgb ToRgb(Bgr p) { return {p.r, p.g, p.b}; }

bool IsMagenta(Bgr p) { return p == kSkinTransparent; }

// An RGB skin colour, or `fallback` for system colours and colours not given.
Rgb ColourOf(TColor c, Rgb fallback) {
  if (c < 0 || (static_cast<std::uint32_t>(c) & 0xFF000000u) != 0) return fallback;
  return {static_cast<std::uint8_t>(c & 0xFF), static_cast<std::uint8_t>((c >> 8) & 0xFF),
          static_cast<std::uint8_t>((c >> 16) & 0xFF)};
}

// Nearest-neighbour copy of a source rectangle onto a destination rectangle.
void StretchCopy(Bitmap24& dst, int dx, int dy, int dw, int dh, const Bitmap24& src, int sx, int sy, int sw, int sh) {
  if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return;
  for (int y = 0; y < dh; ++y) {
    const int ty = dy + y;
    if (ty < 0 || ty >= dst.Height()) continue;
    const int fy = std::clamp(sy + y * sh / dh, 0, src.Height() - 1);
    for (int x = 0; x < dw; ++x) {
      const int tx = dx + x;
      if (tx < 0 || tx >= dst.Width()) continue;
      dst.At(tx, ty) = src.At(std::clamp(sx + x * sw / dw, 0, src.Width() - 1), fy);
    }
  }
}

// Copies an image to (x, y), leaving the destination where the image is magenta.
void DrawTransparent(Bitmap24& dst, int x, int y, const Bitmap24& src, bool transparent = true) {
  for (int row = 0; row < src.Height(); ++row) {
    for (int col = 0; col < src.Width(); ++col) {
      const int tx = x + col;
      const int ty = y + row;
      if (tx < 0 || ty < 0 || tx >= dst.Width() || ty >= dst.Height()) continue;
      const Bgr p = src.At(col, row);
      if (transparent && IsMagenta(p)) continue;
      dst.At(tx, ty) = p;
    }
  }
}

// Cell `k` (1-based) of `n` cells side by side.
Bitmap24 CellOf(const Bitmap24& image, int n, int k) {
  const int w = image.Width() / std::max(n, 1);
  return image.Copy(w * (k - 1), 0, w, image.Height());
}

int TextWidth(std::string_view text, bool bold) {
  int w = 0;
  for (char c : text) w += static_cast<int>(Glyph(c).front().size()) + 1 + (bold ? 1 : 0);
  return w;
}

// A line of 13-pixel text: capitals 7 pixels high, their top 4 pixels below the line's top.
constexpr int kLineHeight = 13;
constexpr int kCapTop = 3;

void Text(Bitmap24& dst, int x, int y, std::string_view text, Rgb c, bool bold = false) {
  Raster(dst).Text(x, y + kCapTop, text, c, bold);
}

void TextCentred(Bitmap24& dst, int x, int y, int w, int h, std::string_view text, Rgb c, bool bold = false) {
  Text(dst, x + (w - TextWidth(text, bold)) / 2, y + (h - kLineHeight) / 2, text, c, bold);
}

void DrawSkinFrame(Bitmap24& dst, int x, int y, int w, int h, const TDataSkinObject& o, int cells, int cell) {
  const Bitmap24 piece = NineSlice(w, h, o.Image, o.LeftWidth, o.TopHeight, o.RightWidth, o.BottomHeight, false,
                                   o.Tile == 1, cells, cell);
  DrawTransparent(dst, x, y, piece, o.Trans == 1);
}

// ---------------------------------------------------------------------------------------------
// Windows.

struct MockWindow {
  int clientWidth = 371;
  int clientHeight = 301;
  bool active = true;
  bool maximiseBox = false;
  bool minimiseBox = false;
  std::string caption = "QLTZarnit2.32 - QLT";
  int hotAction = -100;      // the title button under the mouse
  bool controls = true;      // draw the main window's kind of content
};

bool VisibleA(int v, const TDataSkinSysButton& b, const MockWindow& m) {
  switch (v) {
    case 0: return b.Action != 0 || true;  // every mock window has a system menu
    case 1: return false;                  // never maximised here
    case 2: return true;
    case 3: return m.active;
    case 4: return !m.active;
    case 6: return m.maximiseBox;
    case 7: return !m.maximiseBox;
    case 8: return m.minimiseBox;
    case 9: return !m.minimiseBox;
    default: return v >= 200 && v <= 2000;
  }
}

bool VisibleB(int v, const TDataSkinSysButton& b, const MockWindow& m) {
  switch (v) {
    case 0: return true;
    case 6: return m.maximiseBox;
    case 8: return m.minimiseBox;
    case 100: return false;
    default: return VisibleA(v, b, m);
  }
}

bool ButtonVisible(const TDataSkinSysButton& b, const MockWindow& m) {
  if (b.Visibility == 100) return false;
  bool visible = VisibleA(b.Visibility, b, m) && VisibleB(b.Visibility1, b, m);
  if (b.Action == 1 && !m.maximiseBox) visible = false;
  if (b.Action == 2 && !m.minimiseBox) visible = false;
  return visible;
}

void DrawClient(Bitmap24& win, const TSkinContent& s, int x0, int y0, int w, int h, bool active);

// The window with its shape: `inside` marks the pixels of the window's region.
Bitmap24 RenderWindow(const TSkinContent& s, const Bitmap24& icon, const MockWindow& m, std::vector<bool>& inside) {
  const TDataSkinBorder& L = *s.LeftBorder;
  const TDataSkinBorder& R = *s.RightBorder;
  const TDataSkinBorder& T = *s.TopBorder;
  const TDataSkinBorder& B = *s.BottomBorder;
  const int left = L.Image.Width() / L.Frame;
  const int right = R.Image.Width() / R.Frame;
  const int top = T.Image.Height() / T.Frame;
  const int bottom = B.Image.Height() / B.Frame;
  const int w = m.clientWidth + left + right;
  const int h = m.clientHeight + top + bottom;
  Bitmap24 win(w, h, RgbPixel(s.ButtonFaceColour & 0xFF, (s.ButtonFaceColour >> 8) & 0xFF,
                              (s.ButtonFaceColour >> 16) & 0xFF));
  inside.assign(static_cast<std::size_t>(w * h), true);
  auto edge = [&](const TDataSkinBorder& e, int x, int y, int ew, int eh, bool stacked) {
    const int k = (m.active || e.Frame < 2) ? 1 : 2;
    const Bitmap24 piece = NineSlice(ew, eh, e.Image, e.LeftWidth, e.TopHeight, e.RightWidth, e.BottomHeight, stacked,
                                     e.Tile != 1, e.Frame, k);
    DrawTransparent(win, x, y, piece, false);
    if (e.Trans != 1) return;
    for (int row = 0; row < piece.Height(); ++row) {
      for (int col = 0; col < piece.Width(); ++col) {
        if (IsMagenta(piece.At(col, row))) inside[static_cast<std::size_t>((y + row) * w + x + col)] = false;
      }
    }
  };
  edge(L, 0, 0, left, h, false);
  edge(R, w - right, 0, right, h, false);
  edge(B, left, h - bottom, w - left - right, bottom, true);
  edge(T, left, 0, w - left - right, top, true);

  // Caption, as the frame painter places it.
  const TDataSkinTitle& title = *s.Title;
  const std::string text = "  " + m.caption;
  const int tLeft = left;
  const int tRight = w - right;
  const int dy = (top - kLineHeight) / 2 + title.TopHeight / 2;
  const int textLeft = tLeft + title.LeftWidth;
  const int clip = tRight - title.RightWidth;
  Bitmap24 caption(std::max(clip - textLeft, 0), kLineHeight, RgbPixel(255, 0, 255));
  Text(caption, 0, 0, text,
       ColourOf(m.active ? s.TitleTextActiveColour : s.TitleTextNoActiveColour, {255, 255, 255}), true);
  DrawTransparent(win, textLeft, dy, caption);

  // Title buttons.
  for (const auto& b : s.SysButtons) {
    if (!ButtonVisible(*b, m)) continue;
    if (b->Action == 3 || b->Action == 11) {
      DrawTransparent(win, b->Xcoord, b->Ycoord, icon);
      continue;
    }
    if (b->Image.Empty()) continue;
    const int cellWidth = b->Image.Width() / b->Frame;
    int x = b->Xcoord;
    if (b->Align == 1) x = w - b->Xcoord;
    else if (b->Align == 2 || b->Align == 8) x = textLeft - cellWidth - b->Xcoord;
    else if (b->Align != 0) x = 0;
    int cell = (m.active || b->Frame < 4) ? 1 : 4;
    if (b->Action == m.hotAction) cell = 3;
    const Bitmap24 piece = CellOf(b->Image, b->Frame, cell);
    // Buttons are painted into the title bar only.
    DrawTransparent(win, x, b->Ycoord, piece.Copy(0, 0, piece.Width(), std::max(0, top - b->Ycoord)));
  }
  if (m.controls) DrawClient(win, s, left, top, m.clientWidth, m.clientHeight, m.active);
  return win;
}

// A little of what QLT's main window holds: tabs with two lists, options and buttons.
void DrawClient(Bitmap24& win, const TSkinContent& s, int x0, int y0, int w, int h, bool active) {
  const Rgb text = ColourOf(s.ButtonTextColour, {0, 0, 0});
  const Rgb shadow = ColourOf(s.ButtonShadowColour, {128, 128, 128});
  const Rgb white{255, 255, 255};
  Raster r(win);
  // Page control: two tabs on top of a page border.
  const int pageTop = y0 + 26;
  const int pageHeight = 196;
  if (s.Tabs) {
    const TDataSkinBorder& tabs = *s.Tabs;
    Bitmap24 border = NineSlice(w - 8, pageHeight, tabs.Image2, 4, 5, 4, 4, false, false, 1, 1);
    // The page border's centre is not drawn.
    for (int y = 5; y < pageHeight - 4; ++y) {
      for (int x = 4; x < w - 12; ++x) border.At(x, y) = kSkinTransparent;
    }
    DrawTransparent(win, x0 + 4, pageTop, border);
    DrawSkinFrame(win, x0 + 6, pageTop - 19, 64, 20, tabs, 5, 1);
    DrawSkinFrame(win, x0 + 70, pageTop - 19, 52, 20, tabs, 5, 1);
    DrawSkinFrame(win, x0 + 4, pageTop - 21, 64, 23, tabs, 5, 2);
    TextCentred(win, x0 + 4, pageTop - 20, 64, 20, "Programs", text);
    TextCentred(win, x0 + 70, pageTop - 18, 52, 19, "Options", ColourOf(tabs.NormalColour2, text));
  }
  // Two lists; the first with a vertical scroll bar.
  for (int i = 0; i < 2; ++i) {
    const int lx = x0 + 12 + i * 176;
    const int ly = pageTop + 12;
    const int lw = 164;
    const int lh = 172;
    r.FillRect(lx, ly, lw, lh, {255, 255, 255});
    r.RectOutline(lx, ly, lw, lh, shadow);
    const char* names[2][5] = {{"explorer.exe", "notepad.exe", "winemine.exe", "qlt.exe", "services.exe"},
                               {"notepad.exe", "winemine.exe", "", "", ""}};
    for (int row = 0; row < 5; ++row) {
      if (!*names[i][row]) continue;
      const bool selected = i == 0 && row == 1;
      if (selected) r.FillRect(lx + 2, ly + 2 + row * 14, lw - 20, 14, ColourOf(s.HilightColour, {0, 0, 128}));
      Text(win, lx + 4, ly + 3 + row * 14, names[i][row], selected ? ColourOf(s.HilightTextColour, white) : text);
    }
    if (i == 0 && s.Scrollbar && s.VertScroll && s.VertScrollThumb) {
      const int bx = lx + lw - 17;
      const int by = ly + 1;
      const int bh = lh - 2;
      r.FillRect(bx, by, 16, bh, ColourOf(s.ScrollbarColour, {200, 200, 200}));
      DrawSkinFrame(win, bx, by + 16, 16, bh - 32, *s.VertScroll, 4, 1);
      DrawTransparent(win, bx, by, CellOf(s.Scrollbar->Image, 23, 9));
      DrawTransparent(win, bx, by + bh - 16, CellOf(s.Scrollbar->Image, 23, 14));
      const TDataSkinObject& thumb = *s.VertScrollThumb;
      DrawTransparent(win, bx, by + 30,
                      NineSlice(16, 54, thumb.Image, thumb.LeftWidth, thumb.TopHeight, thumb.RightWidth,
                                thumb.BottomHeight, false, false, thumb.Frame, 1));
    }
  }
  // Options below the page.
  const int oy = pageTop + pageHeight + 10;
  const TDataSkinButton& buttons = *s.Buttons;
  DrawTransparent(win, x0 + 12, oy + 1, CellOf(buttons.CheckImage, buttons.CheckFrame, 2));
  Text(win, x0 + 30, oy, "Start with Windows", text);
  DrawTransparent(win, x0 + 12, oy + 21, CellOf(buttons.RadioImage, buttons.RadioFrame, 2));
  Text(win, x0 + 30, oy + 20, "Hide", text);
  DrawTransparent(win, x0 + 80, oy + 21, CellOf(buttons.RadioImage, buttons.RadioFrame, 1));
  Text(win, x0 + 98, oy + 20, "Translucent", text);
  DrawTransparent(win, x0 + 180, oy + 21, CellOf(buttons.RadioImage, buttons.RadioFrame, 3));
  Text(win, x0 + 198, oy + 20, "Close", shadow);
  // Buttons: default, hot, normal, disabled.
  const int by = y0 + h - 34;
  const char* captions[] = {"Show", "Hide", "Hotkey", "Apply"};
  const int looks[] = {5, active ? 4 : 1, 1, 3};
  for (int i = 0; i < 4; ++i) {
    const int bx = x0 + 12 + i * 88;
    DrawSkinFrame(win, bx, by, 80, 25, buttons, 5, looks[i]);
    TextCentred(win, bx, by, 80, 25, captions[i], looks[i] == 3 ? shadow : text);
  }
}

// A popup menu like the tray menu, with one item selected and one disabled.
Bitmap24 RenderMenu(const TSkinContent& s) {
  const int w = 150;
  const char* items[] = {"Show window", "Switch IP address", "-", "Forum", "Web site", "-", "Exit"};
  const int count = static_cast<int>(std::size(items));
  int h = 6;
  for (const char* item : items) h += std::string_view(item) == "-" ? 8 : 20;
  const Rgb menu = ColourOf(s.MenuColour, {255, 255, 255});
  Bitmap24 out(w, h, RgbPixel(menu.r, menu.g, menu.b));
  if (s.MenuBackground) {
    const TDataSkinObject& back = *s.MenuBackground;
    out = NineSlice(w, h, back.Image, back.LeftWidth, back.TopHeight, back.RightWidth, back.BottomHeight, false,
                    back.Tile == 1, 1, 1);
  }
  int y = 3;
  for (int i = 0; i < count; ++i) {
    const std::string_view caption = items[i];
    const int ih = caption == "-" ? 8 : 20;
    const TDataSkinObject* item = s.MenuItem.get();
    if (caption == "-") {
      if (item) {
        const Bitmap24 cell = CellOf(item->Image, item->Frame, 2);
        const Bitmap24 rows = cell.Copy(0, cell.Height() - ih, cell.Width(), ih);
        DrawTransparent(out, 3, y, NineSlice(w - 6, ih, rows, item->LeftWidth, 0, item->RightWidth, 0, false, false, 1, 1));
      }
    } else {
      const bool selected = i == 1;
      const bool disabled = i == 4;
      if (selected && item) {
        DrawTransparent(out, 3, y, NineSlice(w - 6, ih, item->Image, item->LeftWidth, item->TopHeight, item->RightWidth,
                                             item->BottomHeight, false, item->Tile == 1, item->Frame, 4));
      }
      Rgb colour = ColourOf(selected ? s.HilightTextColour : s.MenuTextColour, {0, 0, 0});
      if (disabled) colour = ColourOf(s.ButtonShadowColour, {128, 128, 128});
      const int textLeft = 3 + 1 + (item ? item->LeftWidth : 0) + 16 + 3;
      Text(out, textLeft, y + (ih - kLineHeight) / 2, caption, colour, i == 0);
    }
    y += ih;
  }
  return out;
}

Bitmap24 SmallIcon(const Bitmap24& dialogMark) {
  Bitmap24 icon(16, 16, RgbPixel(255, 0, 255));
  if (dialogMark.Width() == 32 && dialogMark.Height() == 32) StretchCopy(icon, 0, 0, 16, 16, dialogMark, 0, 0, 32, 32);
  return icon;
}

void Place(Bitmap24& canvas, int x, int y, const Bitmap24& win, const std::vector<bool>& inside) {
  for (int row = 0; row < win.Height(); ++row) {
    for (int col = 0; col < win.Width(); ++col) {
      if (!inside[static_cast<std::size_t>(row * win.Width() + col)]) continue;
      const int tx = x + col;
      const int ty = y + row;
      if (tx >= 0 && ty >= 0 && tx < canvas.Width() && ty < canvas.Height()) canvas.At(tx, ty) = win.At(col, row);
    }
  }
}

void Label(Bitmap24& canvas, int x, int y, std::string_view text) {
  Raster(canvas).Text(x, y, text, {226, 230, 238});
}

}  // namespace

Bitmap24 NineSlice(int width, int height, const Bitmap24& image, int left, int top, int right, int bottom,
                   bool stackedCells, bool tile, int cells, int cell) {
  Bitmap24 out(width, height);
  if (image.Empty() || width <= 0 || height <= 0 || cells < 1) return out;
  const int cw = stackedCells ? image.Width() : image.Width() / cells;
  const int ch = stackedCells ? image.Height() / cells : image.Height();
  const int cx = stackedCells ? 0 : cw * (cell - 1);
  const int cy = stackedCells ? ch * (cell - 1) : 0;
  if (width < left + right) left = right = 0;
  if (height < top + bottom) top = bottom = 0;
  const int mw = cw - left - right;
  const int mh = ch - top - bottom;
  const int dmw = width - left - right;
  const int dmh = height - top - bottom;
  auto piece = [&](int dx, int dy, int dw, int dh, int sx, int sy, int sw, int sh) {
    StretchCopy(out, dx, dy, dw, dh, image, cx + sx, cy + sy, sw, sh);
  };
  piece(0, 0, left, top, 0, 0, left, top);
  piece(0, height - bottom, left, bottom, 0, ch - bottom, left, bottom);
  piece(width - right, 0, right, top, cw - right, 0, right, top);
  piece(0, top, left, dmh, 0, top, left, mh);
  piece(left, 0, dmw, top, left, 0, mw, top);
  if (tile && mw > 0 && mh > 0) {
    const Bitmap24 centre = image.Copy(cx + left, cy + top, mw, mh);
    for (int y = top; y < top + dmh; y += mh) {
      for (int x = left; x < left + dmw; x += mw) DrawTransparent(out, x, y, centre, false);
    }
  } else {
    piece(left, top, dmw, dmh, left, top, mw, mh);
  }
  piece(width - right, height - bottom, right, bottom, cw - right, ch - bottom, right, bottom);
  piece(width - right, top, right, dmh, cw - right, top, right, mh);
  piece(left, height - bottom, dmw, bottom, left, ch - bottom, mw, bottom);
  return out;
}

Bitmap24 ContactSheet(const std::vector<SkinImage>& images, const Bitmap24& menuGlyphs) {
  constexpr int kScale = 2;
  constexpr int kWidth = 1480;
  constexpr int kMargin = 16;
  const Rgb background{60, 63, 74};
  const Rgb checkA{200, 200, 206};
  const Rgb checkB{232, 232, 236};
  struct Item {
    std::string label;
    const Bitmap24* image;
    int cells;
    bool stacked;
  };
  std::vector<Item> items;
  for (const SkinImage& i : images) {
    items.push_back({i.name + "  " + std::to_string(i.image.Width()) + "x" + std::to_string(i.image.Height()) + "  " +
                         std::to_string(i.cells) + (i.cells == 1 ? " cell" : " cells") + (i.stacked ? " stacked" : ""),
                     &i.image, i.cells, i.stacked});
  }
  items.push_back({"menu glyphs (resource)  64x16  4 cells", &menuGlyphs, 4, false});

  // Flow layout: each item is a label over its picture at twice the size.
  struct Placed {
    int x, y;
  };
  std::vector<Placed> placed;
  int x = kMargin, y = kMargin + 24, rowHeight = 0;
  for (const Item& item : items) {
    const int w = std::max(item.image->Width() * kScale, TextWidth(item.label, false));
    const int h = 14 + item.image->Height() * kScale + 8;
    if (x + w > kWidth - kMargin) {
      x = kMargin;
      y += rowHeight + 14;
      rowHeight = 0;
    }
    placed.push_back({x, y});
    x += w + 24;
    rowHeight = std::max(rowHeight, h);
  }
  Bitmap24 sheet(kWidth, y + rowHeight + kMargin, RgbPixel(background.r, background.g, background.b));
  Raster r(sheet);
  r.Text(kMargin, kMargin, "QLT default skin: every bitmap at twice its size; magenta shown as a chequer; red ticks mark the cells",
         {240, 242, 248});
  for (std::size_t n = 0; n < items.size(); ++n) {
    const Item& item = items[n];
    const int px = placed[n].x;
    const int py = placed[n].y;
    Label(sheet, px, py, item.label);
    const int top = py + 14;
    const Bitmap24& image = *item.image;
    for (int iy = 0; iy < image.Height(); ++iy) {
      for (int ix = 0; ix < image.Width(); ++ix) {
        const Bgr p = image.At(ix, iy);
        for (int sy = 0; sy < kScale; ++sy) {
          for (int sx = 0; sx < kScale; ++sx) {
            const int tx = px + ix * kScale + sx;
            const int ty = top + iy * kScale + sy;
            const Rgb chequer = ((tx / 4 + ty / 4) % 2) ? checkA : checkB;
            r.Set(tx, ty, IsMagenta(p) ? chequer : ToRgb(p));
          }
        }
      }
    }
    const Rgb tick{230, 70, 70};
    for (int c = 1; c < item.cells; ++c) {
      if (item.stacked) {
        const int ty = top + c * (image.Height() / item.cells) * kScale;
        r.HLine(px - 5, px - 2, ty, tick);
      } else {
        const int tx = px + c * (image.Width() / item.cells) * kScale;
        r.VLine(tx, top + image.Height() * kScale + 1, top + image.Height() * kScale + 4, tick);
      }
    }
  }
  return sheet;
}

Bitmap24 FrameMockup(const TSkinContent& skin, const Bitmap24& programMark) {
  const Bitmap24 icon = SmallIcon(programMark);
  Bitmap24 canvas(1240, 900);
  Raster r(canvas);
  r.VGradient(0, 0, canvas.Width(), canvas.Height(), {44, 60, 84}, {70, 92, 118});
  r.Text(16, 12, "QLT default skin: windows composed from the skin objects as the frame painter composes them",
         {240, 242, 248});

  std::vector<bool> inside;
  MockWindow main;
  Label(canvas, 20, 34, "main window, active (close box only)");
  const Bitmap24 active = RenderWindow(skin, icon, main, inside);
  Place(canvas, 20, 48, active, inside);

  MockWindow inactive = main;
  inactive.active = false;
  Label(canvas, 40 + active.Width(), 34, "main window, inactive");
  Place(canvas, 40 + active.Width(), 48, RenderWindow(skin, icon, inactive, inside), inside);

  MockWindow sizable;
  sizable.clientWidth = 300;
  sizable.clientHeight = 90;
  sizable.maximiseBox = sizable.minimiseBox = true;
  sizable.caption = "All title buttons";
  sizable.controls = false;
  const int y2 = 48 + active.Height() + 36;
  Label(canvas, 20, y2 - 14, "minimise, maximise, close; close hot");
  sizable.hotAction = 0;
  const Bitmap24 three = RenderWindow(skin, icon, sizable, inside);
  Place(canvas, 20, y2, three, inside);
  sizable.hotAction = 1;
  Label(canvas, 40 + three.Width(), y2 - 14, "maximise hot");
  Place(canvas, 40 + three.Width(), y2, RenderWindow(skin, icon, sizable, inside), inside);
  sizable.hotAction = -100;
  sizable.active = false;
  const int y3 = y2 + three.Height() + 36;
  Label(canvas, 20, y3 - 14, "inactive");
  Place(canvas, 20, y3, RenderWindow(skin, icon, sizable, inside), inside);

  const Bitmap24 menu = RenderMenu(skin);
  Label(canvas, 60 + 2 * three.Width(), y2 - 14, "popup menu");
  DrawTransparent(canvas, 60 + 2 * three.Width(), y2, menu, false);
  return canvas;
}

}  // namespace qlt::art
