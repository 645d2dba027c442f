#pragma once

// What the state windows show: the lines of the state list and every text,
// colour and check state of the host detail dialog, from plain copies of
// the live status. No widgets here.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "model/live_status.h"
#include "model/param_image.h"

namespace qavo {

// ---- state list ----

inline constexpr const char* kStateIdHeader = "   STATE & EQUIPMENT ID";
inline constexpr const char* kStateDetailHeader = "DETAILED";
inline constexpr int kStateIdColumnWidth = 150;
inline constexpr int kStateDetailColumnWidth = 1024;

// Images of the state list: the equipment is without fault, or not.
enum StateImage : int { kStateGood = 0, kStateFault = 1 };

// What the state list reads, copied under the model lock.
struct StateSnapshot {
    unsigned host_count = 0;
    unsigned paging_count = 0;
    std::array<uint8_t, kMaxHosts> host_state{};
    std::array<uint8_t, kMaxHosts> host_config{};
    std::array<uint8_t, kMaxPagingConsoles> paging_state{};
    std::array<uint8_t, kMaxPagingConsoles> paging_type{};
};
// The copy; the caller holds the model lock.
StateSnapshot TakeStateSnapshot(const ParamImage& image, const LiveStatus& live);

struct StateRow {
    std::string id_text;  // column 0
    StateImage image;
    std::string detail;  // column 1
    friend bool operator==(const StateRow&, const StateRow&) = default;
};

// The detail text of host `host` (0 = the main host).
std::string HostDetailText(unsigned host, uint8_t host_state, uint8_t host_config);
// The detail text of a paging console.
std::string PagingDetailText(uint8_t paging_state, uint8_t paging_type);
// The host lines, then the paging console lines. Counts beyond the arrays
// are cut to what the arrays hold.
std::vector<StateRow> BuildStateRows(const StateSnapshot& snapshot);

// ---- host detail dialog ----

struct TextColour {
    uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(const TextColour&, const TextColour&) = default;
};
inline constexpr TextColour kNormalColour{0, 0, 255};
inline constexpr TextColour kFaultColour{255, 102, 0};
inline constexpr TextColour kTriggerColour{255, 0, 0};

struct ValueText {
    std::string text;
    TextColour colour = kNormalColour;
    friend bool operator==(const ValueText&, const ValueText&) = default;
};

// The general rows of the dialog: the id of the value and the row's label.
struct GeneralRow {
    int value_id;
    const char* label;
};
inline constexpr std::array<GeneralRow, 7> kGeneralRows = {{
    {1321, "Device onlines status"},
    {1322, "AC power states"},
    {1323, "DC power states"},
    {1359, "Main amplifier  states"},
    {1326, "Spare amplifier  states"},
    {1324, "SD card status"},
    {1325, "Emergency microphone statu ( PTT )"},
}};
// The SD card and PTT rows belong to the main host only; for the other
// hosts they are disabled and show the dialog's blank text.
inline constexpr size_t kSdCardRow = 5;
inline constexpr size_t kPttRow = 6;

inline constexpr int kFirstZoneLineId = 1327;  // line A of zone z: + 2z; line B: + 2z + 1
inline constexpr int kFirstInputId = 1343;
inline constexpr int kFirstRelayId = 1351;

// What the dialog reads for one host, copied under the model lock.
struct HostDetailInput {
    unsigned host = 0;
    uint8_t host_state = 0;
    uint8_t host_config = 0;
    uint8_t main_host_config = 0;  // host_config[0], with the supervision bit
    std::array<uint8_t, 4> zone_lines{};
    uint16_t contact_inputs = 0;
    uint8_t relay_outputs = 0;
};
// The copy; the caller holds the model lock. A host beyond the arrays reads
// as all zero.
HostDetailInput TakeHostDetailInput(const LiveStatus& live, unsigned host);

struct GeneralValue {
    ValueText value;
    bool enabled = true;  // the value and its label
    friend bool operator==(const GeneralValue&, const GeneralValue&) = default;
};

struct HostDetail {
    std::string caption;
    std::array<GeneralValue, 7> general;  // in the order of kGeneralRows
    std::array<ValueText, 8> line_a;
    std::array<ValueText, 8> line_b;
    std::array<ValueText, 8> inputs;
    std::array<bool, 8> relays{};
    friend bool operator==(const HostDetail&, const HostDetail&) = default;
};

std::string HostDetailCaption(unsigned host);
// "Short", "Open" or "Normal" (any other value), with its colour.
ValueText ZoneLineValue(unsigned line_value);
// "Normal", "Short", "Open" or "Trigger", with its colour.
ValueText ContactInputValue(unsigned input_value);
HostDetail BuildHostDetail(const HostDetailInput& input);

// The relay byte from the eight check boxes: box r gives bit r.
uint8_t RelayByte(const std::array<bool, 8>& checked);

}  // namespace qavo
