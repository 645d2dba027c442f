#pragma once

#include <atomic>
#include <thread>

#include "link/worker_context.h"

namespace qavo {

// The only thread that sends requests: it takes the jobs in the order they
// were written and runs each to its end before it looks at the next.
class CommandWorker {
  public:
    explicit CommandWorker(WorkerContext context) : ctx_(std::move(context)) {}
    ~CommandWorker() { Stop(); }
    CommandWorker(const CommandWorker&) = delete;
    CommandWorker& operator=(const CommandWorker&) = delete;

    void Start();
    // Ends the thread after the job it runs (tests and orderly shutdown).
    void Stop();

    // Runs one job on the calling thread.
    void RunJob(const Job& job);

  private:
    void Loop();
    void RunSingle(const Job& job);

    WorkerContext ctx_;
    std::atomic<bool> stopping_{false};
    std::thread thread_;
};

}  // namespace qavo
