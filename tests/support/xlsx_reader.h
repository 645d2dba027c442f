#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace qavo::testing {

// One member of a zip archive, uncompressed; nullopt when the archive or
// the member cannot be read.
std::optional<std::string> ReadZipMember(const std::string& archive, const std::string& member);

// What the tests look at in a workbook with one worksheet, read back from
// the file itself (the workbook part, the first sheet and the shared strings).
struct XlsxSheet {
    std::vector<std::string> sheet_names;  // in workbook order
    // Attributes of the sheet view's pane ("ySplit", "topLeftCell", "state").
    std::map<std::string, std::string> pane;
    // Column widths by column number from 1, as written in <cols>.
    std::map<int, double> widths;
    // Cell texts by reference ("A1"); shared strings are resolved.
    std::map<std::string, std::string> cells;
    // The highest row number that holds a cell, 0 when none.
    int last_row = 0;
};

// nullopt when the file is not a readable workbook.
std::optional<XlsxSheet> ReadXlsxSheet(const std::string& path);

}  // namespace qavo::testing
