// The control view's button dots, lamps, layout and cell button.
#include <gtest/gtest.h>

#include "console/control_logic.h"

namespace qavo {
namespace {

// ---- dots ----

struct DotCase {
    const char* name;
    uint8_t source;
    uint8_t qavo_count;
    uint8_t alert_count;
    StateDot qavo;
    StateDot alert;
    int green_line;  // 0: none
};

class ButtonDotTest : public ::testing::TestWithParam<DotCase> {};

TEST_P(ButtonDotTest, DotsFollowTheMainHost) {
    const DotCase& c = GetParam();
    LiveStatus live;
    live.audio_source[0] = c.source;
    live.audio_source[1] = 0x22;  // other hosts never count
    live.qavo_message_count = c.qavo_count;
    live.alert_message_count = c.alert_count;
    ButtonDots expected{c.qavo, c.alert, {}};
    if (c.green_line > 0) expected.lines[c.green_line - 1] = StateDot::kGreen;
    EXPECT_EQ(ComputeButtonDots(live), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Sources, ButtonDotTest,
    ::testing::Values(
        DotCase{"idle", 0x00, 1, 1, StateDot::kGrey, StateDot::kGrey, 0},
        DotCase{"qavo_playing", 0x22, 1, 1, StateDot::kRed, StateDot::kGrey, 0},
        DotCase{"alert_playing", 0x23, 2, 3, StateDot::kGrey, StateDot::kGreen, 0},
        DotCase{"no_qavo_message_even_while_playing", 0x22, 0, 1, StateDot::kYellow,
                StateDot::kGrey, 0},
        DotCase{"no_alert_message", 0x23, 1, 0, StateDot::kGrey, StateDot::kYellow, 0},
        DotCase{"line1", 0x25, 1, 1, StateDot::kGrey, StateDot::kGrey, 1},
        DotCase{"line6", 0x2A, 0, 0, StateDot::kYellow, StateDot::kYellow, 6},
        DotCase{"code_0x24_is_no_line", 0x24, 1, 1, StateDot::kGrey, StateDot::kGrey, 0}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- lamps ----

struct LampCase {
    const char* name;
    bool (*next)(bool, uint8_t);
    bool start;
    std::vector<uint8_t> flags;  // per tick
    std::vector<bool> lit;       // after each tick
};

class LampTest : public ::testing::TestWithParam<LampCase> {};

TEST_P(LampTest, Sequence) {
    const LampCase& c = GetParam();
    ASSERT_EQ(c.flags.size(), c.lit.size());
    bool lit = c.start;
    for (size_t i = 0; i < c.flags.size(); ++i) {
        lit = c.next(lit, c.flags[i]);
        EXPECT_EQ(lit, c.lit[i]) << "tick " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Ticks, LampTest,
    ::testing::Values(
        LampCase{"fault_blinks_then_holds_then_clears",
                 NextFaultLamp,
                 false,
                 {1, 1, 1, 1, 5, 5, 0, 0},
                 {true, false, true, false, true, true, false, false}},
        LampCase{
            "fault_acknowledged_while_lit", NextFaultLamp, false, {1, 5, 5}, {true, true, true}},
        LampCase{"fault_ignores_emergency",
                 NextFaultLamp,
                 false,
                 {2, 6, 3, 3},
                 {false, false, true, false}},
        LampCase{"emergency_blinks_and_ends_dark",
                 NextEmergencyLamp,
                 false,
                 {2, 2, 2, 0, 0},
                 {true, false, true, false, false}},
        LampCase{"emergency_ends_while_dark",
                 NextEmergencyLamp,
                 false,
                 {2, 2, 0, 0},
                 {true, false, false, false}},
        LampCase{
            "emergency_ignores_fault", NextEmergencyLamp, false, {1, 5, 3}, {false, false, true}}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- layout ----

TEST(ControlLayoutTest, FullHeightPlacesEveryControlAgainstTheRightEdge) {
    const int W = 1500;
    const ControlLayout l = ComputeControlLayout(W, 900);
    const std::vector<std::pair<Rect, Rect>> expected = {
        {l.system_box, {W - 180, 8, 170, 132}},
        {l.emergency_lamp, {W - 155, 25, 30, 30}},
        {l.emergency_label, {W - 110, 33, 89, 22}},
        {l.fault_lamp, {W - 155, 56, 30, 30}},
        {l.fault_label, {W - 110, 63, 89, 23}},
        {l.ack_reset, {W - 165, 90, 144, 40}},
        {l.message_box, {W - 180, 150, 170, 130}},
        {l.qavo, {W - 165, 175, 144, 40}},
        {l.alert, {W - 165, 225, 144, 40}},
        {l.line_box, {W - 180, 290, 170, 330}},
        {l.lines[0], {W - 165, 315, 144, 40}},
        {l.lines[5], {W - 165, 565, 144, 40}},
        {l.function_box, {W - 180, 635, 172, 130}},
        {l.all_zones, {W - 165, 660, 144, 40}},
        {l.off, {W - 165, 710, 144, 40}},
        {l.group_list, {0, 0, 332, 900}},
        {l.zone_list, {332, 0, W - 332 - 192, 900}},
    };
    for (size_t i = 0; i < expected.size(); ++i) {
        const Rect& got = expected[i].first;
        const Rect& want = expected[i].second;
        EXPECT_EQ(got, want) << "control " << i << ": " << got.x << "," << got.y << " " << got.w
                             << "x" << got.h;
    }
    for (int i = 1; i < 5; ++i)
        EXPECT_EQ(l.lines[i].y, 315 + 50 * i);
}

bool Inside(const Rect& inner, const Rect& outer) {
    return inner.x >= outer.x && inner.y >= outer.y && inner.right() <= outer.right() &&
           inner.bottom() <= outer.bottom();
}

TEST(ControlLayoutTest, ShortAreasSqueezeTheColumnWithoutCuttingIt) {
    for (int height : {774, 700, 640, 560}) {
        const ControlLayout l = ComputeControlLayout(1200, height);
        SCOPED_TRACE(height);
        EXPECT_LE(l.function_box.bottom(), height);
        const std::vector<std::pair<Rect, Rect>> nested = {
            {l.emergency_lamp, l.system_box}, {l.fault_lamp, l.system_box},
            {l.ack_reset, l.system_box},      {l.qavo, l.message_box},
            {l.alert, l.message_box},         {l.lines[0], l.line_box},
            {l.lines[5], l.line_box},         {l.all_zones, l.function_box},
            {l.off, l.function_box},
        };
        for (const auto& [inner, outer] : nested)
            EXPECT_TRUE(Inside(inner, outer));
        EXPECT_LE(l.emergency_lamp.bottom(), l.fault_lamp.y);
        EXPECT_LE(l.fault_lamp.bottom(), l.ack_reset.y);
        EXPECT_LE(l.system_box.bottom(), l.message_box.y);
        EXPECT_LE(l.message_box.bottom(), l.line_box.y);
        EXPECT_LE(l.line_box.bottom(), l.function_box.y);
        EXPECT_LE(l.lines[4].bottom(), l.lines[5].y);
        EXPECT_EQ(l.qavo.w, 144);
        EXPECT_GE(l.qavo.h, 24);
        EXPECT_EQ(l.zone_list.h, height);
    }
}

TEST(ControlLayoutTest, NarrowAreasNeverGiveNegativeSizes) {
    const ControlLayout l = ComputeControlLayout(100, 50);
    EXPECT_EQ(l.group_list.w, 22);
    EXPECT_EQ(l.zone_list.w, 0);
    EXPECT_GT(l.off.h, 0);
}

TEST(ControlLayoutTest, ColumnsShrinkToTheirMinimumOnly) {
    struct Case {
        int preferred, available, minimum, expected;
    };
    for (const Case& c : {Case{102, 150, 80, 102}, Case{102, 102, 80, 102}, Case{102, 90, 80, 90},
                          Case{102, 40, 80, 80}, Case{160, -5, 100, 100}}) {
        EXPECT_EQ(FitColumnWidth(c.preferred, c.available, c.minimum), c.expected)
            << c.preferred << " " << c.available << " " << c.minimum;
    }
}

// ---- the cell button ----

TEST(CellButtonTest, CoversTheLabelRightOfTheImage) {
    EXPECT_EQ(CellButtonRect({162, 28, 102, 28}), (Rect{186, 28, 78, 28}));
    EXPECT_EQ(CellButtonRect({0, 0, 10, 20}), (Rect{24, 0, 0, 20}));
}

TEST(CellButtonTest, ClickDecisions) {
    struct Case {
        const char* name;
        std::optional<CellRef> open;
        std::optional<CellRef> clicked;
        bool shows_zone;
        CellClick expected;
    };
    const CellRef a{1, 3}, b{1, 4};
    const Case cases[] = {
        {"open_on_zone_cell", std::nullopt, a, true, CellClick::kOpen},
        {"open_on_last_zone_column", std::nullopt, CellRef{0, 9}, true, CellClick::kOpen},
        {"not_on_host_column", std::nullopt, CellRef{1, 1}, true, CellClick::kNothing},
        {"not_on_hidden_column", std::nullopt, CellRef{1, 0}, true, CellClick::kNothing},
        {"not_beyond_zone_columns", std::nullopt, CellRef{1, 10}, true, CellClick::kNothing},
        {"not_on_empty_group_cell", std::nullopt, a, false, CellClick::kNothing},
        {"not_on_empty_space", std::nullopt, std::nullopt, false, CellClick::kNothing},
        {"same_cell_focuses", a, a, true, CellClick::kFocus},
        {"other_zone_cell_closes", a, b, true, CellClick::kClose},
        {"host_column_closes", a, CellRef{1, 1}, true, CellClick::kClose},
        {"empty_space_closes", a, std::nullopt, false, CellClick::kClose},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DecideCellClick(c.open, c.clicked, c.shows_zone), c.expected) << c.name;
}

}  // namespace
}  // namespace qavo
