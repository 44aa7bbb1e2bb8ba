#pragma once
// The checks the fuzz targets run on any bytes, kept apart from libFuzzer so that the native tests
// replay the saved inputs (tests/corpus) through the same code. Each returns normally or aborts on a
// broken promise of the skin layer; out-of-bounds access and undefined behaviour are the
// sanitizers' to report.
#include "skin/data/Bytes.h"

namespace qlt::fuzzing {

// Aborts with a message when a promise is broken.
void Check(bool ok, const char* what);

// A packed skin file goes through the whole load: unpack, index, parse the description, decode the
// bitmaps it names. Skins claiming more than kFuzzMaxUnpacked bytes are skipped (the limit itself
// is tested natively), so that every run stays fast.
inline constexpr std::uint32_t kFuzzMaxUnpacked = 1u << 20;
void FuzzSkinPacked(ByteView data);

// An unpacked container: index, description, bitmaps.
void FuzzSkinContainer(ByteView data);

// Bytes 0-1: the unpacked size; byte 2: the input piece size; the rest: a bit stream. TLZH must
// agree with the literal reference decoder, and the kit's compressor must round-trip the stream.
void FuzzLzh(ByteView data);

// A bitmap file: decoded, or refused; a decoded image survives the writer and the transforms.
void FuzzBitmap(ByteView data);

}  // namespace qlt::fuzzing
