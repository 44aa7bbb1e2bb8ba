#include "skin/data/BmpCodec.h"

#include <bit>
#include <cstring>
#include <limits>

namespace qlt {
namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kCoreHeaderSize = 12;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiRle8 = 1;
constexpr std::uint32_t kBiRle4 = 2;
constexpr std::uint32_t kBiBitFields = 3;

std::uint16_t Le16(ByteView d, std::size_t at) { return static_cast<std::uint16_t>(d[at] | d[at + 1] << 8); }
std::uint32_t Le32(ByteView d, std::size_t at) {
  return static_cast<std::uint32_t>(d[at]) | static_cast<std::uint32_t>(d[at + 1]) << 8 |
         static_cast<std::uint32_t>(d[at + 2]) << 16 | static_cast<std::uint32_t>(d[at + 3]) << 24;
}

void PutLe16(Bytes& out, std::size_t at, std::uint16_t v) {
  out[at] = static_cast<std::uint8_t>(v);
  out[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
void PutLe32(Bytes& out, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

std::optional<BmpHeader> Refuse(std::string* problem, const char* why) {
  if (problem) *problem = why;
  return std::nullopt;
}

// BITMAPINFOHEADER and its V2, V3, V4 and V5 extensions; they share the first 40 bytes.
bool IsInfoHeaderSize(std::uint32_t size) {
  return size == kInfoHeaderSize || size == 52 || size == 56 || size == 108 || size == 124;
}

bool IsContiguousMask(std::uint32_t mask) {
  if (mask == 0) return false;
  const std::uint32_t shifted = mask >> std::countr_zero(mask);
  return (shifted & (shifted + 1)) == 0;
}

// One colour channel of a bit-field pixel, scaled to 8 bits.
std::uint8_t Channel(std::uint32_t value, std::uint32_t mask) {
  const int shift = std::countr_zero(mask);
  const int bits = std::popcount(mask);
  const std::uint32_t c = (value & mask) >> shift;
  if (bits >= 8) return static_cast<std::uint8_t>(c >> (bits - 8));
  const std::uint32_t max = (1u << bits) - 1;
  return static_cast<std::uint8_t>((c * 255 + max / 2) / max);
}

// Runs of palette indices (RLE8: one index per byte; RLE4: two per byte, high nibble first),
// bottom row first. Pixels the runs skip stay black; runs beyond the picture or the data are cut.
void DecodeRunLength(ByteView file, const BmpHeader& h, const Bgr* palette, Bitmap24& image) {
  const bool four = h.bitsPerPixel == 4;
  std::size_t at = h.pixelOffset;
  std::int64_t x = 0;
  std::int64_t row = 0;  // counted from the bottom
  // Pixels of one run; `index(i)` gives the palette index of the i-th.
  auto run = [&](unsigned count, auto index) {
    Bgr* line = row < h.height ? image.ScanLine(h.height - 1 - static_cast<int>(row)) : nullptr;
    for (unsigned i = 0; i < count && line && x + i < h.width; ++i) line[x + i] = palette[index(i)];
    x += count;
  };
  while (at + 1 < file.size() && row < h.height) {
    const unsigned count = file[at];
    const unsigned value = file[at + 1];
    at += 2;
    if (count > 0) {
      run(count, [&](unsigned i) { return four ? (i % 2 == 0 ? value >> 4 : value & 15) : value; });
    } else if (value == 0) {  // end of row
      x = 0;
      ++row;
    } else if (value == 1) {  // end of picture
      break;
    } else if (value == 2) {  // move right and up
      if (at + 1 >= file.size()) break;
      x += file[at];
      row += file[at + 1];
      at += 2;
    } else {  // `value` indices as they are, padded to a 16-bit boundary
      const std::size_t bytes = four ? (value + 1) / 2 : value;
      if (bytes > file.size() - at) break;
      const std::uint8_t* data = file.data() + at;
      run(value, [&](unsigned i) -> unsigned { return four ? (i % 2 == 0 ? data[i / 2] >> 4 : data[i / 2] & 15) : data[i]; });
      at += (bytes + 1) / 2 * 2;
    }
  }
}

}  // namespace

std::optional<BmpHeader> ReadBmpHeader(ByteView file, std::string* problem) {
  if (file.size() < kFileHeaderSize + kCoreHeaderSize) return Refuse(problem, "too short for a bitmap");
  if (file[0] != 'B' || file[1] != 'M') return Refuse(problem, "not a bitmap (no \"BM\")");
  const std::uint32_t dataOffset = Le32(file, 10);
  const std::uint32_t headerSize = Le32(file, 14);

  BmpHeader h;
  std::int64_t height = 0;
  std::uint32_t compression = kBiRgb;
  std::uint32_t colorsUsed = 0;
  if (headerSize == kCoreHeaderSize) {
    h.width = Le16(file, 18);
    height = Le16(file, 20);
    h.bitsPerPixel = Le16(file, 24);
    h.paletteEntrySize = 3;
    if (h.bitsPerPixel != 1 && h.bitsPerPixel != 4 && h.bitsPerPixel != 8 && h.bitsPerPixel != 24) {
      return Refuse(problem, "unsupported depth");
    }
  } else if (IsInfoHeaderSize(headerSize)) {
    if (file.size() < kFileHeaderSize + headerSize) return Refuse(problem, "header reaches beyond the file");
    h.width = static_cast<std::int32_t>(Le32(file, 18));
    height = static_cast<std::int32_t>(Le32(file, 22));
    h.bitsPerPixel = Le16(file, 28);
    compression = Le32(file, 30);
    colorsUsed = Le32(file, 46);
  } else {
    return Refuse(problem, "unknown header size");
  }

  h.topDown = height < 0;
  if (height < 0) height = -height;
  if (h.width <= 0 || height == 0) return Refuse(problem, "no pixels (width or height 0 or negative)");
  if (h.width > kMaxBitmapSide || height > kMaxBitmapSide ||
      static_cast<std::int64_t>(h.width) * height > kMaxBitmapPixels) {
    return Refuse(problem, "larger than any skin image");
  }
  h.height = static_cast<int>(height);

  const int bpp = h.bitsPerPixel;
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) {
    return Refuse(problem, "unsupported depth");
  }
  if (compression == kBiBitFields) {
    if (bpp != 16 && bpp != 32) return Refuse(problem, "bit-field masks on a depth that has none");
    h.bitFields = true;
  } else if (compression == kBiRle8 || compression == kBiRle4) {
    if (bpp != (compression == kBiRle8 ? 8 : 4)) return Refuse(problem, "run-length encoding on the wrong depth");
    if (h.topDown) return Refuse(problem, "a run-length encoded bitmap cannot be top-down");
    h.runLength = true;
  } else if (compression != kBiRgb) {
    return Refuse(problem, "compressed bitmaps (JPEG, PNG) are not supported");
  }

  // The colour masks sit inside the larger headers, or behind the 40-byte one.
  std::size_t paletteOffset = kFileHeaderSize + headerSize;
  if (h.bitFields) {
    const std::size_t maskOffset = kFileHeaderSize + kInfoHeaderSize;
    if (headerSize < kInfoHeaderSize + 12) {
      if (file.size() < maskOffset + 12) return Refuse(problem, "colour masks reach beyond the file");
      paletteOffset = maskOffset + 12;
    }
    for (int i = 0; i < 3; ++i) {
      h.masks[i] = Le32(file, maskOffset + 4 * i);
      if (!IsContiguousMask(h.masks[i])) return Refuse(problem, "colour mask empty or not contiguous");
      if (bpp == 16 && (h.masks[i] >> 16) != 0) return Refuse(problem, "colour mask wider than the pixel");
    }
  } else if (bpp == 16) {
    h.masks[0] = 0x7C00;
    h.masks[1] = 0x03E0;
    h.masks[2] = 0x001F;
  } else if (bpp == 32) {
    h.masks[0] = 0xFF0000;
    h.masks[1] = 0x00FF00;
    h.masks[2] = 0x0000FF;
  }

  std::size_t paletteEnd = paletteOffset;
  if (bpp <= 8) {
    const std::uint32_t maxColors = 1u << bpp;
    if (colorsUsed > maxColors) return Refuse(problem, "palette larger than the depth allows");
    h.paletteCount = static_cast<int>(colorsUsed != 0 ? colorsUsed : maxColors);
    h.paletteOffset = paletteOffset;
    paletteEnd = paletteOffset + static_cast<std::size_t>(h.paletteCount) * h.paletteEntrySize;
    if (paletteEnd > file.size()) return Refuse(problem, "palette reaches beyond the file");
  }

  // Many writers leave the data offset 0; the pixels then follow the palette.
  h.pixelOffset = dataOffset != 0 ? dataOffset : paletteEnd;
  if (h.pixelOffset < paletteEnd) return Refuse(problem, "pixel data overlaps the headers or palette");
  h.stride = (static_cast<std::size_t>(h.width) * bpp + 31) / 32 * 4;
  // Runs are read up to the end of the file at most; their length is not known beforehand.
  const std::uint64_t pixelBytes = h.runLength ? 0 : static_cast<std::uint64_t>(h.stride) * h.height;
  if (h.pixelOffset > file.size() || pixelBytes > file.size() - h.pixelOffset) {
    return Refuse(problem, "pixel data reaches beyond the file");
  }
  return h;
}

std::optional<Bitmap24> DecodeBmp(ByteView file, std::string* problem) {
  const std::optional<BmpHeader> header = ReadBmpHeader(file, problem);
  if (!header) return std::nullopt;
  const BmpHeader& h = *header;

  Bgr palette[256] = {};
  for (int i = 0; i < h.paletteCount; ++i) {
    const std::size_t at = h.paletteOffset + static_cast<std::size_t>(i) * h.paletteEntrySize;
    palette[i] = Bgr{file[at], file[at + 1], file[at + 2]};
  }
  // Indices beyond a short palette read as black, as Windows shows them.

  Bitmap24 image(h.width, h.height);
  if (h.runLength) {
    DecodeRunLength(file, h, palette, image);
    return image;
  }
  for (int row = 0; row < h.height; ++row) {
    const std::uint8_t* src = file.data() + h.pixelOffset + static_cast<std::size_t>(row) * h.stride;
    Bgr* dst = image.ScanLine(h.topDown ? row : h.height - 1 - row);
    switch (h.bitsPerPixel) {
      case 1:
      case 4:
      case 8: {
        const int bpp = h.bitsPerPixel;
        const int perByte = 8 / bpp;
        const unsigned mask = (1u << bpp) - 1;
        for (int x = 0; x < h.width; ++x) {
          const int shift = 8 - bpp * (x % perByte + 1);
          const unsigned index = (src[x / perByte] >> shift) & mask;
          dst[x] = palette[index];
        }
        break;
      }
      case 16:
        for (int x = 0; x < h.width; ++x) {
          const std::uint32_t v = static_cast<std::uint32_t>(src[2 * x] | src[2 * x + 1] << 8);
          dst[x] = RgbPixel(Channel(v, h.masks[0]), Channel(v, h.masks[1]), Channel(v, h.masks[2]));
        }
        break;
      case 24:
        std::memcpy(dst, src, static_cast<std::size_t>(h.width) * 3);
        break;
      case 32:
        for (int x = 0; x < h.width; ++x) {
          const std::uint8_t* p = src + 4 * x;
          const std::uint32_t v = static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
                                  static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
          dst[x] = RgbPixel(Channel(v, h.masks[0]), Channel(v, h.masks[1]), Channel(v, h.masks[2]));
        }
        break;
    }
  }
  return image;
}

Bytes EncodeBmp(const Bitmap24& image) {
  if (image.Empty()) return {};
  const std::size_t stride = (static_cast<std::size_t>(image.Width()) * 3 + 3) / 4 * 4;
  const std::size_t pixelBytes = stride * static_cast<std::size_t>(image.Height());
  const std::size_t offset = kFileHeaderSize + kInfoHeaderSize;
  Bytes out(offset + pixelBytes, 0);
  out[0] = 'B';
  out[1] = 'M';
  PutLe32(out, 2, static_cast<std::uint32_t>(out.size()));
  PutLe32(out, 10, static_cast<std::uint32_t>(offset));
  PutLe32(out, 14, kInfoHeaderSize);
  PutLe32(out, 18, static_cast<std::uint32_t>(image.Width()));
  PutLe32(out, 22, static_cast<std::uint32_t>(image.Height()));
  PutLe16(out, 26, 1);
  PutLe16(out, 28, 24);
  PutLe32(out, 34, static_cast<std::uint32_t>(pixelBytes));
  for (int row = 0; row < image.Height(); ++row) {
    std::memcpy(out.data() + offset + static_cast<std::size_t>(image.Height() - 1 - row) * stride,
                image.ScanLine(row), static_cast<std::size_t>(image.Width()) * 3);
  }
  return out;
}

}  // namespace qlt
