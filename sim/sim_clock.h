#pragma once

#include <chrono>
#include <cstdint>
#include <optional>

namespace qavo::sim {

// A calendar moment, as SET_CLOCK carries it.
struct ClockTime {
    int year = 2000;
    int month = 1;  // 1 to 12
    int day = 1;    // 1 to 31
    int hour = 0;
    int minute = 0;
    int second = 0;
    friend bool operator==(const ClockTime&, const ClockTime&) = default;
};

bool IsValidClockTime(const ClockTime& t);
// Seconds since 1970-01-01 00:00:00 for `t`, counted without time zones.
int64_t ToSeconds(const ClockTime& t);
ClockTime FromSeconds(int64_t seconds);

// The host's clock: the machine's local time until it is set, then the set
// moment running on from when it was set.
class SimClock {
  public:
    void Set(const ClockTime& t);
    ClockTime Now() const;
    // The moment it was last set to, if ever.
    std::optional<ClockTime> LastSet() const { return last_set_; }

  private:
    std::optional<ClockTime> last_set_;
    std::chrono::steady_clock::time_point set_at_{};
};

}  // namespace qavo::sim
