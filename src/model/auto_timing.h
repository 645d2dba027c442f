#pragma once

#include <string>

namespace qavo {

// The automatic setting of the host's clock. When `auto_enabled` is on, the
// one-second timer sets the host's clock once, at the moment `a_timing`
// ("YYYY/MM/DD hh:mm:ss", local time). The initial time-only text never
// matches a full date and time, so nothing fires until a moment is stored.
struct AutoTiming {
    std::string a_timing = "23:59:59";
    bool auto_enabled = true;  // stored as the column `auto`
    friend bool operator==(const AutoTiming&, const AutoTiming&) = default;
};

}  // namespace qavo
