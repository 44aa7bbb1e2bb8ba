// Skin bitmaps: the Windows bitmap decoder on files written by another encoder and on headers that
// lie, the writer, and the five transforms.
#include <gtest/gtest.h>

#include <climits>
#include <filesystem>

#include "skin/data/BitmapTransforms.h"
#include "skin/data/BmpCodec.h"
#include "tests/native/SkinTestData.h"

// Designated initializers leave the other fields at their defaults on purpose.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace qlt {
namespace {

namespace fs = std::filesystem;

void PutLe16(Bytes& out, std::size_t at, std::uint16_t v) {
  out[at] = static_cast<std::uint8_t>(v);
  out[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
void PutLe32(Bytes& out, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// A bitmap file written field by field, so that each field can lie.
struct BmpFields {
  std::int32_t width = 2;
  std::int32_t height = 2;
  std::uint16_t bitsPerPixel = 24;
  std::uint32_t compression = 0;
  std::uint32_t colorsUsed = 0;
  std::uint32_t headerSize = 40;
  std::vector<std::uint32_t> masks;    // written behind a 40-byte header
  std::vector<std::uint8_t> palette;   // 4 bytes per entry (blue, green, red, 0)
  std::vector<std::uint8_t> pixels;
  std::int64_t dataOffset = -1;        // -1: right behind the palette
};

Bytes BuildBmp(const BmpFields& s) {
  const std::size_t headersEnd = 14 + s.headerSize + 4 * s.masks.size();
  Bytes out(headersEnd + s.palette.size(), 0);
  out[0] = 'B';
  out[1] = 'M';
  PutLe32(out, 10, static_cast<std::uint32_t>(s.dataOffset >= 0 ? s.dataOffset : headersEnd + s.palette.size()));
  PutLe32(out, 14, s.headerSize);
  PutLe32(out, 18, static_cast<std::uint32_t>(s.width));
  PutLe32(out, 22, static_cast<std::uint32_t>(s.height));
  PutLe16(out, 26, 1);
  PutLe16(out, 28, s.bitsPerPixel);
  PutLe32(out, 30, s.compression);
  PutLe32(out, 46, s.colorsUsed);
  for (std::size_t i = 0; i < s.masks.size(); ++i) PutLe32(out, 14 + s.headerSize + 4 * i, s.masks[i]);
  std::copy(s.palette.begin(), s.palette.end(), out.begin() + static_cast<std::ptrdiff_t>(headersEnd));
  out.insert(out.end(), s.pixels.begin(), s.pixels.end());
  PutLe32(out, 2, static_cast<std::uint32_t>(out.size()));
  return out;
}

// A binary PPM (P6, maxval 255) as ImageMagick writes it.
Bitmap24 ReadPpm(const fs::path& path) {
  const Bytes data = testdata::ReadTestFile(path);
  std::size_t at = 0;
  auto number = [&] {
    while (at < data.size() && std::isspace(data[at])) ++at;
    int v = 0;
    while (at < data.size() && std::isdigit(data[at])) v = v * 10 + (data[at++] - '0');
    return v;
  };
  at = 2;
  const int w = number();
  const int h = number();
  EXPECT_EQ(number(), 255) << path;
  ++at;
  Bitmap24 image(w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x, at += 3) image.At(x, y) = RgbPixel(data[at], data[at + 1], data[at + 2]);
  }
  return image;
}

TEST(BmpCodec, DecodesEveryDepthAndHeaderThatAnotherEncoderWrites) {
  const fs::path folder = fs::path(QLT_TEST_DATA_DIR) / "bitmaps";
  int files = 0;
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (entry.path().extension() != ".bmp") continue;
    ++files;
    std::string problem;
    const std::optional<Bitmap24> image = DecodeBmp(testdata::ReadTestFile(entry.path()), &problem);
    ASSERT_TRUE(image) << entry.path() << ": " << problem;
    const Bitmap24 expected = ReadPpm(fs::path(entry.path()).replace_extension(".ppm"));
    ASSERT_EQ(image->Width(), expected.Width()) << entry.path();
    ASSERT_EQ(image->Height(), expected.Height()) << entry.path();
    int wrong = 0;
    for (int y = 0; y < expected.Height(); ++y) {
      for (int x = 0; x < expected.Width(); ++x) {
        if (image->At(x, y) != expected.At(x, y) && wrong++ < 3) {
          ADD_FAILURE() << entry.path() << " pixel " << x << "," << y;
        }
      }
    }
  }
  EXPECT_EQ(files, 9);  // 1, 4, 8 (plain and run-length), 24 and 32 bits; info, core and V5 headers
}

TEST(BmpCodec, WritesBitmapsThatReadBackForEveryRowPadding) {
  for (int width = 1; width <= 6; ++width) {
    const Bitmap24 picture = testdata::MakePicture(width, 5, static_cast<std::uint32_t>(width));
    const Bytes file = EncodeBmp(picture);
    EXPECT_EQ(file.size(), 54 + (width * 3 + 3) / 4 * 4 * 5u);
    EXPECT_EQ(DecodeBmp(file), picture) << "width " << width;
  }
  EXPECT_TRUE(EncodeBmp(Bitmap24()).empty());
}

TEST(BmpCodec, TopDownRowsAndAMissingDataOffset) {
  const Bitmap24 picture = testdata::MakePicture(3, 4, 9);
  Bytes file = EncodeBmp(picture);
  // The same rows stored top-down: negative height, rows reversed.
  Bytes topDown = file;
  PutLe32(topDown, 22, static_cast<std::uint32_t>(-4));
  const std::size_t stride = 12;
  for (int row = 0; row < 4; ++row) {
    std::copy_n(file.begin() + 54 + static_cast<std::ptrdiff_t>(row * stride), stride,
                topDown.begin() + 54 + static_cast<std::ptrdiff_t>((3 - row) * stride));
  }
  EXPECT_EQ(DecodeBmp(topDown), picture);
  PutLe32(file, 10, 0);  // many writers leave it 0
  EXPECT_EQ(DecodeBmp(file), picture);
}

TEST(BmpCodec, PalettesMasksAndShortPalettes) {
  // 1 bit with a palette of red and blue: 0b10100000 -> red, blue, red, blue...
  BmpFields mono{.width = 4, .height = 1, .bitsPerPixel = 1, .palette = {0, 0, 255, 0, 255, 0, 0, 0}, .pixels = {0x50, 0, 0, 0}};
  const Bgr red = RgbPixel(255, 0, 0);
  const Bgr blue = RgbPixel(0, 0, 255);
  auto image = DecodeBmp(BuildBmp(mono));
  ASSERT_TRUE(image);
  EXPECT_EQ(image->At(0, 0), red);
  EXPECT_EQ(image->At(1, 0), blue);
  EXPECT_EQ(image->At(3, 0), blue);

  // 8 bits with a 2-entry palette: index 7 has no entry and shows black.
  BmpFields shortPalette{.width = 2, .height = 1, .bitsPerPixel = 8, .colorsUsed = 2,
                       .palette = {1, 2, 3, 0, 4, 5, 6, 0}, .pixels = {1, 7, 0, 0}};
  image = DecodeBmp(BuildBmp(shortPalette));
  ASSERT_TRUE(image);
  EXPECT_EQ(image->At(0, 0), (Bgr{4, 5, 6}));
  EXPECT_EQ(image->At(1, 0), (Bgr{0, 0, 0}));

  // 16 bits: 5-5-5 by default, 5-6-5 with masks; full intensity reads as 255.
  BmpFields rgb555{.width = 1, .height = 1, .bitsPerPixel = 16, .pixels = {0x1F, 0x7C, 0, 0}};  // 0x7C1F: red + blue
  image = DecodeBmp(BuildBmp(rgb555));
  ASSERT_TRUE(image);
  EXPECT_EQ(image->At(0, 0), RgbPixel(255, 0, 255));
  BmpFields rgb565{.width = 1, .height = 1, .bitsPerPixel = 16, .compression = 3,
                 .masks = {0xF800, 0x07E0, 0x001F}, .pixels = {0xE0, 0x07, 0, 0}};  // green only
  image = DecodeBmp(BuildBmp(rgb565));
  ASSERT_TRUE(image);
  EXPECT_EQ(image->At(0, 0), RgbPixel(0, 255, 0));

  // 32 bits: plain (blue, green, red, unused) and with masks in another order.
  BmpFields plain32{.width = 1, .height = 1, .bitsPerPixel = 32, .pixels = {10, 20, 30, 99}};
  EXPECT_EQ(DecodeBmp(BuildBmp(plain32))->At(0, 0), RgbPixel(30, 20, 10));
  BmpFields masked32{.width = 1, .height = 1, .bitsPerPixel = 32, .compression = 3,
                   .masks = {0x000000FF, 0x0000FF00, 0x00FF0000}, .pixels = {10, 20, 30, 99}};
  EXPECT_EQ(DecodeBmp(BuildBmp(masked32))->At(0, 0), RgbPixel(10, 20, 30));
}

TEST(BmpCodec, RunLengthEncodedBitmapsAreReadAndCutToThePicture) {
  const std::vector<std::uint8_t> palette = {0, 0, 0, 0, 0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0, 0};
  // 8 bits, 4 x 3, bottom row first: a run of 3 red and 9 more cut at the edge; end of row;
  // absolute mode with 3 indices (padded); end of row; a move of 2 right, one red; end.
  BmpFields rle8{.width = 4, .height = 3, .bitsPerPixel = 8, .compression = 1, .colorsUsed = 4, .palette = palette,
               .pixels = {3, 1, 9, 2, 0, 0, 0, 3, 2, 3, 1, 0, 0, 0, 0, 2, 2, 0, 1, 1, 0, 1}};
  auto image = DecodeBmp(BuildBmp(rle8));
  ASSERT_TRUE(image);
  const Bgr black{}, red = RgbPixel(255, 0, 0), green = RgbPixel(0, 255, 0), blue = RgbPixel(0, 0, 255);
  EXPECT_EQ(image->At(0, 2), red);
  EXPECT_EQ(image->At(3, 2), green);
  EXPECT_EQ(image->At(0, 1), green);
  EXPECT_EQ(image->At(1, 1), blue);
  EXPECT_EQ(image->At(2, 1), red);
  EXPECT_EQ(image->At(3, 1), black);
  EXPECT_EQ(image->At(1, 0), black);
  EXPECT_EQ(image->At(2, 0), red);

  // 4 bits: a run alternates its two nibbles; no end marker at all is tolerated.
  BmpFields rle4{.width = 5, .height = 1, .bitsPerPixel = 4, .compression = 2, .colorsUsed = 4, .palette = palette,
               .pixels = {5, 0x12, 0, 0}};
  image = DecodeBmp(BuildBmp(rle4));
  ASSERT_TRUE(image);
  EXPECT_EQ(image->At(0, 0), red);
  EXPECT_EQ(image->At(1, 0), green);
  EXPECT_EQ(image->At(4, 0), red);

  // Moves and runs far beyond the picture only cost the loop nothing.
  BmpFields wild{.width = 2, .height = 2, .bitsPerPixel = 8, .compression = 1, .colorsUsed = 4, .palette = palette};
  for (int i = 0; i < 2000; ++i) wild.pixels.insert(wild.pixels.end(), {255, 1, 0, 2, 255, 0});
  EXPECT_TRUE(DecodeBmp(BuildBmp(wild)));
}

TEST(BmpCodec, HeadersThatLieAreRefused) {
  const BmpFields good{.width = 3, .height = 2, .pixels = std::vector<std::uint8_t>(24, 7)};
  ASSERT_TRUE(DecodeBmp(BuildBmp(good)));
  auto with = [&](auto change) {
    BmpFields s = good;
    change(s);
    return BuildBmp(s);
  };
  Bytes notBm = BuildBmp(good);
  notBm[1] = 'A';
  Bytes pixelsShortByOne = BuildBmp(good);
  pixelsShortByOne.pop_back();
  Bytes headerCut = BuildBmp(good);
  headerCut.resize(40);
  struct Case {
    const char* what;
    Bytes file;
  };
  const Case cases[] = {
      {"not BM", notBm},
      {"ten bytes", Bytes(10, 'B')},
      {"header cut", headerCut},
      {"pixels short by one byte", pixelsShortByOne},
      {"width 0", with([](BmpFields& s) { s.width = 0; })},
      {"negative width", with([](BmpFields& s) { s.width = -3; })},
      {"height 0", with([](BmpFields& s) { s.height = 0; })},
      {"most negative height", with([](BmpFields& s) { s.height = INT32_MIN; })},
      {"width beyond any skin", with([](BmpFields& s) { s.width = 100000; })},
      {"pixel count beyond any skin", with([](BmpFields& s) { s.width = s.height = 16384; s.bitsPerPixel = 1; })},
      {"2 bits", with([](BmpFields& s) { s.bitsPerPixel = 2; })},
      {"7 bits", with([](BmpFields& s) { s.bitsPerPixel = 7; })},
      {"unknown header size", with([](BmpFields& s) { s.headerSize = 41; })},
      {"header beyond the file", with([](BmpFields& s) { s.headerSize = 124; s.pixels.clear(); })},
      {"palette larger than 8 bits allow",
       with([](BmpFields& s) { s.bitsPerPixel = 8; s.colorsUsed = 300; s.palette.assign(1200, 0); })},
      {"palette larger than 4 bits allow", with([](BmpFields& s) { s.bitsPerPixel = 4; s.colorsUsed = 17; })},
      {"palette beyond the file", with([](BmpFields& s) { s.bitsPerPixel = 8; s.pixels.assign(8, 0); })},
      {"data offset beyond the file", with([](BmpFields& s) { s.dataOffset = 1 << 20; })},
      {"data offset inside the headers", with([](BmpFields& s) { s.dataOffset = 20; })},
      {"data offset inside the palette",
       with([](BmpFields& s) { s.bitsPerPixel = 1; s.palette.assign(8, 0); s.dataOffset = 56; })},
      {"masks on 24 bits", with([](BmpFields& s) { s.compression = 3; s.masks = {0xFF0000, 0xFF00, 0xFF}; })},
      {"an empty mask", with([](BmpFields& s) { s.bitsPerPixel = 32; s.compression = 3; s.masks = {0xFF0000, 0, 0xFF}; })},
      {"a mask with a hole",
       with([](BmpFields& s) { s.bitsPerPixel = 32; s.compression = 3; s.masks = {0xF0F000, 0xFF00, 0xFF}; })},
      {"a mask wider than 16 bits",
       with([](BmpFields& s) { s.bitsPerPixel = 16; s.compression = 3; s.masks = {0x1F0000, 0x7E0, 0x1F}; })},
      {"masks beyond the file", with([](BmpFields& s) { s.bitsPerPixel = 32; s.compression = 3; s.pixels.clear(); })},
      {"run-length on 24 bits", with([](BmpFields& s) { s.compression = 1; })},
      {"top-down run-length",
       with([](BmpFields& s) { s.bitsPerPixel = 8; s.compression = 1; s.height = -2; s.palette.assign(1024, 0); })},
      {"JPEG inside", with([](BmpFields& s) { s.compression = 4; })},
  };
  for (const Case& c : cases) {
    std::string problem;
    EXPECT_FALSE(DecodeBmp(c.file, &problem)) << c.what;
    EXPECT_FALSE(problem.empty()) << c.what;
  }
}

TEST(BitmapTransforms, GreyIsTheMeanOfTheThreeBytes) {
  Bitmap24 image(2, 1);
  image.At(0, 0) = Bgr{10, 20, 30};
  image.At(1, 0) = Bgr{255, 255, 254};
  ToGrey(image);
  EXPECT_EQ(image.At(0, 0), (Bgr{20, 20, 20}));
  EXPECT_EQ(image.At(1, 0), (Bgr{254, 254, 254}));  // 764 div 3
}

TEST(BitmapTransforms, EachTransformIsUndoneByItsInverse) {
  for (auto [w, h] : {std::pair{3, 2}, {1, 7}, {7, 1}, {16, 9}, {1, 1}}) {
    const Bitmap24 original = testdata::MakePicture(w, h, static_cast<std::uint32_t>(w * 31 + h));
    Bitmap24 image = original;
    MirrorHorizontal(image);
    if (w > 1) {
      EXPECT_NE(image, original);
    }
    EXPECT_EQ(image.At(0, 0), original.At(w - 1, 0));
    MirrorHorizontal(image);
    EXPECT_EQ(image, original);

    FlipVertical(image);
    EXPECT_EQ(image.At(0, 0), original.At(0, h - 1));
    FlipVertical(image);
    EXPECT_EQ(image, original);

    RotateLeft(image);
    EXPECT_EQ(image.Width(), h);
    EXPECT_EQ(image.Height(), w);
    EXPECT_EQ(image.At(0, 0), original.At(w - 1, 0));  // the old top-right pixel
    RotateRight(image);
    EXPECT_EQ(image, original);

    RotateRight(image);
    EXPECT_EQ(image.At(0, 0), original.At(0, h - 1));  // the old bottom-left pixel
    RotateRight(image);
    RotateRight(image);
    RotateRight(image);
    EXPECT_EQ(image, original);
  }
}

TEST(BitmapTransforms, ThreeByTwoTurnsAsDescribed) {
  // a b c        left:  c f    right:  d a
  // d e f               b e            e b
  //                     a d            f c
  Bitmap24 image(3, 2);
  for (int i = 0; i < 6; ++i) image.At(i % 3, i / 3) = Bgr{static_cast<std::uint8_t>('a' + i), 0, 0};
  auto letters = [](const Bitmap24& b) {
    std::string s;
    for (int y = 0; y < b.Height(); ++y) {
      for (int x = 0; x < b.Width(); ++x) s += static_cast<char>(b.At(x, y).b);
    }
    return s;
  };
  Bitmap24 left = image;
  RotateLeft(left);
  EXPECT_EQ(letters(left), "cfbead");
  Bitmap24 right = image;
  RotateRight(right);
  EXPECT_EQ(letters(right), "daebfc");
}

TEST(BitmapTransforms, EmptyImagesStayEmpty) {
  Bitmap24 image;
  ToGrey(image);
  MirrorHorizontal(image);
  FlipVertical(image);
  RotateLeft(image);
  RotateRight(image);
  EXPECT_TRUE(image.Empty());
  EXPECT_TRUE(Bitmap24(-1, 5).Empty());
}

TEST(Bitmap24, CopyTakesAClippedPart) {
  const Bitmap24 image = testdata::MakePicture(12, 4, 1);
  const Bitmap24 part = image.Copy(4, 1, 4, 10);
  ASSERT_EQ(part.Width(), 4);
  ASSERT_EQ(part.Height(), 3);
  EXPECT_EQ(part.At(0, 0), image.At(4, 1));
  EXPECT_EQ(part.At(3, 2), image.At(7, 3));
  EXPECT_TRUE(image.Copy(12, 0, 5, 5).Empty());
  EXPECT_TRUE(image.Copy(-10, 0, 5, 5).Empty());
  EXPECT_EQ(image.Copy(INT_MIN, INT_MIN, INT_MAX, INT_MAX).Width(), 0);
}

}  // namespace
}  // namespace qlt
