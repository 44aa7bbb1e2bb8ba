#include "app/HidePlan.h"

#include <charconv>
#include <sstream>
#include <unordered_map>

#include "app/TextRules.h"

namespace qlt {
namespace {

constexpr std::string_view kJournalHeader = "QLT hidden windows 1";

const char* ActionWord(WindowAction action) {
  switch (action) {
    case WindowAction::Hidden: return "hide";
    case WindowAction::CloseRequested: return "close";
    case WindowAction::MadeTranslucent: break;
  }
  return "alpha";
}

std::optional<WindowAction> ActionFromWord(std::string_view word) {
  if (word == "hide") return WindowAction::Hidden;
  if (word == "close") return WindowAction::CloseRequested;
  if (word == "alpha") return WindowAction::MadeTranslucent;
  return std::nullopt;
}

template <typename T>
std::optional<T> Number(std::string_view word) {
  T value{};
  const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
  if (error != std::errc() || end != word.data() + word.size()) return std::nullopt;
  return value;
}

std::vector<std::string_view> Words(std::string_view line) {
  std::vector<std::string_view> words;
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && line[i] == ' ') ++i;
    const size_t start = i;
    while (i < line.size() && line[i] != ' ') ++i;
    if (i > start) words.push_back(line.substr(start, i - start));
  }
  return words;
}

}  // namespace

std::unordered_set<std::uint32_t> MatchingProcessIds(const std::vector<std::u16string>& names,
                                                     const std::vector<ProcessInfo>& processes) {
  std::unordered_set<std::uint32_t> pids;
  for (const auto& process : processes) {
    for (const auto& name : names) {
      if (ContainsIgnoringAsciiCase(process.exeName, name)) {
        pids.insert(process.pid);
        break;
      }
    }
  }
  return pids;
}

std::vector<WindowInfo> PlanHide(const std::vector<std::u16string>& names, const std::vector<ProcessInfo>& processes,
                                 const std::vector<WindowInfo>& windows) {
  // One pass over the enumeration groups the visible windows by process, keeping their order.
  std::unordered_map<std::uint32_t, std::vector<const WindowInfo*>> byProcess;
  for (const auto& window : windows) {
    if (window.visible) byProcess[window.pid].push_back(&window);
  }
  std::vector<std::u16string> upperExe;
  upperExe.reserve(processes.size());
  for (const auto& process : processes) upperExe.push_back(AsciiUpper(process.exeName));

  std::vector<WindowInfo> plan;
  std::unordered_set<WindowId> taken;
  for (const auto& name : names) {
    const std::u16string upperName = AsciiUpper(name);
    if (upperName.empty()) continue;
    for (size_t p = 0; p < processes.size(); ++p) {
      if (upperExe[p].find(upperName) == std::u16string::npos) continue;
      const auto found = byProcess.find(processes[p].pid);
      if (found == byProcess.end()) continue;
      for (const WindowInfo* window : found->second) {
        if (taken.insert(window->window).second) plan.push_back(*window);
      }
    }
  }
  return plan;
}

std::string FormatJournal(const HideRecord& record) {
  std::ostringstream out;
  out << kJournalHeader << "\r\n";
  if (record.trayHidden) out << "tray 1\r\n";
  if (record.muted) out << "muted 1\r\n";
  for (const auto& w : record.windows) {
    out << "window " << w.window << ' ' << w.pid << ' ' << ActionWord(w.action) << ' ' << (w.layeredAdded ? 1 : 0)
        << "\r\n";
  }
  return out.str();
}

HideRecord ParseJournal(std::string_view text) {
  HideRecord record;
  bool headerSeen = false;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = text.size();
    const auto words = Words(text.substr(start, end - start));
    start = end + 1;
    if (words.empty()) continue;
    if (!headerSeen) {
      if (text.substr(0, kJournalHeader.size()) != kJournalHeader) return {};
      headerSeen = true;
      continue;
    }
    if (words.size() == 2 && words[0] == "tray") {
      record.trayHidden = words[1] == "1";
    } else if (words.size() == 2 && words[0] == "muted") {
      record.muted = words[1] == "1";
    } else if (words.size() == 5 && words[0] == "window") {
      const auto window = Number<WindowId>(words[1]);
      const auto pid = Number<std::uint32_t>(words[2]);
      const auto action = ActionFromWord(words[3]);
      if (window && *window != 0 && pid && action && (words[4] == "0" || words[4] == "1")) {
        record.windows.push_back({*window, *pid, *action, words[4] == "1"});
      }
    }
  }
  return record;
}

}  // namespace qlt
