#include "shell/file_view.h"

#include <QAction>
#include <QMenu>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace qavo {

namespace {

struct ItemDef {
    NavItem item;
    const char* text;
    const char* icon;
    NavItem parent;  // itself for a top-level item
};

const ItemDef kItems[] = {
    {NavItem::kControl, "CONTROL", "nav00_control", NavItem::kControl},
    {NavItem::kState, "STATE", "nav01_state", NavItem::kState},
    {NavItem::kConfig, "SYSTEM CONFIGURATION", "nav02_config", NavItem::kConfig},
    {NavItem::kEquipment, "Equipment parameter", "nav03_equipment", NavItem::kConfig},
    {NavItem::kFireMode, "Fire mode", "nav04_fire", NavItem::kConfig},
    {NavItem::kGroup, "Group", "nav05_group", NavItem::kConfig},
    {NavItem::kAudioPriority, "Audio priority", "nav06_priority", NavItem::kConfig},
    {NavItem::kLog, "LOG", "nav07_log", NavItem::kLog},
    {NavItem::kOther, "OTHER", "nav08_other", NavItem::kOther},
    {NavItem::kUserPassword, "User and password", "nav09_user", NavItem::kOther},
    {NavItem::kSystemTiming, "QAVO system timing", "nav11_timing", NavItem::kOther},
    {NavItem::kImpedance, "Impedance Sensitivity", "nav12_impedance", NavItem::kOther},
};

QIcon Icon(const char* name) {
    return QIcon(QString(":/shell/%1.svg").arg(name));
}

}  // namespace

CFileView::CFileView(Hooks hooks, QWidget* parent)
    : QDockWidget(tr("System Control & Config"), parent), hooks_(std::move(hooks)) {
    setObjectName("navigationPane");
    setWindowIcon(Icon("nav02_config"));
    auto* body = new QWidget(this);
    auto* layout = new QVBoxLayout(body);
    layout->setContentsMargins(1, 0, 1, 1);
    layout->setSpacing(0);

    auto* bar = new QToolBar(body);
    bar->setObjectName("navigationToolBar");
    bar->setMovable(false);
    bar->setIconSize(QSize(16, 16));
    QAction* properties = bar->addAction(Icon("nav08_other"), tr("Properties"));
    properties->setObjectName("properties");
    properties->setToolTip(tr("Properties"));
    connect(properties, &QAction::triggered, this, &CFileView::toggleProperties);
    layout->addWidget(bar);

    tree_ = new QTreeWidget(body);
    tree_->setObjectName("navigationTree");
    tree_->setHeaderHidden(true);
    tree_->setRootIsDecorated(true);
    tree_->setIconSize(QSize(32, 32));
    tree_->setContextMenuPolicy(Qt::CustomContextMenu);
    tree_->setStyleSheet("QTreeWidget { font-size: 10pt; }");
    for (const ItemDef& def : kItems) {
        QTreeWidgetItem* item;
        if (def.parent == def.item) {
            item = new QTreeWidgetItem(tree_);
            QFont bold = item->font(0);
            bold.setBold(true);
            item->setFont(0, bold);
        } else {
            item = new QTreeWidgetItem(items_[static_cast<int>(def.parent)]);
        }
        item->setText(0, tr(def.text));
        item->setIcon(0, Icon(def.icon));
        item->setData(0, Qt::UserRole, static_cast<int>(def.item));
        items_[static_cast<int>(def.item)] = item;
    }
    tree_->collapseAll();
    layout->addWidget(tree_);
    setWidget(body);
    setMinimumWidth(230);

    connect(tree_, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* current, QTreeWidgetItem*) { onSelected(current); });
    connect(tree_, &QTreeWidget::customContextMenuRequested, this, &CFileView::showMenu);
    tree_->setCurrentItem(item(NavItem::kControl));
}

void CFileView::select(NavItem target) {
    tree_->setCurrentItem(item(target));
}

NavItem CFileView::selected() const {
    QTreeWidgetItem* current = tree_->currentItem();
    return current ? static_cast<NavItem>(current->data(0, Qt::UserRole).toInt())
                   : NavItem::kControl;
}

void CFileView::setStateFault(bool fault) {
    state_fault_ = fault;
    item(NavItem::kState)->setIcon(0, Icon(fault ? "nav10_state_fault" : "nav01_state"));
}

void CFileView::toggleProperties() {
    for (NavItem branch : {NavItem::kConfig, NavItem::kOther}) {
        QTreeWidgetItem* i = item(branch);
        i->setExpanded(!i->isExpanded());
    }
}

void CFileView::onSelected(QTreeWidgetItem* current) {
    if (!current) return;
    const auto chosen = static_cast<NavItem>(current->data(0, Qt::UserRole).toInt());
    NavDecision d = DecideNavigation(chosen, true, hooks_.logged_in(), in_config_view_);
    if (d.snap_to_control) {
        select(NavItem::kControl);
        return;
    }
    if (d.switch_view) hooks_.switch_view(*d.switch_view);
    if (d.open_dialog) hooks_.open_dialog(chosen);
    if (d.reselect) select(*d.reselect);
}

void CFileView::showMenu(const QPoint& pos) {
    if (QTreeWidgetItem* under = tree_->itemAt(pos)) tree_->setCurrentItem(under);
    tree_->setFocus();
    QMenu menu(this);
    for (const char* text : {"&Open", "Open &With....", "&Compile"})
        menu.addAction(tr(text));
    menu.addAction(tr("Cu&t") + "\tCtrl+X");
    menu.addAction(tr("&Copy") + "\tCtrl+C");
    menu.addAction(tr("&Remove"));
    menu.addSeparator();
    menu.addAction(tr("&Properties..."), this, &CFileView::toggleProperties);
    menu.exec(tree_->viewport()->mapToGlobal(pos));
}

}  // namespace qavo
