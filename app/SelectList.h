#pragma once
// The selection list: the executable names whose windows the toggle acts on, in order of addition,
// kept in "data.txt" one name per line in the system's ANSI code page. Each entry keeps the bytes
// it was stored with, so a file the code page cannot decode is written back exactly as it was read.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qlt {

// Converts between stored bytes and UTF-16 (on Windows: the ANSI code page).
class TextCodec {
 public:
  virtual ~TextCodec() = default;
  virtual std::u16string Decode(std::string_view bytes) const = 0;
  virtual std::string Encode(std::u16string_view text) const = 0;
};

// A line ends at CR, LF or CR LF; every line, an empty one included, is one entry; a final line
// end adds no empty entry.
std::vector<std::string> SplitLines(std::string_view bytes);

class SelectList {
 public:
  static SelectList FromFileBytes(std::string_view bytes, const TextCodec& codec);
  // Every entry followed by CR LF.
  std::string ToFileBytes() const;

  size_t Count() const { return entries_.size(); }
  bool Empty() const { return entries_.empty(); }
  const std::u16string& Name(size_t index) const { return entries_[index].name; }
  std::vector<std::u16string> Names() const;

  // The list box's exact-match search: whole names, letter case ignored.
  bool ContainsIgnoringCase(std::u16string_view name) const;

  void Append(std::u16string name, const TextCodec& codec);
  void Delete(size_t index);

 private:
  struct Entry {
    std::u16string name;
    std::string stored;
  };
  std::vector<Entry> entries_;
};

// Double-click on a row of the process list (rows as shown, selectedIndex as the list box gives
// it, -1 for none): the name to add, or nothing. Nothing when the list is empty, no row or the
// first row is selected, or the name is already chosen in any letter case.
std::optional<std::u16string> NameToAdd(const std::vector<std::u16string>& processRows, int selectedIndex,
                                        const SelectList& chosen);

// Lst_ALLPDblClick's rule applied to the list; true when a name was appended (at the end).
bool AddChosenProcess(SelectList& chosen, const std::vector<std::u16string>& processRows, int selectedIndex,
                      const TextCodec& codec);

// Lst_SelectPDblClick's rule; true when the entry at selectedIndex was removed.
bool RemoveChosen(SelectList& chosen, int selectedIndex);

}  // namespace qlt
