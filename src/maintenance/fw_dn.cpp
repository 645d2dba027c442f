#include "maintenance/fw_dn.h"

#include <QFont>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

#include "editors/editor_look.h"
#include "widgets/shade_button.h"

namespace qavo {

namespace {

QLabel* MakeListLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setFont(QFont("Courier New", 10));
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::blue);
    label->setPalette(palette);
    return label;
}

QListWidget* MakeDeviceList(const QString& object_name, QWidget* parent) {
    auto* list = new QListWidget(parent);
    list->setObjectName(object_name);
    ApplyEditorListLook(list);
    list->setMinimumSize(200, 220);
    return list;
}

void ShowEntries(QListWidget* list, const std::vector<std::string>& entries,
                 std::optional<size_t> selected) {
    list->clear();
    for (const std::string& entry : entries)
        list->addItem(QString::fromStdString(entry));
    list->setCurrentRow(selected ? static_cast<int>(*selected) : -1);
}

std::optional<size_t> RowOf(int row) {
    return row < 0 ? std::nullopt : std::optional<size_t>(static_cast<size_t>(row));
}

}  // namespace

CFwDn::CFwDn(ConsoleServices& services, FwDnLink link, QWidget* parent)
    : QDialog(parent), services_(services), link_(std::move(link)), logic_(link_.devices) {
    setObjectName("fwDn");
    setWindowTitle("Firmware Download");
    SetEditorBackground(this);

    auto* file = MakeEditorButton("Binary file", ":/shell/import.svg", "binaryFileButton", this);
    path_ = new QLabel(this);
    path_->setObjectName("pathLabel");
    path_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QPalette blue = path_->palette();
    blue.setColor(QPalette::WindowText, Qt::blue);
    path_->setPalette(blue);

    equipment_ = MakeDeviceList("equipmentList", this);
    update_ = MakeDeviceList("updateList", this);
    auto* right = MakeEditorButton(">", {}, "moveRightButton", this);
    auto* left = MakeEditorButton("<", {}, "moveLeftButton", this);
    auto* refresh = MakeEditorButton("< Refresh", ":/shell/reflash.svg", "refreshButton", this);
    default_ = MakeEditorButton("add default eqt ip", {}, "addDefaultButton", this);
    auto* start =
        MakeEditorButton("Update firmware", ":/shell/firmware.svg", "updateFirmwareButton", this);
    auto* exit = MakeEditorButton("Exit", kEditorCancelIcon, "exitButton", this);

    connect(file, &ShadeButton::clicked, this, &CFwDn::chooseFile);
    connect(right, &ShadeButton::clicked, this, [this] {
        logic_.MoveToUpdate();
        showState();
    });
    connect(left, &ShadeButton::clicked, this, [this] {
        logic_.MoveToEquipment();
        showState();
    });
    connect(refresh, &ShadeButton::clicked, this, &CFwDn::refresh);
    connect(default_, &ShadeButton::clicked, this, &CFwDn::addDefault);
    connect(start, &ShadeButton::clicked, this, &CFwDn::updateFirmware);
    connect(exit, &ShadeButton::clicked, this, &QDialog::reject);
    for (auto [list, which] : {std::pair{equipment_, FwDnLogic::List::kEquipment},
                               std::pair{update_, FwDnLogic::List::kUpdate}}) {
        connect(list, &QListWidget::currentRowChanged, this, [this, which](int row) {
            if (!repainting_) logic_.Select(which, RowOf(row));
        });
        connect(list, &QListWidget::itemDoubleClicked, this,
                [this, list, which](QListWidgetItem* item) {
                    logic_.DoubleClick(which, static_cast<size_t>(list->row(item)));
                    showState();
                });
    }

    auto* top = new QHBoxLayout;
    top->addWidget(file);
    top->addWidget(path_, 1);

    auto* middle = new QVBoxLayout;
    middle->addStretch();
    for (ShadeButton* b : {right, left, refresh, default_})
        middle->addWidget(b);
    middle->addStretch();

    auto* lists = new QGridLayout;
    lists->addWidget(MakeListLabel("Equipment list:", this), 0, 0);
    lists->addWidget(MakeListLabel("Update equipment:", this), 0, 2);
    lists->addWidget(equipment_, 1, 0);
    lists->addLayout(middle, 1, 1);
    lists->addWidget(update_, 1, 2);

    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(start);
    bottom->addWidget(exit);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(lists);
    layout->addSpacing(8);
    layout->addLayout(bottom);
    layout->setSizeConstraint(QLayout::SetMinimumSize);
}

bool CFwDn::linkUp() const {
    auto lock = services_.model.Lock();
    return services_.model.live.link_up;
}

void CFwDn::openDialog() {
    logic_.Open(linkUp());
    showState();
    setModal(true);
    open();
}

void CFwDn::notify(WindowMessage message, intptr_t wparam) {
    if (message == WM_DEVICE_ANNOUNCED) {
        logic_.DevicesAnnounced();
    } else if (message == WM_FIRMWARE_DEVICE && wparam >= 0) {
        logic_.FirmwareDevice(static_cast<size_t>(wparam));
    } else {
        return;
    }
    showState();
}

void CFwDn::done(int result) {
    // "Exit" and closing end a wait of this dialog's discovery at once.
    if (logic_.ExitEndsWait(link_.tries_left())) link_.end_wait();
    QDialog::done(result);
}

void CFwDn::chooseFile() {
    logic_.FileChosen(services_.files.Pick(FwDnLogic::BinaryFileRequest()));
    showState();
}

void CFwDn::refresh() {
    Job job = logic_.Refresh();
    showState();
    logic_.DiscoveryQueued(services_.jobs.Queue(std::move(job)));
}

void CFwDn::addDefault() {
    if (auto box = logic_.AddDefault(linkUp())) services_.prompter.Ask(*box);
    showState();
}

void CFwDn::updateFirmware() {
    auto step = logic_.Update();
    showState();
    if (step.refusal) services_.prompter.Ask(*step.refusal);
    // The job runs on the worker; the dialog does not wait for it.
    if (step.job) services_.jobs.Queue(std::move(*step.job));
}

void CFwDn::showState() {
    repainting_ = true;
    ShowEntries(equipment_, logic_.equipment(), logic_.selection(FwDnLogic::List::kEquipment));
    ShowEntries(update_, logic_.update(), logic_.selection(FwDnLogic::List::kUpdate));
    repainting_ = false;
    path_->setText(QString::fromStdString(logic_.path()));
    default_->setVisible(logic_.default_visible());
}

}  // namespace qavo
