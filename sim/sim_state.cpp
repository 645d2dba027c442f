#include "sim_state.h"

#include <algorithm>
#include <cstring>

namespace qavo::sim {

namespace {

enum FaultKind : uint32_t {
    kFaultLine = 1,
    kFaultContact,
    kFaultOffline,
    kFaultAc,
    kFaultDc,
    kFaultMainAmplifier,
    kFaultSpareAmplifier,
    kFaultPaging,
};

uint32_t FaultKey(FaultKind kind, unsigned index, unsigned item, unsigned state) {
    return (uint32_t{kind} << 24) | (index << 16) | (item << 8) | state;
}

bool IsLineFault(unsigned bits) {
    return bits == 1 || bits == 2;
}

bool IsValidSource(uint8_t source) {
    return source == kSourceQavoMessage || source == kSourceAlertMessage ||
           (source > kSourceLineBase && source <= kSourceLineBase + 6);
}

bool IsLineSource(uint8_t source) {
    return source > kSourceLineBase && source <= kSourceLineBase + 6;
}

}  // namespace

SimState::SimState(const SimOptions& options) : rng_(options.seed) {
    Configure(options);
    PreloadLog(options.log_size);
    Refresh();
}

bool SimState::DcFitted(unsigned host) const {
    return DcSupplyFitted(live_.host_config[host], host);
}

bool SimState::SpareFitted(unsigned host) const {
    return SpareAmplifierFitted(live_.host_config[host], host);
}

void SimState::Record(uint8_t kind, const EventData& data) {
    log_.Add(MakeRecord(clock_.Now(), kind, data));
}

void SimState::RecordHost(uint8_t kind, unsigned host) {
    Record(kind, {static_cast<uint8_t>(host + 1), live_.host_state[host], 0, 0, 0, 0});
}

bool SimState::SetLine(unsigned host, unsigned zone, SpeakerLine line, LineState state) {
    uint8_t& byte = live_.zone_lines[host][zone / 2];
    unsigned shift = (zone % 2) * 4 + (line == SpeakerLine::kB ? 2 : 0);
    uint8_t updated =
        static_cast<uint8_t>((byte & ~(0x3u << shift)) | (static_cast<unsigned>(state) << shift));
    if (updated == byte) return false;
    byte = updated;
    const auto& lines = live_.zone_lines[host];
    Record(kEventZones,
           {static_cast<uint8_t>(host + 1), lines[0], lines[1], lines[2], lines[3], 0});
    Refresh();
    return true;
}

bool SimState::SetContact(unsigned host, unsigned input, ContactState state) {
    uint16_t& word = live_.contact_inputs[host];
    unsigned shift = 2 * input;
    auto before = static_cast<ContactState>((word >> shift) & 0x3);
    if (before == state) return false;
    word =
        static_cast<uint16_t>((word & ~(0x3u << shift)) | (static_cast<unsigned>(state) << shift));
    auto contact_bit = static_cast<uint8_t>(1u << input);
    if (state == ContactState::kTriggered) {
        Record(kEventAlarm, {kAlarmContact, static_cast<uint8_t>(host + 1), contact_bit, 0, 0, 0});
        // The fire alarm configuration says what the contact plays and where.
        using namespace fields;
        bool alert = (image_.Get(contact_msg_kind, host) >> input) & 1;
        uint8_t source = alert ? kSourceAlertMessage : kSourceQavoMessage;
        unsigned alarm_mode = (image_.Get(fire_flags) >> 2) & 0x3;
        std::vector<uint8_t> masks(HostCount(), 0);
        for (unsigned t = 0; t < masks.size(); ++t) {
            if (alarm_mode == 1) {
                masks[t] = static_cast<uint8_t>(image_.Get(contact_zones, host, input, t));
            } else if (alarm_mode == 2) {
                if (t != host) continue;
                unsigned span = image_.Get(neighbour_span);
                int low = std::max(0, static_cast<int>(input) - static_cast<int>(span & 0x0F));
                int high = std::min(7, static_cast<int>(input) + static_cast<int>(span >> 4));
                for (int z = low; z <= high; ++z)
                    masks[t] |= static_cast<uint8_t>(1u << z);
            } else {
                masks[t] = 0xFF;
            }
        }
        Audio(1, source, masks);
    } else if (before == ContactState::kTriggered) {
        Record(kEventAlarm,
               {kAlarmContactRelease, static_cast<uint8_t>(host + 1), contact_bit, 0, 0, 0});
    }
    Refresh();
    return true;
}

bool SimState::SetEmergency(bool on) {
    if (manual_emergency_ == on) return false;
    manual_emergency_ = on;
    Record(kEventAlarm, {on ? kAlarmManualFire : kAlarmManualReset, 0, 0, 0, 0, 0});
    if (!on) {
        // The fire reset silences the emergency and alert messages.
        for (unsigned h = 0; h < kMaxHosts; ++h) {
            uint8_t source = live_.audio_source[h];
            if (source == kSourceQavoMessage || source == kSourceAlertMessage) {
                live_.audio_source[h] = kSourceNone;
                live_.zones_on_air[h] = 0;
            }
        }
    }
    Refresh();
    return true;
}

bool SimState::SetHostOnline(unsigned host, bool online) {
    uint8_t& state = live_.host_state[host];
    if (((state & kHostOnline) != 0) == online) return false;
    state = online ? (state | kHostOnline) : (state & ~kHostOnline);
    Record(kEventHostOnline, {static_cast<uint8_t>(host + 1), uint8_t{online}, 0, 0, 0, 0});
    Refresh();
    return true;
}

bool SimState::SetPower(unsigned host, bool dc, bool ok) {
    uint8_t bit = dc ? kHostDcPower : kHostAcPower;
    uint8_t& state = live_.host_state[host];
    if (((state & bit) != 0) == ok) return false;
    state = ok ? (state | bit) : (state & ~bit);
    Refresh();
    RecordHost(kEventPower, host);
    return true;
}

bool SimState::SetAmplifier(unsigned host, bool spare, bool ok) {
    uint8_t bit = spare ? kHostSpareAmplifier : kHostMainAmplifier;
    uint8_t& state = live_.host_state[host];
    if (((state & bit) != 0) == ok) return false;
    state = ok ? (state | bit) : (state & ~bit);
    Refresh();
    RecordHost(kEventAmplifier, host);
    return true;
}

bool SimState::SetPaging(unsigned console, PagingCondition condition) {
    uint8_t updated = condition == PagingCondition::kOk      ? kPagingGood
                      : condition == PagingCondition::kFault ? uint8_t{kPagingOnline | kPagingFault}
                                                             : uint8_t{0};
    uint8_t& state = live_.paging_state[console];
    if (state == updated) return false;
    state = updated;
    // The log names the console's kind in the top two bits: 1 fire, 2 touch, 0 remote.
    unsigned type = image_.Get(fields::paging_type, console);
    uint8_t kind_bits = type == 1 ? 0x40 : type == 2 ? 0x80 : 0x00;
    bool online = (updated & kPagingOnline) != 0;
    Record(kEventPaging, {static_cast<uint8_t>(console + 1),
                          static_cast<uint8_t>(kind_bits | (online ? 1 : 0)), 0, 0, 0, 0});
    Refresh();
    return true;
}

bool SimState::SetRelays(unsigned host, uint8_t relays) {
    if (live_.relay_outputs[host] == relays) return false;
    live_.relay_outputs[host] = relays;
    return true;
}

void SimState::AckReset() {
    if (FaultPresent()) live_.system_flags |= kFlagFaultAcknowledged;
    Record(kEventAckReset, {kResetFromConsole, 0, 0, 0, 0, 0});
}

bool SimState::Audio(uint8_t action, uint8_t source, std::span<const uint8_t> masks) {
    const unsigned hosts = std::min<unsigned>(HostCount(), static_cast<unsigned>(masks.size()));
    bool any_mask = std::any_of(masks.begin(), masks.begin() + hosts, [](uint8_t m) { return m; });
    bool was_emergency = EmergencyActive();
    switch (action) {
        case 0:  // stop in the zones given, or everywhere when none is given
            for (unsigned h = 0; h < HostCount(); ++h) {
                uint8_t mask = any_mask ? (h < hosts ? masks[h] : 0) : 0xFF;
                live_.zones_on_air[h] &= static_cast<uint8_t>(~mask);
                if (live_.zones_on_air[h] == 0) live_.audio_source[h] = kSourceNone;
            }
            break;
        case 1:
        case 2:
            if (!IsValidSource(source) || (action == 2 && !IsLineSource(source))) return false;
            for (unsigned h = 0; h < HostCount(); ++h) {
                uint8_t installed = static_cast<uint8_t>(image_.Get(fields::zone_work_enable, h));
                uint8_t zones = any_mask ? (h < hosts ? masks[h] : 0) : live_.zones_on_air[h];
                zones &= installed;
                if (zones == 0) continue;
                live_.zones_on_air[h] |= zones;
                live_.audio_source[h] = source;
            }
            break;
        default:
            return false;
    }
    if (!was_emergency && EmergencyActive()) {
        Record(kEventAlarm, {kAlarmManualFire, 0, 0, 0, 0, 0});
    }
    Refresh();
    return true;
}

bool SimState::Cell(unsigned row, unsigned column) {
    if (row >= HostCount() || column < 2 || column > 9) return false;
    auto bit = static_cast<uint8_t>(1u << (column - 2));
    uint8_t installed = static_cast<uint8_t>(image_.Get(fields::zone_work_enable, row));
    if ((installed & bit) == 0) return false;
    if (live_.zones_on_air[row] & bit) {
        live_.zones_on_air[row] &= static_cast<uint8_t>(~bit);
        if (live_.zones_on_air[row] == 0) live_.audio_source[row] = kSourceNone;
    } else {
        live_.zones_on_air[row] |= bit;
        // A zone switched on joins what its host plays, or line input 1.
        if (live_.audio_source[row] == kSourceNone) live_.audio_source[row] = kSourceLineBase + 1;
    }
    Refresh();
    return true;
}

bool SimState::WriteBlock(unsigned id, uint32_t offset, std::span<const uint8_t> data) {
    if (id >= kBlockCount || id == kReservedBlock) return false;
    auto block = image_.Block(id);
    if (offset > block.size() || data.size() > block.size() - offset) return false;
    std::memcpy(block.data() + offset, data.data(), data.size());
    Refresh();
    return true;
}

std::vector<uint32_t> SimState::Faults() const {
    std::vector<uint32_t> faults;
    for (unsigned h = 0; h < HostCount(); ++h) {
        for (unsigned z = 0; z < kZonesPerHost; ++z) {
            for (SpeakerLine line : {SpeakerLine::kA, SpeakerLine::kB}) {
                auto state = static_cast<unsigned>(live_.ZoneLine(h, z, line));
                if (IsLineFault(state)) {
                    faults.push_back(
                        FaultKey(kFaultLine, h, z * 2 + static_cast<unsigned>(line), state));
                }
            }
        }
        for (unsigned c = 0; c < 8; ++c) {
            auto state = live_.Contact(h, c);
            if (state == ContactState::kShort || state == ContactState::kOpen) {
                faults.push_back(FaultKey(kFaultContact, h, c, static_cast<unsigned>(state)));
            }
        }
        uint8_t s = live_.host_state[h];
        if (!(s & kHostOnline)) faults.push_back(FaultKey(kFaultOffline, h, 0, 0));
        if (!(s & kHostAcPower)) faults.push_back(FaultKey(kFaultAc, h, 0, 0));
        if (DcFitted(h) && !(s & kHostDcPower)) faults.push_back(FaultKey(kFaultDc, h, 0, 0));
        if (!(s & kHostMainAmplifier)) faults.push_back(FaultKey(kFaultMainAmplifier, h, 0, 0));
        if (SpareFitted(h) && !(s & kHostSpareAmplifier)) {
            faults.push_back(FaultKey(kFaultSpareAmplifier, h, 0, 0));
        }
    }
    for (unsigned k = 0; k < PagingCount(); ++k) {
        if (live_.paging_state[k] & kPagingFault) faults.push_back(FaultKey(kFaultPaging, k, 0, 0));
    }
    std::sort(faults.begin(), faults.end());
    return faults;
}

bool SimState::EmergencyActive() const {
    if (manual_emergency_) return true;
    for (unsigned h = 0; h < HostCount(); ++h) {
        if (live_.audio_source[h] == kSourceQavoMessage && live_.zones_on_air[h] != 0) return true;
        for (unsigned c = 0; c < 8; ++c) {
            if (live_.Contact(h, c) == ContactState::kTriggered) return true;
        }
    }
    return false;
}

void SimState::Refresh() {
    // Each host's summary bit: good while none of its own faults is present.
    for (unsigned h = 0; h < kMaxHosts; ++h) {
        uint8_t s = live_.host_state[h];
        bool good = (s & kHostOnline) && (s & kHostAcPower) && (s & kHostMainAmplifier) &&
                    (!DcFitted(h) || (s & kHostDcPower)) &&
                    (!SpareFitted(h) || (s & kHostSpareAmplifier));
        for (uint8_t byte : live_.zone_lines[h]) {
            for (unsigned shift = 0; shift < 8; shift += 2)
                good = good && !IsLineFault((byte >> shift) & 3);
        }
        for (unsigned c = 0; c < 8; ++c) {
            auto state = live_.Contact(h, c);
            good = good && state != ContactState::kShort && state != ContactState::kOpen;
        }
        live_.host_state[h] = good ? (s | kHostNoFault) : (s & ~kHostNoFault);
    }
    std::vector<uint32_t> faults = Faults();
    bool new_fault = std::any_of(faults.begin(), faults.end(), [&](uint32_t f) {
        return !std::binary_search(faults_.begin(), faults_.end(), f);
    });
    faults_ = std::move(faults);
    uint8_t flags = live_.system_flags;
    if (new_fault) flags &= ~kFlagFaultAcknowledged;
    if (faults_.empty()) {
        flags &= ~(kFlagFault | kFlagFaultAcknowledged);
    } else {
        flags |= kFlagFault;
    }
    flags = EmergencyActive() ? (flags | kFlagEmergency) : (flags & ~kFlagEmergency);
    live_.system_flags = flags;
}

}  // namespace qavo::sim
