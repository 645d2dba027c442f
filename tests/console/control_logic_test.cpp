#include "console/control_logic.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <string>

#include "link/frame.h"

namespace qavo {
namespace {

// ---- zone cell images ----

struct CellCase {
    const char* name;
    uint8_t present;
    uint8_t on_air;
    uint8_t source;
    std::array<uint8_t, 4> lines;
    unsigned zone;
    CellImage expected;
};

class ZoneCellImageTest : public ::testing::TestWithParam<CellCase> {};

TEST_P(ZoneCellImageTest, ImageFollowsLiveState) {
    const CellCase& c = GetParam();
    LiveStatus live;
    const unsigned host = 4;
    live.zones_on_air[host] = c.on_air;
    live.audio_source[host] = c.source;
    live.zone_lines[host] = c.lines;
    EXPECT_EQ(ZoneCellImage(live, host, c.zone, c.present), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    States, ZoneCellImageTest,
    ::testing::Values(
        CellCase{"idle", 0xFF, 0, 0, {}, 0, kCellIdle},
        CellCase{"not_present", 0xFE, 0, 0, {}, 0, kCellNotInstalled},
        CellCase{"not_present_wins_over_on_air", 0x00, 0xFF, 0x22, {}, 5, kCellNotInstalled},
        CellCase{"on_air_qavo", 0xFF, 0x04, 0x22, {}, 2, kCellOnAirMessage},
        CellCase{"on_air_alert", 0xFF, 0x04, 0x23, {}, 2, kCellOnAirMessage},
        CellCase{"on_air_line_input", 0xFF, 0x04, 0x27, {}, 2, kCellOnAir},
        CellCase{"on_air_no_source", 0xFF, 0x04, 0x00, {}, 2, kCellOnAir},
        CellCase{"other_zone_on_air", 0xFF, 0x08, 0x22, {}, 2, kCellIdle},
        CellCase{"line_a_short_even_zone", 0xFF, 0, 0, {0, 0x01, 0, 0}, 2, kCellLineFault},
        CellCase{"line_b_open_odd_zone", 0xFF, 0, 0, {0, 0x80, 0, 0}, 3, kCellLineFault},
        CellCase{"fault_of_neighbour_only", 0xFF, 0, 0, {0, 0x80, 0, 0}, 2, kCellIdle},
        CellCase{"fault_of_even_neighbour", 0xFF, 0, 0, {0, 0x01, 0, 0}, 3, kCellIdle},
        CellCase{"last_zone_fault", 0xFF, 0, 0, {0, 0, 0, 0x20}, 7, kCellLineFault},
        CellCase{"on_air_wins_over_fault", 0xFF, 0x80, 0x25, {0, 0, 0, 0x20}, 7, kCellOnAir},
        CellCase{
            "message_wins_over_fault", 0xFF, 0x01, 0x23, {0x0A, 0, 0, 0}, 0, kCellOnAirMessage}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- a small system: three hosts, three groups ----

void SetGroupName(ParamImage& image, unsigned g, const char* name) {
    uint8_t* p = image.Block(kGroupsBlock).data() + fields::group_name.At(g);
    std::memset(p, 0, kNameSize);
    std::memcpy(p, name, std::strlen(name));
}

ParamImage SmallSystem() {
    ParamImage image;  // defaults: every zone of every host in every group
    image.Set(fields::host_count, 3);
    image.Set(fields::group_count, 3);
    image.Set(fields::zone_work_enable, 0xFF, 0);
    image.Set(fields::zone_work_enable, 0x0F, 1);
    image.Set(fields::zone_work_enable, 0x00, 2);
    const uint8_t zones[3][3] = {{0x03, 0x00, 0x00}, {0x10, 0x01, 0x00}, {0x00, 0x00, 0x80}};
    for (unsigned g = 0; g < 3; ++g) {
        for (unsigned h = 0; h < 3; ++h)
            image.Set(fields::group_zones, zones[g][h], g, h);
    }
    SetGroupName(image, 0, "Lobby");
    SetGroupName(image, 1, "Hall B");
    SetGroupName(image, 2, "Garage");
    return image;
}

ZoneMask Mask(std::initializer_list<uint8_t> bytes) {
    ZoneMask mask{};
    std::copy(bytes.begin(), bytes.end(), mask.begin());
    return mask;
}

TEST(ControlSelectionTest, AllZonesIsTheWorkingZonesOfTheCountedHosts) {
    // zone_work_enable of hosts 3 to 19 stays 0xFF: beyond the host count.
    EXPECT_EQ(AllZonesSelection(SmallSystem()), Mask({0xFF, 0x0F, 0x00}));
}

TEST(ControlSelectionTest, GroupSelectionOrsTheSelectedGroupsOverCountedHosts) {
    ParamImage image = SmallSystem();
    image.Set(fields::group_zones, 0xFF, 1, 5);  // host 6 is not counted
    const std::vector<unsigned> one{1}, two{0, 1}, all{0, 1, 2}, beyond{2, 3, 119};
    EXPECT_EQ(GroupSelection(image, one), Mask({0x10, 0x01, 0x00}));
    EXPECT_EQ(GroupSelection(image, two), Mask({0x13, 0x01, 0x00}));
    EXPECT_EQ(GroupSelection(image, all), Mask({0x13, 0x01, 0x80}));
    EXPECT_EQ(GroupSelection(image, beyond), Mask({0x00, 0x00, 0x80}));
    EXPECT_EQ(GroupSelection(image, {}), ZoneMask{});
}

TEST(ControlSelectionTest, CountsOutOfRangeAreBounded) {
    ParamImage image;
    image.Set(fields::host_count, 200);
    image.Set(fields::group_count, 250);
    ZoneMask all;
    all.fill(0xFF);
    EXPECT_EQ(AllZonesSelection(image), all);
    const std::vector<unsigned> last{119};
    EXPECT_EQ(GroupSelection(image, last), all);
    EXPECT_EQ(BuildGroupRows(image, CodePage{}).size(), kMaxGroups);
    EXPECT_EQ(BuildZoneRows(image, LiveStatus{}, all, false).size(), kMaxHosts);
}

TEST(ControlListTest, GroupRowsCarryNumberAndName) {
    const auto rows = BuildGroupRows(SmallSystem(), CodePage{});
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0], (GroupRow{"      01", "Lobby"}));
    EXPECT_EQ(rows[2], (GroupRow{"      03", "Garage"}));

    ParamImage image;
    image.Set(fields::group_count, 120);
    EXPECT_EQ(BuildGroupRows(image, CodePage{}).back().id_text, "      120");
    image.Set(fields::group_count, 0);
    EXPECT_TRUE(BuildGroupRows(image, CodePage{}).empty());
}

// Group names are stored as 12 bytes of text at most (then a NUL, or
// whatever the 13th byte holds) in the console's code page.
struct GroupNameCase {
    const char* code_page;
    std::array<uint8_t, kNameSize> stored;
    std::string shown;  // UTF-8
};

class GroupNameTest : public ::testing::TestWithParam<GroupNameCase> {};

TEST_P(GroupNameTest, NameIsDecodedWithTheCodePage) {
    const GroupNameCase& c = GetParam();
    ParamImage image = SmallSystem();
    std::copy(c.stored.begin(), c.stored.end(),
              image.Block(kGroupsBlock).begin() + fields::group_name.At(1));
    const auto rows = BuildGroupRows(image, CodePage(c.code_page));
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[1], (GroupRow{"      02", c.shown}));
    EXPECT_EQ(rows[0].name, "Lobby");
}

INSTANTIATE_TEST_SUITE_P(
    CodePages, GroupNameTest,
    ::testing::Values(
        GroupNameCase{"gbk", {0xD6, 0xD0, 0xCE, 0xC4, 0}, "\u4e2d\u6587"},
        // Twelve bytes of text; the 13th byte is not part of the name.
        GroupNameCase{
            "gbk",
            {0xD6, 0xD0, 0xCE, 0xC4, 0xD6, 0xD0, 0xCE, 0xC4, 0xD6, 0xD0, 0xCE, 0xC4, 0xD6},
            "\u4e2d\u6587\u4e2d\u6587\u4e2d\u6587"},
        GroupNameCase{"windows-1252", {'C', 'a', 'f', 0xE9, ' ', 0x80, 0}, "Caf\u00e9 \u20ac"},
        // The same bytes read in another code page give other text.
        GroupNameCase{"windows-1252", {0xD6, 0xD0, 0xCE, 0xC4, 0}, "\u00d6\u00d0\u00ce\u00c4"}));

TEST(ControlListTest, AllZonesViewListsEveryHostWithEightZones) {
    const ParamImage image = SmallSystem();
    LiveStatus live;
    live.zones_on_air[0] = 0x02;
    live.audio_source[0] = 0x22;
    live.zone_lines[1][0] = 0x04;  // host 2, zone 1, line B short
    const auto rows = BuildZoneRows(image, live, AllZonesSelection(image), false);
    ASSERT_EQ(rows.size(), 3u);
    for (unsigned h = 0; h < 3; ++h) {
        EXPECT_EQ(rows[h].host, h);
        ASSERT_EQ(rows[h].cells.size(), 8u);
        for (unsigned z = 0; z < 8; ++z) {
            EXPECT_EQ(rows[h].cells[z].zone, z);
            EXPECT_EQ(rows[h].cells[z].text, "ZONE 0" + std::to_string(z + 1));
        }
    }
    EXPECT_EQ(rows[1].host_text, "    02");
    EXPECT_EQ(rows[0].cells[0].image, kCellIdle);
    EXPECT_EQ(rows[0].cells[1].image, kCellOnAirMessage);
    EXPECT_EQ(rows[1].cells[0].image, kCellLineFault);
    EXPECT_EQ(rows[1].cells[3].image, kCellIdle);
    EXPECT_EQ(rows[1].cells[4].image, kCellNotInstalled);  // not working on host 2
    for (const ZoneCell& cell : rows[2].cells)
        EXPECT_EQ(cell.image, kCellNotInstalled);
}

TEST(ControlListTest, GroupViewPacksTheShownZonesOfHostsWithAny) {
    const ParamImage image = SmallSystem();
    LiveStatus live;
    live.zones_on_air[0] = 0x10;
    live.audio_source[0] = 0x25;
    const auto rows = BuildZoneRows(image, live, Mask({0x11, 0x00, 0x80}), true);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].host_text, "    01");
    EXPECT_EQ(rows[0].cells,
              (std::vector<ZoneCell>{{0, "ZONE 01", kCellIdle}, {4, "ZONE 05", kCellOnAir}}));
    // Host 3 works no zone at all: its shown zone wears the no-entry sign.
    EXPECT_EQ(rows[1].host, 2u);
    EXPECT_EQ(rows[1].host_text, "    03");
    EXPECT_EQ(rows[1].cells, (std::vector<ZoneCell>{{7, "ZONE 08", kCellNotInstalled}}));
    EXPECT_TRUE(BuildZoneRows(image, live, ZoneMask{}, true).empty());
}

// ---- the group list ----

TEST(ControlPanelTest, GroupListClicksMoveBetweenGroupAndAllZonesViews) {
    const ParamImage image = SmallSystem();
    ControlPanel panel;
    panel.ShowAllZones(image);
    EXPECT_EQ(panel.last_group(), -1);
    EXPECT_FALSE(panel.group_view());

    const std::vector<unsigned> none, first{0}, both{0, 2};
    EXPECT_TRUE(panel.ClickGroupList(image, 2, both));
    EXPECT_EQ(panel.last_group(), 2);
    EXPECT_EQ(panel.shown_zones(), Mask({0x03, 0x00, 0x80}));

    // A row left without any selection: the view stays on the last zones.
    EXPECT_TRUE(panel.ClickGroupList(image, 1, none));
    EXPECT_EQ(panel.last_group(), 1);
    EXPECT_EQ(panel.shown_zones(), Mask({0x03, 0x00, 0x80}));

    // Empty space while a group is still selected changes nothing.
    EXPECT_FALSE(panel.ClickGroupList(image, -1, first));
    EXPECT_EQ(panel.last_group(), 1);

    EXPECT_TRUE(panel.ClickGroupList(image, -1, none));
    EXPECT_EQ(panel.last_group(), -1);
    EXPECT_EQ(panel.shown_zones(), AllZonesSelection(image));
}

// ---- the buttons ----

struct ButtonCase {
    const char* name;
    AudioButton button;
    uint8_t flags;
    std::vector<unsigned> selected;
    const char* message;  // nullptr: none
    int source;           // -1: nothing sent
    int action;
    ZoneMask mask;
    bool deselect;
    bool all_zones;
};

class ControlButtonTest : public ::testing::TestWithParam<ButtonCase> {};

TEST_P(ControlButtonTest, ChecksThenQueues) {
    const ButtonCase& c = GetParam();
    const ParamImage image = SmallSystem();
    ControlPanel panel;
    const std::vector<unsigned> one{1};
    panel.ClickGroupList(image, 1, one);  // start from a group view

    const ButtonResult r = panel.Press(c.button, image, c.flags, c.selected);

    if (c.message) {
        ASSERT_TRUE(r.message.has_value());
        EXPECT_EQ(*r.message,
                  (BoxRequest{c.message, "Zones control", BoxButtons::kOk, BoxIcon::kWarning}));
    } else {
        EXPECT_FALSE(r.message.has_value());
    }
    if (c.source < 0) {
        EXPECT_FALSE(r.job.has_value());
    } else {
        ASSERT_TRUE(r.job.has_value());
        EXPECT_EQ(r.job->job_kind, JobKind::kAudioControl);
        EXPECT_EQ(r.job->job_op, AUDIO_CONTROL);
        EXPECT_EQ(r.job->job_param, c.action);
        EXPECT_EQ(r.job->audio_request[0], c.source);
        EXPECT_TRUE(std::equal(c.mask.begin(), c.mask.end(), r.job->audio_request.begin() + 1));
    }
    EXPECT_EQ(r.deselect_groups, c.deselect);
    EXPECT_EQ(r.all_zones_view, c.all_zones);
    EXPECT_EQ(panel.last_group(), c.all_zones ? -1 : 1);
    EXPECT_EQ(panel.shown_zones(),
              c.all_zones ? AllZonesSelection(image) : Mask({0x10, 0x01, 0x00}));
}

const char* const kSelect = "Please select a valid group!";
const char* const kEmergency =
    "The operation is not valid. Please enter the emergency mode and try again!";
constexpr uint8_t kEmergencyOn = kFlagEmergency;

INSTANTIATE_TEST_SUITE_P(Buttons, ControlButtonTest,
                         ::testing::Values(ButtonCase{"qavo_without_groups",
                                                      AudioButton::kQavo,
                                                      kEmergencyOn,
                                                      {},
                                                      kSelect,
                                                      -1,
                                                      0,
                                                      {},
                                                      false,
                                                      false},
                                           ButtonCase{"qavo_outside_emergency",
                                                      AudioButton::kQavo,
                                                      kFlagFault,
                                                      {0, 1},
                                                      kEmergency,
                                                      -1,
                                                      0,
                                                      {},
                                                      true,
                                                      false},
                                           ButtonCase{"qavo_in_emergency",
                                                      AudioButton::kQavo,
                                                      kEmergencyOn,
                                                      {0, 1},
                                                      nullptr,
                                                      0x22,
                                                      1,
                                                      Mask({0x13, 0x01, 0x00}),
                                                      true,
                                                      true},
                                           ButtonCase{"alert_without_groups",
                                                      AudioButton::kAlert,
                                                      kEmergencyOn,
                                                      {},
                                                      kSelect,
                                                      -1,
                                                      0,
                                                      {},
                                                      false,
                                                      false},
                                           ButtonCase{"alert_outside_emergency",
                                                      AudioButton::kAlert,
                                                      0,
                                                      {2},
                                                      kEmergency,
                                                      -1,
                                                      0,
                                                      {},
                                                      true,
                                                      false},
                                           ButtonCase{"alert_in_emergency",
                                                      AudioButton::kAlert,
                                                      kEmergencyOn | kFlagFault,
                                                      {2},
                                                      nullptr,
                                                      0x23,
                                                      1,
                                                      Mask({0x00, 0x00, 0x80}),
                                                      true,
                                                      true},
                                           ButtonCase{"off_without_groups",
                                                      AudioButton::kOff,
                                                      kEmergencyOn,
                                                      {},
                                                      kSelect,
                                                      -1,
                                                      0,
                                                      {},
                                                      false,
                                                      false},
                                           ButtonCase{"off_with_groups",
                                                      AudioButton::kOff,
                                                      0,
                                                      {0, 2},
                                                      nullptr,
                                                      0x00,
                                                      0,
                                                      Mask({0x03, 0x00, 0x80}),
                                                      true,
                                                      true},
                                           ButtonCase{"line1_with_groups",
                                                      AudioButton::kLine1,
                                                      0,
                                                      {0},
                                                      nullptr,
                                                      0x25,
                                                      1,
                                                      Mask({0x03, 0x00, 0x00}),
                                                      true,
                                                      true},
                                           ButtonCase{"line6_with_groups",
                                                      AudioButton::kLine6,
                                                      kEmergencyOn,
                                                      {1},
                                                      nullptr,
                                                      0x2A,
                                                      1,
                                                      Mask({0x10, 0x01, 0x00}),
                                                      true,
                                                      true},
                                           ButtonCase{"line3_without_groups_first_time",
                                                      AudioButton::kLine3,
                                                      0,
                                                      {},
                                                      nullptr,
                                                      0x27,
                                                      2,
                                                      ZoneMask{},
                                                      false,
                                                      false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ControlButtonSequenceTest, LineWithoutGroupsResendsTheLastZoneMask) {
    const ParamImage image = SmallSystem();
    ControlPanel panel;
    const std::vector<unsigned> none, garage{2}, lobby_hall{0, 1};

    ASSERT_TRUE(panel.Press(AudioButton::kOff, image, 0, garage).job.has_value());
    auto line = panel.Press(LineButton(2), image, 0, none).job;
    ASSERT_TRUE(line.has_value());
    EXPECT_EQ(line->job_param, kAudioStartLine);
    EXPECT_EQ(line->audio_request[0], 0x26);
    EXPECT_EQ(line->audio_request[3], 0x80);

    // A refusal for want of groups leaves the mask alone...
    EXPECT_TRUE(panel.Press(AudioButton::kQavo, image, kEmergencyOn, none).message.has_value());
    EXPECT_EQ(panel.Press(LineButton(4), image, 0, none).job->audio_request[3], 0x80);

    // ...but the selection taken before the emergency check replaces it.
    auto refused = panel.Press(AudioButton::kQavo, image, 0, lobby_hall);
    EXPECT_FALSE(refused.job.has_value());
    line = panel.Press(LineButton(5), image, 0, none).job;
    EXPECT_EQ(line->audio_request[0], 0x29);
    EXPECT_EQ(line->audio_request[1], 0x13);
    EXPECT_EQ(line->audio_request[2], 0x01);
    EXPECT_EQ(line->audio_request[3], 0x00);
}

TEST(ControlButtonSequenceTest, MaskStopsAtTheHostCount) {
    ParamImage image;  // every group holds every zone of all twenty hosts
    image.Set(fields::host_count, 2);
    const std::vector<unsigned> first{0};
    const auto job = ControlPanel().Press(AudioButton::kOff, image, 0, first).job;
    ASSERT_TRUE(job.has_value());
    AudioRequest expected{};
    expected[1] = expected[2] = 0xFF;
    EXPECT_EQ(job->audio_request, expected);
}

TEST(ControlButtonSequenceTest, NoGroupsConfiguredMeansEveryGroupButtonRefuses) {
    ParamImage image = SmallSystem();
    image.Set(fields::group_count, 0);
    ControlPanel panel;
    for (AudioButton b : {AudioButton::kQavo, AudioButton::kAlert, AudioButton::kOff}) {
        const auto r = panel.Press(b, image, kEmergencyOn, {});
        ASSERT_TRUE(r.message.has_value());
        EXPECT_EQ(r.message->text, kSelect);
        EXPECT_FALSE(r.job.has_value());
    }
    EXPECT_EQ(panel.Press(LineButton(1), image, kEmergencyOn, {}).job->job_param, kAudioStartLine);
}

TEST(ControlRulesTest, AllZonesTogglesOnlyFromAFullSelection) {
    EXPECT_EQ(AllZonesToggle(0, 3), AllZonesAction::kSelectAll);
    EXPECT_EQ(AllZonesToggle(2, 3), AllZonesAction::kSelectAll);
    EXPECT_EQ(AllZonesToggle(3, 3), AllZonesAction::kDeselectAll);
}

TEST(ControlRulesTest, AckResetOnlyForAnUnacknowledgedFault) {
    for (uint8_t flags = 0; flags < 8; ++flags) {
        const bool expected = flags == 0x01 || flags == 0x03;
        EXPECT_EQ(AckResetAllowed(flags), expected) << int{flags};
        EXPECT_EQ(AckResetAllowed(flags | 0xF0), expected) << int{flags};
    }
}

TEST(ControlRulesTest, ReflashAndCellCommandJobs) {
    const Job reflash = ReflashJob();
    EXPECT_EQ(reflash.job_kind, JobKind::kSingle);
    EXPECT_EQ(reflash.job_op, READ_STATUS);
    EXPECT_EQ(reflash.job_param, 255);
    const Job cell = CellCommandJob(4, 7);
    EXPECT_EQ(cell.job_kind, JobKind::kSingle);
    EXPECT_EQ(cell.job_op, CELL_COMMAND);
    EXPECT_EQ(cell.job_param, 4);
    EXPECT_EQ(cell.job_param2, 7);
}

}  // namespace
}  // namespace qavo
