#include <gtest/gtest.h>

#include "users/command_availability.h"

namespace qavo {
namespace {

// Commands by their menu ids: 32818 Login, 32819 Exit, 32773 Firmware,
// 32781 Reflash, 32825 Import, 32824 Save, 32779 Network.
TEST(UserCommandAvailabilityTest, FollowsLoginStateAndView) {
    constexpr int kControl = 101, kState = 359, kConfig = 500, kLog = 319, kOther = 320;
    struct Case {
        int command;
        bool logged_in;
        int view;
        bool enabled;
    };
    const Case cases[] = {
        {32818, false, kOther, true},   {32818, true, kControl, false},
        {32819, false, kOther, false},  {32819, true, kControl, true},
        {32773, false, kOther, false},  {32773, true, kState, true},
        {32781, false, kConfig, false}, {32781, true, kLog, true},
        {32825, true, kConfig, true},   {32825, true, kLog, false},
        {32825, true, kControl, false}, {32825, false, kConfig, false},
        {32824, true, kConfig, true},   {32824, true, kLog, true},
        {32824, true, kState, false},   {32824, true, kOther, false},
        {32824, false, kConfig, false}, {32824, false, kLog, false},
        {32779, false, kOther, true},   {32779, true, kConfig, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(UserCommandEnabled(c.command, c.logged_in, c.view), c.enabled)
            << "command " << c.command << ", logged in " << c.logged_in << ", view " << c.view;
    }
}

TEST(UserCommandAvailabilityTest, OtherCommandsAreLeftToTheCaller) {
    for (int command : {0, 32772, 32820, 57665}) {
        EXPECT_FALSE(UserCommandEnabled(command, true, 500).has_value()) << command;
    }
}

}  // namespace
}  // namespace qavo
