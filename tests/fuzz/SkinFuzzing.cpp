#include "tests/fuzz/SkinFuzzing.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "skin/data/BitmapTransforms.h"
#include "skin/data/BmpCodec.h"
#include "skin/data/QuickIni.h"
#include "skin/data/SkinObjects.h"
#include "skin/data/SkinReader.h"
#include "skin/data/SkinText.h"

namespace qlt::fuzzing {

void Check(bool ok, const char* what) {
  if (!ok) {
    std::fprintf(stderr, "broken: %s\n", what);
    std::abort();
  }
}

namespace {

bool EndsWithBmp(std::string_view name) { return name.size() >= 4 && name.substr(name.size() - 4) == ".bmp"; }

void ExerciseBitmap(ByteView file) {
  const std::optional<Bitmap24> image = DecodeBmp(file);
  if (!image) return;
  Check(image->Width() > 0 && image->Height() > 0, "a decoded bitmap has pixels");
  Check(image->Width() <= kMaxBitmapSide && image->Height() <= kMaxBitmapSide, "a decoded bitmap is within limits");
  if (image->PixelCount() > 4096) return;
  Check(DecodeBmp(EncodeBmp(*image)) == image, "the writer's file reads back");
  Bitmap24 turned = *image;
  RotateLeft(turned);
  Check(turned.Width() == image->Height(), "a turn exchanges width and height");
  RotateRight(turned);
  Check(turned == *image, "a turn is undone by the other");
  MirrorHorizontal(turned);
  FlipVertical(turned);
  MirrorHorizontal(turned);
  FlipVertical(turned);
  Check(turned == *image, "mirror and flip are undone by themselves");
  ToGrey(turned);
  const Bgr* p = turned.Data();
  Check(std::all_of(p, p + turned.PixelCount(), [](const Bgr& c) { return c.b == c.g && c.g == c.r; }), "grey is grey");
}

// What the skin component does with a loaded reader: the description, every section and key, and
// every image a key names, looked up as the skin objects look them up.
void ExerciseSkin(const TSkinReader& reader) {
  std::size_t total = 0;
  for (int i = 0; i < reader.Count(); ++i) total += reader.EntryAt(i).size();
  Check(total <= reader.Container().size(), "entries lie inside the container");

  Bytes description;
  std::string name;
  TQuickIni ini;
  if (reader.FindEntry(".ini", description, name)) {
    Check(name.find(".ini") != std::string::npos, "the description's name contains .ini");
    ini.LoadFromStream(description);
  }
  // The skin objects: whatever the description says, every cell count a painter divides by is
  // at least 1, and the three MDI buttons close the title buttons.
  TSkinContent content;
  content.BuildSkin(reader, ini);
  for (const TDataSkinObject* edge : {content.LeftBorder.get(), content.RightBorder.get(), content.TopBorder.get(),
                                      content.BottomBorder.get()}) {
    Check(edge->Frame >= 1, "an edge has at least one cell");
  }
  Check(content.Buttons->CheckFrame >= 1 && content.Buttons->RadioFrame >= 1, "check and radio marks have cells");
  Check(content.SysButtons.size() >= 3, "the MDI buttons are there");
  for (const auto& button : content.SysButtons) Check(button->Frame >= 1, "a title button has at least one cell");
  for (const TDataSkinObject* thumb : {content.HorzScrollThumb.get(), content.VertScrollThumb.get()}) {
    Check(!thumb || thumb->Frame >= 1, "a thumb has at least one cell");
  }
  int decoded = 0;
  for (const std::string& section : ini.ReadSections()) {
    ini.ReadInteger(section, "Frame", 1);
    ini.ReadString(section, "Image", "");
  }
  for (const std::string& line : ini.Lines()) {
    const std::size_t eq = line.find('=');
    if (eq == std::string::npos) continue;
    std::string_view value = TrimBlanks(std::string_view(line).substr(eq + 1));
    const std::size_t cut = value.find_last_of("\\:");
    if (cut != std::string_view::npos) value = value.substr(cut + 1);
    if (!EndsWithBmp(value) || decoded >= 64) continue;
    Bytes entry;
    reader.GetEntry(value, entry);
    if (!entry.empty()) {
      ExerciseBitmap(entry);
      ++decoded;
    }
  }
  for (int i = 0; i < reader.Count() && decoded < 64; ++i) {
    if (EndsWithBmp(reader.Names()[static_cast<std::size_t>(i)])) {
      ExerciseBitmap(reader.EntryAt(i));
      ++decoded;
    }
  }
}

}  // namespace

void FuzzSkinPacked(ByteView data) {
  if (data.size() >= 4) {
    const std::uint32_t declared = data[0] | data[1] << 8 | data[2] << 16 | static_cast<std::uint32_t>(data[3]) << 24;
    if (declared > kFuzzMaxUnpacked && declared <= TSkinReader::kMaxUnpackedSize) return;
  }
  TSkinReader reader;
  if (!reader.LoadPacked(data)) {
    Check(reader.Count() == 0 && !reader.Message().empty(), "a refused skin leaves no entries and a message");
    return;
  }
  ExerciseSkin(reader);
}

void FuzzSkinContainer(ByteView data) {
  TSkinReader reader;
  if (!reader.LoadContainer(Bytes(data.begin(), data.end()))) {
    Check(reader.Count() == 0 && !reader.Message().empty(), "a refused container leaves no entries and a message");
    return;
  }
  Check(reader.Count() <= static_cast<int>(TSkinReader::kMaxEntries), "at most 1001 entries");
  ExerciseSkin(reader);
}

void FuzzBitmap(ByteView data) { ExerciseBitmap(data); }

}  // namespace qlt::fuzzing
