#pragma once
// Plain containers, status bars, progress bars and track bars painted from the skin.
//
// TSkinBox takes no messages: a panel or a form placed inside another form gets the skin's face
// colour while skinned and its own colour back after. The other three work on the system's
// controls by their window class ("msctls_statusbar32", "msctls_progress32", "msctls_trackbar32"):
// the status bar and the progress bar are composed wholly off the screen and copied once (the
// system never paints them under the skin, so nothing flickers); the track bar keeps the system's
// channel and ticks and gets the skin's thumb while the control asks its parent how to draw
// (NM_CUSTOMDRAW), answered by a subclass of the parent that also gives the control the face
// colour behind it. No painter changes the clipping or the objects of a DC it is given.
#include "skin/controls/BarArt.h"
#include "skin/controls/SkinControl.h"

namespace qlt {

class TSkinBox : public TSkinControl {
  QLT_CLASS(TSkinBox)
 public:
  explicit TSkinBox(TComponent* owner) : TSkinControl(owner) {}
  void AttachControl(TWinSkinForm* formSkinner, TSkinData* skin, bool ownColour) override;
};

// A status bar: each panel on the skin's "StatusBarEdges" cell for its look (lowered, raised,
// flat), its text in the skin's colour, and the skin's size grip when the bar has one.
class TSkinStatusBar : public TSkinControl {
  QLT_CLASS(TSkinStatusBar)
 public:
  explicit TSkinStatusBar(TComponent* owner) : TSkinControl(owner) {}
  int Paints() const { return paints_; }

 protected:
  bool BeforeMessage(TMessage& message) override;
  void Paint(HDC dc, const SkinRect& rect) override;

 private:
  int paints_ = 0;
};

// A progress bar from the skin's "Progress" object (continuous or in chunks, lying or upright).
// Without the object the control paints itself.
class TSkinProgress : public TSkinControl {
  QLT_CLASS(TSkinProgress)
 public:
  explicit TSkinProgress(TComponent* owner) : TSkinControl(owner) {}
  // What the control holds now: position and range.
  ProgressState ReadState() const;
  int Paints() const { return paints_; }

 protected:
  bool BeforeMessage(TMessage& message) override;
  void Paint(HDC dc, const SkinRect& rect) override;

 private:
  bool HasArt() const;
  int paints_ = 0;
};

// A track bar whose thumb is the skin's ("Trackbar.ThumbHorz", or "Trackbar.ThumbVert" for an
// upright bar when the skin has it; cell 2 of 5), or a face-coloured box outlined in the skin's
// shadow colour without either image.
class TSkinTrackBar : public TSkinControl {
  QLT_CLASS(TSkinTrackBar)
 public:
  explicit TSkinTrackBar(TComponent* owner) : TSkinControl(owner) {}
  ~TSkinTrackBar() override;
  // A bare track bar window: its parent's subclass answers for it. (A framework control gets its
  // parent's notices reflected to itself.)
  void AttachWindow(HWND window, TSkinData* skin, TWinSkinForm* formSkinner) override;
  // The skin object the thumb is drawn from (nullptr: the outlined box).
  const TDataSkinObject* ThumbObject() const;
  int ThumbsDrawn() const { return thumbsDrawn_; }

 protected:
  bool BeforeMessage(TMessage& message) override;

 private:
  // Answers the control's custom draw; false for the stages it leaves to the default answer.
  bool CustomDraw(const NMCUSTOMDRAW& draw, LRESULT& result);
  // The parent's notice or colour question about this control; false when it is none.
  bool AnswerForControl(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
  void DrawThumb(HDC dc, const RECT& thumb);
  // The parent is where the control's notices and its background colour are asked for.
  void WatchParent();

  TWindowSubclass parent_;
  int thumbsDrawn_ = 0;
};

}  // namespace qlt
