#pragma once
// The skin kit for skin authors: packs a folder of bitmaps and one description into a skin file,
// lists a skin file and unpacks it into a folder. The command line is in RunSkinKit; the pieces
// below are what it is made of, for tests and for build steps that pack skins.
#include <filesystem>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "skin/data/SkinReader.h"
#include "skin/kit/SkinPack.h"

namespace qlt::skinkit {

// A name the kit packs and unpacks: printable ASCII, no folder parts, not "." or "..".
bool IsSafeEntryName(std::string_view name);

struct CheckResult {
  std::vector<std::string> errors;    // the skin would not load or would be refused
  std::vector<std::string> warnings;  // it loads, but probably not as its author meant
};

// What is wrong with a set of entries before they are packed: names, the one description,
// bitmaps the skin layer cannot read, images the description names that are not there.
CheckResult CheckSkinEntries(const std::vector<SkinEntry>& entries);

// The entries of a folder: the files named, in that order, or else every .bmp and .ini file of the
// folder, sorted by name. False with `error` set when a file cannot be read.
bool ReadSkinFolder(const std::filesystem::path& folder, const std::vector<std::string>& names,
                    std::vector<SkinEntry>& entries, std::string& error);

// One line per entry: size, name, and the picture size of a bitmap or the line count of the
// description.
std::string DescribeSkin(const TSkinReader& reader, std::size_t packedSize);

// Paths given on the command line are UTF-8 on every system.
std::filesystem::path PathFromUtf8(std::string_view text);
std::string PathToUtf8(const std::filesystem::path& path);

bool ReadFileBytes(const std::filesystem::path& path, Bytes& bytes, std::string& error);
bool WriteFileBytes(const std::filesystem::path& path, ByteView bytes, std::string& error);

// The command line: "pack FOLDER SKINFILE [NAMES...]", "list SKINFILE", "unpack SKINFILE FOLDER".
// Returns the exit code: 0 done, 1 failed, 2 wrong usage.
int RunSkinKit(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace qlt::skinkit
