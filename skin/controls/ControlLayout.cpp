#include "skin/controls/ControlLayout.h"

#include <algorithm>

namespace qlt {

int PushButtonCell(const ButtonState& s) {
  if (s.disabled) return kButtonCellDisabled;
  if (s.pressed) return kButtonCellPressed;
  if (s.hot) return kButtonCellHot;
  if (s.isDefault) return kButtonCellDefault;
  if (s.focused) return kButtonCellHot;
  return kButtonCellNormal;
}

int BitButtonCell(const ButtonState& s) {
  if (s.disabled) return kButtonCellDisabled;
  if (s.pressed) return kButtonCellPressed;
  if (s.hot || s.focused) return kButtonCellHot;
  if (s.isDefault) return kButtonCellDefault;
  return kButtonCellNormal;
}

int SpeedButtonCell(const ButtonState& s) {
  if (s.down) return kButtonCellPressed;
  if (s.disabled) return kButtonCellDisabled;
  if (s.pressed) return kButtonCellPressed;
  if (s.hot) return kButtonCellHot;
  return kButtonCellNormal;
}

GlyphCell GlyphCellFor(int buttonCell, int numGlyphs) {
  int state = 1;
  if (buttonCell == kButtonCellPressed) state = 3;
  if (buttonCell == kButtonCellDisabled) state = 2;
  GlyphCell g;
  g.cell = numGlyphs == 4 ? state : 1;
  g.greyed = state == 2;
  return g;
}

GlyphTextPlacement PlaceGlyphAndText(int w, int h, int gw, int gh, int tw, int th, int margin, int spacing,
                                     GlyphLayout layout, bool centred, bool speedButton) {
  const bool across = layout == GlyphLayout::kLeft || layout == GlyphLayout::kRight;
  // Along the layout axis: the button's, the glyph's and the text's lengths.
  const int c = across ? w : h, g = across ? gw : gh, t = across ? tw : th;
  if (tw == 0 || gw == 0) spacing = 0;
  if (margin == -1 || centred) {
    if (spacing == -1) {
      margin = spacing = (c - (g + t)) / 3;
    } else {
      margin = (c - (g + spacing + t)) / 2 + (speedButton && !centred ? 1 : 0);
    }
  } else if (spacing == -1) {
    spacing = ((c - (margin + g)) - t) / 2;
  }
  GlyphTextPlacement p;
  // Across the layout axis both are centred.
  const int glyphCross = across ? (h - gh + 1) / 2 : (w - gw + 1) / 2;
  const int textCross = across ? (h - th + 1) / 2 : (w - tw + 1) / 2;
  switch (layout) {
    case GlyphLayout::kLeft:
      p.glyph = RectOfSize(margin, glyphCross, gw, gh);
      p.text = RectOfSize(margin + gw + spacing, textCross, tw, th);
      break;
    case GlyphLayout::kRight:
      p.glyph = RectOfSize(w - margin - gw, glyphCross, gw, gh);
      p.text = RectOfSize(w - margin - gw - spacing - tw, textCross, tw, th);
      break;
    case GlyphLayout::kTop:
      p.glyph = RectOfSize(glyphCross, margin, gw, gh);
      p.text = RectOfSize(textCross, margin + gh + spacing, tw, th);
      break;
    case GlyphLayout::kBottom:
      p.glyph = RectOfSize(glyphCross, h - margin - gh, gw, gh);
      p.text = RectOfSize(textCross, h - margin - gh - spacing - th, tw, th);
      break;
  }
  return p;
}

SkinRect CentreText(const SkinRect& area, int tw, int th) {
  const int left = area.left + (area.Width() - tw) / 2;
  const int top = area.top + (area.Height() - th) / 2 - 1;
  return RectOfSize(left, top, tw, th);
}

MarkPlacement PlaceMark(int width, int height, int cw, int ch, int menuCheck, bool textLeft, bool radio) {
  const int top = (height - ch) / 2;
  const int inset = cw < 15 ? (14 - cw) / 2 : 0;
  MarkPlacement p;
  if (textLeft) {
    const int right = width - (cw < 15 ? inset : 1);
    p.mark = {right - cw, top, right, top + ch};
    p.face = {width - menuCheck - 3, top, width, top + ch};
  } else {
    const int left = (radio ? 0 : 2) + inset;
    p.mark = {left, top, left + cw, top + ch};
    p.face = {0, top, menuCheck + 3, top + ch};
  }
  return p;
}

GroupBoxLayout LayOutGroupBox(int w, int h, int th, int captionWidth) {
  constexpr int kEdge = 3;
  const int line = std::max(th / 2 - 1, 0);
  GroupBoxLayout g;
  g.frame = {1, line, w - 1, h - 1};
  if (captionWidth > 0 && th > 0) g.caption = {9, 0, std::min(9 + captionWidth, w), th};
  const int top = std::min(std::max(th, line + kEdge), h);
  g.bands[0] = {0, 0, w, top};
  const int inner = std::min(kEdge, w);
  g.bands[1] = {0, top, inner, h};
  g.bands[2] = {std::max(w - kEdge, 0), top, w, h};
  g.bands[3] = {inner, std::max(h - kEdge, top), std::max(w - kEdge, inner), h};
  return g;
}

}  // namespace qlt
