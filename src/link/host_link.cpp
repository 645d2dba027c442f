#include "link/host_link.h"

#include <algorithm>

#include "link/address_parse.h"
#include "link/message_dispatcher.h"

namespace qavo {

namespace {

constexpr const char* kSocketFailure = "Create socket failure";
constexpr const char* kSocketErrorCaption = "Socket error message";

}  // namespace

HostLink::HostLink(SocketFactory& sockets, Prompter& prompter, Timings timings,
                   ExitFunction exit_process, Options options)
    : factory_(sockets),
      prompter_(prompter),
      timings_(timings),
      exit_process_(std::move(exit_process)),
      options_(options) {}

HostLink::~HostLink() {
    StopReceiving();
}

void HostLink::StopReceiving() {
    stopping_ = true;
    {
        std::lock_guard lock(sockets_mutex_);
        if (host_socket_) host_socket_->Interrupt();
        if (group_socket_) group_socket_->Interrupt();
    }
    if (host_receiver_.joinable()) host_receiver_.join();
    if (group_receiver_.joinable()) group_receiver_.join();
}

void HostLink::StopSending() {
    sending_stopped_ = true;
    ack_event_.Signal();
}

bool HostLink::WaitForAck(std::chrono::milliseconds limit) {
    // In slices, so that StopSending ends the wait even when its signal
    // was taken or cleared before this wait began.
    constexpr std::chrono::milliseconds kSlice{20};
    const auto deadline = std::chrono::steady_clock::now() + limit;
    for (;;) {
        if (sending_stopped_) return false;
        const auto now = std::chrono::steady_clock::now();
        if (now >= deadline) return false;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now);
        if (ack_event_.WaitFor(std::min(left + std::chrono::milliseconds(1), kSlice))) {
            return !sending_stopped_;
        }
    }
}

std::unique_ptr<UdpSocket> HostLink::CreateSocket() {
    for (;;) {
        if (auto socket = factory_.Create()) return socket;
        BoxAnswer answer = prompter_.Ask(
            {kSocketFailure, kSocketErrorCaption, BoxButtons::kAbortRetryIgnore, BoxIcon::kError});
        if (answer != BoxAnswer::kRetry) {
            exit_process_(-1);
            return nullptr;
        }
    }
}

void HostLink::FailBind(std::unique_ptr<UdpSocket>& socket) {
    prompter_.Ask({kSocketFailure, kAppTitle, BoxButtons::kOk, BoxIcon::kError});
    socket.reset();
    exit_process_(-1);
}

void HostLink::OpenHostSocket(const NetworkSettings& settings) {
    settings_ = settings;
    {
        std::lock_guard lock(endpoint_mutex_);
        host_endpoint_ = Endpoint{settings.qavo_host_ip,
                                  static_cast<uint16_t>(ParsePort(settings.qavo_host_udp_port))};
    }
    const Endpoint local{0, static_cast<uint16_t>(ParsePort(settings.pc_udp_port))};
    auto socket = CreateSocket();
    if (!socket) return;
    if (!socket->Bind(local)) {
        FailBind(socket);
        return;
    }
    Replace(Which::kHost, std::move(socket));
}

void HostLink::OpenGroupSocket() {
    auto socket = CreateSocket();
    if (!socket) return;
    if (!socket->Bind(Endpoint{0, options_.group_port}) ||
        !socket->JoinGroup(options_.group_address, 0) || !socket->SetMulticastLoopback(false) ||
        !socket->SetMulticastTtl(kMulticastTtl)) {
        FailBind(socket);
        return;
    }
    Replace(Which::kGroup, std::move(socket));
}

void HostLink::RecreateSockets() {
    // The old sockets must be closed before the new ones bind the same
    // ports. A receive loop holds its socket only while it waits in a
    // receive, which the interrupt ends at once: wait (briefly) until both
    // have let go, then close them here.
    std::shared_ptr<UdpSocket> old_group = Replace(Which::kGroup, nullptr);
    std::shared_ptr<UdpSocket> old_host = Replace(Which::kHost, nullptr);
    for (auto* old : {&old_group, &old_host}) {
        for (int i = 0; i < 1000 && *old && old->use_count() > 1; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        old->reset();
    }
    OpenHostSocket(settings_);
    OpenGroupSocket();
}

std::shared_ptr<UdpSocket> HostLink::Current(Which which) const {
    std::lock_guard lock(sockets_mutex_);
    return which == Which::kHost ? host_socket_ : group_socket_;
}

std::shared_ptr<UdpSocket> HostLink::Replace(Which which, std::shared_ptr<UdpSocket> socket) {
    std::shared_ptr<UdpSocket> old;
    {
        std::lock_guard lock(sockets_mutex_);
        auto& slot = which == Which::kHost ? host_socket_ : group_socket_;
        old = std::move(slot);
        slot = std::move(socket);
    }
    // The reader's pending receive ends; the socket closes when the last
    // holder lets go of it, so its descriptor is never reused under the reader.
    if (old) old->Interrupt();
    return old;
}

int HostLink::SendWithAck(uint8_t op, std::span<uint8_t> d, size_t length, uint8_t param,
                          uint64_t firmware_length) {
    auto wait = timings_.ack_wait;
    d[0] = op;
    d[1] = 0;
    d[2] = 0;
    switch (op) {
        case READ_STATUS:
            d[2] = 0;
            break;
        case SET_RELAYS:
            d[2] = param;
            break;
        case FW_BEGIN:
            for (int i = 1; i <= 5; ++i)
                d[i] = 4;
            for (int i = 0; i < 8; ++i)
                d[6 + i] = static_cast<uint8_t>(firmware_length >> (8 * i));
            length = 14;
            break;
        case DISCOVER:
            length = 3;
            break;
        case FW_CHUNK:
            length = kFirmwareChunkDatagram;
            wait = timings_.fw_chunk_ack_wait;
            break;
        case FW_END:
            length = 3;
            break;
        default:
            break;
    }
    length = std::min(length, d.size());
    if (sending_stopped_) return -1;
    ack_event_.Clear();
    int tries = kTriesPerRequest;
    bool acknowledged = false;
    do {
        tries_left_ = tries;
        SendPlain(d.first(length));
        acknowledged = WaitForAck(wait);
        --tries;
    } while (tries > 0 && !acknowledged && !sending_stopped_);
    tries_left_ = 0;
    return acknowledged ? 0 : -1;
}

void HostLink::SendPlain(std::span<const uint8_t> datagram) {
    auto socket = Current(Which::kHost);
    if (!socket) return;  // shows as a time-out
    socket->SendTo(host_endpoint(), datagram);
}

void HostLink::StartReceiving(MessageDispatcher& dispatcher) {
    if (host_receiver_.joinable() || stopping_) return;
    host_receiver_ = std::thread([this, &dispatcher] { ReceiveLoop(Which::kHost, dispatcher); });
    group_receiver_ = std::thread([this, &dispatcher] { ReceiveLoop(Which::kGroup, dispatcher); });
}

void HostLink::ReceiveLoop(Which which, MessageDispatcher& dispatcher) {
    Datagram buffer{};
    while (!stopping_) {
        ReceiveResult got;
        {
            // Held only for the receive, never while the datagram is handled
            // (a handler may wait for the GUI thread, which may be the one
            // re-creating the sockets).
            auto socket = Current(which);
            if (!socket) {
                // Between the close and the reopening of RecreateSockets.
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
                continue;
            }
            got = socket->ReceiveFrom(buffer);
        }
        if (got.kind != ReceiveResult::kDatagram || got.length == 0) continue;
        if (which == Which::kHost) {
            std::lock_guard lock(endpoint_mutex_);
            if (!endpoint_pinned_) host_endpoint_ = got.from;
        }
        dispatcher.Dispatch(std::span<const uint8_t>(buffer.data(), got.length));
    }
}

Endpoint HostLink::host_endpoint() const {
    std::lock_guard lock(endpoint_mutex_);
    return host_endpoint_;
}

void HostLink::SetHostEndpointAddress(uint32_t address) {
    std::lock_guard lock(endpoint_mutex_);
    host_endpoint_.address = address;
    endpoint_pinned_ = true;
}

void HostLink::SetHostEndpoint(const Endpoint& endpoint) {
    std::lock_guard lock(endpoint_mutex_);
    host_endpoint_ = endpoint;
    endpoint_pinned_ = false;
}

uint16_t HostLink::host_socket_port() const {
    auto socket = Current(Which::kHost);
    return socket ? socket->LocalEndpoint().port : 0;
}

}  // namespace qavo
