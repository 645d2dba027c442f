#pragma once

#include <QIcon>
#include <array>

#include "console/state_logic.h"
#include "shell/console_services.h"
#include "shell/console_view.h"

namespace qavo {

class CHostSt;
class ReportList;

// The state list: one line per host and per paging console with a summary
// of its state. A double-click on a host line opens the host's detail
// dialog, which stays up to date while it is shown.
class CState : public ConsoleView {
    Q_OBJECT
  public:
    // The item data role under which column 0 keeps its image index.
    static constexpr int kImageRole = Qt::UserRole + 1;

    explicit CState(ConsoleServices& services, QWidget* parent = nullptr);
    ~CState() override;

    int viewId() const override { return kStateView; }
    void notify(WindowMessage message, intptr_t wparam) override;

    // Empties the list and fills it from the model.
    void rebuild();
    // Opens the detail dialog, application-modal, for the host of list row
    // `row`; a row at or beyond the host count opens nothing. True when the
    // dialog opened.
    bool openHostDialog(int row);

    ReportList* list() const { return list_; }
    CHostSt* hostDialog() const { return host_dialog_; }

  private:
    ConsoleServices& services_;
    ReportList* list_ = nullptr;
    CHostSt* host_dialog_ = nullptr;
    std::array<QIcon, 2> images_;
};

}  // namespace qavo
