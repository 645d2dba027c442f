#include "model/link_supervision.h"

#include <gtest/gtest.h>

namespace qavo {
namespace {

struct TickCount {
    int heartbeats = 0;
    int shown = 0;
};

TickCount Ticks(LinkSupervision& s, int n, bool logged_in = true) {
    TickCount run;
    for (int i = 0; i < n; ++i) {
        auto r = s.Tick(logged_in);
        run.heartbeats += r.send_heartbeat;
        run.shown += r.show_link_state;
    }
    return run;
}

TEST(LinkSupervision, HeartbeatEveryThirdTick) {
    SystemModel model;
    LinkSupervision s(model);
    EXPECT_EQ(Ticks(s, 2).heartbeats, 0);
    EXPECT_EQ(Ticks(s, 1).heartbeats, 1);
    EXPECT_EQ(Ticks(s, 9).heartbeats, 3);
}

TEST(LinkSupervision, SilentHostGoesDownOnTheFourthStepAndStaysDown) {
    SystemModel model;
    LinkSupervision s(model);
    TickCount before = Ticks(s, 11);  // three heartbeat steps, then two ticks
    EXPECT_EQ(before.shown, 0);
    EXPECT_TRUE(model.live.link_up);
    TickCount fourth = Ticks(s, 1);  // the 12th second: the fourth step
    EXPECT_EQ(fourth.shown, 1);
    EXPECT_EQ(fourth.heartbeats, 1);
    EXPECT_FALSE(model.live.link_up);
    TickCount later = Ticks(s, 60);
    EXPECT_EQ(later.shown, 0);
    EXPECT_FALSE(model.live.link_up);
}

TEST(LinkSupervision, RepliesKeepTheLinkUpAndOneReplyBringsItBack) {
    SystemModel model;
    LinkSupervision s(model);
    for (int i = 0; i < 40; ++i) {
        Ticks(s, 3);
        EXPECT_FALSE(s.OnHeartbeatReply());  // already up: nothing to show
    }
    EXPECT_TRUE(model.live.link_up);
    Ticks(s, 12);
    EXPECT_FALSE(model.live.link_up);
    EXPECT_TRUE(s.OnHeartbeatReply());
    EXPECT_TRUE(model.live.link_up);
    EXPECT_EQ(model.live.missed_heartbeats, 0);
}

TEST(LinkSupervision, NothingWhileLoggedOut) {
    SystemModel model;
    LinkSupervision s(model);
    TickCount run = Ticks(s, 100, /*logged_in=*/false);
    EXPECT_EQ(run.heartbeats, 0);
    EXPECT_EQ(run.shown, 0);
    EXPECT_TRUE(model.live.link_up);
    EXPECT_EQ(model.live.heartbeat_divider, 0);
}

}  // namespace
}  // namespace qavo
