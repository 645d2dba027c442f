#include "sim_trace.h"

#include <cstdio>

#include "link/frame.h"

namespace qavo::sim {

namespace {

constexpr size_t kTracedBytes = 16;

const char* OpName(uint8_t op, uint8_t byte3) {
    switch (op) {
        case READ_STATUS:
            return "READ_STATUS";
        case SET_RELAYS:
            return "SET_RELAYS";
        case FW_BEGIN:
            return "FW_BEGIN";
        case DISCOVER:
            return "DISCOVER";
        case FW_CHUNK:
            return "FW_CHUNK";
        case FW_END:
            return "FW_END";
        case BLOCK_WRITE:
            return byte3 == 2 ? "BLOCK_READ" : "BLOCK_WRITE";
        case ACK_RESET:
            return "ACK_RESET";
        case LOG_COMMAND:
            return "LOG_COMMAND";
        case AUDIO_CONTROL:
            return "AUDIO_CONTROL";
        case CELL_COMMAND:
            return "CELL_COMMAND";
        case HEARTBEAT:
            return "HEARTBEAT";
        case SET_CLOCK:
            return "SET_CLOCK";
        case NET_PARAMS:
            return "NET_PARAMS";
        case IMPEDANCE:
            return "IMPEDANCE";
        default:
            return nullptr;
    }
}

const char* MessageName(uint8_t code) {
    switch (code) {
        case INPUT_STATUS:
            return "INPUT_STATUS";
        case HOST_STATUS:
            return "HOST_STATUS";
        case RELAY_STATUS:
            return "RELAY_STATUS";
        case DEVICE_INFO:
            return "DEVICE_INFO";
        case BLOCK_DATA:
            return "BLOCK_DATA";
        case LOG_DATA:
            return "LOG_DATA";
        case HEARTBEAT_REPLY:
            return "HEARTBEAT_REPLY";
        case IMPEDANCE_LEVEL:
            return "IMPEDANCE_LEVEL";
        default:
            return nullptr;
    }
}

}  // namespace

std::string DatagramName(std::span<const uint8_t> d, bool from_console) {
    if (d.empty()) return "empty datagram";
    const uint8_t byte1 = d.size() > 1 ? d[1] : 0;
    const uint8_t byte3 = d.size() > 3 ? d[3] : 0;
    const char* name = nullptr;
    std::string prefix;
    if (from_console) {
        name = OpName(d[0], byte3);
    } else if (byte1 == 0) {
        prefix = "ack ";
        name = OpName(d[0], byte3);
        if (d[0] == BLOCK_WRITE) name = "BLOCK_WRITE";
    } else {
        name = MessageName(d[0]);
    }
    if (name == nullptr) return prefix + "code " + std::to_string(d[0]);
    return prefix + name;
}

std::string TraceLine(const char* direction, const Endpoint& peer, std::span<const uint8_t> d,
                      bool from_console, const std::string& note) {
    std::string line = std::string(direction) + " " + FormatEndpoint(peer) + " " +
                       DatagramName(d, from_console) + ", " + std::to_string(d.size()) + " bytes:";
    char hex[4];
    for (size_t i = 0; i < d.size() && i < kTracedBytes; ++i) {
        std::snprintf(hex, sizeof hex, " %02X", d[i]);
        line += hex;
    }
    if (d.size() > kTracedBytes) line += " ...";
    if (!note.empty()) line += " (" + note + ")";
    return line;
}

}  // namespace qavo::sim
