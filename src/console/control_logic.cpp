#include "console/control_logic.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "platform/text_format.h"

#include "link/frame.h"

namespace qavo {
namespace {

bool ZoneBit(uint8_t mask, unsigned zone) {
    return (mask >> zone) & 1u;
}

}  // namespace

CellImage ZoneCellImage(const LiveStatus& live, unsigned host, unsigned zone, uint8_t present) {
    if (host >= kMaxHosts || zone >= kZonesPerHost || !ZoneBit(present, zone)) {
        return kCellNotInstalled;
    }
    if (ZoneBit(live.zones_on_air[host], zone)) {
        const uint8_t source = live.audio_source[host];
        const bool message = source == kSourceQavoMessage || source == kSourceAlertMessage;
        return message ? kCellOnAirMessage : kCellOnAir;
    }
    const uint8_t byte = live.zone_lines[host][zone / 2];
    const uint8_t nibble = (zone % 2 == 0) ? (byte & 0x0F) : (byte >> 4);
    return nibble != 0 ? kCellLineFault : kCellIdle;
}

ZoneMask AllZonesSelection(const ParamImage& image) {
    ZoneMask mask{};
    for (unsigned h = 0; h < image.BoundedHostCount(); ++h) {
        mask[h] = static_cast<uint8_t>(image.Get(fields::zone_work_enable, h));
    }
    return mask;
}

ZoneMask GroupSelection(const ParamImage& image, std::span<const unsigned> groups) {
    ZoneMask mask{};
    for (unsigned g : groups) {
        if (g >= image.BoundedGroupCount()) continue;
        for (unsigned h = 0; h < image.BoundedHostCount(); ++h) {
            mask[h] |= static_cast<uint8_t>(image.Get(fields::group_zones, g, h));
        }
    }
    return mask;
}

std::vector<GroupRow> BuildGroupRows(const ParamImage& image, const CodePage& code_page) {
    std::vector<GroupRow> rows;
    const auto names = image.Block(kGroupsBlock);
    for (unsigned g = 0; g < image.BoundedGroupCount(); ++g) {
        // The text is at most 12 bytes: the 13th byte is not part of it.
        const auto name = names.subspan(fields::group_name.At(g), kNameSize - 1);
        rows.push_back({Format("      %.2d", g + 1), code_page.DecodeName(name)});
    }
    return rows;
}

std::vector<ZoneRow> BuildZoneRows(const ParamImage& image, const LiveStatus& live,
                                   const ZoneMask& shown, bool group_view) {
    std::vector<ZoneRow> rows;
    for (unsigned h = 0; h < image.BoundedHostCount(); ++h) {
        if (group_view && shown[h] == 0) continue;
        ZoneRow row{h, Format("    %.2d", h + 1), {}};
        const uint8_t present =
            group_view ? static_cast<uint8_t>(image.Get(fields::zone_work_enable, h)) : shown[h];
        for (unsigned z = 0; z < kZonesPerHost; ++z) {
            if (group_view && !ZoneBit(shown[h], z)) continue;
            row.cells.push_back(
                {z, Format("ZONE %.2d", z + 1), ZoneCellImage(live, h, z, present)});
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

AudioButton LineButton(int line) {
    return static_cast<AudioButton>(static_cast<int>(AudioButton::kLine1) + std::clamp(line, 1, 6) -
                                    1);
}

AllZonesAction AllZonesToggle(size_t selected_rows, size_t rows) {
    return selected_rows == rows ? AllZonesAction::kDeselectAll : AllZonesAction::kSelectAll;
}

bool AckResetAllowed(uint8_t system_flags) {
    return (system_flags & kFlagFault) && !(system_flags & kFlagFaultAcknowledged);
}

Job ReflashJob() {
    Job job;
    job.job_kind = JobKind::kSingle;
    job.job_op = READ_STATUS;
    job.job_param = 255;  // every host
    return job;
}

Job CellCommandJob(int row, int column) {
    Job job;
    job.job_kind = JobKind::kSingle;
    job.job_op = CELL_COMMAND;
    job.job_param = row;
    job.job_param2 = column;
    return job;
}

void ControlPanel::ShowAllZones(const ParamImage& image) {
    last_group_ = -1;
    shown_zones_ = AllZonesSelection(image);
}

bool ControlPanel::ClickGroupList(const ParamImage& image, int row,
                                  std::span<const unsigned> selected) {
    if (row < 0) {
        if (!selected.empty()) return false;  // a group is still selected: stay
        ShowAllZones(image);
        return true;
    }
    last_group_ = row;
    if (!selected.empty()) shown_zones_ = GroupSelection(image, selected);
    return true;
}

void ControlPanel::TakeSelection(const ParamImage& image, std::span<const unsigned> selected) {
    const ZoneMask mask = GroupSelection(image, selected);
    std::copy(mask.begin(), mask.end(), audio_request_.begin() + 1);
}

Job ControlPanel::AudioJob(uint8_t source, int action) const {
    Job job;
    job.job_kind = JobKind::kAudioControl;
    job.job_op = AUDIO_CONTROL;
    job.job_param = action;
    job.audio_request = audio_request_;
    job.audio_request[0] = source;
    return job;
}

ButtonResult ControlPanel::Press(AudioButton button, const ParamImage& image, uint8_t system_flags,
                                 std::span<const unsigned> selected) {
    ButtonResult result;
    const bool groups = !selected.empty();
    const auto refuse = [&result](const char* text) {
        result.message = BoxRequest{text, kZonesControlCaption, BoxButtons::kOk, BoxIcon::kWarning};
    };
    const auto take = [&] {
        TakeSelection(image, selected);
        result.deselect_groups = true;
    };
    const auto send = [&](uint8_t source, int action) {
        audio_request_[0] = source;
        result.job = AudioJob(source, action);
    };

    switch (button) {
        case AudioButton::kQavo:
        case AudioButton::kAlert:
            if (!groups) {
                refuse(kSelectGroupText);
                return result;
            }
            take();
            if (!(system_flags & kFlagEmergency)) {
                refuse(kNotEmergencyText);
                return result;
            }
            send(button == AudioButton::kQavo ? kSourceQavoMessage : kSourceAlertMessage,
                 kAudioStart);
            break;
        case AudioButton::kOff:
            if (!groups) {
                refuse(kSelectGroupText);
                return result;
            }
            take();
            send(kSourceNone, kAudioStop);
            break;
        default: {
            const int line = static_cast<int>(button) - static_cast<int>(AudioButton::kLine1) + 1;
            if (groups) take();
            send(static_cast<uint8_t>(kSourceLineBase + line),
                 groups ? kAudioStart : kAudioStartLine);
            if (!groups) return result;  // the view stays as it is
            break;
        }
    }
    ShowAllZones(image);
    result.all_zones_view = true;
    return result;
}

ButtonDots ComputeButtonDots(const LiveStatus& live) {
    const uint8_t source = live.audio_source[0];
    ButtonDots dots;
    for (int n = 1; n <= 6; ++n) {
        dots.lines[n - 1] = source == kSourceLineBase + n ? StateDot::kGreen : StateDot::kGrey;
    }
    if (live.qavo_message_count == 0) {
        dots.qavo = StateDot::kYellow;
    } else {
        dots.qavo = source == kSourceQavoMessage ? StateDot::kRed : StateDot::kGrey;
    }
    if (live.alert_message_count == 0) {
        dots.alert = StateDot::kYellow;
    } else {
        dots.alert = source == kSourceAlertMessage ? StateDot::kGreen : StateDot::kGrey;
    }
    return dots;
}

bool NextFaultLamp(bool lit, uint8_t system_flags) {
    if (!(system_flags & kFlagFault)) return false;
    if (system_flags & kFlagFaultAcknowledged) return true;
    return !lit;
}

bool NextEmergencyLamp(bool lit, uint8_t system_flags) {
    return ((system_flags & kFlagEmergency) || lit) ? !lit : lit;
}

ControlLayout ComputeControlLayout(int width, int height) {
    // Below this the column is cut off rather than squeezed further.
    constexpr double kMinScale = 0.6;
    const double scale = height >= kFullColumnHeight
                             ? 1.0
                             : std::max(kMinScale, static_cast<double>(std::max(height - 10, 0)) /
                                                       (kFullColumnHeight - 10));
    const auto v = [scale](int value) { return static_cast<int>(std::lround(value * scale)); };
    // A control of the right-hand column, `from_right` pixels left of the
    // edge. Top and bottom are scaled alike, so what lay apart stays apart.
    const auto col = [&](int from_right, int top, int w, int h) {
        return Rect{width - from_right, v(top), w, v(top + h) - v(top)};
    };
    const auto lamp = [&](int top) {
        const int side = v(top + 30) - v(top);
        return Rect{width - 155, v(top), side, side};
    };

    ControlLayout l;
    l.system_box = col(180, 8, 170, 132);
    l.emergency_lamp = lamp(25);
    l.emergency_label = col(110, 33, 89, 22);
    l.fault_lamp = lamp(56);
    l.fault_label = col(110, 63, 89, 23);
    l.ack_reset = col(165, 90, 144, 40);
    l.message_box = col(180, 150, 170, 130);
    l.qavo = col(165, 175, 144, 40);
    l.alert = col(165, 225, 144, 40);
    l.line_box = col(180, 290, 170, 330);
    for (int i = 0; i < 6; ++i)
        l.lines[i] = col(165, 315 + 50 * i, 144, 40);
    l.function_box = col(180, 635, 172, 130);
    l.all_zones = col(165, 660, 144, 40);
    l.off = col(165, 710, 144, 40);

    const int list_split = (width / 9) * 2;
    l.group_list = Rect{0, 0, list_split, height};
    l.zone_list = Rect{list_split, 0, std::max(width - list_split - 192, 0), height};
    return l;
}

int FitColumnWidth(int preferred, int available, int minimum) {
    return std::max(minimum, std::min(preferred, available));
}

Rect CellButtonRect(const Rect& cell) {
    return Rect{cell.x + kCellImageWidth, cell.y, std::max(cell.w - kCellImageWidth, 0), cell.h};
}

CellClick DecideCellClick(std::optional<CellRef> open, std::optional<CellRef> clicked,
                          bool shows_zone) {
    if (open) return clicked == open ? CellClick::kFocus : CellClick::kClose;
    if (!clicked || clicked->row < 0) return CellClick::kNothing;
    const bool zone_column =
        clicked->column >= kFirstZoneColumn && clicked->column < kZoneColumnCount;
    return zone_column && shows_zone ? CellClick::kOpen : CellClick::kNothing;
}

}  // namespace qavo
