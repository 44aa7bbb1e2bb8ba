#pragma once
// Scroll bars painted from the skin's "Scrollbar", "HorzScroll"/"VertScroll" and thumb images.
//
// TSkinScrollbar paints over the bars a scrolling control has in its frame (list boxes and any
// control with WS_HSCROLL or WS_VSCROLL): after the system draws them (WM_NCPAINT) and whenever
// the bars changed under the control's messages. TSkinScControl paints a scroll bar control of its
// own, wholly. TSkinSizer paints a size box or size grip.
//
// A skinned bar takes its mouse over, so the system never draws its own arrows or thumb under the
// skin: a press on an arrow or a page area scrolls and repeats while held on it, and the thumb is
// dragged by the skinner and ends where the system's own thumb would. The drag waits for messages,
// ends on the release or when the mouse capture goes (WM_CANCELMODE, a message box), passes
// WM_QUIT on, and stops at once when the control is freed. Positions are 32-bit: a receiver of
// SB_THUMBTRACK reads the full position with GetScrollInfo (nTrackPos).
#include <memory>

#include "skin/controls/ScrollBarArt.h"
#include "skin/controls/SkinControl.h"

namespace qlt {

// What the bar skinners share: one bar's geometry from the system, its look, and the mouse.
class TSkinBarControl : public TSkinControl {
  QLT_CLASS(TSkinBarControl)
 public:
  explicit TSkinBarControl(TComponent* owner) : TSkinControl(owner) {}

  // A press on a bar is being followed (an arrow or page area held, or the thumb dragged).
  bool Tracking() const { return tracking_; }
  // How many times a bar was composed and put on the screen (a hover that changes nothing puts
  // nothing there).
  int BarPaints() const { return barPaints_; }

 protected:
  // One bar as it is now, in the coordinates of the DC the skinner paints it on.
  struct Bar {
    int which = SB_VERT;  // SB_HORZ, SB_VERT or SB_CTL
    bool vertical = true;
    SkinRect rect;
    ScrollRange range;
    ThumbLayout layout;
    bool disabled = false;
    bool Valid() const { return !rect.Empty(); }
    friend bool operator==(const Bar&, const Bar&) = default;
  };
  // The bar `which` as the system has it now (an empty rectangle when the control shows none).
  virtual Bar BarOf(int which) const = 0;
  // A point of the screen in the coordinates of the bars.
  virtual POINT FromScreen(POINT screen) const = 0;
  // Tells the receiver of the bar's scroll messages (SB_ code, position for the thumb codes).
  virtual void SendScroll(const Bar& bar, int code, int position) = 0;
  // Sets the bar's position without drawing (the receiver reads it back during a drag).
  void SetPosition(const Bar& bar, int position);
  // Paints the bars again where the skinner keeps them.
  virtual void PaintBars() = 0;

  // The geometry of a bar of `length` along its axis, with the system's arrow and thumb sizes.
  static ThumbLayout LayOutBar(int length, bool vertical, const ScrollRange& range);
  static bool TooLarge(const SkinRect& rect);
  // A bar the control does not show.
  static Bar NoBar(int which, bool vertical);
  // Whether the skin has the bar's images (without them the system's bars stay).
  bool HasArt() const;
  ScrollBarSkin SkinFor(bool vertical) const;
  // The look of a bar now: pressed arrows and the dragged thumb of the press being followed.
  ScrollBarLook LookOf(const Bar& bar) const;
  // The thumb where it shows: where the drag has it while dragged.
  ThumbLayout ShownLayout(const Bar& bar) const;
  // Composes one bar off the screen and copies it to the DC.
  void DrawBar(HDC dc, const Bar& bar);
  // Follows a press at a screen point on bar `which` until it ends; false when the press hit no
  // part of the bar. The skinner may be gone when it returns: check Alive() first.
  bool TrackPress(int which, POINT screen);
  // While tracking: the capture went (WM_CAPTURECHANGED, WM_CANCELMODE).
  void CaptureLost();

  int barPaints_ = 0;

 private:
  // One step of the press being followed: the pointer moved, or the repeat timer ticked.
  void TrackPointer(POINT screen);
  void RepeatPress();
  void EndTracking(bool released);
  // Scroll code of a part: line and page ups and downs.
  static int CodeOf(ScrollPart part);

  bool tracking_ = false;
  bool captureLost_ = false;
  int trackBar_ = SB_VERT;
  ScrollPart trackPart_ = ScrollPart::kNone;
  bool pressedOver_ = false;     // the pointer is over the held arrow or page area
  Bar dragBar_;                  // the bar as the drag started (its geometry stays for the drag)
  int pressAlong_ = 0;           // the press along the bar's axis
  int dragOffset_ = 0;           // the thumb's offset as dragged
  int dragValue_ = 0;            // the position the dragged thumb stands for
  POINT lastPointer_{};
};

// The bars of a scrolling control (or window), painted over the system's.
class TSkinScrollbar : public TSkinBarControl {
  QLT_CLASS(TSkinScrollbar)
 public:
  explicit TSkinScrollbar(TComponent* owner) : TSkinBarControl(owner) {}

  // Attaches to the owner control; `ownThumbDrag` gives the skinner the bars' mouse (without it the
  // system keeps it and the skin is painted again after each scroll).
  void AttachScrolled(TWinSkinForm* formSkinner, TSkinData* skin, bool ownThumbDrag);
  // The control skinners' way in: the bars' mouse is the skinner's.
  void AttachControl(TWinSkinForm* formSkinner, TSkinData* skin, bool ownColour) override;
  void AttachWindow(HWND window, TSkinData* skin, TWinSkinForm* formSkinner) override;
  bool OwnThumbDrag() const { return ownThumbDrag_; }
  // A new skin: the bars are painted again, whatever they showed.
  void SkinChanged() override;

 protected:
  bool BeforeMessage(TMessage& message) override;
  void AfterMessage(TMessage& message) override;
  void Paint(HDC dc, const SkinRect& rect) override;

  Bar BarOf(int which) const override;
  POINT FromScreen(POINT screen) const override;
  void SendScroll(const Bar& bar, int code, int position) override;
  void PaintBars() override;

 private:
  // Paints the bars when they differ from what was last painted.
  void PaintIfChanged();
  // Paints the bars on a DC of the whole window (`screen`: the one on the screen).
  void PaintOn(HDC windowDc, bool screen);
  void ScrollMessage(TMessage& message, bool vertical);
  void RefreshFrame();

  bool ownThumbDrag_ = false;
  bool vScrolling_ = false;  // the control is handling WM_VSCROLL: its bar is painted afterwards
  bool hScrolling_ = false;
  bool painting_ = false;
  struct Shown {
    Bar v, h;
    ScrollBarLook lookV, lookH;
    friend bool operator==(const Shown&, const Shown&) = default;
  };
  Shown shown_;
  bool shownValid_ = false;
};

// A scroll bar control ("SCROLLBAR" window) of its own, painted wholly by the skinner.
class TSkinScControl : public TSkinBarControl {
  QLT_CLASS(TSkinScControl)
 public:
  explicit TSkinScControl(TComponent* owner) : TSkinBarControl(owner) {}
  void DrawNow(HDC dc) override;

 protected:
  bool BeforeMessage(TMessage& message) override;
  void AfterMessage(TMessage& message) override;
  void Paint(HDC dc, const SkinRect& rect) override;

  Bar BarOf(int which) const override;
  POINT FromScreen(POINT screen) const override;
  void SendScroll(const Bar& bar, int code, int position) override;
  void PaintBars() override { DrawNow(nullptr); }
};

// A size box or size grip ("SCROLLBAR" window with SBS_SIZEBOX or SBS_SIZEGRIP): the face colour
// framed in the skin's button shadow.
class TSkinSizer : public TSkinControl {
  QLT_CLASS(TSkinSizer)
 public:
  explicit TSkinSizer(TComponent* owner) : TSkinControl(owner) {}

 protected:
  bool BeforeMessage(TMessage& message) override;
  void Paint(HDC dc, const SkinRect& rect) override;
};

}  // namespace qlt
