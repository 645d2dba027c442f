#include "shell/shell_logic.h"

#include <cstdio>
#include <ctime>

namespace qavo {

int ProgressPercent(int count, int total) {
    if (total <= 0 || count < 0) return 0;
    const double ratio = static_cast<double>(static_cast<unsigned>(count)) /
                         static_cast<double>(static_cast<unsigned>(total));
    return static_cast<int>(ratio * 100.0);
}

std::string ProgressText(int mode, int count, int total, bool after_step) {
    const char* text = "";
    switch (mode) {
        case 0:
            text = "Is downloading, please wait...   ";
            break;
        case 1:
            text = "Is synchronizing the QAVO host state later, please...";
            break;
        case 3:
            text = "Syncing system parameters, please wait ...";
            break;
        case 4:
            text = "Saving system log, please wait for a moment...";
            break;
        default:
            break;
    }
    char percent[16];
    std::snprintf(percent, sizeof percent, "%d%%", ProgressPercent(count, total));
    if (mode == 4) return after_step ? std::string(percent) : std::string(text);
    return std::string(text) + percent;
}

bool IsTopLevel(NavItem item) {
    switch (item) {
        case NavItem::kControl:
        case NavItem::kState:
        case NavItem::kConfig:
        case NavItem::kLog:
        case NavItem::kOther:
            return true;
        default:
            return false;
    }
}

bool IsConfigSubItem(NavItem item) {
    return item == NavItem::kEquipment || item == NavItem::kFireMode || item == NavItem::kGroup ||
           item == NavItem::kAudioPriority;
}

int ViewIdOf(NavItem item) {
    switch (item) {
        case NavItem::kControl:
            return 101;
        case NavItem::kState:
            return 359;
        case NavItem::kConfig:
            return 500;
        case NavItem::kLog:
            return 319;
        case NavItem::kOther:
            return 320;
        default:
            return 0;
    }
}

NavDecision DecideNavigation(NavItem selected, bool pane_visible, bool logged_in,
                             bool& in_config_view) {
    NavDecision d;
    if (pane_visible && !logged_in) {
        d.snap_to_control = selected != NavItem::kControl;
        return d;
    }
    NavItem view = selected;
    if (IsConfigSubItem(selected) && !in_config_view) {
        view = NavItem::kConfig;
        in_config_view = true;
    }
    d.switch_view = view;
    if (IsConfigSubItem(selected)) {
        d.open_dialog = true;
        d.reselect = NavItem::kConfig;
    } else if (selected == NavItem::kUserPassword || selected == NavItem::kSystemTiming) {
        d.open_dialog = true;
        d.reselect = NavItem::kOther;
    } else if (selected == NavItem::kImpedance) {
        d.open_dialog = true;
        d.reselect = NavItem::kControl;
    }
    if (selected == NavItem::kControl || selected == NavItem::kLog) in_config_view = false;
    if (selected == NavItem::kConfig) in_config_view = true;
    return d;
}

std::string FormatClock(long long seconds) {
    std::time_t t = static_cast<std::time_t>(seconds);
    std::tm local{};
    localtime_r(&t, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y/%m/%d %H:%M:%S", &local);
    return text;
}

int ValidLook(int id) {
    if ((id >= 205 && id <= 210) || (id >= 215 && id <= 219)) return id;
    return 210;
}

}  // namespace qavo
