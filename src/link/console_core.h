#pragma once

#include <memory>

#include "link/command_job.h"
#include "link/command_worker.h"
#include "link/device_list.h"
#include "link/host_link.h"
#include "link/message_dispatcher.h"
#include "model/progress_state.h"
#include "model/system_model.h"
#include "platform/prompter.h"
#include "platform/timings.h"
#include "platform/udp_socket.h"
#include "platform/ui_bus.h"

namespace qavo {

// What the core is made with. The prompter and the bus belong to the
// windows (or to the test or tool that runs the core) and must outlive it.
struct ConsoleCoreDeps {
    SocketFactory& sockets;
    Prompter& prompter;
    UiBus& bus;
    Timings timings;
    HostLink::ExitFunction exit_process;
    HostLink::Options link_options{};
};

// Everything the console needs to talk to the host, owned in one place and
// started and stopped in one order: the model, the job queue, the progress
// state, the device list, the link with its two sockets and receive loops,
// the dispatcher of incoming datagrams and the command worker.
//
// Start opens the sockets, then starts the worker, then the receive loops.
// Stop ends the worker (a long job is cut short between chunks and between
// devices) and the receive loops before anything they use is destroyed;
// the destructor stops too. Nothing is read from the host until a job asks.
class ConsoleCore {
  public:
    explicit ConsoleCore(ConsoleCoreDeps deps);
    ~ConsoleCore();
    ConsoleCore(const ConsoleCore&) = delete;
    ConsoleCore& operator=(const ConsoleCore&) = delete;

    // Opens both sockets with `settings` (a socket failure ends the process
    // through exit_process) and starts the threads. Once only.
    void Start(const NetworkSettings& settings);
    // Safe to call more than once; the core is not started again.
    void Stop();
    bool running() const { return started_ && !stopped_; }

    SystemModel& model() { return model_; }
    ProgressState& progress() { return progress_; }
    DeviceList& devices() { return devices_; }
    CommandJob& jobs() { return jobs_; }
    HostLink& link() { return link_; }
    MessageDispatcher& dispatcher() { return dispatcher_; }
    const Timings& timings() const { return timings_; }
    Prompter& prompter() { return prompter_; }
    UiBus& bus() { return bus_; }

    // What the worker's jobs work with, for running one job on the calling
    // thread (tests and benchmarks measure a transfer that way). Never while
    // the worker runs a job of its own.
    WorkerContext Context();

  private:
    Timings timings_;
    Prompter& prompter_;
    UiBus& bus_;
    SystemModel model_;
    ProgressState progress_;
    DeviceList devices_;
    CommandJob jobs_;
    HostLink link_;
    MessageDispatcher dispatcher_;
    std::unique_ptr<CommandWorker> worker_;
    bool started_ = false;
    bool stopped_ = false;
};

}  // namespace qavo
