// What the simulator answers to each request of the console.
#include <algorithm>
#include <cstdio>

#include "link/frame.h"
#include "sim_host.h"
#include "sim_trace.h"

namespace qavo::sim {

namespace {

// The shortest datagram each request may be; shorter ones are ignored.
size_t MinimumLength(uint8_t op) {
    switch (op) {
        case READ_STATUS:
            return 5;
        case SET_RELAYS:
            return 11;
        case FW_BEGIN:
            return 14;
        case FW_CHUNK:
            return 8;
        case BLOCK_WRITE:
            return 5;
        case LOG_COMMAND:
            return 4;
        case AUDIO_CONTROL:
            return 5;
        case CELL_COMMAND:
            return 5;
        case SET_CLOCK:
            return 10;
        case NET_PARAMS:
            return 4;
        case IMPEDANCE:
            return 5;
        default:
            return 3;
    }
}

bool IsFirmwareOp(uint8_t op) {
    return op == FW_BEGIN || op == FW_CHUNK || op == FW_END;
}

std::vector<uint8_t> DeviceInfo(const SimDevice& device) {
    uint32_t a = device.address;
    return {DEVICE_INFO,
            1,
            0,
            static_cast<uint8_t>(a >> 24),
            static_cast<uint8_t>(a >> 16),
            static_cast<uint8_t>(a >> 8),
            static_cast<uint8_t>(a),
            device.major,
            device.minor};
}

}  // namespace

void SimHost::HandleDatagram(UdpSocket* socket, bool host_socket, const Endpoint& from,
                             std::span<const uint8_t> d) {
    const bool silent = sender_.silent();
    if (options_.verbose) Diagnose(TraceLine("<-", from, d, true, silent ? "ignored: silent" : ""));
    if (silent) return;
    // A request carries 0 in byte 1; FW_BEGIN alone carries 4 there.
    if (d.size() < 3 || (d[1] != 0 && !(d[0] == FW_BEGIN && d[1] == 4))) {
        if (options_.verbose) Diagnose("ignored: not a request");
        return;
    }
    if (d.size() < MinimumLength(d[0])) {
        Diagnose("ignored " + DatagramName(d, true) + " of " + std::to_string(d.size()) +
                 " bytes from " + FormatEndpoint(from) + ": too short");
        return;
    }
    std::lock_guard lock(state_mutex_);
    if (host_socket_ == nullptr) return;  // stopping
    last_requester_ = from;
    auto device = std::find_if(devices_.begin(), devices_.end(),
                               [&](const Device& dev) { return dev.socket == socket; });
    if (IsFirmwareOp(d[0]) || (!host_socket && d[0] == DISCOVER)) {
        if (device == devices_.end()) {
            Diagnose("ignored " + DatagramName(d, true) + ": no device listens at " +
                     FormatAddress(options_.bind_address));
            return;
        }
        HandleFirmware(*device, from, d);
    } else if (host_socket) {
        HandleHostRequest(from, d);
    } else {
        Diagnose("device " + FormatAddress(device->info.address) + " ignored " +
                 DatagramName(d, true));
    }
}

void SimHost::HandleHostRequest(const Endpoint& from, std::span<const uint8_t> d) {
    switch (d[0]) {
        case READ_STATUS: {
            Acknowledge(from, READ_STATUS);
            const unsigned hosts = d[4];
            Reply(from, state_.InputStatus());
            Reply(from, state_.HostStatus(hosts >= 1 && hosts <= kMaxHosts ? hosts : 0));
            break;
        }
        case SET_RELAYS: {
            const unsigned number = d[2];
            bool changed = false;
            if (number >= 1 && number <= state_.HostCount()) {
                changed = state_.SetRelays(number - 1, d[10]);
            } else {
                Diagnose("SET_RELAYS for host " + std::to_string(number) + ", which is not fitted");
            }
            Reply(from, state_.RelayStatus(number));
            if (changed) PushStatus();
            break;
        }
        case DISCOVER:
            for (const Device& device : devices_)
                Reply(from, DeviceInfo(device.info));
            break;
        case BLOCK_READ:  // and BLOCK_WRITE: byte 3 tells them apart
            if (d[3] == 2) {
                SendBlock(from, d[4]);
            } else if (d[3] == 0) {
                WriteBlockChunk(from, d);
            } else {
                Diagnose("ignored a block request with byte 3 = " + std::to_string(d[3]));
            }
            break;
        case ACK_RESET:
            Acknowledge(from, ACK_RESET);
            state_.AckReset();
            PushStatus();
            break;
        case LOG_COMMAND:
            Acknowledge(from, LOG_COMMAND);
            if (d[3] == 0) {
                SendLog(from);
            } else if (d[3] == 1) {
                state_.ClearLog();
            } else {
                Diagnose("LOG_COMMAND with parameter " + std::to_string(d[3]) + " ignored");
            }
            break;
        case AUDIO_CONTROL:
            Acknowledge(from, AUDIO_CONTROL);
            Audio(from, d);
            break;
        case CELL_COMMAND:
            Acknowledge(from, CELL_COMMAND);
            if (state_.Cell(d[3], d[4])) {
                PushStatus();
            } else {
                Diagnose("CELL_COMMAND row " + std::to_string(d[3]) + " column " +
                         std::to_string(d[4]) + " names no installed zone");
            }
            break;
        case HEARTBEAT:
            Reply(from, {HEARTBEAT_REPLY, 1, 0, HEARTBEAT, 0});
            break;
        case SET_CLOCK:
            Acknowledge(from, SET_CLOCK);
            SetClock(d);
            break;
        case NET_PARAMS:
            NetParams(from, d);
            Acknowledge(from, NET_PARAMS);
            break;
        case IMPEDANCE:
            if (d[3] == 1) state_.SetImpedance(std::min<uint8_t>(d[4], 4));
            Reply(from, {IMPEDANCE_LEVEL, 1, 0, 0, state_.live().impedance_level});
            break;
        default:
            Diagnose("ignored unknown request op " + std::to_string(d[0]) + " from " +
                     FormatEndpoint(from));
            break;
    }
}

void SimHost::SendBlock(const Endpoint& to, unsigned id) {
    auto block = state_.image().Block(id);
    if (block.empty()) {
        Diagnose("BLOCK_READ of block " + std::to_string(id) + ", which does not exist");
        Acknowledge(to, BLOCK_READ);
        return;
    }
    const size_t chunks = (block.size() + kChunkSize - 1) / kChunkSize;
    for (size_t i = 0; i < chunks; ++i) {
        const size_t offset = i * kChunkSize;
        const size_t n = std::min(kChunkSize, block.size() - offset);
        const bool last = i + 1 == chunks;
        std::vector<uint8_t> m(kChunkHeader + n);
        m[0] = BLOCK_DATA;
        m[1] = 1;
        m[3] = 1;
        m[4] = static_cast<uint8_t>(id);
        m[5] = last ? 0 : static_cast<uint8_t>(i + 1);
        WriteLe16(&m[6], static_cast<uint16_t>(n));
        WriteLe16(&m[8], static_cast<uint16_t>(offset));
        std::copy_n(block.begin() + offset, n, m.begin() + kChunkHeader);
        Reply(to, std::move(m));
    }
}

void SimHost::SendLog(const Endpoint& to) {
    const std::vector<uint8_t> area = state_.log().Area();
    const size_t chunks = (area.size() + kChunkSize - 1) / kChunkSize;
    for (size_t i = 0; i < chunks; ++i) {
        const size_t offset = i * kChunkSize;
        const size_t n = std::min(kChunkSize, area.size() - offset);
        const bool last = i + 1 == chunks;
        std::vector<uint8_t> m(kChunkHeader + n);
        m[0] = LOG_DATA;
        m[1] = 1;
        m[3] = 2;
        WriteLe16(&m[4], last ? 0 : static_cast<uint16_t>(i + 1));
        WriteLe16(&m[6], static_cast<uint16_t>(n));
        // Offsets past 65535 wrap; the chunks come in rising order, so the
        // console can tell.
        WriteLe16(&m[8], static_cast<uint16_t>(offset & 0xFFFF));
        std::copy_n(area.begin() + offset, n, m.begin() + kChunkHeader);
        Reply(to, std::move(m));
    }
}

void SimHost::WriteBlockChunk(const Endpoint& to, std::span<const uint8_t> d) {
    const unsigned id = d[4];
    const size_t n = d.size() >= kChunkHeader ? ReadLe16(&d[6]) : 0;
    const uint32_t offset = d.size() >= kChunkHeader ? ReadLe16(&d[8]) : 0;
    std::string problem;
    if (d.size() < kChunkHeader || n > kChunkSize || d.size() < kChunkHeader + n) {
        problem = "the datagram of " + std::to_string(d.size()) + " bytes does not hold it";
    } else if (id == kReservedBlock) {
        problem = "block 3 is read-only";
    } else if (id >= kBlockCount) {
        problem = "there is no such block";
    } else if (!state_.WriteBlock(id, offset, d.subspan(kChunkHeader, n))) {
        problem = "it does not fit the block's " + std::to_string(kBlockSize[id]) + " bytes";
    }
    if (!problem.empty()) {
        // Not acknowledged: the console's write fails instead of going on.
        Diagnose("refused BLOCK_WRITE chunk of block " + std::to_string(id) + ", " +
                 std::to_string(n) + " bytes at offset " + std::to_string(offset) + ": " + problem);
        return;
    }
    Acknowledge(to, BLOCK_WRITE);
}

void SimHost::Audio(const Endpoint&, std::span<const uint8_t> d) {
    const uint8_t action = d[3];
    const uint8_t source = d[4];
    if (state_.Audio(action, source, d.subspan(5))) {
        PushStatus();
    } else {
        char text[80];
        std::snprintf(text, sizeof text, "AUDIO_CONTROL action %u with source 0x%02X ignored",
                      action, source);
        Diagnose(text);
    }
}

void SimHost::SetClock(std::span<const uint8_t> d) {
    ClockTime t{(d[3] << 8) | d[4], d[5], d[6], d[7], d[8], d[9]};
    if (!IsValidClockTime(t)) {
        char text[96];
        std::snprintf(text, sizeof text, "SET_CLOCK to an impossible moment %d-%d-%d %d:%d:%d",
                      t.year, t.month, t.day, t.hour, t.minute, t.second);
        Diagnose(text);
        return;
    }
    state_.clock().Set(t);
}

void SimHost::NetParams(const Endpoint& from, std::span<const uint8_t> d) {
    if (d[3] != 1 || d.size() < 18) {
        Diagnose("NET_PARAMS with parameter " + std::to_string(d[3]) + ": nothing to change");
        return;
    }
    auto address = [&](size_t at) {
        return uint32_t{d[at]} | (uint32_t{d[at + 1]} << 8) | (uint32_t{d[at + 2]} << 16) |
               (uint32_t{d[at + 3]} << 24);
    };
    const unsigned port = (d[16] << 8) | d[17];
    last_net_params_ =
        NetParamsRequest{address(4), address(8), address(12), static_cast<uint16_t>(port), from};
    Diagnose("NET_PARAMS asks for address " + FormatAddress(address(4)) + ", mask " +
             FormatAddress(address(8)) + ", gateway " + FormatAddress(address(12)) + ", port " +
             std::to_string(port) + " (the simulator keeps listening where it is)");
}

void SimHost::HandleFirmware(Device& device, const Endpoint& from, std::span<const uint8_t> d) {
    auto answer = [&](std::vector<uint8_t> data, std::chrono::milliseconds extra) {
        sender_.Send(device.socket, from, std::move(data), extra);
    };
    const std::chrono::milliseconds now{0};
    switch (d[0]) {
        case FW_BEGIN: {
            uint64_t length = 0;
            for (int i = 7; i >= 0; --i)
                length = (length << 8) | d[6 + i];
            device.firmware.Begin(length);
            answer({FW_BEGIN, 0, 0}, now);
            if (device.faults.never_ready) {
                Diagnose("device " + FormatAddress(device.info.address) +
                         " does not say it is ready (as told)");
                break;
            }
            // The second acknowledgement: the device is ready for the chunks.
            answer({FW_BEGIN, 0, 0}, std::chrono::milliseconds(options_.ready_delay_ms));
            break;
        }
        case FW_CHUNK: {
            FirmwareFaults& faults = device.faults;
            if (faults.lose_chunk >= 0 && ReadLe16(&d[3]) == unsigned(faults.lose_chunk) &&
                faults.lose_left != 0) {
                // As if it never arrived: neither taken nor acknowledged.
                Diagnose("device " + FormatAddress(device.info.address) + " lost chunk " +
                         std::to_string(faults.lose_chunk) + " (as told)");
                if (faults.lose_left > 0 && --faults.lose_left == 0) faults.lose_chunk = -1;
                break;
            }
            device.firmware.Chunk(d);
            answer({FW_CHUNK, 0, 0}, now);
            break;
        }
        case FW_END: {
            FirmwareReport report = device.firmware.End();
            answer({FW_END, 0, 0}, now);
            Diagnose(report.text);
            device.last_report = report;
            last_firmware_ = std::move(report);
            break;
        }
        case DISCOVER:
            answer(DeviceInfo(device.info), now);
            break;
        default:
            break;
    }
}

}  // namespace qavo::sim
