#include "platform/timings.h"

namespace qavo {

namespace {
Timings::ms Scale(Timings::ms value, double factor) {
    if (value.count() == 0) return value;
    auto scaled = static_cast<long long>(static_cast<double>(value.count()) * factor);
    return Timings::ms(scaled < 1 ? 1 : scaled);
}
}  // namespace

Timings Timings::Scaled(double factor) {
    Timings t;
    for (auto field : kAllTimings)
        t.*field = Scale(t.*field, factor);
    return t;
}

}  // namespace qavo
