#include "shell/gui_wait.h"

#include <QCoreApplication>
#include <QEventLoop>

namespace qavo {

bool GuiWait(AutoResetEvent& event, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    for (;;) {
        if (event.WaitFor(std::chrono::milliseconds(0))) return true;
        const auto now = std::chrono::steady_clock::now();
        if (now >= deadline) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now);
        if (event.WaitFor(std::min(left, std::chrono::milliseconds(2)))) return true;
    }
}

}  // namespace qavo
