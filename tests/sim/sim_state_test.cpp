#include "sim_state.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>

namespace qavo::sim {
namespace {

SimOptions Options(unsigned hosts = 4, unsigned consoles = 4, unsigned groups = 8) {
    SimOptions o;
    o.host_count = hosts;
    o.paging_count = consoles;
    o.group_count = groups;
    return o;
}

TEST(SimStateSetup, ConfigurationFollowsTheOptions) {
    SimState state(Options(3, 5, 20));
    const ParamImage& image = state.image();
    EXPECT_EQ(image.host_count(), 3u);
    EXPECT_EQ(image.paging_count(), 5u);
    EXPECT_EQ(image.group_count(), 20u);
    for (unsigned h = 0; h < kMaxHosts; ++h) {
        const uint32_t fitted = h < 3 ? 0xFF : 0x00;
        EXPECT_EQ(image.Get(fields::zone_work_enable, h), fitted) << h;
        EXPECT_EQ(image.Get(fields::zone_detect_enable, h), fitted) << h;
    }
    std::set<std::string> names;
    for (unsigned g = 0; g < 20; ++g) {
        const std::string name = image.GetName(fields::group_name, g);
        EXPECT_FALSE(name.empty());
        EXPECT_LE(name.size(), 12u);
        names.insert(name);
        unsigned zones = 0;
        for (unsigned h = 0; h < kMaxHosts; ++h) {
            uint32_t mask = image.Get(fields::group_zones, g, h);
            if (h >= 3) {
                EXPECT_EQ(mask, 0u) << "group " << g << " host " << h;
            }
            zones += mask != 0;
        }
        EXPECT_GT(zones, 0u) << "group " << g << " has no zone";
    }
    EXPECT_EQ(names.size(), 20u);
}

TEST(SimStateSetup, EveryFittedHostStartsGood) {
    SimState state(Options(5, 2));
    const LiveStatus& live = state.live();
    EXPECT_EQ(live.system_flags, 0);
    for (unsigned h = 0; h < 5; ++h) {
        EXPECT_EQ(live.host_state[h], kHostAllGood) << h;
        EXPECT_EQ(live.host_config[h], h == 0 ? kMainHostConfig : kExpansionHostConfig);
        EXPECT_EQ(live.zone_lines[h], (std::array<uint8_t, 4>{}));
    }
    EXPECT_EQ(live.paging_state[0], kPagingOnline | kPagingNoFault);
    EXPECT_GT(live.qavo_message_count, 0);
    EXPECT_LE(live.impedance_level, 4);
}

TEST(SimStateSetup, PreloadedLogHoldsEveryKindInTimeOrder) {
    SimOptions o = Options(4, 4);
    o.log_size = 300;
    SimState state(o);
    const auto records = state.log().Records();
    ASSERT_EQ(records.size(), 300u);
    std::set<uint8_t> kinds;
    int64_t previous = 0;
    for (const LogRecord& r : records) {
        kinds.insert(r[0]);
        ClockTime t{2000 + r[2], r[3], r[4], r[5], r[6], r[7]};
        ASSERT_TRUE(IsValidClockTime(t));
        EXPECT_GE(ToSeconds(t), previous);
        previous = ToSeconds(t);
        if (r[0] == kEventAmplifier || r[0] == kEventZones || r[0] == kEventPower ||
            r[0] == kEventHostOnline) {
            EXPECT_GE(r[8], 1);
            EXPECT_LE(r[8], 4);
        }
    }
    EXPECT_EQ(kinds, (std::set<uint8_t>{1, 2, 3, 4, 5, 6, 7, 8, 9}));
    std::vector<uint8_t> area = state.log().Area();
    EXPECT_EQ(area.size(), kHostLogHeaderSize + 300 * kHostLogRecordSize);
    EXPECT_EQ(area[0] | (area[1] << 8), 300);
    EXPECT_TRUE(std::equal(records[5].begin(), records[5].end(), area.begin() + 4 + 5 * 14));
}

TEST(SimEventLog, KeepsTheNewestRecordsWhenFull) {
    EventLog log(3);
    for (uint8_t i = 1; i <= 5; ++i)
        log.Add(MakeRecord(ClockTime{2024, 1, 2, 3, 4, i}, i, {}));
    auto records = log.Records();
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records.front()[0], 3);
    EXPECT_EQ(records.back()[0], 5);
    EXPECT_EQ(records.back()[2], 24);
    EXPECT_EQ(records.back()[7], 5);
    log.Clear();
    EXPECT_EQ(log.Area(), (std::vector<uint8_t>{0, 0, 0, 0}));
}

TEST(SimStateStatus, MessagesAreSizedByTheCounts) {
    for (auto [hosts, consoles] : {std::pair{1u, 0u}, {4u, 4u}, {20u, 32u}}) {
        SCOPED_TRACE(hosts);
        SimState state(Options(hosts, consoles));
        EXPECT_EQ(state.InputStatus().size(), 4 + 2 * hosts);
        EXPECT_EQ(state.HostStatus(0).size(), 5 + 8 * hosts + 4 + consoles);
        EXPECT_EQ(state.HostStatus(1).size(), 5 + 1 + 4 + 3 + 1 + 1 + 1 + hosts);
        EXPECT_EQ(state.RelayStatus(1).size(), 10 + hosts);
    }
}

struct FaultCase {
    const char* name;
    std::function<bool(SimState&)> make;
    std::function<bool(SimState&)> clear;
    int host;  // whose summary bit drops, or -1
};
void PrintTo(const FaultCase& c, std::ostream* os) {
    *os << c.name;
}

class SimStateFaults : public ::testing::TestWithParam<FaultCase> {};

TEST_P(SimStateFaults, SetTheFaultFlagUntilCleared) {
    SimState state(Options());
    const FaultCase& c = GetParam();
    ASSERT_TRUE(c.make(state));
    EXPECT_EQ(state.live().system_flags & kFlagFault, kFlagFault);
    if (c.host >= 0) {
        EXPECT_EQ(state.live().host_state[c.host] & kHostNoFault, 0);
    }
    state.AckReset();
    EXPECT_EQ(state.live().system_flags, kFlagFault | kFlagFaultAcknowledged);
    ASSERT_TRUE(c.clear(state));
    EXPECT_EQ(state.live().system_flags, 0);
    if (c.host >= 0) {
        EXPECT_EQ(state.live().host_state[c.host], kHostAllGood);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, SimStateFaults,
    ::testing::Values(
        FaultCase{"LineShort",
                  [](SimState& s) { return s.SetLine(1, 7, SpeakerLine::kA, LineState::kShort); },
                  [](SimState& s) { return s.SetLine(1, 7, SpeakerLine::kA, LineState::kNormal); },
                  1},
        FaultCase{"LineOpen",
                  [](SimState& s) { return s.SetLine(0, 0, SpeakerLine::kB, LineState::kOpen); },
                  [](SimState& s) { return s.SetLine(0, 0, SpeakerLine::kB, LineState::kNormal); },
                  0},
        FaultCase{"ContactShort",
                  [](SimState& s) { return s.SetContact(2, 3, ContactState::kShort); },
                  [](SimState& s) { return s.SetContact(2, 3, ContactState::kNormal); }, 2},
        FaultCase{"ContactOpen",
                  [](SimState& s) { return s.SetContact(3, 0, ContactState::kOpen); },
                  [](SimState& s) { return s.SetContact(3, 0, ContactState::kNormal); }, 3},
        FaultCase{"HostOffline", [](SimState& s) { return s.SetHostOnline(3, false); },
                  [](SimState& s) { return s.SetHostOnline(3, true); }, 3},
        FaultCase{"AcPower", [](SimState& s) { return s.SetPower(0, false, false); },
                  [](SimState& s) { return s.SetPower(0, false, true); }, 0},
        FaultCase{"DcPower", [](SimState& s) { return s.SetPower(2, true, false); },
                  [](SimState& s) { return s.SetPower(2, true, true); }, 2},
        FaultCase{"MainAmplifier", [](SimState& s) { return s.SetAmplifier(1, false, false); },
                  [](SimState& s) { return s.SetAmplifier(1, false, true); }, 1},
        FaultCase{"SpareAmplifier", [](SimState& s) { return s.SetAmplifier(0, true, false); },
                  [](SimState& s) { return s.SetAmplifier(0, true, true); }, 0},
        FaultCase{"PagingFault",
                  [](SimState& s) { return s.SetPaging(3, PagingCondition::kFault); },
                  [](SimState& s) { return s.SetPaging(3, PagingCondition::kOk); }, -1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SimStateFaultFlags, ANewFaultClearsTheAcknowledgement) {
    SimState state(Options());
    state.SetLine(0, 1, SpeakerLine::kA, LineState::kOpen);
    state.AckReset();
    ASSERT_EQ(state.live().system_flags, kFlagFault | kFlagFaultAcknowledged);
    // The same line going from open to short is a new fault.
    state.SetLine(0, 1, SpeakerLine::kA, LineState::kShort);
    EXPECT_EQ(state.live().system_flags, kFlagFault);
    state.AckReset();
    // A fault going away leaves the acknowledgement of the others.
    state.SetPaging(0, PagingCondition::kFault);
    state.AckReset();
    state.SetPaging(0, PagingCondition::kOk);
    EXPECT_EQ(state.live().system_flags, kFlagFault | kFlagFaultAcknowledged);
}

TEST(SimStateFaultFlags, OfflineConsolesAndUnfittedEquipmentAreNoFault) {
    SimState state(Options(2, 2));
    EXPECT_TRUE(state.SetPaging(1, PagingCondition::kOffline));
    EXPECT_EQ(state.live().paging_state[1], 0);
    EXPECT_TRUE(state.SetLine(5, 0, SpeakerLine::kA, LineState::kOpen));  // host 6 not fitted
    EXPECT_TRUE(state.SetPaging(3, PagingCondition::kFault));             // console 4 not fitted
    EXPECT_EQ(state.live().system_flags, 0);
    state.AckReset();
    EXPECT_EQ(state.live().system_flags, 0);
}

TEST(SimStateEmergency, TriggeredContactPlaysItsMessageInEveryZone) {
    SimState state(Options(3));
    ASSERT_TRUE(state.SetContact(1, 0, ContactState::kTriggered));
    EXPECT_EQ(state.live().system_flags, kFlagEmergency);
    for (unsigned h = 0; h < 3; ++h) {
        EXPECT_EQ(state.live().audio_source[h], kSourceQavoMessage);
        EXPECT_EQ(state.live().zones_on_air[h], 0xFF);
    }
    EXPECT_EQ(state.live().zones_on_air[3], 0);
    EXPECT_EQ(state.log().Records().back()[0], kEventAlarm);
    EXPECT_EQ(state.log().Records().back()[8], kAlarmContact);
    // Emergency off stops the messages, but the contact keeps the mode.
    state.SetEmergency(true);
    state.SetEmergency(false);
    EXPECT_EQ(state.live().zones_on_air[0], 0);
    EXPECT_EQ(state.live().system_flags, kFlagEmergency);
    state.SetContact(1, 0, ContactState::kNormal);
    EXPECT_EQ(state.live().system_flags, 0);
    EXPECT_EQ(state.log().Records().back()[8], kAlarmContactRelease);
}

TEST(SimStateAudio, NonsenseIsRefusedAndChangesNothing) {
    SimState state(Options());
    const std::vector<uint8_t> masks(4, 0xFF);
    const LiveStatus before = state.live();
    EXPECT_FALSE(state.Audio(3, kSourceQavoMessage, masks));
    EXPECT_FALSE(state.Audio(1, 0x40, masks));
    EXPECT_FALSE(state.Audio(1, kSourceNone, masks));
    EXPECT_FALSE(state.Audio(2, kSourceAlertMessage, masks));  // action 2 is for line inputs
    EXPECT_EQ(state.live(), before);
}

TEST(SimStateAudio, LineInputWithoutZonesReplacesWhatIsPlaying) {
    SimState state(Options());
    ASSERT_TRUE(state.Audio(1, kSourceAlertMessage, std::vector<uint8_t>{0x03, 0, 0, 0}));
    ASSERT_TRUE(state.Audio(2, kSourceLineBase + 2, std::vector<uint8_t>{0, 0, 0, 0}));
    EXPECT_EQ(state.live().audio_source[0], kSourceLineBase + 2);
    EXPECT_EQ(state.live().zones_on_air[0], 0x03);
    EXPECT_EQ(state.live().audio_source[1], kSourceNone);
}

TEST(SimStateBlocks, ChunksMustFitAWritableBlock) {
    SimState state(Options());
    const std::vector<uint8_t> two = {0xAB, 0xCD};
    EXPECT_TRUE(state.WriteBlock(kAudioPriorityBlock, 173, two));
    EXPECT_EQ(state.image().Block(kAudioPriorityBlock)[174], 0xCD);
    const ParamImage before = state.image();
    EXPECT_FALSE(state.WriteBlock(kAudioPriorityBlock, 174, two));
    EXPECT_FALSE(state.WriteBlock(kAudioPriorityBlock, 0xFFFFFFFF, two));
    EXPECT_FALSE(state.WriteBlock(kReservedBlock, 0, two));
    EXPECT_FALSE(state.WriteBlock(kBlockCount, 0, two));
    EXPECT_EQ(state.image(), before);
}

TEST(SimClockTime, SecondsRoundTripAcrossLeapDays) {
    for (ClockTime t : {ClockTime{2000, 2, 29, 23, 59, 59}, ClockTime{2018, 3, 5, 14, 7, 9},
                        ClockTime{2099, 12, 31, 0, 0, 0}, ClockTime{1970, 1, 1, 0, 0, 0}}) {
        EXPECT_EQ(FromSeconds(ToSeconds(t)), t);
    }
    EXPECT_EQ(
        ToSeconds(ClockTime{2000, 3, 1, 0, 0, 0}) - ToSeconds(ClockTime{2000, 2, 28, 0, 0, 0}),
        2 * 86400);
    EXPECT_FALSE(IsValidClockTime(ClockTime{2019, 2, 29, 0, 0, 0}));
    EXPECT_FALSE(IsValidClockTime(ClockTime{2020, 13, 1, 0, 0, 0}));
    EXPECT_TRUE(IsValidClockTime(ClockTime{2020, 2, 29, 0, 0, 0}));
}

}  // namespace
}  // namespace qavo::sim
