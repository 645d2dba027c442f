#include "platform/notification_coalescer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace qavo {
namespace {

TEST(NotificationCoalescer, OnePendingPerTargetAndMessage) {
    NotificationCoalescer c;
    EXPECT_TRUE(c.MarkPending(UiTarget::kActiveView, WM_STATUS_CHANGED));
    EXPECT_FALSE(c.MarkPending(UiTarget::kActiveView, WM_STATUS_CHANGED));
    // Other messages and other targets are independent.
    EXPECT_TRUE(c.MarkPending(UiTarget::kActiveView, WM_FLAGS_CHANGED));
    EXPECT_TRUE(c.MarkPending(UiTarget::kMainWindow, WM_STATUS_CHANGED));
    c.MarkHandled(UiTarget::kActiveView, WM_STATUS_CHANGED);
    EXPECT_FALSE(c.IsPending(UiTarget::kActiveView, WM_STATUS_CHANGED));
    EXPECT_TRUE(c.MarkPending(UiTarget::kActiveView, WM_STATUS_CHANGED));
}

TEST(NotificationCoalescer, EveryTargetAndMessageHasAFlagOfItsOwn) {
    NotificationCoalescer c;
    // Were two pairs to share a flag, the second would find it pending.
    for (int t = 0; t < kUiTargetCount; ++t) {
        for (WindowMessage m : kAllWindowMessages) {
            EXPECT_TRUE(c.MarkPending(static_cast<UiTarget>(t), m)) << t << " " << m;
        }
    }
    // A value outside the table is never coalesced, nor mistaken for another.
    const auto unknown = static_cast<WindowMessage>(kLastWindowMessage + 1);
    EXPECT_TRUE(c.MarkPending(UiTarget::kActiveView, unknown));
    EXPECT_TRUE(c.MarkPending(UiTarget::kActiveView, unknown));
    EXPECT_FALSE(c.IsPending(UiTarget::kActiveView, unknown));
}

TEST(NotificationCoalescer, AFloodFromManyThreadsQueuesExactlyOne) {
    NotificationCoalescer c;
    std::atomic<int> queued{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < 10000; ++i) {
                if (c.MarkPending(UiTarget::kActiveView, WM_STATUS_CHANGED)) ++queued;
            }
        });
    }
    for (auto& t : threads)
        t.join();
    EXPECT_EQ(queued.load(), 1);
}

}  // namespace
}  // namespace qavo
