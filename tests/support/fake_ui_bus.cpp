#include "support/fake_ui_bus.h"

#include <algorithm>

namespace qavo::testing {

void FakeUiBus::Post(UiTarget target, WindowMessage message, intptr_t wparam) {
    {
        std::lock_guard lock(mutex_);
        notes_.push_back({target, message, false, wparam});
    }
    cv_.notify_all();
}

void FakeUiBus::Send(UiTarget target, WindowMessage message, intptr_t wparam) {
    Note note{target, message, true, wparam};
    std::function<void(const Note&)> handler;
    {
        std::lock_guard lock(mutex_);
        notes_.push_back(note);
        handler = on_send_;
    }
    if (handler) handler(note);
    cv_.notify_all();
}

std::vector<FakeUiBus::Note> FakeUiBus::notes() const {
    std::lock_guard lock(mutex_);
    return notes_;
}

std::vector<WindowMessage> FakeUiBus::To(UiTarget target) const {
    std::lock_guard lock(mutex_);
    std::vector<WindowMessage> result;
    for (const Note& n : notes_) {
        if (n.target == target) result.push_back(n.message);
    }
    return result;
}

void FakeUiBus::Clear() {
    std::lock_guard lock(mutex_);
    notes_.clear();
}

bool FakeUiBus::WaitFor(WindowMessage message, size_t count, std::chrono::milliseconds limit) {
    std::unique_lock lock(mutex_);
    return cv_.wait_for(lock, limit, [&] {
        return static_cast<size_t>(std::count_if(notes_.begin(), notes_.end(), [&](const Note& n) {
                   return n.message == message;
               })) >= count;
    });
}

void FakeUiBus::OnSend(std::function<void(const Note&)> handler) {
    std::lock_guard lock(mutex_);
    on_send_ = std::move(handler);
}

}  // namespace qavo::testing
