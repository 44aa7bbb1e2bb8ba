#include "skin/data/LzhModel.h"

#include <cstring>

namespace qlt::lzh {

void Model::Reset() {
  for (unsigned s = 0; s < kSymbolCount; ++s) {
    frequency[s] = 1;
    child[s] = static_cast<std::uint16_t>(s + kTreeSize);
    parent[s + kTreeSize] = static_cast<std::uint16_t>(s);
  }
  for (unsigned i = 0, j = kSymbolCount; j <= kRoot; i += 2, ++j) {
    frequency[j] = static_cast<std::uint16_t>(frequency[i] + frequency[i + 1]);
    child[j] = static_cast<std::uint16_t>(i);
    parent[i] = parent[i + 1] = static_cast<std::uint16_t>(j);
  }
  frequency[kTreeSize] = 0xFFFF;
  parent[kRoot] = 0;
}

void Model::RebuildTree() {
  // Collect the leaves at the front, in their order, with halved weights.
  unsigned j = 0;
  for (unsigned i = 0; i < kTreeSize; ++i) {
    if (child[i] >= kTreeSize) {
      frequency[j] = static_cast<std::uint16_t>((frequency[i] + 1) / 2);
      child[j] = child[i];
      ++j;
    }
  }
  // Join pairs from the front, inserting each sum where it keeps the weights ordered.
  for (unsigned i = 0, j = kSymbolCount; j < kTreeSize; i += 2, ++j) {
    const unsigned f = frequency[i] + frequency[i + 1];
    unsigned k = j - 1;
    while (f < frequency[k]) --k;
    ++k;
    std::memmove(&frequency[k + 1], &frequency[k], (j - k) * sizeof(frequency[0]));
    frequency[k] = static_cast<std::uint16_t>(f);
    std::memmove(&child[k + 1], &child[k], (j - k) * sizeof(child[0]));
    child[k] = static_cast<std::uint16_t>(i);
  }
  // Link the parents again.
  for (unsigned i = 0; i < kTreeSize; ++i) {
    const unsigned k = child[i];
    if (k >= kTreeSize) {
      parent[k] = static_cast<std::uint16_t>(i);
    } else {
      parent[k] = parent[k + 1] = static_cast<std::uint16_t>(i);
    }
  }
}

}  // namespace qlt::lzh
