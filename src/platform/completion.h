#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>

namespace qavo {

// Something that ends once: signalled, it stays signalled, and every waiter,
// before or after, sees it. Unlike an auto-resetting event it cannot be
// taken by the wrong waiter or cleared by the next job.
class Completion {
  public:
    void Signal();
    bool IsSignalled() const;
    // Waits at most `timeout`; true when signalled.
    bool WaitFor(std::chrono::milliseconds timeout) const;

  private:
    mutable std::mutex mutex_;
    mutable std::condition_variable cv_;
    bool signalled_ = false;
};

// How a thread waits for a completion at most `limit`: true when it came in
// time. The GUI thread passes one that keeps its event loop running and
// the operator's input out.
using WaitFunction = std::function<bool(const Completion&, std::chrono::milliseconds)>;

// Blocks the calling thread. Never for the GUI thread: what it waits for
// may need the GUI (a box to answer) before it ends.
bool BlockingWait(const Completion& done, std::chrono::milliseconds limit);

}  // namespace qavo
