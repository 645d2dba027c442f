#include "console/state_logic.h"

#include <algorithm>
#include <cstdio>

#include "platform/text_format.h"

namespace qavo {
namespace {

bool Bit(uint8_t value, uint8_t mask) {
    return (value & mask) != 0;
}

const char* NormalOrFault(bool good) {
    return good ? "normal" : "fault";
}

// A value of equipment that may be missing: "none" when it is not fitted.
const char* FittedValue(bool good, bool fitted) {
    if (good) return "normal";
    return fitted ? "fault" : "none";
}

const char* PagingTypeText(uint8_t type) {
    switch (type) {
        case 0:
            return "remote paging";
        case 1:
            return "fire paging";
        default:
            return "touch paging";
    }
}

ValueText Value(const char* text, bool fault) {
    return {text, fault ? kFaultColour : kNormalColour};
}

}  // namespace

StateSnapshot TakeStateSnapshot(const ParamImage& image, const LiveStatus& live) {
    StateSnapshot s;
    s.host_count = image.BoundedHostCount();
    s.paging_count = image.BoundedPagingCount();
    s.host_state = live.host_state;
    s.host_config = live.host_config;
    s.paging_state = live.paging_state;
    for (unsigned k = 0; k < kMaxPagingConsoles; ++k) {
        s.paging_type[k] = static_cast<uint8_t>(image.Get(fields::paging_type, k));
    }
    return s;
}

std::string HostDetailText(unsigned host, uint8_t state, uint8_t config) {
    const bool main_host = host == 0;
    std::vector<std::string> items;
    items.push_back(std::string("Device online: ") +
                    (Bit(state, kHostOnline) ? "online" : "offline"));
    items.push_back(std::string("AC power: ") + NormalOrFault(Bit(state, kHostAcPower)));
    items.push_back(std::string("DC power: ") +
                    FittedValue(Bit(state, kHostDcPower), DcSupplyFitted(config, host)));
    if (main_host) {
        items.push_back(std::string("MIC state of emergency(PTT): ") +
                        NormalOrFault(Bit(state, kHostEmergencyMic)));
    }
    items.push_back(std::string("Main amplifier: ") +
                    NormalOrFault(Bit(state, kHostMainAmplifier)));
    items.push_back(
        std::string("Spare amplifier: ") +
        FittedValue(Bit(state, kHostSpareAmplifier), SpareAmplifierFitted(config, host)));
    if (main_host) {
        items.push_back(std::string("SD card online: ") + NormalOrFault(Bit(state, kHostSdCard)));
    }
    std::string text;
    for (const std::string& item : items) {
        if (!text.empty()) text += "  |  ";
        text += item;
    }
    return text + "        ...";
}

std::string PagingDetailText(uint8_t state, uint8_t type) {
    std::string text =
        Bit(state, kPagingOnline) ? "Device online: online" : "Device online: offline";
    text += "  |  ";
    text += Bit(state, kPagingFault) ? "fault" : "normal";
    text += "  |  ";
    text += PagingTypeText(type);
    return text;
}

std::vector<StateRow> BuildStateRows(const StateSnapshot& s) {
    const unsigned hosts = std::min(s.host_count, kMaxHosts);
    const unsigned consoles = std::min(s.paging_count, kMaxPagingConsoles);
    std::vector<StateRow> rows;
    rows.reserve(hosts + consoles);
    for (unsigned h = 0; h < hosts; ++h) {
        rows.push_back({Format("                    Host %.2d", h + 1),
                        Bit(s.host_state[h], kHostNoFault) ? kStateGood : kStateFault,
                        HostDetailText(h, s.host_state[h], s.host_config[h])});
    }
    for (unsigned k = 0; k < consoles; ++k) {
        rows.push_back({Format("                    Panig %.2d", k + 1),
                        Bit(s.paging_state[k], kPagingNoFault) ? kStateGood : kStateFault,
                        PagingDetailText(s.paging_state[k], s.paging_type[k])});
    }
    return rows;
}

HostDetailInput TakeHostDetailInput(const LiveStatus& live, unsigned host) {
    HostDetailInput in;
    in.host = host;
    in.main_host_config = live.host_config[0];
    if (host >= kMaxHosts) return in;
    in.host_state = live.host_state[host];
    in.host_config = live.host_config[host];
    in.zone_lines = live.zone_lines[host];
    in.contact_inputs = live.contact_inputs[host];
    in.relay_outputs = live.relay_outputs[host];
    return in;
}

std::string HostDetailCaption(unsigned host) {
    return Format("Host %.2d detailed status", host + 1);
}

ValueText ZoneLineValue(unsigned line_value) {
    switch (line_value) {
        case 1:
            return Value("Short", true);
        case 2:
            return Value("Open", true);
        default:
            return Value("Normal", false);
    }
}

ValueText ContactInputValue(unsigned input_value) {
    switch (input_value & 0x03) {
        case 1:
            return Value("Short", true);
        case 2:
            return Value("Open", true);
        case 3:
            return {"Trigger", kTriggerColour};
        default:
            return Value("Normal", false);
    }
}

HostDetail BuildHostDetail(const HostDetailInput& in) {
    // While the supervision bit is clear the host's reports are not to be
    // trusted: the general values read as good, drawn blue.
    const bool supervised = Bit(in.main_host_config, kConfigSupervisionValid);
    const auto good = [&](uint8_t bit) { return Bit(in.host_state, bit) || !supervised; };
    const auto status = [&](uint8_t bit, const char* good_text, const char* bad_text) {
        return Value(good(bit) ? good_text : bad_text, !good(bit));
    };
    const auto fitted = [&](bool is_fitted, uint8_t bit) {
        return is_fitted ? status(bit, "Normal", "Fault") : Value("None", false);
    };

    HostDetail d;
    d.caption = HostDetailCaption(in.host);
    d.general[0] = {status(kHostOnline, "Online", "Offline"), true};
    d.general[1] = {status(kHostAcPower, "Normal", "Fault"), true};
    d.general[2] = {fitted(DcSupplyFitted(in.host_config, in.host), kHostDcPower), true};
    d.general[3] = {status(kHostMainAmplifier, "Normal", "Fault"), true};
    d.general[4] = {fitted(SpareAmplifierFitted(in.host_config, in.host), kHostSpareAmplifier),
                    true};
    if (in.host == 0) {
        // The SD card and the microphone follow their bits whatever the
        // supervision bit says; only their colour depends on it.
        const auto own = [&](uint8_t bit) {
            const bool set = Bit(in.host_state, bit);
            return Value(set ? "Normal" : "Fault", !set && supervised);
        };
        d.general[kSdCardRow] = {own(kHostSdCard), true};
        d.general[kPttRow] = {own(kHostEmergencyMic), true};
    } else {
        d.general[kSdCardRow] = {Value("", false), false};
        d.general[kPttRow] = {Value("", false), false};
    }

    for (unsigned z = 0; z < kZonesPerHost; ++z) {
        const uint8_t byte = in.zone_lines[z / 2];
        const unsigned nibble = (z % 2 == 0) ? (byte & 0x0F) : (byte >> 4);
        d.line_a[z] = ZoneLineValue(nibble & 0x03);
        d.line_b[z] = ZoneLineValue((nibble >> 2) & 0x03);
    }
    for (unsigned i = 0; i < 8; ++i) {
        d.inputs[i] = ContactInputValue((in.contact_inputs >> (2 * i)) & 0x03);
        d.relays[i] = ((in.relay_outputs >> i) & 1u) != 0;
    }
    return d;
}

uint8_t RelayByte(const std::array<bool, 8>& checked) {
    uint8_t byte = 0;
    for (unsigned r = 0; r < 8; ++r) {
        if (checked[r]) byte = static_cast<uint8_t>(byte | (1u << r));
    }
    return byte;
}

}  // namespace qavo
