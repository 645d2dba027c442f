#pragma once

// What the benchmarks against the simulated host share.
#include <cstdio>
#include <memory>
#include <string>

#include "bench_stats.h"
#include "link/network_settings.h"
#include "platform/prompter.h"
#include "sim_host.h"

namespace qavo::bench {

// Answers every box with OK and prints it, so a benchmark never waits.

// A simulated host on a free port of 127.0.0.1, quiet on standard error;
// nullptr (with the reason printed) when it cannot start.
inline std::unique_ptr<sim::SimHost> StartSimulator(sim::SimOptions options = {}) {
    options.port = 0;
    options.diagnostics = [](const std::string&) {};
    auto host = std::make_unique<sim::SimHost>(options);
    std::string error;
    if (!host->Start(&error)) {
        std::fprintf(stderr, "simulator: %s\n", error.c_str());
        return nullptr;
    }
    return host;
}

// The console's settings for a host at 127.0.0.1:`host_port`; the console
// takes any free port.
inline NetworkSettings LoopbackSettings(uint16_t host_port) {
    NetworkSettings settings;
    settings.pc_udp_port = std::string("0");
    settings.qavo_host_ip = 0x7F000001;
    settings.qavo_host_udp_port = std::to_string(host_port);
    return settings;
}

}  // namespace qavo::bench
