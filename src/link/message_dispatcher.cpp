#include "link/message_dispatcher.h"

#include <algorithm>
#include <cstring>

#include "link/frame.h"

namespace qavo {

MessageDispatcher::MessageDispatcher(SystemModel& model, ProgressState& progress,
                                     DeviceList& devices, UiBus& bus, AutoResetEvent& ack_event)
    : model_(model),
      progress_(progress),
      devices_(devices),
      bus_(bus),
      ack_event_(ack_event),
      supervision_(model) {}

void MessageDispatcher::Dispatch(std::span<const uint8_t> d) {
    if (d.size() < 2) return;
    if (d[1] == 0) {
        ack_event_.Signal();
        return;
    }
    switch (d[0]) {
        case INPUT_STATUS:
            InputStatus(d);
            break;
        case HOST_STATUS:
            HostStatus(d);
            break;
        case RELAY_STATUS:
            RelayStatus(d);
            break;
        case 3:
        case 4:
        case 6:
        case 7:
        case 8:
        case 15:
        case 16:
            ack_event_.Signal();
            break;
        case DEVICE_INFO:
            DeviceInfo(d);
            break;
        case BLOCK_DATA:
            BlockData(d);
            break;
        case LOG_DATA:
            LogData(d);
            break;
        case HEARTBEAT_REPLY:
            HeartbeatReply();
            break;
        case IMPEDANCE_LEVEL:
            ImpedanceLevel(d);
            break;
        default:
            // 10, 12 and 13 carry nothing for the console; 18 and above are unknown.
            break;
    }
}

void MessageDispatcher::InputStatus(std::span<const uint8_t> d) {
    {
        auto lock = model_.Lock();
        const uint32_t hosts = model_.image.host_count();
        if (d.size() < 4 + 2 * size_t{hosts}) return;
        LiveStatus& live = model_.live;
        live.system_flags = d[3];
        const unsigned copied = std::min<uint32_t>(hosts, kMaxHosts);
        for (unsigned h = 0; h < copied; ++h)
            live.contact_inputs[h] = ReadLe16(&d[4 + 2 * h]);
    }
    bus_.Post(UiTarget::kNavigationPane, WM_STATE_ICON);
    bus_.Post(UiTarget::kActiveView, WM_STATUS_CHANGED);
}

namespace {

// Length of each section of a HOST_STATUS, in section order.
struct SectionPlan {
    uint64_t length[7];
};

SectionPlan PlanSections(uint8_t selector, uint64_t hosts, uint64_t consoles) {
    if (selector == 0) return {{hosts, 4, 4 * hosts, hosts, hosts, consoles, hosts}};
    return {{1, 4, 3, 1, 1, 1, hosts}};
}

}  // namespace

void MessageDispatcher::HostStatus(std::span<const uint8_t> d) {
    if (d.size() < 5) return;
    const uint8_t selector = d[2];
    const uint8_t mask = d[4];
    {
        auto lock = model_.Lock();
        const uint32_t hosts = model_.image.host_count();
        const uint32_t consoles = model_.image.paging_count();
        const SectionPlan plan = PlanSections(selector, hosts, consoles);
        uint64_t needed = 5;
        for (int s = 0; s < 7; ++s) {
            if (mask & (1u << s)) needed += plan.length[s];
        }
        if (d.size() < needed) return;

        LiveStatus& live = model_.live;
        const unsigned host_copies = std::min<uint32_t>(hosts, kMaxHosts);
        const unsigned console_copies = std::min<uint32_t>(consoles, kMaxPagingConsoles);
        // With a selector, the host (or console) it names; kMaxHosts when it names none.
        const unsigned host = (selector >= 1 && selector <= kMaxHosts) ? selector - 1u : kMaxHosts;
        const unsigned console =
            (selector >= 1 && selector <= kMaxPagingConsoles) ? selector - 1u : kMaxPagingConsoles;

        auto per_host = [&](std::array<uint8_t, kMaxHosts>& dest, const uint8_t* p) {
            if (selector == 0) {
                std::memcpy(dest.data(), p, host_copies);
            } else if (host < kMaxHosts) {
                dest[host] = p[0];
            }
        };

        live.system_flags = d[3];
        const uint8_t* p = d.data() + 5;
        if (mask & kSectionHostState) per_host(live.host_state, p);
        if (mask & kSectionHostState) p += plan.length[0];
        if (mask & kSectionCounts) {
            live.qavo_message_count = p[0];
            live.alert_message_count = p[1];
            live.prompt_voice_count = p[2];
            live.message_count = p[3];
            p += plan.length[1];
        }
        if (mask & kSectionSpeakerLines) {
            if (selector == 0) {
                for (unsigned h = 0; h < host_copies; ++h) {
                    std::memcpy(live.zone_lines[h].data(), p + 4 * h, 4);
                }
            } else if (host < kMaxHosts) {
                std::memcpy(live.zone_lines[host].data(), p, 3);
            }
            p += plan.length[2];
        }
        if (mask & kSectionAudioSources) {
            per_host(live.audio_source, p);
            p += plan.length[3];
        }
        if (mask & kSectionZonesOnAir) {
            per_host(live.zones_on_air, p);
            p += plan.length[4];
        }
        if (mask & kSectionPaging) {
            if (selector == 0) {
                std::memcpy(live.paging_state.data(), p, console_copies);
            } else if (console < kMaxPagingConsoles) {
                live.paging_state[console] = p[0];
            }
            p += plan.length[5];
        }
        if (mask & kSectionEquipment) std::memcpy(live.host_config.data(), p, host_copies);
    }
    bus_.Post(UiTarget::kNavigationPane, WM_STATE_ICON);
    if (mask & (kSectionAudioSources | kSectionEquipment)) {
        bus_.Post(UiTarget::kActiveView, WM_SOURCES_CHANGED);
    }
    if (mask & (kSectionHostState | kSectionCounts | kSectionSpeakerLines | kSectionZonesOnAir |
                kSectionPaging | kSectionEquipment)) {
        bus_.Post(UiTarget::kActiveView, WM_STATUS_CHANGED);
    }
    bus_.Post(UiTarget::kActiveView, WM_FLAGS_CHANGED);
}

void MessageDispatcher::RelayStatus(std::span<const uint8_t> d) {
    {
        auto lock = model_.Lock();
        const uint32_t hosts = model_.image.host_count();
        if (d.size() < 10 + size_t{hosts}) return;
        const unsigned copied = std::min<uint32_t>(hosts, kMaxHosts);
        std::memcpy(model_.live.relay_outputs.data(), d.data() + 10, copied);
    }
    // Completed after the copy, so the waiter finds the new states.
    ack_event_.Signal();
}

void MessageDispatcher::DeviceInfo(std::span<const uint8_t> d) {
    if (d.size() < 9 || d[2] != 0) return;
    const uint32_t address =
        (uint32_t{d[3]} << 24) | (uint32_t{d[4]} << 16) | (uint32_t{d[5]} << 8) | d[6];
    const bool kept = devices_.Append(FormatDeviceEntry(address, d[7], d[8]));
    ack_event_.Signal();
    if (kept) bus_.Post(UiTarget::kFirmwareDialog, WM_DEVICE_ANNOUNCED);
}

void MessageDispatcher::BlockData(std::span<const uint8_t> d) {
    if (d.size() < kChunkHeader || d[3] != 1) return;
    const uint8_t id = d[4];
    const size_t n = ReadLe16(&d[6]);
    const size_t offset = ReadLe16(&d[8]);
    if (kChunkHeader + n > d.size()) return;
    if (id < kBlockCount) {
        auto lock = model_.Lock();
        auto block = model_.image.Block(id);
        if (offset < block.size()) {
            std::memcpy(block.data() + offset, d.data() + kChunkHeader,
                        std::min(n, block.size() - offset));
        }
    }
    StepProgressInMode(progress_, bus_, ProgressState::kReadingParameters);
    if (d[5] == 0) ack_event_.Signal();
}

void MessageDispatcher::LogData(std::span<const uint8_t> d) {
    if (d.size() < 6) return;
    if (d[3] == 2) {
        if (d.size() < kChunkHeader) return;
        const size_t n = ReadLe16(&d[6]);
        if (kChunkHeader + n > d.size()) return;
        auto lock = model_.Lock();
        const size_t offset = UnwrapLogOffset(ReadLe16(&d[8]));
        auto& log = model_.live.host_log;
        if (offset < log.size()) {
            std::memcpy(log.data() + offset, d.data() + kChunkHeader,
                        std::min(n, log.size() - offset));
        }
    }
    if (d[4] == 0 && d[5] == 0) {
        BeginLogTransfer();
        bus_.Post(UiTarget::kActiveView, WM_HOST_LOG_RECEIVED);
    }
}

void MessageDispatcher::BeginLogTransfer() {
    auto lock = model_.Lock();
    log_offset_base_ = 0;
    log_last_offset_ = 0;
}

size_t MessageDispatcher::UnwrapLogOffset(uint16_t raw) {
    size_t offset = log_offset_base_ + raw;
    if (offset + 0x8000 < log_last_offset_) {
        log_offset_base_ += 0x10000;
        offset += 0x10000;
    }
    log_last_offset_ = offset;
    return offset;
}

void MessageDispatcher::HeartbeatReply() {
    if (supervision_.OnHeartbeatReply()) bus_.Send(UiTarget::kMainWindow, WM_LINK_STATE);
}

void MessageDispatcher::ImpedanceLevel(std::span<const uint8_t> d) {
    if (d.size() < 5) return;
    {
        auto lock = model_.Lock();
        model_.live.impedance_level = d[4] > 4 ? 4 : d[4];
    }
    ack_event_.Signal();
    bus_.Post(UiTarget::kSensitivityDialog, WM_IMPEDANCE_LEVEL);
}

}  // namespace qavo
