#include "link/firmware_transfer.h"

#include <fstream>
#include <thread>

#include "link/address_parse.h"
#include "link/requests.h"

namespace qavo {

namespace {

void Tell(WorkerContext& ctx, const std::string& text, const char* caption, BoxIcon icon,
          bool foreground = false) {
    ctx.prompter.Ask({text, caption, BoxButtons::kOk, icon, foreground});
}

void SendEnd(WorkerContext& ctx) {
    Datagram d{};
    ctx.link.SendWithAck(FW_END, d, 3);  // its outcome does not matter
}

}  // namespace

bool TransferFirmware(WorkerContext& ctx, const std::string& path) {
    if (path.empty()) {
        Tell(ctx, "Please choose a binary file.", kFirmwareCaption, BoxIcon::kError);
        return false;
    }
    std::ifstream file(path, std::ios::binary | std::ios::ate);
    if (!file) {
        Tell(ctx, "The firmware file cannot be opened: " + path, kFirmwareCaption, BoxIcon::kError);
        return false;
    }
    const auto end = file.tellg();
    file.seekg(0);
    if (end < 0 || !file) {
        Tell(ctx, "The firmware file cannot be read: " + path, kFirmwareCaption, BoxIcon::kError);
        return false;
    }
    const auto length = static_cast<uint64_t>(end);
    if (length < kChunkSize) {
        Tell(ctx, "Invalid binary file.", kAppTitle, BoxIcon::kError);
        return false;
    }

    BeginProgress(ctx.progress, ctx.bus, ProgressState::kFirmwareDownload,
                  static_cast<int>(length / kChunkSize + 10));
    std::this_thread::sleep_for(ctx.timings.fw_begin_pause);

    Datagram d{};
    if (ctx.link.SendWithAck(FW_BEGIN, d, 14, 0, length) != 0) {
        CloseProgress(ctx.progress, ctx.bus);
        Tell(ctx, "Firmware download connection overtime.", kAppTitle, BoxIcon::kError, true);
        SendEnd(ctx);
        return false;
    }
    // The device acknowledges a second time when it is ready to receive.
    if (!ctx.link.ack_event().WaitFor(ctx.timings.fw_ready_wait)) {
        CloseProgress(ctx.progress, ctx.bus);
        Tell(ctx, "Downloading error!", kFirmwareCaption, BoxIcon::kError, true);
        return false;
    }

    bool failed = false;
    uint16_t number = 0;
    uint64_t sent = 0;
    std::array<uint8_t, kChunkSize> data{};
    for (;;) {
        const size_t want = static_cast<size_t>(std::min<uint64_t>(kChunkSize, length - sent));
        file.read(reinterpret_cast<char*>(data.data()), static_cast<std::streamsize>(want));
        const auto got = static_cast<size_t>(file.gcount());
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
            StepProgress(ctx.progress, ctx.bus);
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
    CloseProgress(ctx.progress, ctx.bus);
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
    for (size_t i = 0; i < devices.size(); ++i) {
        ctx.bus.Post(UiTarget::kFirmwareDialog, WM_FIRMWARE_DEVICE, static_cast<intptr_t>(i));
        ctx.link.SetHostEndpointAddress(ParseIPv4(devices[i], ByteOrder::kHost));
        TransferFirmware(ctx, path);
    }
}

}  // namespace qavo
