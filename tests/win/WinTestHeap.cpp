// FreedMemoryWatch: this program's operator delete, which holds freed blocks back while a watch lives.
#include <malloc.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <iterator>

#include "tests/win/WinTestSupport.h"

namespace {

constexpr unsigned char kFreed = 0xDB;
struct Held {
  unsigned char* p;
  size_t n;
};
Held g_held[1 << 18];  // beyond that, freed blocks go back at once
size_t g_count = 0;
std::atomic<bool> g_watching{false};
std::atomic_flag g_busy = ATOMIC_FLAG_INIT;

// A lock that allocates nothing (it is taken inside operator delete).
struct Lock {
  Lock() {
    while (g_busy.test_and_set(std::memory_order_acquire)) Sleep(0);
  }
  ~Lock() { g_busy.clear(std::memory_order_release); }
};

}  // namespace

// In place of the library's (both give the blocks of its operator new, malloc's, back to free).
void operator delete(void* p) noexcept {
  if (p && g_watching) {
    const Lock lock;
    if (g_watching && g_count < std::size(g_held)) {
      const size_t n = _msize(p);
      std::memset(p, kFreed, n);
      g_held[g_count++] = {static_cast<unsigned char*>(p), n};
      return;
    }
  }
  std::free(p);
}

void operator delete(void* p, std::size_t) noexcept { ::operator delete(p); }

namespace qlt::test {

FreedMemoryWatch::FreedMemoryWatch() { g_watching = true; }

FreedMemoryWatch::~FreedMemoryWatch() {
  const Lock lock;
  g_watching = false;
  for (size_t i = 0; i < g_count; ++i) std::free(g_held[i].p);
  g_count = 0;
}

int FreedMemoryWatch::Writes() const {
  const Lock lock;
  int writes = 0;
  for (size_t i = 0; i < g_count; ++i) {
    writes += std::any_of(g_held[i].p, g_held[i].p + g_held[i].n, [](unsigned char b) { return b != kFreed; });
  }
  return writes;
}

}  // namespace qlt::test
