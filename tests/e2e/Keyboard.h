#pragma once
// Key presses as a user gives them: from the driver through the system's input queue, and on the
// X display Wine runs on, through xdotool, which a POSIX shell started by Wine runs for the driver
// (Wine starts a Unix program for CreateProcess, without a process handle to wait on; the shell
// writes the status to a file last, and the driver waits for that file).
#include <windows.h>

#include <chrono>
#include <optional>
#include <string>

#include "tests/win/WinTestSupport.h"

namespace qlt::e2e {

using namespace std::chrono_literals;

using test::PressKey;
using test::PressKeys;
using test::TypeText;

// The Linux path of a Windows path (Wine's own mapping); empty when not under Wine.
std::string HostPathOf(const std::wstring& windowsPath);

// Runs a POSIX shell script on the machine Wine runs on and waits for it: its exit status, or
// nothing when it did not end in time or could not be started (not under Wine). Its output goes
// to a .log file beside the script in the scratch folder.
std::optional<int> RunHostScript(const std::string& script, std::chrono::milliseconds timeout = 15s);

// A real key press on the X display (xdotool key names, "ctrl+alt+z") with Wine's desktop window
// given the keyboard focus first, as a user types into a Wine window. False when it failed.
bool PressKeysOnDisplay(const std::string& keys);

}  // namespace qlt::e2e
