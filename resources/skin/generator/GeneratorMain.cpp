// Draws one of QLT's skins: every bitmap, the description beside them and the list of entries in
// skin-file order (for the skin kit to pack); optionally the monochrome menu glyphs and previews.
//
//   qlt_skin_art --description FILE --skin DIR [--art NAME] [--glyphs FILE] [--preview DIR]
//                [--preview-name PREFIX]
//
// NAME is the skin whose art is drawn ("Slate", the default, or "Pine"); the description keeps its
// file name inside the skin. The previews are PREFIX-contact-sheet.png and PREFIX-frame-mockup.png
// (PREFIX "skin" unless given).
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "resources/skin/generator/PngWriter.h"
#include "resources/skin/generator/Preview.h"
#include "resources/skin/generator/SkinArt.h"
#include "skin/data/BmpCodec.h"
#include "skin/data/QuickIni.h"
#include "skin/data/SkinObjects.h"
#include "skin/data/SkinReader.h"
#include "skin/kit/SkinPack.h"

namespace fs = std::filesystem;

namespace {

bool WriteFile(const fs::path& path, const qlt::Bytes& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) std::cerr << "qlt_skin_art: cannot write " << path << "\n";
  return static_cast<bool>(out);
}

bool ReadFile(const fs::path& path, qlt::Bytes& bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    std::cerr << "qlt_skin_art: cannot read " << path << "\n";
    return false;
  }
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return true;
}

void PutLE(qlt::Bytes& out, std::uint32_t v, int size) {
  for (int i = 0; i < size; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

// A monochrome bitmap file: palette black (0) and white (1); a pixel is white unless it is black.
qlt::Bytes EncodeMonochromeBmp(const qlt::Bitmap24& image) {
  const std::uint32_t stride = ((static_cast<std::uint32_t>(image.Width()) + 31) / 32) * 4;
  const std::uint32_t pixels = stride * static_cast<std::uint32_t>(image.Height());
  const std::uint32_t offset = 14 + 40 + 8;
  qlt::Bytes out = {'B', 'M'};
  PutLE(out, offset + pixels, 4);
  PutLE(out, 0, 4);
  PutLE(out, offset, 4);
  PutLE(out, 40, 4);
  PutLE(out, static_cast<std::uint32_t>(image.Width()), 4);
  PutLE(out, static_cast<std::uint32_t>(image.Height()), 4);
  PutLE(out, 1, 2);
  PutLE(out, 1, 2);
  PutLE(out, 0, 4);
  PutLE(out, pixels, 4);
  PutLE(out, 2835, 4);
  PutLE(out, 2835, 4);
  PutLE(out, 2, 4);
  PutLE(out, 2, 4);
  out.insert(out.end(), {0, 0, 0, 0, 255, 255, 255, 0});
  for (int y = image.Height() - 1; y >= 0; --y) {
    qlt::Bytes row(stride, 0);
    for (int x = 0; x < image.Width(); ++x) {
      const qlt::Bgr p = image.At(x, y);
      if (!(p.r == 0 && p.g == 0 && p.b == 0)) {
        row[static_cast<std::size_t>(x / 8)] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
      }
    }
    out.insert(out.end(), row.begin(), row.end());
  }
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  constexpr const char* kUsage =
      "usage: qlt_skin_art --description FILE --skin DIR [--art NAME] [--glyphs FILE] [--preview DIR]"
      " [--preview-name PREFIX]\n";
  std::map<std::string, std::string> options = {{"--art", "Slate"}, {"--preview-name", "skin"}};
  for (int i = 1; i + 1 < argc; i += 2) options[argv[i]] = argv[i + 1];
  if (!options.count("--description") || !options.count("--skin") || argc % 2 == 0) {
    std::cerr << kUsage;
    return 2;
  }
  const std::vector<qlt::art::SkinImage> images = qlt::art::DrawSkinArt(options["--art"]);
  if (images.empty()) {
    std::cerr << "qlt_skin_art: no skin art named \"" << options["--art"] << "\"\n" << kUsage;
    return 2;
  }
  const fs::path skinDir = options["--skin"];
  std::error_code ec;
  fs::create_directories(skinDir, ec);

  qlt::Bytes description;
  if (!ReadFile(options["--description"], description)) return 1;
  const std::string descriptionName = fs::path(options["--description"]).filename().string();
  std::vector<qlt::SkinEntry> entries = {{descriptionName, description}};
  std::string order = descriptionName + "\n";
  for (const auto& image : images) {
    entries.push_back({image.name, qlt::EncodeBmp(image.image)});
    order += image.name + "\n";
  }
  for (const auto& entry : entries) {
    if (!WriteFile(skinDir / entry.name, entry.data)) return 1;
  }
  if (!WriteFile(skinDir / "pack-order.txt", qlt::Bytes(order.begin(), order.end()))) return 1;
  const qlt::Bitmap24 glyphs = qlt::art::DrawMenuGlyphs();
  if (options.count("--glyphs") && !WriteFile(options["--glyphs"], EncodeMonochromeBmp(glyphs))) return 1;

  if (options.count("--preview")) {
    const fs::path previewDir = options["--preview"];
    const std::string prefix = options["--preview-name"];
    fs::create_directories(previewDir, ec);
    // The mock-ups read the skin exactly as QLT will: container, description, skin objects.
    qlt::TSkinReader reader;
    if (!reader.LoadContainer(qlt::BuildSkinContainer(entries))) {
      std::cerr << "qlt_skin_art: the skin does not load: " << reader.Problem() << "\n";
      return 1;
    }
    qlt::TQuickIni ini;
    ini.LoadFromStream(reader.Entry(descriptionName));
    qlt::TSkinContent skin;
    skin.BuildSkin(reader, ini);
    if (!WriteFile(previewDir / (prefix + "-contact-sheet.png"),
                   qlt::art::EncodePng(
                       qlt::art::ContactSheet(skin.SkinName, images, options.count("--glyphs") ? &glyphs : nullptr))) ||
        !WriteFile(previewDir / (prefix + "-frame-mockup.png"),
                   qlt::art::EncodePng(qlt::art::FrameMockup(skin, qlt::art::DrawProgramMark())))) {
      return 1;
    }
  }
  return 0;
}
