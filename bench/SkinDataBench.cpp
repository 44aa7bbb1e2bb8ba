// The skin's start-up cost: unpacking (TLZH against the literal per-byte decoder of LiteralLzh.h, in
// the same run) and the whole load of a skin, on a skin of the embedded skin's shape (32 bitmaps of
// its sizes and a description of ~440 lines, packed with the skin kit) and on 16 MB of mixed data, with
// its three kinds (text-like, random, repetitive) also measured alone.
#include <benchmark/benchmark.h>

#include <random>
#include <string>

#include "bench/LiteralLzh.h"
#include "skin/data/BmpCodec.h"
#include "skin/data/Lzh.h"
#include "skin/data/QuickIni.h"
#include "skin/data/SkinReader.h"
#include "skin/kit/LzhPack.h"
#include "skin/kit/SkinKit.h"
#include "skin/kit/SkinPack.h"

namespace {

using qlt::Bgr;
using qlt::Bitmap24;
using qlt::Bytes;

// Skin art: cells side by side, each a vertical gradient with a darker frame and a highlight, and
// magenta corners where a window's shape is cut.
Bitmap24 SkinArt(int width, int height, std::uint32_t seed) {
  std::mt19937 rng(seed);
  const int cells = 1 + static_cast<int>(rng() % 5);
  const int cellWidth = std::max(1, width / cells);
  Bitmap24 image(width, height);
  for (int x = 0; x < width; ++x) {
    const int cell = x / cellWidth;
    const int cx = x % cellWidth;
    const std::uint8_t base = static_cast<std::uint8_t>(120 + cell * 25 + seed % 20);
    for (int y = 0; y < height; ++y) {
      const auto shade = static_cast<std::uint8_t>(base - y * 40 / std::max(1, height));
      Bgr p = qlt::RgbPixel(static_cast<std::uint8_t>(shade - 10), static_cast<std::uint8_t>(shade - 5), shade);
      if (cx == 0 || y == 0 || cx == cellWidth - 1 || y == height - 1) p = qlt::RgbPixel(60, 60, 68);
      if (y == 1 && cx > 1 && cx < cellWidth - 2) p = qlt::RgbPixel(230, 230, 240);
      if ((cx < 2 || cx >= cellWidth - 2) && (y < 2 || y >= height - 2)) p = qlt::kSkinTransparent;
      image.At(x, y) = p;
    }
  }
  return image;
}

std::string Description() {
  std::string text = "[Personality]\r\nTop=top.bmp\r\nTopTopHeight=43\r\nTopBotHeight=143\r\nTopFrame=2\r\n";
  for (int s = 0; text.size() < 6400; ++s) {
    text += "[Section" + std::to_string(s) + "]\r\n";
    for (int k = 0; k < 9; ++k) text += "Key" + std::to_string(k) + "=" + std::to_string(s * 31 + k) + "\r\n";
    text += "; part " + std::to_string(s) + "\r\nImage=button.bmp\r\n";
  }
  return text;
}

// The 32 bitmaps of the embedded skin, by size, and its description.
const Bytes& SkinFile() {
  static const Bytes packed = [] {
    const std::pair<const char*, std::pair<int, int>> bitmaps[] = {
        {"top.bmp", {334, 58}}, {"bottom.bmp", {334, 44}}, {"left.bmp", {22, 240}}, {"right.bmp", {10, 240}},
        {"menu.bmp", {334, 36}}, {"dialog.bmp", {32, 32}}, {"button.bmp", {275, 22}}, {"check.bmp", {52, 13}},
        {"radio.bmp", {52, 13}}, {"progress.bmp", {96, 18}}, {"groupboxedge.bmp", {128, 64}},
        {"taborders.bmp", {29, 28}}, {"tabs.bmp", {200, 19}}, {"status.bmp", {111, 25}}, {"combo.bmp", {72, 21}},
        {"sunkedge.bmp", {22, 21}}, {"extra.bmp", {80, 16}}, {"headerbar.bmp", {320, 17}}, {"select.bmp", {620, 16}},
        {"menuback.bmp", {128, 128}}, {"arrows.bmp", {368, 16}}, {"hscroll.bmp", {64, 16}}, {"vscroll.bmp", {64, 16}},
        {"hscrollb.bmp", {48, 16}}, {"vscrollb.bmp", {48, 16}}, {"mdibutton.bmp", {132, 12}},
        {"grouptop.bmp", {64, 19}}, {"button-off-tool.bmp", {96, 15}}, {"button-max-tool.bmp", {90, 15}},
        {"button-rollup-tool.bmp", {96, 18}}, {"button-min-tool.bmp", {90, 14}}, {"left_bullets.bmp", {30, 21}}};
    std::vector<qlt::SkinEntry> entries;
    const std::string ini = Description();
    entries.push_back({"skin.ini", Bytes(ini.begin(), ini.end())});
    std::uint32_t seed = 1;
    for (const auto& [name, size] : bitmaps) {
      entries.push_back({name, qlt::EncodeBmp(SkinArt(size.first, size.second, seed++))});
    }
    return qlt::PackSkin(entries);
  }();
  return packed;
}

enum Kind { kMixed, kText, kRandom, kRepetitive };
const char* const kKindNames[] = {"mixed 16 MB", "text 4 MB", "random 4 MB", "repetitive 4 MB"};

// Text-like bytes (words of a skin description), random bytes, or runs of one byte.
void AppendPiece(Bytes& out, Kind kind, std::size_t end, std::mt19937& rng) {
  static const std::string words[] = {"[Personality]", "Top=top.bmp", "LeftWidth=", "ButtonFace=145,146,159", "\r\n",
                                      "; comment", " ", "MouseOverColour2=", "Trans=1", "0x1F"};
  switch (kind) {
    case kText:
      while (out.size() < end) {
        const std::string& w = words[rng() % std::size(words)];
        out.insert(out.end(), w.begin(), w.begin() + static_cast<std::ptrdiff_t>(std::min(w.size(), end - out.size())));
      }
      break;
    case kRandom:
      while (out.size() < end) out.push_back(static_cast<std::uint8_t>(rng()));
      break;
    default:
      while (out.size() < end) {
        const auto b = static_cast<std::uint8_t>(rng());
        for (std::size_t r = 1 + rng() % 300; r > 0 && out.size() < end; --r) out.push_back(b);
      }
      break;
  }
}

// Mixed: 16 MB in pieces of 4 to 64 KB, text, random and repetitive in turn (a third each).
Bytes MakeData(Kind kind) {
  std::mt19937 rng(16);
  const std::size_t size = kind == kMixed ? 16u << 20 : 4u << 20;
  Bytes out;
  out.reserve(size);
  for (int piece = 0; out.size() < size; ++piece) {
    const std::size_t end = kind == kMixed ? std::min<std::size_t>(size, out.size() + 4096 + rng() % 61440) : size;
    AppendPiece(out, kind == kMixed ? static_cast<Kind>(1 + piece % 3) : kind, end, rng);
  }
  return out;
}

struct Stream {
  Bytes bits;
  std::uint32_t size;
};

const Stream& SkinStream() {
  static const Stream s = {Bytes(SkinFile().begin() + 4, SkinFile().end()),
                           static_cast<std::uint32_t>(SkinFile()[0] | SkinFile()[1] << 8 | SkinFile()[2] << 16)};
  return s;
}

const Stream& DataStream(Kind kind) {
  static Stream streams[4];
  Stream& s = streams[kind];
  if (s.bits.empty()) {
    const Bytes data = MakeData(kind);
    s = {qlt::LzhCompress(data), static_cast<std::uint32_t>(data.size())};
  }
  return s;
}

void Report(benchmark::State& state, const Stream& s) {
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * s.size);
  state.counters["packed"] = static_cast<double>(s.bits.size());
  state.counters["unpacked"] = s.size;
}

void BM_UnpackSkin_Literal(benchmark::State& state) {
  const Stream& s = SkinStream();
  for (auto _ : state) benchmark::DoNotOptimize(qlt::reference::LiteralUnpack(s.bits, s.size));
  Report(state, s);
}
BENCHMARK(BM_UnpackSkin_Literal)->Unit(benchmark::kMillisecond);

void BM_UnpackSkin_TLZH(benchmark::State& state) {
  const Stream& s = SkinStream();
  for (auto _ : state) benchmark::DoNotOptimize(qlt::TLZH::UnpackBytes(s.bits, s.size));
  Report(state, s);
}
BENCHMARK(BM_UnpackSkin_TLZH)->Unit(benchmark::kMillisecond);

void BM_UnpackData_Literal(benchmark::State& state) {
  const Stream& s = DataStream(static_cast<Kind>(state.range(0)));
  state.SetLabel(kKindNames[state.range(0)]);
  for (auto _ : state) benchmark::DoNotOptimize(qlt::reference::LiteralUnpack(s.bits, s.size));
  Report(state, s);
}
BENCHMARK(BM_UnpackData_Literal)->DenseRange(kMixed, kRepetitive)->Unit(benchmark::kMillisecond);

void BM_UnpackData_TLZH(benchmark::State& state) {
  const Stream& s = DataStream(static_cast<Kind>(state.range(0)));
  state.SetLabel(kKindNames[state.range(0)]);
  for (auto _ : state) benchmark::DoNotOptimize(qlt::TLZH::UnpackBytes(s.bits, s.size));
  Report(state, s);
}
BENCHMARK(BM_UnpackData_TLZH)->DenseRange(kMixed, kRepetitive)->Unit(benchmark::kMillisecond);

// What the skin component does at start-up before it builds its objects: unpack, index, parse the
// description; and, second, decode every bitmap as well.
void LoadSkin(benchmark::State& state, const Bytes& packed) {
  const bool withBitmaps = state.range(0) != 0;
  for (auto _ : state) {
    qlt::TSkinReader reader;
    if (!reader.LoadPacked(packed)) state.SkipWithError("the skin does not load");
    Bytes description;
    std::string name;
    reader.FindEntry(".ini", description, name);
    qlt::TQuickIni ini;
    ini.LoadFromStream(description);
    benchmark::DoNotOptimize(ini.ReadInteger("Personality", "TopFrame", 1));
    if (withBitmaps) {
      for (int i = 0; i < reader.Count(); ++i) benchmark::DoNotOptimize(qlt::DecodeBmp(reader.EntryAt(i)));
    }
  }
  const std::uint32_t unpacked = packed.size() < 4 ? 0 : packed[0] | packed[1] << 8 | packed[2] << 16 | packed[3] << 24;
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * unpacked);
  state.counters["packed"] = static_cast<double>(packed.size());
  state.counters["unpacked"] = unpacked;
}

void BM_LoadSkin(benchmark::State& state) { LoadSkin(state, SkinFile()); }
BENCHMARK(BM_LoadSkin)->Arg(0)->Arg(1)->ArgNames({"bitmaps"})->Unit(benchmark::kMicrosecond);

// The default skin QLT carries, as this build drew and packed it.
void BM_LoadDefaultSkin(benchmark::State& state) {
  static const Bytes packed = [] {
    Bytes bytes;
    std::string error;
    qlt::skinkit::ReadFileBytes(QLT_DEFAULT_SKIN_FILE, bytes, error);
    return bytes;
  }();
  if (packed.empty()) {
    state.SkipWithError("the default skin file cannot be read");
    return;
  }
  LoadSkin(state, packed);
}
BENCHMARK(BM_LoadDefaultSkin)->Arg(0)->Arg(1)->ArgNames({"bitmaps"})->Unit(benchmark::kMicrosecond);

}  // namespace
