#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace qavo {

// The outcome of a file operation: on failure, what went wrong, with the
// path and the system's reason.
struct FileResult {
    bool ok = false;
    std::string error;

    static FileResult Success() { return {true, {}}; }
    static FileResult Failure(std::string error) { return {false, std::move(error)}; }
};

// "path: reason" for the current errno.
std::string SystemError(const std::string& path, const char* what);

// A new file that takes the place of `target` only once it is complete.
// The bytes go to a fresh temporary file in the target's directory; Commit
// flushes them to the disk and renames the temporary file over the target.
// Until then an existing target stays as it was, and a file that is never
// committed (a failure, an early return) is removed again.
class ReplacingFile {
  public:
    explicit ReplacingFile(std::string target);
    ~ReplacingFile();
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    // Creates the temporary file. Must succeed before anything else.
    FileResult Open();
    // Where the bytes go until the commit; another writer may fill this
    // file itself (it is the same file that Commit flushes and renames).
    const std::string& temp_path() const { return temp_; }
    const std::string& target() const { return target_; }

    // Appends `bytes` to the temporary file.
    FileResult Write(std::span<const uint8_t> bytes);
    // Flushes the temporary file, closes it and renames it over the target.
    FileResult Commit();

  private:
    void Discard();

    std::string target_;
    std::string temp_;
    int fd_ = -1;
    bool committed_ = false;
};

// Writes `bytes` as the whole new content of `path`, through a ReplacingFile.
FileResult ReplaceFileContent(const std::string& path, std::span<const uint8_t> bytes);

}  // namespace qavo
