#pragma once

// What the benchmarks against the simulated host share.
#include <algorithm>
#include <cstdio>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "bench_stats.h"
#include "link/network_settings.h"
#include "link/requests.h"
#include "model/param_image.h"
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

// The BLOCK_WRITE datagrams of blocks `ids` of `image`, in the order the
// worker sends them: what a plain socket sends to compare with.
inline std::vector<std::vector<uint8_t>> BlockWriteChunks(const ParamImage& image,
                                                          std::initializer_list<unsigned> ids) {
    std::vector<std::vector<uint8_t>> chunks;
    for (unsigned id : ids) {
        auto block = image.Block(id);
        Datagram d{};
        for (size_t offset = 0, i = 1; offset < block.size(); offset += kChunkSize, ++i) {
            const size_t n = std::min(kChunkSize, block.size() - offset);
            const bool last = offset + n == block.size();
            const size_t length =
                BuildBlockWrite(static_cast<uint8_t>(id), static_cast<uint8_t>(last ? 0 : i),
                                static_cast<uint16_t>(offset), block.subspan(offset, n), d);
            chunks.emplace_back(d.begin(), d.begin() + length);
        }
    }
    return chunks;
}

}  // namespace qavo::bench
