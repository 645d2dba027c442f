#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace qavo {

// One zone mask per host (bit z = zone z + 1), for all twenty hosts.
using ZoneMasks = std::array<uint8_t, 20>;

// What the caller of the partition selection sets before every opening.
struct ZoneSelInput {
    std::string caption;
    unsigned host_count = 1;
    unsigned current_host = 0;
    std::array<uint8_t, 20> selected_zones{};
    std::array<uint8_t, 20> available_zones{};
};

// The partition selection: one page of eight zone boxes per host, browsed
// with "<" and ">", out of the zones each host makes available. The masks
// it holds are the result on "OK".
class ZoneSelLogic {
  public:
    static constexpr unsigned kZones = 8;
    static constexpr unsigned kMaxHosts = 20;

    explicit ZoneSelLogic(ZoneSelInput input);

    // The operator clicked zone box `zone` (0 to 7), which now shows `checked`.
    void ClickZone(unsigned zone, bool checked);
    // "  Select all" clicked.
    void ClickSelectAll();
    // "<" and ">": the page shown is kept, then the previous or next host,
    // wrapping within the host count.
    void Previous();
    void Next();

    const std::string& caption() const { return caption_; }
    // "Host %.2d" of the host shown.
    std::string host_label() const;
    bool zone_enabled(unsigned zone) const;
    // A disabled box is always clear.
    bool zone_checked(unsigned zone) const;
    bool select_all_checked() const { return select_all_; }
    unsigned current_host() const { return host_; }
    unsigned host_count() const { return host_count_; }
    const ZoneMasks& selected_zones() const { return selected_; }

  private:
    uint8_t available() const { return available_[host_]; }
    // The pattern of the eight boxes as shown: selected and available.
    uint8_t shown() const { return selected_[host_] & available(); }
    bool all_available_selected() const { return shown() == available(); }
    // The boxes of the host shown become its mask; zones that are not
    // available are dropped with them.
    void KeepPage() { selected_[host_] = shown(); }

    std::string caption_;
    unsigned host_count_;
    unsigned host_;
    ZoneMasks selected_;
    ZoneMasks available_;
    bool select_all_ = false;
};

}  // namespace qavo
