#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <vector>

#include "model/live_status.h"
#include "sim_clock.h"

namespace qavo::sim {

// One 14-byte record: kind, unused, year within the century, month, day,
// hour, minute, second, then six bytes whose meaning depends on the kind.
using LogRecord = std::array<uint8_t, kHostLogRecordSize>;
using EventData = std::array<uint8_t, 6>;

enum EventKind : uint8_t {
    kEventMic = 1,         // emergency microphone: b8 1 fault, 3 start, 4 stop, else normal
    kEventMessages = 2,    // message counts: b8 != 0, b10-11 QAVO, b12-13 alert
    kEventAmplifier = 3,   // b8 host number, b9 host state (bits 3 and 4)
    kEventZones = 4,       // b8 host number, b9-b12 speaker lines of its zones
    kEventPower = 5,       // b8 host number, b9 host state (bits 0 and 1)
    kEventHostOnline = 6,  // b8 host number, b9 1 online
    kEventPaging = 7,      // b8 console number, b9 type in bits 6-7, 1 online in bits 0-3
    kEventAlarm = 8,       // b8 what happened, b9 host or console number, b10 contacts
    kEventAckReset = 9,    // b8 0x22 from the console, 0x21 fire paging b9, else the panel
};

// The alarm events (kind 8, byte 8).
enum AlarmEvent : uint8_t {
    kAlarmManualFire = 1,
    kAlarmManualReset = 2,
    kAlarmContact = 3,
    kAlarmCieReset = 5,
    kAlarmPagingFire = 6,
    kAlarmPagingReset = 7,
    kAlarmContactRelease = 8,
};
inline constexpr uint8_t kResetFromConsole = 0x22;
inline constexpr uint8_t kResetFromFirePaging = 0x21;

LogRecord MakeRecord(const ClockTime& when, uint8_t kind, const EventData& data);

// The host's event log: the newest records, at most `capacity`; the oldest
// go first when it is full.
class EventLog {
  public:
    explicit EventLog(size_t capacity = kHostLogMaxRecords) : capacity_(capacity) {}

    void Add(const LogRecord& record);
    void Clear() { records_.clear(); }
    size_t size() const { return records_.size(); }
    std::vector<LogRecord> Records() const { return {records_.begin(), records_.end()}; }
    // The log as it travels: record count (16-bit), two unused bytes, records.
    std::vector<uint8_t> Area() const;

  private:
    size_t capacity_;
    std::deque<LogRecord> records_;
};

}  // namespace qavo::sim
