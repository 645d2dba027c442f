#include "maintenance/sys_timing_logic.h"

#include <cstdio>
#include <ctime>

namespace qavo {
namespace {

bool IsLeap(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysIn(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeap(year) ? 29 : kDays[month - 1];
}

bool ValidTimeOfDay(const CivilTime& t) {
    return t.hour >= 0 && t.hour <= 23 && t.minute >= 0 && t.minute <= 59 && t.second >= 0 &&
           t.second <= 59;
}

// Reads `count` unsigned decimal fields separated by `separators`; the text
// must end with the last field.
bool ReadFields(std::string_view text, const char* separators, int* out, int count) {
    size_t i = 0;
    for (int f = 0; f < count; ++f) {
        if (f > 0) {
            if (i >= text.size() || text[i] != separators[f - 1]) return false;
            ++i;
        }
        const size_t start = i;
        long value = 0;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9' && i - start < 4) {
            value = value * 10 + (text[i] - '0');
            ++i;
        }
        if (i == start) return false;
        out[f] = static_cast<int>(value);
    }
    return i == text.size();
}

}  // namespace

std::optional<CivilTime> ReadScheduleText(std::string_view text) {
    int f[6];
    CivilTime t;
    if (ReadFields(text, "// ::", f, 6)) {
        t = CivilTime{f[0], f[1], f[2], f[3], f[4], f[5]};
        if (t.year < 1 || t.month < 1 || t.month > 12) return std::nullopt;
        if (t.day < 1 || t.day > DaysIn(t.year, t.month)) return std::nullopt;
    } else if (ReadFields(text, "::", f, 3)) {
        t = kTimeOnlyDay;
        t.hour = f[0];
        t.minute = f[1];
        t.second = f[2];
    } else {
        return std::nullopt;
    }
    if (!ValidTimeOfDay(t)) return std::nullopt;
    return t;
}

std::string FormatSchedule(const CivilTime& t) {
    char text[64];
    std::snprintf(text, sizeof text, "%.4d/%.2d/%.2d %.2d:%.2d:%.2d", t.year, t.month, t.day,
                  t.hour, t.minute, t.second);
    return text;
}

std::optional<long long> LocalToSeconds(const CivilTime& t) {
    std::tm local{};
    local.tm_year = t.year - 1900;
    local.tm_mon = t.month - 1;
    local.tm_mday = t.day;
    local.tm_hour = t.hour;
    local.tm_min = t.minute;
    local.tm_sec = t.second;
    local.tm_isdst = -1;
    const std::time_t seconds = std::mktime(&local);
    if (seconds == static_cast<std::time_t>(-1)) return std::nullopt;
    return static_cast<long long>(seconds);
}

CivilTime LocalFromSeconds(long long seconds) {
    const std::time_t t = static_cast<std::time_t>(seconds);
    std::tm local{};
    localtime_r(&t, &local);
    return CivilTime{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                     local.tm_hour,        local.tm_min,     local.tm_sec};
}

SysTimingOutcome ApplySysTiming(const SysTimingInput& input, const AutoTiming& current) {
    SysTimingOutcome out;
    out.clock_to_set = LocalToSeconds(input.set_now);
    out.timing.auto_enabled = input.auto_checked;
    // An unchecked box keeps the moment, so checking it again later shows it.
    out.timing.a_timing = input.auto_checked ? FormatSchedule(input.schedule) : current.a_timing;
    return out;
}

std::optional<long long> AutoClock::Tick(const AutoTiming& timing, long long now) {
    const std::optional<long long> previous = last_tick_;
    last_tick_ = now;
    if (!timing.auto_enabled) return std::nullopt;
    // Only the stored form can match the PC's clock.
    const auto moment = ReadScheduleText(timing.a_timing);
    if (!moment || FormatSchedule(*moment) != timing.a_timing) return std::nullopt;
    const auto at = LocalToSeconds(*moment);
    if (!at || last_fired_ == *at) return std::nullopt;
    // A tick may come a little late and step over the moment's second; a
    // longer gap means the timer stood still, and that moment is missed.
    constexpr long long kLongestStep = 3;
    const bool stepped_over =
        previous && now > *previous && now - *previous <= kLongestStep && *previous < *at;
    const bool due = *at == now || (stepped_over && *at <= now);
    if (!due) return std::nullopt;
    last_fired_ = *at;
    return now;
}

}  // namespace qavo
