#include "console/ctl_view.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QTimer>
#include <algorithm>

#include "console/report_list.h"
#include "console/zone_list.h"
#include "widgets/shade_button.h"

namespace qavo {
namespace {

constexpr int kLampPeriodMs = 1000;
const QColor kViewGrey(153, 153, 153);

QIcon Picture(const char* name) {
    return QIcon(QStringLiteral(":/console/%1.svg").arg(name));
}

void SetGeometry(QWidget* widget, const Rect& r) {
    widget->setGeometry(r.x, r.y, r.w, r.h);
}

std::vector<unsigned> Selected(const ReportList* list) {
    const QList<unsigned> rows = list->selectedRows();
    return {rows.begin(), rows.end()};
}

}  // namespace

QColor DotColour(StateDot dot) {
    switch (dot) {
        case StateDot::kGreen:
            return {20, 200, 20};
        case StateDot::kRed:
            return {230, 20, 20};
        case StateDot::kYellow:
            return {255, 215, 0};
        case StateDot::kGrey:
            break;
    }
    return {150, 150, 150};
}

CCtlView::CCtlView(ConsoleServices& services, QWidget* parent)
    : ConsoleView(parent), services_(services) {
    setObjectName("controlView");
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, kViewGrey);
    pal.setColor(QPalette::WindowText, Qt::white);
    setPalette(pal);

    group_list_ = new ReportList(this);
    group_list_->setObjectName("groupList");
    group_list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    group_list_->setColumns({"", kGroupIdHeader, kGroupNameHeader},
                            {0, kGroupIdColumnWidth, kGroupNameColumnWidth});
    group_list_->setFitColumns({2}, kGroupNameColumnWidth,
                               group_list_->fontMetrics().averageCharWidth() * 12 + 12);
    zone_list_ = new ZoneList(this);
    zone_list_->setObjectName("zoneList");

    system_box_ = makeBox("systemBox", "SYSTEM ");
    emergency_lamp_ = makeLamp("emergencyLamp");
    emergency_label_ = makeLampLabel("EMERGENCY");
    fault_lamp_ = makeLamp("faultLamp");
    fault_label_ = makeLampLabel("FAULT");
    ack_reset_ = makeButton("ackResetButton", "ACK / RESET", QColor(55, 55, 255));
    message_box_ = makeBox("messageBox", "QAVO MESSAGE");
    qavo_ = makeButton("qavoButton", "QAVO", QColor(255, 55, 55));
    alert_ = makeButton("alertButton", "ALERT", QColor(255, 255, 100));
    line_box_ = makeBox("lineBox", "LINE INPUT AUDIO");
    for (int n = 1; n <= 6; ++n) {
        const QByteArray name = QStringLiteral("line%1Button").arg(n).toLatin1();
        lines_[n - 1] =
            makeButton(name.constData(), QString::asprintf("LINE %.2d", n), QColor(55, 255, 55));
        connect(lines_[n - 1], &QPushButton::clicked, this,
                [this, n] { pressAudioButton(LineButton(n)); });
    }
    function_box_ = makeBox("functionBox", "FUNCTION CONTROL");
    all_zones_ = makeButton("allZonesButton", "ALL ZONES", QColor(55, 255, 255));
    off_ = makeButton("offButton", "OFF", QColor(255, 102, 0));
    all_zones_->setIcon(Picture("all_zones"));
    ack_reset_->setIcon(Picture("ack_reset"));
    off_->setIcon(Picture("off"));
    // The boxes lie under their buttons.
    for (QGroupBox* box : {system_box_, message_box_, line_box_, function_box_})
        box->lower();

    connect(qavo_, &QPushButton::clicked, this, [this] { pressAudioButton(AudioButton::kQavo); });
    connect(alert_, &QPushButton::clicked, this, [this] { pressAudioButton(AudioButton::kAlert); });
    connect(off_, &QPushButton::clicked, this, [this] { pressAudioButton(AudioButton::kOff); });
    connect(all_zones_, &QPushButton::clicked, this, &CCtlView::pressAllZones);
    connect(ack_reset_, &QPushButton::clicked, this, &CCtlView::pressAckReset);
    connect(group_list_, &ReportList::clickedAt, this,
            [this](int row, int) { groupListClicked(row); });
    connect(group_list_, &ReportList::doubleClickedAnywhere, zone_list_,
            &ZoneList::closeCellButton);
    connect(zone_list_, &ZoneList::cellCommand, this,
            [this](int row, int column) { services_.jobs.Queue(CellCommandJob(row, column)); });

    menu_ = new QMenu(this);
    menu_->setObjectName("controlMenu");
    QAction* reflash_action = menu_->addAction("Reflash");
    reflash_action->setObjectName("reflashAction");
    connect(reflash_action, &QAction::triggered, this, &CCtlView::reflash);

    zone_list_->setImages({Picture("cell_idle"), Picture("cell_on_air"),
                           Picture("cell_on_air_message"), Picture("cell_line_fault"),
                           Picture("cell_not_installed")});
    lamp_red_ = Picture("lamp_red");
    lamp_yellow_ = Picture("lamp_yellow");
    lamp_dark_ = Picture("lamp_dark");

    fillGroupList();
    uint8_t flags;
    {
        auto lock = services_.model.Lock();
        panel_.ShowAllZones(services_.model.image);
        flags = services_.model.live.system_flags;
    }
    rebuildZoneList();
    showLamp(emergency_lamp_, EmergencyLampLitAtStart(flags), lamp_red_);
    showLamp(fault_lamp_, FaultLampLitAtStart(flags), lamp_yellow_);

    fault_timer_ = new QTimer(this);
    emergency_timer_ = new QTimer(this);
    connect(fault_timer_, &QTimer::timeout, this, &CCtlView::tickFaultLamp);
    connect(emergency_timer_, &QTimer::timeout, this, &CCtlView::tickEmergencyLamp);
    fault_timer_->start(kLampPeriodMs);
    emergency_timer_->start(kLampPeriodMs);

    refreshDots();
    layoutControls();
}

CCtlView::~CCtlView() {
    zone_list_->closeCellButton();
}

ShadeButton* CCtlView::makeButton(const char* name, const QString& text, QColor tint) {
    auto* button = new ShadeButton(text, this);
    button->setObjectName(name);
    button->setTint(tint);
    button->setIconSize(QSize(24, 24));
    return button;
}

QGroupBox* CCtlView::makeBox(const char* name, const QString& title) {
    auto* box = new QGroupBox(title, this);
    box->setObjectName(name);
    QFont f = box->font();
    f.setBold(true);
    box->setFont(f);
    return box;
}

QLabel* CCtlView::makeLamp(const char* name) {
    auto* lamp = new QLabel(this);
    lamp->setObjectName(name);
    lamp->setAlignment(Qt::AlignCenter);
    return lamp;
}

QLabel* CCtlView::makeLampLabel(const QString& text) {
    auto* label = new QLabel(text, this);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    QFont f = label->font();
    f.setBold(true);
    label->setFont(f);
    return label;
}

std::vector<GroupRow> CCtlView::readGroupRows() const {
    const CodePage code_page = services_.code_page();
    auto lock = services_.model.Lock();
    return BuildGroupRows(services_.model.image, code_page);
}

void CCtlView::fillGroupList() {
    QList<QTreeWidgetItem*> items;
    for (const GroupRow& row : readGroupRows()) {
        auto* item = new QTreeWidgetItem;
        item->setText(1, QString::fromStdString(row.id_text));
        item->setText(2, QString::fromStdString(row.name));
        items.append(item);
    }
    group_list_->addTopLevelItems(items);
}

void CCtlView::refreshGroupNames() {
    const std::vector<GroupRow> rows = readGroupRows();
    // The rows stay, with their selection; only the names are read again.
    const int count = std::min(group_list_->topLevelItemCount(), static_cast<int>(rows.size()));
    for (int r = 0; r < count; ++r)
        group_list_->topLevelItem(r)->setText(2, QString::fromStdString(rows[r].name));
}

void CCtlView::rebuildZoneList() {
    std::vector<ZoneRow> rows;
    {
        auto lock = services_.model.Lock();
        rows = BuildZoneRows(services_.model.image, services_.model.live, panel_.shown_zones(),
                             panel_.group_view());
    }
    zone_list_->setRows(rows);
}

void CCtlView::refreshDots() {
    ButtonDots dots;
    {
        auto lock = services_.model.Lock();
        dots = ComputeButtonDots(services_.model.live);
    }
    qavo_->setDot(DotColour(dots.qavo));
    alert_->setDot(DotColour(dots.alert));
    for (size_t i = 0; i < lines_.size(); ++i)
        lines_[i]->setDot(DotColour(dots.lines[i]));
}

void CCtlView::showLamp(QLabel* lamp, bool lit, const QIcon& lit_icon) {
    const int side = std::max(std::min(lamp->width(), lamp->height()) - 2, 8);
    lamp->setPixmap((lit ? lit_icon : lamp_dark_).pixmap(QSize(side, side), devicePixelRatioF()));
    lamp->setProperty("lit", lit);
}

void CCtlView::notify(WindowMessage message, intptr_t) {
    switch (message) {
        case WM_SOURCES_CHANGED:
            refreshDots();
            break;
        case WM_FLAGS_CHANGED:
        case WM_STATUS_CHANGED:
            rebuildZoneList();
            break;
        default:
            break;
    }
}

void CCtlView::tickFaultLamp() {
    uint8_t flags;
    {
        auto lock = services_.model.Lock();
        flags = services_.model.live.system_flags;
    }
    fault_lamp_lit_ = NextFaultLamp(fault_lamp_lit_, flags);
    showLamp(fault_lamp_, fault_lamp_lit_, lamp_yellow_);
}

void CCtlView::tickEmergencyLamp() {
    uint8_t flags;
    {
        auto lock = services_.model.Lock();
        flags = services_.model.live.system_flags;
    }
    emergency_lamp_lit_ = NextEmergencyLamp(emergency_lamp_lit_, flags);
    showLamp(emergency_lamp_, emergency_lamp_lit_, lamp_red_);
}

void CCtlView::reflash() {
    services_.jobs.Queue(ReflashJob());
}

void CCtlView::groupListClicked(int row) {
    zone_list_->closeCellButton();
    const std::vector<unsigned> selected = Selected(group_list_);
    bool rebuild;
    {
        auto lock = services_.model.Lock();
        rebuild = panel_.ClickGroupList(services_.model.image, row, selected);
    }
    if (rebuild) rebuildZoneList();
}

void CCtlView::pressAudioButton(AudioButton button) {
    const std::vector<unsigned> selected = Selected(group_list_);
    ButtonResult result;
    {
        auto lock = services_.model.Lock();
        result = panel_.Press(button, services_.model.image, services_.model.live.system_flags,
                              selected);
    }
    if (result.deselect_groups) group_list_->clearSelection();
    if (result.message) services_.prompter.Ask(*result.message);
    if (result.job) services_.jobs.Queue(*result.job);
    if (result.all_zones_view) {
        rebuildZoneList();
        group_list_->setFocus();
    }
}

void CCtlView::pressAllZones() {
    const size_t selected = group_list_->selectedRows().size();
    const auto rows = static_cast<size_t>(group_list_->topLevelItemCount());
    if (AllZonesToggle(selected, rows) == AllZonesAction::kSelectAll) {
        group_list_->selectAll();
    } else {
        group_list_->clearSelection();
    }
    {
        auto lock = services_.model.Lock();
        panel_.ShowAllZones(services_.model.image);
    }
    rebuildZoneList();
    group_list_->setFocus();
}

void CCtlView::pressAckReset() {
    uint8_t flags;
    {
        auto lock = services_.model.Lock();
        flags = services_.model.live.system_flags;
    }
    if (AckResetAllowed(flags)) services_.send_to_main(WM_ACK_RESET, 0);
}

void CCtlView::resizeEvent(QResizeEvent* event) {
    ConsoleView::resizeEvent(event);
    layoutControls();
}

void CCtlView::contextMenuEvent(QContextMenuEvent* event) {
    menu_->popup(event->globalPos());
    event->accept();
}

void CCtlView::layoutControls() {
    const ControlLayout l = ComputeControlLayout(width(), height());
    SetGeometry(system_box_, l.system_box);
    SetGeometry(emergency_lamp_, l.emergency_lamp);
    SetGeometry(emergency_label_, l.emergency_label);
    SetGeometry(fault_lamp_, l.fault_lamp);
    SetGeometry(fault_label_, l.fault_label);
    SetGeometry(ack_reset_, l.ack_reset);
    SetGeometry(message_box_, l.message_box);
    SetGeometry(qavo_, l.qavo);
    SetGeometry(alert_, l.alert);
    SetGeometry(line_box_, l.line_box);
    for (size_t i = 0; i < lines_.size(); ++i)
        SetGeometry(lines_[i], l.lines[i]);
    SetGeometry(function_box_, l.function_box);
    SetGeometry(all_zones_, l.all_zones);
    SetGeometry(off_, l.off);
    SetGeometry(group_list_, l.group_list);
    SetGeometry(zone_list_, l.zone_list);
    // The lamps' pictures follow their size.
    showLamp(emergency_lamp_, emergency_lamp_->property("lit").toBool(), lamp_red_);
    showLamp(fault_lamp_, fault_lamp_->property("lit").toBool(), lamp_yellow_);
}

}  // namespace qavo
