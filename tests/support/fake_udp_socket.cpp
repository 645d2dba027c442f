#include "support/fake_udp_socket.h"

#include <algorithm>
#include <cstring>

namespace qavo::testing {

bool FakeUdpSocket::Bind(const Endpoint& local) {
    if (failures_.bind) return false;
    local_ = local;
    std::lock_guard lock(network_->mutex);
    network_->bound.push_back(local);
    return true;
}

bool FakeUdpSocket::JoinGroup(uint32_t group, uint32_t) {
    if (failures_.join) return false;
    std::lock_guard lock(network_->mutex);
    network_->joined.push_back(group);
    return true;
}

bool FakeUdpSocket::SetMulticastLoopback(bool enabled) {
    if (failures_.loopback) return false;
    loopback_ = enabled;
    return true;
}

bool FakeUdpSocket::SetMulticastTtl(int ttl) {
    if (failures_.ttl) return false;
    ttl_ = ttl;
    return true;
}

bool FakeUdpSocket::SendTo(const Endpoint& to, std::span<const uint8_t> data) {
    bool answer = false;
    {
        std::lock_guard lock(network_->mutex);
        network_->sent.push_back({to, std::vector<uint8_t>(data.begin(), data.end())});
        if (network_->auto_ack && network_->acks_left != 0 && !data.empty()) {
            if (network_->acks_left > 0) --network_->acks_left;
            answer = true;
        }
    }
    if (answer) Inject({data[0], 0, 0}, to);
    return true;
}

ReceiveResult FakeUdpSocket::ReceiveFrom(std::span<uint8_t> buffer, int timeout_ms) {
    std::unique_lock lock(mutex_);
    auto ready = [this] { return interrupted_ || !incoming_.empty(); };
    if (timeout_ms < 0) {
        cv_.wait(lock, ready);
    } else if (!cv_.wait_for(lock, std::chrono::milliseconds(timeout_ms), ready)) {
        return {};
    }
    if (interrupted_) return {ReceiveResult::kInterrupted, 0, {}};
    auto [data, from] = std::move(incoming_.front());
    incoming_.pop_front();
    size_t n = std::min(data.size(), buffer.size());
    std::memcpy(buffer.data(), data.data(), n);
    return {ReceiveResult::kDatagram, n, from};
}

void FakeUdpSocket::Interrupt() {
    {
        std::lock_guard lock(mutex_);
        interrupted_ = true;
    }
    cv_.notify_all();
}

void FakeUdpSocket::Inject(std::vector<uint8_t> data, Endpoint from) {
    {
        std::lock_guard lock(mutex_);
        incoming_.emplace_back(std::move(data), from);
    }
    cv_.notify_all();
}

std::unique_ptr<UdpSocket> FakeSocketFactory::Create() {
    if (create_failures > 0) {
        --create_failures;
        return nullptr;
    }
    auto socket = std::make_unique<FakeUdpSocket>(network, next_failures);
    made.push_back(socket.get());
    return socket;
}

}  // namespace qavo::testing
