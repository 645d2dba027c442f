#include "link/firmware_transfer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <thread>

#include "link/address_parse.h"
#include "link/requests.h"

namespace qavo {

namespace {

void Tell(WorkerContext& ctx, const std::string& text, const char* caption, BoxIcon icon,
          bool foreground = false) {
    // A console that is closing asks nothing more.
    if (ctx.link.sending_stopped()) return;
    ctx.prompter.Ask({text, caption, BoxButtons::kOk, icon, foreground});
}

void SendEnd(WorkerContext& ctx) {
    Datagram d{};
    ctx.link.SendWithAck(FW_END, d, 3);  // its outcome does not matter
}

// The file descriptor, closed when it goes out of scope.
class FileHandle {
  public:
    explicit FileHandle(int fd) : fd_(fd) {}
    ~FileHandle() {
        if (fd_ >= 0) ::close(fd_);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    int get() const { return fd_; }

  private:
    int fd_;
};

// Opens `path` for sending and sets `length`; -1 (the operator told) when
// it cannot be sent. Opening never blocks: a FIFO or a device is refused
// instead of holding the only sending thread.
int OpenFirmware(WorkerContext& ctx, const std::string& path, uint64_t& length) {
    if (path.empty()) {
        Tell(ctx, "Please choose a binary file.", kFirmwareCaption, BoxIcon::kError);
        return -1;
    }
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        Tell(ctx, "The firmware file cannot be opened: " + path + " (" + std::strerror(errno) + ")",
             kFirmwareCaption, BoxIcon::kError);
        return -1;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        Tell(ctx, "The firmware file is not a regular file: " + path, kFirmwareCaption,
             BoxIcon::kError);
        return -1;
    }
    length = static_cast<uint64_t>(info.st_size);
    if (length < kChunkSize) {
        ::close(fd);
        Tell(ctx, "Invalid binary file.", kAppTitle, BoxIcon::kError);
        return -1;
    }
    if (length > kMaxFirmwareLength) {
        ::close(fd);
        Tell(ctx,
             "The firmware file is too large: " + path + " (" + std::to_string(length) +
                 " bytes; at most " + std::to_string(kMaxFirmwareLength) + ").",
             kFirmwareCaption, BoxIcon::kError);
        return -1;
    }
    return fd;
}

// Reads up to `want` bytes; fewer only at the end of the file or on error.
size_t ReadUpTo(int fd, uint8_t* data, size_t want) {
    size_t got = 0;
    while (got < want) {
        const ssize_t n = ::read(fd, data + got, want - got);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        got += static_cast<size_t>(n);
    }
    return got;
}

}  // namespace

bool TransferFirmware(WorkerContext& ctx, const std::string& path) {
    uint64_t length = 0;
    const FileHandle file(OpenFirmware(ctx, path, length));
    if (file.get() < 0) return false;

    const ProgressSession session =
        BeginProgress(ctx.progress, ctx.bus, ProgressState::kFirmwareDownload,
                      static_cast<int>(length / kChunkSize + 10));
    std::this_thread::sleep_for(ctx.timings.fw_begin_pause);

    Datagram d{};
    if (ctx.link.SendWithAck(FW_BEGIN, d, 14, 0, length) != 0) {
        CloseProgress(ctx.progress, ctx.bus, session);
        Tell(ctx, "Firmware download connection overtime.", kAppTitle, BoxIcon::kError, true);
        SendEnd(ctx);
        return false;
    }
    // The device acknowledges a second time when it is ready to receive.
    if (!ctx.link.WaitForAck(ctx.timings.fw_ready_wait)) {
        CloseProgress(ctx.progress, ctx.bus, session);
        Tell(ctx, "Downloading error!", kFirmwareCaption, BoxIcon::kError, true);
        return false;
    }

    bool failed = false;
    uint16_t number = 0;
    uint64_t sent = 0;
    std::array<uint8_t, kChunkSize> data{};
    for (;;) {
        const size_t want = static_cast<size_t>(std::min<uint64_t>(kChunkSize, length - sent));
        const size_t got = ReadUpTo(file.get(), data.data(), want);
        if (got != want) {
            failed = true;  // the file shrank or could not be read: stop here
            break;
        }
        sent += got;
        if (got == kChunkSize) {
            BuildFirmwareChunk(number, kChunkSize, data, d);
            if (ctx.link.SendWithAck(FW_CHUNK, d, kFirmwareChunkDatagram) != 0) {
                failed = true;
                break;
            }
            ++number;
            StepProgress(ctx.progress, ctx.bus, session);
            std::this_thread::sleep_for(ctx.timings.fw_chunk_pause);
            if (sent < length) continue;
        }
        // The last chunk: what remains (possibly nothing), zero-padded to a
        // multiple of 4.
        const size_t rest = got == kChunkSize ? 0 : got;
        const auto counted = static_cast<uint16_t>((rest + 3) / 4 * 4);
        std::fill(data.begin() + static_cast<std::ptrdiff_t>(rest), data.end(), 0);
        BuildFirmwareChunk(number, counted, std::span<const uint8_t>(data).first(rest), d);
        if (ctx.link.SendWithAck(FW_CHUNK, d, kFirmwareChunkDatagram) != 0) failed = true;
        break;
    }
    std::this_thread::sleep_for(ctx.timings.fw_end_pause);
    SendEnd(ctx);
    CloseProgress(ctx.progress, ctx.bus, session);
    std::this_thread::sleep_for(ctx.timings.fw_end_pause);
    if (failed) {
        Tell(ctx, "Downloading error!", kFirmwareCaption, BoxIcon::kError, true);
        return false;
    }
    Tell(ctx, "Device firmware update is complete.", kFirmwareCaption, BoxIcon::kNone, true);
    return true;
}

void RunFirmwareJob(WorkerContext& ctx, const std::vector<std::string>& devices,
                    const std::string& path) {
    if (devices.empty()) return;
    {
        // A file that cannot be sent is told once, not once per device.
        uint64_t length = 0;
        const FileHandle file(OpenFirmware(ctx, path, length));
        if (file.get() < 0) return;
    }
    // Requests go to each device in turn; afterwards to the host again.
    const Endpoint host = ctx.link.host_endpoint();
    for (size_t i = 0; i < devices.size() && !ctx.link.sending_stopped(); ++i) {
        ctx.bus.Post(UiTarget::kFirmwareDialog, WM_FIRMWARE_DEVICE, static_cast<intptr_t>(i));
        ctx.link.SetHostEndpointAddress(ParseIPv4(devices[i], ByteOrder::kHost));
        TransferFirmware(ctx, path);
    }
    ctx.link.SetHostEndpoint(host);
}

}  // namespace qavo
