#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "platform/udp_socket.h"

namespace qavo::sim {

// Sends everything the simulator answers, on its own thread, in the order
// queued (a datagram with a later due time may be overtaken). It can lose a
// fraction of what it sends, delay everything, or fall silent.
class SimSender {
  public:
    using Clock = std::chrono::steady_clock;
    // `trace` gets one line per datagram sent or dropped; empty: no trace.
    SimSender(uint32_t seed, std::function<void(const std::string&)> trace);
    ~SimSender();
    SimSender(const SimSender&) = delete;
    SimSender& operator=(const SimSender&) = delete;

    void Start();
    // Ends the thread; what is still queued is not sent.
    void Stop();

    // Queues `data` to leave `socket` for `to` once the set delay and `extra`
    // have passed. `socket` must outlive Stop().
    void Send(UdpSocket* socket, const Endpoint& to, std::vector<uint8_t> data,
              std::chrono::milliseconds extra = std::chrono::milliseconds{0});

    void SetSilent(bool silent);
    bool silent() const;
    void SetDropFraction(double fraction);  // 0 to 1
    double drop_fraction() const;
    void SetDelay(std::chrono::milliseconds delay);
    std::chrono::milliseconds delay() const;
    uint64_t sent() const;
    uint64_t dropped() const;

  private:
    struct Item {
        UdpSocket* socket;
        Endpoint to;
        std::vector<uint8_t> data;
    };
    void Run();

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::map<std::pair<Clock::time_point, uint64_t>, Item> queue_;
    uint64_t sequence_ = 0;
    bool stopping_ = false;
    bool silent_ = false;
    double drop_fraction_ = 0.0;
    std::chrono::milliseconds delay_{0};
    uint64_t sent_ = 0;
    uint64_t dropped_ = 0;
    std::mt19937 rng_;
    std::function<void(const std::string&)> trace_;
    std::thread thread_;
};

}  // namespace qavo::sim
