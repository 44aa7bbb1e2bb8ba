// Replays every input that ever failed, or that the skin layer refuses on purpose, through the
// fuzz targets' checks (tests/corpus/<target>/, one folder per target), under the sanitizers.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "tests/fuzz/SkinFuzzing.h"
#include "tests/native/SkinTestData.h"

namespace qlt::fuzzing {
namespace {

namespace fs = std::filesystem;

int Replay(const char* target, const std::function<void(ByteView)>& fuzz) {
  int count = 0;
  for (const auto& f : fs::directory_iterator(fs::path(QLT_CORPUS_DIR) / target)) {
    SCOPED_TRACE(f.path().string());
    const Bytes bytes = testdata::ReadTestFile(f.path());
    fuzz(bytes);
    ++count;
  }
  return count;
}

TEST(FuzzCorpus, PackedSkins) { EXPECT_GT(Replay("packed", FuzzSkinPacked), 0); }
TEST(FuzzCorpus, Containers) { EXPECT_GT(Replay("container", FuzzSkinContainer), 0); }
TEST(FuzzCorpus, Bitmaps) { EXPECT_GT(Replay("bitmap", FuzzBitmap), 0); }
TEST(FuzzCorpus, LzhStreams) { EXPECT_GT(Replay("lzh", FuzzLzh), 0); }
TEST(FuzzCorpus, Geometry) { EXPECT_GT(Replay("geometry", FuzzSkinGeometry), 0); }

}  // namespace
}  // namespace qlt::fuzzing
