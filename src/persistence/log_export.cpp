#include "persistence/log_export.h"

#include <xlsxwriter.h>

#include <memory>

namespace qavo {

namespace {

// Frees a workbook that was given up on before it was written.
struct WorkbookFree {
    void operator()(lxw_workbook* workbook) const { lxw_workbook_free(workbook); }
};
using WorkbookPtr = std::unique_ptr<lxw_workbook, WorkbookFree>;

FileResult LibraryError(const std::string& path, const std::string& step, lxw_error error) {
    return FileResult::Failure(path + ": " + step + ": " + lxw_strerror(error));
}

// The sheet's cells, header first. Row numbers in messages count from 1, as
// the spreadsheet shows them.
FileResult FillSheet(const std::string& path, lxw_worksheet* sheet, std::span<const LogRow> rows) {
    for (lxw_col_t col = 0; col < kLogColumns.size(); ++col) {
        const LogColumn& column = kLogColumns[col];
        if (lxw_error e = worksheet_set_column(sheet, col, col, column.width, nullptr)) {
            return LibraryError(path, "column width", e);
        }
        const std::string header(column.header);
        if (lxw_error e = worksheet_write_string(sheet, 0, col, header.c_str(), nullptr)) {
            return LibraryError(path, "header", e);
        }
    }
    worksheet_freeze_panes(sheet, 1, 0);
    lxw_row_t row_number = 1;
    for (const LogRow& row : rows) {
        const std::string* cells[] = {&row.order, &row.calendar, &row.event_type,
                                      &row.event_context};
        for (lxw_col_t col = 0; col < 4; ++col) {
            if (lxw_error e =
                    worksheet_write_string(sheet, row_number, col, cells[col]->c_str(), nullptr)) {
                return LibraryError(path, "row " + std::to_string(row_number + 1), e);
            }
        }
        ++row_number;
    }
    return FileResult::Success();
}

}  // namespace

FileResult ExportLogWorkbook(const std::string& path, std::span<const LogRow> rows) {
    ReplacingFile file(path);
    if (FileResult r = file.Open(); !r.ok) return r;

    WorkbookPtr workbook(workbook_new(file.temp_path().c_str()));
    if (!workbook) return FileResult::Failure(path + ": cannot create the workbook");
    const std::string sheet_name(kLogSheetName);
    lxw_worksheet* sheet = workbook_add_worksheet(workbook.get(), sheet_name.c_str());
    if (!sheet) return FileResult::Failure(path + ": cannot add the worksheet");
    if (FileResult r = FillSheet(path, sheet, rows); !r.ok) return r;

    // Closing writes the whole file and frees the workbook, whatever it says.
    if (lxw_error e = workbook_close(workbook.release())) {
        return LibraryError(path, "cannot write", e);
    }
    return file.Commit();
}

}  // namespace qavo
