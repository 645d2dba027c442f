#pragma once

// The whole command path over fake sockets: a job goes through the worker
// and the link, and what reached the "network" is read back.
#include <thread>

#include "link/command_worker.h"
#include "link/message_dispatcher.h"
#include "support/fake_prompter.h"
#include "support/fake_udp_socket.h"
#include "support/fake_ui_bus.h"

namespace qavo::testing {

struct WorkerHarness {
    explicit WorkerHarness(Timings t = Timings::Scaled(0.01)) : timings(t) {
        link.OpenHostSocket(NetworkSettings{});
        link.OpenGroupSocket();
        link.StartReceiving(dispatcher);
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
    WorkerContext Context() {
        return WorkerContext{link, jobs, model, progress, bus, prompter, timings};
    }

    Timings timings;
    FakeSocketFactory factory;
    FakePrompter prompter;
    FakeUiBus bus;
    SystemModel model;
    ProgressState progress;
    DeviceList devices;
    CommandJob jobs;
    HostLink link{factory, prompter, timings, [](int) {}};
    MessageDispatcher dispatcher{model, progress, devices, bus, link.ack_event()};
};

}  // namespace qavo::testing
