// libFuzzer entry: see FuzzSkinContainer in SkinFuzzing.h.
#include "tests/fuzz/SkinFuzzing.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  qlt::fuzzing::FuzzSkinContainer(qlt::ByteView(data, size));
  return 0;
}
