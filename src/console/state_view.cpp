#include "console/state_view.h"

#include <QApplication>
#include <QHeaderView>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

#include "console/host_st.h"
#include "console/report_list.h"
#include "widgets/grid_delegate.h"

namespace qavo {
namespace {

// `text` without as many of its leading blanks as it takes to fit in
// `width` pixels. The blanks only move a label towards the middle of its
// column; in a wide font they would push the label itself out of sight.
QString FitPadding(QString text, const QFontMetrics& metrics, int width) {
    while (text.startsWith(QLatin1Char(' ')) && metrics.horizontalAdvance(text) > width)
        text.remove(0, 1);
    return text;
}

// Grid lines, and labels that give up leading blanks to fit their cell.
class FittingGridDelegate : public GridDelegate {
  public:
    using GridDelegate::GridDelegate;

  protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        if (option->rect.isEmpty()) return;  // sizing, not painting
        const QWidget* widget = option->widget;
        QStyle* style = widget ? widget->style() : QApplication::style();
        const QRect text = style->subElementRect(QStyle::SE_ItemViewItemText, option, widget);
        const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
        option->text = FitPadding(option->text, option->fontMetrics, text.width() - 2 * margin);
    }
};

// The list's header, whose labels give up leading blanks as the cells do.
class FittingHeader : public QHeaderView {
  public:
    using QHeaderView::QHeaderView;

  protected:
    void initStyleOptionForIndex(QStyleOptionHeader* option, int section) const override {
        QHeaderView::initStyleOptionForIndex(option, section);
        const int margin = style()->pixelMetric(QStyle::PM_HeaderMargin, option, this);
        option->text =
            FitPadding(option->text, option->fontMetrics, sectionSize(section) - 2 * margin);
    }
};

}  // namespace

CState::CState(ConsoleServices& services, QWidget* parent)
    : ConsoleView(parent), services_(services) {
    setObjectName("stateView");
    images_ = {QIcon(QStringLiteral(":/console/state_ok.svg")),
               QIcon(QStringLiteral(":/console/state_fault.svg"))};

    list_ = new ReportList(this);
    list_->setObjectName("stateList");
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setMouseTracking(true);  // hot tracking
    list_->setAttribute(Qt::WA_Hover);
    list_->setIconSize(QSize(16, 16));
    list_->setItemDelegate(new FittingGridDelegate(list_));
    QHeaderView* plain = list_->header();
    auto* header = new FittingHeader(Qt::Horizontal, list_);
    header->setStretchLastSection(plain->stretchLastSection());
    header->setSectionsMovable(plain->sectionsMovable());
    header->setDefaultAlignment(plain->defaultAlignment());
    // Beyond the last column the header shows the list's grey, not the window's.
    QPalette header_pal = header->palette();
    header_pal.setColor(QPalette::Window, list_->palette().color(QPalette::Base));
    header->setPalette(header_pal);
    list_->setHeader(header);  // deletes the plain header
    list_->setColumnCount(2);
    list_->setHeaderLabels({kStateIdHeader, kStateDetailHeader});
    list_->header()->setSectionResizeMode(QHeaderView::Interactive);
    list_->setColumnWidth(0, kStateIdColumnWidth);
    list_->setColumnWidth(1, kStateDetailColumnWidth);

    // The list covers the whole view.
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(list_);

    host_dialog_ = new CHostSt(services_, this);

    connect(list_, &QAbstractItemView::doubleClicked, this,
            [this](const QModelIndex& index) { openHostDialog(index.row()); });

    rebuild();
}

CState::~CState() = default;

void CState::notify(WindowMessage message, intptr_t wparam) {
    (void)wparam;
    switch (message) {
        case WM_STATUS_CHANGED:
            if (host_dialog_->isVisible()) host_dialog_->notify(WM_HOST_DETAIL_CHANGED);
            rebuild();
            break;
        case WM_HOST_DETAIL_CHANGED:
            if (host_dialog_->isVisible()) host_dialog_->notify(WM_HOST_DETAIL_CHANGED);
            break;
        default:
            break;
    }
}

void CState::rebuild() {
    StateSnapshot snapshot;
    {
        auto lock = services_.model.Lock();
        snapshot = TakeStateSnapshot(services_.model.image, services_.model.live);
    }
    const std::vector<StateRow> rows = BuildStateRows(snapshot);

    // The operator keeps his place in the list across rebuilds.
    const int scrolled = list_->verticalScrollBar()->value();
    list_->setUpdatesEnabled(false);
    list_->clear();
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<qsizetype>(rows.size()));
    for (const StateRow& row : rows) {
        auto* item = new QTreeWidgetItem;
        item->setText(0, QString::fromStdString(row.id_text));
        item->setIcon(0, images_[static_cast<size_t>(row.image)]);
        item->setData(0, kImageRole, static_cast<int>(row.image));
        item->setText(1, QString::fromStdString(row.detail));
        items.append(item);
    }
    list_->addTopLevelItems(items);
    list_->verticalScrollBar()->setValue(scrolled);
    list_->setUpdatesEnabled(true);
}

bool CState::openHostDialog(int row) {
    unsigned hosts;
    {
        auto lock = services_.model.Lock();
        hosts = services_.model.image.BoundedHostCount();
    }
    if (row < 0 || static_cast<unsigned>(row) >= hosts) return false;
    host_dialog_->setHost(static_cast<unsigned>(row));
    host_dialog_->refresh();
    // Modal for the whole application, without a nested event loop: the
    // GUI thread goes on handling notifications while it is shown.
    host_dialog_->setModal(true);
    host_dialog_->show();
    host_dialog_->raise();
    host_dialog_->activateWindow();
    return true;
}

}  // namespace qavo
