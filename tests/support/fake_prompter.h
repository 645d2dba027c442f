#pragma once

#include <deque>
#include <mutex>
#include <vector>

#include "platform/prompter.h"

namespace qavo::testing {

// Answers message boxes from a script and records every box asked for.
// With the script empty it answers the first button (Ok, Yes, Abort, Retry).
class FakePrompter final : public Prompter {
  public:
    void Script(std::initializer_list<BoxAnswer> answers);
    BoxAnswer Ask(const BoxRequest& request) override;
    std::vector<BoxRequest> asked() const;

  private:
    mutable std::mutex mutex_;
    std::deque<BoxAnswer> script_;
    std::vector<BoxRequest> asked_;
};

}  // namespace qavo::testing
