#pragma once

#include <optional>
#include <string>

namespace qavo {

// The text of the progress dialog: the mode's text followed by the
// percentage done ("%d%%", truncated). `after_step` is true when a step has
// been counted: the log export (mode 4) then shows the percentage alone.
std::string ProgressText(int mode, int count, int total, bool after_step);
int ProgressPercent(int count, int total);

// The items of the navigation tree.
enum class NavItem {
    kControl,
    kState,
    kConfig,
    kEquipment,
    kFireMode,
    kGroup,
    kAudioPriority,
    kLog,
    kOther,
    kUserPassword,
    kSystemTiming,
    kImpedance,
};
inline constexpr int kNavItemCount = 12;
bool IsTopLevel(NavItem item);
bool IsConfigSubItem(NavItem item);
// The central view of a top-level item (0 for a sub-item).
int ViewIdOf(NavItem item);

// What selecting an item does.
struct NavDecision {
    bool snap_to_control = false;        // nobody is logged in: select CONTROL, nothing else
    std::optional<NavItem> switch_view;  // WM_SWITCH_VIEW with this item
    std::optional<NavItem> reselect;     // select this top-level item afterwards
    bool open_dialog = false;            // the sub-item's dialog is shown (with its checks)
};

// Decides a selection change; updates `in_config_view` (set while the
// configuration view has been asked for since CONTROL or LOG was chosen).
NavDecision DecideNavigation(NavItem selected, bool pane_visible, bool logged_in,
                             bool& in_config_view);

// The clock pane: "%Y/%m/%d %H:%M:%S" in local time.
std::string FormatClock(long long seconds_since_epoch);

// The looks of the application, by command id 205 to 219; unknown ids give
// the default, 210.
struct Look {
    int id;
    const char* name;
};
int ValidLook(int id);

}  // namespace qavo
