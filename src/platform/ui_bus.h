#pragma once

#include <cstdint>

#include "platform/window_messages.h"

namespace qavo {

// The windows that code off the GUI thread may notify. A target exists only
// through this list, so the coalescer's table always has room for it.
#define QAVO_UI_TARGETS(X) \
    X(kActiveView)         \
    X(kMainWindow)         \
    X(kProgressDialog)     \
    X(kHostDetailDialog)   \
    X(kSensitivityDialog)  \
    X(kFirmwareDialog)     \
    X(kNavigationPane)

enum class UiTarget : uint8_t {
#define QAVO_TARGET_ENUM(name) name,
    QAVO_UI_TARGETS(QAVO_TARGET_ENUM)
#undef QAVO_TARGET_ENUM
};

inline constexpr int kUiTargetCount = 0
#define QAVO_TARGET_COUNT(name) +1
    QAVO_UI_TARGETS(QAVO_TARGET_COUNT)
#undef QAVO_TARGET_COUNT
    ;

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
