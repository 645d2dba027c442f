#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "platform/udp_socket.h"

namespace qavo::sim {

// The name of a datagram: a request's op name when it comes from the
// console, otherwise an acknowledgement ("ack READ_STATUS") or a message
// name ("HOST_STATUS").
std::string DatagramName(std::span<const uint8_t> data, bool from_console);

// One trace line: direction ("<-" received, "->" sent), peer, name, length
// and the first bytes in hex, then `note` if not empty.
std::string TraceLine(const char* direction, const Endpoint& peer, std::span<const uint8_t> data,
                      bool from_console, const std::string& note = {});

}  // namespace qavo::sim
