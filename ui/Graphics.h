#pragma once
// GDI wrapped as framework objects: fonts, brushes and pens that create their handle when first
// needed and again after a change, a canvas over a DC, bitmaps (24-bit DIB sections), icons and
// image lists. Every handle has one owner and is freed with it.
#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "ui/Classes.h"
#include "ui/Colors.h"
#include "ui/Handles.h"

namespace qlt {

using TRect = RECT;
using TPoint = POINT;
TRect Rect(int left, int top, int right, int bottom);

// An RGB value for GDI: system colours are looked up, clNone and clDefault give black.
COLORREF ColorToRGB(TColor color);

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = uint32_t;  // bit n: TFontStyle n
constexpr TFontStyles FontStyle(TFontStyle s) { return 1u << s; }
const TEnumInfo& FontStyleInfo();
const TIdentMap& CharsetIdents();  // "GB2312_CHARSET" = 134, ...

class TFont : public TPersistent {
  QLT_CLASS(TFont)
 public:
  TFont();
  const std::u16string& Name() const { return name_; }
  void SetName(const std::u16string& name);
  int32_t Height() const { return height_; }  // negative: character height in pixels
  void SetHeight(int32_t height);
  int32_t Size() const;  // points at 96 dpi
  void SetSize(int32_t points);
  int32_t Charset() const { return charset_; }
  void SetCharset(int32_t charset);
  TFontStyles Style() const { return style_; }
  void SetStyle(TFontStyles style);
  TColor Color() const { return color_; }
  void SetColor(TColor color);

  HFONT Handle();
  void Assign(const TPersistent& source) override;
  bool SameAs(const TFont& other) const;
  // Sets everything from a LOGFONT (the system's menu font, a window's font).
  void SetFromLogFont(const LOGFONTW& lf);

  std::function<void()> OnChange;  // for the owner (a control repaints, a canvas reselects)

 private:
  void Changed();
  std::u16string name_ = u"Tahoma";
  int32_t height_ = -11;
  int32_t charset_ = DEFAULT_CHARSET;
  TFontStyles style_ = 0;
  TColor color_ = clWindowText;
  UniqueFont handle_;
};

enum TBrushStyle { bsSolid, bsClear };

class TBrush : public TPersistent {
  QLT_CLASS(TBrush)
 public:
  TColor Color() const { return color_; }
  void SetColor(TColor color);
  TBrushStyle Style() const { return style_; }
  void SetStyle(TBrushStyle style);
  HBRUSH Handle();
  void Assign(const TPersistent& source) override;
  std::function<void()> OnChange;

 private:
  TColor color_ = clWhite;
  TBrushStyle style_ = bsSolid;
  UniqueBrush handle_;
};

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear };

class TPen : public TPersistent {
  QLT_CLASS(TPen)
 public:
  TColor Color() const { return color_; }
  void SetColor(TColor color);
  int32_t Width() const { return width_; }
  void SetWidth(int32_t width);
  TPenStyle Style() const { return style_; }
  void SetStyle(TPenStyle style);
  HPEN Handle();
  std::function<void()> OnChange;

 private:
  TColor color_ = clBlack;
  int32_t width_ = 1;
  TPenStyle style_ = psSolid;
  UniquePen handle_;
};

class TBitmap;

// Draws on a DC it does not own. Its font, brush and pen are selected when a drawing call needs
// them; the DC's own objects are selected back when the canvas lets go of the DC.
class TCanvas : public TPersistent {
  QLT_CLASS(TCanvas)
 public:
  TCanvas();
  ~TCanvas() override;
  HDC Handle() const { return dc_; }
  void SetHandle(HDC dc);
  TFont* Font() { return &font_; }
  TBrush* Brush() { return &brush_; }
  TPen* Pen() { return &pen_; }

  void FillRect(const TRect& r);
  void FrameRect(const TRect& r);
  void Rectangle(const TRect& r);
  void RoundRect(const TRect& r, int cx, int cy);
  void MoveTo(int x, int y);
  void LineTo(int x, int y);
  void TextOut(int x, int y, std::u16string_view text);
  SIZE TextExtent(std::u16string_view text);
  int TextWidth(std::u16string_view text) { return TextExtent(text).cx; }
  int TextHeight(std::u16string_view text) { return TextExtent(text).cy; }
  // DrawTextW with the canvas font; the background is transparent when the brush is clear.
  int DrawText(std::u16string_view text, TRect& r, UINT format);
  void Draw(int x, int y, TBitmap* bitmap);
  void StretchDraw(const TRect& r, TBitmap* bitmap);
  void CopyRect(const TRect& dest, TCanvas* source, const TRect& sourceRect);

 private:
  void Need(bool font, bool brush, bool pen);
  void Deselect();
  HDC dc_ = nullptr;
  TFont font_;
  TBrush brush_;
  TPen pen_;
  HFONT selectedFont_ = nullptr;
  HBRUSH selectedBrush_ = nullptr;
  HPEN selectedPen_ = nullptr;
  HGDIOBJ originalFont_ = nullptr;
  HGDIOBJ originalBrush_ = nullptr;
  HGDIOBJ originalPen_ = nullptr;
};

// A 24-bit bitmap (a DIB section, rows top to bottom). Stored in a description as "Data": the bytes
// of a Windows bitmap file.
class TBitmap : public TPersistent {
  QLT_CLASS(TBitmap)
 public:
  TBitmap();
  ~TBitmap() override;
  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }
  void SetSize(int32_t width, int32_t height);  // pixels become black
  bool Empty() const { return !bitmap_; }
  HBITMAP Handle() const { return bitmap_.Get(); }
  TCanvas* Canvas();  // a memory DC with the bitmap selected, kept until the bitmap changes
  uint8_t* ScanLine(int32_t row);  // BGR triples
  TColor Pixel(int32_t x, int32_t y) const;
  // The colour drawn as transparent: the bottom-left pixel.
  TColor TransparentColor() const { return Empty() ? clNone : Pixel(0, height_ - 1); }

  // A Windows bitmap file of 1, 4, 8, 16, 24 or 32 bits per pixel; false (and the bitmap
  // unchanged) for anything else.
  bool LoadFromBytes(std::string_view file);
  std::string SaveToBytes() const;  // a 24-bit bitmap file; empty for an empty bitmap
  void Clear();
  void Assign(const TPersistent& source) override;
  void DefineProperties(TFiler& filer) override;  // "Data"

  std::function<void()> OnChange;

 private:
  void Changed();
  void ReleaseCanvas();
  int32_t width_ = 0;
  int32_t height_ = 0;
  uint8_t* bits_ = nullptr;
  UniqueBitmap bitmap_;
  UniqueMemoryDc dc_;
  HGDIOBJ dcOriginal_ = nullptr;
  std::unique_ptr<TCanvas> canvas_;
};

// Draws a bitmap with one colour left out (TransparentBlt semantics, done with masks).
void DrawTransparentBitmap(HDC dest, int x, int y, int width, int height, TBitmap& source, int srcX, int srcY,
                           TColor transparent);
// The same rectangle of a bitmap drawn greyed (the look of a disabled glyph).
void DrawDisabledBitmap(HDC dest, int x, int y, int width, int height, TBitmap& source, int srcX, int srcY,
                        TColor transparent);

// An icon stored in a description as "Data": the bytes of an .ico file.
class TIcon : public TPersistent {
  QLT_CLASS(TIcon)
 public:
  HICON Handle() const { return icon_.Get(); }
  bool Empty() const { return !icon_; }
  bool LoadFromBytes(std::string_view file);  // false for anything that is not an icon file
  void SetHandle(HICON icon);                 // takes ownership
  void Assign(const TPersistent& source) override;
  void DefineProperties(TFiler& filer) override;  // "Data"
  std::function<void()> OnChange;

 private:
  UniqueIcon icon_;
  std::string data_;
};

class TCanvas;

// Images of one size in a system image list. Stored in a description as "Bitmap": the images side
// by side in one bitmap file, its bottom-left colour transparent.
class TImageList : public TComponent {
  QLT_CLASS(TImageList)
 public:
  explicit TImageList(TComponent* owner);
  ~TImageList() override;
  int32_t Width() const { return width_; }
  void SetWidth(int32_t width);
  int32_t Height() const { return height_; }
  void SetHeight(int32_t height);
  int Count() const;
  HIMAGELIST Handle();
  int Add(TBitmap* image, TBitmap* mask);        // -1 on failure
  int AddMasked(TBitmap* image, TColor maskColor);
  void Draw(TCanvas* canvas, int x, int y, int index, bool enabled = true);
  void Clear();
  void DefineProperties(TFiler& filer) override;

 private:
  void Recreate();
  int32_t width_ = 16;
  int32_t height_ = 16;
  HIMAGELIST list_ = nullptr;
};

}  // namespace qlt
