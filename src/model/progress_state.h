#pragma once

#include <atomic>

#include "platform/auto_reset_event.h"

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
};

}  // namespace qavo
