#include "link/command_worker.h"

#include <gtest/gtest.h>

#include "link/block_transfer.h"
#include "link/startup_sync.h"
#include "link/worker_harness.h"

namespace qavo {
namespace {

using namespace std::chrono_literals;
using testing::WorkerHarness;

Job Single(int op, int param = 0) {
    Job job;
    job.job_op = op;
    job.job_param = param;
    return job;
}

Job Heartbeat() {
    Job job;
    job.job_kind = JobKind::kHeartbeat;
    return job;
}

TEST(CommandJob, HeartbeatsReplaceEachOtherOperatorJobsNeverDo) {
    CommandJob jobs;
    jobs.Queue(Heartbeat());
    jobs.Queue(Single(ACK_RESET));
    jobs.Queue(Heartbeat());
    jobs.Queue(Single(AUDIO_CONTROL));
    jobs.Queue(Single(ACK_RESET));
    std::vector<int> ops;
    std::vector<bool> heartbeat;
    while (auto job = jobs.Take()) {
        ops.push_back(job->job_op);
        heartbeat.push_back(job->IsHeartbeat());
    }
    // The first heartbeat gave way to the second; nothing else was dropped
    // and the order is the order written.
    EXPECT_EQ(ops, (std::vector<int>{ACK_RESET, 0, AUDIO_CONTROL, ACK_RESET}));
    EXPECT_EQ(heartbeat, (std::vector<bool>{false, true, false, false}));
}

TEST(CommandJob, QueueAndWaitClearsAStaleCompletionFirst) {
    CommandJob jobs;
    jobs.job_done_event.Signal();  // left over from an earlier job
    EXPECT_FALSE(jobs.QueueAndWait(Single(NET_PARAMS, 1), 5ms));
    EXPECT_EQ(jobs.Pending(), 1u);
}

TEST(CommandWorker, OperatorJobsWrittenTogetherAllRunInOrder) {
    WorkerHarness h;
    h.AutoAck();
    h.jobs.Queue(Single(ACK_RESET));
    Job audio;
    audio.job_kind = JobKind::kAudioControl;
    audio.job_op = AUDIO_CONTROL;
    audio.job_param = 1;
    audio.audio_request = {0x22, 0xFF};
    h.jobs.Queue(audio);
    h.jobs.Queue(Heartbeat());
    CommandWorker worker(h.Context());
    worker.Start();
    for (int i = 0; i < 5000 && h.Sent().size() < 3; ++i)
        std::this_thread::sleep_for(1ms);
    worker.Stop();
    auto sent = h.Sent();
    ASSERT_EQ(sent.size(), 3u);
    EXPECT_EQ(sent[0].data[0], ACK_RESET);
    EXPECT_EQ(sent[1].data, (std::vector<uint8_t>{12, 0, 0, 1, 0x22, 0xFF}));
    EXPECT_EQ(sent[2].data, (std::vector<uint8_t>{14, 0, 0, 14, 0}));
}

TEST(CommandWorker, HeartbeatWrittenDuringABlockWriteGoesAfterIt) {
    WorkerHarness h(Timings{});  // real waits: every chunk is acknowledged at once
    h.AutoAck();
    CommandWorker worker(h.Context());
    worker.Start();
    h.jobs.job_done_event.Clear();
    h.jobs.Queue(Single(BLOCK_WRITE, kGroupsBlock));
    for (int i = 0; i < 5000 && h.Sent().empty(); ++i)
        std::this_thread::sleep_for(1ms);
    h.jobs.Queue(Heartbeat());
    ASSERT_TRUE(h.jobs.job_done_event.WaitFor(5000ms));
    for (int i = 0; i < 5000 && h.Sent().size() < 5; ++i)
        std::this_thread::sleep_for(1ms);
    worker.Stop();
    auto sent = h.Sent();
    ASSERT_EQ(sent.size(), 5u);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(sent[i].data[0], BLOCK_WRITE);
    EXPECT_EQ(sent[4].data[0], HEARTBEAT);
}

struct ChunkSeen {
    uint8_t block;
    uint8_t number;
    uint16_t length;
    uint16_t offset;
    size_t datagram;
};

std::vector<ChunkSeen> Chunks(const std::vector<testing::FakeNetwork::Sent>& sent) {
    std::vector<ChunkSeen> chunks;
    for (const auto& s : sent) {
        const auto& d = s.data;
        chunks.push_back({d[4], d[5], ReadLe16(&d[6]), ReadLe16(&d[8]), d.size()});
    }
    return chunks;
}

TEST(BlockWrite, ChunkingOfEachBlock) {
    struct Case {
        uint8_t block;
        size_t chunks;
        uint16_t last_length;
        uint16_t last_offset;
    };
    for (Case c : {Case{kEquipmentBlock, 1, 45, 0}, Case{kPagingBlock, 43, 400, 43008},
                   Case{kFireAlarmBlock, 4, 660, 3072}, Case{kGroupsBlock, 4, 888, 3072},
                   Case{kAudioPriorityBlock, 1, 175, 0}}) {
        SCOPED_TRACE(int{c.block});
        WorkerHarness h(Timings{});
        h.AutoAck();
        auto ctx = h.Context();
        ASSERT_TRUE(WriteBlock(ctx, c.block));
        auto chunks = Chunks(h.Sent());
        ASSERT_EQ(chunks.size(), c.chunks);
        for (size_t i = 0; i + 1 < chunks.size(); ++i) {
            EXPECT_EQ(chunks[i].number, i + 1);
            EXPECT_EQ(chunks[i].length, 1024);
            EXPECT_EQ(chunks[i].offset, 1024 * i);
        }
        EXPECT_EQ(chunks.back().number, 0);
        EXPECT_EQ(chunks.back().length, c.last_length);
        EXPECT_EQ(chunks.back().offset, c.last_offset);
        EXPECT_EQ(chunks.back().datagram, c.last_length + 10u);
        EXPECT_EQ(h.progress.progress_count, static_cast<int>(c.chunks));
        // The data are the block's bytes.
        auto block = h.model.image.Block(c.block);
        const auto all = h.Sent();
        const auto& last = all.back().data;
        EXPECT_TRUE(std::equal(last.begin() + 10, last.end(), block.begin() + c.last_offset));
    }
}

TEST(BlockWrite, EquipmentWritesBlockZeroThenOneAndSignalsOnce) {
    WorkerHarness h(Timings{});
    h.AutoAck();
    CommandWorker worker(h.Context());
    worker.Start();
    h.jobs.job_result = 0;
    ASSERT_TRUE(h.jobs.QueueAndWait(Single(BLOCK_WRITE, kEquipmentBlock), 10000ms));
    EXPECT_FALSE(h.jobs.job_done_event.WaitFor(50ms));  // signalled once only
    worker.Stop();
    auto chunks = Chunks(h.Sent());
    ASSERT_EQ(chunks.size(), 44u);
    EXPECT_EQ(chunks[0].block, kEquipmentBlock);
    EXPECT_EQ(chunks[0].number, 0);
    for (size_t i = 1; i < 44; ++i)
        EXPECT_EQ(chunks[i].block, kPagingBlock);
    EXPECT_EQ(h.jobs.job_result, 1);
}

TEST(BlockWrite, AnUnacknowledgedChunkStopsTheBlockAndFailsTheJob) {
    WorkerHarness h;
    h.AutoAck(2);  // the host stops answering after two chunks
    auto ctx = h.Context();
    WriteBlocksJob(ctx, kGroupsBlock);
    EXPECT_EQ(h.jobs.job_result, -1);
    EXPECT_TRUE(h.jobs.job_done_event.WaitFor(0ms));
    // Two chunks, then the third sent twice; the fourth never.
    EXPECT_EQ(h.Sent().size(), 4u);
    EXPECT_EQ(h.progress.progress_count, 2);
}

TEST(BlockWrite, AFailedBlockZeroIsNeverReportedAsSuccess) {
    WorkerHarness h;
    {
        std::lock_guard lock(h.factory.network->mutex);
        h.factory.network->auto_ack = false;
    }
    auto ctx = h.Context();
    // Block 0 is not answered; block 1 would be, but the job still failed.
    std::thread answer_block_one([&] {
        for (int i = 0; i < 5000 && h.Sent().size() < 2; ++i)
            std::this_thread::sleep_for(1ms);
        h.AutoAck();
    });
    WriteBlocksJob(ctx, kEquipmentBlock);
    answer_block_one.join();
    EXPECT_EQ(h.jobs.job_result, -1);
}

TEST(BlockWrite, ReservedAndUnknownBlocksAreNeverWritten) {
    WorkerHarness h;
    h.AutoAck();
    auto ctx = h.Context();
    for (uint8_t id : {uint8_t{3}, uint8_t{6}, uint8_t{200}}) {
        h.jobs.job_result = 7;
        WriteBlocksJob(ctx, id);
        EXPECT_TRUE(h.jobs.job_done_event.WaitFor(0ms));
        EXPECT_EQ(h.jobs.job_result, 7);
    }
    EXPECT_TRUE(h.Sent().empty());
}

TEST(CommandWorker, NetParamsAndImpedanceSignalTheirEndAnswerOrNot) {
    for (bool answered : {true, false}) {
        WorkerHarness h;
        if (answered) h.AutoAck();
        CommandWorker worker(h.Context());
        worker.Start();
        EXPECT_TRUE(h.jobs.QueueAndWait(Single(NET_PARAMS, 1), 5000ms));
        EXPECT_TRUE(h.jobs.QueueAndWait(Single(IMPEDANCE, 0), 5000ms));
        worker.Stop();
        EXPECT_EQ(h.Sent().size(), answered ? 2u : 4u);
    }
}

TEST(CommandWorker, LogRequestStartsANewLogTransfer) {
    WorkerHarness h;
    h.AutoAck();
    int begun = 0;
    auto ctx = h.Context();
    ctx.before_log_request = [&] { ++begun; };
    CommandWorker worker(ctx);
    worker.RunJob(Single(LOG_COMMAND, 0));
    worker.RunJob(Single(LOG_COMMAND, 1));
    EXPECT_EQ(begun, 1);
    EXPECT_EQ(h.Sent().size(), 2u);
}

TEST(StartupSync, SilentHostKeepsTheDefaultsAndStillAsksForStatus) {
    WorkerHarness h;  // nobody answers
    CommandWorker worker(h.Context());
    worker.Start();
    int shown = 0;
    StartupSyncHooks hooks;
    hooks.show_control_view = [&] { ++shown; };
    StartupSync(h.jobs, h.model, h.progress, h.bus, h.prompter, h.timings, hooks);
    // READ_STATUS follows the failed read (and is not answered either).
    for (int i = 0; i < 5000 && h.Sent().size() < 4; ++i)
        std::this_thread::sleep_for(1ms);
    worker.Stop();
    EXPECT_EQ(h.model.image, ParamImage{});
    ASSERT_EQ(h.prompter.asked().size(), 1u);
    EXPECT_EQ(h.prompter.asked()[0],
              (BoxRequest{"Sync Timeout, loading the default parameters!",
                          "Synchronization system parameters", BoxButtons::kOk}));
    EXPECT_EQ(h.jobs.job_result, 1);
    EXPECT_EQ(shown, 1);
    // Only block 0 was tried, twice; then the whole live status is asked for.
    auto sent = h.Sent();
    ASSERT_EQ(sent.size(), 4u);
    EXPECT_EQ(sent[0].data, (std::vector<uint8_t>{9, 0, 0, 2, 0}));
    EXPECT_EQ(sent[1].data, sent[0].data);
    EXPECT_EQ(sent[2].data, (std::vector<uint8_t>{1, 0, 0, 0, 255}));
    EXPECT_EQ(h.progress.progress_mode, ProgressState::kReadingParameters);
    EXPECT_EQ(h.progress.progress_total, 56);
    EXPECT_FALSE(h.progress.open);
}

TEST(StartupSync, CountsOutOfRangeAreResetWithOneBox) {
    struct Case {
        uint32_t hosts, consoles, groups;
        uint32_t want_hosts, want_consoles, want_groups;
        bool box;
    };
    const Case cases[] = {
        {4, 4, 200, 4, 4, 8, true},
        {21, 33, 121, 1, 1, 8, true},
        {20, 32, 120, 20, 32, 120, false},
    };
    for (const Case& c : cases) {
        WorkerHarness h(Timings{});
        h.AutoAck();  // every read is acknowledged at once, so the image keeps what it holds
        h.model.image.Set(fields::host_count, c.hosts);
        h.model.image.Set(fields::paging_count, c.consoles);
        h.model.image.Set(fields::group_count, c.groups);
        CommandWorker worker(h.Context());
        worker.Start();
        StartupSyncHooks hooks;
        bool shown = false;
        hooks.main_window_visible = [] { return false; };
        hooks.show_control_view = [&] { shown = true; };
        StartupSync(h.jobs, h.model, h.progress, h.bus, h.prompter, h.timings, hooks);
        worker.Stop();
        EXPECT_EQ(h.model.image.host_count(), c.want_hosts);
        EXPECT_EQ(h.model.image.paging_count(), c.want_consoles);
        EXPECT_EQ(h.model.image.group_count(), c.want_groups);
        std::vector<BoxRequest> boxes;
        if (c.box) {
            boxes.push_back({"System parameter error, already loaded defaults, resynchronization!",
                             kAppTitle, BoxButtons::kOk});
        }
        EXPECT_EQ(h.prompter.asked(), boxes);
        EXPECT_FALSE(shown);  // the main window is not visible
    }
}

}  // namespace
}  // namespace qavo
