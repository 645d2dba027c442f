#include "editors/zone_sel_logic.h"

#include <algorithm>

#include "platform/text_format.h"

namespace qavo {

ZoneSelLogic::ZoneSelLogic(ZoneSelInput input)
    // Without a caption of the caller's, the dialog's own title.
    : caption_(input.caption.empty() ? "Partition Selection" : std::move(input.caption)),
      host_count_(std::clamp(input.host_count, 1u, kMaxHosts)),
      // A caller's host beyond the hosts that can be browsed shows the last one.
      host_(std::min(input.current_host, host_count_ - 1)),
      selected_(input.selected_zones),
      available_(input.available_zones) {
    // On opening, a host without any available zone has nothing to select:
    // the box stays clear there.
    select_all_ = available() != 0 && all_available_selected();
}

void ZoneSelLogic::ClickZone(unsigned zone, bool checked) {
    if (zone < kZones) {
        const auto bit = static_cast<uint8_t>(1u << zone);
        selected_[host_] = checked ? selected_[host_] | bit : selected_[host_] & ~bit;
    }
    KeepPage();
    select_all_ = all_available_selected();
}

void ZoneSelLogic::ClickSelectAll() {
    if (all_available_selected()) {
        // Only the available zones go; bits of the others stay as they were.
        selected_[host_] &= static_cast<uint8_t>(~available());
        select_all_ = false;
    } else {
        selected_[host_] = available();
        select_all_ = true;
    }
}

void ZoneSelLogic::Previous() {
    KeepPage();
    host_ = host_ == 0 ? host_count_ - 1 : host_ - 1;
    // After a move a host without available zones counts as all selected.
    select_all_ = all_available_selected();
}

void ZoneSelLogic::Next() {
    KeepPage();
    host_ = host_ + 1 >= host_count_ ? 0 : host_ + 1;
    select_all_ = all_available_selected();
}

std::string ZoneSelLogic::host_label() const {
    return Format("Host %.2d", static_cast<int>(host_) + 1);
}

bool ZoneSelLogic::zone_enabled(unsigned zone) const {
    return zone < kZones && (available() >> zone & 1u) != 0;
}

bool ZoneSelLogic::zone_checked(unsigned zone) const {
    return zone < kZones && (shown() >> zone & 1u) != 0;
}

}  // namespace qavo
