#pragma once
// The portable half of the hide/show engine: which windows one hide acts on, what is remembered
// of each, and the journal kept beside the executable while anything is hidden.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace qlt {

using WindowId = std::uintptr_t;

struct ProcessInfo {
  std::uint32_t pid = 0;
  std::u16string exeName;
};

struct WindowInfo {
  WindowId window = 0;
  std::uint32_t pid = 0;
  bool visible = false;
};

// The processes whose executable name contains one of the names (ASCII letters without regard to
// case); only their windows need a closer look.
std::unordered_set<std::uint32_t> MatchingProcessIds(const std::vector<std::u16string>& names,
                                                     const std::vector<ProcessInfo>& processes);

// The windows one hide acts on: for each name in list order, each process of the snapshot (in
// snapshot order) whose executable name contains the name (ASCII letters without regard to case),
// each visible window of that process in enumeration order. A window is taken once, at its first
// occurrence, even when several names match its program.
std::vector<WindowInfo> PlanHide(const std::vector<std::u16string>& names, const std::vector<ProcessInfo>& processes,
                                 const std::vector<WindowInfo>& windows);

// What a hide did to a window; a restore undoes exactly that.
enum class WindowAction { Hidden, CloseRequested, MadeTranslucent };

struct HiddenWindow {
  WindowId window = 0;
  std::uint32_t pid = 0;  // the owner at the hide; a journal entry is replayed only while it still owns it
  WindowAction action = WindowAction::Hidden;
  bool layeredAdded = false;  // the hide added WS_EX_LAYERED; the restore removes it again
  bool operator==(const HiddenWindow&) const = default;
};

struct HideRecord {
  std::vector<HiddenWindow> windows;
  bool trayHidden = false;
  bool muted = false;
  bool Empty() const { return windows.empty() && !trayHidden && !muted; }
  bool operator==(const HideRecord&) const = default;
};

// Journal text: a header line, then "tray 1", "muted 1" and one "window <id> <pid> <action>
// <layered added>" line per window. Parsing skips lines it does not understand; a text without
// the header gives an empty record.
std::string FormatJournal(const HideRecord& record);
HideRecord ParseJournal(std::string_view text);

}  // namespace qlt
