#include "skin/kit/LzhPack.h"

#include <algorithm>
#include <array>
#include <stdexcept>
#include <vector>

namespace qlt {
namespace {

using lzh::kLookahead;
using lzh::kRoot;
using lzh::kThreshold;
using lzh::kTreeSize;
using lzh::kWindowSize;

// The prefix code of the upper six bits of a distance, read off the decoder's table.
struct DistancePrefix {
  std::uint8_t length[64];
  std::uint8_t code[64];
};

constexpr DistancePrefix MakeDistancePrefix() {
  DistancePrefix p{};
  for (unsigned i = 256; i-- > 0;) {
    const unsigned upper = lzh::kDistanceCode.upper[i];
    p.length[upper] = lzh::kDistanceCode.length[i];
    p.code[upper] = static_cast<std::uint8_t>(i >> (8 - lzh::kDistanceCode.length[i]));
  }
  return p;
}

constexpr DistancePrefix kDistancePrefix = MakeDistancePrefix();

// Longest-match search over hash chains of 3-byte prefixes, limited to the 4096-byte window.
class MatchFinder {
 public:
  explicit MatchFinder(const std::vector<std::uint8_t>& buffer) : buf_(buffer) { head_.fill(-1); }

  void Insert(std::size_t pos) {
    if (pos + 2 >= buf_.size()) return;
    const unsigned h = Hash(pos);
    prev_[pos & (kWindowSize - 1)] = head_[h];
    head_[h] = static_cast<std::int64_t>(pos);
  }

  struct Match {
    unsigned length = 0;
    std::size_t from = 0;
  };

  Match Longest(std::size_t pos) const {
    Match best;
    const std::size_t limit = std::min<std::size_t>(kLookahead, buf_.size() - pos);
    if (limit <= kThreshold) return best;
    const std::uint8_t* here = buf_.data() + pos;
    int chain = kMaxChain;
    for (std::int64_t cand = head_[Hash(pos)]; cand >= 0 && chain-- > 0;
         cand = prev_[static_cast<std::size_t>(cand) & (kWindowSize - 1)]) {
      const auto from = static_cast<std::size_t>(cand);
      if (pos - from > kWindowSize) break;
      const std::uint8_t* there = buf_.data() + from;
      if (there[best.length] != here[best.length]) continue;
      unsigned n = 0;
      while (n < limit && there[n] == here[n]) ++n;
      if (n > best.length) {
        best = {n, from};
        if (n == limit) break;
      }
    }
    return best;
  }

 private:
  static constexpr int kMaxChain = 96;
  static constexpr unsigned kHashBits = 15;

  unsigned Hash(std::size_t pos) const {
    return ((buf_[pos] << 10) ^ (buf_[pos + 1] << 5) ^ buf_[pos + 2]) & ((1u << kHashBits) - 1);
  }

  const std::vector<std::uint8_t>& buf_;
  std::array<std::int64_t, 1u << kHashBits> head_;
  std::array<std::int64_t, kWindowSize> prev_{};
};

}  // namespace

LzhSymbolWriter::LzhSymbolWriter() { model_.Reset(); }

void LzhSymbolWriter::PutBits(std::uint32_t bits, int count) {
  pending_ = pending_ << count | (bits & ((std::uint64_t{1} << count) - 1));
  pendingCount_ += count;
  while (pendingCount_ >= 8) {
    pendingCount_ -= 8;
    out_.push_back(static_cast<std::uint8_t>(pending_ >> pendingCount_));
  }
}

void LzhSymbolWriter::PutSymbol(unsigned symbol) {
  // The path from the leaf up to the root, one bit per node (a second child has an odd index),
  // written from the root down.
  std::array<std::uint8_t, kTreeSize> path;
  int depth = 0;
  unsigned node = model_.parent[symbol + kTreeSize];
  do {
    path[depth++] = static_cast<std::uint8_t>(node & 1);
    node = model_.parent[node];
  } while (node != kRoot);
  while (depth > 0) PutBits(path[--depth], 1);
  lzh::Update(model_, symbol);
}

void LzhSymbolWriter::Literal(std::uint8_t byte) { PutSymbol(byte); }

void LzhSymbolWriter::Match(unsigned length, unsigned distance) {
  if (length <= kThreshold || length > kLookahead || distance >= kWindowSize) {
    throw std::invalid_argument("LZH match out of range");
  }
  PutSymbol(255 - kThreshold + length);
  const unsigned upper = distance >> 6;
  PutBits(kDistancePrefix.code[upper], kDistancePrefix.length[upper]);
  PutBits(distance & 63, 6);
}

Bytes LzhSymbolWriter::Finish() {
  if (pendingCount_ > 0) PutBits(0, 8 - pendingCount_);
  return std::move(out_);
}

Bytes LzhCompress(ByteView data) {
  // The data behind the last 60 blanks of the decoder's starting window, so that matches may
  // begin in the blanks (the window's other starting blanks add nothing a match could use).
  std::vector<std::uint8_t> buf(kLookahead + data.size(), lzh::kBlank);
  std::copy(data.begin(), data.end(), buf.begin() + kLookahead);
  MatchFinder finder(buf);
  for (std::size_t i = 0; i < kLookahead; ++i) finder.Insert(i);

  LzhSymbolWriter writer;
  std::size_t pos = kLookahead;
  while (pos < buf.size()) {
    const MatchFinder::Match match = finder.Longest(pos);
    if (match.length > kThreshold) {
      writer.Match(match.length, static_cast<unsigned>(pos - match.from - 1));
      for (unsigned k = 0; k < match.length; ++k) finder.Insert(pos + k);
      pos += match.length;
    } else {
      writer.Literal(buf[pos]);
      finder.Insert(pos);
      ++pos;
    }
  }
  return writer.Finish();
}

}  // namespace qlt
