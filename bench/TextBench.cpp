// Text conversion at the Win32 edge: every caption and list entry passes through it.
#include <benchmark/benchmark.h>

#include <string>

#include "ui/Utf.h"

namespace {

std::string MixedText(size_t bytes) {
  const std::string piece = "notepad.exe 控制隐藏的进程 QLTZarnit2.32－QLT科技 ";
  std::string text;
  while (text.size() < bytes) text += piece;
  return text;
}

void BM_Utf8ToUtf16(benchmark::State& state) {
  const std::string text = MixedText(static_cast<size_t>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(qlt::Utf8ToUtf16(text));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_Utf8ToUtf16)->Arg(64)->Arg(64 << 10);

void BM_Utf16ToUtf8(benchmark::State& state) {
  const std::u16string text = qlt::Utf8ToUtf16(MixedText(static_cast<size_t>(state.range(0))));
  for (auto _ : state) benchmark::DoNotOptimize(qlt::Utf16ToUtf8(text));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size() * 2));
}
BENCHMARK(BM_Utf16ToUtf8)->Arg(64)->Arg(64 << 10);

}  // namespace
