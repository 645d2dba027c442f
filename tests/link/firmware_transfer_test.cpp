#include "link/firmware_transfer.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "link/worker_harness.h"

namespace qavo {
namespace {

using namespace std::chrono_literals;
using testing::WorkerHarness;

Job Single(int op) {
    Job job;
    job.job_op = op;
    return job;
}

class FirmwareTest : public ::testing::Test {
  protected:
    std::string MakeFile(size_t size) {
        auto path = std::filesystem::temp_directory_path() /
                    ("qavo_fw_" + std::to_string(::getpid()) + "_" + std::to_string(size) + ".bin");
        std::ofstream out(path, std::ios::binary);
        for (size_t i = 0; i < size; ++i)
            out.put(static_cast<char>(i * 7 + 1));
        files_.push_back(path);
        return path.string();
    }
    void TearDown() override {
        for (auto& f : files_)
            std::filesystem::remove(f);
    }
    // A device that acknowledges everything, and once more after FW_BEGIN
    // when it is ready. The second acknowledgement comes only once the first
    // has been taken (SendWithAck of FW_BEGIN is over): two that arrived
    // together would be one signal of the auto-resetting event.
    void ReadyDevice(WorkerHarness& h) {
        h.AutoAck();
        ready_ = std::thread([&h] {
            for (int i = 0; i < 5000; ++i) {
                auto sent = h.Sent();
                if (!sent.empty() && sent[0].data[0] == FW_BEGIN && h.link.tries_left() == 0) {
                    h.link.ack_event().Signal();
                    return;
                }
                std::this_thread::sleep_for(1ms);
            }
        });
    }
    void JoinDevice() {
        if (ready_.joinable()) ready_.join();
    }

    std::vector<std::filesystem::path> files_;
    std::thread ready_;
};

TEST_F(FirmwareTest, ChunksCountedLengthsAndPadding) {
    struct Case {
        size_t size;
        std::vector<uint16_t> counted;  // per FW_CHUNK
        int total;
    };
    const Case cases[] = {
        {1030, {1024, 8}, 11},
        {2048, {1024, 1024, 0}, 12},
        {10240, {1024, 1024, 1024, 1024, 1024, 1024, 1024, 1024, 1024, 1024, 0}, 20},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.size);
        WorkerHarness h(Timings::Scaled(0.05));
        const std::string path = MakeFile(c.size);
        ReadyDevice(h);
        auto ctx = h.Context();
        EXPECT_TRUE(TransferFirmware(ctx, path));
        JoinDevice();
        auto sent = h.Sent();
        ASSERT_EQ(sent.size(), c.counted.size() + 2);
        EXPECT_EQ(sent.front().data.size(), 14u);
        EXPECT_EQ(sent.front().data[0], FW_BEGIN);
        uint64_t length = 0;
        for (int i = 0; i < 8; ++i)
            length |= uint64_t{sent.front().data[6 + i]} << (8 * i);
        EXPECT_EQ(length, c.size);
        std::vector<uint8_t> received;
        for (size_t i = 0; i < c.counted.size(); ++i) {
            const auto& d = sent[i + 1].data;
            ASSERT_EQ(d.size(), 1032u);
            EXPECT_EQ(d[0], FW_CHUNK);
            EXPECT_EQ(ReadLe16(&d[3]), i);
            EXPECT_EQ(ReadLe16(&d[5]), c.counted[i]);
            EXPECT_EQ(d[7], 0xAA);
            received.insert(received.end(), d.begin() + 8, d.begin() + 8 + c.counted[i]);
        }
        EXPECT_EQ(sent.back().data, (std::vector<uint8_t>{FW_END, 0, 0}));
        // The file's bytes, then zero padding to a multiple of 4.
        ASSERT_EQ(received.size(), (c.size + 3) / 4 * 4);
        for (size_t i = 0; i < c.size; ++i)
            ASSERT_EQ(received[i], static_cast<uint8_t>(i * 7 + 1));
        for (size_t i = c.size; i < received.size(); ++i)
            EXPECT_EQ(received[i], 0);
        EXPECT_EQ(h.progress.progress_total, c.total);
        EXPECT_EQ(h.progress.progress_count, static_cast<int>(c.size / 1024));
        EXPECT_EQ(
            h.prompter.asked(),
            (std::vector<BoxRequest>{{"Device firmware update is complete.", "Firmware download",
                                      BoxButtons::kOk, BoxIcon::kNone, true}}));
    }
}

TEST_F(FirmwareTest, FilesThatCannotBeSentAreReportedAndNothingGoesOut) {
    WorkerHarness h;
    h.AutoAck();
    auto ctx = h.Context();
    const std::string tiny = MakeFile(1023);
    const std::string gone = MakeFile(4096);
    std::filesystem::remove(gone);
    EXPECT_FALSE(TransferFirmware(ctx, ""));
    EXPECT_FALSE(TransferFirmware(ctx, tiny));
    EXPECT_FALSE(TransferFirmware(ctx, gone));
    EXPECT_TRUE(h.Sent().empty());
    auto asked = h.prompter.asked();
    ASSERT_EQ(asked.size(), 3u);
    EXPECT_EQ(asked[0], (BoxRequest{"Please choose a binary file.", "Firmware download",
                                    BoxButtons::kOk, BoxIcon::kError}));
    EXPECT_EQ(asked[1],
              (BoxRequest{"Invalid binary file.", kAppTitle, BoxButtons::kOk, BoxIcon::kError}));
    EXPECT_EQ(asked[2].caption, "Firmware download");
    EXPECT_NE(asked[2].text.find(gone), std::string::npos);
    EXPECT_FALSE(h.progress.open);
}

TEST_F(FirmwareTest, SilentDeviceTimesOutAndStillGetsTheEnd) {
    WorkerHarness h;  // nobody answers
    auto ctx = h.Context();
    EXPECT_FALSE(TransferFirmware(ctx, MakeFile(2048)));
    auto sent = h.Sent();
    // FW_BEGIN twice, then FW_END twice (its outcome does not matter).
    ASSERT_EQ(sent.size(), 4u);
    EXPECT_EQ(sent[0].data[0], FW_BEGIN);
    EXPECT_EQ(sent[1].data[0], FW_BEGIN);
    EXPECT_EQ(sent[2].data[0], FW_END);
    EXPECT_EQ(h.prompter.asked(),
              (std::vector<BoxRequest>{{"Firmware download connection overtime.", kAppTitle,
                                        BoxButtons::kOk, BoxIcon::kError, true}}));
    EXPECT_FALSE(h.progress.open);
}

TEST_F(FirmwareTest, DeviceNeverReadyIsADownloadErrorWithoutEnd) {
    WorkerHarness h;
    h.AutoAck();  // acknowledges FW_BEGIN but never says it is ready
    auto ctx = h.Context();
    EXPECT_FALSE(TransferFirmware(ctx, MakeFile(2048)));
    auto sent = h.Sent();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(h.prompter.asked(),
              (std::vector<BoxRequest>{{"Downloading error!", "Firmware download", BoxButtons::kOk,
                                        BoxIcon::kError, true}}));
}

TEST_F(FirmwareTest, AChunkNotAcknowledgedStopsTheRestButSendsTheEnd) {
    WorkerHarness h;
    ReadyDevice(h);
    {
        std::lock_guard lock(h.factory.network->mutex);
        h.factory.network->acks_left = 3;  // FW_BEGIN, then two chunks
    }
    auto ctx = h.Context();
    EXPECT_FALSE(TransferFirmware(ctx, MakeFile(10240)));
    JoinDevice();
    auto sent = h.Sent();
    std::vector<uint8_t> ops;
    for (auto& s : sent)
        ops.push_back(s.data[0]);
    EXPECT_EQ(ops, (std::vector<uint8_t>{FW_BEGIN, FW_CHUNK, FW_CHUNK, FW_CHUNK, FW_CHUNK, FW_END,
                                         FW_END}));
    EXPECT_EQ(h.prompter.asked().back().text, "Downloading error!");
}

TEST_F(FirmwareTest, JobVisitsEveryDeviceInTurnThenTalksToTheHostAgain) {
    WorkerHarness h;
    const Endpoint host = h.link.host_endpoint();
    Job job;
    job.job_kind = JobKind::kFirmware;
    job.firmware_devices = {"127.0.0.10 - Ver1.0", "127.0.0.9 - Ver1.0"};
    job.firmware_path = MakeFile(1024);
    // Nothing answers: each device gets FW_BEGIN twice and FW_END twice.
    ASSERT_TRUE(h.jobs.QueueAndWait(job, 5000ms, BlockingWait).in_time);
    // The next request goes to the host, not to the last device.
    h.jobs.Queue(Single(ACK_RESET));
    ASSERT_TRUE(h.WaitSent(10));
    auto sent = h.Sent();
    ASSERT_EQ(sent.size(), 10u);
    EXPECT_EQ(sent[0].to.address, 0x7F00000Au);
    EXPECT_EQ(sent[4].to.address, 0x7F000009u);
    EXPECT_EQ(sent[8].data[0], ACK_RESET);
    EXPECT_EQ(sent[8].to, host);
    EXPECT_EQ(h.link.host_endpoint(), host);
    auto notes = h.bus.notes();
    std::vector<intptr_t> selected;
    for (auto& n : notes) {
        if (n.message == WM_FIRMWARE_DEVICE) selected.push_back(n.wparam);
    }
    EXPECT_EQ(selected, (std::vector<intptr_t>{0, 1}));
}

TEST_F(FirmwareTest, AFifoOrAFileTooLongForTheChunkNumbersIsRefusedBeforeAnythingIsSent) {
    const auto fifo = std::filesystem::temp_directory_path() /
                      ("qavo_fw_fifo_" + std::to_string(::getpid()) + ".bin");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    files_.push_back(fifo);
    // One byte too many for 16-bit chunk numbers; sparse, so it takes no room.
    const auto huge = std::filesystem::temp_directory_path() /
                      ("qavo_fw_huge_" + std::to_string(::getpid()) + ".bin");
    { std::ofstream(huge, std::ios::binary).put('x'); }
    files_.push_back(huge);
    std::filesystem::resize_file(huge, kMaxFirmwareLength + 1);
    const std::string longest = MakeFile(0);
    std::filesystem::resize_file(longest, kMaxFirmwareLength);

    struct Case {
        std::string path;
        std::string words;  // in the message
    };
    for (const Case& c :
         {Case{fifo.string(), "not a regular file"}, Case{huge.string(), "too large"},
          Case{"/dev/zero", "not a regular file"}}) {
        SCOPED_TRACE(c.path);
        WorkerHarness h;
        h.AutoAck();
        Job job;
        job.job_kind = JobKind::kFirmware;
        job.firmware_devices = {"127.0.0.10 - Ver1.0", "127.0.0.9 - Ver1.0"};
        job.firmware_path = c.path;
        // Without the check the worker would block on the FIFO for ever.
        ASSERT_TRUE(h.jobs.QueueAndWait(job, 5000ms, BlockingWait).in_time);
        EXPECT_TRUE(h.Sent().empty());
        auto asked = h.prompter.asked();
        ASSERT_EQ(asked.size(), 1u);  // once, not once per device
        EXPECT_EQ(asked[0].caption, "Firmware download");
        EXPECT_EQ(asked[0].icon, BoxIcon::kError);
        EXPECT_NE(asked[0].text.find(c.words), std::string::npos) << asked[0].text;
        EXPECT_NE(asked[0].text.find(c.path), std::string::npos) << asked[0].text;
    }

    // The longest file that fits still begins: its length goes out whole.
    WorkerHarness h;
    auto ctx = h.Context();
    EXPECT_FALSE(TransferFirmware(ctx, longest));  // nobody answers
    auto sent = h.Sent();
    ASSERT_FALSE(sent.empty());
    ASSERT_EQ(sent[0].data[0], FW_BEGIN);
    uint64_t length = 0;
    for (int i = 0; i < 8; ++i)
        length |= uint64_t{sent[0].data[6 + i]} << (8 * i);
    EXPECT_EQ(length, kMaxFirmwareLength);
    EXPECT_EQ(h.progress.progress_total, 65535 + 10);
}

TEST_F(FirmwareTest, StoppingTheCoreCutsAJobOverSilentDevicesShort) {
    // Long waits: five silent devices would hold the worker for minutes.
    Timings patient;
    patient.ack_wait = 60000ms;
    WorkerHarness h(patient);
    Job job;
    job.job_kind = JobKind::kFirmware;
    job.firmware_devices = {"127.0.0.10 - Ver1.0", "127.0.0.11 - Ver1.0", "127.0.0.12 - Ver1.0",
                            "127.0.0.13 - Ver1.0", "127.0.0.14 - Ver1.0"};
    job.firmware_path = MakeFile(4096);
    JobHandle ticket = h.jobs.Queue(job);
    ASSERT_TRUE(h.WaitSent(1));  // FW_BEGIN to the first device
    h.core.Stop();
    // The job ended inside the first device's wait: nothing more went out,
    // no other device was visited, and nobody was asked anything.
    EXPECT_TRUE(ticket->job_done_event.IsSignalled());
    auto sent = h.Sent();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].data[0], FW_BEGIN);
    EXPECT_EQ(sent[0].to.address, 0x7F00000Au);
    EXPECT_TRUE(h.prompter.asked().empty());
}

}  // namespace
}  // namespace qavo
