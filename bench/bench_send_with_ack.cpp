// SendWithAck round trip against the simulated host on the loopback, next
// to raw UDP ping-pongs on the same loopback in the same run:
//   raw/sim   a plain socket sends the same request to the same simulator
//             and blocks in recv for its acknowledgement;
//   raw/echo  a plain socket and a bare echo thread, for scale.
// The ratio link/raw-sim is what the host link adds (its receive thread
// and the acknowledgement event). Run inside scripts/netns-run.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

#include "bench_support.h"
#include "link/console_core.h"
#include "link/requests.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr uint32_t kLoopback = 0x7F000001;
constexpr int kRounds = 3000;
constexpr int kWarmup = 200;

struct Stats {
    double median_us;
    double p99_us;
};

Stats Summarise(std::vector<double> us) {
    std::sort(us.begin(), us.end());
    return {us[us.size() / 2], us[us.size() * 99 / 100]};
}

template <class F>
Stats Measure(F&& once) {
    for (int i = 0; i < kWarmup; ++i)
        once();
    std::vector<double> us;
    us.reserve(kRounds);
    for (int i = 0; i < kRounds; ++i) {
        auto start = Clock::now();
        if (!once()) std::fprintf(stderr, "a round trip failed\n");
        us.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
    }
    return Summarise(std::move(us));
}

}  // namespace

int main() {
    using namespace qavo;
    auto simulator = bench::StartSimulator();
    if (!simulator) return 1;
    sim::SimHost& host = *simulator;

    Job clock;
    clock.job_op = SET_CLOCK;
    clock.clock_to_set = 1'700'000'000;
    Datagram request{};
    const size_t length = BuildSingleRequest(clock, request);

    // The host link, as the console uses it.
    PosixSocketFactory factory;
    bench::SilentPrompter prompter;
    NullUiBus bus;
    // Requests go from this thread while the core's worker idles.
    ConsoleCore core(ConsoleCoreDeps{factory, prompter, bus, Timings{}, [](int) { std::exit(1); },
                                     HostLink::Options{.group_port = 0}});
    core.Start(bench::LoopbackSettings(host.port()));
    HostLink& link = core.link();
    Datagram d{};
    Stats via_link = Measure([&] {
        std::copy_n(request.begin(), length, d.begin());
        return link.SendWithAck(SET_CLOCK, d, length) == 0;
    });

    // A plain socket to the same simulator.
    auto raw = PosixUdpSocket::Create();
    raw->Bind({kLoopback, 0});
    Datagram answer{};
    Stats raw_sim = Measure([&] {
        raw->SendTo({kLoopback, host.port()}, std::span<const uint8_t>(request).first(length));
        return raw->ReceiveFrom(answer, 1000).kind == ReceiveResult::kDatagram;
    });

    // A bare echo on the same loopback.
    auto echo = PosixUdpSocket::Create();
    echo->Bind({kLoopback, 0});
    std::thread echo_thread([&] {
        Datagram b{};
        for (;;) {
            auto r = echo->ReceiveFrom(b);
            if (r.kind == ReceiveResult::kInterrupted) return;
            if (r.kind == ReceiveResult::kDatagram) {
                const uint8_t ack[3] = {b[0], 0, 0};
                echo->SendTo(r.from, ack);
            }
        }
    });
    Stats raw_echo = Measure([&] {
        raw->SendTo(echo->LocalEndpoint(), std::span<const uint8_t>(request).first(length));
        return raw->ReceiveFrom(answer, 1000).kind == ReceiveResult::kDatagram;
    });
    echo->Interrupt();
    echo_thread.join();
    host.Stop();

    std::printf("send_with_ack: %d round trips each, SET_CLOCK answered by an acknowledgement\n",
                kRounds);
    std::printf("send_with_ack: link     -> simulator  median %7.1f us  p99 %7.1f us\n",
                via_link.median_us, via_link.p99_us);
    std::printf("send_with_ack: raw      -> simulator  median %7.1f us  p99 %7.1f us\n",
                raw_sim.median_us, raw_sim.p99_us);
    std::printf("send_with_ack: raw      -> echo       median %7.1f us  p99 %7.1f us\n",
                raw_echo.median_us, raw_echo.p99_us);
    const double ratio = via_link.median_us / raw_sim.median_us;
    std::printf("send_with_ack: median ratio link/raw (same simulator) %.2f (target <= 1.3: %s)\n",
                ratio, ratio <= 1.3 ? "met" : "NOT met");
    return 0;
}
