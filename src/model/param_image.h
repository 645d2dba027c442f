#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qavo {

// The six configuration blocks that the host keeps. The byte layout of a
// block is at once its wire layout, its file layout and its layout here.
enum BlockId : uint8_t {
    kEquipmentBlock = 0,
    kPagingBlock = 1,
    kFireAlarmBlock = 2,
    kReservedBlock = 3,
    kGroupsBlock = 4,
    kAudioPriorityBlock = 5,
};
inline constexpr unsigned kBlockCount = 6;
inline constexpr std::array<uint32_t, kBlockCount> kBlockSize = {45, 43408, 3732, 40, 3960, 175};

inline constexpr unsigned kMaxHosts = 20;
inline constexpr unsigned kZonesPerHost = 8;
inline constexpr unsigned kMaxPagingConsoles = 32;
inline constexpr unsigned kKeysPerConsole = 60;
inline constexpr unsigned kMaxGroups = 120;
inline constexpr unsigned kNameSize = 13;  // 12 characters and a NUL

// One field of a block: `width` bytes per element (numbers little-endian,
// names kNameSize bytes), elements laid out row by row over `dims`.
struct Field {
    std::string_view name;
    uint8_t block;
    uint32_t offset;
    uint8_t width;
    std::array<uint16_t, 3> dims;

    constexpr uint32_t count() const { return uint32_t{dims[0]} * dims[1] * dims[2]; }
    constexpr uint32_t size() const { return width * count(); }
    constexpr uint32_t end() const { return offset + size(); }
    // Byte offset in the block of element [i][j][k].
    constexpr uint32_t At(uint32_t i = 0, uint32_t j = 0, uint32_t k = 0) const {
        return offset + width * ((i * dims[1] + j) * dims[2] + k);
    }
};

// Every field of every block, in one place.
namespace fields {
// Block 0, equipment.
inline constexpr Field host_count{"host_count", 0, 0, 1, {1, 1, 1}};
inline constexpr Field group_count{"group_count", 0, 1, 1, {1, 1, 1}};
inline constexpr Field bgm_play_mode{"bgm_play_mode", 0, 2, 1, {1, 1, 1}};
inline constexpr Field zone_work_enable{"zone_work_enable", 0, 3, 1, {20, 1, 1}};
inline constexpr Field zone_detect_enable{"zone_detect_enable", 0, 23, 1, {20, 1, 1}};
inline constexpr Field mic_prompt_push{"mic_prompt_push", 0, 43, 1, {1, 1, 1}};
inline constexpr Field mic_prompt_release{"mic_prompt_release", 0, 44, 1, {1, 1, 1}};
// Block 1, paging.
inline constexpr Field paging_type{"paging_type", 1, 0, 1, {32, 1, 1}};
inline constexpr Field paging_count{"paging_count", 1, 32, 4, {1, 1, 1}};
inline constexpr Field key_zones{"key_zones", 1, 36, 1, {32, 60, 20}};
inline constexpr Field paging_address{"paging_address", 1, 38436, 1, {32, 1, 1}};
inline constexpr Field key_mode_bits{"key_mode_bits", 1, 38468, 1, {32, 8, 1}};
inline constexpr Field key_bgm_type{"key_bgm_type", 1, 38724, 1, {32, 60, 1}};
inline constexpr Field key_message{"key_message", 1, 40644, 1, {32, 60, 1}};
inline constexpr Field paging_prompt{"paging_prompt", 1, 42564, 1, {32, 2, 1}};
inline constexpr Field key_name{"key_name", 1, 42628, kNameSize, {60, 1, 1}};
// Block 2, fire alarm.
inline constexpr Field fire_flags{"fire_flags", 2, 0, 1, {1, 1, 1}};
inline constexpr Field contact_msg_kind{"contact_msg_kind", 2, 1, 1, {20, 1, 1}};
inline constexpr Field contact_qavo_msg{"contact_qavo_msg", 2, 21, 1, {20, 8, 1}};
inline constexpr Field contact_alert_msg{"contact_alert_msg", 2, 181, 1, {20, 8, 1}};
inline constexpr Field contact_release{"contact_release", 2, 341, 1, {20, 1, 1}};
inline constexpr Field fire_spare_361{"spare", 2, 361, 1, {1, 1, 1}};
inline constexpr Field qavo_play_time{"qavo_play_time", 2, 362, 2, {1, 1, 1}};
inline constexpr Field alert_play_time{"alert_play_time", 2, 364, 2, {1, 1, 1}};
inline constexpr Field qavo_play_count{"qavo_play_count", 2, 366, 1, {1, 1, 1}};
inline constexpr Field alert_play_count{"alert_play_count", 2, 367, 1, {1, 1, 1}};
inline constexpr Field neighbour_span{"neighbour_span", 2, 368, 1, {1, 1, 1}};
inline constexpr Field fire_spare_369{"spare", 2, 369, 1, {1, 1, 1}};
inline constexpr Field alarm_delay{"alarm_delay", 2, 370, 2, {1, 1, 1}};
inline constexpr Field contact_zones{"contact_zones", 2, 372, 1, {20, 8, 20}};
inline constexpr Field contact_relays{"contact_relays", 2, 3572, 1, {20, 8, 1}};
// Block 3, reserved: kept as the host sends it, never interpreted.
inline constexpr Field reserved{"reserved", 3, 0, 1, {40, 1, 1}};
// Block 4, groups.
inline constexpr Field group_zones{"group_zones", 4, 0, 1, {120, 20, 1}};
inline constexpr Field group_name{"group_name", 4, 2400, kNameSize, {120, 1, 1}};
// Block 5, audio priority (ranks stored as shown minus 1).
inline constexpr Field priority_mic{"priority_mic", 5, 0, 1, {1, 1, 1}};
inline constexpr Field priority_paging{"priority_paging", 5, 1, 1, {32, 1, 1}};
inline constexpr Field priority_qavo{"priority_qavo", 5, 33, 1, {1, 1, 1}};
inline constexpr Field priority_alert{"priority_alert", 5, 34, 1, {1, 1, 1}};
inline constexpr Field priority_bgm{"priority_bgm", 5, 35, 1, {1, 1, 1}};
inline constexpr Field priority_line{"priority_line", 5, 36, 1, {6, 1, 1}};
inline constexpr Field expansion_priority{"expansion_priority", 5, 42, 1, {19, 7, 1}};

inline constexpr std::array kAll = {
    host_count,         group_count,        bgm_play_mode,    zone_work_enable, zone_detect_enable,
    mic_prompt_push,    mic_prompt_release, paging_type,      paging_count,     key_zones,
    paging_address,     key_mode_bits,      key_bgm_type,     key_message,      paging_prompt,
    key_name,           fire_flags,         contact_msg_kind, contact_qavo_msg, contact_alert_msg,
    contact_release,    fire_spare_361,     qavo_play_time,   alert_play_time,  qavo_play_count,
    alert_play_count,   neighbour_span,     fire_spare_369,   alarm_delay,      contact_zones,
    contact_relays,     reserved,           group_zones,      group_name,       priority_mic,
    priority_paging,    priority_qavo,      priority_alert,   priority_bgm,     priority_line,
    expansion_priority,
};
}  // namespace fields

// The console's mirror of the host's configuration.
class ParamImage {
  public:
    // Every block filled with its defaults.
    ParamImage();

    void ApplyDefaults();

    // The bytes of block `id`; empty for ids above 5.
    std::span<uint8_t> Block(unsigned id);
    std::span<const uint8_t> Block(unsigned id) const;

    // A number field element (width 1, 2 or 4), little-endian.
    uint32_t Get(const Field& field, uint32_t i = 0, uint32_t j = 0, uint32_t k = 0) const;
    void Set(const Field& field, uint32_t value, uint32_t i = 0, uint32_t j = 0, uint32_t k = 0);
    // A name field element: the text up to its NUL (at most 12 characters).
    std::string GetName(const Field& field, uint32_t i) const;

    uint32_t host_count() const { return Get(fields::host_count); }
    uint32_t group_count() const { return Get(fields::group_count); }
    uint32_t paging_count() const { return Get(fields::paging_count); }
    // The counts as far as the arrays reach: what any copy or reader may use
    // while a count read from the host is still out of range.
    unsigned BoundedHostCount() const;
    unsigned BoundedPagingCount() const;
    unsigned BoundedGroupCount() const;

    friend bool operator==(const ParamImage&, const ParamImage&) = default;

  private:
    std::array<std::vector<uint8_t>, kBlockCount> blocks_;
};

}  // namespace qavo
