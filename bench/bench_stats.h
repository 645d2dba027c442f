#pragma once

// Small helpers that the benchmarks share to report their figures.

#include <algorithm>
#include <chrono>
#include <vector>

namespace qavo::bench {

inline double Millis(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

// The middle value (the upper one of an even count); `values` is not empty.
inline double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace qavo::bench
