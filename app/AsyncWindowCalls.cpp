#include "app/AsyncWindowCalls.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>

namespace qlt {

struct AsyncWindowCalls::State {
  std::mutex mutex;
  std::condition_variable changed;
  std::deque<std::function<void()>> queue;
  bool running = false;  // a call is being made
  bool stopping = false;
};

void AsyncWindowCalls::RunCalls(const std::shared_ptr<State>& state) noexcept {
  std::unique_lock lock(state->mutex);
  while (true) {
    state->changed.wait(lock, [&] { return state->stopping || !state->queue.empty(); });
    if (state->queue.empty()) return;  // stopping, and nothing left to do
    auto call = std::move(state->queue.front());
    state->queue.pop_front();
    state->running = true;
    lock.unlock();
    try {
      call();
    } catch (...) {
      // A failed call on a foreign window is not worth more than the next one.
    }
    lock.lock();
    state->running = false;
    state->changed.notify_all();
  }
}

AsyncWindowCalls::~AsyncWindowCalls() {
  if (!state_) return;
  const bool idle = WaitIdle(2000);
  {
    std::lock_guard lock(state_->mutex);
    state_->stopping = true;
  }
  state_->changed.notify_all();
  // The worker owns its share of the state, so it may outlive this object when stuck.
  if (idle) {
    worker_.join();
  } else {
    worker_.detach();
  }
}

void AsyncWindowCalls::Post(std::function<void()> call) {
  if (!state_) {
    state_ = std::make_shared<State>();
    worker_ = std::thread([state = state_] { RunCalls(state); });
  }
  {
    std::lock_guard lock(state_->mutex);
    state_->queue.push_back(std::move(call));
  }
  state_->changed.notify_all();
}

bool AsyncWindowCalls::WaitIdle(DWORD timeoutMs) {
  if (!state_) return true;
  std::unique_lock lock(state_->mutex);
  return state_->changed.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                  [&] { return state_->queue.empty() && !state_->running; });
}

}  // namespace qlt
