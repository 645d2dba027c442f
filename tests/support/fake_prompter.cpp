#include "support/fake_prompter.h"

namespace qavo::testing {

void FakePrompter::Script(std::initializer_list<BoxAnswer> answers) {
    std::lock_guard lock(mutex_);
    script_.insert(script_.end(), answers);
}

BoxAnswer FakePrompter::Ask(const BoxRequest& request) {
    std::lock_guard lock(mutex_);
    asked_.push_back(request);
    if (!script_.empty()) {
        BoxAnswer answer = script_.front();
        script_.pop_front();
        return answer;
    }
    switch (request.buttons) {
        case BoxButtons::kYesNo:
        case BoxButtons::kYesNoCancel:
            return BoxAnswer::kYes;
        case BoxButtons::kRetryCancel:
            return BoxAnswer::kRetry;
        case BoxButtons::kAbortRetryIgnore:
            return BoxAnswer::kAbort;
        default:
            return BoxAnswer::kOk;
    }
}

std::vector<BoxRequest> FakePrompter::asked() const {
    std::lock_guard lock(mutex_);
    return asked_;
}

}  // namespace qavo::testing
