#include "shell/shell_logic.h"

#include <gtest/gtest.h>

#include <cctype>

namespace qavo {
namespace {

TEST(ProgressText, ModeTextThenPercentTruncated) {
    struct Case {
        int mode, count, total;
        bool after_step;
        const char* text;
    };
    const Case cases[] = {
        {3, 28, 56, true, "Syncing system parameters, please wait ...50%"},
        {3, 0, 56, false, "Syncing system parameters, please wait ...0%"},
        {1, 1, 3, true, "Is synchronizing the QAVO host state later, please...33%"},
        {0, 2, 3, true, "Is downloading, please wait...   66%"},
        {0, 5, 0, true, "Is downloading, please wait...   0%"},  // no total: nothing done yet
        {4, 0, 0, false, "Saving system log, please wait for a moment..."},
        {4, 1, 2, true, "50%"},  // the export shows the percentage alone after a step
        {3, 70, 56, true, "Syncing system parameters, please wait ...125%"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ProgressText(c.mode, c.count, c.total, c.after_step), c.text);
    }
}

TEST(Navigation, NobodyLoggedInSnapsBackToControl) {
    for (int i = 0; i < kNavItemCount; ++i) {
        auto item = static_cast<NavItem>(i);
        bool in_config = false;
        NavDecision d = DecideNavigation(item, true, false, in_config);
        EXPECT_EQ(d.snap_to_control, item != NavItem::kControl);
        EXPECT_FALSE(d.switch_view.has_value());
        EXPECT_FALSE(d.open_dialog);
    }
}

TEST(Navigation, ItemsLoggedIn) {
    struct Case {
        NavItem item;
        bool in_config_before;
        std::optional<NavItem> view;
        std::optional<NavItem> reselect;
        bool dialog;
        bool in_config_after;
    };
    const Case cases[] = {
        {NavItem::kControl, true, NavItem::kControl, std::nullopt, false, false},
        {NavItem::kLog, true, NavItem::kLog, std::nullopt, false, false},
        {NavItem::kConfig, false, NavItem::kConfig, std::nullopt, false, true},
        {NavItem::kState, true, NavItem::kState, std::nullopt, false, true},
        // A configuration dialog first brings the configuration view...
        {NavItem::kGroup, false, NavItem::kConfig, NavItem::kConfig, true, true},
        // ...unless it is already there.
        {NavItem::kGroup, true, NavItem::kGroup, NavItem::kConfig, true, true},
        {NavItem::kUserPassword, false, NavItem::kUserPassword, NavItem::kOther, true, false},
        {NavItem::kSystemTiming, true, NavItem::kSystemTiming, NavItem::kOther, true, true},
        {NavItem::kImpedance, false, NavItem::kImpedance, NavItem::kControl, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.item));
        bool in_config = c.in_config_before;
        NavDecision d = DecideNavigation(c.item, true, true, in_config);
        EXPECT_FALSE(d.snap_to_control);
        EXPECT_EQ(d.switch_view, c.view);
        EXPECT_EQ(d.reselect, c.reselect);
        EXPECT_EQ(d.open_dialog, c.dialog);
        EXPECT_EQ(in_config, c.in_config_after);
    }
}

TEST(Shell, ViewIdsLooksAndClock) {
    EXPECT_EQ(ViewIdOf(NavItem::kControl), 101);
    EXPECT_EQ(ViewIdOf(NavItem::kState), 359);
    EXPECT_EQ(ViewIdOf(NavItem::kConfig), 500);
    EXPECT_EQ(ViewIdOf(NavItem::kLog), 319);
    EXPECT_EQ(ViewIdOf(NavItem::kOther), 320);
    EXPECT_EQ(ViewIdOf(NavItem::kGroup), 0);
    for (int id : {205, 210, 215, 219})
        EXPECT_EQ(ValidLook(id), id);
    for (int id : {0, 204, 211, 214, 220})
        EXPECT_EQ(ValidLook(id), 210);
    // "%Y/%m/%d %H:%M:%S": digits with the separators in their places.
    const std::string clock = FormatClock(1520258829);
    const std::string shape = "dddd/dd/dd dd:dd:dd";
    ASSERT_EQ(clock.size(), shape.size());
    for (size_t i = 0; i < shape.size(); ++i) {
        if (shape[i] == 'd') {
            EXPECT_TRUE(std::isdigit(static_cast<unsigned char>(clock[i]))) << clock;
        } else {
            EXPECT_EQ(clock[i], shape[i]) << clock;
        }
    }
}

}  // namespace
}  // namespace qavo
