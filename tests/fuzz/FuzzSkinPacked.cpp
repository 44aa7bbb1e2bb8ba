// libFuzzer entry: see FuzzSkinPacked in SkinFuzzing.h. Random changes to packed bytes mostly give
// garbage after the first changed bit, so most mutations are made to the unpacked container, which
// is then packed again: the whole path from packed bytes to decoded bitmaps stays reachable.
#include <cstring>
#include <random>

#include "skin/data/Lzh.h"
#include "skin/kit/SkinPack.h"
#include "tests/fuzz/SkinFuzzing.h"

extern "C" std::size_t LLVMFuzzerMutate(std::uint8_t* data, std::size_t size, std::size_t maxSize);

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  qlt::fuzzing::FuzzSkinPacked(qlt::ByteView(data, size));
  return 0;
}

extern "C" std::size_t LLVMFuzzerCustomMutator(std::uint8_t* data, std::size_t size, std::size_t maxSize,
                                               unsigned int seed) {
  std::minstd_rand rng(seed);
  if (size < 4 || rng() % 4 == 0) return LLVMFuzzerMutate(data, size, maxSize);
  const std::uint32_t declared = data[0] | data[1] << 8 | data[2] << 16 | static_cast<std::uint32_t>(data[3]) << 24;
  if (declared > (256u << 10)) return LLVMFuzzerMutate(data, size, maxSize);
  qlt::Bytes container = qlt::TLZH::UnpackBytes(qlt::ByteView(data + 4, size - 4), declared);
  container.resize(declared);
  const std::size_t room = container.size() + 1024;
  container.resize(room);
  container.resize(LLVMFuzzerMutate(container.data(), declared, room));
  const qlt::Bytes packed = qlt::PackSkinContainer(container);
  if (packed.size() > maxSize) return LLVMFuzzerMutate(data, size, maxSize);
  std::memcpy(data, packed.data(), packed.size());
  return packed.size();
}
