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
