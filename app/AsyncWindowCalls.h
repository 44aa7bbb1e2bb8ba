#pragma once
// Calls on other programs' windows that wait for the target to answer (a style change sends it
// messages and waits), run on one worker thread in the order they were posted, so a program that
// does not answer holds up only that worker, never QLT's window.
#include <windows.h>

#include <functional>
#include <memory>
#include <thread>

namespace qlt {

class AsyncWindowCalls {
 public:
  AsyncWindowCalls() = default;
  // Waits a short while for the queued calls; a call stuck on a hung program is left behind.
  ~AsyncWindowCalls();
  AsyncWindowCalls(const AsyncWindowCalls&) = delete;
  AsyncWindowCalls& operator=(const AsyncWindowCalls&) = delete;

  void Post(std::function<void()> call);
  // True when every call posted so far has run.
  bool WaitIdle(DWORD timeoutMs);

 private:
  struct State;
  static void RunCalls(const std::shared_ptr<State>& state) noexcept;

  std::shared_ptr<State> state_;
  std::thread worker_;
};

}  // namespace qlt
