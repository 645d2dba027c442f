// The host link over fake sockets: socket failures, the options of the
// group socket, what SendWithAck puts on the wire and how often.
#include <gtest/gtest.h>

#include <thread>

#include "link/console_core.h"
#include "link/host_link.h"
#include "support/fake_prompter.h"
#include "support/fake_udp_socket.h"
#include "support/fake_ui_bus.h"

namespace qavo {
namespace {

using testing::FakeNetwork;
using testing::FakePrompter;
using testing::FakeSocketFactory;
using testing::FakeUdpSocket;

struct LinkFixture : ::testing::Test {
    LinkFixture()
        : link(factory, prompter, Timings::Scaled(0.01),
               [this](int code) { exit_codes.push_back(code); }) {}

    std::vector<FakeNetwork::Sent> Sent() {
        std::lock_guard lock(factory.network->mutex);
        return factory.network->sent;
    }

    FakeSocketFactory factory;
    FakePrompter prompter;
    std::vector<int> exit_codes;
    HostLink link;
};

const BoxRequest kCreateFailure{"Create socket failure", "Socket error message",
                                BoxButtons::kAbortRetryIgnore, BoxIcon::kError};
const BoxRequest kBindFailure{"Create socket failure", "EmergencyVoiceAlarmSystem", BoxButtons::kOk,
                              BoxIcon::kError};

TEST_F(LinkFixture, OpensBothSocketsAsConfigured) {
    NetworkSettings settings;
    settings.pc_udp_port = "0x41F9";
    link.OpenHostSocket(settings);
    link.OpenGroupSocket();
    EXPECT_TRUE(prompter.asked().empty());
    EXPECT_TRUE(exit_codes.empty());
    ASSERT_EQ(factory.made.size(), 2u);
    EXPECT_EQ(factory.network->bound, (std::vector<Endpoint>{{0, 16889}, {0, 16816}}));
    EXPECT_EQ(factory.network->joined, std::vector<uint32_t>{0xE00003A3});
    EXPECT_FALSE(factory.made[1]->multicast_loopback());
    EXPECT_EQ(factory.made[1]->multicast_ttl(), 1);
    // The endpoint is the configured host until a datagram says otherwise.
    EXPECT_EQ(link.host_endpoint(), (Endpoint{0xC0A86308, 16888}));
}

TEST_F(LinkFixture, CreationFailureAsksAgainUntilRetrySucceeds) {
    factory.create_failures = 2;
    prompter.Script({BoxAnswer::kRetry, BoxAnswer::kRetry});
    link.OpenHostSocket(NetworkSettings{});
    EXPECT_EQ(prompter.asked(), (std::vector<BoxRequest>{kCreateFailure, kCreateFailure}));
    EXPECT_TRUE(exit_codes.empty());
    EXPECT_EQ(factory.made.size(), 1u);
}

TEST_F(LinkFixture, CreationFailureAbortOrIgnoreEndsTheProcess) {
    for (BoxAnswer answer : {BoxAnswer::kAbort, BoxAnswer::kIgnore}) {
        factory.create_failures = 1;
        prompter.Script({answer});
        link.OpenGroupSocket();
    }
    EXPECT_EQ(exit_codes, (std::vector<int>{-1, -1}));
    EXPECT_TRUE(factory.made.empty());
}

TEST_F(LinkFixture, EveryGroupSocketOptionFailureEndsTheProcess) {
    const FakeUdpSocket::Failures failures[] = {
        {.bind = true}, {.join = true}, {.loopback = true}, {.ttl = true}};
    for (const auto& f : failures) {
        factory.next_failures = f;
        link.OpenGroupSocket();
    }
    EXPECT_EQ(exit_codes, std::vector<int>(4, -1));
    EXPECT_EQ(prompter.asked(), std::vector<BoxRequest>(4, kBindFailure));
}

TEST_F(LinkFixture, HostBindFailureEndsTheProcess) {
    factory.next_failures.bind = true;
    link.OpenHostSocket(NetworkSettings{});
    EXPECT_EQ(exit_codes, std::vector<int>{-1});
    EXPECT_EQ(prompter.asked(), std::vector<BoxRequest>{kBindFailure});
}

TEST_F(LinkFixture, UnansweredRequestIsSentExactlyTwice) {
    link.OpenHostSocket(NetworkSettings{});
    Datagram d{};
    d[3] = 0;
    d[4] = 255;
    EXPECT_EQ(link.SendWithAck(READ_STATUS, d, 5), -1);
    auto sent = Sent();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0].data, (std::vector<uint8_t>{1, 0, 0, 0, 255}));
    EXPECT_EQ(sent[1].data, sent[0].data);
    EXPECT_EQ(sent[0].to, (Endpoint{0xC0A86308, 16888}));
    EXPECT_EQ(link.tries_left(), 0);
}

TEST_F(LinkFixture, OpsThatFixTheirOwnLength) {
    link.OpenHostSocket(NetworkSettings{});
    struct Case {
        uint8_t op;
        size_t caller_length;
        uint8_t param;
        uint64_t firmware_length;
        std::vector<uint8_t> head;  // the first bytes on the wire
        size_t length;
    };
    const Case cases[] = {
        {SET_RELAYS, 11, 2, 0, {2, 0, 2, 0xEE}, 11},
        {FW_BEGIN, 3, 0, 0x0102030405060708ull, {4, 4, 4, 4, 4, 4, 8, 7, 6, 5, 4, 3, 2, 1}, 14},
        {DISCOVER, 99, 0, 0, {5, 0, 0}, 3},
        {FW_CHUNK, 10, 0, 0, {7, 0, 0}, 1032},
        {FW_END, 50, 0, 0, {8, 0, 0}, 3},
        {READ_STATUS, 5, 9, 0, {1, 0, 0}, 5},  // byte 2 of READ_STATUS is always 0
        {SET_CLOCK, 10, 0, 0, {15, 0, 0}, 10},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int{c.op});
        Datagram d;
        d.fill(0xEE);
        link.SendWithAck(c.op, d, c.caller_length, c.param, c.firmware_length);
        auto sent = Sent();
        ASSERT_GE(sent.size(), 1u);
        const auto& last = sent.back().data;
        EXPECT_EQ(last.size(), c.length);
        EXPECT_TRUE(std::equal(c.head.begin(), c.head.end(), last.begin()));
        std::lock_guard lock(factory.network->mutex);
        factory.network->sent.clear();
    }
}

TEST_F(LinkFixture, AcknowledgementOnEitherSocketCompletesTheRequest) {
    // Real waits: the answer comes from another thread and ends the wait at once.
    testing::FakeUiBus bus;
    ConsoleCore core(ConsoleCoreDeps{factory, prompter, bus, Timings{},
                                     [this](int code) { exit_codes.push_back(code); }});
    core.Start(NetworkSettings{});
    HostLink& patient = core.link();
    for (size_t socket : {0u, 1u}) {
        std::thread host([&] {
            while (Sent().empty())
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            factory.made[socket]->Inject({10, 0, 0}, Endpoint{0x7F000001, 16888});
        });
        Datagram d{};
        EXPECT_EQ(patient.SendWithAck(ACK_RESET, d, 10), 0);
        host.join();
        EXPECT_EQ(Sent().size(), 1u);
        std::lock_guard lock(factory.network->mutex);
        factory.network->sent.clear();
    }
}

TEST_F(LinkFixture, RequestsFollowTheLastSenderOnTheHostSocketOnly) {
    testing::FakeUiBus bus;
    ConsoleCore core(ConsoleCoreDeps{factory, prompter, bus, Timings::Scaled(0.01),
                                     [this](int code) { exit_codes.push_back(code); }});
    core.Start(NetworkSettings{});
    HostLink& link = core.link();
    const Endpoint a{0x7F000005, 17000};
    factory.made[0]->Inject({14, 1}, a);
    for (int i = 0; i < 5000 && link.host_endpoint() != a; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    EXPECT_EQ(link.host_endpoint(), a);
    // A datagram on the group socket does not move the endpoint.
    factory.made[1]->Inject({0, 1, 0, 0, 0, 0}, Endpoint{0x7F000009, 16816});
    ASSERT_TRUE(bus.WaitFor(WM_STATUS_CHANGED, 1, std::chrono::milliseconds(5000)));
    EXPECT_EQ(link.host_endpoint(), a);
    link.SendPlain(std::vector<uint8_t>{14, 0, 0, 14, 0});
    EXPECT_EQ(Sent().back().to, a);

    // Pointed at a device (a firmware job), the link stays with it whoever
    // else speaks; pointed back, it follows the last sender again.
    link.SetHostEndpointAddress(0x7F000042);
    factory.made[0]->Inject({0, 1, 0, 0, 0, 0}, a);
    ASSERT_TRUE(bus.WaitFor(WM_STATUS_CHANGED, 2, std::chrono::milliseconds(5000)));
    EXPECT_EQ(link.host_endpoint(), (Endpoint{0x7F000042, a.port}));
    link.SetHostEndpoint(a);
    const Endpoint b{0x7F000006, 17001};
    factory.made[0]->Inject({0, 1, 0, 0, 0, 0}, b);
    ASSERT_TRUE(bus.WaitFor(WM_STATUS_CHANGED, 3, std::chrono::milliseconds(5000)));
    EXPECT_EQ(link.host_endpoint(), b);
}

}  // namespace
}  // namespace qavo
