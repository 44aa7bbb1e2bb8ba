// libFuzzer entry: see FuzzLzh in SkinFuzzing.h.
#include "tests/fuzz/SkinFuzzing.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  qlt::fuzzing::FuzzLzh(qlt::ByteView(data, size));
  return 0;
}
