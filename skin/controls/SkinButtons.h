#pragma once
// Buttons painted from the skin's "Buttons" image (five cells: normal, pressed, disabled, hot or
// focused, default):
// - TSkinButton: plain push buttons (framework buttons and the bare buttons of message boxes);
// - TSkinBitButton: buttons with a glyph and layout properties, read by name ("Glyph",
//   "NumGlyphs", "Layout", "Margin", "Spacing", "Default", "Images", "ImageIndex", ...), so any
//   button class that publishes them is drawn alike;
// - TSkinSpeedButton: windowless speed buttons, hooked into the button's message chain; their
//   parent paints them and hands them their mouse messages.
// The face, frame, glyph and caption are composed off the screen and copied once. A push or bit
// button's mouse is taken over: a press captures the mouse and only a release over the button
// clicks it; the space bar and BM_CLICK are left to the button itself. Without a "Buttons" image
// every button keeps its own look and behaviour.
#include "skin/controls/SkinControl.h"

namespace qlt {

// A framework bitmap's pixels as the skin layer's image (a glyph, to compose it).
Bitmap24 BitmapPixels(TBitmap& bitmap);

class TSkinButton : public TSkinControl {
  QLT_CLASS(TSkinButton)
 public:
  explicit TSkinButton(TComponent* owner) : TSkinControl(owner) {}

  // The cell of the "Buttons" image the button shows in its present state.
  virtual int Cell() const;

 protected:
  bool BeforeMessage(TMessage& message) override;
  void AfterMessage(TMessage& message) override;
  // Face colour, frame cell, then the content (DrawContent), then one copy to `dc` at `rect`.
  void Paint(HDC dc, const SkinRect& rect) override;

  // Whether the skin has a "Buttons" image: without one the button paints itself.
  bool HasImage() const;
  // Pressed, hot, focused, default and disabled as the window says now.
  ButtonState WindowState() const;
  // The framework object of the button (windowed or not), or nullptr for a bare window.
  TControl* ButtonControl() const;
  bool ButtonEnabled() const;
  // Whether a cell shows the frame image (a flat speed button at rest shows only the face).
  virtual bool DrawsFrame(int cell) const { return true; }
  // What goes on the composed face: here the caption, centred.
  virtual void DrawContent(HDC dc, const PixelView& view, const SkinRect& area, int cell);
  // The caption: the window text, or the control's "Caption" when the window has none.
  std::u16string CurrentCaption();
  // The caption's font (owned by the control or the window; never freed here).
  HFONT CaptionFont();
  // The caption's colour for a cell: the skin's colour of that state where the skin has one.
  COLORREF TextColour(int cell) const;
  // Measures the text with the wide call (what is drawn is what was measured).
  static SIZE MeasureCaption(HDC dc, const std::u16string& text);
  static void DrawCaption(HDC dc, const std::u16string& text, const SkinRect& at, UINT alignment);

  // Hover changes: the button is painted again only when its cell changes (a focused button that
  // becomes hot looks the same).
  void HotChanged();
  // Presses and releases of the mouse, and what a release over the button does.
  bool MouseMessage(TMessage& message);
  void ClickNow();

  int paintedCell_ = 0;  // the cell on the screen (0: not painted yet)

 private:
  bool captured_ = false;      // the mouse was pressed on the button and is held
  bool programClick_ = false;  // inside BM_CLICK
};

class TSkinBitButton : public TSkinButton {
  QLT_CLASS(TSkinBitButton)
 public:
  explicit TSkinBitButton(TComponent* owner) : TSkinButton(owner) {}
  int Cell() const override;

 protected:
  bool BeforeMessage(TMessage& message) override;
  // Glyph (or image list image) and caption placed by "Layout", "Margin" and "Spacing".
  void DrawContent(HDC dc, const PixelView& view, const SkinRect& area, int cell) override;
  // A speed button's automatic margin is one pixel more.
  virtual bool SpeedButtonLayout() const { return false; }
};

class TSkinSpeedButton : public TSkinBitButton {
  QLT_CLASS(TSkinSpeedButton)
 public:
  explicit TSkinSpeedButton(TComponent* owner) : TSkinBitButton(owner) {}
  // A speed button has no window: attaching hooks its message chain (AttachGraphic).
  void AttachControl(TWinSkinForm* formSkinner, TSkinData* skin, bool ownColour) override;
  int Cell() const override;
  // Paints over the parent at the button's place, at once.
  void DrawNow(HDC dc) override;

 protected:
  bool BeforeMessage(TMessage& message) override;
  void AfterMessage(TMessage& message) override;
  bool DrawsFrame(int cell) const override;
  void DrawContent(HDC dc, const PixelView& view, const SkinRect& area, int cell) override;
  bool SpeedButtonLayout() const override { return true; }

 private:
  bool held_ = false;  // the mouse was pressed on the button and is held
  TFont plainFont_;    // the caption font without its style, for a button without a glyph
};

}  // namespace qlt
