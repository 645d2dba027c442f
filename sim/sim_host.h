#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "model/live_status.h"
#include "model/param_image.h"
#include "platform/udp_socket.h"
#include "sim_clock.h"
#include "sim_event_log.h"
#include "sim_firmware.h"
#include "sim_options.h"
#include "sim_sender.h"
#include "sim_state.h"

namespace qavo::sim {

// What a NET_PARAMS request with parameter 1 asked the host to take over.
struct NetParamsRequest {
    uint32_t address = 0;  // first octet most significant, as are mask and gateway
    uint32_t mask = 0;
    uint32_t gateway = 0;
    uint16_t port = 0;
    Endpoint from;  // where the request came from
    friend bool operator==(const NetParamsRequest&, const NetParamsRequest&) = default;
};

// A simulated QAVO host and the firmware devices next to it. It answers
// every request of the console to the address and port the request came
// from, keeps its own blocks, live state and event log, and pushes status to
// the last requester whenever its state changes.
class SimHost {
  public:
    explicit SimHost(SimOptions options);
    ~SimHost();
    SimHost(const SimHost&) = delete;
    SimHost& operator=(const SimHost&) = delete;

    // Binds the host socket (and one socket per device at another address)
    // and starts the receive and send threads. On failure returns false
    // with the reason in `error`, and nothing runs.
    bool Start(std::string* error = nullptr);
    // Stops every thread and closes the sockets. Safe to call twice.
    void Stop();

    // The port the host socket is bound to (the system's choice for port 0).
    uint16_t port() const { return port_; }

    // Applies one command line (see SimCommandHelp) and returns its reply;
    // a reply that starts with "error:" means nothing was changed.
    std::string Command(std::string_view line);
    // True once "quit" was given.
    bool QuitRequested() const { return quit_requested_; }

    // Consistent copies of what the simulator holds, for any thread.
    ParamImage Blocks() const;
    LiveStatus Live() const;
    std::vector<LogRecord> EventRecords() const;
    // The log as LOG_DATA carries it: count, two unused bytes, records.
    std::vector<uint8_t> LogArea() const;
    // The report of the firmware transfer that ended last, at any device.
    std::optional<FirmwareReport> LastFirmwareReport() const;
    // The report of the last transfer that ended at the device at `address`
    // (nullopt when no transfer has ended there, or there is no such device).
    std::optional<FirmwareReport> FirmwareReportOf(uint32_t address) const;
    // The moment SET_CLOCK (or nothing yet) set the clock to.
    std::optional<ClockTime> ClockSetTo() const;
    // Where pushes go: the source of the last request, if any came.
    std::optional<Endpoint> LastRequester() const;
    // The last NET_PARAMS with parameter 1 that came (the simulator does not
    // apply it), if any.
    std::optional<NetParamsRequest> LastNetParams() const;

  private:
    // Faults a device was told to show (command "firmware").
    struct FirmwareFaults {
        bool never_ready = false;  // FW_BEGIN is acknowledged, "ready" never follows
        int lose_chunk = -1;       // the chunk number lost on arrival; -1: none
        int lose_left = 0;         // arrivals of it still to lose; -1: every one
    };
    struct Device {
        SimDevice info;
        UdpSocket* socket = nullptr;  // the host socket or its own
        FirmwareReceiver firmware;
        FirmwareFaults faults;
        std::optional<FirmwareReport> last_report;
    };
    struct Socket {
        std::unique_ptr<PosixUdpSocket> socket;
        bool is_host = false;
        std::thread reader;
    };

    void ReceiveLoop(Socket& socket);
    // Handles one datagram that arrived on `socket`.
    void HandleDatagram(UdpSocket* socket, bool host_socket, const Endpoint& from,
                        std::span<const uint8_t> d);
    // The request handlers; each runs with state_mutex_ held.
    void HandleHostRequest(const Endpoint& from, std::span<const uint8_t> d);
    void HandleFirmware(Device& device, const Endpoint& from, std::span<const uint8_t> d);
    void SendBlock(const Endpoint& to, unsigned id);
    void SendLog(const Endpoint& to);
    void WriteBlockChunk(const Endpoint& to, std::span<const uint8_t> d);
    void Audio(const Endpoint& to, std::span<const uint8_t> d);
    void SetClock(std::span<const uint8_t> d);
    void NetParams(const Endpoint& from, std::span<const uint8_t> d);

    void Reply(const Endpoint& to, std::vector<uint8_t> data);
    void Acknowledge(const Endpoint& to, uint8_t op) { Reply(to, {op, 0, 0}); }
    // INPUT_STATUS and a full HOST_STATUS to the last requester, if any.
    void PushStatus();
    void Diagnose(const std::string& line) const;
    // Command handlers (sim_commands.cpp); state_mutex_ held.
    std::string ApplyCommand(const std::vector<std::string>& words);
    std::string FirmwareCommand(const std::vector<std::string>& words);
    std::string DescribeDevices() const;

    SimOptions options_;
    mutable std::mutex state_mutex_;
    SimState state_;
    std::vector<Device> devices_;
    std::optional<Endpoint> last_requester_;
    std::optional<FirmwareReport> last_firmware_;
    std::optional<NetParamsRequest> last_net_params_;

    mutable std::mutex diagnostics_mutex_;
    SimSender sender_;
    std::vector<std::unique_ptr<Socket>> sockets_;
    UdpSocket* host_socket_ = nullptr;
    std::atomic<uint16_t> port_{0};
    bool running_ = false;
    std::atomic<bool> quit_requested_{false};
};

}  // namespace qavo::sim
