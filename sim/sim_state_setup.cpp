// The simulated system as it starts: its configuration, its live state, the
// events already in its log; and the status messages it reports.
#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <numeric>

#include "link/frame.h"
#include "sim_state.h"

namespace qavo::sim {

namespace {

void WriteName(ParamImage& image, const Field& field, uint32_t i, const char* text, uint8_t fill) {
    uint8_t* p = image.Block(field.block).data() + field.At(i);
    std::memset(p, fill, kNameSize);
    size_t len = std::min<size_t>(std::strlen(text), kNameSize - 1);
    std::memcpy(p, text, len);
    p[len] = 0;
}

constexpr std::array<const char*, 16> kGroupNames = {
    "All zones", "Ground floor", "First floor", "Second floor", "Third floor", "Basement",
    "Car park",  "Lobby",        "Stairwells",  "Canteen",      "Offices",     "Warehouse",
    "Workshop",  "Reception",    "Plant room",  "Roof",
};

constexpr std::array<const char*, 8> kKeyNames = {
    "All call", "Evacuate", "Alert", "Lobby", "Floor 1", "Floor 2", "Car park", "Canteen",
};

}  // namespace

void SimState::Configure(const SimOptions& o) {
    using namespace fields;
    const unsigned hosts = o.host_count;
    image_.Set(host_count, hosts);
    image_.Set(group_count, o.group_count);
    for (unsigned h = 0; h < kMaxHosts; ++h) {
        // Every zone of a fitted host is installed and its lines supervised.
        image_.Set(zone_work_enable, h < hosts ? 0xFF : 0x00, h);
        image_.Set(zone_detect_enable, h < hosts ? 0xFF : 0x00, h);
    }

    // Paging: consoles 1, 5, 9 ... fire paging, 2, 6, 10 ... touch paging,
    // the others business paging.
    image_.Set(paging_count, o.paging_count);
    for (unsigned k = 0; k < kMaxPagingConsoles; ++k) {
        image_.Set(paging_type, k % 4 == 0 ? 1 : k % 4 == 1 ? 2 : 0, k);
    }
    for (unsigned key = 0; key < kKeyNames.size(); ++key) {
        WriteName(image_, key_name, key, kKeyNames[key], 0);
    }

    // Fire alarm: every contact starts the QAVO message in all zones (the
    // last two the alert message), drives its own relay.
    image_.Set(fire_flags, 0x30);  // QAVO and alert messages enabled, all zones
    image_.Set(qavo_play_time, 60);
    image_.Set(alert_play_time, 30);
    image_.Set(qavo_play_count, 3);
    image_.Set(alert_play_count, 3);
    image_.Set(neighbour_span, 0x11);
    image_.Set(alarm_delay, 10);
    for (unsigned h = 0; h < kMaxHosts; ++h) {
        image_.Set(contact_msg_kind, 0xC0, h);
        for (unsigned c = 0; c < 8; ++c) {
            image_.Set(contact_zones, 1u << c, h, c, h);
            image_.Set(contact_relays, 1u << c, h, c);
        }
    }

    const char signature[] = "QAVO-900 host simulator";
    std::memcpy(image_.Block(kReservedBlock).data(), signature, sizeof signature);

    // Groups: all zones, then one half of a host's zones each.
    for (unsigned g = 0; g < o.group_count; ++g) {
        char name[16];
        if (g < kGroupNames.size()) {
            std::snprintf(name, sizeof name, "%s", kGroupNames[g]);
        } else {
            std::snprintf(name, sizeof name, "Area %.3u", g + 1);
        }
        WriteName(image_, group_name, g, name, 0xFF);
        for (unsigned h = 0; h < kMaxHosts; ++h) {
            uint8_t mask = 0;
            if (h < hosts) {
                if (g == 0) {
                    mask = 0xFF;
                } else if ((g - 1) % hosts == h) {
                    mask = ((g - 1) / hosts) % 2 == 0 ? 0x0F : 0xF0;
                }
            }
            image_.Set(group_zones, mask, g, h);
        }
    }

    for (unsigned h = 0; h < kMaxHosts; ++h) {
        live_.host_state[h] = kHostAllGood;
        live_.host_config[h] = h == 0 ? kMainHostConfig : kExpansionHostConfig;
    }
    live_.paging_state.fill(kPagingGood);
    live_.qavo_message_count = 3;
    live_.alert_message_count = 2;
    live_.prompt_voice_count = 4;
    live_.message_count = 16;
    live_.impedance_level = 3;
}

EventData SimState::RandomEvent(uint8_t kind) {
    auto pick = [&](unsigned n) { return n == 0 ? 0u : static_cast<unsigned>(rng_() % n); };
    auto host = static_cast<uint8_t>(pick(HostCount()) + 1);
    auto console = static_cast<uint8_t>(pick(std::max(1u, PagingCount())) + 1);
    EventData d{};
    switch (kind) {
        case kEventMic: {
            static constexpr uint8_t kCodes[] = {0, 1, 3, 4};
            d[0] = kCodes[pick(4)];
            break;
        }
        case kEventMessages:
            d[0] = 1;
            WriteLe16(&d[2], live_.qavo_message_count);
            WriteLe16(&d[4], live_.alert_message_count);
            break;
        case kEventAmplifier:
        case kEventPower: {
            uint8_t bits = kind == kEventAmplifier ? kHostMainAmplifier | kHostSpareAmplifier
                                                   : kHostAcPower | kHostDcPower;
            d[0] = host;
            d[1] = kHostAllGood;
            if (pick(3) != 0) d[1] &= static_cast<uint8_t>(~(bits & (pick(2) ? 0x0A : 0x11)));
            break;
        }
        case kEventZones:
            d[0] = host;
            // One line of one zone short or open, or every line back to normal.
            if (pick(3) != 0) {
                unsigned zone = pick(8);
                unsigned shift = (zone % 2) * 4 + pick(2) * 2;
                d[1 + zone / 2] = static_cast<uint8_t>((1 + pick(2)) << shift);
            }
            break;
        case kEventHostOnline:
            d[0] = host;
            d[1] = static_cast<uint8_t>(pick(2));
            break;
        case kEventPaging: {
            unsigned type = image_.Get(fields::paging_type, console - 1u);
            d[0] = console;
            d[1] = static_cast<uint8_t>((type == 1 ? 0x40 : type == 2 ? 0x80 : 0) | pick(2));
            break;
        }
        case kEventAlarm: {
            static constexpr uint8_t kAlarms[] = {
                kAlarmManualFire, kAlarmManualReset, kAlarmContact,       kAlarmCieReset,
                kAlarmPagingFire, kAlarmPagingReset, kAlarmContactRelease};
            d[0] = kAlarms[pick(7)];
            if (d[0] == kAlarmContact || d[0] == kAlarmContactRelease) {
                d[1] = host;
                d[2] = static_cast<uint8_t>(1u << pick(8));
            } else if (d[0] == kAlarmPagingFire || d[0] == kAlarmPagingReset) {
                d[1] = console;
            }
            break;
        }
        case kEventAckReset: {
            static constexpr uint8_t kResets[] = {kResetFromConsole, kResetFromFirePaging, 0};
            d[0] = kResets[pick(3)];
            if (d[0] == kResetFromFirePaging) d[1] = console;
            break;
        }
        default:
            break;
    }
    return d;
}

void SimState::PreloadLog(size_t count) {
    // The first nine events show every kind once, in a shuffled order.
    std::vector<uint8_t> kinds(count);
    for (size_t i = 0; i < count; ++i)
        kinds[i] = static_cast<uint8_t>(1 + rng_() % 9);
    std::array<uint8_t, 9> every{};
    std::iota(every.begin(), every.end(), uint8_t{1});
    std::shuffle(every.begin(), every.end(), rng_);
    for (size_t i = 0; i < count && i < every.size(); ++i)
        kinds[i] = every[i];
    // Spread back from now, from a minute to two hours apart.
    std::vector<int64_t> stamps(count);
    int64_t t = ToSeconds(clock_.Now());
    for (size_t i = count; i-- > 0;) {
        t -= 60 + static_cast<int64_t>(rng_() % 7200);
        stamps[i] = t;
    }
    for (size_t i = 0; i < count; ++i) {
        log_.Add(MakeRecord(FromSeconds(stamps[i]), kinds[i], RandomEvent(kinds[i])));
    }
}

void SimState::AddRandomEvents(size_t count) {
    for (size_t i = 0; i < count; ++i) {
        auto kind = static_cast<uint8_t>(1 + rng_() % 9);
        Record(kind, RandomEvent(kind));
    }
}

std::vector<uint8_t> SimState::InputStatus() const {
    std::vector<uint8_t> m = {INPUT_STATUS, 1, 0, live_.system_flags};
    for (unsigned h = 0; h < HostCount(); ++h) {
        m.push_back(static_cast<uint8_t>(live_.contact_inputs[h]));
        m.push_back(static_cast<uint8_t>(live_.contact_inputs[h] >> 8));
    }
    return m;
}

std::vector<uint8_t> SimState::HostStatus(unsigned selector) const {
    const unsigned hosts = HostCount();
    std::vector<uint8_t> m = {HOST_STATUS, 1, static_cast<uint8_t>(selector), live_.system_flags,
                              0x7F};
    // Selector n names host n - 1 (and console n - 1); 0 names them all.
    unsigned first = selector == 0 ? 0 : selector - 1;
    unsigned end = selector == 0 ? hosts : selector;
    unsigned paging_end = selector == 0 ? PagingCount() : selector;
    auto append = [&](const auto& array, unsigned from, unsigned to) {
        for (unsigned i = from; i < to; ++i)
            m.push_back(array[i]);
    };
    append(live_.host_state, first, end);
    m.insert(m.end(), {live_.qavo_message_count, live_.alert_message_count,
                       live_.prompt_voice_count, live_.message_count});
    for (unsigned h = first; h < end; ++h) {
        const auto& lines = live_.zone_lines[h];
        m.insert(m.end(), lines.begin(), lines.begin() + (selector == 0 ? 4 : 3));
    }
    append(live_.audio_source, first, end);
    append(live_.zones_on_air, first, end);
    append(live_.paging_state, first, paging_end);
    append(live_.host_config, 0, hosts);
    return m;
}

std::vector<uint8_t> SimState::RelayStatus(unsigned host_number) const {
    const unsigned hosts = HostCount();
    std::vector<uint8_t> m = {
        RELAY_STATUS, 1, static_cast<uint8_t>(host_number), 0, 0, 0, 0, 0, 0, 0};
    WriteLe16(&m[6], static_cast<uint16_t>(hosts));
    m.resize(10 + hosts);
    std::copy_n(live_.relay_outputs.begin(), hosts, m.begin() + 10);
    return m;
}

std::string SimState::Describe() const {
    std::string text;
    char line[160];
    uint8_t f = live_.system_flags;
    std::snprintf(line, sizeof line, "system flags 0x%02X:%s%s%s%s\n", f,
                  (f & kFlagFault) ? " fault" : "", (f & kFlagEmergency) ? " emergency" : "",
                  (f & kFlagFaultAcknowledged) ? " acknowledged" : "", f == 0 ? " normal" : "");
    text += line;
    for (unsigned h = 0; h < HostCount(); ++h) {
        const auto& z = live_.zone_lines[h];
        std::snprintf(line, sizeof line,
                      "host %.2u: state 0x%02X config 0x%02X lines %02X %02X %02X %02X "
                      "contacts 0x%04X relays 0x%02X source 0x%02X on air 0x%02X\n",
                      h + 1, live_.host_state[h], live_.host_config[h], z[0], z[1], z[2], z[3],
                      live_.contact_inputs[h], live_.relay_outputs[h], live_.audio_source[h],
                      live_.zones_on_air[h]);
        text += line;
    }
    for (unsigned k = 0; k < PagingCount(); ++k) {
        std::snprintf(line, sizeof line, "paging %.2u: 0x%02X\n", k + 1, live_.paging_state[k]);
        text += line;
    }
    ClockTime now = clock_.Now();
    std::snprintf(line, sizeof line,
                  "counts %u %u %u %u, impedance %u, groups %u, log %zu events, clock "
                  "%.4d-%.2d-%.2d %.2d:%.2d:%.2d",
                  live_.qavo_message_count, live_.alert_message_count, live_.prompt_voice_count,
                  live_.message_count, live_.impedance_level, image_.BoundedGroupCount(),
                  log_.size(), now.year, now.month, now.day, now.hour, now.minute, now.second);
    text += line;
    return text;
}

}  // namespace qavo::sim
