#include "platform/udp_socket.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace qavo {

namespace {

sockaddr_in ToSockaddr(const Endpoint& endpoint) {
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(endpoint.port);
    addr.sin_addr.s_addr = htonl(endpoint.address);
    return addr;
}

Endpoint FromSockaddr(const sockaddr_in& addr) {
    return Endpoint{ntohl(addr.sin_addr.s_addr), ntohs(addr.sin_port)};
}

void CloseQuietly(int fd) {
    if (fd >= 0) ::close(fd);
}

}  // namespace

std::string FormatEndpoint(const Endpoint& e) {
    char text[32];
    std::snprintf(text, sizeof text, "%u.%u.%u.%u:%u", (e.address >> 24) & 0xFF,
                  (e.address >> 16) & 0xFF, (e.address >> 8) & 0xFF, e.address & 0xFF, e.port);
    return text;
}

std::unique_ptr<PosixUdpSocket> PosixUdpSocket::Create() {
    int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_UDP);
    if (fd < 0) return nullptr;
    int pipe_fds[2];
    if (::pipe2(pipe_fds, O_CLOEXEC | O_NONBLOCK) != 0) {
        ::close(fd);
        return nullptr;
    }
    return std::unique_ptr<PosixUdpSocket>(new PosixUdpSocket(fd, pipe_fds[0], pipe_fds[1]));
}

PosixUdpSocket::PosixUdpSocket(int fd, int wake_read, int wake_write)
    : fd_(fd), wake_read_(wake_read), wake_write_(wake_write) {}

PosixUdpSocket::~PosixUdpSocket() {
    CloseQuietly(fd_);
    CloseQuietly(wake_read_);
    CloseQuietly(wake_write_);
}

bool PosixUdpSocket::Bind(const Endpoint& local) {
    sockaddr_in addr = ToSockaddr(local);
    return ::bind(fd_, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) == 0;
}

bool PosixUdpSocket::JoinGroup(uint32_t group, uint32_t interface_address) {
    ip_mreq request{};
    request.imr_multiaddr.s_addr = htonl(group);
    request.imr_interface.s_addr = htonl(interface_address);
    return ::setsockopt(fd_, IPPROTO_IP, IP_ADD_MEMBERSHIP, &request, sizeof request) == 0;
}

bool PosixUdpSocket::SetMulticastLoopback(bool enabled) {
    unsigned char value = enabled ? 1 : 0;
    return ::setsockopt(fd_, IPPROTO_IP, IP_MULTICAST_LOOP, &value, sizeof value) == 0;
}

bool PosixUdpSocket::SetMulticastTtl(int ttl) {
    unsigned char value = static_cast<unsigned char>(ttl);
    return ::setsockopt(fd_, IPPROTO_IP, IP_MULTICAST_TTL, &value, sizeof value) == 0;
}

bool PosixUdpSocket::SendTo(const Endpoint& to, std::span<const uint8_t> data) {
    sockaddr_in addr = ToSockaddr(to);
    ssize_t sent;
    do {
        sent = ::sendto(fd_, data.data(), data.size(), MSG_NOSIGNAL,
                        reinterpret_cast<const sockaddr*>(&addr), sizeof addr);
    } while (sent < 0 && errno == EINTR);
    return sent == static_cast<ssize_t>(data.size());
}

ReceiveResult PosixUdpSocket::ReceiveFrom(std::span<uint8_t> buffer, int timeout_ms) {
    pollfd fds[2] = {{fd_, POLLIN, 0}, {wake_read_, POLLIN, 0}};
    int ready = ::poll(fds, 2, timeout_ms);
    if (ready < 0) return {};
    if (fds[1].revents != 0) return {ReceiveResult::kInterrupted, 0, {}};
    if (ready == 0 || (fds[0].revents & POLLIN) == 0) return {};
    sockaddr_in from{};
    socklen_t from_len = sizeof from;
    ssize_t got = ::recvfrom(fd_, buffer.data(), buffer.size(), MSG_DONTWAIT,
                             reinterpret_cast<sockaddr*>(&from), &from_len);
    if (got <= 0) return {};
    return {ReceiveResult::kDatagram, static_cast<size_t>(got), FromSockaddr(from)};
}

void PosixUdpSocket::Interrupt() {
    // The pipe stays readable from now on: every later receive returns at once.
    const char byte = 1;
    [[maybe_unused]] ssize_t ignored = ::write(wake_write_, &byte, 1);
}

Endpoint PosixUdpSocket::LocalEndpoint() const {
    sockaddr_in addr{};
    socklen_t len = sizeof addr;
    if (::getsockname(fd_, reinterpret_cast<sockaddr*>(&addr), &len) != 0) return {};
    return FromSockaddr(addr);
}

std::vector<uint32_t> ListLocalAddresses(size_t max_count) {
    std::vector<uint32_t> result;
    char name[256] = {};
    if (::gethostname(name, sizeof name - 1) != 0) return result;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_DGRAM;
    addrinfo* list = nullptr;
    if (::getaddrinfo(name, nullptr, &hints, &list) != 0) return result;
    for (addrinfo* p = list; p != nullptr && result.size() < max_count; p = p->ai_next) {
        const auto* addr = reinterpret_cast<const sockaddr_in*>(p->ai_addr);
        result.push_back(ntohl(addr->sin_addr.s_addr));
    }
    ::freeaddrinfo(list);
    return result;
}

}  // namespace qavo
