#pragma once

#include <QObject>
#include <QSet>
#include <chrono>

#include "platform/completion.h"

class QWidget;

namespace qavo {

// While it lives, the operator's input (mouse, keys, wheel, shortcuts,
// context menus, a close from the window manager) to every window that was
// visible when it was made is dropped: it has no effect, neither now nor
// after the wait. Windows that open later (a box asked for during the wait)
// take input as usual. GUI thread only.
class InputBlocker final : public QObject {
  public:
    InputBlocker();
    ~InputBlocker() override;
    InputBlocker(const InputBlocker&) = delete;
    InputBlocker& operator=(const InputBlocker&) = delete;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QSet<const QWidget*> blocked_;
};

// Waits for `done` on the GUI thread at most `limit`, running the event
// loop meanwhile so that paint, notifications and boxes asked for by other
// threads go on, with an InputBlocker keeping the operator's input out.
// True when `done` came in time.
bool GuiWait(const Completion& done, std::chrono::milliseconds limit);

}  // namespace qavo
