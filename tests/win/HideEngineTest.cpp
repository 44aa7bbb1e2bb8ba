// The hide/show engine against real windows: Wine's notepad and winemine started by the test,
// and windows of this test program (one of them on a thread that stops answering).
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>

#include "app/FileAccess.h"
#include "app/HideZVQ.h"
#include "app/ProcessList.h"
#include "tests/win/WinTestSupport.h"
#include "ui/Handles.h"

namespace qlt {
namespace {

using test::AlphaOf;
using test::FileExists;
using test::HideTargets;
using test::Layered;
using test::RunningProgram;
using test::ScratchDir;
using test::Visible;
using test::WaitUntil;
using test::TestWindow;

const std::u16string kThisProgram = u"win_hide_engine_tests";

std::wstring Journal(const ScratchDir& dir) { return dir.File(L"QLT.journal"); }

TEST(HideEngine, HidesEveryWindowOfTheChosenProgramsAndBringsThemBack) {
  ScratchDir dir(L"hide-basic");
  HideTargets programs;
  ASSERT_TRUE(programs.Started());
  const HWND n1 = programs.n1, n2 = programs.n2, m = programs.m;

  const auto processes = ListProcesses();
  for (const DWORD pid : {programs.notepad1.Id(), programs.notepad2.Id()}) {
    EXPECT_EQ(std::count_if(processes.begin(), processes.end(),
                            [&](const ProcessInfo& p) { return p.pid == pid && p.exeName == u"notepad.exe"; }),
              1);
  }

  HideZVQ engine(Journal(dir));
  engine.ToggleHidden({u"NOTE"}, {HideMode::Hide}, nullptr);
  EXPECT_TRUE(engine.Hidden());
  EXPECT_TRUE(WaitUntil([&] { return !Visible(n1) && !Visible(n2); }));
  EXPECT_TRUE(Visible(m));
  EXPECT_TRUE(FileExists(Journal(dir)));
  EXPECT_GE(engine.Record().windows.size(), 2u);

  engine.ToggleHidden({u"NOTE"}, {HideMode::Hide}, nullptr);
  EXPECT_FALSE(engine.Hidden());
  EXPECT_TRUE(WaitUntil([&] { return Visible(n1) && Visible(n2); }));
  ASSERT_TRUE(engine.WaitForWindowCalls(5000));
  EXPECT_FALSE(FileExists(Journal(dir)));
  EXPECT_TRUE(engine.Record().Empty());
}

TEST(HideEngine, TranslucentModeAndRestoreToFullOpacity) {
  ScratchDir dir(L"hide-alpha");
  RunningProgram mine(L"winemine.exe");
  const HWND m = mine.MainWindow();
  ASSERT_TRUE(m);
  ASSERT_FALSE(Layered(m));

  HideZVQ engine(Journal(dir));
  engine.ToggleHidden({u"winemine.exe"}, {HideMode::Translucent, 200}, nullptr);
  ASSERT_TRUE(engine.WaitForWindowCalls(5000));
  EXPECT_TRUE(Layered(m));
  EXPECT_EQ(AlphaOf(m), 200);
  EXPECT_TRUE(Visible(m));

  engine.ToggleHidden({u"winemine.exe"}, {HideMode::Translucent, 200}, nullptr);
  ASSERT_TRUE(engine.WaitForWindowCalls(5000));
  EXPECT_FALSE(Layered(m)) << "the layered style the hide added is removed again";

  // A window that was layered before keeps its style and gets full opacity.
  SetWindowLongW(m, GWL_EXSTYLE, GetWindowLongW(m, GWL_EXSTYLE) | WS_EX_LAYERED);
  SetLayeredWindowAttributes(m, 0, 230, LWA_ALPHA);
  engine.ToggleHidden({u"winemine.exe"}, {HideMode::Translucent, 100}, nullptr);
  ASSERT_TRUE(engine.WaitForWindowCalls(5000));
  EXPECT_EQ(AlphaOf(m), 100);
  engine.ToggleHidden({}, {HideMode::Hide}, nullptr);
  ASSERT_TRUE(engine.WaitForWindowCalls(5000));
  EXPECT_TRUE(Layered(m));
  EXPECT_EQ(AlphaOf(m), 255);
}

TEST(HideEngine, RestoreUndoesWhatWasDoneWhateverModeIsSelectedThen) {
  ScratchDir dir(L"hide-mode-switch");
  RunningProgram notepad(L"notepad.exe");
  const HWND n = notepad.MainWindow();
  ASSERT_TRUE(n);
  HideZVQ engine(Journal(dir));
  engine.ToggleHidden({u"notepad"}, {HideMode::Hide}, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return !Visible(n); }));
  // The user switches to the translucent mode before the restore.
  engine.ToggleHidden({u"notepad"}, {HideMode::Translucent, 50}, nullptr);
  EXPECT_TRUE(WaitUntil([&] { return Visible(n); }));
  ASSERT_TRUE(engine.WaitForWindowCalls(5000));
  EXPECT_FALSE(Layered(n));
}

TEST(HideEngine, InvisibleWindowsAreNotRecordedAndNewWindowsNotTouched) {
  ScratchDir dir(L"hide-invisible");
  TestWindow shown;
  TestWindow hidden(false);
  HideZVQ engine(Journal(dir));
  engine.ToggleHidden({kThisProgram}, {HideMode::Hide}, nullptr);
  ASSERT_TRUE(engine.WaitForWindowCalls(5000));
  EXPECT_TRUE(WaitUntil([&] { return !Visible(shown.Get()); }));
  ASSERT_EQ(engine.Record().windows.size(), 1u);
  EXPECT_EQ(engine.Record().windows[0].window, reinterpret_cast<WindowId>(shown.Get()));

  TestWindow openedWhileHidden;
  ShowWindow(openedWhileHidden.Get(), SW_HIDE);
  engine.ToggleHidden({kThisProgram}, {HideMode::Hide}, nullptr);
  ASSERT_TRUE(engine.WaitForWindowCalls(5000));
  EXPECT_TRUE(WaitUntil([&] { return Visible(shown.Get()); }));
  EXPECT_FALSE(Visible(hidden.Get()));
  EXPECT_FALSE(Visible(openedWhileHidden.Get()));
}

TEST(HideEngine, CloseModeAsksUnmodifiedNotepadToCloseAndRestoreLeavesItAlone) {
  ScratchDir dir(L"hide-close");
  RunningProgram notepad(L"notepad.exe");
  ASSERT_TRUE(notepad.MainWindow());
  HideZVQ engine(Journal(dir));
  engine.ToggleHidden({u"notepad.exe"}, {HideMode::Close}, nullptr);
  EXPECT_TRUE(notepad.WaitForExit());
  ASSERT_FALSE(engine.Record().windows.empty());
  EXPECT_EQ(engine.Record().windows[0].action, WindowAction::CloseRequested);
  engine.ToggleHidden({u"notepad.exe"}, {HideMode::Close}, nullptr);
  EXPECT_FALSE(engine.Hidden());
}

TEST(HideEngine, JournalOfAKilledRunBringsTheWindowsBackAtTheNextStart) {
  ScratchDir dir(L"hide-journal");
  HideTargets programs;
  ASSERT_TRUE(programs.Started());
  const HWND n1 = programs.n1, n2 = programs.n2, m = programs.m;
  TestWindow tray;
  std::vector<bool> muteCalls;
  HideSeams seams{[&] { return tray.Get(); }, [&](bool mute) { muteCalls.push_back(mute); }};
  {
    HideZVQ crashed(Journal(dir), seams);
    crashed.ToggleHidden({u"notepad"}, {HideMode::Hide, 200, true, true}, nullptr);
    crashed.HideAll({u"winemine"}, HideMode::Translucent, 90);
    ASSERT_TRUE(crashed.WaitForWindowCalls(5000));
    ASSERT_TRUE(WaitUntil([&] { return !Visible(n1) && !Visible(n2) && !Visible(tray.Get()); }));
    ASSERT_EQ(AlphaOf(m), 90);
  }  // gone without a restore, as when killed
  ASSERT_TRUE(FileExists(Journal(dir)));
  EXPECT_EQ(muteCalls, std::vector<bool>{true});

  HideZVQ restarted(Journal(dir), seams);
  EXPECT_EQ(restarted.ReplayJournal(), 3u);
  EXPECT_TRUE(WaitUntil([&] { return Visible(n1) && Visible(n2) && Visible(tray.Get()); }));
  ASSERT_TRUE(restarted.WaitForWindowCalls(5000));
  EXPECT_FALSE(Layered(m));
  EXPECT_EQ(muteCalls, (std::vector<bool>{true, false}));
  ASSERT_TRUE(restarted.WaitForWindowCalls(5000));
  EXPECT_FALSE(FileExists(Journal(dir)));
  EXPECT_EQ(restarted.ReplayJournal(), 0u);
}

TEST(HideEngine, JournalWindowNowOwnedByAnotherProcessIsLeftAlone) {
  ScratchDir dir(L"hide-journal-stale");
  TestWindow window;
  ShowWindow(window.Get(), SW_HIDE);
  HideRecord record;
  record.windows = {{reinterpret_cast<WindowId>(window.Get()), GetCurrentProcessId() + 4, WindowAction::Hidden, false}};
  const std::string text = FormatJournal(record);
  ASSERT_TRUE(test::WriteFileBytes(Journal(dir), text));
  HideZVQ engine(Journal(dir));
  EXPECT_EQ(engine.ReplayJournal(), 0u);
  ASSERT_TRUE(engine.WaitForWindowCalls(5000));
  EXPECT_FALSE(Visible(window.Get()));
  EXPECT_FALSE(FileExists(Journal(dir)));
}

TEST(HideEngine, NotificationAreaAndSpeakersAreRestoredByWhatWasDone) {
  ScratchDir dir(L"hide-tray");
  TestWindow tray;
  std::vector<bool> muteCalls;
  HideZVQ engine(Journal(dir), {[&] { return tray.Get(); }, [&](bool mute) { muteCalls.push_back(mute); }});
  engine.ToggleHidden({}, {HideMode::Hide, 200, true, true}, nullptr);
  EXPECT_FALSE(Visible(tray.Get()));
  EXPECT_TRUE(FileExists(Journal(dir)));
  // Both options switched off before the restore: what was hidden and muted still comes back.
  engine.ToggleHidden({}, {HideMode::Hide, 200, false, false}, nullptr);
  EXPECT_TRUE(Visible(tray.Get()));
  EXPECT_EQ(muteCalls, (std::vector<bool>{true, false}));
  ASSERT_TRUE(engine.WaitForWindowCalls(5000));
  EXPECT_FALSE(FileExists(Journal(dir)));

  // Options off at the hide: nothing touched at either press.
  engine.ToggleHidden({}, {HideMode::Hide, 200, false, false}, nullptr);
  engine.ToggleHidden({}, {HideMode::Hide, 200, true, true}, nullptr);
  EXPECT_TRUE(Visible(tray.Get()));
  EXPECT_EQ(muteCalls.size(), 2u);
}

// A window whose thread stops answering messages (as a hung program's does).
class HungWindow {
 public:
  HungWindow() {
    thread_ = std::thread([this] {
      TestWindow window;
      window_ = window.Get();
      SetEvent(ready_.Get());
      // Answers nothing until released; gives up after a while so a failing test still ends.
      outcome_ = WaitForSingleObject(release_.Get(), 20000) == WAIT_OBJECT_0 ? kReleased : kTimedOut;
      test::PumpFor(std::chrono::seconds(2));
    });
    WaitForSingleObject(ready_.Get(), 5000);
  }
  ~HungWindow() {
    Release();
    thread_.join();
  }
  HWND Get() const { return window_; }
  void Release() { SetEvent(release_.Get()); }
  bool ReleasedInTime() {
    Release();
    WaitUntil([&] { return outcome_ != kWaiting; }, std::chrono::seconds(30));
    return outcome_ == kReleased;
  }

 private:
  UniqueKernelHandle release_{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
  UniqueKernelHandle ready_{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
  HWND window_ = nullptr;
  enum { kWaiting, kReleased, kTimedOut };
  std::atomic<int> outcome_{kWaiting};
  std::thread thread_;
};

TEST(HideEngine, AProgramThatDoesNotAnswerCannotFreezeTheToggle) {
  ScratchDir dir(L"hide-hung");
  HungWindow hung;
  ASSERT_TRUE(hung.Get());
  HideZVQ engine(Journal(dir));
  // Each call returns while the window's thread is still not answering.
  engine.ToggleHidden({kThisProgram}, {HideMode::Translucent, 120}, nullptr);
  engine.ToggleHidden({kThisProgram}, {HideMode::Translucent, 120}, nullptr);
  engine.ToggleHidden({kThisProgram}, {HideMode::Hide}, nullptr);
  engine.ToggleHidden({kThisProgram}, {HideMode::Hide}, nullptr);
  EXPECT_FALSE(engine.WaitForWindowCalls(0)) << "the style change is still waiting for the hung window";
  EXPECT_TRUE(FileExists(Journal(dir))) << "kept until the restoring calls have been made";
  EXPECT_TRUE(hung.ReleasedInTime()) << "a toggle waited for the hung window";
  EXPECT_TRUE(engine.WaitForWindowCalls(10000));
  EXPECT_FALSE(FileExists(Journal(dir)));
  EXPECT_TRUE(WaitUntil([&] { return Visible(hung.Get()) && !Layered(hung.Get()); }));
}

}  // namespace
}  // namespace qlt

namespace qlt {
namespace {

using namespace std::chrono_literals;

// Another program reading the journal (a virus scanner, a backup, a user's editor) holds it open
// for a moment, without letting it be replaced or removed meanwhile.
class JournalReader {
 public:
  explicit JournalReader(const std::wstring& path)
      : file_(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                          nullptr)) {}
  ~JournalReader() { Release(); }
  bool Open() const { return file_ != INVALID_HANDLE_VALUE; }
  void ReleaseAfter(std::chrono::milliseconds delay) {
    closer_ = std::thread([this, delay] {
      std::this_thread::sleep_for(delay);
      Release();
    });
  }
  void Join() {
    if (closer_.joinable()) closer_.join();
  }

 private:
  void Release() {
    HANDLE file = file_.exchange(INVALID_HANDLE_VALUE);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  }
  std::atomic<HANDLE> file_;
  std::thread closer_;
};

TEST(HideEngine, AJournalAnotherProgramHoldsOpenIsStillUpdatedAndRemoved) {
  ScratchDir dir(L"hide-journal-open");
  RunningProgram notepad(L"notepad.exe");
  const HWND n = notepad.MainWindow();
  ASSERT_TRUE(n);
  TestWindow tray;
  HideZVQ engine(Journal(dir), {[&] { return tray.Get(); }, nullptr});
  engine.ToggleHidden({}, {HideMode::Hide, 200, true, false}, nullptr);
  ASSERT_TRUE(FileExists(Journal(dir)));

  {
    JournalReader reader(Journal(dir));
    ASSERT_TRUE(reader.Open());
    reader.ReleaseAfter(300ms);
    engine.HideAll({u"notepad"}, HideMode::Hide, 200);
    reader.Join();
  }
  EXPECT_EQ(ParseJournal(dir.Read(L"QLT.journal")).windows.size(), 1u) << "the journal names the window hidden";

  JournalReader reader(Journal(dir));
  ASSERT_TRUE(reader.Open());
  reader.ReleaseAfter(300ms);
  engine.ToggleHidden({}, {HideMode::Hide, 200, true, false}, nullptr);
  ASSERT_TRUE(engine.WaitForWindowCalls(5000));
  reader.Join();
  EXPECT_TRUE(WaitUntil([&] { return Visible(n); }));
  EXPECT_FALSE(FileExists(Journal(dir))) << "a journal left behind would bring windows back at the next start";
}

TEST(HideEngine, AJournalThatCannotBeWrittenIsToldOnceAndTheToggleGoesOn) {
  ScratchDir dir(L"hide-journal-unwritable");
  TestWindow window;
  std::vector<std::wstring> told;
  HideSeams seams;
  seams.journalNotWritten = [&](const std::wstring& error) { told.push_back(error); };
  HideZVQ engine(Journal(dir), seams);
  const auto toggleTwice = [&] {
    engine.ToggleHidden({kThisProgram}, {HideMode::Hide}, nullptr);
    EXPECT_TRUE(WaitUntil([&] { return !Visible(window.Get()); })) << "hidden all the same";
    engine.ToggleHidden({kThisProgram}, {HideMode::Hide}, nullptr);
    EXPECT_TRUE(WaitUntil([&] { return Visible(window.Get()); }));
    ASSERT_TRUE(engine.WaitForWindowCalls(5000));
  };

  // A folder where the save puts its new file: no journal can be written.
  const std::wstring blocker = TemporaryFileFor(Journal(dir));
  ASSERT_TRUE(CreateDirectoryW(blocker.c_str(), nullptr));
  for (int i = 0; i < 3; ++i) toggleTwice();
  EXPECT_GE(engine.HideAll({kThisProgram}, HideMode::Hide, 200), 1u);
  EXPECT_GE(engine.RestoreWindows(), 1u);
  ASSERT_TRUE(engine.WaitForWindowCalls(5000));
  ASSERT_TRUE(WaitUntil([&] { return Visible(window.Get()); }));
  ASSERT_EQ(told.size(), 1u) << "told once, not at every press";
  EXPECT_EQ(told[0].rfind(L"Cannot create file \"" + Journal(dir) + L"\". ", 0), 0u) << told[0];
  EXPECT_FALSE(FileExists(Journal(dir)));

  // Once a save has worked again, the next failure is news again.
  ASSERT_TRUE(RemoveDirectoryW(blocker.c_str()));
  toggleTwice();
  EXPECT_EQ(told.size(), 1u);
  ASSERT_TRUE(CreateDirectoryW(blocker.c_str(), nullptr));
  toggleTwice();
  EXPECT_EQ(told.size(), 2u);
  RemoveDirectoryW(blocker.c_str());
}

}  // namespace
}  // namespace qlt
