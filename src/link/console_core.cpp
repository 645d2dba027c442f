#include "link/console_core.h"

namespace qavo {

ConsoleCore::ConsoleCore(ConsoleCoreDeps deps)
    : timings_(deps.timings),
      prompter_(deps.prompter),
      bus_(deps.bus),
      link_(deps.sockets, deps.prompter, deps.timings, std::move(deps.exit_process),
            deps.link_options),
      dispatcher_(model_, progress_, devices_, deps.bus, link_.ack_event()) {}

ConsoleCore::~ConsoleCore() {
    Stop();
}

WorkerContext ConsoleCore::Context() {
    WorkerContext context{link_, jobs_, model_, progress_, bus_, prompter_, timings_};
    context.before_log_request = [this] { dispatcher_.BeginLogTransfer(); };
    return context;
}

void ConsoleCore::Start(const NetworkSettings& settings) {
    if (started_) return;
    started_ = true;
    link_.OpenHostSocket(settings);
    link_.OpenGroupSocket();
    worker_ = std::make_unique<CommandWorker>(Context());
    worker_->Start();
    link_.StartReceiving(dispatcher_);
}

void ConsoleCore::Stop() {
    if (stopped_) return;
    stopped_ = true;
    // The worker first: the link stops sending at once, so the worker leaves
    // its job at the next chunk or device. Then the receive loops, so that
    // no datagram reaches the dispatcher, the model or the bus once this
    // returns.
    link_.StopSending();
    if (worker_) worker_->Stop();
    link_.StopReceiving();
}

}  // namespace qavo
