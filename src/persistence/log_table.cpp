#include "persistence/log_table.h"

#include <array>

#include "persistence/table_access.h"

namespace qavo {

std::string_view LogQueryText(const LogFilter& filter) {
    if (filter.calendar) {
        return filter.event_type ? kSelectLogByTypeAndCalendar : kSelectLogByCalendar;
    }
    return filter.event_type ? kSelectLogByType : kSelectLog;
}

LogRows LoadLog(ConsoleDatabase& db, const LogFilter& filter) {
    std::array<std::string_view, 3> params;
    size_t count = 0;
    if (filter.event_type) params[count++] = *filter.event_type;
    if (filter.calendar) {
        params[count++] = filter.calendar->from;
        params[count++] = filter.calendar->to;
    }
    LogRows result;
    RecordSet records = db.OpenTable(LogQueryText(filter), std::span(params.data(), count));
    if (!records.IsOpen()) return result;

    std::optional<int> order = records.ColumnIndex("order");
    std::optional<int> calendar = records.ColumnIndex("calendar");
    std::optional<int> event_type = records.ColumnIndex("event_type");
    std::optional<int> event_context = records.ColumnIndex("event_context");
    if (!order || !calendar || !event_type || !event_context) {
        result.status = records.AtEnd() ? DbStatus::kOk : DbStatus::kError;
        return result;
    }
    result.status = DbStatus::kOk;
    while (!records.AtEnd()) {
        result.rows.push_back(LogRow{
            std::string(records.TextAt(*order)), std::string(records.TextAt(*calendar)),
            std::string(records.TextAt(*event_type)), std::string(records.TextAt(*event_context))});
        if (!records.MoveNext()) {
            result.status = DbStatus::kError;
            break;
        }
    }
    return result;
}

DbStatus ReplaceLog(ConsoleDatabase& db, std::span<const LogRow> rows) {
    return ReplaceAll(db, Table::kLog, rows.size(),
                      [rows](std::size_t index, std::span<std::string_view> out) {
                          const LogRow& row = rows[index];
                          out[0] = row.order;
                          out[1] = row.calendar;
                          out[2] = row.event_type;
                          out[3] = row.event_context;
                      });
}

DbStatus ClearLog(ConsoleDatabase& db) {
    return DeleteAll(db, Table::kLog);
}

}  // namespace qavo
