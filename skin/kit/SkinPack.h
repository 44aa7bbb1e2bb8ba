#pragma once
// Building skin files: the container of named entries and the packed file around it, the inverse
// of TSkinReader.
#include <string>
#include <vector>

#include "skin/data/Bytes.h"

namespace qlt {

struct SkinEntry {
  std::string name;  // a file name such as "top.bmp"; kept as written, the reader ignores its case
  Bytes data;
};

// The unpacked container: format number 20000, the names ended by CR LF, the sizes, the contents.
Bytes BuildSkinContainer(const std::vector<SkinEntry>& entries);

// A skin file: the container's size (4 bytes, little-endian) and the container compressed.
Bytes PackSkinContainer(ByteView container);
Bytes PackSkin(const std::vector<SkinEntry>& entries);

}  // namespace qlt
