// The LZH part of the fuzz checks, in a file of its own: it is built without comparison tracing.
#include <algorithm>
#include <cstring>

#include "bench/LiteralLzh.h"
#include "skin/data/Lzh.h"
#include "skin/kit/LzhPack.h"
#include "tests/fuzz/SkinFuzzing.h"

namespace qlt::fuzzing {

void FuzzLzh(ByteView data) {
  if (data.size() < 3) return;
  const std::uint32_t size = data[0] | data[1] << 8;
  const std::size_t piece = 1 + data[2];
  const ByteView stream = data.subspan(3);

  Bytes fast;
  std::size_t at = 0;
  TLZH lzh;
  lzh.Unpack(
      size, [&](const std::uint8_t* d, std::size_t n) { fast.insert(fast.end(), d, d + n); },
      [&](std::uint8_t* buffer, std::size_t capacity) {
        const std::size_t n = std::min({capacity, piece, stream.size() - at});
        if (n) std::memcpy(buffer, stream.data() + at, n);
        at += n;
        return n;
      });
  Check(fast.size() >= size && fast.size() < size + 60u, "the output ends within the last match");
  Check(fast == reference::LiteralUnpack(Bytes(stream.begin(), stream.end()), size), "TLZH agrees with the reference");

  const Bytes packed = LzhCompress(stream);
  Check(TLZH::UnpackBytes(packed, static_cast<std::uint32_t>(stream.size())) == Bytes(stream.begin(), stream.end()),
        "the compressor's stream unpacks to its input");
}

}  // namespace qlt::fuzzing
