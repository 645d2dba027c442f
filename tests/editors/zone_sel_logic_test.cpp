// The partition selection: the page of a host, the zone boxes, "  Select
// all", browsing with "<" and ">" and the masks it leaves.
#include "editors/zone_sel_logic.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

namespace qavo {
namespace {

// The eight boxes of the page shown, as masks.
uint8_t EnabledBoxes(const ZoneSelLogic& logic) {
    uint8_t mask = 0;
    for (unsigned z = 0; z < ZoneSelLogic::kZones; ++z)
        if (logic.zone_enabled(z)) mask |= static_cast<uint8_t>(1u << z);
    return mask;
}
uint8_t CheckedBoxes(const ZoneSelLogic& logic) {
    uint8_t mask = 0;
    for (unsigned z = 0; z < ZoneSelLogic::kZones; ++z)
        if (logic.zone_checked(z)) mask |= static_cast<uint8_t>(1u << z);
    return mask;
}

// One host shown first (`host` of `count`) with these masks; the other
// hosts carry masks of their own that must never show on its page.
ZoneSelInput OneHost(uint8_t available, uint8_t selected, unsigned host = 0, unsigned count = 4) {
    ZoneSelInput input;
    input.caption = "Paging 01 - Key 02 Partition selection";
    input.host_count = count;
    input.current_host = host;
    input.available_zones.fill(0xA5);
    input.selected_zones.fill(0x5A);
    input.available_zones[host] = available;
    input.selected_zones[host] = selected;
    return input;
}

TEST(ZoneSelOpening, ThePageOfTheCurrentHost) {
    struct Case {
        const char* what;
        uint8_t available;
        uint8_t selected;
        uint8_t enabled;
        uint8_t checked;
        bool select_all;
    };
    const Case cases[] = {
        {"no available zone", 0x00, 0xFF, 0x00, 0x00, false},
        {"none selected", 0xFF, 0x00, 0xFF, 0x00, false},
        {"all selected", 0xFF, 0xFF, 0xFF, 0xFF, true},
        {"some of the available", 0x0F, 0x3C, 0x0F, 0x0C, false},
        {"the available and more", 0x81, 0x99, 0x81, 0x81, true},
        {"only zones not available", 0x0F, 0xF0, 0x0F, 0x00, false},
        {"one of one", 0x10, 0x10, 0x10, 0x10, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ZoneSelLogic logic(OneHost(c.available, c.selected, 2));
        EXPECT_EQ(EnabledBoxes(logic), c.enabled);
        EXPECT_EQ(CheckedBoxes(logic), c.checked);
        EXPECT_EQ(logic.select_all_checked(), c.select_all);
        // Opening changes no mask.
        EXPECT_EQ(logic.selected_zones()[2], c.selected);
        EXPECT_EQ(logic.selected_zones()[1], 0x5A);
    }
}

TEST(ZoneSelOpening, CaptionAndHostShown) {
    struct Case {
        unsigned host_count;
        unsigned current_host;
        unsigned shown;
        const char* label;
    };
    const Case cases[] = {
        {1, 0, 0, "Host 01"},    {5, 3, 3, "Host 04"}, {20, 19, 19, "Host 20"},
        {5, 9, 4, "Host 05"},  // beyond the hosts browsed: the last of them
        {0, 0, 0, "Host 01"},  // no host count: the main host alone
        {30, 25, 19, "Host 20"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        ZoneSelInput input;
        input.caption = "Host 03 - Contact 07 Partition selection";
        input.host_count = c.host_count;
        input.current_host = c.current_host;
        for (unsigned h = 0; h < 20; ++h) {
            input.available_zones[h] = static_cast<uint8_t>(h + 1);
            input.selected_zones[h] = static_cast<uint8_t>(h + 1);
        }
        ZoneSelLogic logic(input);
        EXPECT_EQ(logic.caption(), "Host 03 - Contact 07 Partition selection");
        EXPECT_EQ(logic.current_host(), c.shown);
        EXPECT_EQ(logic.host_label(), c.label);
        EXPECT_EQ(EnabledBoxes(logic), c.shown + 1);  // that host's zones
    }
    EXPECT_EQ(ZoneSelLogic(ZoneSelInput{}).caption(), "Partition Selection");
}

TEST(ZoneSelClicks, ZoneBoxesBecomeTheHostsMask) {
    struct Case {
        const char* what;
        uint8_t available;
        uint8_t selected;
        unsigned zone;
        bool checked;
        uint8_t mask;
        bool select_all;
    };
    const Case cases[] = {
        {"the last available zone", 0x0F, 0x07, 3, true, 0x0F, true},
        {"one cleared", 0x0F, 0x0F, 1, false, 0x0D, false},
        {"zones not available are dropped", 0x0F, 0xF2, 0, true, 0x03, false},
        {"dropped with the last one too", 0x0F, 0xF7, 3, true, 0x0F, true},
        {"zone 08", 0x80, 0x00, 7, true, 0x80, true},
        {"the only one cleared", 0x80, 0x80, 7, false, 0x00, false},
        {"a disabled box counts as clear", 0x03, 0x01, 5, true, 0x01, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ZoneSelLogic logic(OneHost(c.available, c.selected, 1));
        logic.ClickZone(c.zone, c.checked);
        EXPECT_EQ(logic.selected_zones()[1], c.mask);
        EXPECT_EQ(CheckedBoxes(logic), c.mask & c.available);
        EXPECT_EQ(logic.select_all_checked(), c.select_all);
        EXPECT_EQ(logic.selected_zones()[0], 0x5A);  // other hosts untouched
    }
}

TEST(ZoneSelClicks, SelectAllTogglesTheAvailableZones) {
    struct Step {
        uint8_t mask;
        bool select_all;
    };
    struct Case {
        const char* what;
        uint8_t available;
        uint8_t selected;
        std::vector<Step> clicks;
    };
    const Case cases[] = {
        {"some selected", 0x0F, 0x3C, {{0x0F, true}, {0x00, false}, {0x0F, true}}},
        {"all selected, others stay", 0x0F, 0xFF, {{0xF0, false}, {0x0F, true}}},
        {"none selected", 0xFF, 0x00, {{0xFF, true}, {0x00, false}}},
        {"no available zone", 0x00, 0x5A, {{0x5A, false}, {0x5A, false}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ZoneSelLogic logic(OneHost(c.available, c.selected));
        for (const Step& step : c.clicks) {
            logic.ClickSelectAll();
            EXPECT_EQ(logic.selected_zones()[0], step.mask);
            EXPECT_EQ(CheckedBoxes(logic), step.mask & c.available);
            EXPECT_EQ(logic.select_all_checked(), step.select_all);
        }
    }
}

TEST(ZoneSelBrowsing, WrapsWithinTheHostCount) {
    struct Case {
        unsigned count;
        unsigned start;
        const char* moves;  // '<' and '>'
        std::vector<unsigned> hosts;
    };
    const Case cases[] = {
        {1, 0, "<><>", {0, 0, 0, 0}},
        {3, 0, "<>>>", {2, 0, 1, 2}},
        {3, 2, ">><", {0, 1, 0}},
        {20, 19, "><<", {0, 19, 18}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.moves);
        ZoneSelInput input;
        input.host_count = c.count;
        input.current_host = c.start;
        ZoneSelLogic logic(input);
        for (size_t i = 0; i < c.hosts.size(); ++i) {
            c.moves[i] == '<' ? logic.Previous() : logic.Next();
            EXPECT_EQ(logic.current_host(), c.hosts[i]);
            char label[16];
            std::snprintf(label, sizeof label, "Host %.2u", c.hosts[i] + 1);
            EXPECT_EQ(logic.host_label(), label);
        }
    }
}

TEST(ZoneSelBrowsing, AMoveKeepsThePageAndShowsTheNextHost) {
    ZoneSelInput input;
    input.host_count = 3;
    input.available_zones = {0x0F, 0xF0, 0x00};
    input.selected_zones = {0xFF, 0x30, 0x81};
    ZoneSelLogic logic(input);

    logic.Next();  // host 1 is stored as shown: zones not available dropped
    EXPECT_EQ(logic.selected_zones()[0], 0x0F);
    EXPECT_EQ(EnabledBoxes(logic), 0xF0);
    EXPECT_EQ(CheckedBoxes(logic), 0x30);
    EXPECT_FALSE(logic.select_all_checked());
    EXPECT_EQ(logic.selected_zones()[2], 0x81);  // not shown yet: as given

    logic.Previous();
    EXPECT_EQ(logic.selected_zones()[1], 0x30);
    EXPECT_TRUE(logic.select_all_checked());  // all of host 1's available zones
}

TEST(ZoneSelBrowsing, AHostWithoutAvailableZonesCountsAsAllSelectedOnlyAfterAMove) {
    // On opening the box needs an available zone; after a move or a click
    // the test is only whether every available zone is selected.
    ZoneSelInput input;
    input.host_count = 2;
    input.available_zones = {0x00, 0x0F};
    input.selected_zones = {0x24, 0x0F};
    ZoneSelLogic logic(input);
    EXPECT_FALSE(logic.select_all_checked());
    logic.Next();
    EXPECT_TRUE(logic.select_all_checked());
    logic.Next();  // back on the host without zones
    EXPECT_EQ(logic.current_host(), 0u);
    EXPECT_EQ(EnabledBoxes(logic), 0x00);
    EXPECT_TRUE(logic.select_all_checked());
    EXPECT_EQ(logic.selected_zones()[0], 0x00);  // its page was stored: nothing available

    ZoneSelLogic clicked(input);
    clicked.ClickZone(2, true);  // a disabled box: clear
    EXPECT_TRUE(clicked.select_all_checked());
    EXPECT_EQ(clicked.selected_zones()[0], 0x00);
}

}  // namespace
}  // namespace qavo
