// The simulator's life: sockets, threads, and the copies it hands out.
#include "sim_host.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "sim_trace.h"

namespace qavo::sim {

namespace {

std::vector<SimDevice> DevicesOf(const SimOptions& options) {
    if (!options.devices.empty()) return options.devices;
    return {SimDevice{options.bind_address, 1, 0}};
}

}  // namespace

SimHost::SimHost(SimOptions options)
    : options_(std::move(options)),
      state_(options_),
      sender_(options_.seed, options_.verbose
                                 ? std::function<void(const std::string&)>(
                                       [this](const std::string& line) { Diagnose(line); })
                                 : nullptr) {
    for (const SimDevice& device : DevicesOf(options_)) {
        devices_.push_back(Device{device, nullptr, FirmwareReceiver(device.address), {}, {}});
    }
}

SimHost::~SimHost() {
    Stop();
}

bool SimHost::Start(std::string* error) {
    auto fail = [&](std::string text) {
        if (error) *error = std::move(text);
        Stop();
        return false;
    };
    if (running_) return true;
    if (auto problem = ValidateSimOptions(options_)) return fail(*problem);
    for (size_t i = 0; i < devices_.size(); ++i) {
        for (size_t j = 0; j < i; ++j) {
            if (devices_[i].info.address == devices_[j].info.address) {
                return fail("two devices at " + FormatAddress(devices_[i].info.address));
            }
        }
    }
    auto open = [&](uint32_t address, uint16_t port, bool is_host) -> Socket* {
        auto socket = PosixUdpSocket::Create();
        if (!socket) return nullptr;
        if (!socket->Bind(Endpoint{address, port})) return nullptr;
        sockets_.push_back(std::make_unique<Socket>());
        sockets_.back()->socket = std::move(socket);
        sockets_.back()->is_host = is_host;
        return sockets_.back().get();
    };
    Socket* host = open(options_.bind_address, options_.port, true);
    if (host == nullptr) {
        return fail("cannot listen on " +
                    FormatEndpoint(Endpoint{options_.bind_address, options_.port}) + ": " +
                    std::strerror(errno));
    }
    port_ = host->socket->LocalEndpoint().port;
    // Devices at other loopback addresses listen on the same port.
    std::vector<UdpSocket*> device_sockets;
    for (const Device& device : devices_) {
        if (device.info.address == options_.bind_address) {
            device_sockets.push_back(host->socket.get());
            continue;
        }
        Socket* own = open(device.info.address, port_, false);
        if (own == nullptr) {
            return fail("cannot listen for device " +
                        FormatEndpoint(Endpoint{device.info.address, port_}) + ": " +
                        std::strerror(errno));
        }
        device_sockets.push_back(own->socket.get());
    }
    {
        std::lock_guard lock(state_mutex_);
        host_socket_ = host->socket.get();
        for (size_t i = 0; i < devices_.size(); ++i)
            devices_[i].socket = device_sockets[i];
    }
    sender_.Start();
    for (auto& socket : sockets_) {
        Socket* s = socket.get();
        s->reader = std::thread([this, s] { ReceiveLoop(*s); });
    }
    running_ = true;
    return true;
}

void SimHost::Stop() {
    for (auto& socket : sockets_)
        socket->socket->Interrupt();
    for (auto& socket : sockets_) {
        if (socket->reader.joinable()) socket->reader.join();
    }
    sender_.Stop();
    {
        std::lock_guard lock(state_mutex_);
        for (Device& device : devices_)
            device.socket = nullptr;
        host_socket_ = nullptr;
    }
    sockets_.clear();
    running_ = false;
}

void SimHost::ReceiveLoop(Socket& socket) {
    Datagram buffer{};
    for (;;) {
        ReceiveResult r = socket.socket->ReceiveFrom(buffer, -1);
        if (r.kind == ReceiveResult::kInterrupted) return;
        if (r.kind != ReceiveResult::kDatagram) continue;
        HandleDatagram(socket.socket.get(), socket.is_host, r.from,
                       std::span<const uint8_t>(buffer.data(), r.length));
    }
}

void SimHost::Reply(const Endpoint& to, std::vector<uint8_t> data) {
    sender_.Send(host_socket_, to, std::move(data));
}

void SimHost::PushStatus() {
    if (!last_requester_ || host_socket_ == nullptr) return;
    Reply(*last_requester_, state_.InputStatus());
    Reply(*last_requester_, state_.HostStatus(0));
}

void SimHost::Diagnose(const std::string& line) const {
    std::lock_guard lock(diagnostics_mutex_);
    if (options_.diagnostics) {
        options_.diagnostics(line);
    } else {
        std::fprintf(stderr, "qavo-host-sim: %s\n", line.c_str());
    }
}

ParamImage SimHost::Blocks() const {
    std::lock_guard lock(state_mutex_);
    return state_.image();
}

LiveStatus SimHost::Live() const {
    std::lock_guard lock(state_mutex_);
    return state_.live();
}

std::vector<LogRecord> SimHost::EventRecords() const {
    std::lock_guard lock(state_mutex_);
    return state_.log().Records();
}

std::vector<uint8_t> SimHost::LogArea() const {
    std::lock_guard lock(state_mutex_);
    return state_.log().Area();
}

std::optional<FirmwareReport> SimHost::LastFirmwareReport() const {
    std::lock_guard lock(state_mutex_);
    return last_firmware_;
}

std::optional<FirmwareReport> SimHost::FirmwareReportOf(uint32_t address) const {
    std::lock_guard lock(state_mutex_);
    for (const Device& device : devices_) {
        if (device.info.address == address) return device.last_report;
    }
    return std::nullopt;
}

std::optional<ClockTime> SimHost::ClockSetTo() const {
    std::lock_guard lock(state_mutex_);
    return state_.clock().LastSet();
}

std::optional<Endpoint> SimHost::LastRequester() const {
    std::lock_guard lock(state_mutex_);
    return last_requester_;
}

std::optional<NetParamsRequest> SimHost::LastNetParams() const {
    std::lock_guard lock(state_mutex_);
    return last_net_params_;
}

}  // namespace qavo::sim
