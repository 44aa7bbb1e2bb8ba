#pragma once
// Buttons with a glyph: TBitBtn (a push button that draws its glyph and caption itself) and
// TSpeedButton (windowless; flat, down, grouped). A glyph holds NumGlyphs cells side by side: up,
// disabled, pressed, down; a missing disabled cell is drawn greyed from the up cell.
#include "ui/StdCtrls.h"

namespace qlt {

enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
const TEnumInfo& ButtonLayoutInfo();

// Where glyph and caption go in a button of the given client size (the classic layout rules:
// Margin -1 centres the pair, Spacing -1 spreads it).
struct TButtonLayoutResult {
  TPoint glyph;
  TRect text;
};
TButtonLayoutResult LayoutButton(SIZE client, SIZE glyph, SIZE text, TButtonLayout layout, int margin, int spacing);

// Draws cell `cell` (0 up, 1 disabled, 2 pressed, 3 down) of a glyph; its bottom-left colour is
// transparent.
void DrawGlyphCell(HDC dc, int x, int y, TBitmap& glyph, int numGlyphs, int cell);

// The glyph of a button with its layout settings (Glyph, NumGlyphs, Layout, Margin, Spacing),
// shared by TBitBtn and TSpeedButton; `changed` repaints the button.
class TButtonGlyph {
 public:
  explicit TButtonGlyph(std::function<void()> changed);
  TBitmap* Glyph() { return &glyph_; }
  int32_t NumGlyphs() const { return numGlyphs_; }
  void SetNumGlyphs(int32_t value);
  TButtonLayout Layout() const { return layout_; }
  void SetLayout(TButtonLayout value);
  int32_t Margin() const { return margin_; }
  void SetMargin(int32_t value);
  int32_t Spacing() const { return spacing_; }
  void SetSpacing(int32_t value);
  // Glyph cell and caption laid out in the rectangle r of a button face.
  void Draw(TCanvas& canvas, TRect r, const std::u16string& caption, int cell, bool enabled);
  // Publishes the five properties for a button class C that has ButtonGlyph().
  template <class C, class Base>
  static void Publish(ClassBuilder<C, Base>& builder) {
    builder.template Object<TBitmap>("Glyph", [](C& c) { return c.ButtonGlyph().Glyph(); })
        .Enum("Layout", ButtonLayoutInfo(), [](C& c) { return c.ButtonGlyph().Layout(); },
              [](C& c, TButtonLayout v) { c.ButtonGlyph().SetLayout(v); })
        .Int("Margin", [](C& c) { return c.ButtonGlyph().Margin(); }, [](C& c, int32_t v) { c.ButtonGlyph().SetMargin(v); })
        .Default(-1)
        .Int("NumGlyphs", [](C& c) { return c.ButtonGlyph().NumGlyphs(); },
             [](C& c, int32_t v) { c.ButtonGlyph().SetNumGlyphs(v); })
        .Default(1)
        .Int("Spacing", [](C& c) { return c.ButtonGlyph().Spacing(); },
             [](C& c, int32_t v) { c.ButtonGlyph().SetSpacing(v); })
        .Default(4);
  }

 private:
  void Changed() {
    if (changed_) changed_();
  }
  std::function<void()> changed_;
  TBitmap glyph_;
  int32_t numGlyphs_ = 1;
  TButtonLayout layout_ = blGlyphLeft;
  int32_t margin_ = -1;
  int32_t spacing_ = 4;
};

class TBitBtn : public TButton {
  QLT_CLASS(TBitBtn)
 public:
  explicit TBitBtn(TComponent* owner);
  TButtonGlyph& ButtonGlyph() { return glyph_; }
  TBitmap* Glyph() { return glyph_.Glyph(); }

 protected:
  void CreateParams(TCreateParams& params) override;
  void WndProc(TMessage& message) override;
  void DrawItem(const DRAWITEMSTRUCT& dis);

 private:
  TButtonGlyph glyph_;
};

class TSpeedButton : public TGraphicControl {
  QLT_CLASS(TSpeedButton)
 public:
  explicit TSpeedButton(TComponent* owner);
  TButtonGlyph& ButtonGlyph() { return glyph_; }
  TBitmap* Glyph() { return glyph_.Glyph(); }
  bool Down() const { return down_; }
  void SetDown(bool value);  // within a group, the others go up
  bool Flat() const { return flat_; }
  void SetFlat(bool value);
  int32_t GroupIndex() const { return groupIndex_; }
  void SetGroupIndex(int32_t value) { groupIndex_ = value; }
  bool AllowAllUp() const { return allowAllUp_; }
  void SetAllowAllUp(bool value) { allowAllUp_ = value; }
  bool MouseInControl() const { return mouseInside_; }

 protected:
  void Paint(TCanvas* canvas) override;
  void WndProc(TMessage& message) override;

 private:
  TButtonGlyph glyph_;
  bool down_ = false, flat_ = false, allowAllUp_ = false;
  int32_t groupIndex_ = 0;
  bool pressed_ = false, mouseInside_ = false, tracking_ = false;
};

}  // namespace qlt
