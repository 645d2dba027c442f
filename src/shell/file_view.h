#pragma once

#include <QDockWidget>
#include <array>
#include <functional>

#include "shell/shell_logic.h"

class QTreeWidget;
class QTreeWidgetItem;

namespace qavo {

// The navigation pane "System Control & Config": five top-level items and
// their sub-items. Selecting a top-level item switches the central view; a
// sub-item opens its dialog and gives the selection back to a top-level
// item. Nothing can be reached while nobody is logged in.
class CFileView : public QDockWidget {
    Q_OBJECT
  public:
    struct Hooks {
        std::function<bool()> logged_in = [] { return false; };
        // WM_SWITCH_VIEW with the item.
        std::function<void(NavItem)> switch_view = [](NavItem) {};
        // The dialog of a sub-item, with its own checks.
        std::function<void(NavItem)> open_dialog = [](NavItem) {};
    };

    explicit CFileView(Hooks hooks, QWidget* parent = nullptr);

    void select(NavItem item);
    NavItem selected() const;
    // The STATE item's image: the monitor with the red exclamation mark
    // while a fault is present.
    void setStateFault(bool fault);
    bool stateFault() const { return state_fault_; }
    // Command 135: toggles SYSTEM CONFIGURATION and OTHER open or closed.
    void toggleProperties();
    bool inConfigView() const { return in_config_view_; }
    QTreeWidget* tree() const { return tree_; }
    QTreeWidgetItem* item(NavItem item) const { return items_[static_cast<int>(item)]; }

  private:
    void onSelected(QTreeWidgetItem* current);
    void showMenu(const QPoint& pos);

    Hooks hooks_;
    QTreeWidget* tree_;
    std::array<QTreeWidgetItem*, kNavItemCount> items_{};
    bool in_config_view_ = false;
    bool state_fault_ = false;
};

}  // namespace qavo
