// Standard-input commands, applied to a simulator that is not started.
#include <gtest/gtest.h>

#include <cctype>
#include <functional>

#include "sim_host.h"

namespace qavo::sim {
namespace {

SimOptions QuietOptions() {
    SimOptions o;
    o.port = 0;
    o.diagnostics = [](const std::string&) {};
    return o;
}

bool IsOk(const std::string& reply) {
    return reply.rfind("ok:", 0) == 0;
}

class SimBadCommand : public ::testing::TestWithParam<const char*> {};

TEST_P(SimBadCommand, GetsAOneLineErrorAndChangesNothing) {
    SimHost sim(QuietOptions());
    const LiveStatus live = sim.Live();
    const ParamImage blocks = sim.Blocks();
    const size_t events = sim.EventRecords().size();
    const std::string reply = sim.Command(GetParam());
    EXPECT_EQ(reply.rfind("error: ", 0), 0u) << reply;
    EXPECT_EQ(reply.find('\n'), std::string::npos) << reply;
    EXPECT_EQ(sim.Live(), live);
    EXPECT_EQ(sim.Blocks(), blocks);
    EXPECT_EQ(sim.EventRecords().size(), events);
    EXPECT_FALSE(sim.QuitRequested());
}

INSTANTIATE_TEST_SUITE_P(
    Table, SimBadCommand,
    ::testing::Values(
        "frobnicate", "line", "line 1 1 a", "line 5 1 a open", "line 0 1 a open", "line 1 9 a open",
        "line 1 1 c open", "line 1 1 a broken", "line x 1 a open", "line 1 1 a open extra",
        "contact 1 9 short", "contact 1 1 shorted", "host 0 online", "host 1 sleeping",
        "power 1 mains ok", "power 1 ac good", "amp 1 back ok", "amp 9 main ok", "paging 5 ok",
        "paging 0 ok", "paging 1 dead", "emergency maybe", "emergency", "silent yes", "drop 1.5",
        "drop -0.1", "drop x", "drop", "delay -1", "delay 70000", "delay 1.5", "log 0", "log 5001",
        "log many", "push now", "push", "status now", "firmware", "firmware 127.0.0.1",
        "firmware 127.0.0.9 ready off", "firmware 127.0.0 ready off",
        "firmware 127.0.0.1 ready maybe", "firmware 127.0.0.1 ready", "firmware 127.0.0.1 lose",
        "firmware 127.0.0.1 lose x", "firmware 127.0.0.1 lose 65536", "firmware 127.0.0.1 lose 1 0",
        "firmware 127.0.0.1 lose 1 often", "firmware 127.0.0.1 lose 1 2 3",
        "firmware 127.0.0.1 normal now", "firmware 127.0.0.1 explode"));

struct GoodCommand {
    const char* command;
    std::function<bool(const LiveStatus&)> holds;
};
void PrintTo(const GoodCommand& c, std::ostream* os) {
    *os << c.command;
}

class SimGoodCommand : public ::testing::TestWithParam<GoodCommand> {};

TEST_P(SimGoodCommand, ChangesTheState) {
    SimHost sim(QuietOptions());
    EXPECT_TRUE(IsOk(sim.Command(GetParam().command)));
    EXPECT_TRUE(GetParam().holds(sim.Live())) << GetParam().command;
    // The same again changes nothing more and says so.
    const LiveStatus after = sim.Live();
    EXPECT_NE(sim.Command(GetParam().command).find("already"), std::string::npos);
    EXPECT_EQ(sim.Live(), after);
}

INSTANTIATE_TEST_SUITE_P(
    Table, SimGoodCommand,
    ::testing::Values(
        GoodCommand{"line 4 8 A short",
                    [](const LiveStatus& l) {
                        return l.ZoneLine(3, 7, SpeakerLine::kA) == LineState::kShort &&
                               l.zone_lines[3][3] == 0x10 && (l.system_flags & kFlagFault);
                    }},
        GoodCommand{"LINE 1 2 b OPEN",
                    [](const LiveStatus& l) { return l.zone_lines[0][0] == 0x80; }},
        GoodCommand{"contact 2 8 triggered",
                    [](const LiveStatus& l) {
                        return l.contact_inputs[1] == 0xC000 && (l.system_flags & kFlagEmergency);
                    }},
        GoodCommand{"contact 3 1 open",
                    [](const LiveStatus& l) {
                        return l.Contact(2, 0) == ContactState::kOpen &&
                               l.system_flags == kFlagFault;
                    }},
        GoodCommand{"emergency on",
                    [](const LiveStatus& l) { return l.system_flags == kFlagEmergency; }},
        GoodCommand{"host 2 offline",
                    [](const LiveStatus& l) {
                        return l.host_state[1] == (kHostAllGood & ~(kHostOnline | kHostNoFault));
                    }},
        GoodCommand{"power 1 dc fault",
                    [](const LiveStatus& l) {
                        return !(l.host_state[0] & kHostDcPower) &&
                               (l.host_state[0] & kHostAcPower);
                    }},
        GoodCommand{"amp 4 main fault",
                    [](const LiveStatus& l) { return !(l.host_state[3] & kHostMainAmplifier); }},
        GoodCommand{"paging 4 offline",
                    [](const LiveStatus& l) { return l.paging_state[3] == 0; }}),
    [](const auto& info) {
        std::string name;
        for (const char* p = info.param.command; *p; ++p) {
            if (std::isalnum(static_cast<unsigned char>(*p))) name += *p;
        }
        return name;
    });

TEST(SimCommands, LogAddsStampedEvents) {
    SimHost sim(QuietOptions());
    const size_t before = sim.EventRecords().size();
    EXPECT_TRUE(IsOk(sim.Command("log 25")));
    auto records = sim.EventRecords();
    ASSERT_EQ(records.size(), before + 25);
    for (size_t i = before; i < records.size(); ++i) {
        EXPECT_GE(records[i][0], 1);
        EXPECT_LE(records[i][0], 9);
        EXPECT_GE(records[i][3], 1);  // month
    }
}

TEST(SimCommands, HelpStatusQuitAndBlankLines) {
    SimHost sim(QuietOptions());
    EXPECT_EQ(sim.Command("help"), SimCommandHelp());
    EXPECT_EQ(sim.Command("   "), "");
    ASSERT_TRUE(IsOk(sim.Command("line 2 1 a open")));
    const std::string status = sim.Command("status");
    EXPECT_NE(status.find("fault"), std::string::npos) << status;
    EXPECT_NE(status.find("host 02: state 0x7F"), std::string::npos) << status;
    EXPECT_FALSE(sim.QuitRequested());
    EXPECT_TRUE(IsOk(sim.Command("quit")));
    EXPECT_TRUE(sim.QuitRequested());
}

// Each firmware fault shows in the status of its own device only, and
// "normal" clears them.
TEST(SimCommands, FirmwareFaultsApplyToOneDevice) {
    SimOptions o = QuietOptions();
    o.devices = {SimDevice{0x7F000002, 1, 0}, SimDevice{0x7F000003, 2, 5}};
    SimHost sim(o);
    struct Step {
        const char* command;
        const char* device2;  // what the status says of 127.0.0.2 afterwards
        const char* device3;
    };
    const Step steps[] = {
        {"firmware 127.0.0.2 ready off", "version 1.0, never ready\n", "version 2.5\n"},
        {"firmware 127.0.0.3 lose 4", "version 1.0, never ready\n",
         "version 2.5, loses chunk 4 1 more time(s)\n"},
        {"firmware 127.0.0.3 lose 0 always", "version 1.0, never ready\n",
         "version 2.5, loses chunk 0 every time\n"},
        {"firmware 127.0.0.2 ready on", "version 1.0\n", "version 2.5, loses chunk 0 every time\n"},
        {"firmware 127.0.0.3 normal", "version 1.0\n", "version 2.5\n"},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.command);
        EXPECT_TRUE(IsOk(sim.Command(step.command)));
        const std::string status = sim.Command("status");
        EXPECT_NE(status.find(std::string("device 127.0.0.2 ") + step.device2), std::string::npos)
            << status;
        EXPECT_NE(status.find(std::string("device 127.0.0.3 ") + step.device3), std::string::npos)
            << status;
    }
    EXPECT_NE(sim.Command("firmware 127.0.0.3 normal").find("already"), std::string::npos);
    EXPECT_FALSE(sim.FirmwareReportOf(0x7F000002).has_value());
    EXPECT_FALSE(sim.FirmwareReportOf(0x7F000009).has_value());
}

TEST(SimCommands, StartRefusesTwoDevicesAtOneAddress) {
    SimOptions o = QuietOptions();
    o.devices = {SimDevice{0x7F000002, 1, 0}, SimDevice{0x7F000002, 2, 0}};
    SimHost sim(o);
    std::string error;
    EXPECT_FALSE(sim.Start(&error));
    EXPECT_NE(error.find("two devices"), std::string::npos) << error;
}

}  // namespace
}  // namespace qavo::sim
