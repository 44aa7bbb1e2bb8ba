# Native side: sanitizers for the test build, libFuzzer targets with clang.
option(QLT_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" ON)
option(QLT_FUZZ "Build the libFuzzer targets (needs clang)" OFF)
option(QLT_BENCH "Build the benchmarks" ON)

if(QLT_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
endif()

if(QLT_FUZZ)
  # Coverage for libFuzzer in everything the fuzz targets link; the targets add the fuzzer's main.
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
endif()
