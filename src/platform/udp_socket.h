#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace qavo {

// An IPv4 address and port. The address keeps its first octet in the most
// significant byte (192.168.99.8 is 0xC0A86308); the port is a plain number.
struct Endpoint {
    uint32_t address = 0;
    uint16_t port = 0;
    friend bool operator==(const Endpoint&, const Endpoint&) = default;
};

std::string FormatEndpoint(const Endpoint& endpoint);

// What a receive gave.
struct ReceiveResult {
    enum Kind { kDatagram, kNothing, kInterrupted };
    Kind kind = kNothing;
    size_t length = 0;  // bytes written into the buffer, for kDatagram
    Endpoint from;      // the sender, for kDatagram
};

// A UDP/IPv4 socket. Sends may come from one thread while another blocks in
// a receive; Interrupt() wakes that receive and every later one returns
// kInterrupted, so a socket can be replaced while its reader runs.
class UdpSocket {
  public:
    virtual ~UdpSocket() = default;
    virtual bool Bind(const Endpoint& local) = 0;
    // Joins `group` on the interface with address `interface_address`
    // (0 = the default interface).
    virtual bool JoinGroup(uint32_t group, uint32_t interface_address) = 0;
    virtual bool SetMulticastLoopback(bool enabled) = 0;
    virtual bool SetMulticastTtl(int ttl) = 0;
    virtual bool SendTo(const Endpoint& to, std::span<const uint8_t> data) = 0;
    // Blocks until a datagram arrives, the socket is interrupted or
    // `timeout_ms` passes (negative: no limit). A failed receive gives kNothing.
    virtual ReceiveResult ReceiveFrom(std::span<uint8_t> buffer, int timeout_ms = -1) = 0;
    virtual void Interrupt() = 0;
    // The locally bound endpoint (the port the system chose when bound to 0).
    virtual Endpoint LocalEndpoint() const = 0;
};

// Makes sockets; returns nullptr when the system refuses to create one.
class SocketFactory {
  public:
    virtual ~SocketFactory() = default;
    virtual std::unique_ptr<UdpSocket> Create() = 0;
};

// Sockets of the operating system.
class PosixUdpSocket final : public UdpSocket {
  public:
    static std::unique_ptr<PosixUdpSocket> Create();
    ~PosixUdpSocket() override;
    PosixUdpSocket(const PosixUdpSocket&) = delete;
    PosixUdpSocket& operator=(const PosixUdpSocket&) = delete;

    bool Bind(const Endpoint& local) override;
    bool JoinGroup(uint32_t group, uint32_t interface_address) override;
    bool SetMulticastLoopback(bool enabled) override;
    bool SetMulticastTtl(int ttl) override;
    bool SendTo(const Endpoint& to, std::span<const uint8_t> data) override;
    ReceiveResult ReceiveFrom(std::span<uint8_t> buffer, int timeout_ms = -1) override;
    void Interrupt() override;
    Endpoint LocalEndpoint() const override;

  private:
    PosixUdpSocket(int fd, int wake_read, int wake_write);
    int fd_;
    int wake_read_;
    int wake_write_;
};

class PosixSocketFactory final : public SocketFactory {
  public:
    std::unique_ptr<UdpSocket> Create() override { return PosixUdpSocket::Create(); }
};

// Up to `max_count` IPv4 addresses of this machine, in the order the
// resolver gives them for the machine's own host name, each in the order of
// Endpoint::address.
std::vector<uint32_t> ListLocalAddresses(size_t max_count = 8);

}  // namespace qavo
