// Block transfers against the simulated host on the loopback:
//  (a) ReadAllBlocks: wall time next to the six 100 ms pauses it must make;
//  (b) writing block 1 (43 chunks) through the worker's code, next to the
//      same 43 chunks sent from a plain socket, each waiting for its
//      acknowledgement, to the same simulator in the same run.
// Run inside scripts/netns-run.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "bench_stats.h"
#include "bench_support.h"
#include "link/block_transfer.h"
#include "link/console_core.h"
#include "link/requests.h"

namespace {

using qavo::bench::Median;

using Clock = std::chrono::steady_clock;
constexpr uint32_t kLoopback = 0x7F000001;

double MsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

}  // namespace

int main() {
    using namespace qavo;
    auto simulator = bench::StartSimulator();
    if (!simulator) return 1;
    sim::SimHost& host = *simulator;

    PosixSocketFactory factory;
    bench::SilentPrompter prompter;
    NullUiBus bus;
    const Timings timings;
    // The transfers run on this thread while the core's worker idles.
    ConsoleCore core(ConsoleCoreDeps{factory, prompter, bus, timings, [](int) { std::exit(1); },
                                     HostLink::Options{.group_port = 0}});
    core.Start(bench::LoopbackSettings(host.port()));
    WorkerContext ctx = core.Context();
    SystemModel& model = core.model();

    constexpr int kReadRounds = 7;
    std::vector<double> reads;
    for (int i = 0; i < kReadRounds; ++i) {
        auto start = Clock::now();
        ReadAllBlocks(ctx, 0);
        reads.push_back(MsSince(start));
    }
    const double pauses = 6.0 * static_cast<double>(timings.block_read_pause.count());
    const double read_median = Median(reads);
    std::printf(
        "block_transfer: ReadAllBlocks median %.1f ms over %d rounds; its pauses %.0f ms; "
        "above the pauses %.1f ms (target <= 30 ms: %s)\n",
        read_median, kReadRounds, pauses, read_median - pauses,
        read_median - pauses <= 30 ? "met" : "NOT met");

    // The chunks of block 1, as a plain socket sends them.
    const std::vector<std::vector<uint8_t>> chunks =
        bench::BlockWriteChunks(model.image, {kPagingBlock});
    auto raw = PosixUdpSocket::Create();
    raw->Bind({kLoopback, 0});

    constexpr int kWriteRounds = 21;
    std::vector<double> writes, raws;
    Datagram answer{};
    for (int i = 0; i < kWriteRounds; ++i) {
        auto start = Clock::now();
        if (!WriteBlock(ctx, kPagingBlock, 0)) std::fprintf(stderr, "a write failed\n");
        writes.push_back(MsSince(start));

        start = Clock::now();
        for (const auto& chunk : chunks) {
            raw->SendTo({kLoopback, host.port()}, chunk);
            if (raw->ReceiveFrom(answer, 1000).kind != ReceiveResult::kDatagram) {
                std::fprintf(stderr, "a raw chunk was not answered\n");
            }
        }
        raws.push_back(MsSince(start));
    }
    host.Stop();
    const double write_median = Median(writes);
    const double raw_median = Median(raws);
    std::printf(
        "block_transfer: write block 1 (%zu chunks) median %.2f ms; raw %zu round trips "
        "median %.2f ms; ratio %.2f (target <= 1.5: %s)\n",
        chunks.size(), write_median, chunks.size(), raw_median, write_median / raw_median,
        write_median / raw_median <= 1.5 ? "met" : "NOT met");
    return 0;
}
