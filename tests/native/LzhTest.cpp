// The decoder against the compressor of the skin kit and against the plain reference decoder:
// every kind of symbol, the edges of the window, tree rebuilds, cut-off input, and any bytes.
#include "skin/data/Lzh.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>

#include "bench/LiteralLzh.h"
#include "skin/data/LzhModel.h"
#include "skin/kit/LzhPack.h"
#include "tests/native/SkinTestData.h"

namespace qlt {
namespace {

using testdata::Kind;
using testdata::MakeBytes;

Bytes Text(const std::string& s) { return Bytes(s.begin(), s.end()); }

// Unpacks through TLZH with the input handed out in pieces of `chunk` bytes.
Bytes Unpack(const Bytes& stream, std::uint32_t size, std::size_t chunk = 1 << 20) {
  Bytes out;
  std::size_t at = 0;
  TLZH lzh;
  lzh.Unpack(
      size, [&](const std::uint8_t* d, std::size_t n) { out.insert(out.end(), d, d + n); },
      [&](std::uint8_t* buffer, std::size_t capacity) {
        const std::size_t n = std::min({capacity, chunk, stream.size() - at});
        if (n) std::memcpy(buffer, stream.data() + at, n);
        at += n;
        return n;
      });
  return out;
}

// Decodes with both decoders, checks that they agree and returns the result.
Bytes UnpackBoth(const Bytes& stream, std::uint32_t size) {
  const Bytes fast = TLZH::UnpackBytes(stream, size);
  EXPECT_EQ(fast, reference::LiteralUnpack(stream, size));
  return fast;
}

TEST(Lzh, SizeZeroProducesNothingAndReadsNothing) {
  int reads = 0;
  int writes = 0;
  TLZH lzh;
  lzh.Unpack(
      0, [&](const std::uint8_t*, std::size_t) { ++writes; },
      [&](std::uint8_t*, std::size_t) -> std::size_t {
        ++reads;
        return 0;
      });
  EXPECT_EQ(reads, 0);
  EXPECT_EQ(writes, 0);
  EXPECT_TRUE(LzhCompress({}).empty());
}

TEST(Lzh, MatchesCopyTheBlankWindowAndOverlapThemselves) {
  LzhSymbolWriter w;
  w.Match(5, 0);      // the first symbol: five of the window's starting blanks
  w.Literal('a');
  w.Match(4, 1);      // from two back: a blank, the 'a', then the two bytes just copied
  w.Literal('x');
  w.Literal('y');
  w.Match(7, 1);      // distance below the length: "xy" repeats
  w.Match(60, 4000);  // far back: the window's starting blanks
  const Bytes stream = w.Finish();
  const std::string expected = "     a" " a a" "xy" "xyxyxyx" + std::string(60, ' ');
  EXPECT_EQ(UnpackBoth(stream, static_cast<std::uint32_t>(expected.size())), Text(expected));
}

TEST(Lzh, EveryDistanceCodeDecodesToItsDistance) {
  // 4096 distinct-ish bytes, then a 3-byte match at each distance; the expected output follows
  // from the window rule alone, so a wrong prefix table on either side shows.
  std::mt19937 rng(7);
  Bytes expected;
  LzhSymbolWriter w;
  for (int i = 0; i < 4096; ++i) {
    expected.push_back(static_cast<std::uint8_t>(rng()));
    w.Literal(expected.back());
  }
  std::vector<unsigned> distances;
  for (unsigned d = 0; d < 4096; d += (d < 300 ? 1 : 37)) distances.push_back(d);
  distances.push_back(4095);  // the byte 4096 back, in the ring the very slot being written
  for (unsigned d : distances) {
    w.Match(3, d);
    for (int k = 0; k < 3; ++k) expected.push_back(expected[expected.size() - d - 1]);
  }
  EXPECT_EQ(UnpackBoth(w.Finish(), static_cast<std::uint32_t>(expected.size())), expected);
}

TEST(Lzh, TheLastMatchIsCopiedWholePastTheSize) {
  LzhSymbolWriter w;
  w.Literal('a');
  w.Match(10, 0);
  EXPECT_EQ(UnpackBoth(w.Finish(), 5), Bytes(11, 'a'));
}

TEST(Lzh, RoundTripsDataOfManySizesAndKinds) {
  const std::size_t sizes[] = {1, 2, 3, 59, 60, 61, 4035, 4036, 4037, 4095, 4096, 4097, 65535, 65536, 70001, 300000};
  std::uint32_t seed = 1;
  for (std::size_t size : sizes) {
    for (Kind kind : {Kind::Random, Kind::Text, Kind::Repetitive, Kind::Mixed}) {
      const Bytes data = MakeBytes(size, kind, seed++);
      const Bytes stream = LzhCompress(data);
      TLZH lzh;
      ASSERT_EQ(TLZH::UnpackBytes(stream, static_cast<std::uint32_t>(size)), data)
          << "size " << size << " kind " << static_cast<int>(kind);
    }
  }
}

TEST(Lzh, RoundTripsSeveralMegabytes) {
  // Long enough for hundreds of tree rebuilds (one per 0x8000 counted symbols) and blocks.
  const Bytes data = MakeBytes(5 << 20, Kind::Mixed, 99);
  const Bytes stream = LzhCompress(data);
  EXPECT_LT(stream.size(), data.size());
  EXPECT_EQ(Unpack(stream, static_cast<std::uint32_t>(data.size()), 4093), data);
}

TEST(Lzh, TreeRebuildsStayInStepWithTheReference) {
  // Skewed literals: ~200000 symbols, several rebuilds, with the tree deep on one side.
  std::mt19937 rng(3);
  std::geometric_distribution<int> skew(0.08);
  Bytes data(200000);
  for (auto& b : data) b = static_cast<std::uint8_t>(std::min(skew(rng), 255));
  const Bytes stream = LzhCompress(data);
  EXPECT_EQ(UnpackBoth(stream, static_cast<std::uint32_t>(data.size())), data);
}

TEST(Lzh, TheModelKeepsItsWeightsSortedThroughUpdatesAndRebuilds) {
  // The decoder's search for the node to exchange with relies on it.
  std::mt19937 rng(21);
  lzh::Model model;
  model.Reset();
  for (int i = 0; i < 600000; ++i) {
    const unsigned symbol = i % 3 == 0 ? rng() % lzh::kSymbolCount : rng() % 16 + (i / 50000) * 20;
    lzh::Update(model, symbol % lzh::kSymbolCount);
    if (i % 997 == 0) {
      ASSERT_TRUE(std::is_sorted(model.frequency, model.frequency + lzh::kTreeSize + 1)) << "after " << i;
      ASSERT_EQ(model.parent[model.child[lzh::kRoot]], lzh::kRoot);
    }
  }
}

TEST(Lzh, InputInAnyPiecesGivesTheSameBytes) {
  const Bytes data = MakeBytes(150000, Kind::Mixed, 11);
  const Bytes stream = LzhCompress(data);
  for (std::size_t chunk : {1, 2, 7, 8, 9, 4096, 16383, 16384, 100000}) {
    EXPECT_EQ(Unpack(stream, static_cast<std::uint32_t>(data.size()), chunk), data) << "chunk " << chunk;
  }
}

TEST(Lzh, CutOffInputReadsAsZeroBits) {
  const Bytes data = MakeBytes(20000, Kind::Text, 5);
  const Bytes stream = LzhCompress(data);
  TLZH whole;
  whole.Unpack(
      20000, [](const std::uint8_t*, std::size_t) {},
      [&, at = std::size_t{0}](std::uint8_t* b, std::size_t n) mutable {
        n = std::min(n, stream.size() - at);
        std::memcpy(b, stream.data() + at, n);
        at += n;
        return n;
      });
  EXPECT_EQ(whole.BytesMissing(), 0u);

  const Bytes half(stream.begin(), stream.begin() + static_cast<std::ptrdiff_t>(stream.size() / 2));
  const Bytes out = UnpackBoth(half, 20000);
  EXPECT_GE(out.size(), 20000u);
  EXPECT_NE(out, data);
  EXPECT_TRUE(std::equal(data.begin(), data.begin() + 1000, out.begin()));  // the start decodes
}

TEST(Lzh, AnyBytesDecodeAsTheReferenceDecodesThem) {
  std::mt19937 rng(12345);
  for (int round = 0; round < 60; ++round) {
    Bytes stream(rng() % 3000);
    for (auto& b : stream) b = static_cast<std::uint8_t>(rng() % (round % 3 == 0 ? 4 : 256));
    const auto size = static_cast<std::uint32_t>(rng() % 40000);
    const Bytes out = UnpackBoth(stream, size);
    EXPECT_GE(out.size(), size);
    EXPECT_LT(out.size(), size + 60u);
  }
}

TEST(Lzh, AnErrorOfTheWriterEndsTheUnpackAndFreesTheTables) {
  const Bytes data = MakeBytes(300000, Kind::Random, 8);
  const Bytes stream = LzhCompress(data);
  TLZH lzh;
  std::size_t written = 0;
  auto read = [&, at = std::size_t{0}](std::uint8_t* b, std::size_t n) mutable {
    n = std::min(n, stream.size() - at);
    std::memcpy(b, stream.data() + at, n);
    at += n;
    return n;
  };
  EXPECT_THROW(lzh.Unpack(
                   300000,
                   [&](const std::uint8_t*, std::size_t n) {
                     written += n;
                     throw std::runtime_error("disk full");
                   },
                   read),
               std::runtime_error);
  EXPECT_GT(written, 0u);
  // The same object unpacks again (the sanitizer's leak check covers the freed tables).
  EXPECT_EQ(TLZH::UnpackBytes(stream, 300000), data);
}

}  // namespace
}  // namespace qlt
