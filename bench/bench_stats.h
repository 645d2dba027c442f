#pragma once

// Small helpers that the benchmarks share to report their figures.

#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
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

// A fresh directory under the system's temporary folder, named after `name`;
// nullopt (with the reason printed) when it cannot be made.
inline std::optional<std::filesystem::path> MakeTempDir(const char* name) {
    std::string pattern =
        (std::filesystem::temp_directory_path() / (std::string(name) + "-XXXXXX")).string();
    if (mkdtemp(pattern.data()) == nullptr) {
        std::perror("mkdtemp");
        return std::nullopt;
    }
    return std::filesystem::path(pattern);
}

}  // namespace qavo::bench
