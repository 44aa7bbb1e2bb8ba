#pragma once
// The hide/show engine. One hide takes one process snapshot and one enumeration of the top-level
// windows, whatever the number of chosen names, and acts on every visible window of the chosen
// programs: hidden, asked to close (a posted request), or made translucent. Each window remembers
// what was done to it, and a restore undoes exactly that, whatever mode is selected by then.
// Other programs' windows are never waited on: hiding, showing and close requests are posted (from
// a worker, so QLT's window is free again as soon as the windows are chosen), and style changes,
// which wait for the target, run on a second worker. While anything is hidden, a journal beside
// the executable names it, so a QLT that was killed brings the windows back at its next start.
#include <windows.h>

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_set>
#include <vector>

#include "app/AsyncWindowCalls.h"
#include "app/FormSettings.h"
#include "app/HidePlan.h"

namespace qlt {

struct HideOptions {
  HideMode mode = HideMode::Hide;
  int alpha = 200;        // of the translucent mode, 1 to 255
  bool hideTray = false;  // Chk_TP
  bool mute = false;      // Chk_Volume
};

struct HideSeams {
  std::function<HWND()> findTray;           // the notification area; default FindTrayNotifyWnd
  std::function<void(bool mute)> setMute;   // the speakers; none: they are left alone
  // Told when the journal cannot be written (the error text): a crash would then lose the hidden
  // windows. Told once, and again only after a save has worked in between.
  std::function<void(const std::wstring& error)> journalNotWritten = nullptr;
};

std::wstring DefaultJournalPath();  // "QLT.journal" beside the executable

// Every top-level window in enumeration order with its process. Visibility is looked up only for
// the windows of the given processes (each lookup is a round trip to the window server).
std::vector<WindowInfo> EnumerateTopLevelWindows(const std::unordered_set<std::uint32_t>* visibilityOf = nullptr);

class HideZVQ {
 public:
  explicit HideZVQ(std::wstring journalPath = DefaultJournalPath(), HideSeams seams = {});
  // Leaves hidden windows hidden (the journal keeps them): the exit sequence toggles back first.
  // Waits a short while for the posted calls, so a restore just made reaches its windows.
  ~HideZVQ() = default;
  HideZVQ(const HideZVQ&) = delete;
  HideZVQ& operator=(const HideZVQ&) = delete;

  // The toggle: the first call hides (notification area, windows, speakers, as the options say),
  // the next restores exactly what that hide did.
  void ToggleHidden(const std::vector<std::u16string>& names, const HideOptions& options, HWND mainWindow);
  bool Hidden() const { return hidden_; }  // HiddenFlag

  // The hide step alone (Btn_HideClick): acts on the chosen programs' windows; windows already
  // remembered stay remembered. Returns the number of windows acted on.
  size_t HideAll(const std::vector<std::u16string>& names, HideMode mode, int alpha);
  // The restore step alone (Btn_ShowClick). Returns the number of windows brought back.
  size_t RestoreWindows();

  // At start: brings back what a journal of an earlier run names and still exists (the same
  // window of the same process), shows the notification area and unmutes as it says, and
  // removes it. Returns the number of windows brought back.
  size_t ReplayJournal();

  const HideRecord& Record() const { return record_; }
  const std::wstring& JournalPath() const { return journal_->path; }
  // For tests and the exit: true when the posted window calls have all been made.
  bool WaitForWindowCalls(DWORD timeoutMs);

 private:
  std::vector<HiddenWindow> PlanNewWindows(const std::vector<std::u16string>& names, HideMode mode) const;
  void Act(const std::vector<HiddenWindow>& windows, int alpha);
  size_t Undo(const std::vector<HiddenWindow>& windows);
  void ShowTray(bool show) const;
  void SaveJournal();
  // Once the restoring calls queued so far have been made: a QLT that dies before that still
  // finds the journal at its next start.
  void RemoveJournalWhenDone();

  // Shared with the workers, which may outlive this object when a call is stuck.
  struct Journal {
    std::wstring path;
    std::mutex mutex;
    unsigned generation = 0;  // counts the saves; a removal queued before a later save is dropped
  };
  std::shared_ptr<Journal> journal_;
  HideSeams seams_;
  AsyncWindowCalls posts_;        // ShowWindowAsync and WM_CLOSE: never wait
  AsyncWindowCalls styleCalls_;   // layered style and alpha: may wait for a hung program
  HideRecord record_;
  bool hidden_ = false;
  bool journalFailureTold_ = false;
};

}  // namespace qlt
