#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <vector>

#include "platform/ui_bus.h"

namespace qavo::testing {

// Records every notification in order. Posts are not coalesced here, so a
// test sees exactly what a handler asked for.
class FakeUiBus final : public UiBus {
  public:
    struct Note {
        UiTarget target;
        WindowMessage message;
        bool sent;  // Send (blocking) rather than Post
        intptr_t wparam;
        friend bool operator==(const Note&, const Note&) = default;
    };

    void Post(UiTarget target, WindowMessage message, intptr_t wparam = 0) override;
    void Send(UiTarget target, WindowMessage message, intptr_t wparam = 0) override;

    std::vector<Note> notes() const;
    // The messages posted or sent to `target`, in order.
    std::vector<WindowMessage> To(UiTarget target) const;
    void Clear();
    // Waits until `count` notifications of `message` have arrived.
    bool WaitFor(WindowMessage message, size_t count, std::chrono::milliseconds limit);
    // Called (outside the bus lock) for every Send, as the receiver would.
    void OnSend(std::function<void(const Note&)> handler);

  private:
    mutable std::mutex mutex_;
    std::condition_variable cv_;
    std::vector<Note> notes_;
    std::function<void(const Note&)> on_send_;
};

}  // namespace qavo::testing
