// "Application" of the equipment editor against the simulated host on the
// loopback: the write-back of the working copy, then the editors' sending
// step (progress in mode 1, the 100 ms pause, blocks 0 and 1 in 44 chunks
// through the command worker, the wait for this write's own end, the
// outcome box), next to 44 raw round trips from a plain socket to the same
// simulator plus the same pause, in the same run. Run inside
// scripts/netns-run.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

#include "bench_stats.h"
#include "bench_support.h"
#include "editors/dev_param_cfg_logic.h"
#include "editors/send_edited_blocks.h"
#include "link/console_core.h"
#include "link/requests.h"

namespace {

using qavo::bench::Median;
using Clock = std::chrono::steady_clock;
constexpr uint32_t kLoopback = 0x7F000001;

double MsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Counts the outcome boxes instead of showing them.
class CountingPrompter final : public qavo::Prompter {
  public:
    qavo::BoxAnswer Ask(const qavo::BoxRequest& request) override {
        if (request.text == qavo::kSyncDoneText) {
            ++done;
        } else {
            ++other;
        }
        return qavo::BoxAnswer::kOk;
    }
    int done = 0;
    int other = 0;
};

}  // namespace

int main() {
    using namespace qavo;
    auto simulator = bench::StartSimulator();
    if (!simulator) return 1;
    sim::SimHost& host = *simulator;

    PosixSocketFactory factory;
    CountingPrompter prompter;
    NullUiBus bus;
    const Timings timings;
    ConsoleCore core(ConsoleCoreDeps{factory, prompter, bus, timings, [](int) { std::exit(1); },
                                     HostLink::Options{.group_port = 0}});
    core.Start(bench::LoopbackSettings(host.port()));
    SystemModel& model = core.model();

    // What the main window does with WM_WRITE_EQUIPMENT: block 0, then 1.
    const EditorSendContext context{core.progress(),
                                    bus,
                                    prompter,
                                    timings,
                                    {},
                                    [&core](WindowMessage, ProgressSession session) {
                                        Job job;
                                        job.job_op = BLOCK_WRITE;
                                        job.job_param = kEquipmentBlock;
                                        job.progress_session = session;
                                        return core.jobs().Queue(std::move(job));
                                    }};

    // The 44 chunks as a plain socket sends them.
    const std::vector<std::vector<uint8_t>> chunks =
        bench::BlockWriteChunks(model.image, {kEquipmentBlock, kPagingBlock});
    auto raw = PosixUdpSocket::Create();
    raw->Bind({kLoopback, 0});

    constexpr int kRounds = 15;
    std::vector<double> applies, raws;
    Datagram answer{};
    for (int i = 0; i < kRounds; ++i) {
        DevParamLogic editor(model, CodePage{});
        editor.ChooseGroupNumber(i % 100);
        auto start = Clock::now();
        if (editor.WriteBack(model, editor.View().name_text)) std::fprintf(stderr, "refused\n");
        SendEditedBlocks(context, WM_WRITE_EQUIPMENT, std::chrono::milliseconds(5000));
        applies.push_back(MsSince(start));

        start = Clock::now();
        std::this_thread::sleep_for(timings.editor_progress_pause);
        for (const auto& chunk : chunks) {
            raw->SendTo({kLoopback, host.port()}, chunk);
            if (raw->ReceiveFrom(answer, 1000).kind != ReceiveResult::kDatagram) {
                std::fprintf(stderr, "a raw chunk was not answered\n");
            }
        }
        raws.push_back(MsSince(start));
    }
    core.Stop();
    host.Stop();
    const double apply_median = Median(applies);
    const double raw_median = Median(raws);
    std::printf(
        "equipment_apply: \"Application\" (%zu chunks) median %.1f ms over %d rounds, %d of them "
        "reported done; raw %zu round trips + %lld ms pause median %.1f ms; ratio %.2f "
        "(target <= 1.3: %s)\n",
        chunks.size(), apply_median, kRounds, prompter.done, chunks.size(),
        static_cast<long long>(timings.editor_progress_pause.count()), raw_median,
        apply_median / raw_median, apply_median / raw_median <= 1.3 ? "met" : "NOT met");
    return prompter.other == 0 ? 0 : 1;
}
