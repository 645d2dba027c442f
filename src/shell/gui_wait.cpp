#include "shell/gui_wait.h"

#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QWidget>

namespace qavo {

namespace {

bool IsOperatorInput(const QEvent& event) {
    switch (event.type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::NonClientAreaMouseButtonPress:
        case QEvent::NonClientAreaMouseButtonRelease:
        case QEvent::NonClientAreaMouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::Shortcut:
        case QEvent::ShortcutOverride:
        case QEvent::ContextMenu:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::TabletPress:
        case QEvent::TabletRelease:
        case QEvent::DragEnter:
        case QEvent::Drop:
            return true;
        case QEvent::Close:
            // Only the window manager's close; code may still close a window.
            return event.spontaneous();
        default:
            return false;
    }
}

}  // namespace

InputBlocker::InputBlocker() {
    for (const QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible()) blocked_.insert(window);
    }
    qApp->installEventFilter(this);
}

InputBlocker::~InputBlocker() {
    qApp->removeEventFilter(this);
}

bool InputBlocker::eventFilter(QObject* watched, QEvent* event) {
    if (!watched->isWidgetType() || !IsOperatorInput(*event)) return false;
    const QWidget* window = static_cast<QWidget*>(watched)->window();
    return blocked_.contains(window);
}

bool GuiWait(const Completion& done, std::chrono::milliseconds limit) {
    const InputBlocker blocker;
    const auto deadline = std::chrono::steady_clock::now() + limit;
    for (;;) {
        if (done.IsSignalled()) return true;
        const auto now = std::chrono::steady_clock::now();
        if (now >= deadline) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now);
        if (done.WaitFor(std::min(left, std::chrono::milliseconds(2)))) return true;
    }
}

}  // namespace qavo
