// libFuzzer entry: see FuzzSkinGeometry in SkinFuzzing.h.
#include "tests/fuzz/SkinFuzzing.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  qlt::fuzzing::FuzzSkinGeometry(qlt::ByteView(data, size));
  return 0;
}
