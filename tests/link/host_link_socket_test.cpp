// The host link over real sockets on the loopback, inside a private network
// namespace: a scripted responder plays the host.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "link/console_core.h"
#include "support/fake_prompter.h"
#include "support/fake_ui_bus.h"

namespace qavo {
namespace {

using namespace std::chrono_literals;
constexpr uint32_t kLoopback = 0x7F000001;

// A peer on 127.0.0.1 that answers each request as told.
class Responder {
  public:
    enum class Mode { kAckAtOnce, kSilent, kAckAfterDelay };

    explicit Responder(Mode mode, std::chrono::milliseconds delay = 0ms)
        : socket_(PosixUdpSocket::Create()), mode_(mode), delay_(delay) {
        EXPECT_TRUE(socket_->Bind({kLoopback, 0}));
        thread_ = std::thread([this] { Run(); });
    }
    ~Responder() {
        socket_->Interrupt();
        thread_.join();
    }
    uint16_t port() const { return socket_->LocalEndpoint().port; }
    int received() const { return received_; }
    PosixUdpSocket& socket() { return *socket_; }

  private:
    void Run() {
        Datagram buffer{};
        for (;;) {
            ReceiveResult r = socket_->ReceiveFrom(buffer);
            if (r.kind == ReceiveResult::kInterrupted) return;
            if (r.kind != ReceiveResult::kDatagram) continue;
            ++received_;
            if (mode_ == Mode::kSilent) continue;
            if (mode_ == Mode::kAckAfterDelay) std::this_thread::sleep_for(delay_);
            const uint8_t ack[3] = {buffer[0], 0, 0};
            socket_->SendTo(r.from, ack);
        }
    }

    std::unique_ptr<PosixUdpSocket> socket_;
    Mode mode_;
    std::chrono::milliseconds delay_;
    std::atomic<int> received_{0};
    std::thread thread_;
};

struct SocketLinkTest : ::testing::Test {
    // The console core talking to 127.0.0.1:`host_port` from any free port.
    // The tests send from their own thread while the core's worker idles.
    std::unique_ptr<ConsoleCore> Open(Timings timings, uint16_t host_port) {
        NetworkSettings settings;
        settings.pc_udp_port = "0";  // any free port
        settings.qavo_host_ip = kLoopback;
        settings.qavo_host_udp_port = std::to_string(host_port);
        auto core = std::make_unique<ConsoleCore>(
            ConsoleCoreDeps{factory, prompter, bus, timings, record_exit});
        core->Start(settings);
        EXPECT_TRUE(exit_codes.empty());
        return core;
    }

    PosixSocketFactory factory;
    testing::FakePrompter prompter;
    testing::FakeUiBus bus;
    std::vector<int> exit_codes;
    HostLink::ExitFunction record_exit = [this](int code) { exit_codes.push_back(code); };
};

TEST_F(SocketLinkTest, AcknowledgedAtOnce) {
    Responder host(Responder::Mode::kAckAtOnce);
    auto core = Open(Timings{}, host.port());
    HostLink& link = core->link();
    Datagram d{};
    EXPECT_EQ(link.SendWithAck(ACK_RESET, d, 10), 0);
    EXPECT_EQ(host.received(), 1);
}

TEST_F(SocketLinkTest, NoAnswerSendsTwiceAndFails) {
    Responder host(Responder::Mode::kSilent);
    auto core = Open(Timings::Scaled(0.02), host.port());
    HostLink& link = core->link();
    Datagram d{};
    EXPECT_EQ(link.SendWithAck(SET_CLOCK, d, 10), -1);
    for (int i = 0; i < 2000 && host.received() < 2; ++i)
        std::this_thread::sleep_for(1ms);
    std::this_thread::sleep_for(20ms);
    EXPECT_EQ(host.received(), 2);
}

TEST_F(SocketLinkTest, StaleAcknowledgementDoesNotCompleteTheNextRequest) {
    Responder host(Responder::Mode::kSilent);
    auto core = Open(Timings::Scaled(0.02), host.port());
    HostLink& link = core->link();
    // An acknowledgement arrives while nothing waits.
    const uint8_t stray[3] = {15, 0, 0};
    host.socket().SendTo({kLoopback, link.host_socket_port()}, stray);
    for (int i = 0; i < 5000 && !link.ack_event().IsSignalled(); ++i)
        std::this_thread::sleep_for(1ms);
    ASSERT_TRUE(link.ack_event().IsSignalled());
    Datagram d{};
    EXPECT_EQ(link.SendWithAck(SET_CLOCK, d, 10), -1);
}

TEST_F(SocketLinkTest, FirmwareChunkWaitsLongerThanOtherRequests) {
    // The host answers each request 300 ms late: too late for an ordinary
    // request (two waits of 20 ms), in time for a firmware chunk (2 s).
    Responder host(Responder::Mode::kAckAfterDelay, 300ms);
    Timings timings = Timings::Scaled(0.02);
    timings.fw_chunk_ack_wait = 2000ms;
    auto core = Open(timings, host.port());
    HostLink& link = core->link();
    Datagram d{};
    EXPECT_EQ(link.SendWithAck(NET_PARAMS, d, 4), -1);
    // Let the two late answers of that request arrive and be cleared.
    std::this_thread::sleep_for(700ms);
    EXPECT_EQ(link.SendWithAck(FW_CHUNK, d, 0), 0);
    EXPECT_EQ(host.received(), 3);
}

TEST_F(SocketLinkTest, RequestsGoToTheLastSender) {
    Responder first(Responder::Mode::kSilent);
    Responder second(Responder::Mode::kAckAtOnce);
    auto core = Open(Timings{}, first.port());
    HostLink& link = core->link();
    const uint8_t reply[2] = {14, 1};
    second.socket().SendTo({kLoopback, link.host_socket_port()}, reply);
    for (int i = 0; i < 5000 && link.host_endpoint().port != second.port(); ++i) {
        std::this_thread::sleep_for(1ms);
    }
    Datagram d{};
    EXPECT_EQ(link.SendWithAck(ACK_RESET, d, 10), 0);
    EXPECT_EQ(second.received(), 1);
    EXPECT_EQ(first.received(), 0);
}

TEST_F(SocketLinkTest, GroupSocketReceivesTheMulticastGroup) {
    Responder host(Responder::Mode::kSilent);
    auto core = Open(Timings{}, host.port());
    HostLink& link = core->link();
    auto sender = PosixUdpSocket::Create();
    ASSERT_TRUE(sender->Bind({kLoopback, 0}));
    const uint8_t status[6] = {0, 1, 0, kFlagFault, 0x00, 0xC0};
    ASSERT_TRUE(sender->SendTo({0xE00003A3, 16816}, status));
    ASSERT_TRUE(bus.WaitFor(WM_STATUS_CHANGED, 1, 5000ms));
    {
        SystemModel& model = core->model();
        auto lock = model.Lock();
        EXPECT_EQ(model.live.system_flags, kFlagFault);
        EXPECT_EQ(model.live.contact_inputs[0], 0xC000);
    }
    // The group's sender does not become the host endpoint.
    EXPECT_EQ(link.host_endpoint().port, host.port());
}

TEST_F(SocketLinkTest, ReceivingGoesOnAfterTheSocketsAreRecreated) {
    Responder host(Responder::Mode::kAckAtOnce);
    auto core = Open(Timings{}, host.port());
    HostLink& link = core->link();
    link.RecreateSockets();
    EXPECT_TRUE(exit_codes.empty());
    // The host socket was bound to any free port again; the settings are kept.
    EXPECT_EQ(link.settings().qavo_host_udp_port, std::to_string(host.port()));
    EXPECT_NE(link.host_socket_port(), 0);
    Datagram d{};
    EXPECT_EQ(link.SendWithAck(ACK_RESET, d, 10), 0);
    auto sender = PosixUdpSocket::Create();
    ASSERT_TRUE(sender->Bind({kLoopback, 0}));
    const uint8_t status[6] = {0, 1, 0, kFlagEmergency, 0, 0};
    ASSERT_TRUE(sender->SendTo({0xE00003A3, 16816}, status));
    ASSERT_TRUE(bus.WaitFor(WM_STATUS_CHANGED, 1, 5000ms));
}

}  // namespace
}  // namespace qavo
