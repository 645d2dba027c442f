#pragma once

// The whole command path over fake sockets: the console core with its
// worker and receive loops; a job goes through the worker and the link, and
// what reached the "network" is read back.
#include <thread>

#include "link/console_core.h"
#include "support/fake_prompter.h"
#include "support/fake_udp_socket.h"
#include "support/fake_ui_bus.h"

namespace qavo::testing {

struct WorkerHarness {
    explicit WorkerHarness(Timings t = Timings::Scaled(0.01)) : timings(t) {
        core.Start(NetworkSettings{});
    }

    std::vector<FakeNetwork::Sent> Sent() {
        std::lock_guard lock(factory.network->mutex);
        return factory.network->sent;
    }
    void AutoAck(int acks = -1) {
        std::lock_guard lock(factory.network->mutex);
        factory.network->auto_ack = true;
        factory.network->acks_left = acks;
    }
    void Silence() {
        std::lock_guard lock(factory.network->mutex);
        factory.network->auto_ack = false;
    }
    // For running a job on the test thread while the core's worker idles.
    WorkerContext Context() { return core.Context(); }
    // Waits until `count` datagrams went out; false after five seconds.
    bool WaitSent(size_t count) {
        for (int i = 0; i < 5000; ++i) {
            if (Sent().size() >= count) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return false;
    }

    Timings timings;
    // Declared before the core: they outlive its threads.
    FakeSocketFactory factory;
    FakePrompter prompter;
    FakeUiBus bus;
    ConsoleCore core{ConsoleCoreDeps{factory, prompter, bus, timings, [](int) {}}};
    SystemModel& model = core.model();
    ProgressState& progress = core.progress();
    DeviceList& devices = core.devices();
    CommandJob& jobs = core.jobs();
    HostLink& link = core.link();
};

}  // namespace qavo::testing
