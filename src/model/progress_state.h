#pragma once

#include <atomic>

#include "platform/auto_reset_event.h"
#include "platform/ui_bus.h"

namespace qavo {

// What the progress dialog shows and how far a long transfer has come.
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
    // True from Begin to Close. A close that comes before the dialog has
    // shown itself leaves this false, so the dialog is then not shown.
    std::atomic<bool> open{false};
};

// Starts a long exchange: sets the mode, the total and a count of 0, and
// asks the progress dialog to show itself.
void BeginProgress(ProgressState& progress, UiBus& bus, int mode, int total);
// One step done: the count goes up and the dialog is told (and waited for).
void StepProgress(ProgressState& progress, UiBus& bus);
// The exchange is over: the dialog closes, or is not shown at all.
void CloseProgress(ProgressState& progress, UiBus& bus);

}  // namespace qavo
