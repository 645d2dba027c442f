#include "persistence/file_replace.h"

#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <string.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>

namespace qavo {

namespace {

// The directory part of `path` ("." for a bare name).
std::string DirectoryOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

// A hidden name beside the target ("dir/.name.1a2b3c4d.tmp") that no other
// save of this process uses at the same time; O_EXCL settles a clash with
// anything else. The name part is shortened so that a long but valid target
// name still leaves room for the suffix.
std::string TempName(const std::string& target, unsigned attempt) {
    static std::atomic<unsigned> counter{0};
    const auto slash = target.find_last_of('/');
    const std::string dir = slash == std::string::npos ? "" : target.substr(0, slash + 1);
    const std::string name = target.substr(slash == std::string::npos ? 0 : slash + 1);
    const auto stamp = static_cast<unsigned long long>(
        std::chrono::steady_clock::now().time_since_epoch().count());
    const unsigned long long mix = (static_cast<unsigned long long>(getpid()) << 40) ^
                                   (static_cast<unsigned long long>(counter.fetch_add(1)) << 20) ^
                                   stamp ^ (attempt * 0x9E3779B9ull);
    char suffix[32];
    std::snprintf(suffix, sizeof suffix, ".%.8llx.tmp", mix & 0xFFFFFFFFull);
    return dir + "." + name.substr(0, 200) + suffix;
}

}  // namespace

std::string SystemError(const std::string& path, const char* what) {
    const int code = errno;
    std::string text = path;
    text += ": ";
    text += what;
    text += ": ";
    text += strerror(code);
    return text;
}

ReplacingFile::ReplacingFile(std::string target) : target_(std::move(target)) {}

ReplacingFile::~ReplacingFile() {
    if (!committed_) Discard();
}

FileResult ReplacingFile::Open() {
    if (target_.empty()) return FileResult::Failure("No file name was given.");
    if (target_.back() == '/') return FileResult::Failure(target_ + ": not a file name");
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        std::string name = TempName(target_, attempt);
        // The mode before the umask, as for any new file of the operator.
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            fd_ = fd;
            temp_ = std::move(name);
            return FileResult::Success();
        }
        if (errno != EEXIST) return FileResult::Failure(SystemError(target_, "cannot create"));
    }
    return FileResult::Failure(target_ + ": cannot create: no free temporary name");
}

FileResult ReplacingFile::Write(std::span<const uint8_t> bytes) {
    if (fd_ < 0) return FileResult::Failure(target_ + ": cannot write: the file is not open");
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return FileResult::Failure(SystemError(target_, "cannot write"));
        }
        bytes = bytes.subspan(static_cast<size_t>(n));
    }
    return FileResult::Success();
}

FileResult ReplacingFile::Commit() {
    if (fd_ < 0) return FileResult::Failure(target_ + ": cannot write: the file is not open");
    if (::fsync(fd_) != 0) return FileResult::Failure(SystemError(target_, "cannot write"));
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) return FileResult::Failure(SystemError(target_, "cannot write"));
    if (::rename(temp_.c_str(), target_.c_str()) != 0) {
        return FileResult::Failure(SystemError(target_, "cannot replace"));
    }
    committed_ = true;
    // The new name reaches the disk with the directory; the file itself is
    // already complete under it, so a failure here changes nothing.
    const int dir = ::open(DirectoryOf(target_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return FileResult::Success();
}

void ReplacingFile::Discard() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!temp_.empty()) ::unlink(temp_.c_str());
}

FileResult ReplaceFileContent(const std::string& path, std::span<const uint8_t> bytes) {
    ReplacingFile file(path);
    if (FileResult r = file.Open(); !r.ok) return r;
    if (FileResult r = file.Write(bytes); !r.ok) return r;
    return file.Commit();
}

}  // namespace qavo
