#pragma once

#include <QDate>

#include "persistence/log_table.h"
#include "shell/console_services.h"
#include "shell/console_view.h"

class QCheckBox;
class QComboBox;
class QDateEdit;
class QMenu;
class QTreeWidget;

namespace qavo {

// The host's event log: the copy kept in the table `log`, filtered by event
// type and by whole days. A complete log from the host replaces the table.
class CLog : public ConsoleView {
    Q_OBJECT
  public:
    explicit CLog(ConsoleServices& services, QWidget* parent = nullptr);

    int viewId() const override { return kLogView; }
    // WM_HOST_LOG_RECEIVED: the table is rebuilt from the host log area.
    void notify(WindowMessage message, intptr_t wparam) override;

    // The context menu (its one entry: "Reflash").
    QMenu* contextMenu() const { return menu_; }
    // The rows that the filter controls select now.
    LogFilter currentFilter() const;

  public slots:
    // Clears the table and the list and asks the host to clear its log,
    // once the operator confirms.
    void emptyAllLog();
    // Shows the rows of the table that the filter controls select.
    void reload();

  signals:
    // The context menu's "Reflash": the main window asks the host for its log.
    void reflashRequested();

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QDateEdit* makeDateEdit(const char* name);
    void rebuildTable();
    void showRows(const std::vector<LogRow>& rows);
    void reportDatabaseError();
    void datesEdited();

    ConsoleServices& services_;
    QComboBox* type_ = nullptr;
    QCheckBox* filter_ = nullptr;
    QDateEdit* start_ = nullptr;
    QDateEdit* end_ = nullptr;
    QTreeWidget* list_ = nullptr;
    QMenu* menu_ = nullptr;
    // The dates of the pickers when the list was last loaded.
    QDate shown_start_;
    QDate shown_end_;
};

}  // namespace qavo
