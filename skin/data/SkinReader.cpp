#include "skin/data/SkinReader.h"

#include <algorithm>
#include <cstring>

#include "skin/data/Lzh.h"
#include "skin/data/LzhModel.h"
#include "skin/data/SkinText.h"
#include "ui/SysUtils.h"

namespace qlt {
namespace {

constexpr std::size_t kHeaderSize = 16;

std::uint32_t Le32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

}  // namespace

bool TSkinReader::Refuse(SkinDefect defect, std::string problem) {
  result_ = defect == SkinDefect::OtherFormat ? SkinLoadResult::OldFormat : SkinLoadResult::Damaged;
  message_ = result_ == SkinLoadResult::OldFormat ? kOldSkinMessage : kDamagedSkinMessage;
  problem_ = std::move(problem);
  defect_ = defect;
  return false;
}

bool TSkinReader::LoadPacked(ByteView packed) {
  bytesMissing_ = 0;
  if (packed.size() < 4) return Refuse(SkinDefect::NoUnpackedSize, "shorter than its 4-byte size");
  const std::uint32_t size = Le32(packed.data());
  if (size > kMaxUnpackedSize) {
    return Refuse(SkinDefect::UnpackedSizeTooLarge,
                  "claims " + std::to_string(size) + " bytes unpacked, more than any skin (" +
                      std::to_string(kMaxUnpackedSize) + ")");
  }
  const ByteView stream = packed.subspan(4);
  std::size_t at = 0;
  Bytes container;
  container.reserve(static_cast<std::size_t>(size) + lzh::kLookahead);
  TLZH lzh;
  lzh.Unpack(
      size,
      [&container](const std::uint8_t* data, std::size_t count) {
        container.insert(container.end(), data, data + count);
      },
      [&](std::uint8_t* buffer, std::size_t capacity) {
        const std::size_t n = std::min(capacity, stream.size() - at);
        if (n != 0) std::memcpy(buffer, stream.data() + at, n);
        at += n;
        return n;
      });
  bytesMissing_ = lzh.BytesMissing();
  // The last match may run past the declared size; the container is what the file declares.
  container.resize(size);
  return LoadContainer(std::move(container));
}

bool TSkinReader::LoadContainer(Bytes container) {
  const std::size_t size = container.size();
  if (size < kHeaderSize) return Refuse(SkinDefect::ShortHeader, "shorter than the 16-byte container header");
  const auto format = static_cast<std::int32_t>(Le32(container.data()));
  if (format != kSkinFormatNumber) {
    return Refuse(SkinDefect::OtherFormat, "format number " + std::to_string(format) + ", not 20000");
  }
  const auto nameListLength = static_cast<std::int32_t>(Le32(container.data() + 4));
  if (nameListLength < 0) {
    return Refuse(SkinDefect::NegativeNameList, "name list of " + std::to_string(nameListLength) + " bytes");
  }
  if (static_cast<std::size_t>(nameListLength) > size - kHeaderSize) {
    return Refuse(SkinDefect::NameListBeyondData,
                  "name list of " + std::to_string(nameListLength) + " bytes reaches beyond the data");
  }
  const std::string nameText = AsciiLower(std::string_view(
      reinterpret_cast<const char*>(container.data()) + kHeaderSize, static_cast<std::size_t>(nameListLength)));
  const std::vector<std::string_view> lines = SplitTextLines(nameText);
  if (lines.size() > kMaxEntries) {
    return Refuse(SkinDefect::TooManyNames, "lists " + std::to_string(lines.size()) + " names, more than " +
                                               std::to_string(kMaxEntries));
  }
  const std::size_t sizesAt = kHeaderSize + static_cast<std::size_t>(nameListLength);
  if (lines.size() * 4 > size - sizesAt) return Refuse(SkinDefect::SizeTableBeyondData, "size table reaches beyond the data");

  std::vector<std::string> names(lines.begin(), lines.end());
  std::vector<std::int32_t> sizes(lines.size());
  std::vector<std::size_t> offsets(lines.size());
  std::size_t next = sizesAt + lines.size() * 4;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    sizes[i] = static_cast<std::int32_t>(Le32(container.data() + sizesAt + 4 * i));
    if (sizes[i] < 0) {
      return Refuse(SkinDefect::NegativeEntrySize,
                    "entry \"" + names[i] + "\" has a negative size (" + std::to_string(sizes[i]) + ")");
    }
    if (static_cast<std::size_t>(sizes[i]) > size - next) {
      return Refuse(SkinDefect::EntryBeyondData, "entry \"" + names[i] + "\" of " + std::to_string(sizes[i]) +
                                                 " bytes reaches beyond the data");
    }
    offsets[i] = next;
    next += static_cast<std::size_t>(sizes[i]);
  }

  names_ = std::move(names);
  sizes_ = std::move(sizes);
  offsets_ = std::move(offsets);
  container_ = std::move(container);
  result_ = SkinLoadResult::Loaded;
  message_.clear();
  problem_.clear();
  defect_ = SkinDefect::None;
  return true;
}

int TSkinReader::IndexOf(std::string_view lowerName) const {
  for (std::size_t i = 0; i < names_.size(); ++i) {
    if (names_[i] == lowerName) return static_cast<int>(i);
  }
  return -1;
}

ByteView TSkinReader::EntryAt(int index) const {
  if (index < 0 || static_cast<std::size_t>(index) >= names_.size()) return {};
  return ByteView(container_).subspan(offsets_[index], static_cast<std::size_t>(sizes_[index]));
}

ByteView TSkinReader::Entry(std::string_view name) const { return EntryAt(IndexOf(AsciiLower(name))); }

void TSkinReader::GetEntry(std::string_view name, Bytes& target) const {
  const ByteView entry = Entry(name);
  target.assign(entry.begin(), entry.end());
}

bool TSkinReader::FindEntry(std::string_view part, Bytes& target, std::string& foundName) const {
  target.clear();
  if (part.empty()) return false;  // an empty part occurs in no name
  for (std::size_t i = 0; i < names_.size(); ++i) {
    if (names_[i].find(part) != std::string::npos) {
      const ByteView entry = EntryAt(static_cast<int>(i));
      target.assign(entry.begin(), entry.end());
      foundName = names_[i];
      return true;
    }
  }
  return false;
}

}  // namespace qlt
