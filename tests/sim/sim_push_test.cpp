// Status pushed on changes, and the silent, drop and delay modes.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "link/frame.h"
#include "sim_test_client.h"

namespace qavo::sim::testing {
namespace {

class SimPushTest : public SimFixture {
  protected:
    // The pushed pair: INPUT_STATUS, then a full HOST_STATUS.
    HostStatusSections NextPush(TestClient& client) {
        Bytes input = client.Next();
        EXPECT_FALSE(input.empty());
        if (!input.empty()) {
            EXPECT_EQ(input[0], INPUT_STATUS);
        }
        Bytes status = client.Next();
        auto s = ParseHostStatus(status, 4, 4);
        EXPECT_TRUE(s.has_value());
        if (!s) return {};
        EXPECT_EQ(s->selector, 0);
        if (input.size() > 3) {
            EXPECT_EQ(input[3], s->flags);
        }
        return *s;
    }
};

TEST_F(SimPushTest, NothingIsPushedBeforeARequest) {
    StartSim();
    EXPECT_EQ(sim_->Command("push").rfind("error:", 0), 0u);
    EXPECT_FALSE(sim_->LastRequester().has_value());
}

TEST_F(SimPushTest, LineFaultIsPushedWithTheFaultBitAndItsNibble) {
    StartSim();
    client_->DrainWithHeartbeat();
    ASSERT_EQ(sim_->Command("line 2 3 B open").rfind("ok", 0), 0u);
    HostStatusSections s = NextPush(*client_);
    EXPECT_EQ(s.flags & kFlagFault, kFlagFault);
    ASSERT_EQ(s.zone_lines.size(), 16u);
    // Host 2, zone 3: byte 1 of its four, low nibble, line B in bits 2-3.
    EXPECT_EQ(s.zone_lines[4 + 1], 0x08);
    EXPECT_EQ(s.host_state[1] & kHostNoFault, 0);
    EXPECT_EQ(s.host_state[0] & kHostNoFault, kHostNoFault);
    LogRecord last = sim_->EventRecords().back();
    EXPECT_EQ(last[0], kEventZones);
    EXPECT_EQ(last[8], 2);
    EXPECT_EQ(last[10], 0x08);
}

TEST_F(SimPushTest, PushGoesToTheLastRequesterOnly) {
    StartSim();
    TestClient other(sim_->port());
    client_->DrainWithHeartbeat();
    other.DrainWithHeartbeat();
    ASSERT_EQ(sim_->Command("contact 1 2 short").rfind("ok", 0), 0u);
    NextPush(other);
    EXPECT_TRUE(client_->DrainWithHeartbeat().empty());
}

TEST_F(SimPushTest, FaultAcknowledgementFollowsTheFaults) {
    StartSim();
    client_->DrainWithHeartbeat();
    ASSERT_EQ(sim_->Command("host 3 offline").rfind("ok", 0), 0u);
    EXPECT_EQ(NextPush(*client_).flags, kFlagFault);

    client_->Send({ACK_RESET, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    EXPECT_EQ(client_->Next(), (Bytes{ACK_RESET, 0, 0}));
    EXPECT_EQ(NextPush(*client_).flags, kFlagFault | kFlagFaultAcknowledged);

    // A new fault wants a new acknowledgement.
    ASSERT_EQ(sim_->Command("paging 2 fault").rfind("ok", 0), 0u);
    HostStatusSections s = NextPush(*client_);
    EXPECT_EQ(s.flags, kFlagFault);
    EXPECT_EQ(s.paging_state[1], kPagingOnline | kPagingFault);

    ASSERT_EQ(sim_->Command("host 3 online").rfind("ok", 0), 0u);
    EXPECT_EQ(NextPush(*client_).flags, kFlagFault);
    ASSERT_EQ(sim_->Command("paging 2 ok").rfind("ok", 0), 0u);
    EXPECT_EQ(NextPush(*client_).flags, 0);

    ASSERT_EQ(sim_->Command("emergency on").rfind("ok", 0), 0u);
    EXPECT_EQ(NextPush(*client_).flags, kFlagEmergency);
}

TEST_F(SimPushTest, SilentAnswersNothingUntilItSpeaksAgain) {
    StartSim();
    ASSERT_EQ(sim_->Command("silent on").rfind("ok", 0), 0u);
    client_->Send(ReadStatus());
    client_->Send(Heartbeat());
    EXPECT_TRUE(client_->NothingWithin(300));
    ASSERT_EQ(sim_->Command("silent off").rfind("ok", 0), 0u);
    EXPECT_TRUE(client_->DrainWithHeartbeat().empty());
}

TEST_F(SimPushTest, DropEverythingAnswersNothing) {
    StartSim();
    ASSERT_EQ(sim_->Command("drop 1.0").rfind("ok", 0), 0u);
    client_->Send(ReadStatus());
    client_->Send(Heartbeat());
    EXPECT_TRUE(client_->NothingWithin(300));
    ASSERT_EQ(sim_->Command("drop 0").rfind("ok", 0), 0u);
    EXPECT_TRUE(client_->DrainWithHeartbeat().empty());
}

TEST_F(SimPushTest, DelayedAnswerIsOvertakenByOneSentWithoutDelay) {
    StartSim();
    ASSERT_EQ(sim_->Command("delay 2000").rfind("ok", 0), 0u);
    client_->Send(Heartbeat());
    // Once the sim knows its requester it has queued the (delayed) reply.
    for (int i = 0; i < 500 && !sim_->LastRequester(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ASSERT_TRUE(sim_->LastRequester().has_value());
    ASSERT_EQ(sim_->Command("delay 0").rfind("ok", 0), 0u);
    client_->Send({IMPEDANCE, 0, 0, 0, 0});
    Bytes first = client_->Next();
    ASSERT_FALSE(first.empty());
    EXPECT_EQ(first[0], IMPEDANCE_LEVEL);
    Bytes second = client_->Next();
    ASSERT_FALSE(second.empty());
    EXPECT_EQ(second[0], HEARTBEAT_REPLY);
}

}  // namespace
}  // namespace qavo::sim::testing
