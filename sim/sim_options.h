#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "link/frame.h"

namespace qavo::sim {

inline constexpr uint32_t kLoopbackAddress = 0x7F000001;  // 127.0.0.1

// A device that answers DISCOVER and takes firmware.
struct SimDevice {
    uint32_t address = kLoopbackAddress;  // first octet most significant
    uint8_t major = 1;
    uint8_t minor = 0;
    friend bool operator==(const SimDevice&, const SimDevice&) = default;
};

struct SimOptions {
    uint32_t bind_address = kLoopbackAddress;
    uint16_t port = kDefaultUdpPort;  // 0: the system picks one
    unsigned host_count = 4;          // 1 to 20
    unsigned paging_count = 4;        // 0 to 32
    unsigned group_count = 8;         // 0 to 120
    unsigned log_size = 200;          // records preloaded, 0 to 5000
    // Empty: one device at the bind address, version 1.0.
    std::vector<SimDevice> devices;
    int ready_delay_ms = 500;  // from FW_BEGIN to the "ready" acknowledgement
    bool verbose = false;      // trace every datagram
    uint32_t seed = 1;         // for the preloaded log and the drop decisions
    // Where diagnostics go, one line at a time (no newline); empty: stderr.
    std::function<void(const std::string&)> diagnostics;
};

// What the command line asked for.
struct SimCommandLine {
    SimOptions options;
    std::vector<std::string> commands;  // -c: applied once started, in order
    bool help = false;
};

// Parses the arguments after the program name. Returns the error text when
// an option is unknown, lacks its value or has a value out of range.
std::optional<std::string> ParseSimCommandLine(const std::vector<std::string>& args,
                                               SimCommandLine& out);

// Checks ranges and addresses; returns the first problem found.
std::optional<std::string> ValidateSimOptions(const SimOptions& options);

// "a.b.c.d" with four decimal octets of 0 to 255, nothing else.
std::optional<uint32_t> ParseDottedAddress(std::string_view text);
std::string FormatAddress(uint32_t address);
inline bool IsLoopback(uint32_t address) {
    return (address >> 24) == 127;
}

// The option and command summary printed by --help.
std::string SimUsage();
// The command summary answered by the "help" command.
std::string SimCommandHelp();

}  // namespace qavo::sim
