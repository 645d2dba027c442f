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
    // Ends the thread after the job it runs; jobs still waiting are not
    // run. To cut a long job short, stop the link's sending first
    // (HostLink::StopSending): a transfer then ends before its next chunk
    // and a firmware job before its next device.
    void Stop();

    // Runs one job on the calling thread; returns its result (1 or -1).
    int RunJob(const Job& job);

  private:
    void Loop();
    int RunSingle(const Job& job);

    WorkerContext ctx_;
    std::atomic<bool> stopping_{false};
    std::thread thread_;
};

}  // namespace qavo
