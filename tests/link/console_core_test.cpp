// The console core's start and stop over fake sockets.
#include "link/console_core.h"

#include <gtest/gtest.h>

#include <memory>
#include <thread>

#include "support/fake_prompter.h"
#include "support/fake_udp_socket.h"
#include "support/fake_ui_bus.h"

namespace qavo {
namespace {

using namespace std::chrono_literals;

TEST(ConsoleCore, DestroyedWhileDatagramsArriveItStopsItsThreadsFirst) {
    for (int round = 0; round < 10; ++round) {
        SCOPED_TRACE(round);
        // The bus outlives the core, as the windows' bus does.
        testing::FakeSocketFactory factory;
        testing::FakePrompter prompter;
        testing::FakeUiBus bus;
        auto core = std::make_unique<ConsoleCore>(
            ConsoleCoreDeps{factory, prompter, bus, Timings::Scaled(0.01), [](int) {}});
        core->Start(NetworkSettings{});
        ASSERT_EQ(factory.made.size(), 2u);
        // Both receive loops are busy with a burst of status datagrams.
        for (int i = 0; i < 300; ++i) {
            factory.made[0]->Inject({0, 1, 0, 0, 0, 0}, Endpoint{0x7F000001, 16888});
            factory.made[1]->Inject({0, 1, 0, 0, 0, 0}, Endpoint{0x7F000001, 16816});
        }
        ASSERT_TRUE(bus.WaitFor(WM_STATUS_CHANGED, 1, 5000ms));
        core.reset();
        // Nothing reaches the bus once the core is gone.
        const size_t notes = bus.notes().size();
        std::this_thread::sleep_for(5ms);
        EXPECT_EQ(bus.notes().size(), notes);
    }
}

TEST(ConsoleCore, StopEndsAWaitingJobsWaitAndIsSafeTwice) {
    testing::FakeSocketFactory factory;
    testing::FakePrompter prompter;
    testing::FakeUiBus bus;
    Timings patient;
    patient.ack_wait = 60000ms;  // the host never answers within a test's life
    ConsoleCore core(ConsoleCoreDeps{factory, prompter, bus, patient, [](int) {}});
    core.Start(NetworkSettings{});
    Job write;
    write.job_op = BLOCK_WRITE;
    write.job_param = kGroupsBlock;
    JobHandle ticket = core.jobs().Queue(write);
    Job after;
    after.job_op = ACK_RESET;
    JobHandle waiting = core.jobs().Queue(after);
    auto sent = [&] {
        std::lock_guard lock(factory.network->mutex);
        return factory.network->sent.size();
    };
    for (int i = 0; i < 5000 && sent() == 0; ++i)
        std::this_thread::sleep_for(1ms);
    core.Stop();
    core.Stop();
    EXPECT_FALSE(core.running());
    // The write ended at its first chunk and failed; the job behind it never ran.
    ASSERT_TRUE(ticket->job_done_event.IsSignalled());
    EXPECT_EQ(ticket->job_result, -1);
    EXPECT_FALSE(waiting->job_done_event.IsSignalled());
    EXPECT_EQ(sent(), 1u);
}

}  // namespace
}  // namespace qavo
