#include "app/HideZVQ.h"

#include <atomic>
#include <optional>
#include <unordered_set>
#include <utility>

#include "app/FileAccess.h"
#include "app/ProcessList.h"
#include "app/TrayArea.h"
#include "app/WinText.h"

namespace qlt {
namespace {

HWND ToHwnd(WindowId id) { return reinterpret_cast<HWND>(id); }
WindowId ToId(HWND window) { return reinterpret_cast<WindowId>(window); }

struct Enumeration {
  std::vector<WindowInfo> windows;
  const std::unordered_set<std::uint32_t>* visibilityOf;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM param) noexcept {
  auto* enumeration = reinterpret_cast<Enumeration*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  bool visible = false;
  if (!enumeration->visibilityOf || enumeration->visibilityOf->count(pid)) {
    // A top-level window's parent is the desktop, so its own style says whether it is visible.
    visible = (GetWindowLongW(window, GWL_STYLE) & WS_VISIBLE) != 0;
  }
  try {
    enumeration->windows.push_back({ToId(window), pid, visible});
  } catch (...) {
    return FALSE;
  }
  return TRUE;
}

void ShowAll(const std::vector<HWND>& windows, int command) {
  for (HWND window : windows) ShowWindowAsync(window, command);
}

void MakeTranslucent(HWND window, BYTE alpha, bool addLayered) {
  if (addLayered) SetWindowLongW(window, GWL_EXSTYLE, GetWindowLongW(window, GWL_EXSTYLE) | WS_EX_LAYERED);
  SetLayeredWindowAttributes(window, 0, alpha, LWA_ALPHA);
}

void MakeOpaque(HWND window, bool removeLayered) {
  SetLayeredWindowAttributes(window, 0, 255, LWA_ALPHA);
  if (removeLayered) SetWindowLongW(window, GWL_EXSTYLE, GetWindowLongW(window, GWL_EXSTYLE) & ~WS_EX_LAYERED);
}

}  // namespace

std::wstring DefaultJournalPath() { return FileBesideExecutable(L"QLT.journal"); }

std::vector<WindowInfo> EnumerateTopLevelWindows(const std::unordered_set<std::uint32_t>* visibilityOf) {
  Enumeration enumeration{{}, visibilityOf};
  enumeration.windows.reserve(1024);
  EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&enumeration));
  return std::move(enumeration.windows);
}

HideZVQ::HideZVQ(std::wstring journalPath, HideSeams seams)
    : journal_(std::make_shared<Journal>()), seams_(std::move(seams)) {
  journal_->path = std::move(journalPath);
  if (!seams_.findTray) seams_.findTray = FindTrayNotifyWnd;
}

std::vector<HiddenWindow> HideZVQ::PlanNewWindows(const std::vector<std::u16string>& names, HideMode mode) const {
  std::vector<HiddenWindow> planned;
  if (names.empty()) return planned;
  std::unordered_set<WindowId> remembered;
  for (const auto& w : record_.windows) remembered.insert(w.window);
  const auto processes = ToolhelpSnapshot().Processes();
  const auto candidates = MatchingProcessIds(names, processes);
  if (candidates.empty()) return planned;
  const auto windows = EnumerateTopLevelWindows(&candidates);
  for (const auto& window : PlanHide(names, processes, windows)) {
    if (remembered.count(window.window)) continue;
    HiddenWindow hidden{window.window, window.pid, WindowAction::Hidden, false};
    if (mode == HideMode::Close) {
      hidden.action = WindowAction::CloseRequested;
    } else if (mode == HideMode::Translucent) {
      hidden.action = WindowAction::MadeTranslucent;
      hidden.layeredAdded = !(GetWindowLongW(ToHwnd(window.window), GWL_EXSTYLE) & WS_EX_LAYERED);
    }
    planned.push_back(hidden);
  }
  return planned;
}

void HideZVQ::Act(const std::vector<HiddenWindow>& windows, int alpha) {
  const BYTE byteAlpha = static_cast<BYTE>(alpha < 0 ? 0 : (alpha > 255 ? 255 : alpha));
  std::vector<HWND> toHide, toClose;
  std::vector<std::pair<HWND, bool>> toFade;
  for (const auto& w : windows) {
    const HWND window = ToHwnd(w.window);
    switch (w.action) {
      case WindowAction::Hidden: toHide.push_back(window); break;
      case WindowAction::CloseRequested: toClose.push_back(window); break;
      case WindowAction::MadeTranslucent: toFade.emplace_back(window, w.layeredAdded); break;
    }
  }
  if (!toHide.empty() || !toClose.empty()) {
    posts_.Post([toHide = std::move(toHide), toClose = std::move(toClose)] {
      ShowAll(toHide, SW_HIDE);
      for (HWND window : toClose) PostMessageW(window, WM_CLOSE, 0, 0);
    });
  }
  for (const auto& [window, add] : toFade) {
    styleCalls_.Post([window = window, byteAlpha, add = add] { MakeTranslucent(window, byteAlpha, add); });
  }
}

size_t HideZVQ::Undo(const std::vector<HiddenWindow>& windows) {
  std::vector<HWND> toShow;
  size_t restored = 0;
  for (const auto& w : windows) {
    const HWND window = ToHwnd(w.window);
    switch (w.action) {
      case WindowAction::Hidden:
        toShow.push_back(window);
        ++restored;
        break;
      case WindowAction::MadeTranslucent:
        styleCalls_.Post([window, remove = w.layeredAdded] { MakeOpaque(window, remove); });
        ++restored;
        break;
      case WindowAction::CloseRequested:
        break;  // its program was asked to close it; nothing to undo
    }
  }
  // A window that has gone meanwhile makes its call fail, which is all it needs.
  if (!toShow.empty()) posts_.Post([toShow = std::move(toShow)] { ShowAll(toShow, SW_SHOW); });
  return restored;
}

bool HideZVQ::WaitForWindowCalls(DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  if (!posts_.WaitIdle(timeoutMs)) return false;
  const DWORD spent = GetTickCount() - start;
  return styleCalls_.WaitIdle(spent < timeoutMs ? timeoutMs - spent : 0);
}

void HideZVQ::ShowTray(bool show) const {
  if (HWND tray = seams_.findTray()) ShowWindowAsync(tray, show ? SW_SHOW : SW_HIDE);
}

size_t HideZVQ::HideAll(const std::vector<std::u16string>& names, HideMode mode, int alpha) {
  auto planned = PlanNewWindows(names, mode);
  if (planned.empty()) return 0;
  record_.windows.insert(record_.windows.end(), planned.begin(), planned.end());
  SaveJournal();  // before anything is touched: a crash halfway still finds every window
  Act(planned, alpha);
  return planned.size();
}

size_t HideZVQ::RestoreWindows() {
  const size_t restored = Undo(record_.windows);
  record_.windows.clear();
  if (record_.Empty()) {
    RemoveJournalWhenDone();
  } else {
    SaveJournal();
  }
  return restored;
}

void HideZVQ::ToggleHidden(const std::vector<std::u16string>& names, const HideOptions& options, HWND mainWindow) {
  if (!hidden_) {
    hidden_ = true;
    const bool hideTray = options.hideTray && seams_.findTray() != nullptr;
    const bool mute = options.mute && seams_.setMute != nullptr;
    auto planned = PlanNewWindows(names, options.mode);
    record_.trayHidden = record_.trayHidden || hideTray;
    record_.muted = record_.muted || mute;
    record_.windows.insert(record_.windows.end(), planned.begin(), planned.end());
    if (!record_.Empty()) SaveJournal();
    if (hideTray) ShowTray(false);
    Act(planned, options.alpha);
    if (mute) seams_.setMute(true);
    return;
  }
  hidden_ = false;
  const HideRecord done = std::move(record_);
  record_ = {};
  if (done.trayHidden) ShowTray(true);
  Undo(done.windows);
  if (mainWindow) SetForegroundWindow(mainWindow);
  if (done.muted && seams_.setMute) seams_.setMute(false);
  RemoveJournalWhenDone();
}

size_t HideZVQ::ReplayJournal() {
  // A journal names at most a few thousand windows; anything far larger is not one.
  const WholeFile file = ReadWholeFile(journal_->path, 8u << 20);
  if (file.Missing()) return 0;
  const HideRecord left = ParseJournal(file.bytes);
  std::vector<HiddenWindow> stillThere;
  for (const auto& w : left.windows) {
    DWORD pid = 0;
    if (IsWindow(ToHwnd(w.window)) && GetWindowThreadProcessId(ToHwnd(w.window), &pid) && pid == w.pid) {
      stillThere.push_back(w);
    }
  }
  if (left.trayHidden) ShowTray(true);
  const size_t restored = Undo(stillThere);
  if (left.muted && seams_.setMute) seams_.setMute(false);
  RemoveJournalWhenDone();
  return restored;
}

void HideZVQ::SaveJournal() {
  std::optional<std::wstring> error;
  {
    std::lock_guard lock(journal_->mutex);
    ++journal_->generation;
    error = ReplaceFileContents(journal_->path, FormatJournal(record_));
  }
  if (!error) {
    journalFailureTold_ = false;
  } else if (!std::exchange(journalFailureTold_, true) && seams_.journalNotWritten) {
    seams_.journalNotWritten(*error);
  }
}

void HideZVQ::RemoveJournalWhenDone() {
  unsigned generation;
  {
    std::lock_guard lock(journal_->mutex);
    generation = journal_->generation;
  }
  // Both workers must have reached this point; the second one to get there removes the journal.
  auto workersLeft = std::make_shared<std::atomic<int>>(2);
  auto removeWhenLast = [journal = journal_, generation, workersLeft] {
    if (--*workersLeft != 0) return;
    RetryWhileInUse([&]() -> DWORD {
      std::lock_guard lock(journal->mutex);
      if (journal->generation != generation || DeleteFileW(journal->path.c_str())) return ERROR_SUCCESS;
      const DWORD error = GetLastError();
      return error == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : error;
    });
  };
  posts_.Post(removeWhenLast);
  styleCalls_.Post(removeWhenLast);
}

}  // namespace qlt
