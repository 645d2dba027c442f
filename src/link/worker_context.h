#pragma once

#include <functional>

#include "link/command_job.h"
#include "link/host_link.h"
#include "model/progress_state.h"
#include "model/system_model.h"
#include "platform/prompter.h"
#include "platform/timings.h"
#include "platform/ui_bus.h"

namespace qavo {

// What the command worker's jobs work with.
struct WorkerContext {
    HostLink& link;
    CommandJob& jobs;
    SystemModel& model;
    ProgressState& progress;
    UiBus& bus;
    Prompter& prompter;
    Timings timings;
    // Called just before LOG_COMMAND 0 goes out: a new host log transfer begins.
    std::function<void()> before_log_request = [] {};
};

}  // namespace qavo
