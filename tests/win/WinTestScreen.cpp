// Grabs of the screen for the Windows tests: pixels to check, and screenshots to look at.
#include "resources/skin/generator/PngWriter.h"
#include "skin/data/BmpCodec.h"
#include "tests/win/WinTestSupport.h"

namespace qlt::test {
namespace {

std::wstring& ScreenshotFolder() {
  static std::wstring folder = TestProgramDirectory() + L"screenshots";
  return folder;
}

bool WriteImage(const std::wstring& path, const Bytes& bytes) {
  return !bytes.empty() && WriteFileBytes(path, std::string(bytes.begin(), bytes.end()));
}

}  // namespace

ScreenGrab::ScreenGrab(const RECT& screenRect) : rect_(screenRect) {
  const int width = screenRect.right - screenRect.left, height = screenRect.bottom - screenRect.top;
  if (width <= 0 || height <= 0) return;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (memory && bitmap && bits) {
    HGDIOBJ old = SelectObject(memory, bitmap);
    if (BitBlt(memory, 0, 0, width, height, screen, screenRect.left, screenRect.top, SRCCOPY)) {
      GdiFlush();
      const auto* p = static_cast<const DWORD*>(bits);
      pixels_.assign(p, p + static_cast<size_t>(width) * static_cast<size_t>(height));
      width_ = width;
      height_ = height;
    }
    SelectObject(memory, old);
  }
  if (bitmap) DeleteObject(bitmap);
  if (memory) DeleteDC(memory);
  ReleaseDC(nullptr, screen);
}

ScreenGrab ScreenGrab::OfWindow(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return ScreenGrab(rect);
}

ScreenGrab ScreenGrab::OfScreen() {
  return ScreenGrab(RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)});
}

COLORREF ScreenGrab::Pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return CLR_INVALID;
  const DWORD p = pixels_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)];
  return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

std::vector<COLORREF> ScreenGrab::Pixels() const {
  std::vector<COLORREF> all;
  all.reserve(pixels_.size());
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x) all.push_back(Pixel(x, y));
  }
  return all;
}

Bitmap24 ScreenGrab::Image() const {
  Bitmap24 image(width_, height_);
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x) {
      const COLORREF c = Pixel(x, y);
      image.At(x, y) = RgbPixel(GetRValue(c), GetGValue(c), GetBValue(c));
    }
  }
  return image;
}

bool ScreenGrab::SavePng(const std::wstring& path) const { return !Empty() && WriteImage(path, art::EncodePng(Image())); }

bool ScreenGrab::SaveBmp(const std::wstring& path) const { return !Empty() && WriteImage(path, EncodeBmp(Image())); }

bool SaveScreenshot(const std::wstring& name) {
  if (ScreenshotFolder().empty()) return false;
  CreateFolders(ScreenshotFolder());
  return ScreenGrab::OfScreen().SavePng(ScreenshotFolder() + L"\\" + name + L".png");
}

void SetScreenshotFolder(const std::wstring& folder) { ScreenshotFolder() = folder; }

}  // namespace qlt::test
