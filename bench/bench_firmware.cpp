// A 1 MiB firmware image to one simulated device through the console's
// firmware transfer, next to its floor: the pauses the transfer must make
// (after the progress dialog is asked for, after every full chunk, before
// and after FW_END), the device's own "ready" delay, and the round trips of
// the same chunks sent from a plain socket to the same device in the same
// run. Prints the ratio to that floor; never fails on time.
// Run inside scripts/netns-run. Optional argument: the number of rounds.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench_stats.h"
#include "bench_support.h"
#include "link/console_core.h"
#include "link/firmware_transfer.h"
#include "link/requests.h"
#include "sim_firmware.h"

namespace {

using qavo::bench::Median;
using Clock = std::chrono::steady_clock;
constexpr uint32_t kLoopback = 0x7F000001;
constexpr size_t kImageSize = 1024 * 1024;
constexpr int kReadyDelayMs = 5;

double MsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

std::vector<uint8_t> Image() {
    std::vector<uint8_t> image(kImageSize);
    for (size_t i = 0; i < image.size(); ++i)
        image[i] = static_cast<uint8_t>((i * 167) ^ (i >> 9));
    return image;
}

// The FW_CHUNK datagrams of `image` as the console sends them.
std::vector<std::vector<uint8_t>> ChunksOf(const std::vector<uint8_t>& image) {
    using namespace qavo;
    std::vector<std::vector<uint8_t>> chunks;
    Datagram d{};
    uint16_t number = 0;
    for (size_t offset = 0;; offset += kChunkSize, ++number) {
        const size_t n = std::min(kChunkSize, image.size() - offset);
        const auto counted = static_cast<uint16_t>(n == kChunkSize ? n : (n + 3) / 4 * 4);
        std::span<const uint8_t> data(image.data() + offset, n);
        BuildFirmwareChunk(number, counted, data, d);
        chunks.emplace_back(d.begin(), d.begin() + kFirmwareChunkDatagram);
        if (n < kChunkSize) return chunks;
    }
}

}  // namespace

int main(int argc, char** argv) {
    using namespace qavo;
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    sim::SimOptions options;
    options.ready_delay_ms = kReadyDelayMs;
    auto simulator = bench::StartSimulator(options);
    if (!simulator) return 1;
    sim::SimHost& host = *simulator;

    auto dir = bench::MakeTempDir("qavo-bench-firmware");
    if (!dir) return 1;
    const std::vector<uint8_t> image = Image();
    const std::string path = (*dir / "image.bin").string();
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(image.data()),
               static_cast<std::streamsize>(image.size()));
    const uint32_t crc = sim::Crc32(image);

    PosixSocketFactory factory;
    bench::SilentPrompter prompter;
    NullUiBus bus;
    const Timings timings;
    // The transfer runs on this thread while the core's worker idles.
    ConsoleCore core(ConsoleCoreDeps{factory, prompter, bus, timings, [](int) { std::exit(1); },
                                     HostLink::Options{.group_port = 0}});
    core.Start(bench::LoopbackSettings(host.port()));
    WorkerContext ctx = core.Context();

    const std::vector<std::vector<uint8_t>> chunks = ChunksOf(image);
    const size_t full_chunks = image.size() / kChunkSize;
    auto raw = PosixUdpSocket::Create();
    raw->Bind({kLoopback, 0});
    const Endpoint device{kLoopback, host.port()};
    Datagram answer{};
    auto exchange = [&](std::span<const uint8_t> request, int answers) {
        raw->SendTo(device, request);
        for (int i = 0; i < answers; ++i) {
            if (raw->ReceiveFrom(answer, 1000).kind != ReceiveResult::kDatagram) {
                std::fprintf(stderr, "a raw request was not answered\n");
                return;
            }
        }
    };

    std::vector<double> transfers, raws;
    int bad = 0;
    for (int i = 0; i < rounds; ++i) {
        auto start = Clock::now();
        const bool ok = TransferFirmware(ctx, path);
        transfers.push_back(MsSince(start));
        auto report = host.FirmwareReportOf(kLoopback);
        if (!ok || !report || !report->ok || report->crc != crc) {
            std::fprintf(stderr, "transfer %d: %s\n", i + 1,
                         report ? report->text.c_str() : "no report");
            ++bad;
        }

        // The same chunks from a plain socket, each waiting for its
        // acknowledgement, inside a proper FW_BEGIN ... FW_END.
        Datagram begin{};
        begin[0] = FW_BEGIN;
        for (int b = 1; b <= 5; ++b)
            begin[b] = 4;
        for (int b = 0; b < 8; ++b)
            begin[6 + b] = static_cast<uint8_t>(uint64_t{image.size()} >> (8 * b));
        exchange(std::span<const uint8_t>(begin).first(14), 2);
        start = Clock::now();
        for (const auto& chunk : chunks)
            exchange(chunk, 1);
        raws.push_back(MsSince(start));
        const uint8_t end[3] = {FW_END, 0, 0};
        exchange(end, 1);
    }
    host.Stop();
    std::filesystem::remove_all(*dir);

    const double pauses =
        static_cast<double>(timings.fw_begin_pause.count() +
                            static_cast<long long>(full_chunks) * timings.fw_chunk_pause.count() +
                            2 * timings.fw_end_pause.count() + kReadyDelayMs);
    const double transfer_median = Median(transfers);
    const double raw_median = Median(raws);
    const double floor = pauses + raw_median;
    const double ratio = transfer_median / floor;
    std::printf(
        "firmware: 1 MiB (%zu chunks) to one device median %.1f ms over %d rounds%s; pauses %.0f "
        "ms + raw %zu round trips median %.1f ms = floor %.1f ms; ratio %.3f (target <= 1.3: "
        "%s)\n",
        chunks.size(), transfer_median, rounds, bad ? " (SOME FAILED)" : "", pauses, chunks.size(),
        raw_median, floor, ratio, ratio <= 1.3 ? "met" : "NOT met");
    return 0;
}
