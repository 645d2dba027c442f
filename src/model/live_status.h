#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "model/param_image.h"

namespace qavo {

// Bits of LiveStatus::system_flags.
inline constexpr uint8_t kFlagFault = 0x01;
inline constexpr uint8_t kFlagEmergency = 0x02;
inline constexpr uint8_t kFlagFaultAcknowledged = 0x04;

// Bits of LiveStatus::host_state (set = good).
inline constexpr uint8_t kHostAcPower = 0x01;
inline constexpr uint8_t kHostDcPower = 0x02;
inline constexpr uint8_t kHostEmergencyMic = 0x04;
inline constexpr uint8_t kHostMainAmplifier = 0x08;
inline constexpr uint8_t kHostSpareAmplifier = 0x10;
inline constexpr uint8_t kHostSdCard = 0x20;
inline constexpr uint8_t kHostOnline = 0x40;
inline constexpr uint8_t kHostNoFault = 0x80;

// Bits of LiveStatus::host_config. The main host (index 0) keeps the
// supervision bit and its fitted equipment in the low bits; the expansion
// hosts keep their fitted equipment in bits 5 and 6.
inline constexpr uint8_t kConfigSupervisionValid = 0x01;  // host 0 only

// Whether host `host` (0 = the main host) has a DC supply fitted.
inline bool DcSupplyFitted(uint8_t host_config, unsigned host) {
    return (host_config & (host == 0 ? 0x02 : 0x20)) != 0;
}
// Whether host `host` (0 = the main host) has a spare amplifier fitted.
inline bool SpareAmplifierFitted(uint8_t host_config, unsigned host) {
    return (host_config & (host == 0 ? 0x08 : 0x40)) != 0;
}

// Bits of LiveStatus::paging_state.
inline constexpr uint8_t kPagingOnline = 0x01;
inline constexpr uint8_t kPagingFault = 0x02;
inline constexpr uint8_t kPagingNoFault = 0x08;

// Audio source codes.
inline constexpr uint8_t kSourceNone = 0x00;
inline constexpr uint8_t kSourceQavoMessage = 0x22;
inline constexpr uint8_t kSourceAlertMessage = 0x23;
inline constexpr uint8_t kSourceLineBase = 0x24;  // + n for line input n, 1 to 6

// State of one speaker line (line A or B of a zone).
enum class LineState : uint8_t { kNormal = 0, kShort = 1, kOpen = 2, kUnused = 3 };
enum class SpeakerLine : uint8_t { kA = 0, kB = 1 };
// State of one contact input.
enum class ContactState : uint8_t { kNormal = 0, kShort = 1, kOpen = 2, kTriggered = 3 };

inline constexpr size_t kHostLogSize = 70004;
inline constexpr size_t kHostLogRecordSize = 14;
inline constexpr size_t kHostLogMaxRecords = 5000;
inline constexpr size_t kHostLogHeaderSize = 4;

// The last state that the host reported, the host's event log as last read
// and the console's own view of whether the host answers.
struct LiveStatus {
    uint8_t system_flags = 0;
    std::array<uint8_t, kMaxHosts> audio_source{};
    std::array<uint8_t, kMaxHosts> host_config{};
    std::array<uint8_t, kMaxHosts> relay_outputs{};
    std::array<uint8_t, kMaxHosts> host_state{};
    std::array<uint16_t, kMaxHosts> contact_inputs{};
    std::array<std::array<uint8_t, 4>, kMaxHosts> zone_lines{};
    std::array<uint8_t, kMaxHosts> zones_on_air{};
    std::array<uint8_t, kMaxPagingConsoles> paging_state{};
    uint8_t qavo_message_count = 1;
    uint8_t alert_message_count = 1;
    uint8_t prompt_voice_count = 2;
    uint8_t message_count = 0;
    uint8_t impedance_level = 3;
    std::vector<uint8_t> host_log = std::vector<uint8_t>(kHostLogSize, 0);
    bool link_up = true;
    uint8_t missed_heartbeats = 0;
    uint8_t heartbeat_divider = 0;

    void ApplyDefaults() { *this = LiveStatus{}; }

    LineState ZoneLine(unsigned host, unsigned zone, SpeakerLine line) const;
    ContactState Contact(unsigned host, unsigned input) const;
    // Records in host_log as the count field says, bounded by what the area holds.
    size_t HostLogRecordCount() const;

    friend bool operator==(const LiveStatus&, const LiveStatus&) = default;
};

// The image of the navigation pane's STATE item: 10 while a fault is
// present, 1 otherwise.
inline int StateItemImage(uint8_t system_flags) {
    return (system_flags & kFlagFault) ? 10 : 1;
}

}  // namespace qavo
