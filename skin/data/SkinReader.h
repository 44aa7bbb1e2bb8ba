#pragma once
// TSkinReader opens a packed skin: a 4-byte unpacked size and an LZHUF stream (TLZH) that unpacks
// to a container of named entries (the skin's bitmaps and its one ".ini" description):
//
//   offset 0        format number, int32 LE, 20000
//   offset 4        L, the length of the name list, int32 LE
//   offset 8        8 bytes not read
//   offset 16       the names, each line ended by CR LF
//   16 + L          N sizes, int32 LE, in name order (N = number of names)
//   16 + L + 4N     the entry contents, back to back, in name order
//
// A skin file comes from outside, so nothing in it is trusted: a container whose sizes reach
// beyond its data, that lists more than 1001 names, or that claims more than kMaxUnpackedSize
// bytes is refused as damaged, and LoadPacked returns false with DamagedSkinMessage.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "skin/data/Bytes.h"

namespace qlt {

inline constexpr std::int32_t kSkinFormatNumber = 20000;
inline constexpr const char* kOldSkinMessage = "This is Older Skin File\rPlease update to new version !";
inline constexpr const char* kDamagedSkinMessage =
    "The skin file is damaged and cannot be used.\rThe program runs without a skin.";

enum class SkinLoadResult { NotLoaded, Loaded, OldFormat, Damaged };

// Which check refused a file.
enum class SkinDefect {
  None,
  NoUnpackedSize,          // shorter than the 4-byte unpacked size
  UnpackedSizeTooLarge,    // claims more than kMaxUnpackedSize
  ShortHeader,             // container shorter than its 16-byte header
  OtherFormat,             // format number other than 20000
  NegativeNameList,
  NameListBeyondData,      // the name list runs past the container's end
  TooManyNames,            // more than kMaxEntries
  SizeTableBeyondData,     // the sizes after the name list run past the end
  NegativeEntrySize,
  EntryBeyondData,         // an entry runs past the end
};

class TSkinReader {
 public:
  // The sizes table of the format has room for this many entries.
  static constexpr std::size_t kMaxEntries = 1001;
  // A skin unpacks to a few hundred kilobytes; anything beyond this is not a skin.
  static constexpr std::uint32_t kMaxUnpackedSize = 8u << 20;

  // Unpacks and indexes a packed skin. On failure the reader keeps what it held before.
  bool LoadPacked(ByteView packed);
  // Indexes an unpacked container (the second half of LoadPacked).
  bool LoadContainer(Bytes container);

  // Why the last load failed: the message for the user (the old-format text or the damaged-skin
  // text; empty after a success) and, for the skin kit, what exactly was wrong.
  SkinLoadResult Result() const { return result_; }
  const std::string& Message() const { return message_; }
  const std::string& Problem() const { return problem_; }
  SkinDefect Defect() const { return defect_; }
  // Input bytes the decoder needed beyond the end of the packed data (a cut-off file).
  std::uint64_t BytesMissing() const { return bytesMissing_; }

  // Copies the first entry named `name` (letter case ignored) into `target`; without such an
  // entry `target` stays empty.
  void GetEntry(std::string_view name, Bytes& target) const;
  // Copies the first entry whose lower-case name contains `part` (compared as given, so callers
  // pass lower-case parts such as ".ini") and sets `foundName`; returns false and leaves
  // `foundName` alone when none does.
  bool FindEntry(std::string_view part, Bytes& target, std::string& foundName) const;
  // The bytes of the first entry named `name`, without a copy; empty when there is none.
  ByteView Entry(std::string_view name) const;

  const std::vector<std::string>& Names() const { return names_; }
  int Count() const { return static_cast<int>(names_.size()); }
  const std::vector<std::int32_t>& Sizes() const { return sizes_; }
  ByteView EntryAt(int index) const;
  // The unpacked container as loaded.
  const Bytes& Container() const { return container_; }

 private:
  bool Refuse(SkinDefect defect, std::string problem);
  int IndexOf(std::string_view lowerName) const;

  std::vector<std::string> names_;      // lower-cased, in container order
  std::vector<std::int32_t> sizes_;
  std::vector<std::size_t> offsets_;    // of each entry within container_
  Bytes container_;
  SkinLoadResult result_ = SkinLoadResult::NotLoaded;
  std::string message_;
  std::string problem_;
  SkinDefect defect_ = SkinDefect::None;
  std::uint64_t bytesMissing_ = 0;
};

}  // namespace qlt
