// Each request of the console gets the answer the console relies on.
#include <gtest/gtest.h>

#include "link/frame.h"
#include "sim_test_client.h"

namespace qavo::sim::testing {
namespace {

class SimRequestsTest : public SimFixture {};

// Requests answered first by a plain acknowledgement {op, 0, 0}.
struct AckCase {
    const char* name;
    Bytes request;
};
void PrintTo(const AckCase& c, std::ostream* os) {
    *os << c.name;
}

class SimAckTest : public SimFixture, public ::testing::WithParamInterface<AckCase> {};

TEST_P(SimAckTest, FirstAnswerIsAnAcknowledgementOfTheOp) {
    StartSim();
    const Bytes& request = GetParam().request;
    client_->Send(request);
    EXPECT_EQ(client_->Next(), (Bytes{request[0], 0, 0}));
}

INSTANTIATE_TEST_SUITE_P(
    Requests, SimAckTest,
    ::testing::Values(AckCase{"ReadStatus", {READ_STATUS, 0, 0, 0, 255}},
                      AckCase{"AckReset", {ACK_RESET, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
                      AckCase{"LogClear", {LOG_COMMAND, 0, 0, 1}},
                      AckCase{"LogRead", {LOG_COMMAND, 0, 0, 0}},
                      AckCase{"AudioStop", {AUDIO_CONTROL, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF}},
                      AckCase{"CellCommand", {CELL_COMMAND, 0, 0, 0, 2}},
                      AckCase{"SetClock", {SET_CLOCK, 0, 0, 0x07, 0xE2, 3, 5, 14, 7, 9}},
                      AckCase{"NetParamsQuery", {NET_PARAMS, 0, 0, 0}},
                      AckCase{"NetParams",
                              {NET_PARAMS, 0, 0, 1, 8, 99, 168, 192, 0, 255, 255, 255, 1, 99, 168,
                               192, 0x41, 0xF8}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SimRequestsTest, ReadStatusReportsEveryHostAndConsole) {
    SimOptions options = DefaultOptions();
    options.host_count = 3;
    options.paging_count = 5;
    StartSim(options);
    ASSERT_EQ(sim_->Command("line 2 4 b short").rfind("ok", 0), 0u);
    ASSERT_EQ(sim_->Command("contact 3 8 triggered").rfind("ok", 0), 0u);
    client_->Send(ReadStatus());
    EXPECT_EQ(client_->Next(), (Bytes{READ_STATUS, 0, 0}));
    const LiveStatus live = sim_->Live();

    Bytes input = client_->Next();
    Bytes expected_input = {INPUT_STATUS, input.size() > 1 ? input[1] : uint8_t{0}, 0,
                            live.system_flags};
    for (unsigned h = 0; h < 3; ++h) {
        expected_input.push_back(static_cast<uint8_t>(live.contact_inputs[h]));
        expected_input.push_back(static_cast<uint8_t>(live.contact_inputs[h] >> 8));
    }
    EXPECT_NE(expected_input[1], 0);
    EXPECT_EQ(input, expected_input);
    EXPECT_EQ(live.contact_inputs[2], 0xC000);

    Bytes status = client_->Next();
    ASSERT_GE(status.size(), 5u);
    EXPECT_EQ(status[4], 0x7F);
    auto s = ParseHostStatus(status, 3, 5);
    ASSERT_TRUE(s.has_value()) << "HOST_STATUS of " << status.size() << " bytes";
    EXPECT_EQ(s->selector, 0);
    EXPECT_EQ(s->flags, live.system_flags);
    EXPECT_EQ(s->host_state, Bytes(live.host_state.begin(), live.host_state.begin() + 3));
    EXPECT_EQ(s->counts, (Bytes{live.qavo_message_count, live.alert_message_count,
                                live.prompt_voice_count, live.message_count}));
    Bytes lines;
    for (unsigned h = 0; h < 3; ++h)
        lines.insert(lines.end(), live.zone_lines[h].begin(), live.zone_lines[h].end());
    EXPECT_EQ(s->zone_lines, lines);
    EXPECT_EQ(s->zone_lines[4 + 1], 0x40);  // host 2, zone 4: line B short, high nibble
    EXPECT_EQ(s->audio_source, Bytes(live.audio_source.begin(), live.audio_source.begin() + 3));
    EXPECT_EQ(s->zones_on_air, Bytes(live.zones_on_air.begin(), live.zones_on_air.begin() + 3));
    EXPECT_EQ(s->paging_state, Bytes(live.paging_state.begin(), live.paging_state.begin() + 5));
    EXPECT_EQ(s->host_config, Bytes(live.host_config.begin(), live.host_config.begin() + 3));
}

TEST_F(SimRequestsTest, ReadStatusForOneHostSendsThatHostsEntries) {
    StartSim();
    ASSERT_EQ(sim_->Command("amp 2 spare fault").rfind("ok", 0), 0u);
    client_->Send(ReadStatus(2));
    EXPECT_EQ(client_->Next(), (Bytes{READ_STATUS, 0, 0}));
    EXPECT_EQ(client_->Next()[0], INPUT_STATUS);
    const LiveStatus live = sim_->Live();
    auto s = ParseHostStatus(client_->Next(), 4, 4);
    ASSERT_TRUE(s.has_value());
    EXPECT_EQ(s->selector, 2);
    EXPECT_EQ(s->host_state, Bytes{live.host_state[1]});
    EXPECT_EQ(s->host_state[0] & (kHostSpareAmplifier | kHostNoFault), 0);
    EXPECT_EQ(s->zone_lines, Bytes(live.zone_lines[1].begin(), live.zone_lines[1].begin() + 3));
    EXPECT_EQ(s->paging_state, Bytes{live.paging_state[1]});
    EXPECT_EQ(s->host_config.size(), 4u);
}

TEST_F(SimRequestsTest, SetRelaysAppliesTheByteAndAnswersRelayStatus) {
    StartSim();
    client_->Send({SET_RELAYS, 0, 2, 0, 0, 0, 1, 0, 0, 0, 0x05});
    Bytes answer = client_->Next();
    ASSERT_EQ(answer.size(), 10u + 4);
    EXPECT_EQ(answer[0], RELAY_STATUS);
    EXPECT_NE(answer[1], 0);
    EXPECT_EQ(answer[10 + 1], 0x05);
    EXPECT_EQ(answer[10 + 0], 0x00);
    EXPECT_EQ(sim_->Live().relay_outputs[1], 0x05);
    // The change is pushed as well.
    EXPECT_EQ(client_->Next()[0], INPUT_STATUS);
    EXPECT_EQ(client_->Next()[0], HOST_STATUS);
}

TEST_F(SimRequestsTest, HeartbeatGetsItsReplyAndNoAcknowledgement) {
    StartSim();
    client_->Send(Heartbeat());
    Bytes reply = client_->Next();
    ASSERT_GE(reply.size(), 3u);
    EXPECT_EQ(reply[0], HEARTBEAT_REPLY);
    EXPECT_EQ(reply[1], 1);
    EXPECT_EQ(reply[2], 0);
}

TEST_F(SimRequestsTest, ImpedanceReportsAndSetsTheLevel) {
    StartSim();
    client_->Send({IMPEDANCE, 0, 0, 0, 0});
    Bytes report = client_->Next();
    ASSERT_EQ(report.size(), 5u);
    EXPECT_EQ(report[0], IMPEDANCE_LEVEL);
    EXPECT_NE(report[1], 0);
    EXPECT_EQ(report[4], sim_->Live().impedance_level);

    client_->Send({IMPEDANCE, 0, 0, 1, 1});
    EXPECT_EQ(client_->Next()[4], 1);
    EXPECT_EQ(sim_->Live().impedance_level, 1);
    client_->Send({IMPEDANCE, 0, 0, 1, 9});  // above the range: the highest level
    EXPECT_EQ(client_->Next()[4], 4);
}

TEST_F(SimRequestsTest, DiscoverIsAnsweredByEveryDeviceFromTheHostSocket) {
    SimOptions options = DefaultOptions();
    options.devices = {SimDevice{0x7F000001, 1, 0}, SimDevice{0x7F000002, 2, 3}};
    StartSim(options);
    client_->Send({DISCOVER, 0, 0});
    auto first = client_->Receive();
    auto second = client_->Receive();
    ASSERT_TRUE(first && second);
    EXPECT_EQ(first->data, (Bytes{DEVICE_INFO, 1, 0, 127, 0, 0, 1, 1, 0}));
    EXPECT_EQ(second->data, (Bytes{DEVICE_INFO, 1, 0, 127, 0, 0, 2, 2, 3}));
    EXPECT_EQ(first->from.address, 0x7F000001u);
    EXPECT_EQ(second->from.address, 0x7F000001u);
}

TEST_F(SimRequestsTest, SetClockKeepsAValidMomentOnly) {
    StartSim();
    client_->Send({SET_CLOCK, 0, 0, 0x07, 0xE2, 2, 30, 10, 0, 0});  // 30 February
    EXPECT_EQ(client_->Next(), (Bytes{SET_CLOCK, 0, 0}));
    client_->DrainWithHeartbeat();
    EXPECT_FALSE(sim_->ClockSetTo().has_value());
    client_->Send({SET_CLOCK, 0, 0, 0x07, 0xE2, 3, 5, 14, 7, 9});
    EXPECT_EQ(client_->Next(), (Bytes{SET_CLOCK, 0, 0}));
    client_->DrainWithHeartbeat();
    EXPECT_EQ(sim_->ClockSetTo(), (ClockTime{2018, 3, 5, 14, 7, 9}));
}

TEST_F(SimRequestsTest, NetParamsAreReportedNotApplied) {
    StartSim();
    EXPECT_FALSE(sim_->LastNetParams().has_value());
    client_->Send({NET_PARAMS, 0, 0, 0});  // a query changes nothing
    EXPECT_EQ(client_->Next(), (Bytes{NET_PARAMS, 0, 0}));
    EXPECT_FALSE(sim_->LastNetParams().has_value());
    client_->Send(
        {NET_PARAMS, 0, 0, 1, 8, 99, 168, 192, 0, 255, 255, 255, 1, 99, 168, 192, 0x41, 0xF8});
    EXPECT_EQ(client_->Next(), (Bytes{NET_PARAMS, 0, 0}));
    client_->DrainWithHeartbeat();
    EXPECT_TRUE(
        DiagnosticContains("address 192.168.99.8, mask 255.255.255.0, gateway "
                           "192.168.99.1, port 16888"));
    // Recorded by the time the acknowledgement comes, with its sender.
    auto first = sim_->LastNetParams();
    ASSERT_TRUE(first.has_value());
    EXPECT_EQ(first->address, 0xC0A86308u);
    EXPECT_EQ(first->mask, 0xFFFFFF00u);
    EXPECT_EQ(first->gateway, 0xC0A86301u);
    EXPECT_EQ(first->port, 16888);
    EXPECT_EQ(first->from.address, 0x7F000001u);
    EXPECT_EQ(first->from.port, client_->local().port);

    // The next one replaces it; the simulator still listens where it was.
    client_->Send({NET_PARAMS, 0, 0, 1, 2, 0, 0, 127, 0, 0, 0, 255, 1, 0, 0, 127, 0x42, 0x00});
    EXPECT_EQ(client_->Next(), (Bytes{NET_PARAMS, 0, 0}));
    EXPECT_EQ(sim_->LastNetParams(),
              (NetParamsRequest{0x7F000002, 0xFF000000, 0x7F000001, 0x4200, first->from}));
}

TEST_F(SimRequestsTest, WhatIsNoRequestGetsNoAnswer) {
    StartSim();
    for (const Bytes& junk : {Bytes{HOST_STATUS, 1, 0, 0, 0x7F}, Bytes{3, 0, 0}, Bytes{200, 0, 0},
                              Bytes{READ_STATUS, 0}, Bytes{SET_RELAYS, 0, 1, 0}}) {
        client_->Send(junk);
    }
    // The heartbeat reply is the first thing to come back.
    EXPECT_TRUE(client_->DrainWithHeartbeat().empty());
    EXPECT_TRUE(DiagnosticContains("unknown request op 200"));
    EXPECT_TRUE(DiagnosticContains("too short"));
}

TEST_F(SimRequestsTest, AudioControlStartsInInstalledZonesAndStops) {
    StartSim();
    // Host 2 has only zones 1 to 4 installed.
    Bytes equipment = BlockOf(*sim_, kEquipmentBlock);
    equipment[fields::zone_work_enable.At(1)] = 0x0F;
    client_->Send(BlockWriteChunk(kEquipmentBlock, 0, 0, equipment));
    EXPECT_EQ(client_->Next(), (Bytes{BLOCK_WRITE, 0, 0}));

    client_->Send(AudioControl(1, kSourceQavoMessage, {0x01, 0xFF, 0x00, 0x00}));
    EXPECT_EQ(client_->Next(), (Bytes{AUDIO_CONTROL, 0, 0}));
    EXPECT_EQ(client_->Next()[0], INPUT_STATUS);
    auto s = ParseHostStatus(client_->Next(), 4, 4);
    ASSERT_TRUE(s.has_value());
    EXPECT_EQ(s->zones_on_air, (Bytes{0x01, 0x0F, 0x00, 0x00}));
    EXPECT_EQ(s->audio_source, (Bytes{kSourceQavoMessage, kSourceQavoMessage, 0, 0}));
    EXPECT_TRUE(s->flags & kFlagEmergency);

    client_->Send(AudioControl(0, kSourceNone, {0x01, 0xFF, 0x00, 0x00}));
    EXPECT_EQ(client_->Next(), (Bytes{AUDIO_CONTROL, 0, 0}));
    EXPECT_EQ(client_->Next()[0], INPUT_STATUS);
    s = ParseHostStatus(client_->Next(), 4, 4);
    ASSERT_TRUE(s.has_value());
    EXPECT_EQ(s->zones_on_air, (Bytes{0, 0, 0, 0}));
    EXPECT_EQ(s->audio_source, (Bytes{0, 0, 0, 0}));
    EXPECT_FALSE(s->flags & kFlagEmergency);
}

TEST_F(SimRequestsTest, CellCommandSwitchesThatZone) {
    StartSim();
    client_->Send({CELL_COMMAND, 0, 0, 1, 4});  // host 2, zone 3
    EXPECT_EQ(client_->Next(), (Bytes{CELL_COMMAND, 0, 0}));
    client_->DrainWithHeartbeat();
    EXPECT_EQ(sim_->Live().zones_on_air[1], 0x04);
    client_->Send({CELL_COMMAND, 0, 0, 1, 4});
    EXPECT_EQ(client_->Next(), (Bytes{CELL_COMMAND, 0, 0}));
    client_->DrainWithHeartbeat();
    EXPECT_EQ(sim_->Live().zones_on_air[1], 0x00);
}

TEST_F(SimRequestsTest, AckResetAcknowledgesAPresentFaultAndIsLogged) {
    StartSim();
    client_->Send({ACK_RESET, 0, 0, 0, 0, 0, 0, 0, 0, 0});  // nothing to acknowledge
    EXPECT_EQ(client_->Next(), (Bytes{ACK_RESET, 0, 0}));
    EXPECT_EQ(client_->Next()[0], INPUT_STATUS);
    auto s = ParseHostStatus(client_->Next(), 4, 4);
    ASSERT_TRUE(s.has_value());
    EXPECT_EQ(s->flags, 0);

    ASSERT_EQ(sim_->Command("power 3 ac fault").rfind("ok", 0), 0u);
    client_->DrainWithHeartbeat();
    client_->Send({ACK_RESET, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    EXPECT_EQ(client_->Next(), (Bytes{ACK_RESET, 0, 0}));
    Bytes input = client_->Next();
    ASSERT_GE(input.size(), 4u);
    EXPECT_EQ(input[3], kFlagFault | kFlagFaultAcknowledged);
    LogRecord last = sim_->EventRecords().back();
    EXPECT_EQ(last[0], kEventAckReset);
    EXPECT_EQ(last[8], kResetFromConsole);
}

TEST_F(SimRequestsTest, ASecondSimulatorCannotTakeTheSamePort) {
    StartSim();
    SimOptions options = DefaultOptions();
    options.port = sim_->port();
    options.diagnostics = [](const std::string&) {};
    SimHost second(options);
    std::string error;
    EXPECT_FALSE(second.Start(&error));
    EXPECT_NE(error.find("cannot listen on 127.0.0.1:" + std::to_string(sim_->port())),
              std::string::npos)
        << error;
    // The first one still answers.
    EXPECT_TRUE(client_->DrainWithHeartbeat().empty());
}

}  // namespace
}  // namespace qavo::sim::testing
