#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace qavo {

// An event that stays signalled until exactly one waiter takes it, then
// resets by itself. Signalling an already signalled event changes nothing.
class AutoResetEvent {
  public:
    void Signal();
    void Clear();
    // Waits until signalled, without a time limit; takes the signal.
    void Wait();
    // Waits at most `timeout`. Returns true when the event was signalled
    // (the signal is taken), false when the time ran out.
    bool WaitFor(std::chrono::milliseconds timeout);
    bool IsSignalled() const;

  private:
    mutable std::mutex mutex_;
    std::condition_variable cv_;
    bool signalled_ = false;
};

}  // namespace qavo
