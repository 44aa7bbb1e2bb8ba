// The Windows tests' own helpers, where a fault would make other tests pass or fail for the wrong
// reason: screen grabs read back what a window painted and save it, mouse presses and releases
// arrive where they were given (also around a modal loop on a caption), waits handle messages,
// message boxes are seen and closed, files and registry values read back as written.
#include <gtest/gtest.h>

#include "skin/data/BmpCodec.h"
#include "tests/win/WinTestSupport.h"

namespace qlt::test {
namespace {

POINT ClientPointOnScreen(HWND window, POINT client) {
  ClientToScreen(window, &client);
  return client;
}

RECT ClientRectOnScreen(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
  return client;
}

// A visible window of one colour in front of everything, painted.
class ShownWindow : public TestWindow {
 public:
  explicit ShownWindow(COLORREF colour) : TestWindow(true, RECT{200, 150, 520, 390}, colour) {
    SetForegroundWindow(Get());
    Paint(colour);
    WaitUntil([&] { return GetForegroundWindow() == Get(); }, 3s);
    PumpFor(100ms);
  }
};

TEST(ScreenGrab, ReadsBackWhatAWindowPaintedAndSavesItAsPngAndBmp) {
  ShownWindow window(RGB(20, 200, 120));
  const RECT client = ClientRectOnScreen(window.Get());
  ScreenGrab grab(client);
  ASSERT_FALSE(grab.Empty());
  EXPECT_EQ(grab.Width(), client.right - client.left);
  EXPECT_EQ(grab.Height(), client.bottom - client.top);
  EXPECT_EQ(grab.Pixel(0, 0), RGB(20, 200, 120));
  EXPECT_EQ(grab.Pixel(grab.Width() - 1, grab.Height() - 1), RGB(20, 200, 120));
  EXPECT_EQ(grab.PixelAt(CentreOf(window.Get())), RGB(20, 200, 120)) << "a point of the screen inside the grab";
  EXPECT_EQ(grab.Pixel(grab.Width(), 0), CLR_INVALID);
  EXPECT_EQ(grab.Pixel(0, -1), CLR_INVALID);

  // A grab is taken when it is made: a repaint shows in a later one only.
  window.Paint(RGB(250, 10, 60));
  EXPECT_TRUE(WaitUntil([&] { return ScreenGrab(client).Pixel(5, 5) == RGB(250, 10, 60); }, 3s));
  EXPECT_EQ(grab.Pixel(5, 5), RGB(20, 200, 120));

  // The window's grab holds its frame around the client area.
  const ScreenGrab whole = ScreenGrab::OfWindow(window.Get());
  RECT frame{};
  GetWindowRect(window.Get(), &frame);
  EXPECT_EQ(whole.Width(), frame.right - frame.left);
  EXPECT_EQ(whole.PixelAt(ClientPointOnScreen(window.Get(), POINT{1, 1})), RGB(250, 10, 60));
  EXPECT_NE(whole.Pixel(1, 1), RGB(250, 10, 60)) << "the frame is not the client's colour";

  // Saved and read back: the same pixels, row by row from the top.
  ScratchDir dir(L"screen-grab");
  ASSERT_TRUE(whole.SaveBmp(dir.File(L"window.bmp")));
  const std::string bmp = dir.Read(L"window.bmp");
  const auto decoded = DecodeBmp(Bytes(bmp.begin(), bmp.end()));
  ASSERT_TRUE(decoded.has_value());
  EXPECT_EQ(*decoded, whole.Image());
  ASSERT_TRUE(whole.SavePng(dir.File(L"window.png")));
  EXPECT_EQ(dir.Read(L"window.png").substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));

  // Nothing to grab: an empty grab, which reads as nothing and saves nothing.
  const ScreenGrab none(RECT{10, 10, 10, 40});
  EXPECT_TRUE(none.Empty());
  EXPECT_EQ(none.Pixel(0, 0), CLR_INVALID);
  EXPECT_TRUE(none.Pixels().empty());
  EXPECT_FALSE(none.SavePng(dir.File(L"none.png")));
  EXPECT_FALSE(dir.Exists(L"none.png"));
}

TEST(ScreenGrab, LeavesNoGdiObjectBehind) {
  ShownWindow window(RGB(0, 0, 255));
  ScreenGrab::OfWindow(window.Get());
  const int before = GdiObjectCount();
  ASSERT_GT(before, 0);
  for (int i = 0; i < 200; ++i) ScreenGrab::OfWindow(window.Get());
  EXPECT_EQ(GdiObjectCount(), before);
}

TEST(KernelHandleCount, SeesHandlesComeAndGo) {
  const int before = KernelHandleCount();
  ASSERT_GT(before, 0);
  std::vector<HANDLE> events;
  for (int i = 0; i < 5; ++i) events.push_back(CreateEventW(nullptr, FALSE, FALSE, nullptr));
  EXPECT_EQ(KernelHandleCount(), before + 5);
  for (HANDLE e : events) CloseHandle(e);
  EXPECT_EQ(KernelHandleCount(), before);
}

// What a window heard of the mouse, in client coordinates.
struct MouseLog {
  std::vector<std::pair<UINT, POINT>> events;
  int movesWithButtonHeld = 0;
  void Record(TestWindow& window) {
    window.OnMessage = [this, hwnd = window.Get()](UINT message, WPARAM wParam, LPARAM lParam, LRESULT&) {
      const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      switch (message) {
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
          SetCapture(hwnd);
          events.emplace_back(message, at);
          break;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
          ReleaseCapture();
          events.emplace_back(message, at);
          break;
        case WM_MOUSEMOVE:
          if (wParam & (MK_LBUTTON | MK_RBUTTON)) ++movesWithButtonHeld;
          break;
      }
      return false;
    };
  }
  bool Has(UINT message, POINT at) const {
    for (const auto& [m, p] : events) {
      if (m == message && p.x == at.x && p.y == at.y) return true;
    }
    return false;
  }
};

TEST(MouseInput, ClicksAndDragsArriveWhereTheyWereGiven) {
  ShownWindow window(RGB(255, 255, 255));
  MouseLog log;
  log.Record(window);

  ClickAt(ClientPointOnScreen(window.Get(), POINT{30, 40}));
  EXPECT_TRUE(log.Has(WM_LBUTTONDOWN, POINT{30, 40}));
  EXPECT_TRUE(log.Has(WM_LBUTTONUP, POINT{30, 40}));
  ClickAt(ClientPointOnScreen(window.Get(), POINT{60, 20}), MouseButton::Right);
  EXPECT_TRUE(log.Has(WM_RBUTTONDOWN, POINT{60, 20}));
  EXPECT_TRUE(log.Has(WM_RBUTTONUP, POINT{60, 20}));

  log.events.clear();
  DragMouse(ClientPointOnScreen(window.Get(), POINT{20, 20}), ClientPointOnScreen(window.Get(), POINT{180, 120}));
  ASSERT_EQ(log.events.size(), 2u);
  EXPECT_TRUE(log.Has(WM_LBUTTONDOWN, POINT{20, 20}));
  EXPECT_TRUE(log.Has(WM_LBUTTONUP, POINT{180, 120})) << "released at the other point";
  EXPECT_GT(log.movesWithButtonHeld, 5) << "moved in steps with the button held";
  POINT pointer{};
  GetCursorPos(&pointer);
  ScreenToClient(window.Get(), &pointer);
  EXPECT_EQ(pointer.x, 180);
  EXPECT_EQ(pointer.y, 120);
}

TEST(MouseInput, ADragOnTheCaptionMovesTheWindowThroughTheSystemsModalLoop) {
  ShownWindow window(RGB(255, 255, 255));
  RECT before{};
  GetWindowRect(window.Get(), &before);
  const POINT caption{(before.left + before.right) / 2, before.top + GetSystemMetrics(SM_CYFRAME) +
                                                            GetSystemMetrics(SM_CYCAPTION) / 2};
  ASSERT_EQ(SendMessageW(window.Get(), WM_NCHITTEST, 0, MAKELPARAM(caption.x, caption.y)), HTCAPTION);
  // The press starts the move loop inside this thread's dispatch: only a release already queued
  // can end it.
  DragMouse(caption, POINT{caption.x + 60, caption.y + 40});
  RECT after{};
  EXPECT_TRUE(WaitUntil([&] {
    GetWindowRect(window.Get(), &after);
    return after.left == before.left + 60 && after.top == before.top + 40;
  }, 3s)) << "moved to " << after.left << "," << after.top << " from " << before.left << "," << before.top;
}

TEST(Waiting, HandlesMessagesWhileWaitingAndGivesUpInTime) {
  TestWindow window(false);
  int posted = 0;
  window.OnMessage = [&](UINT message, WPARAM, LPARAM, LRESULT&) {
    if (message == WM_APP) ++posted;
    return false;
  };
  PostMessageW(window.Get(), WM_APP, 0, 0);
  EXPECT_TRUE(WaitUntil([&] { return posted == 1; }, 2s)) << "the posted message was handled meanwhile";

  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(WaitUntil([] { return false; }, 200ms));
  const auto waited = std::chrono::steady_clock::now() - start;
  EXPECT_GE(waited, 200ms);
  EXPECT_LT(waited, 2s);

  // A program's own pump is used for every wait while it is installed.
  int pumped = 0;
  SetMessagePump([&] { ++pumped; });
  PumpFor(50ms);
  SetMessagePump(nullptr);
  EXPECT_GT(pumped, 0);
  PostMessageW(window.Get(), WM_APP, 0, 0);
  PumpFor(50ms);
  EXPECT_EQ(posted, 2) << "the plain pump is back";
}

TEST(MessageBoxes, TheWatcherSeesABoxOfTheThreadReadsItAndPressesOk) {
  MessageBoxWatcher watcher(GetCurrentThreadId());
  EXPECT_EQ(MessageBoxW(nullptr, L"热键没有注册", L"QLTZarnit", MB_OK), IDOK);
  const auto seen = watcher.Seen();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].caption, L"QLTZarnit");
  EXPECT_EQ(seen[0].text, L"热键没有注册");
  EXPECT_TRUE(MessageBoxesOf(GetCurrentProcessId()).empty());
}

TEST(FilesAndRegistry, ReadBackAsWrittenAndTellWhatIsMissing) {
  ScratchDir dir(L"support-files");
  const std::string bytes("one\r\n\0two\xff", 10);
  ASSERT_TRUE(WriteFileBytes(dir.File(L"文件.bin"), bytes));
  EXPECT_EQ(TryReadFileBytes(dir.File(L"文件.bin")), bytes);
  EXPECT_EQ(TryReadFileBytes(dir.File(L"missing.bin")), std::nullopt);
  EXPECT_EQ(ReadFileBytes(dir.File(L"missing.bin")), "");
  EXPECT_FALSE(WriteFileBytes(dir.File(L"no folder\\x.bin"), bytes));
  // Another program writing the file does not keep a test from reading it.
  HANDLE writer = CreateFileW(dir.File(L"文件.bin").c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                              nullptr);
  ASSERT_NE(writer, INVALID_HANDLE_VALUE);
  EXPECT_EQ(ReadFileBytes(dir.File(L"文件.bin")), bytes);
  CloseHandle(writer);

  const std::wstring key = L"Software\\QLT test support";
  SetRegistryString(HKEY_CURRENT_USER, key, L"Value", L"10.0.0.2 10.0.0.5");
  EXPECT_EQ(RegistryString(HKEY_CURRENT_USER, key, L"Value"), L"10.0.0.2 10.0.0.5");
  EXPECT_EQ(RegistryData(HKEY_CURRENT_USER, key, L"Value"), std::wstring(L"10.0.0.2 10.0.0.5", 18))
      << "the data with its NUL";
  SetRegistryString(HKEY_CURRENT_USER, key, L"", L"default");
  EXPECT_EQ(RegistryString(HKEY_CURRENT_USER, key, L""), L"default");
  DeleteRegistryValue(HKEY_CURRENT_USER, key, L"Value");
  EXPECT_EQ(RegistryString(HKEY_CURRENT_USER, key, L"Value"), std::nullopt);
  EXPECT_EQ(RegistryString(HKEY_CURRENT_USER, key + L"\\missing", L"Value"), std::nullopt);
  RegDeleteKeyW(HKEY_CURRENT_USER, key.c_str());
}

TEST(Programs, AProgramsExitCodeIsThereOnceItEnded) {
  RunningProgram program(L"cmd.exe /c exit 3");
  ASSERT_TRUE(program.WaitForExit());
  EXPECT_FALSE(program.Running());
  EXPECT_EQ(program.ExitCode(), 3u);

  RunningProgram notepad(L"notepad.exe");
  EXPECT_EQ(notepad.ExitCode(), std::nullopt) << "still running";
  notepad.Kill(7);
  EXPECT_EQ(notepad.ExitCode(), 7u);
}

}  // namespace
}  // namespace qlt::test
