// The drivers' own helpers where a fault would show up in another test as a riddle: a script run
// on the machine Wine runs on (for key presses on the display) gives its exit status and leaves
// every handle of the driver open (the programs it started must still be there to end).
#include <gtest/gtest.h>

#include <vector>

#include "tests/e2e/Keyboard.h"

namespace qlt::e2e {
namespace {

TEST(HostScripts, GiveTheirStatusAndLeaveTheDriversHandlesAlone) {
  // Plenty of handles, so that one the run closed by mistake would be among them.
  std::vector<HANDLE> held;
  for (int i = 0; i < 200; ++i) held.push_back(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  test::RunningProgram notepad(L"notepad.exe");
  EXPECT_EQ(RunHostScript("exit 3"), 3);
  EXPECT_EQ(RunHostScript("true"), 0);
  EXPECT_EQ(RunHostScript("sleep 5", 500ms), std::nullopt) << "a script that does not end in time";
  for (HANDLE handle : held) {
    DWORD flags = 0;
    EXPECT_TRUE(GetHandleInformation(handle, &flags)) << "handle " << handle << " was closed";
    CloseHandle(handle);
  }
  EXPECT_TRUE(notepad.Running());
  notepad.Kill();
  EXPECT_FALSE(notepad.Running()) << "the program's handle still reaches it";
}

}  // namespace
}  // namespace qlt::e2e
