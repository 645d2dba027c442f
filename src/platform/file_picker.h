#pragma once

#include <optional>
#include <string>

namespace qavo {

struct FileRequest {
    enum class Mode { kOpen, kSave };
    Mode mode = Mode::kOpen;
    std::string filter;          // e.g. "Binary file(*.bin)|*.bin"
    std::string default_suffix;  // added to a name typed without one
    std::string initial_name;
    bool hide_read_only = true;
    friend bool operator==(const FileRequest&, const FileRequest&) = default;
};

// Asks the operator for a file; nullopt when the chooser is cancelled.
class FilePicker {
  public:
    virtual ~FilePicker() = default;
    virtual std::optional<std::string> Pick(const FileRequest& request) = 0;
};

}  // namespace qavo
