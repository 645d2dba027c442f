#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/file_picker.h"

namespace qavo::testing {

// Answers file choosers from a script (nullopt = Cancel) and records them.
class FakeFilePicker final : public FilePicker {
  public:
    void Script(std::optional<std::string> answer) { script_.push_back(std::move(answer)); }
    std::optional<std::string> Pick(const FileRequest& request) override {
        asked_.push_back(request);
        if (script_.empty()) return std::nullopt;
        auto answer = script_.front();
        script_.pop_front();
        return answer;
    }
    const std::vector<FileRequest>& asked() const { return asked_; }

  private:
    std::deque<std::optional<std::string>> script_;
    std::vector<FileRequest> asked_;
};

}  // namespace qavo::testing
