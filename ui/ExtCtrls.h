#pragma once
// Panels: a plain container with a bevel and a centred caption, for grouping controls.
#include "ui/Controls.h"

namespace qlt {

enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };
const TEnumInfo& BevelCutInfo();

class TPanel : public TWinControl {
  QLT_CLASS(TPanel)
 public:
  explicit TPanel(TComponent* owner);
  TBevelCut BevelOuter() const { return bevelOuter_; }
  void SetBevelOuter(TBevelCut value);
  TBevelCut BevelInner() const { return bevelInner_; }
  void SetBevelInner(TBevelCut value);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value);

 protected:
  void CreateParams(TCreateParams& params) override;
  void WndProc(TMessage& message) override;
  void TextChanged() override { Invalidate(); }
  // The bevels and the caption.
  virtual void PaintPanel(HDC dc);

 private:
  TBevelCut bevelOuter_ = bvRaised;
  TBevelCut bevelInner_ = bvNone;
  TAlignment alignment_ = taCenter;
};

}  // namespace qlt
