#include "model/live_status.h"

#include <algorithm>

namespace qavo {

LineState LiveStatus::ZoneLine(unsigned host, unsigned zone, SpeakerLine line) const {
    if (host >= kMaxHosts || zone >= kZonesPerHost) return LineState::kNormal;
    uint8_t byte = zone_lines[host][zone / 2];
    uint8_t nibble = (zone % 2 == 0) ? (byte & 0x0F) : (byte >> 4);
    uint8_t bits = (line == SpeakerLine::kA) ? (nibble & 0x03) : ((nibble >> 2) & 0x03);
    return static_cast<LineState>(bits);
}

ContactState LiveStatus::Contact(unsigned host, unsigned input) const {
    if (host >= kMaxHosts || input >= 8) return ContactState::kNormal;
    return static_cast<ContactState>((contact_inputs[host] >> (2 * input)) & 0x03);
}

size_t LiveStatus::HostLogRecordCount() const {
    size_t count = host_log[0] | (size_t{host_log[1]} << 8);
    return std::min(count, kHostLogMaxRecords);
}

}  // namespace qavo
