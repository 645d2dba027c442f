#include "link/startup_sync.h"

#include "link/frame.h"

namespace qavo {

bool ResetCountsOutOfRange(ParamImage& image) {
    bool changed = false;
    if (image.host_count() > kMaxHosts) {
        image.Set(fields::host_count, 1);
        changed = true;
    }
    if (image.paging_count() > kMaxPagingConsoles) {
        image.Set(fields::paging_count, 1);
        changed = true;
    }
    if (image.group_count() > kMaxGroups) {
        image.Set(fields::group_count, 8);
        changed = true;
    }
    return changed;
}

void StartupSync(CommandJob& jobs, SystemModel& model, ProgressState& progress, UiBus& bus,
                 Prompter& prompter, const Timings& timings, const StartupSyncHooks& hooks) {
    Job read;
    read.job_kind = JobKind::kReadAllBlocks;
    read.job_op = BLOCK_READ;
    read.job_param = 2;
    read.progress_session = BeginProgress(progress, bus, ProgressState::kReadingParameters, 56);
    // When the limit passes, the checks run on whatever has arrived; the
    // worker finishes the read in the background and closes its own
    // progress dialog, never a later one.
    jobs.QueueAndWait(read, timings.startup_read_limit, hooks.wait);

    bool reset;
    {
        auto lock = model.Lock();
        reset = ResetCountsOutOfRange(model.image);
    }
    if (reset) {
        prompter.Ask({"System parameter error, already loaded defaults, resynchronization!",
                      kAppTitle, BoxButtons::kOk});
    }
    if (hooks.main_window_visible()) hooks.show_control_view();

    Job status;
    status.job_op = READ_STATUS;
    status.job_param = 255;
    jobs.Queue(status);
}

}  // namespace qavo
