#pragma once

#include <chrono>
#include <functional>

#include "link/command_job.h"
#include "model/progress_state.h"
#include "platform/completion.h"
#include "platform/prompter.h"
#include "platform/timings.h"
#include "platform/ui_bus.h"
#include "platform/window_messages.h"

namespace qavo {

inline constexpr const char* kSyncDoneText =
    "Synchronized QAVO host state is successfully completed.";
inline constexpr const char* kSyncFailedText =
    "Synchronous QAVO host state failure, check the network connection or modify the network "
    "communication parameters after severe.";

// What the editors' sending step works with.
struct EditorSendContext {
    ProgressState& progress;
    UiBus& bus;
    Prompter& prompter;
    Timings timings;
    // How the GUI thread waits: the event loop runs on and the operator's
    // input is kept out. Empty: the calling thread blocks.
    WaitFunction wait;
    // Hands the write request to the main window, which queues the write
    // under `session` and returns the job's own ticket.
    std::function<JobHandle(WindowMessage request, ProgressSession session)> request;
};

// The chunks a write request sends: 44 for blocks 0 and 1, 4 for block 2,
// 4 for block 4, 1 for block 5; 0 for any other message.
int ChunksOf(WindowMessage request);

// The step every editor's "Application" ends with: the progress dialog in
// mode 1 with the request's chunk count, a pause of editor_progress_pause,
// the request, a wait of at most `limit` for this write's own end, the
// progress dialog closed, then exactly one box: success, or the failure
// (warning icon) when the wait ran out or the write failed. A write still
// running when the wait gives up goes on in the worker. True on success.
bool SendEditedBlocks(const EditorSendContext& context, WindowMessage request,
                      std::chrono::milliseconds limit);

}  // namespace qavo
