#include "link/message_dispatcher.h"

#include <gtest/gtest.h>

#include <atomic>
#include <numeric>
#include <thread>
#include <vector>

#include "link/frame.h"
#include "support/fake_ui_bus.h"

namespace qavo {
namespace {

using Bytes = std::vector<uint8_t>;
using testing::FakeUiBus;
constexpr auto kView = UiTarget::kActiveView;

class DispatcherTest : public ::testing::Test {
  protected:
    void Feed(const Bytes& d) { dispatcher.Dispatch(d); }
    void SetCounts(uint32_t hosts, uint32_t consoles) {
        model.image.Set(fields::host_count, hosts);
        model.image.Set(fields::paging_count, consoles);
    }
    bool Acked() { return ack.WaitFor(std::chrono::milliseconds(0)); }
    std::vector<WindowMessage> ViewNotes() const { return bus.To(kView); }

    SystemModel model;
    ProgressState progress;
    DeviceList devices;
    FakeUiBus bus;
    AutoResetEvent ack;
    MessageDispatcher dispatcher{model, progress, devices, bus, ack};
};

TEST_F(DispatcherTest, AcknowledgementIsNeverRouted) {
    // Code 9 with byte 1 equal to 0 carries block bytes, but is only an acknowledgement.
    Bytes d = {9, 0, 0, 1, 0, 0, 4, 0, 0, 0, 0xAA, 0xAA, 0xAA, 0xAA};
    Feed(d);
    EXPECT_TRUE(Acked());
    EXPECT_EQ(model.image, ParamImage{});
    EXPECT_EQ(progress.progress_count, 0);
    EXPECT_TRUE(bus.notes().empty());
}

TEST_F(DispatcherTest, UnroutedCodesAreDroppedWithoutEffect) {
    for (uint8_t code : {10, 12, 13, 18, 19, 100, 255}) {
        SCOPED_TRACE(int{code});
        Bytes d(64, 0x5A);
        d[0] = code;
        Feed(d);
        EXPECT_FALSE(Acked());
    }
    EXPECT_EQ(model.image, ParamImage{});
    EXPECT_EQ(model.live, LiveStatus{});
    EXPECT_TRUE(bus.notes().empty());
}

TEST_F(DispatcherTest, AcknowledgeOnlyCodesCompleteTheRequestAndNothingElse) {
    for (uint8_t code : {3, 4, 6, 7, 8, 15, 16}) {
        SCOPED_TRACE(int{code});
        Feed({code, 1, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7});
        EXPECT_TRUE(Acked());
    }
    EXPECT_EQ(model.live, LiveStatus{});
    EXPECT_TRUE(bus.notes().empty());
}

TEST_F(DispatcherTest, TooShortToTellAnythingIsDropped) {
    Feed({});
    Feed({0});
    EXPECT_FALSE(Acked());
    EXPECT_TRUE(bus.notes().empty());
}

TEST_F(DispatcherTest, InputStatusCopiesFlagsAndContactsOfCountedHosts) {
    SetCounts(2, 1);
    Feed({0, 1, 0x99, kFlagFault, 0x00, 0xC0, 0x09, 0x00, 0xFF, 0xFF});
    EXPECT_EQ(model.live.system_flags, kFlagFault);
    EXPECT_EQ(model.live.contact_inputs[0], 0xC000);
    EXPECT_EQ(model.live.contact_inputs[1], 0x0009);
    EXPECT_EQ(model.live.contact_inputs[2], 0);  // beyond host_count: not copied
    EXPECT_EQ(ViewNotes(), std::vector<WindowMessage>{WM_STATUS_CHANGED});
    EXPECT_EQ(bus.To(UiTarget::kNavigationPane), std::vector<WindowMessage>{WM_STATE_ICON});
    EXPECT_FALSE(Acked());
}

TEST_F(DispatcherTest, InputStatusShorterThanItsHostsIsDroppedWhole) {
    SetCounts(3, 1);
    Feed({0, 1, 0, kFlagFault, 1, 0, 2, 0});  // two hosts' contacts where three are counted
    EXPECT_EQ(model.live, LiveStatus{});
    EXPECT_TRUE(bus.notes().empty());
}

struct StatusCase {
    const char* name;
    uint32_t hosts;
    uint32_t consoles;
    Bytes datagram;
    std::function<void(const LiveStatus&)> check;
    std::vector<WindowMessage> view_notes;
    std::function<void(LiveStatus&)> before = nullptr;
};

TEST_F(DispatcherTest, HostStatusSections) {
    const std::vector<WindowMessage> status_flags = {WM_STATUS_CHANGED, WM_FLAGS_CHANGED};
    const std::vector<StatusCase> cases = {
        {"selector 3, host state and paging",
         4,
         4,
         {1, 1, 3, 0, 0x21, 0xC1, 0x09},
         [](const LiveStatus& l) {
             EXPECT_EQ(l.host_state[2], 0xC1);
             EXPECT_EQ(l.paging_state[2], 0x09);
             EXPECT_EQ(l.host_state[0], 0);
             EXPECT_EQ(l.paging_state[0], 0);
         },
         status_flags},
        {"selector 0, speaker lines of two hosts",
         2,
         1,
         {1, 1, 0, 0, 0x04, 1, 2, 3, 4, 5, 6, 7, 8},
         [](const LiveStatus& l) {
             EXPECT_EQ(l.zone_lines[0], (std::array<uint8_t, 4>{1, 2, 3, 4}));
             EXPECT_EQ(l.zone_lines[1], (std::array<uint8_t, 4>{5, 6, 7, 8}));
             EXPECT_EQ(l.zone_lines[2], (std::array<uint8_t, 4>{}));
         },
         status_flags},
        {"mask 0 changes only the flags",
         2,
         1,
         {1, 1, 0, kFlagEmergency, 0x00},
         [](const LiveStatus& l) {
             EXPECT_EQ(l.system_flags, kFlagEmergency);
             LiveStatus expected;
             expected.system_flags = kFlagEmergency;
             EXPECT_EQ(l, expected);
         },
         {WM_FLAGS_CHANGED}},
        {"equipment fitted posts sources, status and flags",
         2,
         1,
         {1, 1, 0, 0, 0x40, 0x0B, 0x60},
         [](const LiveStatus& l) {
             EXPECT_EQ(l.host_config[0], 0x0B);
             EXPECT_EQ(l.host_config[1], 0x60);
         },
         {WM_SOURCES_CHANGED, WM_STATUS_CHANGED, WM_FLAGS_CHANGED}},
        {"every section, selector 0",
         2,
         3,
         {1,    1,    0,    0x05, 0x7F, 0xFF, 0xBF,     // host state
          3,    4,    5,    6,                          // counts
          0x12, 0,    0,    0,    0,    0x80, 0,    0,  // speaker lines
          0x22, 0x25,                                   // audio sources
          0x0F, 0xF0,                                   // zones on air
          0x09, 0x0B, 0x03,                             // paging consoles
          0x0B, 0x60},                                  // equipment fitted
         [](const LiveStatus& l) {
             EXPECT_EQ(l.system_flags, 0x05);
             EXPECT_EQ(l.host_state[0], 0xFF);
             EXPECT_EQ(l.host_state[1], 0xBF);
             EXPECT_EQ(l.qavo_message_count, 3);
             EXPECT_EQ(l.alert_message_count, 4);
             EXPECT_EQ(l.prompt_voice_count, 5);
             EXPECT_EQ(l.message_count, 6);
             EXPECT_EQ(l.zone_lines[0][0], 0x12);
             EXPECT_EQ(l.zone_lines[1][1], 0x80);
             EXPECT_EQ(l.audio_source[0], 0x22);
             EXPECT_EQ(l.audio_source[1], 0x25);
             EXPECT_EQ(l.zones_on_air[0], 0x0F);
             EXPECT_EQ(l.zones_on_air[1], 0xF0);
             EXPECT_EQ(l.paging_state[0], 0x09);
             EXPECT_EQ(l.paging_state[2], 0x03);
             EXPECT_EQ(l.paging_state[3], 0);
             EXPECT_EQ(l.host_config[1], 0x60);
         },
         {WM_SOURCES_CHANGED, WM_STATUS_CHANGED, WM_FLAGS_CHANGED}},
        {"selector 2, speaker lines keep the fourth byte",
         3,
         1,
         {1, 1, 2, 0, 0x04, 0x11, 0x22, 0x33},
         [](const LiveStatus& l) {
             EXPECT_EQ(l.zone_lines[1], (std::array<uint8_t, 4>{0x11, 0x22, 0x33, 0xEE}));
         },
         status_flags,
         [](LiveStatus& l) {
             l.zone_lines[1] = {1, 1, 1, 0xEE};
         }},
        {"selector 1, equipment still holds every host",
         3,
         1,
         {1, 1, 1, 0, 0x48, 0x22, 1, 2, 3},
         [](const LiveStatus& l) {
             EXPECT_EQ(l.audio_source[0], 0x22);
             EXPECT_EQ(l.host_config[0], 1);
             EXPECT_EQ(l.host_config[2], 3);
         },
         {WM_SOURCES_CHANGED, WM_STATUS_CHANGED, WM_FLAGS_CHANGED}},
        {"selector 25 names no host but a console",
         4,
         32,
         {1, 1, 25, 0x01, 0x21, 0x00, 0x0B},
         [](const LiveStatus& l) {
             EXPECT_EQ(l.system_flags, 0x01);
             EXPECT_EQ(l.paging_state[24], 0x0B);
             EXPECT_EQ(l.host_state, (std::array<uint8_t, kMaxHosts>{}));
         },
         status_flags},
        {"selector 40 names nothing: only the flags",
         4,
         32,
         {1, 1, 40, 0x01, 0x3D, 0xAA, 1, 2, 3, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA},
         [](const LiveStatus& l) {
             EXPECT_EQ(l.system_flags, 0x01);
             EXPECT_EQ(l.qavo_message_count, 1);
             EXPECT_EQ(l.paging_state, (std::array<uint8_t, kMaxPagingConsoles>{}));
             EXPECT_EQ(l.zone_lines[19], (std::array<uint8_t, 4>{}));
         },
         {WM_SOURCES_CHANGED, WM_STATUS_CHANGED, WM_FLAGS_CHANGED}},
    };
    for (const StatusCase& c : cases) {
        SCOPED_TRACE(c.name);
        model.live.ApplyDefaults();
        if (c.before) c.before(model.live);
        SetCounts(c.hosts, c.consoles);
        bus.Clear();
        Feed(c.datagram);
        c.check(model.live);
        EXPECT_EQ(ViewNotes(), c.view_notes);
        EXPECT_EQ(bus.To(UiTarget::kNavigationPane), std::vector<WindowMessage>{WM_STATE_ICON});
    }
}

TEST_F(DispatcherTest, HostStatusCutShortIsDroppedWhole) {
    SetCounts(2, 1);
    const Bytes cases[] = {
        {1, 1, 0, 1},                          // no mask
        {1, 1, 0, 1, 0x04, 1, 2, 3, 4, 5, 6},  // two hosts' lines need 8 bytes
        {1, 1, 0, 1, 0x03, 0xFF, 0xFF, 1, 2},  // counts section cut
        {1, 1, 5, 1, 0x04, 1, 2},              // selector lines need 3 bytes
    };
    for (const Bytes& d : cases) {
        Feed(d);
        EXPECT_EQ(model.live, LiveStatus{});
    }
    EXPECT_TRUE(bus.notes().empty());
}

TEST_F(DispatcherTest, CountsOutOfRangeNeverReachPastTheArrays) {
    // host_count 200: sections are laid out for 200 hosts, 20 are kept.
    SetCounts(200, 1);
    Bytes d = {1, 1, 0, 0, 0x01};
    for (int h = 0; h < 200; ++h)
        d.push_back(static_cast<uint8_t>(h));
    Feed(d);
    EXPECT_EQ(model.live.host_state[19], 19);
    Feed({1, 1, 0, 0, 0x01, 1, 2, 3});  // far too short for 200 hosts
    EXPECT_EQ(model.live.host_state[0], 0);

    // paging_count near 2^32: no datagram can hold the section.
    SetCounts(1, 0xFFFFFFFF);
    Bytes p(1500, 0x33);
    p[0] = 1;
    p[1] = 1;
    p[2] = 0;
    p[4] = 0x20;
    Feed(p);
    EXPECT_EQ(model.live.paging_state[0], 0);

    SetCounts(255, 1);
    Bytes input(4 + 2 * 255, 0x01);
    input[0] = 0;
    Feed(input);
    EXPECT_EQ(model.live.contact_inputs[19], 0x0101);
}

TEST_F(DispatcherTest, RelayStatusCopiesThenCompletes) {
    SetCounts(3, 1);
    Feed({2, 1, 2, 0, 0, 0, 1, 0, 0, 0, 0x05, 0x80, 0x01});
    EXPECT_TRUE(Acked());
    EXPECT_EQ(model.live.relay_outputs[0], 0x05);
    EXPECT_EQ(model.live.relay_outputs[2], 0x01);
    EXPECT_TRUE(bus.notes().empty());
    Feed({2, 1, 2, 0, 0, 0, 1, 0, 0, 0, 0x07});  // short: nothing, not completed
    EXPECT_FALSE(Acked());
    EXPECT_EQ(model.live.relay_outputs[0], 0x05);
}

TEST_F(DispatcherTest, DeviceInfoAddsOneEntryPerAnswer) {
    Feed({5, 1, 0, 192, 168, 1, 5, 1, 2});
    EXPECT_TRUE(Acked());
    Feed({5, 1, 0, 192, 168, 1, 5, 1, 2});
    EXPECT_TRUE(Acked());
    Feed({5, 1, 1, 10, 0, 0, 1, 3, 4});  // byte 2 not 0: ignored
    EXPECT_FALSE(Acked());
    Feed({5, 1, 0, 10, 0, 0});  // too short
    EXPECT_FALSE(Acked());
    EXPECT_EQ(devices.Entries(),
              (std::vector<std::string>{"192.168.1.5 - Ver1.2", "192.168.1.5 - Ver1.2"}));
    EXPECT_EQ(bus.To(UiTarget::kFirmwareDialog),
              (std::vector<WindowMessage>{WM_DEVICE_ANNOUNCED, WM_DEVICE_ANNOUNCED}));
}

TEST_F(DispatcherTest, TheDeviceListStopsGrowingWhenFull) {
    for (size_t i = 0; i < DeviceList::kMaxEntries + 44; ++i) {
        Feed({5, 1, 0, 127, 0, static_cast<uint8_t>(i >> 8), static_cast<uint8_t>(i), 1, 0});
        EXPECT_TRUE(Acked());  // every answer still ends the discovery's wait
    }
    auto entries = devices.Entries();
    ASSERT_EQ(entries.size(), DeviceList::kMaxEntries);
    // The first announcements stay; the later ones were not kept.
    EXPECT_EQ(entries.front(), "127.0.0.0 - Ver1.0");
    EXPECT_EQ(entries.back(), "127.0.0.255 - Ver1.0");
    EXPECT_EQ(devices.dropped(), 44u);
    EXPECT_EQ(bus.To(UiTarget::kFirmwareDialog).size(), DeviceList::kMaxEntries);
    devices.Clear();
    Feed({5, 1, 0, 127, 0, 0, 7, 1, 0});
    EXPECT_EQ(devices.Entries(), std::vector<std::string>{"127.0.0.7 - Ver1.0"});
    EXPECT_EQ(devices.dropped(), 0u);
}

Bytes BlockChunk(uint8_t kind, uint8_t id, uint8_t more, uint16_t offset, const Bytes& data) {
    Bytes d = {9, 1, 0, kind, id, more, 0, 0, 0, 0};
    WriteLe16(&d[6], static_cast<uint16_t>(data.size()));
    WriteLe16(&d[8], offset);
    d.insert(d.end(), data.begin(), data.end());
    return d;
}

TEST_F(DispatcherTest, BlockDataCopiesStepsAndCompletesOnTheLastChunk) {
    BeginProgress(progress, bus, ProgressState::kReadingParameters, 56);
    bus.Clear();
    Feed(BlockChunk(1, kGroupsBlock, 1, 2400, {'L', 'o', 'b', 'b', 'y', 0}));
    EXPECT_EQ(model.image.GetName(fields::group_name, 0), "Lobby");
    EXPECT_FALSE(Acked());
    EXPECT_EQ(progress.progress_count, 1);
    Feed(BlockChunk(1, kEquipmentBlock, 0, 0, {4, 12}));
    EXPECT_TRUE(Acked());
    EXPECT_EQ(model.image.host_count(), 4u);
    EXPECT_EQ(model.image.group_count(), 12u);
    EXPECT_EQ(progress.progress_count, 2);
    auto steps = bus.notes();
    ASSERT_EQ(steps.size(), 2u);
    EXPECT_EQ(steps[0], (FakeUiBus::Note{UiTarget::kProgressDialog, WM_PROGRESS_STEP, false, 0}));

    // A late chunk of a read never steps the progress of a write that
    // followed it.
    BeginProgress(progress, bus, ProgressState::kWritingToHost, 4);
    Feed(BlockChunk(1, kEquipmentBlock, 0, 0, {4, 12}));
    EXPECT_EQ(progress.progress_count, 0);
}

TEST_F(DispatcherTest, BlockDataEdgeCases) {
    BeginProgress(progress, bus, ProgressState::kReadingParameters, 56);
    // An echo of a write (byte 3 = 0): nothing at all.
    Feed(BlockChunk(0, kEquipmentBlock, 0, 0, {9, 9}));
    EXPECT_EQ(model.image, ParamImage{});
    EXPECT_EQ(progress.progress_count, 0);
    EXPECT_FALSE(Acked());
    // An unknown block id: nothing copied, but stepped and completed.
    Feed(BlockChunk(1, 7, 0, 0, {9, 9}));
    EXPECT_EQ(model.image, ParamImage{});
    EXPECT_EQ(progress.progress_count, 1);
    EXPECT_TRUE(Acked());
    // A chunk reaching past its block is cut at the block's end.
    Feed(BlockChunk(1, kEquipmentBlock, 1, 40, {1, 2, 3, 4, 5, 6, 7, 8}));
    auto eq = model.image.Block(kEquipmentBlock);
    EXPECT_EQ(eq[40], 1);
    EXPECT_EQ(eq[44], 5);
    // A chunk starting past its block copies nothing.
    Feed(BlockChunk(1, kReservedBlock, 1, 40, {1, 2, 3}));
    EXPECT_TRUE(std::all_of(model.image.Block(kReservedBlock).begin(),
                            model.image.Block(kReservedBlock).end(), [](uint8_t b) { return !b; }));
    // A length that claims more bytes than the datagram holds: dropped whole.
    Bytes lying = BlockChunk(1, kEquipmentBlock, 0, 0, {7, 7});
    WriteLe16(&lying[6], 1000);
    const int steps = progress.progress_count;
    Feed(lying);
    EXPECT_EQ(model.image.host_count(), 1u);
    EXPECT_EQ(progress.progress_count, steps);
    EXPECT_FALSE(Acked());
}

Bytes LogChunk(uint8_t kind, uint16_t number, uint16_t offset, const Bytes& data) {
    Bytes d = {11, 1, 0, kind, 0, 0, 0, 0, 0, 0};
    WriteLe16(&d[4], number);
    WriteLe16(&d[6], static_cast<uint16_t>(data.size()));
    WriteLe16(&d[8], offset);
    d.insert(d.end(), data.begin(), data.end());
    return d;
}

TEST_F(DispatcherTest, LogDataCopiesAndTheLastChunkRebuildsTheView) {
    Feed(LogChunk(2, 1, 0, {2, 0, 0, 0, 6}));
    EXPECT_EQ(model.live.HostLogRecordCount(), 2u);
    EXPECT_TRUE(ViewNotes().empty());
    Feed(LogChunk(2, 0, 4, {7}));
    EXPECT_EQ(model.live.host_log[4], 7);
    EXPECT_EQ(ViewNotes(), std::vector<WindowMessage>{WM_HOST_LOG_RECEIVED});
    Feed(LogChunk(0, 0, 0, {9, 9}));  // not log data, but the end marker still counts
    EXPECT_EQ(model.live.host_log[0], 2);
    EXPECT_EQ(ViewNotes().size(), 2u);
    EXPECT_FALSE(Acked());
}

TEST_F(DispatcherTest, AFullLogArrivesWholeAlthoughItsOffsetsWrap) {
    Bytes log(kHostLogSize);
    std::iota(log.begin(), log.end(), uint8_t{1});
    dispatcher.BeginLogTransfer();
    uint16_t number = 1;
    for (size_t offset = 0; offset < log.size(); offset += kChunkSize) {
        size_t n = std::min(kChunkSize, log.size() - offset);
        bool last = offset + n == log.size();
        Feed(LogChunk(2, last ? 0 : number++, static_cast<uint16_t>(offset),
                      Bytes(log.begin() + offset, log.begin() + offset + n)));
    }
    EXPECT_EQ(model.live.host_log, log);
    // The next transfer starts from offset 0 again.
    Feed(LogChunk(2, 0, 0, {0x55}));
    EXPECT_EQ(model.live.host_log[0], 0x55);
    EXPECT_EQ(model.live.host_log[65536], log[65536]);
}

TEST_F(DispatcherTest, LogChunkPastTheAreaIsCut) {
    dispatcher.BeginLogTransfer();
    // Offsets rise to just below the end (base 65536 after the wrap).
    Feed(LogChunk(2, 1, 60000, {1}));
    Feed(LogChunk(2, 2, static_cast<uint16_t>(70000 - 65536), {1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(model.live.host_log[70003], 4);
    EXPECT_EQ(model.live.host_log.size(), kHostLogSize);
}

TEST_F(DispatcherTest, HeartbeatReplyBringsTheLinkUpOnce) {
    model.live.link_up = false;
    model.live.missed_heartbeats = 2;
    Feed({14, 1});
    EXPECT_TRUE(model.live.link_up);
    EXPECT_EQ(model.live.missed_heartbeats, 0);
    EXPECT_EQ(bus.notes(),
              (std::vector<FakeUiBus::Note>{{UiTarget::kMainWindow, WM_LINK_STATE, true, 0}}));
    Feed({14, 1});
    EXPECT_EQ(bus.notes().size(), 1u);
    EXPECT_FALSE(Acked());
}

TEST_F(DispatcherTest, ImpedanceLevelIsCappedAtFour) {
    struct Case {
        uint8_t sent;
        uint8_t kept;
    };
    for (Case c : {Case{9, 4}, Case{4, 4}, Case{2, 2}, Case{0, 0}, Case{255, 4}}) {
        Feed({17, 1, 0, 0, c.sent});
        EXPECT_EQ(model.live.impedance_level, c.kept);
        EXPECT_TRUE(Acked());
    }
    Feed({17, 1, 0, 0});  // no level byte
    EXPECT_FALSE(Acked());
    EXPECT_EQ(bus.To(UiTarget::kSensitivityDialog).size(), 5u);
}

TEST_F(DispatcherTest, AReaderUnderTheLockNeverSeesHalfAMessage) {
    SetCounts(20, 1);
    std::atomic<bool> done{false};
    std::atomic<int> torn{0};
    std::thread reader([&] {
        while (!done) {
            auto lock = model.Lock();
            const uint8_t first = model.live.zone_lines[0][0];
            for (const auto& host : model.live.zone_lines) {
                for (uint8_t b : host)
                    torn += (b != first);
            }
        }
    });
    for (int i = 0; i < 2000; ++i) {
        Bytes d = {1, 1, 0, 0, 0x04};
        d.insert(d.end(), 80, static_cast<uint8_t>(i));
        Feed(d);
    }
    done = true;
    reader.join();
    EXPECT_EQ(torn.load(), 0);
}

}  // namespace
}  // namespace qavo
