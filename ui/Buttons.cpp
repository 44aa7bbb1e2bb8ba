#include "ui/Buttons.h"

#include <algorithm>

namespace qlt {

const TEnumInfo& ButtonLayoutInfo() {
  static const TEnumInfo info{{"blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom"}};
  return info;
}

TButtonLayoutResult LayoutButton(SIZE c, SIZE g, SIZE t, TButtonLayout layout, int margin, int spacing) {
  const bool horizontal = layout == blGlyphLeft || layout == blGlyphRight;
  TPoint gp{}, tp{};
  if (horizontal) {
    gp.y = (c.cy - g.cy + 1) / 2;
    tp.y = (c.cy - t.cy + 1) / 2;
  } else {
    gp.x = (c.cx - g.cx + 1) / 2;
    tp.x = (c.cx - t.cx + 1) / 2;
  }
  if (t.cx == 0 || g.cx == 0) spacing = 0;
  const int cAxis = horizontal ? c.cx : c.cy, gAxis = horizontal ? g.cx : g.cy, tAxis = horizontal ? t.cx : t.cy;
  if (margin == -1) {
    if (spacing == -1) {
      margin = spacing = (cAxis - (gAxis + tAxis)) / 3;
    } else {
      margin = (cAxis - (gAxis + spacing + tAxis)) / 2;
    }
  } else if (spacing == -1) {
    spacing = ((cAxis - (margin + gAxis)) - tAxis) / 2;
  }
  switch (layout) {
    case blGlyphLeft:
      gp.x = margin;
      tp.x = margin + g.cx + spacing;
      break;
    case blGlyphRight:
      gp.x = c.cx - margin - g.cx;
      tp.x = gp.x - spacing - t.cx;
      break;
    case blGlyphTop:
      gp.y = margin;
      tp.y = margin + g.cy + spacing;
      break;
    case blGlyphBottom:
      gp.y = c.cy - margin - g.cy;
      tp.y = gp.y - spacing - t.cy;
      break;
  }
  return {gp, Rect(tp.x, tp.y, tp.x + t.cx, tp.y + t.cy)};
}

void DrawGlyphCell(HDC dc, int x, int y, TBitmap& glyph, int numGlyphs, int cell) {
  if (glyph.Empty()) return;
  const int n = std::max(numGlyphs, 1);
  const int w = glyph.Width() / n, h = glyph.Height();
  const TColor transparent = glyph.TransparentColor();
  if (cell >= n) {
    if (cell == 1) return DrawDisabledBitmap(dc, x, y, w, h, glyph, 0, 0, transparent);
    cell = 0;
  }
  DrawTransparentBitmap(dc, x, y, w, h, glyph, cell * w, 0, transparent);
}

// ---- TButtonGlyph ----

TButtonGlyph::TButtonGlyph(std::function<void()> changed) : changed_(std::move(changed)) {
  glyph_.OnChange = [this] { Changed(); };
}

void TButtonGlyph::SetNumGlyphs(int32_t value) {
  numGlyphs_ = std::clamp(value, 1, 4);
  Changed();
}

void TButtonGlyph::SetLayout(TButtonLayout value) {
  layout_ = value;
  Changed();
}

void TButtonGlyph::SetMargin(int32_t value) {
  margin_ = std::max(value, -1);
  Changed();
}

void TButtonGlyph::SetSpacing(int32_t value) {
  spacing_ = std::max(value, -1);
  Changed();
}

void TButtonGlyph::Draw(TCanvas& canvas, TRect r, const std::u16string& caption, int cell, bool enabled) {
  SIZE textSize{0, 0};
  if (!caption.empty()) {
    TRect measure = Rect(0, 0, 0, 0);
    canvas.DrawText(caption, measure, DT_SINGLELINE | DT_CALCRECT);
    textSize = SIZE{measure.right, measure.bottom};
  }
  const SIZE glyphSize = glyph_.Empty() ? SIZE{0, 0} : SIZE{glyph_.Width() / numGlyphs_, glyph_.Height()};
  const SIZE client{r.right - r.left, r.bottom - r.top};
  const TButtonLayoutResult place = LayoutButton(client, glyphSize, textSize, layout_, margin_, spacing_);
  DrawGlyphCell(canvas.Handle(), r.left + place.glyph.x, r.top + place.glyph.y, glyph_, numGlyphs_, cell);
  if (caption.empty()) return;
  TRect text = place.text;
  OffsetRect(&text, r.left, r.top);
  canvas.Brush()->SetStyle(bsClear);
  if (!enabled) {
    TRect shadow = text;
    OffsetRect(&shadow, 1, 1);
    canvas.Font()->SetColor(clBtnHighlight);
    canvas.DrawText(caption, shadow, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    canvas.Font()->SetColor(clBtnShadow);
  }
  canvas.DrawText(caption, text, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
}

// ---- TBitBtn ----

const TClassInfo& TBitBtn::StaticClass() {
  static const TClassInfo info = [] {
    ClassBuilder<TBitBtn, TButton> builder("TBitBtn");
    TButtonGlyph::Publish(builder);
    return builder.Build();
  }();
  return info;
}

TBitBtn::TBitBtn(TComponent* owner) : TButton(owner), glyph_([this] { Invalidate(); }) { SetBounds(0, 0, 75, 25); }

void TBitBtn::CreateParams(TCreateParams& p) {
  TButton::CreateParams(p);
  p.style = (p.style & ~(BS_DEFPUSHBUTTON | BS_PUSHBUTTON)) | BS_OWNERDRAW;
}

void TBitBtn::DrawItem(const DRAWITEMSTRUCT& dis) {
  HDC dc = dis.hDC;
  TRect r = dis.rcItem;
  const bool pressed = (dis.itemState & ODS_SELECTED) != 0;
  const bool focused = (dis.itemState & ODS_FOCUS) != 0;
  const bool enabled = !(dis.itemState & ODS_DISABLED);
  if (Default() || focused) {
    FrameRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    InflateRect(&r, -1, -1);
  }
  DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED | DFCS_FLAT : 0));
  if (pressed) FrameRect(dc, &r, GetSysColorBrush(COLOR_BTNSHADOW));
  TCanvas canvas;
  canvas.SetHandle(dc);
  canvas.Font()->Assign(*Font());
  TRect content = r;
  InflateRect(&content, -2, -2);
  if (pressed) OffsetRect(&content, 1, 1);
  glyph_.Draw(canvas, content, Caption(), !enabled ? 1 : pressed ? 2 : 0, enabled);
  if (focused) {
    TRect f = r;
    InflateRect(&f, -3, -3);
    DrawFocusRect(dc, &f);
  }
  canvas.SetHandle(nullptr);
}

void TBitBtn::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CN_DRAWITEM:
      DrawItem(*reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam));
      m.Result = TRUE;
      return;
    case WM_LBUTTONDBLCLK:
      // An owner-drawn button reports a double click as BN_DOUBLECLICKED; treat it as a press.
      m.Msg = WM_LBUTTONDOWN;
      break;
    case CM_ENABLEDCHANGED:
    case CM_TEXTCHANGED:
      Invalidate();
      break;
  }
  TButton::WndProc(m);
}

// ---- TSpeedButton ----

const TClassInfo& TSpeedButton::StaticClass() {
  static const TClassInfo info = [] {
    ClassBuilder<TSpeedButton, TGraphicControl> builder("TSpeedButton");
    builder.Bool("AllowAllUp", &TSpeedButton::AllowAllUp, &TSpeedButton::SetAllowAllUp)
        .Bool("Down", &TSpeedButton::Down, &TSpeedButton::SetDown)
        .Bool("Flat", &TSpeedButton::Flat, &TSpeedButton::SetFlat)
        .Int("GroupIndex", &TSpeedButton::GroupIndex, &TSpeedButton::SetGroupIndex);
    TButtonGlyph::Publish(builder);
    return builder.Build();
  }();
  return info;
}

TSpeedButton::TSpeedButton(TComponent* owner) : TGraphicControl(owner), glyph_([this] { Invalidate(); }) {
  SetBounds(0, 0, 23, 22);
}

void TSpeedButton::SetFlat(bool value) {
  flat_ = value;
  Invalidate();
}

void TSpeedButton::SetDown(bool value) {
  if (value == down_) return;
  if (groupIndex_ == 0 && value && !InState(csReading)) value = false;  // only grouped buttons stay down
  if (!value && groupIndex_ != 0 && !allowAllUp_ && !InState(csReading)) {
    // In a group without AllowAllUp one button is always down.
    bool otherDown = false;
    if (Parent()) {
      for (int i = 0; i < Parent()->ControlCount(); ++i) {
        auto* b = dynamic_cast<TSpeedButton*>(Parent()->Controls(i));
        if (b && b != this && b->groupIndex_ == groupIndex_ && b->down_) otherDown = true;
      }
    }
    if (!otherDown) return;
  }
  down_ = value;
  if (value && groupIndex_ != 0 && Parent()) {
    for (int i = 0; i < Parent()->ControlCount(); ++i) {
      auto* b = dynamic_cast<TSpeedButton*>(Parent()->Controls(i));
      if (b && b != this && b->groupIndex_ == groupIndex_ && b->down_) {
        b->down_ = false;
        b->Invalidate();
      }
    }
  }
  Invalidate();
}

void TSpeedButton::Paint(TCanvas* canvas) {
  TRect r = ClientRect();
  canvas->Brush()->SetStyle(bsSolid);
  canvas->Brush()->SetColor(Color());
  canvas->FillRect(r);
  HDC dc = canvas->Handle();
  const bool sunken = pressed_ || down_;
  if (flat_) {
    if (sunken) {
      DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT);
    } else if (mouseInside_ && Enabled()) {
      DrawEdge(dc, &r, BDR_RAISEDINNER, BF_RECT);
    }
  } else {
    DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (sunken ? DFCS_PUSHED : 0));
  }
  TRect content = r;
  InflateRect(&content, -2, -2);
  if (sunken) OffsetRect(&content, 1, 1);
  const int cell = !Enabled() ? 1 : down_ ? 3 : pressed_ ? 2 : 0;
  glyph_.Draw(*canvas, content, Caption(), cell, Enabled());
}

void TSpeedButton::WndProc(TMessage& m) {
  const TPoint p{static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))};
  const bool inside = p.x >= 0 && p.y >= 0 && p.x < Width() && p.y < Height();
  switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (!Enabled()) return;
      pressed_ = tracking_ = true;
      Invalidate();
      return;
    case WM_MOUSEMOVE:
      if (tracking_ && inside != pressed_) {
        pressed_ = inside;
        Invalidate();
      }
      break;
    case WM_LBUTTONUP:
      if (tracking_) {
        tracking_ = false;
        const bool click = pressed_ && inside;
        pressed_ = false;
        if (click && groupIndex_ != 0) SetDown(!down_);
        Invalidate();
        if (click) Click();
      }
      return;
    case CM_MOUSEENTER:
      mouseInside_ = true;
      if (flat_) Invalidate();
      break;
    case CM_MOUSELEAVE:
      mouseInside_ = false;
      if (flat_) Invalidate();
      break;
    case CM_ENABLEDCHANGED:
    case CM_TEXTCHANGED:
      Invalidate();
      break;
  }
  TGraphicControl::WndProc(m);
}

}  // namespace qlt
