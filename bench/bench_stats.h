#pragma once

// Small helpers that the benchmarks share: a silent prompter, and the
// figures they report.

#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/prompter.h"

namespace qavo::bench {

// Answers every message box with OK and prints its text.
class SilentPrompter final : public Prompter {
  public:
    BoxAnswer Ask(const BoxRequest& request) override {
        std::fprintf(stderr, "box: %s\n", request.text.c_str());
        return BoxAnswer::kOk;
    }
};

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
