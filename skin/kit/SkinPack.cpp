#include "skin/kit/SkinPack.h"

#include "skin/data/SkinReader.h"
#include "skin/kit/LzhPack.h"

namespace qlt {
namespace {

void AppendLe32(Bytes& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

}  // namespace

Bytes BuildSkinContainer(const std::vector<SkinEntry>& entries) {
  std::string names;
  for (const SkinEntry& e : entries) names += e.name + "\r\n";
  Bytes out;
  AppendLe32(out, static_cast<std::uint32_t>(kSkinFormatNumber));
  AppendLe32(out, static_cast<std::uint32_t>(names.size()));
  out.resize(out.size() + 8, 0);  // not read by the reader
  out.insert(out.end(), names.begin(), names.end());
  for (const SkinEntry& e : entries) AppendLe32(out, static_cast<std::uint32_t>(e.data.size()));
  for (const SkinEntry& e : entries) out.insert(out.end(), e.data.begin(), e.data.end());
  return out;
}

Bytes PackSkinContainer(ByteView container) {
  Bytes out;
  AppendLe32(out, static_cast<std::uint32_t>(container.size()));
  const Bytes stream = LzhCompress(container);
  out.insert(out.end(), stream.begin(), stream.end());
  return out;
}

Bytes PackSkin(const std::vector<SkinEntry>& entries) { return PackSkinContainer(BuildSkinContainer(entries)); }

}  // namespace qlt
