#include "platform/auto_reset_event.h"

#include <gtest/gtest.h>

#include <thread>

namespace qavo {
namespace {

using std::chrono::milliseconds;

TEST(AutoResetEvent, OneSignalReleasesOneWaitThenResets) {
    AutoResetEvent event;
    EXPECT_FALSE(event.WaitFor(milliseconds(1)));
    event.Signal();
    event.Signal();  // a second signal before the wait changes nothing
    EXPECT_TRUE(event.WaitFor(milliseconds(1)));
    EXPECT_FALSE(event.WaitFor(milliseconds(1)));
}

TEST(AutoResetEvent, ClearDropsAPendingSignal) {
    AutoResetEvent event;
    event.Signal();
    EXPECT_TRUE(event.IsSignalled());
    event.Clear();
    EXPECT_FALSE(event.WaitFor(milliseconds(1)));
}

TEST(AutoResetEvent, SignalFromAnotherThreadWakesTheWaiter) {
    AutoResetEvent event;
    std::thread t([&] { event.Signal(); });
    EXPECT_TRUE(event.WaitFor(milliseconds(5000)));
    t.join();
    std::thread u([&] { event.Signal(); });
    event.Wait();
    u.join();
    EXPECT_FALSE(event.IsSignalled());
}

}  // namespace
}  // namespace qavo
