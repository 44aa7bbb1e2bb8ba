#pragma once
// The gallery's bars: status bars, progress bars, track bars and scroll bar windows of the
// system's (the framework has no classes of them: the form makes the windows itself), on panels,
// enabled and disabled.
#include <array>

#include "ui/ExtCtrls.h"
#include "ui/Forms.h"

namespace qlt {

class TFrm_GalleryBars : public TForm {
  QLT_CLASS(TFrm_GalleryBars)
 public:
  explicit TFrm_GalleryBars(TComponent* owner) : TForm(owner) {}
  TPanel* Pnl_Bars = nullptr;
  TPanel* Pnl_BarsOff = nullptr;  // disabled, with every bar disabled on it
  TPanel* Pnl_Caption = nullptr;
  TPanel* Pnl_CaptionOff = nullptr;
  void FormCreate(TObject* Sender);

  // The bars of one panel: progress bars at 0, half and full, one with an empty range and an
  // upright one at a third; a track bar lying and one upright; a scroll bar.
  struct Bars {
    HWND progressZero = nullptr;
    HWND progressHalf = nullptr;
    HWND progressFull = nullptr;
    HWND progressEmptyRange = nullptr;
    HWND progressUpright = nullptr;
    HWND track = nullptr;
    HWND trackUpright = nullptr;
    HWND scrollBar = nullptr;
    std::array<HWND, 5> Progress() const {
      return {progressZero, progressHalf, progressFull, progressEmptyRange, progressUpright};
    }
  };
  const Bars& On() const { return on_; }
  const Bars& Off() const { return off_; }
  // The status bar along the bottom (three panels: lowered, raised, flat; a size grip) and a
  // disabled one above it (two panels).
  HWND StatusBar() const { return statusBar_; }
  HWND StatusBarOff() const { return statusBarOff_; }

  static constexpr int kProgressMax = 200;
  static constexpr int kTrackMax = 20;

 protected:
  void WndProc(TMessage& message) override;

 private:
  Bars MakeBars(HWND parent, bool enabled);
  // The enabled scroll bar moved by its user (a notice to its parent, the panel).
  void ScrollBarMoved(WPARAM code);
  TWindowProcHook scrollNotices_;
  Bars on_;
  Bars off_;
  HWND statusBar_ = nullptr;
  HWND statusBarOff_ = nullptr;
};

}  // namespace qlt
