// Entry point of the end-to-end drivers: GoogleTest's own flags, then --qlt and --scratch.
#include <gtest/gtest.h>

#include <cstdio>
#include <exception>

#include "tests/e2e/QltProcess.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  try {
    qlt::e2e::ParseDriverArguments(argc, argv);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 2;
  }
  return RUN_ALL_TESTS();
}
