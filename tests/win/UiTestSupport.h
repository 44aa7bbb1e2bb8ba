#pragma once
// Support for the tests of the user-interface framework under Wine: every helper of
// WinTestSupport.h, with each wait handling messages through the application object
// (UiTestMain.cpp installs it), so the framework's own dispatch runs as in the program.
#include <chrono>
#include <functional>

#include "tests/win/WinTestSupport.h"

namespace qlt::test {

// WaitUntil, with the framework tests' shorter patience.
inline bool PumpUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout = 5s) {
  return WaitUntil(condition, timeout);
}

}  // namespace qlt::test
