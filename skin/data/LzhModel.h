#pragma once
// The adaptive Huffman model of the LZHUF scheme, shared by the decoder (TLZH) and the skin kit's
// compressor, which must stay in step with it symbol for symbol. The tables, their sizes and the
// arithmetic are those of the scheme as published; only the packaging is ours.
#include <cstdint>

namespace qlt::lzh {

inline constexpr unsigned kWindowSize = 4096;            // ring buffer length
inline constexpr unsigned kWindowMask = kWindowSize - 1;
inline constexpr unsigned kLookahead = 60;               // longest match
inline constexpr unsigned kThreshold = 2;                // a match is at least 3 bytes long
inline constexpr unsigned kSymbolCount = 256 - kThreshold + kLookahead;  // 314
inline constexpr unsigned kTreeSize = 2 * kSymbolCount - 1;             // 627
inline constexpr unsigned kRoot = kTreeSize - 1;                        // 626
inline constexpr unsigned kMaxFrequency = 0x8000;
inline constexpr unsigned kStartPosition = kWindowSize - kLookahead;    // 4036
inline constexpr std::uint8_t kBlank = 0x20;

struct Model {
  std::uint16_t frequency[kTreeSize + 1];         // entry 627 is a sentinel 0xFFFF
  std::uint16_t parent[kTreeSize + kSymbolCount];  // 627..940 map a symbol to its leaf
  std::uint16_t child[kTreeSize];                  // an inner node's first child, or 627 + symbol

  void Reset();
  void RebuildTree();
};

// The weight of the leaf at node `n` goes up by one along its path to the root, keeping the nodes
// ordered by weight. Inline: it runs once per decoded symbol and dominates the decoder's time. The
// decoder knows the leaf's node from its walk down, and so saves the look-up of UpdateModel.
inline void UpdateFromLeaf(std::uint16_t* freq, std::uint16_t* parent, std::uint16_t* child, unsigned n) {
  do {
    const unsigned k = ++freq[n];
    if (k > freq[n + 1]) {
      // Exchange node n with the last node l whose weight is below k.
      unsigned l = n + 1;
      if (l + 16 < kTreeSize) {
        // The weights are kept sorted, so the nodes below k form a run; counting sixteen at a time
        // without a branch per node is faster than stepping (random data exchanges on most symbols).
        unsigned run = 0;
        for (unsigned i = 1; i <= 16; ++i) run += freq[l + i] < k;
        l += run;
        if (run == 16) {
          while (freq[l + 1] < k) ++l;
        }
      } else {
        while (freq[l + 1] < k) ++l;
      }
      freq[n] = freq[l];
      freq[l] = static_cast<std::uint16_t>(k);
      const unsigned a = child[n];
      parent[a] = static_cast<std::uint16_t>(l);
      if (a < kTreeSize) parent[a + 1] = static_cast<std::uint16_t>(l);
      const unsigned b = child[l];
      child[l] = static_cast<std::uint16_t>(a);
      parent[b] = static_cast<std::uint16_t>(n);
      if (b < kTreeSize) parent[b + 1] = static_cast<std::uint16_t>(n);
      child[n] = static_cast<std::uint16_t>(b);
      n = l;
    }
    n = parent[n];
  } while (n != 0);  // the root's parent entry is 0, so the root is the last node counted
}

inline void UpdateModel(std::uint16_t* freq, std::uint16_t* parent, std::uint16_t* child, unsigned symbol) {
  UpdateFromLeaf(freq, parent, child, parent[symbol + kTreeSize]);
}

inline void Update(Model& m, unsigned symbol) {
  if (m.frequency[kRoot] == kMaxFrequency) m.RebuildTree();
  UpdateModel(m.frequency, m.parent, m.child, symbol);
}

// The distance code: the first byte read selects the upper six bits of the distance and the
// total length of the prefix code.
struct DistanceCode {
  std::uint8_t length[256];
  std::uint8_t upper[256];
};

constexpr DistanceCode MakeDistanceCode() {
  DistanceCode t{};
  for (unsigned i = 0; i < 256; ++i) {
    if (i < 0x20) {
      t.length[i] = 3, t.upper[i] = 0;
    } else if (i < 0x50) {
      t.length[i] = 4, t.upper[i] = static_cast<std::uint8_t>(1 + (i - 0x20) / 16);
    } else if (i < 0x90) {
      t.length[i] = 5, t.upper[i] = static_cast<std::uint8_t>(4 + (i - 0x50) / 8);
    } else if (i < 0xC0) {
      t.length[i] = 6, t.upper[i] = static_cast<std::uint8_t>(12 + (i - 0x90) / 4);
    } else if (i < 0xF0) {
      t.length[i] = 7, t.upper[i] = static_cast<std::uint8_t>(24 + (i - 0xC0) / 2);
    } else {
      t.length[i] = 8, t.upper[i] = static_cast<std::uint8_t>(48 + (i - 0xF0));
    }
  }
  return t;
}

inline constexpr DistanceCode kDistanceCode = MakeDistanceCode();

}  // namespace qlt::lzh
