#include "platform/notification_coalescer.h"

namespace qavo {

size_t NotificationCoalescer::Index(UiTarget target, WindowMessage message) {
    const auto m = static_cast<size_t>(message);
    const auto t = static_cast<size_t>(target);
    if (m < kFirstWindowMessage || m > kLastWindowMessage ||
        t >= static_cast<size_t>(kUiTargetCount)) {
        return kNone;
    }
    return t * kMessages + (m - kFirstWindowMessage);
}

bool NotificationCoalescer::MarkPending(UiTarget target, WindowMessage message) {
    const size_t i = Index(target, message);
    if (i == kNone) return true;
    return !pending_[i].exchange(true, std::memory_order_acq_rel);
}

void NotificationCoalescer::MarkHandled(UiTarget target, WindowMessage message) {
    const size_t i = Index(target, message);
    if (i != kNone) pending_[i].store(false, std::memory_order_release);
}

bool NotificationCoalescer::IsPending(UiTarget target, WindowMessage message) const {
    const size_t i = Index(target, message);
    return i != kNone && pending_[i].load(std::memory_order_acquire);
}

}  // namespace qavo
