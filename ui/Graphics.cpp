#include "ui/Graphics.h"

#include <algorithm>
#include <cstring>

#include "ui/SysUtils.h"

namespace qlt {

TRect Rect(int left, int top, int right, int bottom) { return TRect{left, top, right, bottom}; }

COLORREF ColorToRGB(TColor color) {
  if (IsSystemColor(color)) return GetSysColor(color & 0xFF);
  if (color == clNone || color == clDefault) return 0;
  return static_cast<COLORREF>(color) & 0xFFFFFF;
}

const TEnumInfo& FontStyleInfo() {
  static const TEnumInfo info{{"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"}};
  return info;
}

const TIdentMap& CharsetIdents() {
  static const TIdentMap map{{{"ANSI_CHARSET", ANSI_CHARSET},
                              {"DEFAULT_CHARSET", DEFAULT_CHARSET},
                              {"SYMBOL_CHARSET", SYMBOL_CHARSET},
                              {"SHIFTJIS_CHARSET", SHIFTJIS_CHARSET},
                              {"HANGEUL_CHARSET", HANGEUL_CHARSET},
                              {"GB2312_CHARSET", GB2312_CHARSET},
                              {"CHINESEBIG5_CHARSET", CHINESEBIG5_CHARSET},
                              {"OEM_CHARSET", OEM_CHARSET},
                              {"JOHAB_CHARSET", JOHAB_CHARSET},
                              {"HEBREW_CHARSET", HEBREW_CHARSET},
                              {"ARABIC_CHARSET", ARABIC_CHARSET},
                              {"GREEK_CHARSET", GREEK_CHARSET},
                              {"TURKISH_CHARSET", TURKISH_CHARSET},
                              {"VIETNAMESE_CHARSET", VIETNAMESE_CHARSET},
                              {"THAI_CHARSET", THAI_CHARSET},
                              {"EASTEUROPE_CHARSET", EASTEUROPE_CHARSET},
                              {"RUSSIAN_CHARSET", RUSSIAN_CHARSET},
                              {"BALTIC_CHARSET", BALTIC_CHARSET}}};
  return map;
}

// ---- TFont ----

const TClassInfo& TFont::StaticClass() {
  static const TClassInfo info = ClassBuilder<TFont, TPersistent>("TFont")
                                     .Int("Charset", &TFont::Charset, &TFont::SetCharset, &CharsetIdents())
                                     .Default(-1)
                                     .Int("Color", &TFont::Color, &TFont::SetColor, &ColorIdents())
                                     .Default(-1)
                                     .Int("Height", &TFont::Height, &TFont::SetHeight)
                                     .Default(1)
                                     .Str("Name", &TFont::Name, &TFont::SetName)
                                     .Set("Style", FontStyleInfo(), &TFont::Style, &TFont::SetStyle)
                                     .Build();
  return info;
}

TFont::TFont() = default;

void TFont::Changed() {
  handle_.Reset();
  if (OnChange) OnChange();
}

void TFont::SetName(const std::u16string& name) {
  if (name == name_ || name.empty()) return;
  name_ = name;
  Changed();
}

void TFont::SetHeight(int32_t height) {
  if (height == height_) return;
  height_ = height;
  Changed();
}

int32_t TFont::Size() const { return -MulDiv(height_, 72, 96); }

void TFont::SetSize(int32_t points) { SetHeight(-MulDiv(points, 96, 72)); }

void TFont::SetCharset(int32_t charset) {
  if (charset == charset_) return;
  charset_ = charset;
  Changed();
}

void TFont::SetStyle(TFontStyles style) {
  if (style == style_) return;
  style_ = style;
  Changed();
}

void TFont::SetColor(TColor color) {
  if (color == color_) return;
  color_ = color;
  if (OnChange) OnChange();  // the handle does not depend on the colour
}

HFONT TFont::Handle() {
  if (!handle_) {
    LOGFONTW lf{};
    lf.lfHeight = height_;
    lf.lfWeight = (style_ & FontStyle(fsBold)) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = (style_ & FontStyle(fsItalic)) ? 1 : 0;
    lf.lfUnderline = (style_ & FontStyle(fsUnderline)) ? 1 : 0;
    lf.lfStrikeOut = (style_ & FontStyle(fsStrikeOut)) ? 1 : 0;
    lf.lfCharSet = static_cast<BYTE>(charset_);
    lf.lfQuality = DEFAULT_QUALITY;
    const size_t n = std::min<size_t>(name_.size(), LF_FACESIZE - 1);
    std::memcpy(lf.lfFaceName, name_.data(), n * sizeof(wchar_t));
    handle_.Reset(CreateFontIndirectW(&lf));
  }
  return handle_.Get();
}

void TFont::Assign(const TPersistent& source) {
  const auto* f = dynamic_cast<const TFont*>(&source);
  if (!f) return TPersistent::Assign(source);
  if (SameAs(*f)) return;
  name_ = f->name_;
  height_ = f->height_;
  charset_ = f->charset_;
  style_ = f->style_;
  color_ = f->color_;
  Changed();
}

bool TFont::SameAs(const TFont& o) const {
  return name_ == o.name_ && height_ == o.height_ && charset_ == o.charset_ && style_ == o.style_ &&
         color_ == o.color_;
}

void TFont::SetFromLogFont(const LOGFONTW& lf) {
  name_ = std::u16string(reinterpret_cast<const char16_t*>(lf.lfFaceName));
  height_ = lf.lfHeight;
  charset_ = lf.lfCharSet;
  style_ = (lf.lfWeight >= FW_BOLD ? FontStyle(fsBold) : 0) | (lf.lfItalic ? FontStyle(fsItalic) : 0) |
           (lf.lfUnderline ? FontStyle(fsUnderline) : 0) | (lf.lfStrikeOut ? FontStyle(fsStrikeOut) : 0);
  Changed();
}

// ---- TBrush, TPen ----

const TClassInfo& TBrush::StaticClass() {
  static const TEnumInfo styles{{"bsSolid", "bsClear"}};
  static const TClassInfo info = ClassBuilder<TBrush, TPersistent>("TBrush")
                                     .Int("Color", &TBrush::Color, &TBrush::SetColor, &ColorIdents())
                                     .Default(clWhite)
                                     .Enum("Style", styles, &TBrush::Style, &TBrush::SetStyle)
                                     .Build();
  return info;
}

void TBrush::SetColor(TColor color) {
  if (color == color_) return;
  color_ = color;
  handle_.Reset();
  if (OnChange) OnChange();
}

void TBrush::SetStyle(TBrushStyle style) {
  if (style == style_) return;
  style_ = style;
  handle_.Reset();
  if (OnChange) OnChange();
}

HBRUSH TBrush::Handle() {
  if (style_ == bsClear) return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
  if (!handle_) handle_.Reset(CreateSolidBrush(ColorToRGB(color_)));
  return handle_.Get();
}

void TBrush::Assign(const TPersistent& source) {
  const auto* b = dynamic_cast<const TBrush*>(&source);
  if (!b) return TPersistent::Assign(source);
  SetColor(b->color_);
  SetStyle(b->style_);
}

const TClassInfo& TPen::StaticClass() {
  static const TEnumInfo styles{{"psSolid", "psDash", "psDot", "psDashDot", "psDashDotDot", "psClear"}};
  static const TClassInfo info = ClassBuilder<TPen, TPersistent>("TPen")
                                     .Int("Color", &TPen::Color, &TPen::SetColor, &ColorIdents())
                                     .Enum("Style", styles, &TPen::Style, &TPen::SetStyle)
                                     .Int("Width", &TPen::Width, &TPen::SetWidth)
                                     .Default(1)
                                     .Build();
  return info;
}

void TPen::SetColor(TColor color) {
  if (color == color_) return;
  color_ = color;
  handle_.Reset();
  if (OnChange) OnChange();
}

void TPen::SetWidth(int32_t width) {
  if (width == width_) return;
  width_ = width;
  handle_.Reset();
  if (OnChange) OnChange();
}

void TPen::SetStyle(TPenStyle style) {
  if (style == style_) return;
  style_ = style;
  handle_.Reset();
  if (OnChange) OnChange();
}

HPEN TPen::Handle() {
  if (style_ == psClear) return static_cast<HPEN>(GetStockObject(NULL_PEN));
  if (!handle_) {
    static const int kStyles[] = {PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT, PS_NULL};
    handle_.Reset(CreatePen(kStyles[style_], width_, ColorToRGB(color_)));
  }
  return handle_.Get();
}

// ---- TCanvas ----

const TClassInfo& TCanvas::StaticClass() {
  static const TClassInfo info = ClassBuilder<TCanvas, TPersistent>("TCanvas").Build();
  return info;
}

TCanvas::TCanvas() {
  brush_.SetColor(clWhite);
  // A changed object must be selected again before the next drawing call, and the old handle (which
  // the object frees) must leave the DC first.
  font_.OnChange = [this] {
    if (dc_ && selectedFont_) SelectObject(dc_, originalFont_), selectedFont_ = nullptr;
  };
  brush_.OnChange = [this] {
    if (dc_ && selectedBrush_) SelectObject(dc_, originalBrush_), selectedBrush_ = nullptr;
  };
  pen_.OnChange = [this] {
    if (dc_ && selectedPen_) SelectObject(dc_, originalPen_), selectedPen_ = nullptr;
  };
}

TCanvas::~TCanvas() { Deselect(); }

void TCanvas::Deselect() {
  if (!dc_) return;
  if (selectedFont_) SelectObject(dc_, originalFont_);
  if (selectedBrush_) SelectObject(dc_, originalBrush_);
  if (selectedPen_) SelectObject(dc_, originalPen_);
  selectedFont_ = nullptr;
  selectedBrush_ = nullptr;
  selectedPen_ = nullptr;
}

void TCanvas::SetHandle(HDC dc) {
  if (dc == dc_) return;
  Deselect();
  dc_ = dc;
}

void TCanvas::Need(bool font, bool brush, bool pen) {
  if (!dc_) return;
  if (font) {
    HFONT f = font_.Handle();
    if (f != selectedFont_) {
      HGDIOBJ old = SelectObject(dc_, f);
      if (!selectedFont_) originalFont_ = old;
      selectedFont_ = f;
    }
    SetTextColor(dc_, ColorToRGB(font_.Color()));
  }
  if (brush) {
    HBRUSH b = brush_.Handle();
    if (b != selectedBrush_) {
      HGDIOBJ old = SelectObject(dc_, b);
      if (!selectedBrush_) originalBrush_ = old;
      selectedBrush_ = b;
    }
    if (brush_.Style() == bsClear) {
      SetBkMode(dc_, TRANSPARENT);
    } else {
      SetBkMode(dc_, OPAQUE);
      SetBkColor(dc_, ColorToRGB(brush_.Color()));
    }
  }
  if (pen) {
    HPEN p = pen_.Handle();
    if (p != selectedPen_) {
      HGDIOBJ old = SelectObject(dc_, p);
      if (!selectedPen_) originalPen_ = old;
      selectedPen_ = p;
    }
  }
}

void TCanvas::FillRect(const TRect& r) {
  if (!dc_ || brush_.Style() == bsClear) return;
  ::FillRect(dc_, &r, brush_.Handle());
}

void TCanvas::FrameRect(const TRect& r) {
  if (!dc_ || brush_.Style() == bsClear) return;
  ::FrameRect(dc_, &r, brush_.Handle());
}

void TCanvas::Rectangle(const TRect& r) {
  Need(false, true, true);
  if (dc_) ::Rectangle(dc_, r.left, r.top, r.right, r.bottom);
}

void TCanvas::RoundRect(const TRect& r, int cx, int cy) {
  Need(false, true, true);
  if (dc_) ::RoundRect(dc_, r.left, r.top, r.right, r.bottom, cx, cy);
}

void TCanvas::MoveTo(int x, int y) {
  if (dc_) MoveToEx(dc_, x, y, nullptr);
}

void TCanvas::LineTo(int x, int y) {
  Need(false, false, true);
  if (dc_) ::LineTo(dc_, x, y);
}

void TCanvas::TextOut(int x, int y, std::u16string_view text) {
  Need(true, true, false);
  if (dc_) ::TextOutW(dc_, x, y, reinterpret_cast<LPCWSTR>(text.data()), static_cast<int>(text.size()));
}

SIZE TCanvas::TextExtent(std::u16string_view text) {
  SIZE size{};
  Need(true, false, false);
  if (dc_) GetTextExtentPoint32W(dc_, reinterpret_cast<LPCWSTR>(text.data()), static_cast<int>(text.size()), &size);
  return size;
}

int TCanvas::DrawText(std::u16string_view text, TRect& r, UINT format) {
  Need(true, true, false);
  if (!dc_) return 0;
  return ::DrawTextW(dc_, reinterpret_cast<LPCWSTR>(text.data()), static_cast<int>(text.size()), &r, format);
}

void TCanvas::Draw(int x, int y, TBitmap* bitmap) {
  if (!dc_ || !bitmap || bitmap->Empty()) return;
  BitBlt(dc_, x, y, bitmap->Width(), bitmap->Height(), bitmap->Canvas()->Handle(), 0, 0, SRCCOPY);
}

void TCanvas::StretchDraw(const TRect& r, TBitmap* bitmap) {
  if (!dc_ || !bitmap || bitmap->Empty()) return;
  SetStretchBltMode(dc_, COLORONCOLOR);
  StretchBlt(dc_, r.left, r.top, r.right - r.left, r.bottom - r.top, bitmap->Canvas()->Handle(), 0, 0,
             bitmap->Width(), bitmap->Height(), SRCCOPY);
}

void TCanvas::CopyRect(const TRect& dest, TCanvas* source, const TRect& s) {
  if (!dc_ || !source || !source->Handle()) return;
  SetStretchBltMode(dc_, COLORONCOLOR);
  StretchBlt(dc_, dest.left, dest.top, dest.right - dest.left, dest.bottom - dest.top, source->Handle(), s.left, s.top,
             s.right - s.left, s.bottom - s.top, SRCCOPY);
}

// ---- TBitmap ----

const TClassInfo& TBitmap::StaticClass() {
  static const TClassInfo info = ClassBuilder<TBitmap, TPersistent>("TBitmap").Build();
  return info;
}

TBitmap::TBitmap() = default;

TBitmap::~TBitmap() { ReleaseCanvas(); }

void TBitmap::ReleaseCanvas() {
  if (canvas_) canvas_->SetHandle(nullptr);
  canvas_.reset();
  if (dc_ && dcOriginal_) SelectObject(dc_.Get(), dcOriginal_);
  dcOriginal_ = nullptr;
  dc_.Reset();
}

void TBitmap::Changed() {
  if (OnChange) OnChange();
}

namespace {

constexpr int Stride(int width) { return ((width * 3) + 3) & ~3; }

}  // namespace

void TBitmap::SetSize(int32_t width, int32_t height) {
  ReleaseCanvas();
  bitmap_.Reset();
  bits_ = nullptr;
  width_ = height_ = 0;
  if (width > 0 && height > 0) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;  // rows top to bottom
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_.Reset(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (bitmap_) {
      bits_ = static_cast<uint8_t*>(bits);
      width_ = width;
      height_ = height;
    }
  }
  Changed();
}

TCanvas* TBitmap::Canvas() {
  if (!canvas_) {
    canvas_ = std::make_unique<TCanvas>();
    if (bitmap_) {
      dc_.Reset(CreateCompatibleDC(nullptr));
      dcOriginal_ = SelectObject(dc_.Get(), bitmap_.Get());
      canvas_->SetHandle(dc_.Get());
    }
  }
  return canvas_.get();
}

uint8_t* TBitmap::ScanLine(int32_t row) {
  if (!bits_ || row < 0 || row >= height_) return nullptr;
  GdiFlush();
  return bits_ + static_cast<size_t>(row) * Stride(width_);
}

TColor TBitmap::Pixel(int32_t x, int32_t y) const {
  if (!bits_ || x < 0 || y < 0 || x >= width_ || y >= height_) return clNone;
  GdiFlush();
  const uint8_t* p = bits_ + static_cast<size_t>(y) * Stride(width_) + x * 3;
  return RGBColor(p[2], p[1], p[0]);
}

bool TBitmap::LoadFromBytes(std::string_view file) {
  // Validated before GDI sees it: a bitmap in a description or a resource is input like any other.
  if (file.size() < sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)) return false;
  BITMAPFILEHEADER fh;
  std::memcpy(&fh, file.data(), sizeof fh);
  if (fh.bfType != 0x4D42) return false;
  const auto* info = reinterpret_cast<const BITMAPINFO*>(file.data() + sizeof(BITMAPFILEHEADER));
  BITMAPINFOHEADER ih;
  std::memcpy(&ih, info, sizeof ih);
  if (ih.biSize < sizeof(BITMAPINFOHEADER) || ih.biWidth <= 0 || ih.biHeight == 0 || ih.biPlanes != 1) return false;
  const int64_t w = ih.biWidth;
  const int64_t h = ih.biHeight < 0 ? -int64_t{ih.biHeight} : ih.biHeight;
  if (w > 16384 || h > 16384) return false;
  const int bpp = ih.biBitCount;
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) return false;
  if (ih.biCompression != BI_RGB && !(ih.biCompression == BI_BITFIELDS && (bpp == 16 || bpp == 32))) return false;
  int64_t colours = bpp <= 8 ? (ih.biClrUsed ? ih.biClrUsed : (int64_t{1} << bpp)) : 0;
  if (colours > 256) return false;
  const int64_t headerEnd = sizeof(BITMAPFILEHEADER) + ih.biSize + colours * 4 +
                            (ih.biCompression == BI_BITFIELDS && ih.biSize == sizeof(BITMAPINFOHEADER) ? 12 : 0);
  const int64_t rowBytes = ((w * bpp + 31) / 32) * 4;
  const int64_t offset = fh.bfOffBits ? fh.bfOffBits : headerEnd;
  if (headerEnd > static_cast<int64_t>(file.size()) || offset < headerEnd ||
      offset + rowBytes * h > static_cast<int64_t>(file.size())) {
    return false;
  }
  // The header may be larger than BITMAPINFO (V4, V5): hand GDI a plain copy with the palette.
  std::string header(sizeof(BITMAPINFOHEADER) + static_cast<size_t>(colours) * 4 + 12, '\0');
  BITMAPINFOHEADER plain = ih;
  plain.biSize = sizeof(BITMAPINFOHEADER);
  std::memcpy(header.data(), &plain, sizeof plain);
  const char* extra = file.data() + sizeof(BITMAPFILEHEADER) + ih.biSize;
  if (ih.biCompression == BI_BITFIELDS) {
    const char* masks = ih.biSize == sizeof(BITMAPINFOHEADER) ? extra : file.data() + sizeof(BITMAPFILEHEADER) + 40;
    std::memcpy(header.data() + sizeof plain, masks, 12);
  } else {
    std::memcpy(header.data() + sizeof plain, extra, static_cast<size_t>(colours) * 4);
  }
  SetSize(static_cast<int32_t>(w), static_cast<int32_t>(h));
  if (Empty()) return false;
  ReleaseCanvas();
  UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
  SelectedObject selected(dc.Get(), bitmap_.Get());
  SetDIBitsToDevice(dc.Get(), 0, 0, static_cast<DWORD>(w), static_cast<DWORD>(h), 0, 0, 0, static_cast<UINT>(h),
                    file.data() + offset, reinterpret_cast<const BITMAPINFO*>(header.data()), DIB_RGB_COLORS);
  GdiFlush();
  Changed();
  return true;
}

std::string TBitmap::SaveToBytes() const {
  if (Empty()) return {};
  GdiFlush();
  const int stride = Stride(width_);
  BITMAPFILEHEADER fh{};
  BITMAPINFOHEADER ih{};
  ih.biSize = sizeof ih;
  ih.biWidth = width_;
  ih.biHeight = height_;  // bottom-up, the common form of a file
  ih.biPlanes = 1;
  ih.biBitCount = 24;
  ih.biSizeImage = static_cast<DWORD>(stride * height_);
  fh.bfType = 0x4D42;
  fh.bfOffBits = sizeof fh + sizeof ih;
  fh.bfSize = fh.bfOffBits + ih.biSizeImage;
  std::string out(fh.bfSize, '\0');
  std::memcpy(out.data(), &fh, sizeof fh);
  std::memcpy(out.data() + sizeof fh, &ih, sizeof ih);
  for (int y = 0; y < height_; ++y) {
    std::memcpy(out.data() + fh.bfOffBits + static_cast<size_t>(height_ - 1 - y) * stride,
                bits_ + static_cast<size_t>(y) * stride, stride);
  }
  return out;
}

void TBitmap::Clear() {
  if (Empty()) return;
  SetSize(0, 0);
}

void TBitmap::Assign(const TPersistent& source) {
  const auto* b = dynamic_cast<const TBitmap*>(&source);
  if (!b) return TPersistent::Assign(source);
  if (b == this) return;
  if (b->Empty()) return Clear();
  LoadFromBytes(b->SaveToBytes());
}

void TBitmap::DefineProperties(TFiler& filer) {
  filer.DefineProperty(
      "Data",
      [this](const DfmValue& v) {
        if (v.kind != DfmValue::Kind::Binary || !LoadFromBytes(v.bytes)) {
          throw EReadError(u"Invalid bitmap data");
        }
      },
      [this]() -> std::optional<DfmValue> {
        if (Empty()) return std::nullopt;
        return DfmValue::Bin(SaveToBytes());
      });
}

void DrawTransparentBitmap(HDC dest, int x, int y, int width, int height, TBitmap& source, int srcX, int srcY,
                           TColor transparent) {
  if (source.Empty() || width <= 0 || height <= 0) return;
  HDC src = source.Canvas()->Handle();
  // A monochrome mask: 1 where the source has the transparent colour.
  UniqueMemoryDc maskDc(CreateCompatibleDC(dest));
  UniqueBitmap mask(CreateBitmap(width, height, 1, 1, nullptr));
  SelectedObject maskSelected(maskDc.Get(), mask.Get());
  const COLORREF oldBk = SetBkColor(src, ColorToRGB(transparent));
  BitBlt(maskDc.Get(), 0, 0, width, height, src, srcX, srcY, SRCCOPY);
  SetBkColor(src, oldBk);
  const COLORREF oldDestBk = SetBkColor(dest, RGB(255, 255, 255));
  const COLORREF oldDestText = SetTextColor(dest, RGB(0, 0, 0));
  // dest = (dest AND mask) ... then OR the source where the mask is 0.
  UniqueMemoryDc workDc(CreateCompatibleDC(dest));
  UniqueBitmap work(CreateCompatibleBitmap(dest, width, height));
  SelectedObject workSelected(workDc.Get(), work.Get());
  BitBlt(workDc.Get(), 0, 0, width, height, src, srcX, srcY, SRCCOPY);
  SetBkColor(workDc.Get(), RGB(0, 0, 0));
  SetTextColor(workDc.Get(), RGB(255, 255, 255));
  BitBlt(workDc.Get(), 0, 0, width, height, maskDc.Get(), 0, 0, SRCAND);  // transparent pixels black
  BitBlt(dest, x, y, width, height, maskDc.Get(), 0, 0, SRCAND);            // hole for the opaque pixels
  BitBlt(dest, x, y, width, height, workDc.Get(), 0, 0, SRCPAINT);
  SetBkColor(dest, oldDestBk);
  SetTextColor(dest, oldDestText);
}

void DrawDisabledBitmap(HDC dest, int x, int y, int width, int height, TBitmap& source, int srcX, int srcY,
                        TColor transparent) {
  if (source.Empty() || width <= 0 || height <= 0) return;
  TBitmap grey;
  grey.SetSize(width, height);
  const COLORREF t = ColorToRGB(transparent);
  for (int row = 0; row < height; ++row) {
    uint8_t* out = grey.ScanLine(row);
    for (int col = 0; col < width; ++col) {
      const TColor c = source.Pixel(srcX + col, srcY + row);
      const int r = c & 0xFF, g = (c >> 8) & 0xFF, b = (c >> 16) & 0xFF;
      uint8_t v;
      if (RGB(r, g, b) == t) {
        out[col * 3] = GetBValue(t), out[col * 3 + 1] = GetGValue(t), out[col * 3 + 2] = GetRValue(t);
        continue;
      }
      v = static_cast<uint8_t>(128 + (r + g + b) / 6);  // light grey shades
      out[col * 3] = out[col * 3 + 1] = out[col * 3 + 2] = v;
    }
  }
  DrawTransparentBitmap(dest, x, y, width, height, grey, 0, 0, transparent);
}

// ---- TIcon ----

const TClassInfo& TIcon::StaticClass() {
  static const TClassInfo info = ClassBuilder<TIcon, TPersistent>("TIcon").Build();
  return info;
}

bool TIcon::LoadFromBytes(std::string_view file) {
  // ICONDIR: reserved 0, type 1, count; then 16-byte entries with size and offset of each image.
  if (file.size() < 6 + 16) return false;
  const auto* bytes = reinterpret_cast<const uint8_t*>(file.data());
  const int type = bytes[2] | (bytes[3] << 8);
  const int count = bytes[4] | (bytes[5] << 8);
  if (bytes[0] || bytes[1] || type != 1 || count == 0 || file.size() < 6 + 16u * count) return false;
  // The entry closest to 32 x 32.
  int best = -1, bestScore = 1 << 30;
  for (int i = 0; i < count; ++i) {
    const uint8_t* e = bytes + 6 + 16 * i;
    const int w = e[0] ? e[0] : 256;
    const uint32_t size = e[8] | (e[9] << 8) | (e[10] << 16) | (uint32_t(e[11]) << 24);
    const uint32_t offset = e[12] | (e[13] << 8) | (e[14] << 16) | (uint32_t(e[15]) << 24);
    if (size == 0 || offset > file.size() || size > file.size() - offset) continue;
    const int score = std::abs(w - 32) * 64 - e[6] - e[7];
    if (score < bestScore) best = i, bestScore = score;
  }
  if (best < 0) return false;
  const uint8_t* e = bytes + 6 + 16 * best;
  const uint32_t size = e[8] | (e[9] << 8) | (e[10] << 16) | (uint32_t(e[11]) << 24);
  const uint32_t offset = e[12] | (e[13] << 8) | (e[14] << 16) | (uint32_t(e[15]) << 24);
  HICON icon = CreateIconFromResourceEx(const_cast<uint8_t*>(bytes + offset), size, TRUE, 0x00030000, 0, 0, 0);
  if (!icon) return false;
  icon_.Reset(icon);
  data_ = std::string(file);
  if (OnChange) OnChange();
  return true;
}

void TIcon::SetHandle(HICON icon) {
  icon_.Reset(icon);
  data_.clear();
  if (OnChange) OnChange();
}

void TIcon::Assign(const TPersistent& source) {
  const auto* i = dynamic_cast<const TIcon*>(&source);
  if (!i) return TPersistent::Assign(source);
  if (i == this) return;
  if (!i->data_.empty()) {
    LoadFromBytes(i->data_);
  } else {
    SetHandle(i->icon_ ? CopyIcon(i->icon_.Get()) : nullptr);
  }
}

void TIcon::DefineProperties(TFiler& filer) {
  filer.DefineProperty(
      "Data",
      [this](const DfmValue& v) {
        if (v.kind != DfmValue::Kind::Binary || !LoadFromBytes(v.bytes)) throw EReadError(u"Invalid icon data");
      },
      [this]() -> std::optional<DfmValue> {
        if (data_.empty()) return std::nullopt;
        return DfmValue::Bin(data_);
      });
}

// ---- TImageList ----

const TClassInfo& TImageList::StaticClass() {
  static const TClassInfo info = ClassBuilder<TImageList, TComponent>("TImageList")
                                     .Int("Height", &TImageList::Height, &TImageList::SetHeight)
                                     .Default(16)
                                     .Int("Width", &TImageList::Width, &TImageList::SetWidth)
                                     .Default(16)
                                     .Build();
  return info;
}

TImageList::TImageList(TComponent* owner) : TComponent(owner) {}

TImageList::~TImageList() {
  if (list_) ImageList_Destroy(list_);
}

void TImageList::Recreate() {
  if (list_) ImageList_Destroy(list_);
  list_ = nullptr;
}

void TImageList::SetWidth(int32_t width) {
  if (width == width_ || width <= 0) return;
  width_ = width;
  Recreate();
}

void TImageList::SetHeight(int32_t height) {
  if (height == height_ || height <= 0) return;
  height_ = height;
  Recreate();
}

HIMAGELIST TImageList::Handle() {
  if (!list_) list_ = ImageList_Create(width_, height_, ILC_COLOR24 | ILC_MASK, 4, 4);
  return list_;
}

int TImageList::Count() const { return list_ ? ImageList_GetImageCount(list_) : 0; }

int TImageList::Add(TBitmap* image, TBitmap* mask) {
  if (!image || image->Empty()) return -1;
  return ImageList_Add(Handle(), image->Handle(), mask && !mask->Empty() ? mask->Handle() : nullptr);
}

int TImageList::AddMasked(TBitmap* image, TColor maskColor) {
  if (!image || image->Empty()) return -1;
  return ImageList_AddMasked(Handle(), image->Handle(), ColorToRGB(maskColor));
}

void TImageList::Draw(TCanvas* canvas, int x, int y, int index, bool enabled) {
  if (!canvas || !canvas->Handle() || index < 0 || index >= Count()) return;
  if (enabled) {
    ImageList_Draw(list_, index, canvas->Handle(), x, y, ILD_TRANSPARENT);
  } else {
    IMAGELISTDRAWPARAMS p{};
    p.cbSize = sizeof p;
    p.himl = list_;
    p.i = index;
    p.hdcDst = canvas->Handle();
    p.x = x;
    p.y = y;
    p.rgbBk = CLR_NONE;
    p.rgbFg = CLR_NONE;
    p.fStyle = ILD_TRANSPARENT;
    p.fState = ILS_SATURATE;
    if (!ImageList_DrawIndirect(&p)) ImageList_DrawEx(list_, index, canvas->Handle(), x, y, 0, 0, CLR_NONE, CLR_DEFAULT, ILD_BLEND50);
  }
}

void TImageList::Clear() {
  if (list_) ImageList_RemoveAll(list_);
}

void TImageList::DefineProperties(TFiler& filer) {
  filer.DefineProperty(
      "Bitmap",
      [this](const DfmValue& v) {
        TBitmap strip;
        if (v.kind != DfmValue::Kind::Binary || !strip.LoadFromBytes(v.bytes)) throw EReadError(u"Invalid image data");
        Clear();
        AddMasked(&strip, strip.TransparentColor());
      },
      [this]() -> std::optional<DfmValue> {
        const int n = Count();
        if (n == 0) return std::nullopt;
        TBitmap strip;
        strip.SetSize(width_ * n, height_);
        TCanvas* c = strip.Canvas();
        c->Brush()->SetColor(clFuchsia);
        c->FillRect(Rect(0, 0, width_ * n, height_));
        for (int i = 0; i < n; ++i) ImageList_Draw(list_, i, c->Handle(), i * width_, 0, ILD_TRANSPARENT);
        // Keep the bottom-left pixel the transparent colour whatever the first image holds.
        SetPixel(c->Handle(), 0, height_ - 1, RGB(255, 0, 255));
        return DfmValue::Bin(strip.SaveToBytes());
      });
}

}  // namespace qlt
