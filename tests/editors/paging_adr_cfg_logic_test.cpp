#include "editors/paging_adr_cfg_logic.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace qavo {
namespace {

using ::testing::ElementsAre;
using Logic = PagingAdrLogic;
using Result = Logic::DoubleClickResult;
constexpr int kType = Logic::kTypeColumn;
constexpr int kAddress = Logic::kAddressColumn;

// `count` consoles with the given types and addresses, the image holding
// the same values; the consoles beyond the list keep distinct values so
// that a test sees whether they pass through.
PagingAdrInput Input(unsigned count, std::vector<uint8_t> types, std::vector<uint8_t> addresses) {
    PagingAdrInput input;
    input.count = count;
    for (unsigned k = 0; k < 32; ++k) {
        input.types[k] = static_cast<uint8_t>(k % 3);
        input.addresses[k] = static_cast<uint8_t>(100 + k);
    }
    std::copy(types.begin(), types.end(), input.types.begin());
    std::copy(addresses.begin(), addresses.end(), input.addresses.begin());
    input.image_types = input.types;
    input.image_addresses = input.addresses;
    return input;
}

PagingAdrResult Unchanged(const PagingAdrInput& input) {
    return {input.types, input.addresses};
}

TEST(PagingAdrLogicTest, RowsShowEveryConsoleInUse) {
    Logic logic(Input(4, {1, 2, 0, 7}, {1, 9, 31, 255}));
    EXPECT_THAT(logic.rows(), ElementsAre(PagingAdrRow{"01", "Paing 01", "Fire paing", "01"},
                                          PagingAdrRow{"02", "Paing 02", "Touch paing", "09"},
                                          PagingAdrRow{"03", "Paing 03", "Business paing", "31"},
                                          PagingAdrRow{"04", "Paing 04", "Business paing", "255"}));
    EXPECT_FALSE(logic.open_list());
}

TEST(PagingAdrLogicTest, ColumnsTakeTheirShareOfTheWidth) {
    EXPECT_THAT(Logic::kHeaders,
                ElementsAre(std::string_view("ID"), std::string_view("NAME"),
                            std::string_view("TYPE"), std::string_view("ADDRESS")));
    const int widths[] = {Logic::ColumnWidth(0, 500), Logic::ColumnWidth(1, 500),
                          Logic::ColumnWidth(2, 500), Logic::ColumnWidth(3, 500)};
    EXPECT_THAT(widths, ElementsAre(50, 100, 100, 100));
    EXPECT_TRUE(Logic::Centred(Logic::kIdColumn));
    EXPECT_TRUE(Logic::Centred(Logic::kNameColumn));
    EXPECT_FALSE(Logic::Centred(kType));
    EXPECT_FALSE(Logic::Centred(kAddress));
}

TEST(PagingAdrLogicTest, ReadsTextsBack) {
    struct Case {
        const char* text;
        uint8_t type;
        uint8_t address;
    };
    const Case cases[] = {
        {"Fire paing", 1, 0},
        {"Fire paging", 1, 0},
        {"Touch paing", 2, 0},
        {"Touch paging", 2, 0},
        {"Business paing", 0, 0},
        {"Fir", 0, 0},
        {"", 0, 0},
        {"03", 0, 3},
        {"32", 0, 32},
        {"255", 0, 25},
        {"7", 0, 7},
        {"0x1f", 0, 0x1f},
        {"0xA", 0, 10},
        {"0x", 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(Logic::ReadType(c.text), c.type);
        EXPECT_EQ(Logic::ReadAddress(c.text), c.address);
    }
}

TEST(PagingAdrLogicTest, NoConsolesGiveAnEmptyTableAndTheValuesBack) {
    const PagingAdrInput input = Input(0, {7, 1}, {255, 3});
    Logic logic(input);
    EXPECT_TRUE(logic.rows().empty());
    EXPECT_EQ(logic.DoubleClick(0, kType), Result::kIgnored);
    EXPECT_FALSE(logic.open_list());
    EXPECT_EQ(logic.OK(), Unchanged(input));
}

TEST(PagingAdrLogicTest, ListsOpenOnTheCellsValue) {
    struct Case {
        const char* name;
        uint8_t type;
        uint8_t address;
        int column;
        std::vector<std::string> entries;
        int selected;
    };
    const std::vector<std::string> types{"Business paging", "Fire paging", "Touch paging"};
    const std::vector<std::string> addresses{"01", "02", "03"};
    const Case cases[] = {
        {"business", 0, 1, kType, types, 0},
        {"fire", 1, 1, kType, types, 1},
        {"touch", 2, 1, kType, types, 2},
        {"type 7", 7, 1, kType, types, 0},
        {"address 01", 0, 1, kAddress, addresses, 0},
        {"address 03", 0, 3, kAddress, addresses, 2},
        {"address 05 beyond the count", 0, 5, kAddress, addresses, -1},
        {"address 00", 0, 0, kAddress, addresses, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Logic logic(Input(3, {1, c.type}, {1, c.address}));
        ASSERT_EQ(logic.DoubleClick(1, c.column), Result::kOpened);
        ASSERT_TRUE(logic.open_list());
        EXPECT_EQ(logic.open_list()->row, 1);
        EXPECT_EQ(logic.open_list()->column, c.column);
        EXPECT_EQ(logic.open_list()->entries, c.entries);
        EXPECT_EQ(logic.open_list()->selected, c.selected);
    }
}

TEST(PagingAdrLogicTest, TypeSevenShowsAsBusinessAndReadsBackAsZero) {
    const PagingAdrInput input = Input(2, {1, 7}, {1, 2});
    Logic logic(input);
    EXPECT_EQ(logic.text(1, kType), "Business paing");
    PagingAdrResult expected = Unchanged(input);
    expected.types[1] = 0;
    EXPECT_EQ(logic.OK(), expected);
}

TEST(PagingAdrLogicTest, AnAddressBeyondTheCountCommitsEmptyAndReadsZero) {
    const PagingAdrInput input = Input(3, {}, {1, 2, 5});
    Logic logic(input);
    ASSERT_EQ(logic.DoubleClick(2, kAddress), Result::kOpened);
    logic.Click(-1, -1);
    EXPECT_FALSE(logic.open_list());
    EXPECT_EQ(logic.text(2, kAddress), "");
    PagingAdrResult expected = Unchanged(input);
    expected.addresses[2] = 0;
    EXPECT_EQ(logic.OK(), expected);
}

TEST(PagingAdrLogicTest, AnAddressNeverWrittenKeepsItsStoredByte) {
    struct Case {
        const char* name;
        int choose;  // negative: the list is never opened
        uint8_t read_back;
    };
    const Case cases[] = {
        {"untouched", -2, 255},
        {"committed to 03", 2, 3},
        {"committed to 01", 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Logic logic(Input(3, {}, {200, 255, 100}));
        EXPECT_EQ(logic.text(1, kAddress), "255");
        if (c.choose >= 0) {
            ASSERT_EQ(logic.DoubleClick(1, kAddress), Result::kOpened);
            logic.Choose(c.choose);
            logic.Commit();
        }
        // A list opened and committed on another row leaves this one alone.
        ASSERT_EQ(logic.DoubleClick(0, kType), Result::kOpened);
        logic.Commit();
        const PagingAdrResult result = logic.OK();
        EXPECT_EQ(result.addresses[0], 200);
        EXPECT_EQ(result.addresses[1], c.read_back);
        EXPECT_EQ(result.addresses[2], 100);
    }
}

TEST(PagingAdrLogicTest, CommittingWritesTheCurrentEntry) {
    struct Case {
        const char* name;
        int column;
        int choose;
        const char* text;
    };
    const Case cases[] = {
        {"type chosen", kType, 2, "Touch paging"},
        {"type moved back to none", kType, -1, ""},
        {"address chosen", kAddress, 1, "02"},
        {"out of range ignored", kAddress, 3, "01"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Logic logic(Input(3, {1}, {1}));
        ASSERT_EQ(logic.DoubleClick(0, c.column), Result::kOpened);
        logic.Choose(c.choose);
        logic.Commit();
        EXPECT_EQ(logic.text(0, c.column), c.text);
        EXPECT_FALSE(logic.open_list());
    }
}

TEST(PagingAdrLogicTest, WhatCommitsAnOpenList) {
    struct Case {
        const char* name;
        bool double_click;
        int row;
        int column;
        bool commits;
        bool opens_another;
    };
    const Case cases[] = {
        {"double click on another TYPE cell", true, 1, kType, true, true},
        {"double click on another ADDRESS cell", true, 2, kAddress, true, true},
        {"double click on the same row's ADDRESS", true, 0, kAddress, true, true},
        {"click on another list cell", false, 1, kAddress, true, false},
        {"click outside the rows", false, -1, -1, true, false},
        {"click beyond the columns", false, 1, -1, true, false},
        {"double click outside the rows", true, -1, -1, true, false},
        {"click on ID", false, 1, Logic::kIdColumn, false, false},
        {"click on NAME", false, 0, Logic::kNameColumn, false, false},
        {"double click on NAME", true, 2, Logic::kNameColumn, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Logic logic(Input(3, {0, 0, 0}, {1, 2, 3}));
        ASSERT_EQ(logic.DoubleClick(0, kType), Result::kOpened);
        logic.Choose(1);
        if (c.double_click) {
            const Result result = logic.DoubleClick(c.row, c.column);
            EXPECT_EQ(result, c.opens_another ? Result::kOpened : Result::kIgnored);
        } else {
            logic.Click(c.row, c.column);
        }
        EXPECT_EQ(logic.text(0, kType), c.commits ? "Fire paging" : "Business paing");
        ASSERT_EQ(logic.open_list().has_value(), !c.commits || c.opens_another);
        if (c.opens_another) {
            EXPECT_EQ(logic.open_list()->row, c.row);
            EXPECT_EQ(logic.open_list()->column, c.column);
        } else if (!c.commits) {
            EXPECT_EQ(logic.open_list()->selected, 1);  // still open as it was
        }
    }
}

TEST(PagingAdrLogicTest, ADoubleClickOnTheOpenCellOnlyFocusesIt) {
    Logic logic(Input(3, {}, {1, 2, 3}));
    ASSERT_EQ(logic.DoubleClick(1, kAddress), Result::kOpened);
    logic.Choose(2);
    EXPECT_EQ(logic.DoubleClick(1, kAddress), Result::kFocused);
    logic.Click(1, kAddress);  // a click on the open cell itself
    ASSERT_TRUE(logic.open_list());
    EXPECT_EQ(logic.open_list()->selected, 2);
    EXPECT_EQ(logic.text(1, kAddress), "02");
}

TEST(PagingAdrLogicTest, OkDropsAnOpenList) {
    const PagingAdrInput input = Input(2, {1, 2}, {1, 2});
    Logic logic(input);
    ASSERT_EQ(logic.DoubleClick(0, kAddress), Result::kOpened);
    logic.Choose(1);
    EXPECT_EQ(logic.OK(), Unchanged(input));
    EXPECT_FALSE(logic.open_list());
    EXPECT_EQ(logic.text(0, kAddress), "01");
}

TEST(PagingAdrLogicTest, OkReturnsTheEditsAndPassesTheRestThrough) {
    const PagingAdrInput input = Input(3, {0, 1, 2}, {1, 2, 3});
    Logic logic(input);
    ASSERT_EQ(logic.DoubleClick(0, kType), Result::kOpened);
    logic.Choose(2);
    ASSERT_EQ(logic.DoubleClick(2, kAddress), Result::kOpened);
    logic.Choose(0);
    logic.Click(-1, -1);
    PagingAdrResult expected = Unchanged(input);
    expected.types[0] = 2;
    expected.addresses[2] = 1;
    EXPECT_EQ(logic.OK(), expected);
}

const BoxRequest kGiveUp{"Are you sure you give up the current configuration?",
                         "QAVO system grouping configuration", BoxButtons::kOkCancel,
                         BoxIcon::kQuestion};

TEST(PagingAdrLogicTest, CancelAsksOnlyWhenTheTableDiffersFromTheImage) {
    struct Case {
        const char* name;
        PagingAdrInput input;
        int edit_column;  // -1: no edit
        int choose;
        bool asks;
    };
    PagingAdrInput working_differs = Input(2, {1, 2}, {1, 2});
    working_differs.types[1] = 1;
    PagingAdrInput beyond_count_differs = Input(2, {1, 2}, {1, 2});
    beyond_count_differs.types[20] = 9;
    PagingAdrInput address_differs = Input(2, {1, 2}, {1, 2});
    address_differs.image_addresses[0] = 5;
    const Case cases[] = {
        {"nothing changed", Input(2, {1, 2}, {1, 2}), -1, 0, false},
        {"a type changed", Input(2, {1, 2}, {1, 2}), kType, 0, true},
        {"a type chosen as it was", Input(2, {1, 2}, {1, 2}), kType, 1, false},
        {"an address changed", Input(2, {1, 2}, {1, 2}), kAddress, 1, true},
        {"the working types differ from the image's", working_differs, -1, 0, true},
        {"a console beyond the count differs", beyond_count_differs, -1, 0, true},
        {"the addresses differ from the image's", address_differs, -1, 0, true},
        {"a type 7 reads back as 0", Input(2, {1, 7}, {1, 2}), -1, 0, true},
        {"an untouched 255", Input(2, {1, 2}, {255, 2}), -1, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Logic logic(c.input);
        if (c.edit_column >= 0) {
            ASSERT_EQ(logic.DoubleClick(0, c.edit_column), Result::kOpened);
            logic.Choose(c.choose);
            logic.Commit();
        }
        const std::optional<BoxRequest> question = logic.Cancel();
        if (c.asks) {
            ASSERT_TRUE(question);
            EXPECT_EQ(*question, kGiveUp);
        } else {
            EXPECT_FALSE(question);
        }
    }
}

TEST(PagingAdrLogicTest, CancelReadsAnOpenListsCellAsItStands) {
    Logic logic(Input(2, {1, 2}, {1, 2}));
    ASSERT_EQ(logic.DoubleClick(0, kType), Result::kOpened);
    logic.Choose(0);  // not committed: the cell still reads "Fire paing"
    EXPECT_FALSE(logic.Cancel());
    EXPECT_FALSE(logic.open_list());  // closing drops it
}

TEST(PagingAdrLogicTest, TheAnswerDecidesWhetherTheDialogCloses) {
    struct Case {
        BoxAnswer answer;
        bool closes;
    };
    for (const Case& c : {Case{BoxAnswer::kOk, true}, Case{BoxAnswer::kCancel, false}}) {
        SCOPED_TRACE(c.closes);
        Logic logic(Input(2, {1, 2}, {1, 2}));
        ASSERT_EQ(logic.DoubleClick(0, kType), Result::kOpened);
        logic.Choose(2);
        logic.Commit();
        ASSERT_EQ(logic.DoubleClick(1, kType), Result::kOpened);
        ASSERT_TRUE(logic.Cancel());
        EXPECT_EQ(logic.CancelAnswered(c.answer), c.closes);
        EXPECT_EQ(logic.open_list().has_value(), !c.closes);
        EXPECT_EQ(logic.text(0, kType), "Touch paging");  // the table as it was
    }
}

TEST(PagingAdrLogicTest, ACountAboveTheConsolesIsHeldToThem) {
    Logic logic(Input(40, {}, {}));
    EXPECT_EQ(logic.rows().size(), 32u);
    EXPECT_EQ(logic.DoubleClick(32, kType), Result::kIgnored);
    ASSERT_EQ(logic.DoubleClick(31, kAddress), Result::kOpened);
    EXPECT_EQ(logic.open_list()->entries.size(), 32u);
    EXPECT_EQ(logic.open_list()->entries.back(), "32");
}

}  // namespace
}  // namespace qavo
