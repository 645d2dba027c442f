#pragma once

#include <functional>

#include "platform/notification_coalescer.h"
#include "platform/ui_bus.h"
#include "shell/gui_dispatch.h"

namespace qavo {

// The UI bus of the console: notifications from any thread are delivered on
// the GUI thread. A notification without a parameter that is still pending
// is not queued again, so a flood of status datagrams keeps the GUI's
// event queue bounded.
class QtUiBus final : public UiBus {
  public:
    using Deliver = std::function<void(UiTarget, WindowMessage, intptr_t)>;
    QtUiBus(GuiDispatch& dispatch, Deliver deliver)
        : dispatch_(dispatch), deliver_(std::move(deliver)) {}

    void Post(UiTarget target, WindowMessage message, intptr_t wparam = 0) override;
    void Send(UiTarget target, WindowMessage message, intptr_t wparam = 0) override;

  private:
    GuiDispatch& dispatch_;
    Deliver deliver_;
    NotificationCoalescer pending_;
};

}  // namespace qavo
