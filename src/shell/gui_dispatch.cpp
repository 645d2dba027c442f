#include "shell/gui_dispatch.h"

#include <QThread>

namespace qavo {

bool GuiDispatch::OnGuiThread() const {
    return QThread::currentThread() == thread();
}

void GuiDispatch::Post(std::function<void()> work) {
    if (shutting_down_) return;
    QMetaObject::invokeMethod(this, std::move(work), Qt::QueuedConnection);
}

bool GuiDispatch::RunAndWait(const std::function<void()>& work) {
    if (OnGuiThread()) {
        work();
        return true;
    }
    if (shutting_down_) return false;
    auto state = std::make_shared<Waiter>();
    QMetaObject::invokeMethod(
        this,
        [state, work] {
            work();
            std::lock_guard lock(state->mutex);
            state->done = true;
            state->cv.notify_all();
        },
        Qt::QueuedConnection);
    std::unique_lock lock(state->mutex);
    // Wake up now and then to notice a shutdown.
    while (!state->done) {
        if (shutting_down_) return false;
        state->cv.wait_for(lock, std::chrono::milliseconds(50));
    }
    return true;
}

void GuiDispatch::Shutdown() {
    shutting_down_ = true;
}

}  // namespace qavo
