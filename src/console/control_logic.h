#pragma once

// What the control view decides: which zones it shows and with which image,
// what each button sends or says, how the lamps blink, the button dots, the
// list texts and where the controls go. No widgets here.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "link/command_job.h"
#include "model/live_status.h"
#include "model/param_image.h"
#include "platform/code_page.h"
#include "platform/prompter.h"

namespace qavo {

// One byte per host, bit z for zone z + 1.
using ZoneMask = std::array<uint8_t, kMaxHosts>;
// Byte 0 the audio source, bytes 1 to 20 the zone mask.
using AudioRequest = std::array<uint8_t, kMaxHosts + 1>;

// The image of a zone cell; the index into the lists' image set.
enum CellImage : int {
    kCellIdle = 0,          // grey dot
    kCellOnAir = 1,         // green dot
    kCellOnAirMessage = 2,  // red dot: the host plays the QAVO or alert message
    kCellLineFault = 3,     // yellow dot
    kCellNotInstalled = 4,  // no-entry sign
};
inline constexpr int kCellImageCount = 5;

// The image of zone `zone` of host `host`. `present` is the mask that says
// whether the zone is there at all: the shown zones in the all-zones view,
// zone_work_enable in a group view. On air wins over a line fault.
CellImage ZoneCellImage(const LiveStatus& live, unsigned host, unsigned zone, uint8_t present);

// Every working zone of every host.
ZoneMask AllZonesSelection(const ParamImage& image);
// The zones of the given groups together (rows beyond the group count are ignored).
ZoneMask GroupSelection(const ParamImage& image, std::span<const unsigned> groups);

// ---- list contents ----

inline constexpr const char* kGroupIdHeader = " GROUP ID";
inline constexpr const char* kGroupNameHeader = "GROUP NAME";
inline constexpr const char* kHostIdHeader = " HOST ID";
inline constexpr const char* kZoneHeader = "         ";
inline constexpr int kGroupIdColumnWidth = 72;
inline constexpr int kGroupNameColumnWidth = 160;
inline constexpr int kHostIdColumnWidth = 60;
inline constexpr int kZoneColumnWidth = 102;
inline constexpr int kFirstZoneColumn = 2;
inline constexpr int kZoneColumnCount = 10;  // 0 and 1, then eight zones

struct GroupRow {
    std::string id_text;
    std::string name;  // UTF-8, read from its stored bytes with the console's code page
    friend bool operator==(const GroupRow&, const GroupRow&) = default;
};
std::vector<GroupRow> BuildGroupRows(const ParamImage& image, const CodePage& code_page);

struct ZoneCell {
    unsigned zone;
    std::string text;
    CellImage image;
    friend bool operator==(const ZoneCell&, const ZoneCell&) = default;
};
struct ZoneRow {
    unsigned host;
    std::string host_text;
    std::vector<ZoneCell> cells;  // cells[i] goes into column i + 2
    friend bool operator==(const ZoneRow&, const ZoneRow&) = default;
};
// The all-zones view lists every host with its eight zones; a group view
// lists only the hosts with shown zones, their shown zones packed left.
std::vector<ZoneRow> BuildZoneRows(const ParamImage& image, const LiveStatus& live,
                                   const ZoneMask& shown, bool group_view);

// ---- buttons ----

enum class AudioButton { kQavo, kAlert, kLine1, kLine2, kLine3, kLine4, kLine5, kLine6, kOff };
// LINE 01 to LINE 06 by number.
AudioButton LineButton(int line);

inline constexpr const char* kZonesControlCaption = "Zones control";
inline constexpr const char* kSelectGroupText = "Please select a valid group!";
inline constexpr const char* kNotEmergencyText =
    "The operation is not valid. Please enter the emergency mode and try again!";

// Actions of AUDIO_CONTROL.
inline constexpr int kAudioStop = 0;
inline constexpr int kAudioStart = 1;
inline constexpr int kAudioStartLine = 2;  // line input without a new zone selection

struct ButtonResult {
    std::optional<BoxRequest> message;  // shown instead of sending
    std::optional<Job> job;             // queued for the worker
    bool deselect_groups = false;       // the selected group rows are cleared
    bool all_zones_view = false;        // the view went back to all zones
};

enum class AllZonesAction { kSelectAll, kDeselectAll };
// ALL ZONES: deselects when every row is selected, else selects every row.
AllZonesAction AllZonesToggle(size_t selected_rows, size_t rows);

// ACK / RESET acts only on a fault that is present and not yet acknowledged.
bool AckResetAllowed(uint8_t system_flags);

Job ReflashJob();
Job CellCommandJob(int row, int column);

// The selection state of the view and the zone request it sends. The zone
// mask of the last request is kept: a LINE button pressed with no group
// selected sends it again.
class ControlPanel {
  public:
    // No group row clicked, every working zone shown.
    void ShowAllZones(const ParamImage& image);
    // A click in the group list on `row`, or on empty space (-1), with the
    // rows now `selected`. True when the zone list is to be rebuilt.
    bool ClickGroupList(const ParamImage& image, int row, std::span<const unsigned> selected);
    ButtonResult Press(AudioButton button, const ParamImage& image, uint8_t system_flags,
                       std::span<const unsigned> selected);

    const ZoneMask& shown_zones() const { return shown_zones_; }
    int last_group() const { return last_group_; }
    bool group_view() const { return last_group_ != -1; }
    const AudioRequest& audio_request() const { return audio_request_; }

  private:
    void TakeSelection(const ParamImage& image, std::span<const unsigned> selected);
    Job AudioJob(uint8_t source, int action) const;

    ZoneMask shown_zones_{};
    int last_group_ = -1;
    AudioRequest audio_request_{};
};

// ---- dots and lamps ----

enum class StateDot { kGrey, kGreen, kRed, kYellow };
struct ButtonDots {
    StateDot qavo = StateDot::kGrey;
    StateDot alert = StateDot::kGrey;
    std::array<StateDot, 6> lines{};
    friend bool operator==(const ButtonDots&, const ButtonDots&) = default;
};
// From the main host's source and the message counts.
ButtonDots ComputeButtonDots(const LiveStatus& live);

// The lamps' blink phase after one tick of their timer.
bool NextFaultLamp(bool lit, uint8_t system_flags);
bool NextEmergencyLamp(bool lit, uint8_t system_flags);
// The lamps' pictures when the view starts (the blink phases start dark).
inline bool FaultLampLitAtStart(uint8_t flags) {
    return (flags & kFlagFault) != 0;
}
inline bool EmergencyLampLitAtStart(uint8_t flags) {
    return (flags & kFlagEmergency) != 0;
}

// ---- layout ----

struct Rect {
    int x = 0, y = 0, w = 0, h = 0;
    int right() const { return x + w; }
    int bottom() const { return y + h; }
    friend bool operator==(const Rect&, const Rect&) = default;
};

struct ControlLayout {
    Rect system_box, emergency_lamp, emergency_label, fault_lamp, fault_label, ack_reset;
    Rect message_box, qavo, alert;
    Rect line_box;
    std::array<Rect, 6> lines;
    Rect function_box, all_zones, off;
    Rect group_list, zone_list;
};
// The height the right-hand column needs at full size.
inline constexpr int kFullColumnHeight = 775;
// Places the controls of a width x height client area against its right
// edge. Lower than kFullColumnHeight, the right-hand column is scaled down
// so that nothing is cut off.
ControlLayout ComputeControlLayout(int width, int height);

// Width of a column that prefers `preferred` pixels, gets `available`, and
// must not drop below `minimum`.
int FitColumnWidth(int preferred, int available, int minimum);

// Where the cell button goes over a cell: right of the cell's image.
inline constexpr int kCellImageWidth = 24;
Rect CellButtonRect(const Rect& cell);

struct CellRef {
    int row = -1;
    int column = -1;
    friend bool operator==(const CellRef&, const CellRef&) = default;
};
enum class CellClick { kNothing, kOpen, kFocus, kClose };
// A click in the zone list on `clicked` (nullopt: empty space) while the
// cell button covers `open` (nullopt: none). `shows_zone` says whether the
// clicked cell holds a zone.
CellClick DecideCellClick(std::optional<CellRef> open, std::optional<CellRef> clicked,
                          bool shows_zone);

}  // namespace qavo
