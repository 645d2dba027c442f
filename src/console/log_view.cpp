#include "console/log_view.h"

#include <QAction>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDateEdit>
#include <QHeaderView>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QToolTip>
#include <QTreeWidget>
#include <algorithm>

#include "console/log_events.h"
#include "link/frame.h"
#include "persistence/console_database.h"
#include "widgets/grid_delegate.h"

namespace qavo {
namespace {

constexpr int kFilterRowHeight = 55;
const QColor kViewGrey(153, 153, 153);
const QColor kListGrey(204, 204, 204);
const QColor kTypeBackground(204, 204, 255);

std::chrono::year_month_day Day(const QDate& date) {
    return std::chrono::year_month_day{std::chrono::year(date.year()),
                                       std::chrono::month(static_cast<unsigned>(date.month())),
                                       std::chrono::day(static_cast<unsigned>(date.day()))};
}

// Draws the grid lines of the report list under each cell.
class TipGridDelegate final : public GridDelegate {
  public:
    using GridDelegate::GridDelegate;

    // A cell too narrow for its text shows the whole text as its tool tip,
    // one part a line: a zone change names every zone of the host.
    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override {
        if (event->type() != QEvent::ToolTip || !index.isValid()) {
            return QStyledItemDelegate::helpEvent(event, view, option, index);
        }
        const QString text = index.data(Qt::DisplayRole).toString();
        const QWidget* widget = option.widget ? option.widget : view;
        const int margin =
            widget->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
        if (option.fontMetrics.horizontalAdvance(text) <= option.rect.width() - 2 * margin) {
            QToolTip::hideText();
            return true;
        }
        QString shown = text;
        shown.replace(QStringLiteral(" | "), QStringLiteral("\n"));
        QToolTip::showText(event->globalPos(), shown, view, option.rect);
        return true;
    }
};

QLabel* MakeLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, Qt::white);
    label->setPalette(pal);
    return label;
}

}  // namespace

CLog::CLog(ConsoleServices& services, QWidget* parent) : ConsoleView(parent), services_(services) {
    setObjectName("logView");
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, kViewGrey);
    setPalette(pal);
    const QFont arial("Arial");

    MakeLabel("Log type:", this)->setGeometry(10, 17, 70, 22);
    type_ = new QComboBox(this);
    type_->setObjectName("logType");
    type_->setFont(arial);
    QPalette type_pal = type_->palette();
    type_pal.setColor(QPalette::Base, kTypeBackground);
    type_pal.setColor(QPalette::Button, kTypeBackground);
    type_->setPalette(type_pal);
    for (std::string_view text : kLogTypeList)
        type_->addItem(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    type_->setCurrentIndex(0);
    type_->setGeometry(85, 15, 220, 26);

    filter_ = new QCheckBox("Filter", this);
    filter_->setObjectName("logFilter");
    filter_->setFont(arial);
    QPalette filter_pal = filter_->palette();
    filter_pal.setColor(QPalette::WindowText, Qt::white);
    filter_->setPalette(filter_pal);
    filter_->setGeometry(325, 15, 70, 26);

    MakeLabel("Start time:", this)->setGeometry(405, 17, 75, 22);
    start_ = makeDateEdit("logStart");
    start_->setGeometry(485, 15, 130, 26);
    MakeLabel("End time:", this)->setGeometry(630, 17, 70, 22);
    end_ = makeDateEdit("logEnd");
    end_->setGeometry(705, 15, 130, 26);

    list_ = new QTreeWidget(this);
    list_->setObjectName("logList");
    list_->setRootIsDecorated(false);
    list_->setIndentation(0);
    list_->setItemsExpandable(false);
    list_->setUniformRowHeights(true);
    list_->setAllColumnsShowFocus(true);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setItemDelegate(new TipGridDelegate(list_));
    list_->setColumnCount(4);
    list_->setHeaderLabels({"ID", "CALENDAR", "LOG TYPE", "DETAILED"});
    list_->header()->setStretchLastSection(false);
    list_->header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    const int widths[4] = {60, 160, 180, 512};
    for (int c = 0; c < 4; ++c) {
        list_->header()->setSectionResizeMode(c, QHeaderView::Interactive);
        list_->setColumnWidth(c, widths[c]);
    }
    QPalette list_pal = list_->palette();
    list_pal.setColor(QPalette::Base, kListGrey);
    list_pal.setColor(QPalette::AlternateBase, kListGrey);
    list_pal.setColor(QPalette::Text, QColor(0, 0, 255));
    list_->setPalette(list_pal);
    // The header beyond the last column in the list's grey, not the window's.
    QPalette header_pal = list_->header()->palette();
    header_pal.setColor(QPalette::Window, kListGrey);
    list_->header()->setPalette(header_pal);

    menu_ = new QMenu(this);
    menu_->setObjectName("logMenu");
    QAction* reflash = menu_->addAction("Reflash");
    reflash->setObjectName("reflashAction");
    connect(reflash, &QAction::triggered, this, &CLog::reflashRequested);

    connect(type_, &QComboBox::activated, this, &CLog::reload);
    connect(filter_, &QCheckBox::clicked, this, &CLog::reload);

    list_->setGeometry(0, kFilterRowHeight, width(), std::max(0, height() - kFilterRowHeight));
    reload();
}

QDateEdit* CLog::makeDateEdit(const char* name) {
    auto* edit = new QDateEdit(QDate::currentDate(), this);
    edit->setObjectName(name);
    edit->setDisplayFormat("yyyy-MM-dd");
    edit->setCalendarPopup(true);
    // The list follows the pickers when a calendar closes, and when a date
    // typed in has been finished.
    edit->calendarWidget()->window()->installEventFilter(this);
    connect(edit, &QDateEdit::editingFinished, this, &CLog::datesEdited);
    return edit;
}

LogFilter CLog::currentFilter() const {
    return LogFilterFor(type_->currentIndex(), filter_->isChecked(), Day(start_->date()),
                        Day(end_->date()));
}

void CLog::notify(WindowMessage message, intptr_t) {
    if (message != WM_HOST_LOG_RECEIVED) return;
    rebuildTable();
    reload();
}

void CLog::rebuildTable() {
    std::vector<uint8_t> host_log;
    HostConfig host_config;
    {
        auto lock = services_.model.Lock();
        host_log = services_.model.live.host_log;
        host_config = services_.model.live.host_config;
    }
    const std::vector<LogRow> rows = DecodeHostLog(host_log, host_config);
    if (ReplaceLog(services_.database, rows) != DbStatus::kOk) reportDatabaseError();
}

void CLog::reload() {
    shown_start_ = start_->date();
    shown_end_ = end_->date();
    const LogRows result = LoadLog(services_.database, currentFilter());
    showRows(result.rows);
    if (result.status != DbStatus::kOk) reportDatabaseError();
}

void CLog::showRows(const std::vector<LogRow>& rows) {
    list_->setUpdatesEnabled(false);
    list_->clear();
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<qsizetype>(rows.size()));
    for (const LogRow& row : rows) {
        items.append(new QTreeWidgetItem(QStringList{
            QString::fromStdString(row.order), QString::fromStdString(row.calendar),
            QString::fromStdString(row.event_type), QString::fromStdString(row.event_context)}));
    }
    list_->addTopLevelItems(items);
    list_->setUpdatesEnabled(true);
}

void CLog::emptyAllLog() {
    const BoxAnswer answer =
        services_.prompter.Ask({"You sure you want to delete all of the records system?",
                                "QAVO system log", BoxButtons::kOkCancel});
    if (answer != BoxAnswer::kOk) return;
    list_->clear();
    if (ClearLog(services_.database) != DbStatus::kOk) reportDatabaseError();
    // Nobody waits for the host's answer.
    Job job;
    job.job_op = LOG_COMMAND;
    job.job_param = 1;
    services_.jobs.Queue(job);
}

void CLog::reportDatabaseError() {
    services_.prompter.Ask({kDatabaseErrorText, kAppTitle, BoxButtons::kOk});
}

void CLog::datesEdited() {
    if (start_->date() != shown_start_ || end_->date() != shown_end_) reload();
}

bool CLog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Hide && (watched == start_->calendarWidget()->window() ||
                                          watched == end_->calendarWidget()->window())) {
        reload();
    }
    return ConsoleView::eventFilter(watched, event);
}

void CLog::resizeEvent(QResizeEvent* event) {
    ConsoleView::resizeEvent(event);
    list_->setGeometry(0, kFilterRowHeight, width(), std::max(0, height() - kFilterRowHeight));
}

void CLog::contextMenuEvent(QContextMenuEvent* event) {
    menu_->popup(event->globalPos());
    event->accept();
}

void CLog::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Escape:
            event->accept();  // a form has no default button to press
            return;
        default:
            ConsoleView::keyPressEvent(event);
    }
}

}  // namespace qavo
