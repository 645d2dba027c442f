#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "link/frame.h"

namespace qavo {

// Where the console and the host listen. Addresses keep their first octet in
// the most significant byte.
struct NetworkSettings {
    std::string pc_udp_port = "16888";
    uint32_t qavo_host_ip = kDefaultHostAddress;  // 192.168.99.8
    uint32_t qavo_host_sub = 0xFFFFFF00;          // 255.255.255.0
    uint32_t qavo_host_gate = 0xC0A86301;         // 192.168.99.1
    std::string qavo_host_udp_port = "16888";
    uint8_t qavo_host_sel_ip = 0;  // index into LocalAdapters chosen by the operator
    friend bool operator==(const NetworkSettings&, const NetworkSettings&) = default;
};

// The PC's own IPv4 addresses (at most 8), as the resolver lists them for
// the PC's host name. Filled once at start.
struct LocalAdapters {
    std::vector<uint32_t> addresses;
};

}  // namespace qavo
