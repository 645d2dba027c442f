#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <span>
#include <thread>

#include "link/frame.h"
#include "link/network_settings.h"
#include "platform/auto_reset_event.h"
#include "platform/prompter.h"
#include "platform/timings.h"
#include "platform/udp_socket.h"

namespace qavo {

class MessageDispatcher;

// The two sockets to the host, the acknowledgement rule and the receive
// loops. Only the command worker sends; the receive threads hand every
// datagram to the dispatcher.
class HostLink {
  public:
    struct Options {
        uint16_t group_port = kGroupPort;
        uint32_t group_address = kGroupAddress;
    };
    using ExitFunction = std::function<void(int)>;

    // `exit_process` ends the process after a socket failure; tests replace
    // it (when it returns, the failing open returns without a socket).
    HostLink(SocketFactory& sockets, Prompter& prompter, Timings timings, ExitFunction exit_process,
             Options options);
    HostLink(SocketFactory& sockets, Prompter& prompter, Timings timings, ExitFunction exit_process)
        : HostLink(sockets, prompter, timings, std::move(exit_process), Options{}) {}
    ~HostLink();
    HostLink(const HostLink&) = delete;
    HostLink& operator=(const HostLink&) = delete;

    // The settings the sockets are opened with; edited in place by the
    // network parameter dialog, used again by RecreateSockets.
    NetworkSettings& settings() { return settings_; }
    const NetworkSettings& settings() const { return settings_; }

    void OpenHostSocket(const NetworkSettings& settings);
    void OpenGroupSocket();
    // Closes the group socket, then the host socket, and opens both again
    // with the current settings. The receive loops carry on with the new ones.
    void RecreateSockets();

    // Sends `datagram` (at least kMaxDatagram bytes, bytes 3 onward filled)
    // to the host endpoint and waits for an acknowledgement, sending at most
    // twice. Returns 0 when acknowledged, -1 when the last wait timed out.
    // `param` goes into byte 2 for SET_RELAYS; `firmware_length` fills
    // FW_BEGIN. Command worker only.
    int SendWithAck(uint8_t op, std::span<uint8_t> datagram, size_t length, uint8_t param = 0,
                    uint64_t firmware_length = 0);
    // One send to the host endpoint, no wait. Command worker only.
    void SendPlain(std::span<const uint8_t> datagram);

    // Starts one receive thread per socket; they run until StopReceiving.
    // `dispatcher` must outlive them.
    void StartReceiving(MessageDispatcher& dispatcher);
    // Ends the receive threads and waits for them: once it returns, no
    // datagram reaches the dispatcher any more. Safe to call twice.
    void StopReceiving();

    // From now on SendWithAck sends nothing and returns -1 at once, and a
    // wait for an acknowledgement in progress ends within a few
    // milliseconds: the worker gets out of a long job when the console closes.
    void StopSending();
    bool sending_stopped() const { return sending_stopped_.load(); }

    // Waits at most `limit` for an acknowledgement (it is taken). False when
    // the time ran out or sending was stopped. Command worker only.
    bool WaitForAck(std::chrono::milliseconds limit);

    Endpoint host_endpoint() const;
    // A firmware job points the link at each device in turn; the port stays.
    // Until the endpoint is set again, datagrams arriving from elsewhere (a
    // status push of the host) do not turn it away from the device.
    void SetHostEndpointAddress(uint32_t address);
    // Points the link at `endpoint`, which again follows the last sender on
    // the host socket (after a firmware job: back to the host).
    void SetHostEndpoint(const Endpoint& endpoint);

    AutoResetEvent& ack_event() { return ack_event_; }
    // Tries left to the request in progress (0 when none is in progress).
    int tries_left() const { return tries_left_.load(); }

    // The local port of the host socket (the system's choice when bound to 0).
    uint16_t host_socket_port() const;

  private:
    enum class Which { kHost, kGroup };
    std::unique_ptr<UdpSocket> CreateSocket();
    void FailBind(std::unique_ptr<UdpSocket>& socket);
    void ReceiveLoop(Which which, MessageDispatcher& dispatcher);
    std::shared_ptr<UdpSocket> Current(Which which) const;
    // Puts `socket` in the slot; returns the old one, interrupted.
    std::shared_ptr<UdpSocket> Replace(Which which, std::shared_ptr<UdpSocket> socket);

    SocketFactory& factory_;
    Prompter& prompter_;
    Timings timings_;
    ExitFunction exit_process_;
    Options options_;
    NetworkSettings settings_;

    mutable std::mutex sockets_mutex_;
    std::shared_ptr<UdpSocket> host_socket_;
    std::shared_ptr<UdpSocket> group_socket_;

    mutable std::mutex endpoint_mutex_;
    Endpoint host_endpoint_;
    bool endpoint_pinned_ = false;

    AutoResetEvent ack_event_;
    std::atomic<int> tries_left_{0};

    std::atomic<bool> sending_stopped_{false};
    std::atomic<bool> stopping_{false};
    std::thread host_receiver_;
    std::thread group_receiver_;
};

}  // namespace qavo
