#include "resources/skin/generator/PngWriter.h"

#include <array>
#include <string_view>

namespace qlt::art {
namespace {

std::uint32_t Crc32(const std::uint8_t* data, std::size_t size, std::uint32_t crc = 0) {
  static const std::array<std::uint32_t, 256> table = [] {
    std::array<std::uint32_t, 256> t{};
    for (std::uint32_t n = 0; n < 256; ++n) {
      std::uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[n] = c;
    }
    return t;
  }();
  crc = ~crc;
  for (std::size_t i = 0; i < size; ++i) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
  return ~crc;
}

void PutBE32(Bytes& out, std::uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(v >> shift));
}

void Chunk(Bytes& out, std::string_view type, const Bytes& data) {
  PutBE32(out, static_cast<std::uint32_t>(data.size()));
  Bytes body(type.begin(), type.end());
  body.insert(body.end(), data.begin(), data.end());
  out.insert(out.end(), body.begin(), body.end());
  PutBE32(out, Crc32(body.data(), body.size()));
}

// A zlib stream of stored (uncompressed) blocks.
Bytes Zlib(const Bytes& raw) {
  Bytes out = {0x78, 0x01};
  std::size_t pos = 0;
  do {
    const std::size_t n = std::min<std::size_t>(raw.size() - pos, 65535);
    const bool last = pos + n == raw.size();
    out.push_back(last ? 1 : 0);
    out.push_back(static_cast<std::uint8_t>(n));
    out.push_back(static_cast<std::uint8_t>(n >> 8));
    out.push_back(static_cast<std::uint8_t>(~n));
    out.push_back(static_cast<std::uint8_t>(~n >> 8));
    out.insert(out.end(), raw.begin() + static_cast<std::ptrdiff_t>(pos),
               raw.begin() + static_cast<std::ptrdiff_t>(pos + n));
    pos += n;
  } while (pos < raw.size());
  std::uint32_t a = 1, b = 0;
  for (std::uint8_t byte : raw) {
    a = (a + byte) % 65521;
    b = (b + a) % 65521;
  }
  PutBE32(out, (b << 16) | a);
  return out;
}

}  // namespace

Bytes EncodePng(const Bitmap24& image) {
  Bytes out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  Bytes header;
  PutBE32(header, static_cast<std::uint32_t>(image.Width()));
  PutBE32(header, static_cast<std::uint32_t>(image.Height()));
  header.insert(header.end(), {8, 2, 0, 0, 0});  // 8 bits, RGB, deflate, no filter choice, no interlace
  Chunk(out, "IHDR", header);
  Bytes raw;
  raw.reserve(static_cast<std::size_t>(image.Height()) * (1 + 3 * static_cast<std::size_t>(image.Width())));
  for (int y = 0; y < image.Height(); ++y) {
    raw.push_back(0);
    const Bgr* line = image.ScanLine(y);
    for (int x = 0; x < image.Width(); ++x) raw.insert(raw.end(), {line[x].r, line[x].g, line[x].b});
  }
  Chunk(out, "IDAT", Zlib(raw));
  Chunk(out, "IEND", {});
  return out;
}

}  // namespace qlt::art
