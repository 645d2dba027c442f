#pragma once

#include <array>
#include <atomic>

#include "platform/ui_bus.h"

namespace qavo {

// Remembers which notifications are queued and not yet handled, so that a
// flood of status datagrams queues at most one of each kind per target.
// Thread-safe: MarkPending from any thread, MarkHandled from the receiver.
class NotificationCoalescer {
  public:
    // True when the notification was not pending and is now: queue it.
    // False when one is already queued: drop this one. A value outside the
    // table (no such message or target) is never coalesced: always true.
    bool MarkPending(UiTarget target, WindowMessage message);
    // Called by the receiver just before it handles the notification, so a
    // change that arrives while it rebuilds queues a new one.
    void MarkHandled(UiTarget target, WindowMessage message);
    bool IsPending(UiTarget target, WindowMessage message) const;

  private:
    static constexpr size_t kMessages = kLastWindowMessage - kFirstWindowMessage + 1;
    static constexpr size_t kNone = static_cast<size_t>(-1);
    static size_t Index(UiTarget target, WindowMessage message);
    std::array<std::atomic<bool>, kUiTargetCount * kMessages> pending_{};
};

}  // namespace qavo
