#include "sim_test_client.h"

#include "link/frame.h"

namespace qavo::sim::testing {

TestClient::TestClient(uint16_t sim_port, uint32_t sim_address)
    : socket_(PosixUdpSocket::Create()), sim_port_(sim_port), sim_address_(sim_address) {
    if (!socket_ || !socket_->Bind(Endpoint{0x7F000001, 0})) {
        ADD_FAILURE() << "cannot open the test client's socket";
    }
}

void TestClient::Send(const Bytes& data) {
    SendTo(sim_address_, data);
}

void TestClient::SendTo(uint32_t address, const Bytes& data) {
    ASSERT_TRUE(socket_->SendTo(Endpoint{address, sim_port_}, data));
}

std::optional<Received> TestClient::Receive(int timeout_ms) {
    Datagram buffer{};
    ReceiveResult r = socket_->ReceiveFrom(buffer, timeout_ms);
    if (r.kind != ReceiveResult::kDatagram) return std::nullopt;
    return Received{Bytes(buffer.begin(), buffer.begin() + r.length), r.from};
}

Bytes TestClient::Next() {
    auto r = Receive();
    if (!r) {
        ADD_FAILURE() << "no datagram from the simulator";
        return {};
    }
    return r->data;
}

bool TestClient::NothingWithin(int ms) {
    return !Receive(ms).has_value();
}

std::vector<Bytes> TestClient::DrainWithHeartbeat() {
    Send(Heartbeat());
    std::vector<Bytes> before;
    for (;;) {
        auto r = Receive();
        if (!r) {
            ADD_FAILURE() << "no heartbeat reply";
            return before;
        }
        if (r->data.size() >= 2 && r->data[0] == HEARTBEAT_REPLY && r->data[1] != 0) return before;
        before.push_back(r->data);
    }
}

SimOptions SimFixture::DefaultOptions() {
    SimOptions options;
    options.port = 0;
    options.ready_delay_ms = 20;
    return options;
}

void SimFixture::StartSim(SimOptions options) {
    options.port = 0;
    options.diagnostics = [this](const std::string& line) {
        std::lock_guard lock(diagnostics_mutex_);
        diagnostics_.push_back(line);
    };
    sim_ = std::make_unique<SimHost>(options);
    std::string error;
    ASSERT_TRUE(sim_->Start(&error)) << error;
    ASSERT_NE(sim_->port(), 0);
    client_ = std::make_unique<TestClient>(sim_->port());
}

void SimFixture::TearDown() {
    if (sim_) sim_->Stop();
}

std::vector<std::string> SimFixture::Diagnostics() const {
    std::lock_guard lock(diagnostics_mutex_);
    return diagnostics_;
}

bool SimFixture::DiagnosticContains(const std::string& text) const {
    for (const std::string& line : Diagnostics()) {
        if (line.find(text) != std::string::npos) return true;
    }
    return false;
}

Bytes BlockOf(const SimHost& sim, unsigned id) {
    const ParamImage image = sim.Blocks();
    auto block = image.Block(id);
    return Bytes(block.begin(), block.end());
}

Bytes ReadStatus(uint8_t hosts) {
    return {READ_STATUS, 0, 0, 0, hosts};
}
Bytes Heartbeat() {
    return {HEARTBEAT, 0, 0, HEARTBEAT, 0};
}
Bytes BlockRead(uint8_t id) {
    return {BLOCK_READ, 0, 0, 2, id};
}
Bytes LogCommand(uint8_t parameter) {
    return {LOG_COMMAND, 0, 0, parameter};
}

Bytes BlockWriteChunk(uint8_t id, uint8_t number, uint16_t offset, const Bytes& data) {
    Bytes m(kChunkHeader, 0);
    m[0] = BLOCK_WRITE;
    m[4] = id;
    m[5] = number;
    WriteLe16(&m[6], static_cast<uint16_t>(data.size()));
    WriteLe16(&m[8], offset);
    m.insert(m.end(), data.begin(), data.end());
    return m;
}

Bytes AudioControl(uint8_t action, uint8_t source, const Bytes& masks) {
    Bytes m = {AUDIO_CONTROL, 0, 0, action, source};
    m.insert(m.end(), masks.begin(), masks.end());
    return m;
}

std::optional<HostStatusSections> ParseHostStatus(const Bytes& m, unsigned hosts,
                                                  unsigned consoles) {
    if (m.size() < 5 || m[0] != HOST_STATUS || m[1] == 0) return std::nullopt;
    HostStatusSections s;
    s.selector = m[2];
    s.flags = m[3];
    const bool one = s.selector != 0;
    size_t at = 5;
    auto take = [&](uint8_t bit, size_t length, Bytes& into) {
        if (!(m[4] & bit)) return true;
        if (at + length > m.size()) return false;
        into.assign(m.begin() + at, m.begin() + at + length);
        at += length;
        return true;
    };
    bool ok = take(kSectionHostState, one ? 1 : hosts, s.host_state) &&
              take(kSectionCounts, 4, s.counts) &&
              take(kSectionSpeakerLines, one ? 3 : 4 * hosts, s.zone_lines) &&
              take(kSectionAudioSources, one ? 1 : hosts, s.audio_source) &&
              take(kSectionZonesOnAir, one ? 1 : hosts, s.zones_on_air) &&
              take(kSectionPaging, one ? 1 : consoles, s.paging_state) &&
              take(kSectionEquipment, hosts, s.host_config);
    if (!ok || at != m.size()) return std::nullopt;
    return s;
}

}  // namespace qavo::sim::testing
