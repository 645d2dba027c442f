#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/udp_socket.h"
#include "sim_host.h"

namespace qavo::sim::testing {

using Bytes = std::vector<uint8_t>;

// A datagram that came in, with its sender.
struct Received {
    Bytes data;
    Endpoint from;
};

// The console's side in the tests: a socket on 127.0.0.1 that talks to the
// simulator with datagrams built by hand.
class TestClient {
  public:
    explicit TestClient(uint16_t sim_port, uint32_t sim_address = 0x7F000001);

    void Send(const Bytes& data);
    void SendTo(uint32_t address, const Bytes& data);
    // The next datagram, waiting at most `timeout_ms`.
    std::optional<Received> Receive(int timeout_ms = 5000);
    // The next datagram's bytes; fails the test when none comes.
    Bytes Next();
    // True when nothing arrives within `ms` (used where silence is the point).
    bool NothingWithin(int ms);
    // Sends a heartbeat and reads until its reply: everything before it.
    std::vector<Bytes> DrainWithHeartbeat();
    Endpoint local() const { return socket_->LocalEndpoint(); }

  private:
    std::unique_ptr<PosixUdpSocket> socket_;
    uint16_t sim_port_;
    uint32_t sim_address_;
};

// A simulator on 127.0.0.1 with a port of the system's choice, talking to
// one client; diagnostics are kept instead of printed.
class SimFixture : public ::testing::Test {
  protected:
    static SimOptions DefaultOptions();
    void StartSim(SimOptions options = DefaultOptions());
    void TearDown() override;
    std::vector<std::string> Diagnostics() const;
    bool DiagnosticContains(const std::string& text) const;

    std::unique_ptr<SimHost> sim_;
    std::unique_ptr<TestClient> client_;

  private:
    mutable std::mutex diagnostics_mutex_;
    std::vector<std::string> diagnostics_;
};

// A copy of block `id` as the simulator holds it now.
Bytes BlockOf(const SimHost& sim, unsigned id);

// Request builders, byte for byte as the console sends them.
Bytes ReadStatus(uint8_t hosts = 255);
Bytes Heartbeat();
Bytes BlockRead(uint8_t id);
Bytes BlockWriteChunk(uint8_t id, uint8_t number, uint16_t offset, const Bytes& data);
Bytes LogCommand(uint8_t parameter);
Bytes AudioControl(uint8_t action, uint8_t source, const Bytes& masks);

// The sections of a HOST_STATUS, cut by its mask and the given counts.
struct HostStatusSections {
    uint8_t selector = 0;
    uint8_t flags = 0;
    Bytes host_state, counts, zone_lines, audio_source, zones_on_air, paging_state, host_config;
};
std::optional<HostStatusSections> ParseHostStatus(const Bytes& m, unsigned host_count,
                                                  unsigned paging_count);

}  // namespace qavo::sim::testing
