#include "resources/skin/generator/Preview.h"

#include <algorithm>
#include <string>

#include "resources/skin/generator/PixelFont.h"
#include "skin/data/StateCells.h"

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

Bgr PixelOf(Rgb c) { return RgbPixel(c.r, c.g, c.b); }

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

// Cell `k` drawn centred in (x, y, w, h) at its own size, magenta transparent.
void DrawCellCentred(Bitmap24& dst, int x, int y, int w, int h, const Bitmap24& image, int n, int k) {
  const Bitmap24 cell = CellOf(image, n, k);
  DrawTransparent(dst, x + (w - cell.Width()) / 2, y + (h - cell.Height()) / 2, cell);
}

// Cell `k` stretched into (x, y, w, h), magenta transparent (the engine's DrawCell).
void DrawCell(Bitmap24& dst, int x, int y, int w, int h, const Bitmap24& image, int n, int k) {
  if (image.Empty() || w <= 0 || h <= 0) return;
  const Bitmap24 cell = CellOf(image, n, k);
  Bitmap24 piece(w, h);
  StretchCopy(piece, 0, 0, w, h, cell, 0, 0, cell.Width(), cell.Height());
  DrawTransparent(dst, x, y, piece);
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

// The frame painter's three-part strip: cell `k` of `n` (stacked or side by side), its fixed left
// and right parts at the ends, its middle repeated at its own width between them, every piece
// stretched to the destination's height; magenta left out when `transparent`.
void DrawStrip(Bitmap24& dst, int x, int y, int w, int h, const Bitmap24& image, bool stacked, bool transparent, int n,
               int k, int fixedLeft, int fixedRight) {
  if (image.Empty() || w <= 0 || h <= 0 || n < 1) return;
  const int cw = stacked ? image.Width() : image.Width() / n;
  const int ch = stacked ? image.Height() / n : image.Height();
  const int cx = stacked ? 0 : cw * (k - 1);
  const int cy = stacked ? ch * (k - 1) : 0;
  const int middle = cw - fixedLeft - fixedRight;
  Bitmap24 strip(w, h, kSkinTransparent);
  StretchCopy(strip, 0, 0, fixedLeft, h, image, cx, cy, fixedLeft, ch);
  for (int at = fixedLeft; middle > 0 && at < w - fixedRight; at += middle) {
    StretchCopy(strip, at, 0, std::min(middle, w - fixedRight - at), h, image, cx + fixedLeft, cy,
                std::min(middle, w - fixedRight - at), ch);
  }
  StretchCopy(strip, w - fixedRight, 0, fixedRight, h, image, cx + cw - fixedRight, cy, fixedRight, ch);
  DrawTransparent(dst, x, y, strip, transparent);
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
  bool menuBar = false;      // a menu bar under the title, its second item hot
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

constexpr int kMenuBarHeight = 19;

void DrawClient(Bitmap24& win, const TSkinContent& s, int x0, int y0, int w, int h, bool active);

// The menu bar: its background from the MenuBar object (a nine-slice when its Tile is 1, else a
// strip with fixed ends), captions in the menu bar's text colour, the hot one outlined.
void DrawMenuBar(Bitmap24& win, const TSkinContent& s, int x, int y, int w, bool active) {
  const int k = active ? 1 : 2;
  if (s.MenuBar && !s.MenuBar->Image.Empty()) {
    const TDataSkinObject& bar = *s.MenuBar;
    if (bar.Tile == 1) {
      DrawTransparent(win, x, y,
                      NineSlice(w, kMenuBarHeight, bar.Image, bar.LeftWidth, bar.TopHeight, bar.RightWidth,
                                bar.BottomHeight, true, false, bar.Frame, k),
                      false);
    } else {
      DrawStrip(win, x, y, w, kMenuBarHeight, bar.Image, true, false, bar.Frame, k, bar.LeftWidth, bar.RightWidth);
    }
  } else {
    Raster(win).FillRect(x, y, w, kMenuBarHeight, ColourOf(s.MenubarColour, {212, 208, 200}));
  }
  const Rgb text = ColourOf(s.MenuBarTextColour, {0, 0, 0});
  int at = x + 4;
  int item = 0;
  for (std::string_view caption : {"File", "Edit", "View", "Help"}) {
    const int iw = TextWidth(caption, false) + 12;
    if (item == 1) {
      Raster(win).RectOutline(at, y + 1, iw, kMenuBarHeight - 2, ColourOf(s.ButtonHilightColour, {255, 255, 255}));
    }
    Text(win, at + 6, y + (kMenuBarHeight - kLineHeight) / 2, caption,
         item == 3 ? ColourOf(s.ButtonShadowColour, text) : text);
    at += iw;
    ++item;
  }
}

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
  const int menu = m.menuBar ? kMenuBarHeight : 0;
  const int w = m.clientWidth + left + right;
  const int h = m.clientHeight + top + bottom + menu;
  Bitmap24 win(w, h, PixelOf(ColourOf(s.ButtonFaceColour, {212, 208, 200})));
  inside.assign(static_cast<std::size_t>(w * h), true);
  auto edge = [&](const TDataSkinBorder& e, int x, int y, int ew, int eh, bool stacked) {
    const Bitmap24 piece = NineSlice(ew, eh, e.Image, e.LeftWidth, e.TopHeight, e.RightWidth, e.BottomHeight, stacked,
                                     e.Tile != 1, e.Frame, EdgeCell(e.Frame, m.active));
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

  // Caption, as the frame painter places it: measured with three leading spaces, drawn with two,
  // aligned in the title, clipped on the right, on the caption background when the skin has one.
  const TDataSkinTitle& title = *s.Title;
  const int tLeft = left;
  const int tRight = w - right;
  const int tWidth = tRight - tLeft;
  const int block = TextWidth("   " + m.caption, true) + title.TextBackLeft + title.TextBackRight;
  int dx = 0;
  if (title.TextAlignment == 0) dx = title.LeftWidth;
  else if (title.TextAlignment == 1) dx = (tWidth - block) / 2;
  else if (title.TextAlignment == 2) dx = tWidth - title.RightWidth - block;
  const int dy = (top - kLineHeight) / 2 + title.TopHeight / 2;
  const int captionLeft = tLeft + dx;
  const int captionRight = std::min(captionLeft + block, tRight - title.RightWidth);
  if (!title.Image.Empty()) {
    DrawStrip(win, captionLeft, 0, captionRight - captionLeft, top, title.Image, true, true, 2, m.active ? 1 : 2,
              title.TextBackLeft, title.TextBackRight);
  }
  const int textLeft = captionLeft + title.TextBackLeft;
  Bitmap24 caption(std::max(captionRight - title.TextBackRight - textLeft, 0), kLineHeight, kSkinTransparent);
  Text(caption, 0, 0, "  " + m.caption,
       ColourOf(m.active ? s.TitleTextActiveColour : s.TitleTextNoActiveColour, {255, 255, 255}), true);
  DrawTransparent(win, textLeft, dy, caption);

  // Title buttons, laid out by Align against the window and the caption.
  for (const auto& b : s.SysButtons) {
    if (!ButtonVisible(*b, m)) continue;
    const bool isIcon = b->Action == 3 || b->Action == 11;
    if (!isIcon && b->Image.Empty()) continue;
    const Bitmap24& image = isIcon ? icon : b->Image;
    const int frames = isIcon ? 1 : b->Frame;
    const int cellWidth = image.Width() / frames;
    int x = 0;
    if (b->Align == 0) x = b->Xcoord;
    else if (b->Align == 1) x = w - b->Xcoord;
    else if (b->Align == 2 || b->Align == 8) x = captionLeft - cellWidth - b->Xcoord;
    else if (b->Align == 3 || b->Align == 9) x = captionRight + b->Xcoord;
    int cell = TitleButtonIdleCell(frames, m.active);
    if (b->Action == m.hotAction && frames >= 3) cell = 3;
    const Bitmap24 piece = CellOf(image, frames, cell);
    // Buttons are painted into the title bar only.
    DrawTransparent(win, x, b->Ycoord, piece.Copy(0, 0, piece.Width(), std::clamp(top - b->Ycoord, 0, piece.Height())));
  }
  if (m.menuBar) DrawMenuBar(win, s, left, top, w - left - right, m.active);
  if (m.controls) DrawClient(win, s, left, top + menu, m.clientWidth, m.clientHeight, m.active);
  return win;
}

// A vertical scroll bar the way the scroll bar painter composes one, 16 pixels thick.
void DrawVerticalBar(Bitmap24& win, const TSkinContent& s, int bx, int by, int bh) {
  if (!s.Scrollbar || !s.VertScroll || !s.VertScrollThumb) return;
  Raster(win).FillRect(bx, by, 16, bh, ColourOf(s.ScrollbarColour, {200, 200, 200}));
  DrawSkinFrame(win, bx, by + 16, 16, bh - 32, *s.VertScroll, s.VertScroll->Frame, 1);
  const TDataSkinObject& arrows = *s.Scrollbar;
  DrawTransparent(win, bx, by, CellOf(arrows.Image, arrows.Frame, 9));
  DrawTransparent(win, bx, by + bh - 16, CellOf(arrows.Image, arrows.Frame, 14));
  const TDataSkinObject& thumb = *s.VertScrollThumb;
  const bool transparent = s.HorzScrollThumb && s.HorzScrollThumb->Trans != 0;
  DrawTransparent(win, bx, by + 30,
                  NineSlice(16, 54, thumb.Image, thumb.LeftWidth, thumb.TopHeight, thumb.RightWidth, thumb.BottomHeight,
                            false, false, thumb.Frame, 1),
                  transparent);
}

void DrawHorizontalBar(Bitmap24& win, const TSkinContent& s, int bx, int by, int bw, int thumbCell) {
  if (!s.Scrollbar || !s.HorzScroll || !s.HorzScrollThumb) return;
  Raster(win).FillRect(bx, by, bw, 16, ColourOf(s.ScrollbarColour, {200, 200, 200}));
  DrawSkinFrame(win, bx + 16, by, bw - 32, 16, *s.HorzScroll, s.HorzScroll->Frame, 1);
  const TDataSkinObject& arrows = *s.Scrollbar;
  DrawTransparent(win, bx, by, CellOf(arrows.Image, arrows.Frame, 1));
  DrawTransparent(win, bx + bw - 16, by, CellOf(arrows.Image, arrows.Frame, 5));
  const TDataSkinObject& thumb = *s.HorzScrollThumb;
  DrawTransparent(win, bx + 40, by,
                  NineSlice(60, 16, thumb.Image, thumb.LeftWidth, thumb.TopHeight, thumb.RightWidth, thumb.BottomHeight,
                            false, false, thumb.Frame, std::min(thumbCell, thumb.Frame)),
                  thumb.Trans != 0);
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
    DrawSkinFrame(win, x0 + 70, pageTop - 19, 52, 20, tabs, tabs.Frame, 1);
    DrawSkinFrame(win, x0 + 4, pageTop - 21, 64, 23, tabs, tabs.Frame, 2);
    TextCentred(win, x0 + 4, pageTop - 20, 64, 20, "Programs", ColourOf(tabs.MouseOverColour2, text));
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
    if (i == 0) DrawVerticalBar(win, s, lx + lw - 17, ly + 1, lh - 2);
  }
  // Options below the page.
  const int oy = pageTop + pageHeight + 10;
  const TDataSkinButton& buttons = *s.Buttons;
  const int cf = buttons.CheckFrame;
  const int rf = buttons.RadioFrame;
  DrawCellCentred(win, x0 + 10, oy, 18, 15, buttons.CheckImage, cf, CheckBoxCell(cf, true, false, false));
  Text(win, x0 + 30, oy, "Start with Windows", text);
  DrawCellCentred(win, x0 + 10, oy + 20, 18, 15, buttons.RadioImage, rf, RadioCell(rf, true, false));
  Text(win, x0 + 30, oy + 20, "Hide", text);
  DrawCellCentred(win, x0 + 78, oy + 20, 18, 15, buttons.RadioImage, rf, RadioCell(rf, false, false));
  Text(win, x0 + 98, oy + 20, "Translucent", text);
  DrawCellCentred(win, x0 + 178, oy + 20, 18, 15, buttons.RadioImage, rf, RadioCell(rf, false, true));
  Text(win, x0 + 198, oy + 20, "Close", shadow);
  // Buttons: default, hot, normal, disabled.
  const int by = y0 + h - 34;
  const char* captions[] = {"Show", "Hide", "Hotkey", "Apply"};
  const int looks[] = {5, active ? 4 : 1, 1, 3};
  for (int i = 0; i < 4; ++i) {
    const int bx = x0 + 12 + i * 88;
    DrawSkinFrame(win, bx, by, 80, 25, buttons, buttons.Frame, looks[i]);
    TextCentred(win, bx, by, 80, 25, captions[i], looks[i] == 3 ? shadow : text);
  }
}

// Every control kind the control painters draw, on the face colour: push buttons in their five
// looks, check boxes and radio buttons in every state, a combo box, a spin edit, progress bars, a
// track bar, a scroll bar, a list header, a status bar and a group box.
Bitmap24 RenderControls(const TSkinContent& s) {
  const Rgb face = ColourOf(s.ButtonFaceColour, {212, 208, 200});
  const Rgb text = ColourOf(s.ButtonTextColour, {0, 0, 0});
  const Rgb shadow = ColourOf(s.ButtonShadowColour, {128, 128, 128});
  const Rgb field{255, 255, 255};
  Bitmap24 out(560, 330, PixelOf(face));
  Raster r(out);
  r.RectOutline(0, 0, out.Width(), out.Height(), shadow);

  // Push buttons: normal, pressed, disabled, hot, default.
  const TDataSkinButton& buttons = *s.Buttons;
  const char* looks[] = {"Normal", "Pressed", "Off", "Hot", "Default"};
  for (int i = 0; i < 5; ++i) {
    DrawSkinFrame(out, 10 + i * 108, 10, 100, 25, buttons, buttons.Frame, i + 1);
    TextCentred(out, 10 + i * 108, 10, 100, 25, looks[i], i == 2 ? shadow : text);
  }

  // Check boxes and radio buttons.
  const int cf = buttons.CheckFrame;
  const int rf = buttons.RadioFrame;
  struct Mark {
    const char* label;
    bool checked, indeterminate, disabled;
  };
  const Mark checks[] = {{"Off", false, false, false}, {"On", true, false, false}, {"Mixed", false, true, false},
                         {"Off", false, false, true},  {"On", true, false, true},  {"Mixed", false, true, true}};
  for (int i = 0; i < 6; ++i) {
    const int x = 10 + i * 90;
    DrawCellCentred(out, x, 46, 18, 16, buttons.CheckImage, cf,
                    CheckBoxCell(cf, checks[i].checked, checks[i].indeterminate, checks[i].disabled));
    Text(out, x + 20, 47, checks[i].label, checks[i].disabled ? shadow : text);
  }
  for (int i = 0; i < 4; ++i) {
    const int x = 10 + i * 90;
    DrawCellCentred(out, x, 70, 18, 16, buttons.RadioImage, rf, RadioCell(rf, i % 2 == 1, i >= 2));
    Text(out, x + 20, 71, i % 2 ? "On" : "Off", i >= 2 ? shadow : text);
  }

  // Combo box: the sunken ring, the text area, the drop-down button with its glyph (normal, hot).
  for (int i = 0; i < 2; ++i) {
    const int x = 10 + i * 170;
    const int y = 98;
    const int cw = 160;
    const int ch = 22;
    const int state = i == 0 ? 1 : 4;
    if (s.SunkEdge) DrawSkinFrame(out, x, y, cw, ch, *s.SunkEdge, s.SunkEdge->Frame, state);
    r.FillRect(x + 2, y + 2, cw - 20, ch - 4, field);
    Text(out, x + 5, y + 4, i == 0 ? "Ctrl" : "Alt", text);
    if (s.ComboButton) {
      const int bx = x + cw - 18;
      const TDataSkinBorder& combo = *s.ComboButton;
      DrawCell(out, bx, y, 18, ch, combo.Image, combo.Frame, state);
      if (s.ExtraImages) {
        DrawCellCentred(out, bx + 2, y + 2, 14, ch - 4, s.ExtraImages->Image, s.ExtraImages->Frame, state);
      }
    }
  }

  // Spin edit: an edit box with the up-down buttons inside it (normal; the lower one pressed).
  {
    const int x = 360;
    const int y = 98;
    r.FillRect(x, y, 80, 22, field);
    r.RectOutline(x, y, 80, 22, shadow);
    Text(out, x + 5, y + 4, "45", text);
    const int bx = x + 80 - 17;
    if (s.UpDownVert) {
      const TDataSkinBorder& spin = *s.UpDownVert;
      for (int half = 0; half < 2; ++half) {
        const int state = half == 1 ? 2 : 1;
        const int frame = state + 4 * half;
        const int hy = y + 1 + half * 10;
        DrawCell(out, bx, hy, 16, 10, spin.Image, spin.Frame, frame);
        DrawCellCentred(out, bx, hy, 16, 10, spin.Image2, spin.Frame, frame);
      }
    } else {
      // Without the skin's buttons the up-down painter outlines two plain halves.
      for (int half = 0; half < 2; ++half) {
        r.FillRect(bx, y + 1 + half * 10, 16, 10, half == 1 ? shadow : face);
        r.RectOutline(bx, y + 1 + half * 10, 16, 10, ColourOf(s.ButtonDkShadowColour, {0, 0, 0}));
      }
    }
  }

  // Progress bars at a third and full: continuous (background cell 1, filled cell 2) or chunks.
  if (s.Progress) {
    const TDataSkinBorder& p = *s.Progress;
    for (int i = 0; i < 2; ++i) {
      const int x = 10 + i * 270;
      const int y = 132;
      const int pw = 250;
      const int ph = 18;
      const int filled = i == 0 ? pw / 3 : pw;
      r.FillRect(x, y, pw, ph, face);
      if (p.Style == 1) {
        DrawTransparent(out, x, y, NineSlice(pw, ph, p.Image, p.LeftWidth, p.TopHeight, p.RightWidth, p.BottomHeight,
                                             false, p.Tile == 1, 1, 1));
        if (!p.Image2.Empty()) {
          const int cy = y + (ph - p.Image2.Height()) / 2;
          for (int at = p.LeftWidth; at + p.Image2.Width() <= std::min(filled, pw - p.RightWidth);
               at += p.Image2.Width()) {
            DrawTransparent(out, x + at, cy, p.Image2);
          }
        }
      } else {
        DrawTransparent(out, x, y, NineSlice(pw, ph, p.Image, p.LeftWidth, p.TopHeight, p.RightWidth, p.BottomHeight,
                                             false, p.Tile == 1, p.Frame, 1));
        DrawTransparent(out, x, y, NineSlice(filled, ph, p.Image, p.LeftWidth, p.TopHeight, p.RightWidth,
                                             p.BottomHeight, false, p.Tile == 1, p.Frame, std::min(2, p.Frame)));
      }
    }
  }

  // Track bar: the system's channel and ticks, the skin's thumb (cell 2), or an outlined thumb.
  {
    const int x = 10;
    const int y = 162;
    r.FillRect(x + 6, y + 10, 238, 4, field);
    r.RectOutline(x + 6, y + 10, 238, 4, shadow);
    for (int t = 0; t <= 10; ++t) r.VLine(x + 10 + t * 23, y + 24, y + 27, text);
    if (s.TrackbarThumbHorz) {
      const TDataSkinObject& thumb = *s.TrackbarThumbHorz;
      DrawCell(out, x + 80, y + 1, 11, 21, thumb.Image, thumb.Frame, std::min(2, thumb.Frame));
    } else {
      r.RectOutline(x + 80, y + 1, 11, 21, shadow);
    }
  }

  // A horizontal scroll bar, its thumb dragged.
  DrawHorizontalBar(out, s, 280, 166, 250, 2);

  // List header: normal, pressed, sorted items, then the rest of the header.
  if (s.Headerbar) {
    const TDataSkinObject& header = *s.Headerbar;
    const int cells[] = {1, 2, 5, 1};
    const char* labels[] = {"Name", "Pid", "Memory", ""};
    const int widths[] = {140, 80, 120, 200};
    int x = 10;
    for (int i = 0; i < 4; ++i) {
      DrawSkinFrame(out, x, 200, widths[i], 20, header, header.Frame, cells[i]);
      Text(out, x + 6, 203, labels[i], ColourOf(header.NormalColour2, text));
      x += widths[i];
    }
  }

  // Group box: the group box painter's rounded line in the shadow colour with its caption.
  r.FillRect(10, 232, 250, 50, face);
  {
    const Shape frame = Shape::Rounded(250, 44, {2, 1});
    r.PaintShape(10, 238, frame, shadow, [&](int px, int py, int) { return ToRgb(out.At(10 + px, 238 + py)); });
    r.FillRect(17, 232, TextWidth("Reminder", false) + 4, 13, face);
    Text(out, 19, 232, "Reminder", text);
  }

  // Status bar: lowered, raised and flat panels, and the size grip.
  {
    const int y = 300;
    const int widths[] = {200, 160, 170};
    int x = 10;
    for (int i = 0; i < 3; ++i) {
      if (s.StatusBarEdges) {
        DrawSkinFrame(out, x, y, widths[i] - 2, 22, *s.StatusBarEdges, s.StatusBarEdges->Frame, i + 1);
      }
      Text(out, x + 4, y + 5, i == 0 ? "Lowered" : i == 1 ? "Raised" : "Flat",
           ColourOf(s.StatusBarEdges ? s.StatusBarEdges->NormalColour2 : -1, text));
      x += widths[i];
    }
    if (s.ExtraImages) {
      const TDataSkinObject& extra = *s.ExtraImages;
      const Bitmap24 grip = CellOf(extra.Image, extra.Frame, std::min(5, extra.Frame));
      DrawTransparent(out, out.Width() - 2 - grip.Width(), y + 22 - grip.Height(), grip);
    }
  }
  return out;
}

// A popup menu like the tray menu, with one item selected and one disabled.
Bitmap24 RenderMenu(const TSkinContent& s) {
  const int w = 150;
  const char* items[] = {"Show window", "Switch IP address", "-", "Forum", "Web site", "-", "Exit"};
  const int count = static_cast<int>(std::size(items));
  int h = 6;
  for (const char* item : items) h += std::string_view(item) == "-" ? 8 : 20;
  const Rgb menu = ColourOf(s.MenuColour, {255, 255, 255});
  Bitmap24 out(w, h, PixelOf(menu));
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
        DrawTransparent(out, 3, y,
                        NineSlice(w - 6, ih, rows, item->LeftWidth, 0, item->RightWidth, 0, false, false, 1, 1));
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
  Bitmap24 icon(16, 16, kSkinTransparent);
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

Bitmap24 ContactSheet(const std::string& skinName, const std::vector<SkinImage>& images, const Bitmap24* menuGlyphs) {
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
  if (menuGlyphs) items.push_back({"menu glyphs (resource)  64x16  4 cells", menuGlyphs, 4, false});

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
  Bitmap24 sheet(kWidth, y + rowHeight + kMargin, PixelOf(background));
  Raster r(sheet);
  r.Text(
      kMargin, kMargin,
      "QLT skin " + skinName + ": every bitmap at twice its size; magenta shown as a chequer; red ticks mark the cells",
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
  constexpr int kGap = 20;
  constexpr int kLabel = 14;
  constexpr int kTop = 48;
  // A labelled picture; a window comes with the pixels of its region.
  struct Shown {
    std::string label;
    Bitmap24 picture;
    std::vector<bool> inside;  // empty: the whole picture
  };
  auto window = [&](std::string label, const MockWindow& m) {
    Shown shown{std::move(label), {}, {}};
    shown.picture = RenderWindow(skin, icon, m, shown.inside);
    return shown;
  };
  // A window with every title button and no content.
  auto small = [](std::string caption, int clientHeight) {
    MockWindow m;
    m.clientWidth = 300;
    m.clientHeight = clientHeight;
    m.maximiseBox = m.minimiseBox = true;
    m.caption = std::move(caption);
    m.controls = false;
    return m;
  };

  std::vector<std::vector<Shown>> rows(3);
  MockWindow main;
  rows[0].push_back(window("main window, active (close box only)", main));
  main.active = false;
  rows[0].push_back(window("main window, inactive", main));
  rows[0].push_back({"popup menu", RenderMenu(skin), {}});
  MockWindow sizable = small("All title buttons", 90);
  sizable.hotAction = 0;
  rows[1].push_back(window("minimise, maximise, close; close hot", sizable));
  sizable.hotAction = 1;
  rows[1].push_back(window("maximise hot", sizable));
  sizable.hotAction = -100;
  sizable.active = false;
  rows[1].push_back(window("inactive", sizable));
  MockWindow withMenu = small("Menu bar", 60);
  withMenu.menuBar = true;
  rows[2].push_back(window("menu bar, second item hot", withMenu));
  rows[2].push_back({"controls", RenderControls(skin), {}});

  int width = 1000;
  int height = kTop - kLabel;
  for (const auto& row : rows) {
    int rowWidth = kGap;
    int rowHeight = 0;
    for (const Shown& shown : row) {
      rowWidth += shown.picture.Width() + kGap;
      rowHeight = std::max(rowHeight, shown.picture.Height());
    }
    width = std::max(width, rowWidth);
    height += kLabel + rowHeight + kGap;
  }
  Bitmap24 canvas(width, height);
  Raster(canvas).VGradient(0, 0, canvas.Width(), canvas.Height(), {44, 60, 84}, {70, 92, 118});
  Raster(canvas).Text(16, 12,
                      "QLT skin " + skin.SkinName + ": windows composed from the skin objects as the frame painter "
                      "composes them, and the controls as their painters draw them",
                      {240, 242, 248});
  int y = kTop;
  for (const auto& row : rows) {
    int x = kGap;
    int rowHeight = 0;
    for (const Shown& shown : row) {
      Label(canvas, x, y - kLabel, shown.label);
      if (shown.inside.empty()) {
        DrawTransparent(canvas, x, y, shown.picture, false);
      } else {
        Place(canvas, x, y, shown.picture, shown.inside);
      }
      x += shown.picture.Width() + kGap;
      rowHeight = std::max(rowHeight, shown.picture.Height());
    }
    y += rowHeight + kGap + kLabel;
  }
  return canvas;
}

}  // namespace qlt::art
