#include "sim_event_log.h"

#include <algorithm>

#include "link/frame.h"

namespace qavo::sim {

LogRecord MakeRecord(const ClockTime& when, uint8_t kind, const EventData& data) {
    LogRecord r{};
    r[0] = kind;
    r[2] = static_cast<uint8_t>(std::clamp(when.year - 2000, 0, 99));
    r[3] = static_cast<uint8_t>(when.month);
    r[4] = static_cast<uint8_t>(when.day);
    r[5] = static_cast<uint8_t>(when.hour);
    r[6] = static_cast<uint8_t>(when.minute);
    r[7] = static_cast<uint8_t>(when.second);
    std::copy(data.begin(), data.end(), r.begin() + 8);
    return r;
}

void EventLog::Add(const LogRecord& record) {
    if (capacity_ == 0) return;
    while (records_.size() >= capacity_)
        records_.pop_front();
    records_.push_back(record);
}

std::vector<uint8_t> EventLog::Area() const {
    std::vector<uint8_t> area(kHostLogHeaderSize + records_.size() * kHostLogRecordSize, 0);
    WriteLe16(area.data(), static_cast<uint16_t>(records_.size()));
    uint8_t* p = area.data() + kHostLogHeaderSize;
    for (const LogRecord& r : records_)
        p = std::copy(r.begin(), r.end(), p);
    return area;
}

}  // namespace qavo::sim
