#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "model/auto_timing.h"

namespace qavo {

// A local calendar moment, as the pickers of the system timing dialog hold it.
struct CivilTime {
    int year = 2000;
    int month = 1;  // 1 to 12
    int day = 1;    // 1 to 31
    int hour = 0;
    int minute = 0;
    int second = 0;
    friend bool operator==(const CivilTime&, const CivilTime&) = default;
};

// The day a stored time of day without a date stands for.
inline constexpr CivilTime kTimeOnlyDay{1899, 12, 30, 0, 0, 0};

// Reads a stored schedule: "YYYY/MM/DD hh:mm:ss" (one or more digits per
// field) with a date that exists, or a time of day "hh:mm:ss" alone, which
// reads as that time on 30 December 1899. Anything else (such as month 18)
// cannot be read.
std::optional<CivilTime> ReadScheduleText(std::string_view text);

// "%.4d/%.2d/%.2d %.2d:%.2d:%.2d": the form the schedule is stored in and
// compared with the PC's clock.
std::string FormatSchedule(const CivilTime& t);

// Seconds since 1970-01-01 00:00 UTC of a local moment (daylight-saving time
// as the system decides); nullopt when the platform cannot hold it.
std::optional<long long> LocalToSeconds(const CivilTime& t);
CivilTime LocalFromSeconds(long long seconds);

// What "Application" of the system timing dialog does with the pickers.
struct SysTimingInput {
    CivilTime set_now;  // date picker and time picker: the host's new time
    bool auto_checked = false;
    CivilTime schedule;  // the schedule picker (hidden date and shown time)
};
struct SysTimingOutcome {
    std::optional<long long> clock_to_set;  // nullopt: the date cannot be sent
    AutoTiming timing;                      // stored, checked or not
};
SysTimingOutcome ApplySysTiming(const SysTimingInput& input, const AutoTiming& current);

// The automatic clock setting of the one-second tick. It fires when the
// stored moment is reached: at that second, or at the next tick when the
// timer skipped over that very second (a one-second timer drifts against
// the wall clock). It fires once per stored moment, never for a moment that
// passed while the timer stood still, never for a text that is not in the
// stored form (such as "2018/18/18 23:59:59" or the time-only "23:59:59").
class AutoClock {
  public:
    // `now`: the PC's time in seconds. Returns the time to send when due.
    std::optional<long long> Tick(const AutoTiming& timing, long long now);
    // The timer stopped (log-out): the next tick starts afresh.
    void Reset() { last_tick_.reset(); }

  private:
    std::optional<long long> last_tick_;
    std::optional<long long> last_fired_;
};

}  // namespace qavo
