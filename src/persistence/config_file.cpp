#include "persistence/config_file.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

namespace qavo {

namespace {

// The file lays the blocks end to end and the sizes match the image's.
constexpr bool LayoutIsConsistent() {
    uint32_t offset = 0;
    for (const ConfigFileRow& row : kConfigFileLayout) {
        if (row.offset != offset || row.length != kBlockSize[row.block]) return false;
        offset += row.length;
    }
    return offset == kConfigFileSize;
}
static_assert(LayoutIsConsistent());

}  // namespace

std::vector<uint8_t> EncodeConfigFile(const ParamImage& image) {
    std::vector<uint8_t> bytes(kConfigFileSize);
    for (const ConfigFileRow& row : kConfigFileLayout) {
        const auto block = image.Block(row.block);
        std::copy_n(block.begin(), row.length, bytes.begin() + row.offset);
    }
    return bytes;
}

std::vector<std::string_view> ApplyConfigFile(std::span<const uint8_t> bytes, ParamImage& image) {
    std::vector<std::string_view> messages;
    for (const ConfigFileRow& row : kConfigFileLayout) {
        const size_t available = bytes.size() > row.offset ? bytes.size() - row.offset : 0;
        const size_t arrived = std::min<size_t>(available, row.length);
        if (arrived > 0) {
            std::memcpy(image.Block(row.block).data(), bytes.data() + row.offset, arrived);
        }
        if (arrived < row.length) messages.push_back(row.short_message);
    }
    return messages;
}

FileResult SaveConfigFile(const ParamImage& image, const std::string& path) {
    const std::vector<uint8_t> bytes = EncodeConfigFile(image);
    return ReplaceFileContent(path, bytes);
}

ConfigFileBytes ReadConfigFile(const std::string& path) {
    ConfigFileBytes out;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        out.result = FileResult::Failure(SystemError(path, "cannot open"));
        return out;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        out.result = FileResult::Failure(SystemError(path, "cannot read"));
        ::close(fd);
        return out;
    }
    // A device or a pipe chosen by mistake would never end or never answer.
    if (!S_ISREG(info.st_mode)) {
        out.result = FileResult::Failure(path + ": cannot read: not a regular file");
        ::close(fd);
        return out;
    }
    out.bytes.resize(kConfigFileSize);
    size_t filled = 0;
    while (filled < out.bytes.size()) {
        const ssize_t n = ::read(fd, out.bytes.data() + filled, out.bytes.size() - filled);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            out.result = FileResult::Failure(SystemError(path, "cannot read"));
            out.bytes.clear();
            ::close(fd);
            return out;
        }
        if (n == 0) break;
        filled += static_cast<size_t>(n);
    }
    ::close(fd);
    out.bytes.resize(filled);
    out.result = FileResult::Success();
    return out;
}

ConfigImport ImportConfigFile(const std::string& path, ParamImage& image) {
    ConfigImport out;
    ConfigFileBytes file = ReadConfigFile(path);
    out.result = std::move(file.result);
    if (out.result.ok) out.short_messages = ApplyConfigFile(file.bytes, image);
    return out;
}

}  // namespace qavo
