// The command path against the simulated host on the loopback: what the
// console reads and writes must be what the host holds.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "link/block_transfer.h"
#include "link/console_core.h"
#include "link/firmware_transfer.h"
#include "link/startup_sync.h"
#include "sim_firmware.h"
#include "sim_host.h"
#include "support/fake_prompter.h"
#include "support/fake_ui_bus.h"

namespace qavo {
namespace {

using namespace std::chrono_literals;
constexpr uint32_t kLoopback = 0x7F000001;

struct SimStack {
    explicit SimStack(sim::SimOptions options = {}, Timings t = Timings::Scaled(0.1))
        : host([&] {
              options.port = 0;
              options.diagnostics = [](const std::string&) {};
              return options;
          }()),
          timings(t) {
        std::string error;
        started = host.Start(&error);
        EXPECT_TRUE(started) << error;
        NetworkSettings settings;
        settings.pc_udp_port = "0";
        settings.qavo_host_ip = kLoopback;
        settings.qavo_host_udp_port = std::to_string(host.port());
        core.Start(settings);
    }
    ~SimStack() {
        core.Stop();
        host.Stop();
    }
    WorkerContext Context() { return core.Context(); }

    sim::SimHost host;
    bool started = false;
    Timings timings;
    PosixSocketFactory factory;
    testing::FakePrompter prompter;
    testing::FakeUiBus bus;
    ConsoleCore core{ConsoleCoreDeps{factory, prompter, bus, timings, [](int) {},
                                     HostLink::Options{.group_port = 0}}};
    SystemModel& model = core.model();
    ProgressState& progress = core.progress();
    CommandJob& jobs = core.jobs();
    HostLink& link = core.link();
};

TEST(WorkerAgainstSimulator, StartupSyncReadsTheHostsBlocks) {
    sim::SimOptions options;
    options.host_count = 6;
    options.paging_count = 5;
    options.group_count = 12;
    SimStack s(options, Timings{});
    ASSERT_TRUE(s.started);
    StartupSync(s.jobs, s.model, s.progress, s.bus, s.prompter, s.timings, {});
    {
        auto lock = s.model.Lock();
        EXPECT_EQ(s.model.image, s.host.Blocks());
        EXPECT_EQ(s.model.image.host_count(), 6u);
    }
    EXPECT_TRUE(s.prompter.asked().empty());
    // Every chunk stepped the progress: 1 + 43 + 4 + 1 + 4 + 1.
    EXPECT_EQ(s.progress.progress_count, 54);
    // The whole live status follows.
    ASSERT_TRUE(s.bus.WaitFor(WM_SOURCES_CHANGED, 1, 5000ms));
    const LiveStatus host_live = s.host.Live();
    auto lock = s.model.Lock();
    for (unsigned h = 0; h < 6; ++h) {
        EXPECT_EQ(s.model.live.host_state[h], host_live.host_state[h]);
        EXPECT_EQ(s.model.live.host_config[h], host_live.host_config[h]);
    }
}

TEST(WorkerAgainstSimulator, SilentHostGivesTheTimeoutBoxAndKeepsTheDefaults) {
    SimStack s;
    ASSERT_TRUE(s.started);
    s.host.Command("silent on");
    StartupSync(s.jobs, s.model, s.progress, s.bus, s.prompter, s.timings, {});
    ASSERT_EQ(s.prompter.asked().size(), 1u);
    EXPECT_EQ(s.prompter.asked()[0].text, "Sync Timeout, loading the default parameters!");
    auto lock = s.model.Lock();
    EXPECT_EQ(s.model.image, ParamImage{});
}

TEST(WorkerAgainstSimulator, WrittenBlocksAreWhatTheHostKeeps) {
    SimStack s(sim::SimOptions{}, Timings{});
    ASSERT_TRUE(s.started);
    {
        auto lock = s.model.Lock();
        s.model.image = s.host.Blocks();
        s.model.image.Set(fields::key_zones, 0x5A, 31, 59, 19);  // the last byte of block 1
        s.model.image.Set(fields::bgm_play_mode, 1);
        s.model.image.Set(fields::alarm_delay, 300);
        s.model.image.Set(fields::group_zones, 0x81, 119, 19);
        s.model.image.Set(fields::priority_bgm, 7);
    }
    for (uint8_t block : {kEquipmentBlock, kFireAlarmBlock, kGroupsBlock, kAudioPriorityBlock}) {
        Job write;
        write.job_op = BLOCK_WRITE;
        write.job_param = block;
        EXPECT_TRUE(s.jobs.QueueAndWait(write, 20000ms, BlockingWait).ok());
    }
    auto lock = s.model.Lock();
    EXPECT_EQ(s.host.Blocks(), s.model.image);
}

TEST(WorkerAgainstSimulator, HostLogArrivesWhole) {
    sim::SimOptions options;
    options.log_size = 5000;
    SimStack s(options, Timings{});
    ASSERT_TRUE(s.started);
    Job log;
    log.job_op = LOG_COMMAND;
    log.job_param = 0;
    s.jobs.Queue(log);
    ASSERT_TRUE(s.bus.WaitFor(WM_HOST_LOG_RECEIVED, 1, 10000ms));
    const std::vector<uint8_t> area = s.host.LogArea();
    auto lock = s.model.Lock();
    EXPECT_EQ(s.model.live.HostLogRecordCount(), 5000u);
    ASSERT_LE(area.size(), s.model.live.host_log.size());
    EXPECT_TRUE(std::equal(area.begin(), area.end(), s.model.live.host_log.begin()));
}

class FirmwareAgainstSimulator : public ::testing::Test {
  protected:
    std::string MakeFile(size_t size, std::vector<uint8_t>* bytes = nullptr) {
        auto path = std::filesystem::temp_directory_path() /
                    ("qavo_fwsim_" + std::to_string(::getpid()) + "_" + std::to_string(size));
        std::vector<uint8_t> data(size);
        for (size_t i = 0; i < size; ++i)
            data[i] = static_cast<uint8_t>((i * 131) ^ (i >> 8));
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(size));
        files_.push_back(path);
        if (bytes) *bytes = data;
        return path.string();
    }
    void TearDown() override {
        for (auto& f : files_)
            std::filesystem::remove(f);
    }
    std::vector<std::filesystem::path> files_;
};

TEST_F(FirmwareAgainstSimulator, FilesArriveWholeAtEachDevice) {
    sim::SimOptions options;
    options.ready_delay_ms = 20;
    options.devices = {{0x7F000001, 1, 0}, {0x7F000003, 2, 1}};
    SimStack s(options, Timings::Scaled(0.5));
    ASSERT_TRUE(s.started);
    for (size_t size : {1030u, 2048u, 10240u}) {
        SCOPED_TRACE(size);
        std::vector<uint8_t> bytes;
        const std::string path = MakeFile(size, &bytes);
        Job job;
        job.job_kind = JobKind::kFirmware;
        job.firmware_devices = {"127.0.0.3 - Ver2.1"};
        job.firmware_path = path;
        s.jobs.Queue(job);
        for (int i = 0; i < 10000 && s.prompter.asked().size() < files_.size(); ++i) {
            std::this_thread::sleep_for(1ms);
        }
        ASSERT_EQ(s.prompter.asked().size(), files_.size());
        EXPECT_EQ(s.prompter.asked().back().text, "Device firmware update is complete.");
        auto report = s.host.LastFirmwareReport();
        ASSERT_TRUE(report.has_value());
        EXPECT_TRUE(report->ok) << report->text;
        EXPECT_EQ(report->device, 0x7F000003u);
        EXPECT_EQ(report->declared, size);
        EXPECT_EQ(report->received, size);
        EXPECT_EQ(report->crc, sim::Crc32(bytes));
    }
}

TEST_F(FirmwareAgainstSimulator, SilentDeviceShortFileAndMissingFile) {
    SimStack s(sim::SimOptions{}, Timings::Scaled(0.05));
    ASSERT_TRUE(s.started);
    auto ctx = s.Context();
    s.link.SetHostEndpointAddress(kLoopback);
    const std::string tiny = MakeFile(1000);
    const std::string gone = MakeFile(4096);
    std::filesystem::remove(gone);
    EXPECT_FALSE(TransferFirmware(ctx, tiny));
    EXPECT_FALSE(TransferFirmware(ctx, gone));
    s.host.Command("silent on");
    EXPECT_FALSE(TransferFirmware(ctx, MakeFile(4096)));
    auto asked = s.prompter.asked();
    ASSERT_EQ(asked.size(), 3u);
    EXPECT_EQ(asked[0].text, "Invalid binary file.");
    EXPECT_NE(asked[1].text.find("cannot be opened"), std::string::npos);
    EXPECT_EQ(asked[2].text, "Firmware download connection overtime.");
    EXPECT_FALSE(s.host.LastFirmwareReport().has_value());
}

}  // namespace
}  // namespace qavo
