// Writes the inputs the fuzzers start from (seeds) and, with --faults, the damaged files of the
// kinds the skin layer refuses, which are kept in tests/corpus and replayed by the native tests.
//   qlt_fuzz_inputs seeds OUTDIR TESTDATADIR
//   qlt_fuzz_inputs faults OUTDIR
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "skin/data/BmpCodec.h"
#include "skin/kit/LzhPack.h"
#include "skin/kit/SkinKit.h"
#include "skin/kit/SkinPack.h"
#include "tests/fuzz/SkinFuzzing.h"

namespace {

namespace fs = std::filesystem;
using qlt::Bytes;

void Put(const fs::path& folder, const std::string& name, const Bytes& bytes) {
  fs::create_directories(folder);
  std::string error;
  if (!qlt::skinkit::WriteFileBytes(folder / name, bytes, error)) std::cerr << error << "\n";
}

Bytes Text(std::string_view s) { return Bytes(s.begin(), s.end()); }

qlt::Bitmap24 Picture(int w, int h) {
  qlt::Bitmap24 image(w, h, qlt::RgbPixel(145, 146, 159));
  for (int x = 0; x < w; ++x) image.At(x, 0) = qlt::kSkinTransparent;
  return image;
}

std::vector<qlt::SkinEntry> SampleSkin(const fs::path& testData) {
  std::vector<qlt::SkinEntry> entries;
  entries.push_back({"skin.ini", Text("[Personality]\r\nTop=top.bmp\r\nLeft=Dir\\core-8bit.bmp\r\n"
                                      "[Button0]\r\nAction=1\r\nButtonImage=info-4bit.bmp\r\nframe=0x3\r\n"
                                      "[Colours]\r\nButtonFace=145,146,159\r\n")});
  entries.push_back({"top.bmp", qlt::EncodeBmp(Picture(12, 5))});
  for (const char* name : {"core-8bit.bmp", "info-4bit.bmp", "info-1bit.bmp", "info-8bit-rle.bmp"}) {
    Bytes bytes;
    std::string error;
    if (!qlt::skinkit::ReadFileBytes(testData / "bitmaps" / name, bytes, error)) std::cerr << error << "\n";
    entries.push_back({name, bytes});
  }
  return entries;
}

// An input of the geometry target: a description, a NUL, and the knob slots set.
class GeometryInput {
 public:
  explicit GeometryInput(std::string_view description) : bytes_(Text(description)) {
    bytes_.push_back(0);
    knobs_ = bytes_.size();
  }
  GeometryInput& Knob(qlt::fuzzing::KnobGroup group, std::size_t slot, std::uint8_t mode, std::int16_t step = 0) {
    const std::size_t at = knobs_ + (group * qlt::fuzzing::kKnobSlots + slot) * qlt::fuzzing::kKnobSlotBytes;
    if (bytes_.size() < at + qlt::fuzzing::kKnobSlotBytes) bytes_.resize(at + qlt::fuzzing::kKnobSlotBytes);
    bytes_[at] = mode;
    bytes_[at + 1] = static_cast<std::uint8_t>(step);
    bytes_[at + 2] = static_cast<std::uint8_t>(static_cast<std::uint16_t>(step) >> 8);
    return *this;
  }
  const qlt::Bytes& Data() const { return bytes_; }

 private:
  qlt::Bytes bytes_;
  std::size_t knobs_ = 0;
};

void Seeds(const fs::path& out, const fs::path& testData) {
  const std::vector<qlt::SkinEntry> skin = SampleSkin(testData);
  const Bytes container = qlt::BuildSkinContainer(skin);
  Put(out / "packed", "sample.skn", qlt::PackSkinContainer(container));
  Put(out / "container", "sample.container", container);
  for (const auto& e : skin) {
    if (e.name.ends_with(".bmp")) Put(out / "bitmap", e.name, e.data);
  }
  for (const auto& f : fs::directory_iterator(testData / "bitmaps")) {
    if (f.path().extension() != ".bmp") continue;
    Bytes bytes;
    std::string error;
    qlt::skinkit::ReadFileBytes(f.path(), bytes, error);
    Put(out / "bitmap", f.path().filename().string(), bytes);
  }
  // LZH: the unpacked size, a piece size, then a stream the compressor made.
  const Bytes text = Text("[Personality]\r\nTop=top.bmp\r\n        TopTopTopTop");
  for (const Bytes& data : {text, Bytes(container.begin(), container.begin() + 600)}) {
    Bytes input = {static_cast<std::uint8_t>(data.size()), static_cast<std::uint8_t>(data.size() >> 8), 7};
    const Bytes stream = qlt::LzhCompress(data);
    input.insert(input.end(), stream.begin(), stream.end());
    Put(out / "lzh", "stream" + std::to_string(data.size()), input);
  }
  // Geometry: the project's two skin descriptions (their images get sizes from the knobs).
  const fs::path skins = testData.parent_path().parent_path() / "resources" / "skin";
  for (const fs::path& ini : {skins / "skin.ini", skins / "pine" / "pine.ini"}) {
    Bytes bytes;
    std::string error;
    if (qlt::skinkit::ReadFileBytes(ini, bytes, error)) Put(out / "geometry", ini.stem().string(), bytes);
  }
}

void AppendLe32(Bytes& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

Bytes RawContainer(std::int32_t nameListLength, std::string_view names, const std::vector<std::int32_t>& sizes) {
  Bytes out;
  AppendLe32(out, 20000);
  AppendLe32(out, static_cast<std::uint32_t>(nameListLength));
  AppendLe32(out, 0);
  AppendLe32(out, 0);
  for (char c : names) out.push_back(static_cast<std::uint8_t>(c));
  for (std::int32_t s : sizes) AppendLe32(out, static_cast<std::uint32_t>(s));
  for (int i = 0; i < 8; ++i) out.push_back('x');
  return out;
}

void Faults(const fs::path& out) {
  std::string many;
  for (int i = 0; i < 1100; ++i) many += "e.bmp\r\n";
  const Bytes tooMany = RawContainer(static_cast<std::int32_t>(many.size()), many, std::vector<std::int32_t>(1100, 0));
  Put(out / "container", "more-than-1001-names", tooMany);
  Put(out / "container", "negative-name-list", RawContainer(-16, "a.bmp\r\n", {1}));
  Put(out / "container", "name-list-beyond-data", RawContainer(0x7FFFFFF0, "a.bmp\r\n", {1}));
  Put(out / "container", "negative-entry-size", RawContainer(7, "a.bmp\r\n", {-8}));
  Put(out / "container", "entry-beyond-data", RawContainer(7, "a.bmp\r\n", {0x7FFFFFFF}));
  Put(out / "packed", "more-than-1001-names", qlt::PackSkinContainer(tooMany));
  Put(out / "packed", "unpacked-size-4gb", Bytes{0xFF, 0xFF, 0xFF, 0xFF, 0, 0});

  Bytes bmp = qlt::EncodeBmp(Picture(5, 3));
  auto lie = [&](const std::string& name, std::size_t at, std::uint32_t value, int bytes = 4) {
    Bytes b = bmp;
    for (int i = 0; i < bytes; ++i) b[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
    Put(out / "bitmap", name, b);
  };
  lie("height-beyond-data", 22, 3000);
  lie("width-beyond-data", 18, 3000);
  lie("negative-width", 18, static_cast<std::uint32_t>(-5));
  lie("most-negative-height", 22, 0x80000000u);
  lie("depth-32-on-24-bit-data", 28, 32, 2);
  lie("depth-8-palette-beyond-data", 28, 8, 2);
  lie("colours-used-300", 46, 300);
  lie("data-offset-beyond-file", 10, 0x10000);
  lie("header-size-beyond-file", 14, 124);

  // LZH streams at the decoder's edges: [unpacked size (2 bytes), input piece size - 1, stream].
  auto lzh = [&](const std::string& name, std::uint16_t size, std::uint8_t piece, const Bytes& stream) {
    Bytes input = {static_cast<std::uint8_t>(size), static_cast<std::uint8_t>(size >> 8), piece};
    input.insert(input.end(), stream.begin(), stream.end());
    Put(out / "lzh", name, input);
  };
  qlt::LzhSymbolWriter overrun;
  overrun.Literal('a');
  overrun.Match(60, 0);
  lzh("last-match-past-the-size", 2, 255, overrun.Finish());
  qlt::LzhSymbolWriter open;
  open.Match(60, 4095);  // reads the ring's last 60 positions, which no byte has been written to
  open.Match(3, 10);
  lzh("first-match-from-the-open-ring-end", 63, 0, open.Finish());
  Bytes text(5000);
  for (std::size_t i = 0; i < text.size(); ++i) text[i] = static_cast<std::uint8_t>("skin.ini top.bmp "[i % 17] + i / 700);
  const Bytes stream = qlt::LzhCompress(text);
  lzh("cut-off-in-one-byte-pieces", 5000, 0, Bytes(stream.begin(), stream.begin() + static_cast<std::ptrdiff_t>(stream.size() / 3)));
  lzh("size-beyond-the-stream", 65535, 7, stream);

  // Geometry: skin integers at the ends of int, where sizes meet, ...
  using namespace qlt::fuzzing;
  const fs::path geometry = out / "geometry";
  auto put = [&](const std::string& name, const GeometryInput& input) { Put(geometry, name, input.Data()); };
  put("caption-back-left-int-max", GeometryInput("[Personality]\r\nTXTBackleft=2147483647\r\n"));
  const std::string button = "[Button1]\r\nAction=0\r\nButtonImage=close-57x19.bmp\r\n";
  put("title-button-ycoord-int-max", GeometryInput(button + "Align=0\r\nYcoord=2147483647\r\n"));
  put("title-button-right-xcoord-int-min", GeometryInput(button + "Align=1\r\nXcoord=-2147483648\r\n"));
  put("menu-bar-left-part-int-max",
      GeometryInput("[Personality]\r\nmenuBar=bar-30x40.bmp\r\nTileLeftMenu=2147483647\r\n"));
  put("menu-item-band-int-max", GeometryInput("[MenuItem]\r\nImage=item-100x20.bmp\r\nLeftWidth=2147483647\r\n"));
  const std::string progress = "[Progress]\r\nBitmap=bar-16x16.bmp\r\nStyle=1\r\n";
  put("progress-margins-two-billion",
      GeometryInput(progress + "Chunk=chunk-6x8.bmp\r\nLeftWidth=2000000000\r\nRightWidth=2000000000\r\n"));
  // ... a scroll range of all 32 bits without a page, its thumb dragged to the end ...
  put("scroll-full-range-thumb-at-end",
      GeometryInput("").Knob(kScroll, 2, kKnobLowest).Knob(kScroll, 3, kKnobHighest).Knob(kScroll, 4, 0, -10));
  // ... an outline of +-2^30 around a small view, a tab border smaller than its margins, a chunk
  // taller than its bar ...
  put("outline-far-around-the-view", GeometryInput("")
                                         .Knob(kEdits, 16, kKnobLowest)
                                         .Knob(kEdits, 17, kKnobLowest)
                                         .Knob(kEdits, 18, kKnobHighest)
                                         .Knob(kEdits, 19, kKnobHighest));
  put("tab-border-smaller-than-its-margins",
      GeometryInput("[Tabs]\r\nImage=tabs-300x22.bmp\r\nBorder=border-8x20.bmp\r\n"));
  put("progress-chunk-taller-than-the-bar",
      GeometryInput(progress + "Chunk=chunk-6x30.bmp\r\nLeftWidth=4\r\nRightWidth=4\r\n"));
  // ... a button face nine-sliced with all four corners, and a thumb laid out beyond the track.
  put("nine-slice-four-corners",
      GeometryInput("[Buttons]\r\nBitmap=button-75x23.bmp\r\nLeftWidth=4\r\nTopHeight=4\r\nRightWidth=4\r\n"
                    "BottomHeight=4\r\n")
          .Knob(kSlices, 12, 1));
  const std::string bar = "[Scrollbar]\r\nImage=arrows-368x16.bmp\r\n[HorzScroll]\r\nImage=track-96x16.bmp\r\n"
                          "[HorzScrollThumb]\r\nImage=thumb-48x16.bmp\r\n";
  put("thumb-laid-out-past-the-track-end", GeometryInput(bar).Knob(kScroll, 22, kKnobHighest));
  put("thumb-laid-out-before-the-track-start", GeometryInput(bar).Knob(kScroll, 22, kKnobLowest));
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() == 3 && args[0] == "seeds") {
    Seeds(qlt::skinkit::PathFromUtf8(args[1]), qlt::skinkit::PathFromUtf8(args[2]));
  } else if (args.size() == 2 && args[0] == "faults") {
    Faults(qlt::skinkit::PathFromUtf8(args[1]));
  } else {
    std::cerr << "usage: qlt_fuzz_inputs seeds OUTDIR TESTDATADIR | faults OUTDIR\n";
    return 2;
  }
  return 0;
}
