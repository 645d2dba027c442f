#include "platform/completion.h"

namespace qavo {

void Completion::Signal() {
    {
        std::lock_guard lock(mutex_);
        signalled_ = true;
    }
    cv_.notify_all();
}

bool Completion::IsSignalled() const {
    std::lock_guard lock(mutex_);
    return signalled_;
}

bool Completion::WaitFor(std::chrono::milliseconds timeout) const {
    std::unique_lock lock(mutex_);
    return cv_.wait_for(lock, timeout, [this] { return signalled_; });
}

bool BlockingWait(const Completion& done, std::chrono::milliseconds limit) {
    return done.WaitFor(limit);
}

}  // namespace qavo
