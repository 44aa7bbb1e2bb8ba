#pragma once
// Test data for the skin layer: reproducible byte patterns of the kinds a skin holds (text,
// pictures with long runs, noise), small pictures, and files the tests read.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <random>
#include <string>

#include "skin/data/Bitmap24.h"
#include "skin/data/Bytes.h"
#include "skin/kit/SkinKit.h"

namespace qlt::testdata {

enum class Kind { Random, Text, Repetitive, Mixed };

inline Bytes MakeBytes(std::size_t size, Kind kind, std::uint32_t seed) {
  std::mt19937 rng(seed);
  Bytes out;
  out.reserve(size);
  static const char* const words[] = {"[Personality]", "Top=top.bmp", "LeftWidth", "=", "12", "\r\n", "Image",
                                      "ButtonFace=145,146,159", "; comment", " ", "Trans=1", "MouseOverColour2"};
  while (out.size() < size) {
    Kind k = kind;
    if (k == Kind::Mixed) k = static_cast<Kind>(rng() % 3);
    const std::size_t piece = std::min<std::size_t>(size - out.size(), 1 + rng() % 3000);
    for (std::size_t i = 0; i < piece;) {
      switch (k) {
        case Kind::Random:
          out.push_back(static_cast<std::uint8_t>(rng()));
          ++i;
          break;
        case Kind::Text: {
          const std::string w = words[rng() % std::size(words)];
          for (char c : w) {
            if (i++ < piece) out.push_back(static_cast<std::uint8_t>(c));
          }
          break;
        }
        default: {
          const std::uint8_t b = static_cast<std::uint8_t>(rng() % 4 == 0 ? rng() : 0x20);
          const std::size_t run = 1 + rng() % 200;
          for (std::size_t r = 0; r < run && i < piece; ++r, ++i) out.push_back(b);
          break;
        }
      }
    }
  }
  return out;
}

// A picture like a skin's: a face colour, a magenta edge, gradients and a few hard edges. The edge
// takes at most half the width, so even a narrow picture has pixels of their own in every row.
inline Bitmap24 MakePicture(int width, int height, std::uint32_t seed) {
  std::mt19937 rng(seed);
  Bitmap24 image(width, height, RgbPixel(145, 146, 159));
  const int band = std::min(static_cast<int>(rng() % 5), width / 2);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      if (x < band) {
        image.At(x, y) = kSkinTransparent;
      } else if ((x / 8 + y / 8) % 3 == 0) {
        image.At(x, y) = RgbPixel(static_cast<std::uint8_t>(x * 255 / width), static_cast<std::uint8_t>(y * 255 / height),
                                  static_cast<std::uint8_t>(seed));
      }
    }
  }
  return image;
}

// The whole file, read by the skin kit; a file that cannot be read fails the test that needs it.
inline Bytes ReadTestFile(const std::filesystem::path& path) {
  Bytes bytes;
  std::string error;
  EXPECT_TRUE(skinkit::ReadFileBytes(path, bytes, error)) << error;
  return bytes;
}

}  // namespace qlt::testdata
