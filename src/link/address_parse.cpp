#include "link/address_parse.h"

#include <cctype>

namespace qavo {

uint32_t ParsePort(std::string_view text) {
    unsigned base = 10;
    if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    uint32_t value = 0;
    size_t digits = 0;
    for (char c : text) {
        unsigned d;
        if (c >= '0' && c <= '9') {
            d = static_cast<unsigned>(c - '0');
        } else if (base == 16 && std::isxdigit(static_cast<unsigned char>(c))) {
            d = static_cast<unsigned>(std::tolower(static_cast<unsigned char>(c)) - 'a' + 10);
        } else {
            break;
        }
        value = value * base + d;
        if (value > 0xFFFF) return 0;
        ++digits;
    }
    return digits == 0 ? 0 : value;
}

uint32_t ParseIPv4(std::string_view text, ByteOrder order) {
    uint32_t octets[4] = {0, 0, 0, 0};
    int index = 0;
    int digits = 0;
    uint32_t current = 0;
    auto close_octet = [&] {
        octets[index++] = current & 0xFF;
        current = 0;
        digits = 0;
    };
    for (char c : text) {
        if (index == 4) break;
        if (c >= '0' && c <= '9') {
            if (digits < 3) {
                current = current * 10 + static_cast<uint32_t>(c - '0');
                ++digits;
            }
        } else if (c == '.' || c == ' ') {
            close_octet();
        } else {
            // Any other character ends the address.
            break;
        }
    }
    if (index < 4 && digits > 0) close_octet();  // the end of the text closes the octet
    if (order == ByteOrder::kHost) {
        return (octets[0] << 24) | (octets[1] << 16) | (octets[2] << 8) | octets[3];
    }
    return octets[0] | (octets[1] << 8) | (octets[2] << 16) | (octets[3] << 24);
}

}  // namespace qavo
