#include "platform/notification_coalescer.h"

namespace qavo {

size_t NotificationCoalescer::Index(UiTarget target, WindowMessage message) {
    auto m = static_cast<size_t>(message);
    if (m < kFirstWindowMessage || m > kLastWindowMessage) m = kFirstWindowMessage;
    return static_cast<size_t>(target) * kMessages + (m - kFirstWindowMessage);
}

bool NotificationCoalescer::MarkPending(UiTarget target, WindowMessage message) {
    return !pending_[Index(target, message)].exchange(true, std::memory_order_acq_rel);
}

void NotificationCoalescer::MarkHandled(UiTarget target, WindowMessage message) {
    pending_[Index(target, message)].store(false, std::memory_order_release);
}

bool NotificationCoalescer::IsPending(UiTarget target, WindowMessage message) const {
    return pending_[Index(target, message)].load(std::memory_order_acquire);
}

}  // namespace qavo
