#include "model/progress_state.h"

namespace qavo {

void BeginProgress(ProgressState& progress, UiBus& bus, int mode, int total) {
    progress.progress_mode = mode;
    progress.progress_total = total;
    progress.progress_count = 0;
    progress.open = true;
    progress.progress_event.Signal();
    bus.Post(UiTarget::kProgressDialog, WM_PROGRESS_SHOW);
}

void StepProgress(ProgressState& progress, UiBus& bus) {
    progress.progress_count.fetch_add(1);
    bus.Send(UiTarget::kProgressDialog, WM_PROGRESS_STEP);
}

void CloseProgress(ProgressState& progress, UiBus& bus) {
    progress.open = false;
    bus.Send(UiTarget::kProgressDialog, WM_PROGRESS_CLOSE);
}

}  // namespace qavo
