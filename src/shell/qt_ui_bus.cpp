#include "shell/qt_ui_bus.h"

namespace qavo {

void QtUiBus::Post(UiTarget target, WindowMessage message, intptr_t wparam) {
    if (wparam == 0) {
        if (!pending_.MarkPending(target, message)) return;
        dispatch_.Post([this, target, message] {
            pending_.MarkHandled(target, message);
            deliver_(target, message, 0);
        });
        return;
    }
    dispatch_.Post([this, target, message, wparam] { deliver_(target, message, wparam); });
}

void QtUiBus::Send(UiTarget target, WindowMessage message, intptr_t wparam) {
    dispatch_.RunAndWait([&] { deliver_(target, message, wparam); });
}

}  // namespace qavo
