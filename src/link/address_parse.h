#pragma once

#include <cstdint>
#include <string_view>

namespace qavo {

// Text to a port: text that begins with 0x is read as hexadecimal, any other
// text as decimal; text that cannot be read gives 0. Digits are read as far
// as they go ("16888abc" gives 16888); a value above 65535 gives 0.
uint32_t ParsePort(std::string_view text);

enum class ByteOrder {
    kHost,     // first octet in the most significant byte
    kNetwork,  // first octet in the least significant byte (first in memory)
};

// Dotted text to an IPv4 address. Up to three digits make an octet; a dot,
// a blank or the end of the text closes it; after the fourth octet the rest
// of the text is ignored (so "192.168.1.5 - Ver1.2" reads as 192.168.1.5);
// missing octets are 0. An octet written above 255 keeps its low eight bits.
uint32_t ParseIPv4(std::string_view text, ByteOrder order);

}  // namespace qavo
