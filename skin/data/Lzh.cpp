#include "skin/data/Lzh.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <new>

#include "skin/data/LzhModel.h"

namespace qlt {
namespace {

using lzh::kBlank;
using lzh::kDistanceCode;
using lzh::kMaxFrequency;
using lzh::kRoot;
using lzh::kTreeSize;
using lzh::kWindowSize;

constexpr std::size_t kInputBlock = 16 * 1024;
constexpr std::size_t kOutputBlock = 64 * 1024;
// Room behind the output block for the last match and the 16-byte chunks that copy it.
constexpr std::size_t kWindowSlack = 128;

inline std::uint64_t LoadBigEndian64(const std::uint8_t* p) {
  std::uint64_t v;
  std::memcpy(&v, p, sizeof v);
  if constexpr (std::endian::native == std::endian::little) v = __builtin_bswap64(v);
  return v;
}

// Copies a match of `length` bytes that starts `back` bytes behind `dst`; the source may overlap
// the bytes being written, which then repeat.
inline void CopyMatch(std::uint8_t* dst, std::size_t back, unsigned length) {
  const std::uint8_t* src = dst - back;
  if (back >= 16) {
    // Each chunk reads only bytes written before it; the last may write past `length` into slack.
    for (unsigned i = 0; i < length; i += 16) std::memcpy(dst + i, src + i, 16);
  } else if (back == 1) {
    std::memset(dst, *src, length);
  } else {
    for (unsigned i = 0; i < length; ++i) dst[i] = src[i];
  }
}

}  // namespace

struct TLZH::Tables {
  lzh::Model model;
  std::uint8_t input[kInputBlock];
  // The window: the 4096 bytes before `position` are the ring buffer of the scheme, unrolled, so a
  // match is a plain copy from behind. Output accumulates behind them and is handed over in blocks.
  std::uint8_t window[kWindowSize + kOutputBlock + kWindowSlack];
};

// The bit buffer: `bits` valid bits at the top of `buf`, most significant first, and the unread
// rest of the current input block. Passed by value so that the loop keeps it in registers.
struct TLZH::BitState {
  std::uint64_t buf;
  int bits;
  const std::uint8_t* in;
  const std::uint8_t* end;
};

TLZH::TLZH() = default;
TLZH::~TLZH() = default;

void TLZH::AllocTables() {
  try {
    tables_.reset(new Tables);
  } catch (const std::bad_alloc&) {
    throw ElzhException(kLzhNoMemoryMessage);
  }
  inputEnded_ = false;
  missing_ = 0;
}

void TLZH::FreeTables() { tables_.reset(); }

void TLZH::Unpack(std::uint32_t unpackedSize, const WriteProc& write, const ReadProc& read) {
  AllocTables();
  struct Release {
    TLZH* self;
    ~Release() {
      self->FreeTables();
      self->read_ = nullptr;
      self->write_ = nullptr;
    }
  } release{this};
  read_ = &read;
  write_ = &write;
  Decode(unpackedSize);
}

// Tops the bit buffer up to at least 56 bits from the current block, the next blocks, or, once the
// input has ended, with zero bits.
[[gnu::noinline]] TLZH::BitState TLZH::RefillFromBlocks(BitState s) {
  while (s.bits <= 56) {
    if (s.in == s.end) {
      if (inputEnded_) {
        fakeBits_ += static_cast<std::uint64_t>(64 - s.bits);
        s.bits = 64;  // the bits below the valid ones are zero already
        return s;
      }
      const std::size_t got = (*read_)(tables_->input, kInputBlock);
      if (got == 0) {
        inputEnded_ = true;
        continue;
      }
      s.in = tables_->input;
      s.end = s.in + (got < kInputBlock ? got : kInputBlock);
      continue;
    }
    s.buf |= static_cast<std::uint64_t>(*s.in++) << (56 - s.bits);
    s.bits += 8;
  }
  return s;
}

[[gnu::noinline]] std::size_t TLZH::Flush(std::size_t end) {
  std::uint8_t* window = tables_->window;
  if (end > kWindowSize) (*write_)(window + kWindowSize, end - kWindowSize);
  std::memmove(window, window + end - kWindowSize, kWindowSize);
  return kWindowSize;
}

void TLZH::Decode(std::uint64_t unpackedSize) {
  lzh::Model& model = tables_->model;
  model.Reset();
  std::uint16_t* const freq = model.frequency;
  std::uint16_t* const parent = model.parent;
  std::uint16_t* const child = model.child;
  std::uint8_t* const window = tables_->window;
  // The ring starts blank. Its last 60 positions are left open by the scheme (an encoder writes
  // them before any match reads them); they start blank here too.
  std::memset(window, kBlank, kWindowSize);
  fakeBits_ = 0;

  auto refill = [this](BitState s) {
    if (s.end - s.in >= 8) {
      // Load 8 bytes, keep the whole ones that fit; the rest are loaded again next time.
      s.buf |= LoadBigEndian64(s.in) >> s.bits;
      const int take = (63 - s.bits) >> 3;
      s.in += take;
      s.bits += take * 8;
      return s;
    }
    return RefillFromBlocks(s);
  };

  BitState s{0, 0, tables_->input, tables_->input};
  std::size_t pos = kWindowSize;
  std::uint64_t produced = 0;
  while (produced < unpackedSize) {
    if (s.bits < 32) s = refill(s);
    // Walk down from the root, one bit per level, to the node of a leaf.
    unsigned node = child[kRoot] + static_cast<unsigned>(s.buf >> 63);
    s.buf <<= 1;
    --s.bits;
    unsigned next;
    while ((next = child[node]) < kTreeSize) {
      if (s.bits == 0) s = refill(s);
      node = next + static_cast<unsigned>(s.buf >> 63);
      s.buf <<= 1;
      --s.bits;
    }
    const unsigned symbol = next - kTreeSize;
    if (freq[kRoot] == kMaxFrequency) {
      model.RebuildTree();
      lzh::UpdateModel(freq, parent, child, symbol);  // the rebuild moved the leaf
    } else {
      lzh::UpdateFromLeaf(freq, parent, child, node);
    }

    if (symbol < 256) {
      window[pos++] = static_cast<std::uint8_t>(symbol);
      ++produced;
    } else {
      if (s.bits < 14) s = refill(s);
      const unsigned first = static_cast<unsigned>(s.buf >> 56);
      const int codeBits = 8 + kDistanceCode.length[first] - 2;
      const unsigned code = static_cast<unsigned>(s.buf >> (64 - codeBits));
      s.buf <<= codeBits;
      s.bits -= codeBits;
      const unsigned distance = kDistanceCode.upper[first] * 64u + (code & 63u);
      const unsigned length = symbol - 253;
      CopyMatch(window + pos, distance + 1, length);
      pos += length;
      produced += length;
    }
    if (pos >= kWindowSize + kOutputBlock) pos = Flush(pos);
  }
  Flush(pos);
  const std::uint64_t wanted = fakeBits_ > static_cast<std::uint64_t>(s.bits) ? fakeBits_ - s.bits : 0;
  missing_ = (wanted + 7) / 8;
}

Bytes TLZH::UnpackBytes(ByteView bitStream, std::uint32_t unpackedSize) {
  Bytes out;
  out.reserve(static_cast<std::size_t>(unpackedSize) + lzh::kLookahead);
  std::size_t at = 0;
  TLZH lzh;
  lzh.Unpack(
      unpackedSize, [&out](const std::uint8_t* data, std::size_t count) { out.insert(out.end(), data, data + count); },
      [&](std::uint8_t* buffer, std::size_t capacity) {
        const std::size_t n = std::min(capacity, bitStream.size() - at);
        if (n != 0) std::memcpy(buffer, bitStream.data() + at, n);
        at += n;
        return n;
      });
  return out;
}

}  // namespace qlt
