#pragma once

#include <string>

namespace qavo {

// The title of the main window; message boxes without a caption of their
// own carry it.
inline constexpr const char* kAppTitle = "EmergencyVoiceAlarmSystem";

enum class BoxButtons { kOk, kOkCancel, kYesNo, kYesNoCancel, kRetryCancel, kAbortRetryIgnore };
enum class BoxIcon { kNone, kError, kWarning, kInformation, kQuestion };
enum class BoxAnswer { kOk, kCancel, kYes, kNo, kAbort, kRetry, kIgnore };

struct BoxRequest {
    std::string text;
    std::string caption = kAppTitle;
    BoxButtons buttons = BoxButtons::kOk;
    BoxIcon icon = BoxIcon::kNone;
    bool foreground = false;  // bring the box to the foreground
    friend bool operator==(const BoxRequest&, const BoxRequest&) = default;
};

// Shows a message box and waits for the answer. May be called from any
// thread; the implementation shows the box on the GUI thread.
class Prompter {
  public:
    virtual ~Prompter() = default;
    virtual BoxAnswer Ask(const BoxRequest& request) = 0;
};

}  // namespace qavo
