#include <gtest/gtest.h>

#include "users/account_grid.h"

namespace qavo {
namespace {

constexpr int kUser = AccountGrid::kUserColumn;
constexpr int kCode = AccountGrid::kCodeColumn;
using Result = AccountGrid::DoubleClickResult;

TEST(UserAccountGridTest, ShowsTheAccountInPlainText) {
    AccountGrid grid(Account{"admin", "qvl704219"});
    EXPECT_TRUE(grid.has_row());
    EXPECT_EQ(grid.text(kUser), "admin");
    EXPECT_EQ(grid.text(kCode), "qvl704219");
    EXPECT_FALSE(grid.open_column().has_value());
    EXPECT_EQ(grid.Stored(), (Account{"admin", "qvl704219"}));
}

TEST(UserAccountGridTest, DoubleClicksOutsideTheCellsAreIgnored) {
    const struct {
        int row;
        int column;
    } outside[] = {{1, kUser}, {-1, kUser}, {0, 2}, {0, -1}};
    AccountGrid grid(Account{"a", "b"});
    for (const auto& click : outside) {
        EXPECT_EQ(grid.DoubleClick(click.row, click.column, ""), Result::kIgnored);
        EXPECT_FALSE(grid.open_column().has_value());
    }
    AccountGrid empty(std::nullopt);
    EXPECT_EQ(empty.DoubleClick(0, kUser, ""), Result::kIgnored);
    EXPECT_EQ(empty.Stored(), Account{});
}

TEST(UserAccountGridTest, EditingSequences) {
    // Each step: a double click on a column (or -1 for a single click) with
    // the text the open edit box holds at that moment.
    struct Step {
        int column;
        std::string edit_text;
        Result result;
    };
    constexpr int kClick = -1;
    struct Case {
        const char* what;
        std::vector<Step> steps;
        std::optional<int> open_after;
        Account texts_after;
    };
    const Case cases[] = {
        {"opening changes nothing", {{kUser, "", Result::kOpened}}, kUser, {"admin", "pw"}},
        {"a click writes back and closes",
         {{kUser, "", Result::kOpened}, {kClick, "operator", {}}},
         std::nullopt,
         {"operator", "pw"}},
        {"another cell writes back first",
         {{kUser, "", Result::kOpened}, {kCode, "op", Result::kOpened}},
         kCode,
         {"op", "pw"}},
        {"the open cell only takes the focus",
         {{kCode, "", Result::kOpened}, {kCode, "new", Result::kFocused}},
         kCode,
         {"admin", "pw"}},
        {"an emptied edit gives an empty cell",
         {{kCode, "", Result::kOpened}, {kClick, "", {}}},
         std::nullopt,
         {"admin", ""}},
        {"both cells in turn",
         {{kUser, "", Result::kOpened},
          {kCode, "u2", Result::kOpened},
          {kUser, "c2", Result::kOpened},
          {kClick, "u3", {}}},
         std::nullopt,
         {"u3", "c2"}},
        {"a click without an open edit", {{kClick, "ignored", {}}}, std::nullopt, {"admin", "pw"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        AccountGrid grid(Account{"admin", "pw"});
        for (const Step& step : c.steps) {
            if (step.column == kClick) {
                grid.CloseEdit(step.edit_text);
            } else {
                EXPECT_EQ(grid.DoubleClick(0, step.column, step.edit_text), step.result);
            }
        }
        EXPECT_EQ(grid.open_column(), c.open_after);
        EXPECT_EQ(grid.Stored(), c.texts_after);
        EXPECT_EQ(grid.text(kUser), c.texts_after.user);
        EXPECT_EQ(grid.text(kCode), c.texts_after.code);
    }
}

}  // namespace
}  // namespace qavo
