#pragma once

#include <functional>

#include "link/command_job.h"
#include "model/progress_state.h"
#include "model/system_model.h"
#include "platform/prompter.h"
#include "platform/timings.h"
#include "platform/ui_bus.h"

namespace qavo {

// What the read after login needs from the windows.
struct StartupSyncHooks {
    std::function<bool()> main_window_visible = [] { return true; };
    std::function<void()> show_control_view = [] {};
    // How the GUI waits without blocking (default: the calling thread blocks).
    WaitFunction wait;
};

// After every login: reads the six blocks under the progress dialog (at
// most startup_read_limit), resets counts read out of range, shows the
// control view and asks the host for its whole live status. Runs on the
// GUI thread.
void StartupSync(CommandJob& jobs, SystemModel& model, ProgressState& progress, UiBus& bus,
                 Prompter& prompter, const Timings& timings, const StartupSyncHooks& hooks);

// Resets host_count above 20 to 1, paging_count above 32 to 1 and
// group_count above 120 to 8. True when any was reset.
bool ResetCountsOutOfRange(ParamImage& image);

}  // namespace qavo
