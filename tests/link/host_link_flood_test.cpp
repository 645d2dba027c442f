// Re-creating the host link's sockets while datagrams pour in on both of
// them, over real sockets on the loopback inside a private network namespace.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "link/console_core.h"
#include "support/fake_prompter.h"
#include "support/fake_ui_bus.h"

namespace qavo {
namespace {

using namespace std::chrono_literals;
constexpr uint32_t kLoopback = 0x7F000001;
constexpr int kRounds = 200;

// A port that no socket holds at the moment (the system's choice).
uint16_t FreePort() {
    auto probe = PosixUdpSocket::Create();
    EXPECT_TRUE(probe->Bind({0, 0}));
    return probe->LocalEndpoint().port;
}

// Sends to the host port and to the multicast group as fast as it can:
// acknowledgements (they only signal the acknowledgement event) and
// datagrams of a code nobody handles, so that the marker the test looks for
// is never overwritten by the flood.
class Flooder {
  public:
    Flooder(Endpoint host, Endpoint group) : socket_(PosixUdpSocket::Create()) {
        EXPECT_TRUE(socket_->Bind({kLoopback, 0}));
        thread_ = std::thread([this, host, group] { Run(host, group); });
    }
    ~Flooder() {
        stop_ = true;
        thread_.join();
    }

  private:
    void Run(Endpoint host, Endpoint group) {
        const uint8_t ack[3] = {HEARTBEAT, 0, 0};
        const uint8_t unhandled[8] = {0x7E, 1, 0, 1, 2, 3, 4, 5};
        while (!stop_) {
            for (const Endpoint& to : {host, group}) {
                socket_->SendTo(to, ack);
                socket_->SendTo(to, unhandled);
            }
        }
    }

    std::unique_ptr<PosixUdpSocket> socket_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

struct HostLinkFloodTest : ::testing::Test {
    // True once the console's model shows `marker` as the first host's
    // contact inputs. The INPUT_STATUS carrying it is sent again every few
    // milliseconds: under the flood the receive buffer may be full and a
    // datagram lost, as UDP allows.
    bool MarkerArrives(PosixUdpSocket& from, const Endpoint& to, uint16_t marker) {
        std::vector<uint8_t> status(4 + 2 * kMaxHosts, 0);
        status[0] = INPUT_STATUS;
        status[1] = 1;
        WriteLe16(&status[4], marker);
        const auto deadline = std::chrono::steady_clock::now() + 10s;
        while (std::chrono::steady_clock::now() < deadline) {
            from.SendTo(to, status);
            for (int i = 0; i < 20; ++i) {
                {
                    SystemModel& model = core->model();
                    auto lock = model.Lock();
                    if (model.live.contact_inputs[0] == marker) return true;
                }
                std::this_thread::sleep_for(1ms);
            }
        }
        return false;
    }

    PosixSocketFactory factory;
    testing::FakePrompter prompter;
    testing::FakeUiBus bus;
    std::atomic<int> exits{0};
    std::unique_ptr<ConsoleCore> core;
};

TEST_F(HostLinkFloodTest, SocketsAreRecreatedUnderAFloodAndReceivingGoesOn) {
    // Fixed ports, as in the field: each re-creation binds the same ports
    // again, so the old sockets must really be closed first.
    const uint16_t pc_port = FreePort();
    const uint16_t group_port = FreePort();
    ASSERT_NE(pc_port, group_port);
    NetworkSettings settings;
    settings.pc_udp_port = std::to_string(pc_port);
    settings.qavo_host_ip = kLoopback;
    settings.qavo_host_udp_port = std::to_string(FreePort());  // nobody answers there
    core = std::make_unique<ConsoleCore>(
        ConsoleCoreDeps{factory, prompter, bus, Timings{}, [this](int) { ++exits; },
                        HostLink::Options{.group_port = group_port}});
    core->Start(settings);
    ASSERT_EQ(exits.load(), 0);
    HostLink& link = core->link();
    ASSERT_EQ(link.host_socket_port(), pc_port);

    const Endpoint host_port{kLoopback, pc_port};
    const Endpoint group{kGroupAddress, group_port};
    auto marker_sender = PosixUdpSocket::Create();
    ASSERT_TRUE(marker_sender->Bind({kLoopback, 0}));
    uint16_t marker = 0;
    Flooder flood(host_port, group);
    // The flood's acknowledgements reach the console.
    link.ack_event().Clear();
    ASSERT_TRUE(link.ack_event().WaitFor(5000ms));
    for (int round = 0; round < kRounds; ++round) {
        SCOPED_TRACE(round);
        link.RecreateSockets();
        ASSERT_EQ(exits.load(), 0);
        ASSERT_TRUE(prompter.asked().empty()) << prompter.asked().front().text;
        ASSERT_EQ(link.host_socket_port(), pc_port);
        for (const Endpoint& to : {host_port, group}) {
            ++marker;
            ASSERT_TRUE(MarkerArrives(*marker_sender, to, marker))
                << "nothing arrives on " << FormatEndpoint(to) << " after the re-creation";
        }
    }
    EXPECT_EQ(exits.load(), 0);
}

}  // namespace
}  // namespace qavo
