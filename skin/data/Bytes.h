#pragma once
// The byte buffers of the skin layer: a packed skin, an unpacked container, one entry.
#include <cstdint>
#include <span>
#include <vector>

namespace qlt {

using Bytes = std::vector<std::uint8_t>;
using ByteView = std::span<const std::uint8_t>;

}  // namespace qlt
