#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>

#include "platform/auto_reset_event.h"
#include "platform/ui_bus.h"

namespace qavo {

// One long exchange shown by the progress dialog, from its begin to its
// close. 0 names none.
using ProgressSession = uint64_t;

// What the progress dialog shows and how far a long transfer has come.
//
// Every exchange that begins gets a session of its own, and only that
// session may step or close it: a job whose waiter gave up long ago can end
// at any time without touching the dialog of the exchange that followed.
struct ProgressState {
    enum Mode : int {
        kFirmwareDownload = 0,
        kWritingToHost = 1,
        kUnused = 2,
        kReadingParameters = 3,
        kSavingLog = 4,
    };
    std::atomic<int> progress_mode{kReadingParameters};
    std::atomic<int> progress_total{0};
    std::atomic<int> progress_count{0};
    AutoResetEvent progress_event;
    // True from Begin to Close of the current session. A close that comes
    // before the dialog has shown itself leaves this false, so the dialog is
    // then not shown.
    std::atomic<bool> open{false};
    // The session the fields above belong to.
    std::atomic<ProgressSession> session{0};
    // Begin, Step and Close are each done whole.
    std::mutex mutex;
};

// Starts a long exchange: sets the mode, the total and a count of 0, and
// asks the progress dialog to show itself. Returns the new session, which
// replaces any earlier one.
ProgressSession BeginProgress(ProgressState& progress, UiBus& bus, int mode, int total);
// One step of `session` done: the count goes up and the dialog is told.
// Nothing happens when `session` is no longer the one shown.
void StepProgress(ProgressState& progress, UiBus& bus, ProgressSession session);
// One step of whatever exchange is shown, when it is in `mode` (the chunks of
// a read arrive on the receive threads, which know no session).
void StepProgressInMode(ProgressState& progress, UiBus& bus, int mode);
// `session` is over: the dialog closes, or is not shown at all. A session
// that is no longer the one shown closes nothing.
void CloseProgress(ProgressState& progress, UiBus& bus, ProgressSession session);
// The same, for the GUI thread, where the dialog is hidden before this
// returns (a box asked next never shows behind it). Never from the worker
// or a receive thread: they must not wait for the GUI.
void CloseProgressNow(ProgressState& progress, UiBus& bus, ProgressSession session);

}  // namespace qavo
