#pragma once

#include <cstdint>

#include "platform/window_messages.h"

namespace qavo {

// The windows that code off the GUI thread may notify.
enum class UiTarget : uint8_t {
    kActiveView,
    kMainWindow,
    kProgressDialog,
    kHostDetailDialog,
    kSensitivityDialog,
    kFirmwareDialog,
    kNavigationPane,
};
inline constexpr int kUiTargetCount = 7;

// How the link and the worker reach the windows. Receive threads and the
// worker never touch a widget: they change the model under its lock, release
// the lock, then notify through this bus.
class UiBus {
  public:
    virtual ~UiBus() = default;
    // Queued; returns at once. A notification that is still pending for the
    // same target is not queued a second time (the receiver rebuilds from the
    // model, so one pending notification is enough).
    virtual void Post(UiTarget target, WindowMessage message, intptr_t wparam = 0) = 0;
    // Returns once the receiver has handled the message (or at once when the
    // receiver does not exist). Never called with the model lock held.
    virtual void Send(UiTarget target, WindowMessage message, intptr_t wparam = 0) = 0;
};

// A bus that goes nowhere, for tools that run the link without windows.
class NullUiBus final : public UiBus {
  public:
    void Post(UiTarget, WindowMessage, intptr_t) override {}
    void Send(UiTarget, WindowMessage, intptr_t) override {}
};

}  // namespace qavo
