#include "ui/ExtCtrls.h"

#include "ui/Graphics.h"

namespace qlt {

const TEnumInfo& BevelCutInfo() {
  static const TEnumInfo info{{"bvNone", "bvLowered", "bvRaised", "bvSpace"}};
  return info;
}

const TClassInfo& TPanel::StaticClass() {
  static const TClassInfo info = ClassBuilder<TPanel, TWinControl>("TPanel")
                                     .Enum("Alignment", AlignmentInfo(), &TPanel::Alignment, &TPanel::SetAlignment)
                                     .Default(taCenter)
                                     .Enum("BevelInner", BevelCutInfo(), &TPanel::BevelInner, &TPanel::SetBevelInner)
                                     .Default(bvNone)
                                     .Enum("BevelOuter", BevelCutInfo(), &TPanel::BevelOuter, &TPanel::SetBevelOuter)
                                     .Default(bvRaised)
                                     .Build();
  return info;
}

TPanel::TPanel(TComponent* owner) : TWinControl(owner) { SetBounds(0, 0, 185, 41); }

void TPanel::SetBevelOuter(TBevelCut value) {
  if (value == bevelOuter_) return;
  bevelOuter_ = value;
  Invalidate();
}

void TPanel::SetBevelInner(TBevelCut value) {
  if (value == bevelInner_) return;
  bevelInner_ = value;
  Invalidate();
}

void TPanel::SetAlignment(TAlignment value) {
  if (value == alignment_) return;
  alignment_ = value;
  Invalidate();
}

void TPanel::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.style |= WS_CLIPCHILDREN;
}

namespace {

// One bevel ring, drawn inside `r`, which then shrinks by its width (a space ring is one pixel of
// nothing).
void DrawBevel(HDC dc, RECT& r, TBevelCut cut, bool outer) {
  switch (cut) {
    case bvLowered:
      DrawEdge(dc, &r, outer ? BDR_SUNKENOUTER : BDR_SUNKENINNER, BF_RECT | BF_ADJUST);
      break;
    case bvRaised:
      DrawEdge(dc, &r, outer ? BDR_RAISEDOUTER : BDR_RAISEDINNER, BF_RECT | BF_ADJUST);
      break;
    case bvSpace:
      InflateRect(&r, -1, -1);
      break;
    case bvNone:
      break;
  }
}

}  // namespace

void TPanel::PaintPanel(HDC dc) {
  RECT r{0, 0, ClientWidth(), ClientHeight()};
  DrawBevel(dc, r, bevelOuter_, true);
  DrawBevel(dc, r, bevelInner_, false);
  const std::u16string caption = Caption();
  if (caption.empty()) return;
  TCanvas canvas;
  canvas.SetHandle(dc);
  canvas.Font()->Assign(*Font());
  if (!Enabled()) canvas.Font()->SetColor(clGrayText);
  canvas.Brush()->SetStyle(bsClear);
  static constexpr UINT kAlign[3] = {DT_LEFT, DT_RIGHT, DT_CENTER};
  TRect text{r.left + 2, r.top, r.right - 2, r.bottom};
  canvas.DrawText(caption, text, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | kAlign[alignment_]);
  canvas.SetHandle(nullptr);
}

void TPanel::WndProc(TMessage& m) {
  // Double buffered, the base paints into a bitmap first and sends WM_PAINT again with its DC.
  if (m.Msg == WM_PAINT && (m.WParam || !DoubleBuffered())) {
    PAINTSTRUCT ps{};
    HDC dc = m.WParam ? reinterpret_cast<HDC>(m.WParam) : BeginPaint(Handle(), &ps);
    PaintPanel(dc);
    PaintControls(dc);
    if (!m.WParam) EndPaint(Handle(), &ps);
    return;
  }
  TWinControl::WndProc(m);
}

}  // namespace qlt
