#include "model/live_status.h"

#include <gtest/gtest.h>

namespace qavo {
namespace {

TEST(LiveStatus, Defaults) {
    LiveStatus live;
    EXPECT_EQ(live.system_flags, 0);
    EXPECT_EQ(live.qavo_message_count, 1);
    EXPECT_EQ(live.alert_message_count, 1);
    EXPECT_EQ(live.prompt_voice_count, 2);
    EXPECT_EQ(live.message_count, 0);
    EXPECT_EQ(live.impedance_level, 3);
    EXPECT_TRUE(live.link_up);
    EXPECT_EQ(live.host_log.size(), 70004u);
    EXPECT_EQ(live.HostLogRecordCount(), 0u);
}

TEST(LiveStatus, ContactInputsTwoBitsEach) {
    LiveStatus live;
    live.contact_inputs[2] = 0xC000;
    EXPECT_EQ(live.Contact(2, 7), ContactState::kTriggered);
    for (unsigned i = 0; i < 7; ++i)
        EXPECT_EQ(live.Contact(2, i), ContactState::kNormal);
    live.contact_inputs[0] = 0x0009;  // input 1 short, input 2 open
    EXPECT_EQ(live.Contact(0, 0), ContactState::kShort);
    EXPECT_EQ(live.Contact(0, 1), ContactState::kOpen);
}

TEST(LiveStatus, ZoneLinesOneNibblePerZone) {
    struct Case {
        uint8_t byte1;
        LineState zone4_b;
    };
    for (Case c : {Case{0x80, LineState::kOpen}, Case{0x40, LineState::kShort}}) {
        LiveStatus live;
        live.zone_lines[5] = {0, c.byte1, 0, 0};
        EXPECT_EQ(live.ZoneLine(5, 3, SpeakerLine::kB), c.zone4_b);
        EXPECT_EQ(live.ZoneLine(5, 3, SpeakerLine::kA), LineState::kNormal);
        for (unsigned z = 0; z < 8; ++z) {
            if (z == 3) continue;
            EXPECT_EQ(live.ZoneLine(5, z, SpeakerLine::kA), LineState::kNormal);
            EXPECT_EQ(live.ZoneLine(5, z, SpeakerLine::kB), LineState::kNormal);
        }
    }
    LiveStatus live;
    live.zone_lines[0] = {0x02, 0, 0, 0x10};  // zone 1 line A open, zone 8 line A short
    EXPECT_EQ(live.ZoneLine(0, 0, SpeakerLine::kA), LineState::kOpen);
    EXPECT_EQ(live.ZoneLine(0, 7, SpeakerLine::kA), LineState::kShort);
}

TEST(LiveStatus, HostLogCountIsBoundedByTheArea) {
    LiveStatus live;
    live.host_log[0] = 0xFF;
    live.host_log[1] = 0xFF;
    EXPECT_EQ(live.HostLogRecordCount(), 5000u);
    live.host_log[0] = 0x88;
    live.host_log[1] = 0x13;
    EXPECT_EQ(live.HostLogRecordCount(), 5000u);
    live.host_log[0] = 3;
    live.host_log[1] = 0;
    EXPECT_EQ(live.HostLogRecordCount(), 3u);
}

TEST(LiveStatus, StateItemImageFollowsTheFaultBit) {
    EXPECT_EQ(StateItemImage(0), 1);
    EXPECT_EQ(StateItemImage(kFlagFault), 10);
    EXPECT_EQ(StateItemImage(kFlagEmergency | kFlagFaultAcknowledged), 1);
}

}  // namespace
}  // namespace qavo
