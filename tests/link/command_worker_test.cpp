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
    while (auto queued = jobs.Take()) {
        ops.push_back(queued->job.job_op);
        heartbeat.push_back(queued->job.IsHeartbeat());
    }
    // The first heartbeat gave way to the second; nothing else was dropped
    // and the order is the order written.
    EXPECT_EQ(ops, (std::vector<int>{ACK_RESET, 0, AUDIO_CONTROL, ACK_RESET}));
    EXPECT_EQ(heartbeat, (std::vector<bool>{false, true, false, false}));
}

TEST(CommandJob, ALateEndCompletesOnlyItsOwnJob) {
    WorkerHarness h;  // nobody answers
    // The read after login, given up after 2 ms; it runs on.
    Job read;
    read.job_kind = JobKind::kReadAllBlocks;
    read.progress_session = BeginProgress(h.progress, h.bus, ProgressState::kReadingParameters, 56);
    EXPECT_FALSE(h.jobs.QueueAndWait(read, 2ms, BlockingWait).in_time);
    // A write of block 5 under its own progress, waited for while the
    // read's late end comes.
    Job write = Single(BLOCK_WRITE, kAudioPriorityBlock);
    write.progress_session = BeginProgress(h.progress, h.bus, ProgressState::kWritingToHost, 1);
    const JobOutcome outcome = h.jobs.QueueAndWait(write, 5000ms, BlockingWait);
    // The write's own end: it failed, and its progress is still its own.
    EXPECT_TRUE(outcome.in_time);
    EXPECT_EQ(outcome.job_result, -1);
    EXPECT_FALSE(outcome.ok());
    EXPECT_TRUE(h.progress.open);
    EXPECT_EQ(h.progress.session, write.progress_session);
    EXPECT_EQ(h.progress.progress_mode, ProgressState::kWritingToHost);
    // Both ran: the read tried block 0 twice, the write its chunk twice.
    auto sent = h.Sent();
    ASSERT_EQ(sent.size(), 4u);
    EXPECT_EQ(sent[0].data[0], BLOCK_READ);
    EXPECT_EQ(sent[3].data[0], BLOCK_WRITE);
}

TEST(CommandJob, AnAbandonedJobStillRunsToItsEnd) {
    WorkerHarness h(Timings{});
    h.AutoAck();
    JobHandle ticket = h.jobs.Queue(Single(BLOCK_WRITE, kGroupsBlock));
    // Nobody waits; the ticket still tells the end, and every chunk went out.
    ASSERT_TRUE(ticket->job_done_event.WaitFor(5000ms));
    EXPECT_EQ(ticket->job_result, 1);
    EXPECT_EQ(h.Sent().size(), 4u);
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
    ASSERT_TRUE(h.WaitSent(3));
    h.core.Stop();
    auto sent = h.Sent();
    ASSERT_EQ(sent.size(), 3u);
    EXPECT_EQ(sent[0].data[0], ACK_RESET);
    EXPECT_EQ(sent[1].data, (std::vector<uint8_t>{12, 0, 0, 1, 0x22, 0xFF}));
    EXPECT_EQ(sent[2].data, (std::vector<uint8_t>{14, 0, 0, 14, 0}));
}

TEST(CommandWorker, HeartbeatWrittenDuringABlockWriteGoesAfterIt) {
    WorkerHarness h(Timings{});  // real waits: every chunk is acknowledged at once
    h.AutoAck();
    JobHandle write = h.jobs.Queue(Single(BLOCK_WRITE, kGroupsBlock));
    ASSERT_TRUE(h.WaitSent(1));
    h.jobs.Queue(Heartbeat());
    ASSERT_TRUE(write->job_done_event.WaitFor(5000ms));
    ASSERT_TRUE(h.WaitSent(5));
    h.core.Stop();
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
        const ProgressSession session =
            BeginProgress(h.progress, h.bus, ProgressState::kWritingToHost, 44);
        ASSERT_TRUE(WriteBlock(ctx, c.block, session));
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

TEST(BlockWrite, EquipmentWritesBlockZeroThenOneAndEndsOnce) {
    WorkerHarness h(Timings{});
    h.AutoAck();
    const JobOutcome outcome =
        h.jobs.QueueAndWait(Single(BLOCK_WRITE, kEquipmentBlock), 10000ms, BlockingWait);
    EXPECT_TRUE(outcome.ok());
    h.core.Stop();
    auto chunks = Chunks(h.Sent());
    ASSERT_EQ(chunks.size(), 44u);
    EXPECT_EQ(chunks[0].block, kEquipmentBlock);
    EXPECT_EQ(chunks[0].number, 0);
    for (size_t i = 1; i < 44; ++i)
        EXPECT_EQ(chunks[i].block, kPagingBlock);
}

TEST(BlockWrite, AnUnacknowledgedChunkStopsTheBlockAndFailsTheJob) {
    WorkerHarness h;
    h.AutoAck(2);  // the host stops answering after two chunks
    auto ctx = h.Context();
    const ProgressSession session =
        BeginProgress(h.progress, h.bus, ProgressState::kWritingToHost, 4);
    EXPECT_EQ(WriteBlocksJob(ctx, kGroupsBlock, session), -1);
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
    EXPECT_EQ(WriteBlocksJob(ctx, kEquipmentBlock, 0), -1);
    answer_block_one.join();
}

TEST(BlockWrite, ReservedAndUnknownBlocksAreNeverWritten) {
    WorkerHarness h;
    h.AutoAck();
    auto ctx = h.Context();
    for (uint8_t id : {uint8_t{3}, uint8_t{6}, uint8_t{200}})
        EXPECT_EQ(WriteBlocksJob(ctx, id, 0), 1);
    EXPECT_TRUE(h.Sent().empty());
}

TEST(CommandWorker, NetParamsAndImpedanceSignalTheirEndAnswerOrNot) {
    for (bool answered : {true, false}) {
        WorkerHarness h;
        if (answered) h.AutoAck();
        EXPECT_TRUE(h.jobs.QueueAndWait(Single(NET_PARAMS, 1), 5000ms, BlockingWait).in_time);
        EXPECT_TRUE(h.jobs.QueueAndWait(Single(IMPEDANCE, 0), 5000ms, BlockingWait).in_time);
        h.core.Stop();
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
    int shown = 0;
    StartupSyncHooks hooks;
    hooks.show_control_view = [&] { ++shown; };
    StartupSync(h.jobs, h.model, h.progress, h.bus, h.prompter, h.timings, hooks);
    // READ_STATUS follows the failed read (and is not answered either).
    ASSERT_TRUE(h.WaitSent(4));
    h.core.Stop();
    EXPECT_EQ(h.model.image, ParamImage{});
    ASSERT_EQ(h.prompter.asked().size(), 1u);
    EXPECT_EQ(h.prompter.asked()[0],
              (BoxRequest{"Sync Timeout, loading the default parameters!",
                          "Synchronization system parameters", BoxButtons::kOk}));
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
        StartupSyncHooks hooks;
        bool shown = false;
        hooks.main_window_visible = [] { return false; };
        hooks.show_control_view = [&] { shown = true; };
        StartupSync(h.jobs, h.model, h.progress, h.bus, h.prompter, h.timings, hooks);
        h.core.Stop();
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
