#include "sim_sender.h"

#include "sim_trace.h"

namespace qavo::sim {

SimSender::SimSender(uint32_t seed, std::function<void(const std::string&)> trace)
    : rng_(seed), trace_(std::move(trace)) {}

SimSender::~SimSender() {
    Stop();
}

void SimSender::Start() {
    std::lock_guard lock(mutex_);
    if (thread_.joinable()) return;
    stopping_ = false;
    thread_ = std::thread([this] { Run(); });
}

void SimSender::Stop() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    if (thread_.joinable()) thread_.join();
    std::lock_guard lock(mutex_);
    queue_.clear();
}

void SimSender::Send(UdpSocket* socket, const Endpoint& to, std::vector<uint8_t> data,
                     std::chrono::milliseconds extra) {
    {
        std::lock_guard lock(mutex_);
        if (silent_ || stopping_) return;
        auto due = Clock::now() + delay_ + extra;
        queue_.emplace(std::make_pair(due, sequence_++), Item{socket, to, std::move(data)});
    }
    wake_.notify_all();
}

void SimSender::Run() {
    std::unique_lock lock(mutex_);
    while (!stopping_) {
        if (queue_.empty()) {
            wake_.wait(lock);
            continue;
        }
        auto first = queue_.begin();
        if (first->first.first > Clock::now()) {
            wake_.wait_until(lock, first->first.first);
            continue;
        }
        Item item = std::move(first->second);
        queue_.erase(first);
        bool drop = silent_ || (drop_fraction_ > 0.0 && std::uniform_real_distribution<double>(
                                                            0.0, 1.0)(rng_) < drop_fraction_);
        drop ? ++dropped_ : ++sent_;
        lock.unlock();
        if (!drop) item.socket->SendTo(item.to, item.data);
        if (trace_) trace_(TraceLine("->", item.to, item.data, false, drop ? "dropped" : ""));
        lock.lock();
    }
}

void SimSender::SetSilent(bool silent) {
    std::lock_guard lock(mutex_);
    silent_ = silent;
}

bool SimSender::silent() const {
    std::lock_guard lock(mutex_);
    return silent_;
}

void SimSender::SetDropFraction(double fraction) {
    std::lock_guard lock(mutex_);
    drop_fraction_ = fraction;
}

double SimSender::drop_fraction() const {
    std::lock_guard lock(mutex_);
    return drop_fraction_;
}

void SimSender::SetDelay(std::chrono::milliseconds delay) {
    std::lock_guard lock(mutex_);
    delay_ = delay;
}

std::chrono::milliseconds SimSender::delay() const {
    std::lock_guard lock(mutex_);
    return delay_;
}

uint64_t SimSender::sent() const {
    std::lock_guard lock(mutex_);
    return sent_;
}

uint64_t SimSender::dropped() const {
    std::lock_guard lock(mutex_);
    return dropped_;
}

}  // namespace qavo::sim
