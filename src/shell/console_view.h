#pragma once

#include <QWidget>
#include <cstdint>

#include "platform/window_messages.h"

namespace qavo {

// Ids of the central views.
enum ViewId : int {
    kControlView = 101,
    kStateView = 359,
    kConfigView = 500,
    kLogView = 319,
    kOtherView = 320,
};

// A central view of the main window. A new one is made at every switch and
// destroyed at the next; notifications from the link reach the view shown.
class ConsoleView : public QWidget {
    Q_OBJECT
  public:
    using QWidget::QWidget;
    virtual int viewId() const = 0;
    // WM_STATUS_CHANGED, WM_SOURCES_CHANGED, WM_FLAGS_CHANGED,
    // WM_HOST_LOG_RECEIVED; views ignore what they do not use.
    virtual void notify(WindowMessage message, intptr_t wparam) {
        (void)message;
        (void)wparam;
    }
};

}  // namespace qavo
