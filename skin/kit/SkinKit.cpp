#include "skin/kit/SkinKit.h"

#include <algorithm>
#include <fstream>
#include <ostream>
#include <set>
#include <sstream>

#include "skin/data/BmpCodec.h"
#include "skin/data/QuickIni.h"
#include "skin/data/SkinText.h"
#include "ui/SysUtils.h"

namespace qlt::skinkit {
namespace {

namespace fs = std::filesystem;

constexpr const char* kUsage =
    "usage:\n"
    "  skinkit pack FOLDER SKINFILE [NAME...]   pack the named files of FOLDER, in that order, or\n"
    "                                           every .bmp and .ini file of FOLDER sorted by name\n"
    "  skinkit list SKINFILE                    show the entries of a skin file\n"
    "  skinkit unpack SKINFILE FOLDER           write every entry of a skin file into FOLDER\n";

bool EndsWith(std::string_view text, std::string_view tail) {
  return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

bool IsDescriptionName(std::string_view name) { return AsciiLower(name).find(".ini") != std::string::npos; }
bool IsBitmapName(std::string_view name) { return EndsWith(AsciiLower(name), ".bmp"); }

// The file-name part of an image value, as the skin objects look it up: the text after the last
// "\" or ":" (a folder part in the value is ignored).
std::string_view ImageFileName(std::string_view value) {
  const std::size_t cut = value.find_last_of("\\:");
  return cut == std::string_view::npos ? value : value.substr(cut + 1);
}

void CheckDescription(const SkinEntry& description, const std::vector<SkinEntry>& entries, CheckResult& result) {
  TQuickIni ini;
  ini.LoadFromStream(description.data);
  if (ini.Sections().empty()) result.warnings.push_back(description.name + " has no [section]");
  std::set<std::string> reported;
  for (const std::string& line : ini.Lines()) {
    const std::size_t eq = line.find('=');
    if (eq == std::string::npos) continue;
    const std::string_view file = ImageFileName(TrimBlanks(std::string_view(line).substr(eq + 1)));
    if (!IsBitmapName(file) || !reported.insert(std::string(file)).second) continue;
    if (!EndsWith(file, ".bmp")) {
      result.warnings.push_back("\"" + line + "\": the extension must be written \".bmp\" or the image stays empty");
      continue;
    }
    const bool present = std::any_of(entries.begin(), entries.end(),
                                     [&](const SkinEntry& e) { return SameText(e.name, file); });
    if (!present) result.warnings.push_back("\"" + line + "\": no entry " + std::string(file) + " in the skin");
  }
}

int Pack(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const fs::path folder = PathFromUtf8(args[1]);
  const fs::path skinFile = PathFromUtf8(args[2]);
  const std::vector<std::string> names(args.begin() + 3, args.end());
  std::vector<SkinEntry> entries;
  std::string error;
  if (!ReadSkinFolder(folder, names, entries, error)) {
    err << "skinkit: " << error << "\n";
    return 1;
  }
  const CheckResult check = CheckSkinEntries(entries);
  for (const std::string& w : check.warnings) err << "warning: " << w << "\n";
  for (const std::string& e : check.errors) err << "error: " << e << "\n";
  if (!check.errors.empty()) {
    err << "skinkit: nothing written\n";
    return 1;
  }
  const Bytes container = BuildSkinContainer(entries);
  if (container.size() > TSkinReader::kMaxUnpackedSize) {
    err << "skinkit: the skin would unpack to " << container.size() << " bytes; a skin may have at most "
        << TSkinReader::kMaxUnpackedSize << "\n";
    return 1;
  }
  const Bytes packed = PackSkinContainer(container);
  // Read the result back as QLT will, before anything is written.
  TSkinReader reader;
  if (!reader.LoadPacked(packed) || reader.Container() != container) {
    err << "skinkit: the packed skin does not read back (" << reader.Problem() << "); nothing written\n";
    return 1;
  }
  if (!WriteFileBytes(skinFile, packed, error)) {
    err << "skinkit: " << error << "\n";
    return 1;
  }
  out << "packed " << entries.size() << " entries, " << container.size() << " bytes, into "
      << PathToUtf8(skinFile) << " (" << packed.size() << " bytes)\n";
  return 0;
}

bool LoadSkinFile(const std::string& arg, TSkinReader& reader, std::size_t& packedSize, std::ostream& err) {
  Bytes packed;
  std::string error;
  if (!ReadFileBytes(PathFromUtf8(arg), packed, error)) {
    err << "skinkit: " << error << "\n";
    return false;
  }
  packedSize = packed.size();
  if (!reader.LoadPacked(packed)) {
    err << "skinkit: " << arg << ": " << (reader.Result() == SkinLoadResult::OldFormat ? "old skin format" : "damaged")
        << ": " << reader.Problem() << "\n";
    return false;
  }
  if (reader.BytesMissing() > 0) {
    err << "warning: the packed data ends " << reader.BytesMissing()
        << " bytes early (a cut-off file?); the missing bits were read as zeros\n";
  }
  return true;
}

int List(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  TSkinReader reader;
  std::size_t packedSize = 0;
  if (!LoadSkinFile(args[1], reader, packedSize, err)) return 1;
  out << DescribeSkin(reader, packedSize);
  return 0;
}

int Unpack(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  TSkinReader reader;
  std::size_t packedSize = 0;
  if (!LoadSkinFile(args[1], reader, packedSize, err)) return 1;
  const fs::path folder = PathFromUtf8(args[2]);
  std::error_code ec;
  fs::create_directories(folder, ec);
  if (ec) {
    err << "skinkit: cannot create " << args[2] << ": " << ec.message() << "\n";
    return 1;
  }
  std::set<std::string> written;
  int failures = 0;
  for (int i = 0; i < reader.Count(); ++i) {
    const std::string& name = reader.Names()[static_cast<std::size_t>(i)];
    if (!IsSafeEntryName(name)) {
      err << "warning: entry \"" << name << "\" skipped: not a plain file name\n";
      continue;
    }
    if (!written.insert(name).second) {
      err << "warning: entry " << name << " skipped: the first entry of that name is the one QLT uses\n";
      continue;
    }
    std::string error;
    if (!WriteFileBytes(folder / PathFromUtf8(name), reader.EntryAt(i), error)) {
      err << "skinkit: " << error << "\n";
      ++failures;
    }
  }
  out << "unpacked " << written.size() - static_cast<std::size_t>(failures) << " entries into " << args[2] << "\n";
  return failures == 0 ? 0 : 1;
}

}  // namespace

bool IsSafeEntryName(std::string_view name) {
  if (name.empty() || name == "." || name == ".." || name.front() == ' ' || name.back() == ' ') return false;
  return std::all_of(name.begin(), name.end(), [](char c) {
    return c >= ' ' && c < 127 && c != '/' && c != '\\' && c != ':' && c != '*' && c != '?' && c != '"' &&
           c != '<' && c != '>' && c != '|';
  });
}

CheckResult CheckSkinEntries(const std::vector<SkinEntry>& entries) {
  CheckResult result;
  if (entries.size() > TSkinReader::kMaxEntries) {
    result.errors.push_back(std::to_string(entries.size()) + " entries; a skin may have at most " +
                            std::to_string(TSkinReader::kMaxEntries));
  }
  std::set<std::string> seen;
  const SkinEntry* description = nullptr;
  int descriptions = 0;
  for (const SkinEntry& e : entries) {
    if (!IsSafeEntryName(e.name)) {
      result.errors.push_back("\"" + e.name + "\": an entry name must be a plain ASCII file name");
      continue;
    }
    if (!seen.insert(AsciiLower(e.name)).second) {
      result.errors.push_back(e.name + ": two entries of that name (letter case does not count)");
    }
    if (IsDescriptionName(e.name)) {
      ++descriptions;
      if (!EndsWith(AsciiLower(e.name), ".ini")) {
        result.errors.push_back(e.name + ": only the description's name may contain \".ini\"");
      } else if (!description) {
        description = &e;
      }
    } else if (IsBitmapName(e.name)) {
      std::string problem;
      if (!e.data.empty() && !DecodeBmp(e.data, &problem)) {
        result.errors.push_back(e.name + ": not a bitmap QLT can read: " + problem);
      }
    } else {
      result.errors.push_back(e.name + ": a skin holds only .bmp bitmaps and one .ini description");
    }
  }
  if (descriptions == 0) result.errors.push_back("no description (.ini) among the entries");
  if (descriptions > 1) result.errors.push_back("more than one description (.ini); QLT would read only the first");
  if (description) CheckDescription(*description, entries, result);
  return result;
}

bool ReadSkinFolder(const fs::path& folder, const std::vector<std::string>& names, std::vector<SkinEntry>& entries,
                    std::string& error) {
  std::vector<std::string> files = names;
  if (files.empty()) {
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
      if (!it->is_regular_file()) continue;
      const std::string name = PathToUtf8(it->path().filename());
      if (IsBitmapName(name) || EndsWith(AsciiLower(name), ".ini")) files.push_back(name);
    }
    if (ec) {
      error = "cannot read the folder " + PathToUtf8(folder) + ": " + ec.message();
      return false;
    }
    std::sort(files.begin(), files.end(),
              [](const std::string& a, const std::string& b) { return AsciiLower(a) < AsciiLower(b); });
    if (files.empty()) {
      error = "no .bmp or .ini files in " + PathToUtf8(folder);
      return false;
    }
  }
  entries.clear();
  for (const std::string& name : files) {
    SkinEntry entry{name, {}};
    if (!ReadFileBytes(folder / PathFromUtf8(name), entry.data, error)) return false;
    entries.push_back(std::move(entry));
  }
  return true;
}

std::string DescribeSkin(const TSkinReader& reader, std::size_t packedSize) {
  std::ostringstream s;
  s << "format " << kSkinFormatNumber << ", " << reader.Count() << " entries, " << reader.Container().size()
    << " bytes unpacked from " << packedSize << "\n";
  for (int i = 0; i < reader.Count(); ++i) {
    const std::string& name = reader.Names()[static_cast<std::size_t>(i)];
    const ByteView data = reader.EntryAt(i);
    s << "  " << data.size() << "\t" << name;
    if (IsDescriptionName(name)) {
      TQuickIni ini;
      ini.LoadFromStream(data);
      s << "\tdescription, " << ini.Lines().size() << " lines, " << ini.Sections().size() << " sections";
    } else if (!data.empty()) {
      std::string problem;
      if (const auto header = ReadBmpHeader(data, &problem)) {
        s << "\t" << header->width << " x " << header->height << ", " << header->bitsPerPixel << " bits"
          << (header->topDown ? ", top-down" : "");
      } else {
        s << "\tunreadable: " << problem;
      }
    }
    s << "\n";
  }
  return s.str();
}

fs::path PathFromUtf8(std::string_view text) { return fs::path(std::u8string(text.begin(), text.end())); }

std::string PathToUtf8(const fs::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

bool ReadFileBytes(const fs::path& path, Bytes& bytes, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = "cannot open " + PathToUtf8(path);
    return false;
  }
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (in.bad()) {
    error = "cannot read " + PathToUtf8(path);
    return false;
  }
  return true;
}

bool WriteFileBytes(const fs::path& path, ByteView bytes, std::string& error) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) {
    error = "cannot write " + PathToUtf8(path);
    return false;
  }
  return true;
}

int RunSkinKit(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const std::string command = args.empty() ? "" : args[0];
  if (command == "pack" && args.size() >= 3) return Pack(args, out, err);
  if (command == "list" && args.size() == 2) return List(args, out, err);
  if (command == "unpack" && args.size() == 3) return Unpack(args, out, err);
  err << kUsage;
  return 2;
}

}  // namespace qlt::skinkit
