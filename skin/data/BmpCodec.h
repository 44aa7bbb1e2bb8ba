#pragma once
// Windows bitmap files ("BM"), as a skin carries them: 1, 4 and 8 bits per pixel with a palette,
// 16 and 32 bits with or without bit-field masks, and 24 bits; rows bottom-up or top-down; the
// 12-byte core header and the 40- to 124-byte info headers; run-length encoded 4- and 8-bit
// bitmaps too (image tools write them). JPEG and PNG inside a bitmap are not read. The bytes come from outside (any skin file), so every field is checked against the data
// before a pixel is read: a header that lies about its size, depth or palette refuses the bitmap.
#include <cstdint>
#include <optional>
#include <string>

#include "skin/data/Bitmap24.h"
#include "skin/data/Bytes.h"

namespace qlt {

// Limits of a bitmap we are willing to decode: far above any skin image, far below what would
// exhaust memory (a 1-bit file of a few hundred kilobytes could otherwise claim gigabytes).
inline constexpr int kMaxBitmapSide = 16384;
inline constexpr std::int64_t kMaxBitmapPixels = std::int64_t{1} << 24;

struct BmpHeader {
  int width = 0;
  int height = 0;          // always positive; topDown tells the row order
  int bitsPerPixel = 0;
  bool topDown = false;
  bool bitFields = false;  // 16 or 32 bits with explicit colour masks
  bool runLength = false;  // RLE8 (8 bits) or RLE4 (4 bits); rows bottom-up
  std::uint32_t masks[3] = {0, 0, 0};  // red, green, blue (16 and 32 bits)
  std::size_t paletteOffset = 0;
  int paletteCount = 0;
  int paletteEntrySize = 4;            // 3 for the core header
  std::size_t pixelOffset = 0;
  std::size_t stride = 0;              // bytes per row, padded to 4 (uncompressed rows)
};

// Reads and checks the headers. On failure returns nothing and, when asked, says why.
std::optional<BmpHeader> ReadBmpHeader(ByteView file, std::string* problem = nullptr);

// Decodes a whole file; an empty optional for anything refused (the caller then has no image).
std::optional<Bitmap24> DecodeBmp(ByteView file, std::string* problem = nullptr);

// A 24-bit bottom-up bitmap file with a 40-byte header. An empty image gives no bytes at all, which
// a skin treats as a missing image.
Bytes EncodeBmp(const Bitmap24& image);

}  // namespace qlt
