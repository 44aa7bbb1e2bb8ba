#pragma once
// Tab controls painted from the skin's "Tabs" object: the system's tab controls and the framework's
// page controls (attached by window; a page control's skinner belongs to the form skinner), with
// their tabs on any of the four sides. The tabs come from the object's image (cell 1 for a tab,
// cell 2 for the selected one), the page area gets the object's Border image around it, and the
// rest is the skin's face colour. Tabs at the bottom use the images upside down; on the left and
// right the tabs are composed in a horizontal strip that is turned a quarter into place (the
// captions turn with it). The keyboard focus is drawn as a focus rectangle on the tab that has it,
// which with button-style tabs need not be the selected one.
//
// The whole control is composed off the screen and copied once, in place of the system's paint.
// Overflow arrows (the control's up-down child) are left to the system: the copy leaves their
// place alone. Without a "Tabs" image the control keeps its own look.
#include "skin/controls/SkinControl.h"
#include "skin/controls/TabLayout.h"
#include "skin/data/Bitmap24.h"

namespace qlt {

class TSkinTab : public TSkinControl {
  QLT_CLASS(TSkinTab)
 public:
  explicit TSkinTab(TComponent* owner) : TSkinControl(owner) {}

  void AttachWindow(HWND window, TSkinData* skin, TWinSkinForm* formSkinner) override;
  // A new skin: the working images again, then a repaint.
  void SkinChanged() override;
  void DrawNow(HDC dc) override;

  TabSide Side() const { return side_; }
  // How many times the control was composed and put on a DC.
  int PaintCount() const { return paints_; }
  // The visible overflow arrows (the up-down child), or nullptr.
  HWND ArrowWindow() const;

 protected:
  bool BeforeMessage(TMessage& message) override;
  void AfterMessage(TMessage& message) override;
  void Paint(HDC dc, const SkinRect& rect) override;

 private:
  bool HasImage() const;
  // The working copies of the tab and border images, oriented for the side the style gives.
  void LoadTabImages();
  // One tab's frame, image and caption in the horizontal strip (`local`: strip coordinates; the
  // strip starts at `dcLeft` on the surface's DC, where GDI draws).
  void DrawTab(HDC dc, const PixelView& strip, const SkinRect& local, int dcLeft, int index, int cell, bool focus);

  TabSide side_ = TabSide::kTop;
  Bitmap24 tabImage_;     // the "Tabs" image, upside down for tabs at the bottom
  Bitmap24 borderImage_;  // the Border image, turned for the side
  int paints_ = 0;
};

}  // namespace qlt
