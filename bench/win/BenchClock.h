#pragma once
// The Windows benchmarks' clock (milliseconds from the performance counter), the median of their
// rounds and their numeric options.
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

namespace qlt::bench {

inline double NowMs() {
  static const LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// -1 when there is no value at all.
inline double Median(std::vector<double> values) {
  if (values.empty()) return -1;
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// The value below which `percent` of the values lie (the 10th percentile: a figure less disturbed
// by other programs than the median); -1 when there is no value at all.
inline double Percentile(std::vector<double> values, int percent) {
  if (values.empty()) return -1;
  std::sort(values.begin(), values.end());
  return values[values.size() * static_cast<size_t>(percent) / 100];
}

// The number of an option NAME=N on the command line (name given with its "="), or `fallback`.
inline int ArgValue(int argc, wchar_t** argv, const wchar_t* name, int fallback) {
  const size_t length = wcslen(name);
  for (int i = 1; i < argc; ++i) {
    if (wcsncmp(argv[i], name, length) == 0) return _wtoi(argv[i] + length);
  }
  return fallback;
}

// The text of an option --NAME=TEXT on the command line (name given without "--"), or `fallback`.
inline std::string ArgText(int argc, char** argv, const std::string& name, const std::string& fallback) {
  const std::string prefix = "--" + name + "=";
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], prefix.c_str(), prefix.size()) == 0) return argv[i] + prefix.size();
  }
  return fallback;
}

}  // namespace qlt::bench
