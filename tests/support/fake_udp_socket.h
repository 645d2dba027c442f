#pragma once

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/udp_socket.h"

namespace qavo::testing {

// What the fake sockets were asked to do, shared by every socket a factory made.
struct FakeNetwork {
    struct Sent {
        Endpoint to;
        std::vector<uint8_t> data;
    };
    std::mutex mutex;
    std::vector<Sent> sent;
    std::vector<Endpoint> bound;
    std::vector<uint32_t> joined;
    // When set, every datagram sent is answered on the sending socket by an
    // acknowledgement {op, 0, 0}, as long as `acks_left` is not 0 (-1: no end).
    bool auto_ack = false;
    int acks_left = -1;
};

// A socket without a network: sends are recorded, receives come from Inject().
class FakeUdpSocket final : public UdpSocket {
  public:
    struct Failures {
        bool bind = false;
        bool join = false;
        bool loopback = false;
        bool ttl = false;
    };
    FakeUdpSocket(std::shared_ptr<FakeNetwork> network, Failures failures)
        : network_(std::move(network)), failures_(failures) {}

    bool Bind(const Endpoint& local) override;
    bool JoinGroup(uint32_t group, uint32_t interface_address) override;
    bool SetMulticastLoopback(bool enabled) override;
    bool SetMulticastTtl(int ttl) override;
    bool SendTo(const Endpoint& to, std::span<const uint8_t> data) override;
    ReceiveResult ReceiveFrom(std::span<uint8_t> buffer, int timeout_ms = -1) override;
    void Interrupt() override;
    Endpoint LocalEndpoint() const override { return local_; }

    void Inject(std::vector<uint8_t> data, Endpoint from);
    bool multicast_loopback() const { return loopback_; }
    int multicast_ttl() const { return ttl_; }

  private:
    std::shared_ptr<FakeNetwork> network_;
    Failures failures_;
    Endpoint local_;
    bool loopback_ = true;
    int ttl_ = -1;
    std::mutex mutex_;
    std::condition_variable cv_;
    std::deque<std::pair<std::vector<uint8_t>, Endpoint>> incoming_;
    bool interrupted_ = false;
};

// Makes fake sockets; `create_failures` creations fail first.
class FakeSocketFactory final : public SocketFactory {
  public:
    std::unique_ptr<UdpSocket> Create() override;

    std::shared_ptr<FakeNetwork> network = std::make_shared<FakeNetwork>();
    int create_failures = 0;
    FakeUdpSocket::Failures next_failures;
    std::vector<FakeUdpSocket*> made;  // owned by whoever took them
};

}  // namespace qavo::testing
