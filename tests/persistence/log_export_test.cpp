// The log export: the workbook read back from the file (a zip archive of
// XML parts), and an existing workbook kept when an export fails.
#include "persistence/log_export.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "db_test_util.h"
#include "file_test_util.h"
#include "support/xlsx_reader.h"

namespace qavo {
namespace {

using testing::Entries;
using testing::FileSizeLimit;
using testing::ReadBytes;
using testing::ReadXlsxSheet;
using testing::TempDir;
using testing::WriteBytes;
using testing::XlsxSheet;

class LogExportTest : public ::testing::Test {
  protected:
    std::string Path(const std::string& name) const { return (dir.path() / name).string(); }
    XlsxSheet Export(const std::vector<LogRow>& rows) {
        const FileResult r = ExportLogWorkbook(Path("log.xlsx"), rows);
        EXPECT_TRUE(r.ok) << r.error;
        auto sheet = ReadXlsxSheet(Path("log.xlsx"));
        EXPECT_TRUE(sheet.has_value());
        return sheet.value_or(XlsxSheet{});
    }
    TempDir dir;
};

void ExpectHeaderLayout(const XlsxSheet& sheet) {
    EXPECT_EQ(sheet.sheet_names, std::vector<std::string>{"QAVO system log"});
    EXPECT_EQ(sheet.pane.at("ySplit"), "1");
    EXPECT_EQ(sheet.pane.at("topLeftCell"), "A2");
    EXPECT_EQ(sheet.pane.at("state"), "frozen");
    EXPECT_EQ(sheet.pane.count("xSplit"), 0u);
    const std::pair<int, double> widths[] = {{1, 5}, {2, 20}, {3, 25}, {4, 100}};
    for (auto [column, width] : widths) {
        ASSERT_TRUE(sheet.widths.count(column)) << column;
        EXPECT_NEAR(sheet.widths.at(column), width, 1.0) << column;
    }
    const std::pair<const char*, const char*> header[] = {
        {"A1", "ID"}, {"B1", "CALENDAR"}, {"C1", "LOG TYPE"}, {"D1", "DETAILED"}};
    for (auto [ref, text] : header) {
        ASSERT_TRUE(sheet.cells.count(ref)) << ref;
        EXPECT_EQ(sheet.cells.at(ref), text) << ref;
    }
}

TEST_F(LogExportTest, RowsFollowTheHeaderInTableOrder) {
    const std::vector<LogRow> rows = {
        {"1", "2024-03-05,08:15:00", "Host online", "Host 01 is on line."},
        {"2", "2024-03-05,08:16:30", "Line fault", "Host 02 zone 03 line A <open> & short."},
        {"3", "2024-03-06,23:59:59", "Host online", "Host 01 is on line."},
    };
    const XlsxSheet sheet = Export(rows);
    ExpectHeaderLayout(sheet);
    EXPECT_EQ(sheet.last_row, 4);
    for (size_t i = 0; i < rows.size(); ++i) {
        const std::string n = std::to_string(i + 2);
        SCOPED_TRACE(n);
        EXPECT_EQ(sheet.cells.at("A" + n), rows[i].order);
        EXPECT_EQ(sheet.cells.at("B" + n), rows[i].calendar);
        EXPECT_EQ(sheet.cells.at("C" + n), rows[i].event_type);
        EXPECT_EQ(sheet.cells.at("D" + n), rows[i].event_context);
    }
    // Numbers stay text: the order is written as a string cell, not a value.
    const auto xml = testing::ReadZipMember(Path("log.xlsx"), "xl/worksheets/sheet1.xml");
    ASSERT_TRUE(xml);
    EXPECT_NE(xml->find(R"(<c r="A2" t="s">)"), std::string::npos);
}

TEST_F(LogExportTest, EmptyTableGivesTheHeaderOnly) {
    const XlsxSheet sheet = Export({});
    ExpectHeaderLayout(sheet);
    EXPECT_EQ(sheet.last_row, 1);
    EXPECT_EQ(sheet.cells.size(), 4u);
}

TEST_F(LogExportTest, ExportReplacesAnExistingWorkbook) {
    WriteBytes(Path("log.xlsx"), std::vector<uint8_t>(300, 0x33));
    const XlsxSheet sheet = Export({{"1", "2024-01-01,00:00:00", "Host online", "x"}});
    EXPECT_EQ(sheet.cells.at("D2"), "x");
    EXPECT_EQ(Entries(dir.path()), std::vector<std::string>{"log.xlsx"});
}

TEST_F(LogExportTest, FailedExportKeepsTheOldWorkbookAndLeavesNothingBehind) {
    const std::vector<uint8_t> old(300, 0x33);
    WriteBytes(Path("log.xlsx"), old);
    WriteBytes(Path("plain"), {1});
    std::vector<LogRow> many;
    for (int i = 1; i <= 2000; ++i)
        many.push_back({std::to_string(i), "2024-01-01,00:00:00", "Host online",
                        "Host " + std::to_string(i % 20) + " is on line."});
    const std::vector<LogRow> too_long = {
        {"1", "2024-01-01,00:00:00", "Host online", "ok"},
        {"2", "2024-01-01,00:00:01", "Host online", std::string(40000, 'x')},
    };

    struct Case {
        const char* what;
        std::string target;
        const std::vector<LogRow>* rows;
        rlim_t size_limit;  // 0: none
        const char* in_error;
    };
    const Case cases[] = {
        {"the disk refuses the bytes", Path("log.xlsx"), &many, 2000, "log.xlsx"},
        {"a cell the spreadsheet cannot hold", Path("log.xlsx"), &too_long, 0, "row 3"},
        {"no file under a regular file", Path("plain") + "/log.xlsx", &many, 0, "plain/log.xlsx"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FileResult r;
        {
            std::optional<FileSizeLimit> limit;
            if (c.size_limit) {
                limit.emplace(c.size_limit);
                ASSERT_TRUE(limit->active());
            }
            r = ExportLogWorkbook(c.target, *c.rows);
        }
        EXPECT_FALSE(r.ok);
        EXPECT_NE(r.error.find(c.in_error), std::string::npos) << r.error;
        EXPECT_EQ(ReadBytes(Path("log.xlsx")), old);
        EXPECT_EQ(Entries(dir.path()), (std::vector<std::string>{"log.xlsx", "plain"}));
    }
}

}  // namespace
}  // namespace qavo
