// The state list lines and the host detail dialog's texts, colours and
// relay states, decided without widgets.
#include "console/state_logic.h"

#include <gtest/gtest.h>

namespace qavo {
namespace {

constexpr const char* kSep = "  |  ";

std::string Join(std::initializer_list<const char*> items) {
    std::string text;
    for (const char* item : items) {
        if (!text.empty()) text += kSep;
        text += item;
    }
    return text + "        ...";
}

TEST(StateListText, HostLinesFollowTheStateAndTheFittedEquipment) {
    struct Case {
        const char* what;
        unsigned host;
        uint8_t state;
        uint8_t config;
        std::string detail;
    };
    const Case cases[] = {
        {"main host all good", 0, 0xFF, 0x0B,
         Join({"Device online: online", "AC power: normal", "DC power: normal",
               "MIC state of emergency(PTT): normal", "Main amplifier: normal",
               "Spare amplifier: normal", "SD card online: normal"})},
        {"main host all bad, equipment fitted", 0, 0x00, 0x0A,
         Join({"Device online: offline", "AC power: fault", "DC power: fault",
               "MIC state of emergency(PTT): fault", "Main amplifier: fault",
               "Spare amplifier: fault", "SD card online: fault"})},
        {"main host without DC supply or spare amplifier", 0, 0x00, 0x01,
         Join({"Device online: offline", "AC power: fault", "DC power: none",
               "MIC state of emergency(PTT): fault", "Main amplifier: fault",
               "Spare amplifier: none", "SD card online: fault"})},
        // The expansion hosts' fitted bits mean nothing on the main host.
        {"main host with the expansion bits", 0, 0x00, 0x60,
         Join({"Device online: offline", "AC power: fault", "DC power: none",
               "MIC state of emergency(PTT): fault", "Main amplifier: fault",
               "Spare amplifier: none", "SD card online: fault"})},
        {"expansion host, five items", 1, 0x41, 0x60,
         Join({"Device online: online", "AC power: normal", "DC power: fault",
               "Main amplifier: fault", "Spare amplifier: fault"})},
        {"expansion host without DC supply or spare amplifier", 4, 0x00, 0x00,
         Join({"Device online: offline", "AC power: fault", "DC power: none",
               "Main amplifier: fault", "Spare amplifier: none"})},
        {"expansion host with the main host's bits", 19, 0x00, 0x0A,
         Join({"Device online: offline", "AC power: fault", "DC power: none",
               "Main amplifier: fault", "Spare amplifier: none"})},
        // A good bit shows normal whether or not the equipment is fitted;
        // the PTT and SD card bits are not shown for expansion hosts.
        {"expansion host good, nothing fitted", 2, 0x1B, 0x00,
         Join({"Device online: offline", "AC power: normal", "DC power: normal",
               "Main amplifier: normal", "Spare amplifier: normal"})},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(HostDetailText(c.host, c.state, c.config), c.detail) << c.what;
    }
}

TEST(StateListText, PagingLinesShowOnlineFaultAndType) {
    struct Case {
        uint8_t state;
        uint8_t type;
        const char* detail;
    };
    const Case cases[] = {
        {0x09, 0, "Device online: online  |  normal  |  remote paging"},
        {0x01, 1, "Device online: online  |  normal  |  fire paging"},
        {0x02, 2, "Device online: offline  |  fault  |  touch paging"},
        {0x03, 0xFF, "Device online: online  |  fault  |  touch paging"},
        {0xF4, 1, "Device online: offline  |  normal  |  fire paging"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PagingDetailText(c.state, c.type), c.detail)
            << int(c.state) << "/" << int(c.type);
    }
}

// Two hosts and three paging consoles with mixed states.
StateSnapshot MixedSystem() {
    StateSnapshot s;
    s.host_count = 2;
    s.paging_count = 3;
    s.host_state[0] = 0xFF;
    s.host_config[0] = 0x0B;
    s.host_state[1] = 0x41;
    s.host_config[1] = 0x60;
    s.paging_state = {0x09, 0x02, 0x0B};
    s.paging_type = {0, 1, 7};
    return s;
}

TEST(StateListRows, HostsThenConsolesWithTheirImages) {
    const StateSnapshot s = MixedSystem();
    const std::vector<StateRow> rows = BuildStateRows(s);
    const std::vector<std::pair<const char*, StateImage>> expected = {
        {"                    Host 01", kStateGood},  {"                    Host 02", kStateFault},
        {"                    Panig 01", kStateGood}, {"                    Panig 02", kStateFault},
        {"                    Panig 03", kStateGood},
    };
    ASSERT_EQ(rows.size(), expected.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].id_text, expected[i].first) << i;
        EXPECT_EQ(rows[i].image, expected[i].second) << i;
    }
    EXPECT_EQ(rows[0].detail, HostDetailText(0, 0xFF, 0x0B));
    EXPECT_EQ(rows[1].detail, HostDetailText(1, 0x41, 0x60));
    EXPECT_EQ(rows[4].detail, "Device online: online  |  fault  |  touch paging");
}

TEST(StateListRows, CountsDecideWhichLinesThereAre) {
    struct Case {
        const char* what;
        unsigned hosts;
        unsigned consoles;
        size_t host_rows;
        size_t console_rows;
    };
    const Case cases[] = {
        {"no paging consoles", 2, 0, 2, 0},
        {"no hosts", 0, 3, 0, 3},
        {"nothing", 0, 0, 0, 0},
        {"full system", 20, 32, 20, 32},
        {"counts beyond the arrays", 200, 99, 20, 32},
    };
    for (const Case& c : cases) {
        StateSnapshot s = MixedSystem();
        s.host_count = c.hosts;
        s.paging_count = c.consoles;
        const std::vector<StateRow> rows = BuildStateRows(s);
        ASSERT_EQ(rows.size(), c.host_rows + c.console_rows) << c.what;
        for (size_t i = 0; i < rows.size(); ++i) {
            const bool host_row = i < c.host_rows;
            const unsigned number = static_cast<unsigned>(host_row ? i : i - c.host_rows) + 1;
            char id[48];
            std::snprintf(id, sizeof id, "                    %s %.2u", host_row ? "Host" : "Panig",
                          number);
            EXPECT_EQ(rows[i].id_text, id) << c.what << " row " << i;
        }
    }
}

TEST(StateListRows, SnapshotBoundsTheCountsAndReadsTheTypes) {
    ParamImage image;
    LiveStatus live;
    image.Set(fields::host_count, 255);
    image.Set(fields::paging_count, 1000);
    image.Set(fields::paging_type, 1, 31);
    live.host_state[19] = 0x80;
    live.host_config[7] = 0x60;
    live.paging_state[31] = 0x0B;
    const StateSnapshot s = TakeStateSnapshot(image, live);
    EXPECT_EQ(s.host_count, kMaxHosts);
    EXPECT_EQ(s.paging_count, kMaxPagingConsoles);
    EXPECT_EQ(s.paging_type[31], 1);
    EXPECT_EQ(s.host_state[19], 0x80);
    EXPECT_EQ(s.host_config[7], 0x60);
    const std::vector<StateRow> rows = BuildStateRows(s);
    ASSERT_EQ(rows.size(), kMaxHosts + kMaxPagingConsoles);
    EXPECT_EQ(rows[19].image, kStateGood);
    EXPECT_EQ(rows.back().detail, "Device online: online  |  fault  |  fire paging");
}

// ---- host detail dialog ----

const ValueText kBlank{"", kNormalColour};
ValueText Blue(const char* text) {
    return {text, kNormalColour};
}
ValueText Orange(const char* text) {
    return {text, kFaultColour};
}

TEST(HostDetail, GeneralValuesFollowBitsFittingAndSupervision) {
    struct Case {
        const char* what;
        unsigned host;
        uint8_t main_config;  // host_config[0]
        uint8_t config;       // host_config[host]
        uint8_t state;
        std::array<ValueText, 7> values;  // 1321, 1322, 1323, 1359, 1326, 1324, 1325
        bool main_rows_enabled;
    };
    const Case cases[] = {
        {"main host all good",
         0,
         0x0B,
         0x0B,
         0xFF,
         {Blue("Online"), Blue("Normal"), Blue("Normal"), Blue("Normal"), Blue("Normal"),
          Blue("Normal"), Blue("Normal")},
         true},
        {"main host all bad",
         0,
         0x0B,
         0x0B,
         0x00,
         {Orange("Offline"), Orange("Fault"), Orange("Fault"), Orange("Fault"), Orange("Fault"),
          Orange("Fault"), Orange("Fault")},
         true},
        // Without supervision the general values read good, but the SD card
        // and the microphone still follow their bits (in blue).
        {"main host, supervision clear",
         0,
         0x0A,
         0x0A,
         0x00,
         {Blue("Online"), Blue("Normal"), Blue("Normal"), Blue("Normal"), Blue("Normal"),
          Blue("Fault"), Blue("Fault")},
         true},
        {"main host, supervision clear, nothing fitted",
         0,
         0x00,
         0x00,
         0x24,
         {Blue("Online"), Blue("Normal"), Blue("None"), Blue("Normal"), Blue("None"),
          Blue("Normal"), Blue("Normal")},
         true},
        {"main host, DC not fitted and its bit clear",
         0,
         0x09,
         0x09,
         0x10,
         {Orange("Offline"), Orange("Fault"), Blue("None"), Orange("Fault"), Blue("Normal"),
          Orange("Fault"), Orange("Fault")},
         true},
        {"expansion host all bad, nothing fitted",
         1,
         0x01,
         0x00,
         0x00,
         {Orange("Offline"), Orange("Fault"), Blue("None"), Orange("Fault"), Blue("None"), kBlank,
          kBlank},
         false},
        {"expansion host all good, fitted",
         5,
         0x01,
         0x60,
         0x5B,
         {Blue("Online"), Blue("Normal"), Blue("Normal"), Blue("Normal"), Blue("Normal"), kBlank,
          kBlank},
         false},
        {"expansion host, fitted, faults, supervision clear",
         19,
         0x00,
         0x60,
         0x00,
         {Blue("Online"), Blue("Normal"), Blue("Normal"), Blue("Normal"), Blue("Normal"), kBlank,
          kBlank},
         false},
        // The expansion host's own bits 5 and 6 say what is fitted.
        {"expansion host with the main host's fitted bits",
         2,
         0x01,
         0x0A,
         0x00,
         {Orange("Offline"), Orange("Fault"), Blue("None"), Orange("Fault"), Blue("None"), kBlank,
          kBlank},
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        HostDetailInput in;
        in.host = c.host;
        in.main_host_config = c.main_config;
        in.host_config = c.config;
        in.host_state = c.state;
        const HostDetail d = BuildHostDetail(in);
        for (size_t i = 0; i < 7; ++i) {
            EXPECT_EQ(d.general[i].value, c.values[i]) << kGeneralRows[i].value_id;
            const bool main_only = i == kSdCardRow || i == kPttRow;
            EXPECT_EQ(d.general[i].enabled, !main_only || c.main_rows_enabled)
                << kGeneralRows[i].value_id;
        }
    }
}

TEST(HostDetail, CaptionAndRowLabels) {
    EXPECT_EQ(HostDetailCaption(0), "Host 01 detailed status");
    EXPECT_EQ(HostDetailCaption(19), "Host 20 detailed status");
    HostDetailInput in;
    in.host = 6;
    EXPECT_EQ(BuildHostDetail(in).caption, "Host 07 detailed status");
    EXPECT_STREQ(kGeneralRows[0].label, "Device onlines status");
    EXPECT_STREQ(kGeneralRows[3].label, "Main amplifier  states");
    EXPECT_STREQ(kGeneralRows[kSdCardRow].label, "SD card status");
    EXPECT_STREQ(kGeneralRows[kPttRow].label, "Emergency microphone statu ( PTT )");
}

TEST(HostDetail, LineAndInputValues) {
    const std::pair<unsigned, ValueText> lines[] = {
        {0, Blue("Normal")}, {1, Orange("Short")}, {2, Orange("Open")}, {3, Blue("Normal")}};
    for (const auto& [value, expected] : lines)
        EXPECT_EQ(ZoneLineValue(value), expected) << value;
    const std::pair<unsigned, ValueText> inputs[] = {{0, Blue("Normal")},
                                                     {1, Orange("Short")},
                                                     {2, Orange("Open")},
                                                     {3, {"Trigger", kTriggerColour}}};
    for (const auto& [value, expected] : inputs)
        EXPECT_EQ(ContactInputValue(value), expected) << value;
    EXPECT_EQ(kFaultColour, (TextColour{255, 102, 0}));
    EXPECT_EQ(kTriggerColour, (TextColour{255, 0, 0}));
    EXPECT_EQ(kNormalColour, (TextColour{0, 0, 255}));
}

TEST(HostDetail, ZoneLinesInputsAndRelaysComeFromTheirBits) {
    struct Case {
        const char* what;
        std::array<uint8_t, 4> zone_lines;
        uint16_t contacts;
        uint8_t relays;
        std::array<const char*, 8> a, b, inputs;
        std::array<bool, 8> relay_states;
    };
    const Case cases[] = {
        {"nothing wrong",
         {0, 0, 0, 0},
         0x0000,
         0x00,
         {"Normal", "Normal", "Normal", "Normal", "Normal", "Normal", "Normal", "Normal"},
         {"Normal", "Normal", "Normal", "Normal", "Normal", "Normal", "Normal", "Normal"},
         {"Normal", "Normal", "Normal", "Normal", "Normal", "Normal", "Normal", "Normal"},
         {}},
        {"zone 4 line B open, input 8 triggered, relays 1 and 8",
         {0x00, 0x80, 0x00, 0x00},
         0xC000,
         0x81,
         {"Normal", "Normal", "Normal", "Normal", "Normal", "Normal", "Normal", "Normal"},
         {"Normal", "Normal", "Normal", "Open", "Normal", "Normal", "Normal", "Normal"},
         {"Normal", "Normal", "Normal", "Normal", "Normal", "Normal", "Normal", "Trigger"},
         {true, false, false, false, false, false, false, true}},
        {"every nibble position",
         {0x39, 0x6C, 0x40, 0x81},
         0x001B,
         0xA5,
         {"Short", "Normal", "Normal", "Open", "Normal", "Normal", "Short", "Normal"},
         {"Open", "Normal", "Normal", "Short", "Normal", "Short", "Normal", "Open"},
         {"Trigger", "Open", "Short", "Normal", "Normal", "Normal", "Normal", "Normal"},
         {true, false, true, false, false, true, false, true}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        HostDetailInput in;
        in.zone_lines = c.zone_lines;
        in.contact_inputs = c.contacts;
        in.relay_outputs = c.relays;
        const HostDetail d = BuildHostDetail(in);
        for (size_t i = 0; i < 8; ++i) {
            EXPECT_EQ(d.line_a[i].text, c.a[i]) << "zone " << i + 1;
            EXPECT_EQ(d.line_b[i].text, c.b[i]) << "zone " << i + 1;
            EXPECT_EQ(d.inputs[i].text, c.inputs[i]) << "input " << i + 1;
            EXPECT_EQ(d.line_a[i], ZoneLineValue((c.zone_lines[i / 2] >> (i % 2 * 4)) & 3));
            EXPECT_EQ(d.inputs[i], ContactInputValue((c.contacts >> (2 * i)) & 3));
        }
        EXPECT_EQ(d.relays, c.relay_states);
    }
}

TEST(HostDetail, InputTakesTheHostsFieldsAndNothingBeyondTheArrays) {
    LiveStatus live;
    live.host_config[0] = 0x01;
    live.host_state[3] = 0x5A;
    live.host_config[3] = 0x20;
    live.zone_lines[3] = {1, 2, 3, 4};
    live.contact_inputs[3] = 0xBEEF;
    live.relay_outputs[3] = 0x3C;
    const HostDetailInput in = TakeHostDetailInput(live, 3);
    EXPECT_EQ(in.host, 3u);
    EXPECT_EQ(in.main_host_config, 0x01);
    EXPECT_EQ(in.host_state, 0x5A);
    EXPECT_EQ(in.host_config, 0x20);
    EXPECT_EQ(in.zone_lines, (std::array<uint8_t, 4>{1, 2, 3, 4}));
    EXPECT_EQ(in.contact_inputs, 0xBEEF);
    EXPECT_EQ(in.relay_outputs, 0x3C);

    const HostDetailInput beyond = TakeHostDetailInput(live, kMaxHosts);
    EXPECT_EQ(beyond.main_host_config, 0x01);
    EXPECT_EQ(beyond.host_state, 0);
    EXPECT_EQ(beyond.relay_outputs, 0);
}

TEST(HostDetail, RelayByteFromTheCheckBoxes) {
    const std::pair<std::array<bool, 8>, uint8_t> cases[] = {
        {{}, 0x00},
        {{true, true, true, true, true, true, true, true}, 0xFF},
        {{true, false, false, false, false, false, false, false}, 0x01},
        {{false, false, false, false, false, false, false, true}, 0x80},
        {{true, false, true, false, false, true, false, true}, 0xA5},
    };
    for (const auto& [checked, byte] : cases) {
        EXPECT_EQ(RelayByte(checked), byte);
        HostDetailInput in;
        in.relay_outputs = byte;
        EXPECT_EQ(BuildHostDetail(in).relays, checked);  // and back
    }
}

}  // namespace
}  // namespace qavo
