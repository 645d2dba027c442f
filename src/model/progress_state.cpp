#include "model/progress_state.h"

namespace qavo {

// The dialog is only ever posted to: it shows whatever the state holds when
// the notification arrives, so a flood of steps queues one notification and
// no thread ever waits for the GUI thread to repaint a progress bar.

ProgressSession BeginProgress(ProgressState& progress, UiBus& bus, int mode, int total) {
    ProgressSession session;
    {
        std::lock_guard lock(progress.mutex);
        session = progress.session.load() + 1;
        progress.progress_mode = mode;
        progress.progress_total = total;
        progress.progress_count = 0;
        progress.open = true;
        progress.session = session;
    }
    progress.progress_event.Signal();
    bus.Post(UiTarget::kProgressDialog, WM_PROGRESS_SHOW);
    return session;
}

void StepProgress(ProgressState& progress, UiBus& bus, ProgressSession session) {
    {
        std::lock_guard lock(progress.mutex);
        if (session == 0 || progress.session != session || !progress.open) return;
        progress.progress_count.fetch_add(1);
    }
    bus.Post(UiTarget::kProgressDialog, WM_PROGRESS_STEP);
}

void StepProgressInMode(ProgressState& progress, UiBus& bus, int mode) {
    {
        std::lock_guard lock(progress.mutex);
        if (!progress.open || progress.progress_mode != mode) return;
        progress.progress_count.fetch_add(1);
    }
    bus.Post(UiTarget::kProgressDialog, WM_PROGRESS_STEP);
}

namespace {

// Marks `session` over; false when it is no longer the one shown.
bool EndSession(ProgressState& progress, ProgressSession session) {
    std::lock_guard lock(progress.mutex);
    if (session == 0 || progress.session != session) return false;
    progress.open = false;
    return true;
}

}  // namespace

void CloseProgress(ProgressState& progress, UiBus& bus, ProgressSession session) {
    if (EndSession(progress, session)) bus.Post(UiTarget::kProgressDialog, WM_PROGRESS_CLOSE);
}

void CloseProgressNow(ProgressState& progress, UiBus& bus, ProgressSession session) {
    if (EndSession(progress, session)) bus.Send(UiTarget::kProgressDialog, WM_PROGRESS_CLOSE);
}

}  // namespace qavo
