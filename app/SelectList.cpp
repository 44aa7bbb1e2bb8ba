#include "app/SelectList.h"

#include "ui/SysUtils.h"

namespace qlt {

std::vector<std::string> SplitLines(std::string_view bytes) {
  std::vector<std::string> lines;
  size_t start = 0;
  size_t i = 0;
  while (i < bytes.size()) {
    const char c = bytes[i];
    if (c == '\r' || c == '\n') {
      lines.emplace_back(bytes.substr(start, i - start));
      i += (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ? 2 : 1;
      start = i;
    } else {
      ++i;
    }
  }
  if (start < bytes.size()) lines.emplace_back(bytes.substr(start));
  return lines;
}

SelectList SelectList::FromFileBytes(std::string_view bytes, const TextCodec& codec) {
  SelectList list;
  for (auto& line : SplitLines(bytes)) {
    std::u16string name = codec.Decode(line);
    list.entries_.push_back({std::move(name), std::move(line)});
  }
  return list;
}

std::string SelectList::ToFileBytes() const {
  std::string out;
  for (const auto& entry : entries_) {
    out += entry.stored;
    out += "\r\n";
  }
  return out;
}

std::vector<std::u16string> SelectList::Names() const {
  std::vector<std::u16string> names;
  names.reserve(entries_.size());
  for (const auto& entry : entries_) names.push_back(entry.name);
  return names;
}

bool SelectList::ContainsIgnoringCase(std::u16string_view name) const {
  for (const auto& entry : entries_) {
    if (SameText(entry.name, name)) return true;
  }
  return false;
}

void SelectList::Append(std::u16string name, const TextCodec& codec) {
  std::string stored = codec.Encode(name);
  entries_.push_back({std::move(name), std::move(stored)});
}

void SelectList::Delete(size_t index) {
  if (index < entries_.size()) entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(index));
}

std::optional<std::u16string> NameToAdd(const std::vector<std::u16string>& processRows, int selectedIndex,
                                        const SelectList& chosen) {
  // The first row is never added: it is the snapshot's system idle entry.
  if (processRows.empty() || selectedIndex <= 0 || static_cast<size_t>(selectedIndex) >= processRows.size()) {
    return std::nullopt;
  }
  const std::u16string& name = processRows[static_cast<size_t>(selectedIndex)];
  if (chosen.ContainsIgnoringCase(name)) return std::nullopt;
  return name;
}

bool AddChosenProcess(SelectList& chosen, const std::vector<std::u16string>& processRows, int selectedIndex,
                      const TextCodec& codec) {
  auto name = NameToAdd(processRows, selectedIndex, chosen);
  if (!name) return false;
  chosen.Append(std::move(*name), codec);
  return true;
}

bool RemoveChosen(SelectList& chosen, int selectedIndex) {
  if (chosen.Empty() || selectedIndex < 0 || static_cast<size_t>(selectedIndex) >= chosen.Count()) return false;
  chosen.Delete(static_cast<size_t>(selectedIndex));
  return true;
}

}  // namespace qlt
