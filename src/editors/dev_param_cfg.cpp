#include "editors/dev_param_cfg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <algorithm>

#include "editors/editor_look.h"
#include "editors/paging_adr_cfg.h"
#include "editors/send_edited_blocks.h"
#include "editors/zone_sel.h"
#include "widgets/shade_button.h"

namespace qavo {
namespace {

constexpr std::chrono::milliseconds kEquipmentWriteLimit{5000};

QLabel* Caption(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

ShadeButton* ArrowButton(const QString& text, const QString& object_name, QWidget* parent) {
    ShadeButton* button = MakeEditorButton(text, QString(), object_name, parent);
    button->setMinimumWidth(36);
    return button;
}

}  // namespace

CDevParamCfg::CDevParamCfg(ConsoleServices& services, QWidget* parent)
    : QDialog(parent), services_(services) {
    setObjectName("equipmentDialog");
    setWindowTitle("Equipment Parameter");
    setModal(true);
    SetEditorBackground(this);
    zone_sel_ = new CZoneSel(this);
    address_ = new CPagingAdrCfg(services_.prompter, this);
    buildLayout();
    connectControls();
    logic_ = std::make_unique<DevParamLogic>(services_.model, services_.code_page());
    showView();
}

CDevParamCfg::~CDevParamCfg() = default;

QComboBox* CDevParamCfg::addList(const char* object_name) {
    auto* box = new QComboBox(this);
    box->setObjectName(object_name);
    box->setEditable(false);
    box->setMaxVisibleItems(16);
    box->setMinimumContentsLength(3);
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    return box;
}

QCheckBox* CDevParamCfg::addCheck(const QString& text, const QString& object_name) {
    auto* box = new QCheckBox(text, this);
    box->setObjectName(object_name);
    return box;
}

void CDevParamCfg::buildLayout() {
    // GLOBAL
    auto* global = new QGroupBox("GLOBAL", this);
    auto* g = new QGridLayout(global);
    host_number_ = addList("hostNumberList");
    group_number_ = addList("groupNumberList");
    bgm_play_mode_ = addList("bgmPlayModeList");
    mic_push_ = addList("micPushList");
    mic_release_ = addList("micReleaseList");
    g->addWidget(Caption("Host number( 1 ~ 20 ):", global), 0, 0);
    g->addWidget(host_number_, 0, 1);
    g->addWidget(Caption("System grouping number( 0 ~ 120 ):", global), 0, 2);
    g->addWidget(group_number_, 0, 3);
    g->addWidget(Caption("BGM play mode(Programmable keys of  paging):", global), 0, 4);
    g->addWidget(bgm_play_mode_, 0, 5);
    g->addWidget(Caption("QAVO host emergency MIC:", global), 1, 0);
    g->addWidget(Caption("Prompt voice index number ( PUSH ) :", global), 1, 2);
    g->addWidget(mic_push_, 1, 3);
    g->addWidget(Caption("Prompt voice index number( RELEASE ):", global), 1, 4);
    g->addWidget(mic_release_, 1, 5);
    g->setColumnStretch(1, 1);
    g->setColumnStretch(3, 1);
    g->setColumnStretch(5, 1);

    // LINE AUDIO AND PARTITION ENABLE CONFIGURATION
    auto* lines = new QGroupBox("LINE AUDIO AND PARTITION ENABLE CONFIGURATION", this);
    auto* l = new QGridLayout(lines);
    host_up_ = ArrowButton("^", "hostUp", lines);
    host_down_ = ArrowButton("v", "hostDown", lines);
    host_label_ = MakeCursorLabel("hostLabel", lines);
    all_ = addCheck("   all", "allCheck");
    auto* cursor = new QHBoxLayout;
    cursor->addWidget(host_up_);
    cursor->addWidget(host_label_);
    cursor->addWidget(host_down_);
    l->addLayout(cursor, 0, 0);
    l->addWidget(all_, 1, 0);
    l->addWidget(Caption("Work enable：", lines), 2, 0);
    l->addWidget(Caption("Detection enable：", lines), 3, 0);
    for (unsigned z = 0; z < kZonesPerHost; ++z) {
        auto* heading = new QLabel(QString("zone %1").arg(z + 1, 2, 10, QChar('0')), lines);
        heading->setAlignment(Qt::AlignCenter);
        l->addWidget(heading, 1, static_cast<int>(z) + 1);
        work_[z] = addCheck(QString(), QString("workCheck%1").arg(z + 1));
        detect_[z] = addCheck(QString(), QString("detectCheck%1").arg(z + 1));
        l->addWidget(work_[z], 2, static_cast<int>(z) + 1, Qt::AlignCenter);
        l->addWidget(detect_[z], 3, static_cast<int>(z) + 1, Qt::AlignCenter);
        l->setColumnStretch(static_cast<int>(z) + 1, 1);
    }

    // PAGING
    auto* paging = new QGroupBox("PAGING", this);
    auto* p = new QGridLayout(paging);
    quantity_ = addList("quantityList");
    address_button_ =
        MakeEditorButton("Address assignment ...", QString(), "addressButton", paging);
    console_push_ = addList("consolePushList");
    console_release_ = addList("consoleReleaseList");
    work_mode_ = addList("workModeList");
    bgm_type_ = addList("bgmTypeList");
    message_ = addList("messageList");
    name_label_ = Caption("Button name:", paging);
    name_edit_ = new QLineEdit(paging);
    name_edit_->setObjectName("nameEdit");
    name_edit_->setMaxLength(kKeyNameEditLimit);
    zone_summary_ = new QListWidget(paging);
    zone_summary_->setObjectName("zoneSummary");
    ApplyEditorListLook(zone_summary_);
    zone_summary_->setMinimumHeight(110);
    zone_button_ = ArrowButton("...", "zoneButton", paging);
    key_up_ = ArrowButton("^", "keyUp", paging);
    key_down_ = ArrowButton("v", "keyDown", paging);
    key_label_ = MakeCursorLabel("keyLabel", paging);
    console_previous_ = ArrowButton("<", "consolePrevious", paging);
    console_next_ = ArrowButton(">", "consoleNext", paging);
    console_label_ = MakeCursorLabel("consoleLabel", paging);

    p->addWidget(Caption("Quantity allocation( 0 ~ 32 ):", paging), 0, 0);
    p->addWidget(quantity_, 0, 1);
    p->addWidget(address_button_, 0, 2);
    auto* console_cursor = new QHBoxLayout;
    console_cursor->addWidget(console_previous_);
    console_cursor->addWidget(console_label_, 1);
    console_cursor->addWidget(console_next_);
    p->addLayout(console_cursor, 0, 4, 1, 2);
    p->addWidget(Caption("Paging prompt tone switch:", paging), 1, 0);
    p->addWidget(Caption("Prompt voice index number ( PUSH ) :", paging), 1, 2);
    p->addWidget(console_push_, 1, 3);
    p->addWidget(Caption("Prompt voice index number( RELEASE ):", paging), 1, 4);
    p->addWidget(console_release_, 1, 5);
    auto* key_cursor = new QHBoxLayout;
    key_cursor->addWidget(key_up_);
    key_cursor->addWidget(key_label_, 1);
    key_cursor->addWidget(key_down_);
    p->addLayout(key_cursor, 2, 0);
    p->addWidget(Caption("Work mode:", paging), 2, 2);
    p->addWidget(work_mode_, 2, 3);
    p->addWidget(Caption("BGM type:", paging), 2, 4);
    p->addWidget(bgm_type_, 2, 5);
    p->addWidget(Caption("Message index:", paging), 3, 2);
    p->addWidget(message_, 3, 3);
    p->addWidget(name_label_, 3, 4);
    p->addWidget(name_edit_, 3, 5);
    p->addWidget(new QLabel("Group configuration:", paging), 4, 0);
    auto* summary = new QHBoxLayout;
    summary->addWidget(zone_summary_, 1);
    summary->addWidget(zone_button_, 0, Qt::AlignTop);
    p->addLayout(summary, 5, 0, 1, 6);
    p->setColumnStretch(1, 1);
    p->setColumnStretch(3, 1);
    p->setColumnStretch(5, 1);
    p->setRowStretch(5, 1);

    ShadeButton* apply = MakeEditorButton("Application", kEditorApplyIcon, "applyButton", this);
    ShadeButton* ok = MakeEditorButton("OK", kEditorOkIcon, "okButton", this);
    ShadeButton* cancel = MakeEditorButton("Cancel", kEditorCancelIcon, "cancelButton", this);
    connect(apply, &QPushButton::clicked, this, &CDevParamCfg::onApplication);
    connect(ok, &QPushButton::clicked, this, &CDevParamCfg::onOk);
    connect(cancel, &QPushButton::clicked, this, &CDevParamCfg::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(apply);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(global);
    layout->addWidget(lines);
    layout->addWidget(paging, 1);
    layout->addLayout(buttons);
    resize(1040, 640);
}

void CDevParamCfg::connectControls() {
    // A choice is stored when the operator makes it, with the mouse or the
    // keyboard: what a list shows is always what the copy holds.
    const auto choose = [this](QComboBox* box, void (DevParamLogic::*action)(int)) {
        connect(box, &QComboBox::activated, this, [this, action](int index) {
            ((*logic_).*action)(index);
            showView();
        });
    };
    choose(host_number_, &DevParamLogic::ChooseHostNumber);
    choose(group_number_, &DevParamLogic::ChooseGroupNumber);
    choose(bgm_play_mode_, &DevParamLogic::ChooseBgmPlayMode);
    choose(mic_push_, &DevParamLogic::ChooseMicPush);
    choose(mic_release_, &DevParamLogic::ChooseMicRelease);
    choose(quantity_, &DevParamLogic::ChooseQuantity);
    choose(work_mode_, &DevParamLogic::ChooseWorkMode);
    choose(bgm_type_, &DevParamLogic::ChooseBgmType);
    choose(message_, &DevParamLogic::ChooseMessage);
    choose(console_push_, &DevParamLogic::ChooseConsolePush);
    choose(console_release_, &DevParamLogic::ChooseConsoleRelease);

    for (unsigned z = 0; z < kZonesPerHost; ++z) {
        connect(work_[z], &QCheckBox::clicked, this, [this, z](bool checked) {
            logic_->ClickWork(z, checked);
            showView();
        });
        connect(detect_[z], &QCheckBox::clicked, this, [this, z](bool checked) {
            logic_->ClickDetect(z, checked);
            showView();
        });
    }
    const auto act = [this](QAbstractButton* button, void (DevParamLogic::*action)()) {
        connect(button, &QAbstractButton::clicked, this, [this, action] {
            ((*logic_).*action)();
            showView();
        });
    };
    act(all_, &DevParamLogic::ClickAll);
    act(host_up_, &DevParamLogic::HostUp);
    act(host_down_, &DevParamLogic::HostDown);
    act(console_previous_, &DevParamLogic::ConsolePrevious);
    act(console_next_, &DevParamLogic::ConsoleNext);
    connect(key_up_, &QPushButton::clicked, this, [this] {
        ask(logic_->KeyUp(nameText().toStdString()));
        showView();
    });
    connect(key_down_, &QPushButton::clicked, this, [this] {
        ask(logic_->KeyDown(nameText().toStdString()));
        showView();
    });
    connect(zone_button_, &QPushButton::clicked, this, &CDevParamCfg::openZoneSelection);
    connect(address_button_, &QPushButton::clicked, this, &CDevParamCfg::openAddresses);
    connect(zone_sel_, &CZoneSel::zonesSelected, this, [this](const ZoneMasks& zones) {
        logic_->SetKeyZones(zones);
        showView();
    });
    connect(address_, &QDialog::accepted, this, [this] {
        logic_->AcceptAddresses(services_.model, address_->types(), address_->addresses());
        showView();
    });
}

void CDevParamCfg::openEditor() {
    logic_ = std::make_unique<DevParamLogic>(services_.model, services_.code_page());
    name_version_ = ~0u;
    showView();
    open();
}

void CDevParamCfg::showList(QComboBox* box, const ListState& state) {
    const QSignalBlocker quiet(box);
    bool same = box->count() == static_cast<int>(state.entries.size());
    for (int i = 0; same && i < box->count(); ++i)
        same = box->itemText(i) == QString::fromStdString(state.entries[static_cast<size_t>(i)]);
    if (!same) {
        box->clear();
        for (const std::string& entry : state.entries)
            box->addItem(QString::fromStdString(entry));
    }
    box->setCurrentIndex(state.selected);
    box->setEnabled(state.enabled);
}

void CDevParamCfg::showView() {
    const DevParamView v = logic_->View();
    showList(host_number_, v.host_number);
    showList(group_number_, v.group_number);
    showList(bgm_play_mode_, v.bgm_play_mode);
    showList(mic_push_, v.mic_push);
    showList(mic_release_, v.mic_release);

    host_label_->setText(QString::fromStdString(v.host_label));
    for (QWidget* w : {static_cast<QWidget*>(host_label_), static_cast<QWidget*>(host_up_),
                       static_cast<QWidget*>(host_down_)})
        w->setVisible(v.host_cursor_visible);
    all_->setChecked(v.all_checked);
    for (unsigned z = 0; z < kZonesPerHost; ++z) {
        work_[z]->setChecked(v.work_checked[z]);
        detect_[z]->setChecked(v.detect_checked[z]);
        detect_[z]->setEnabled(v.detect_enabled[z]);
    }

    showList(quantity_, v.quantity);
    address_button_->setEnabled(v.address_enabled);
    showList(console_push_, v.console_push);
    showList(console_release_, v.console_release);
    showList(work_mode_, v.work_mode);
    showList(bgm_type_, v.bgm_type);
    showList(message_, v.message_index);
    name_label_->setVisible(v.name_visible);
    name_edit_->setVisible(v.name_visible);
    if (v.name_version != name_version_) {
        name_edit_->setText(QString::fromStdString(v.name_text));
        name_version_ = v.name_version;
    }
    zone_summary_->clear();
    for (const std::string& line : v.zone_summary)
        zone_summary_->addItem(QString::fromStdString(line));
    for (QWidget* w : std::initializer_list<QWidget*>{zone_summary_, zone_button_, key_up_,
                                                      key_down_, key_label_, console_previous_,
                                                      console_next_, console_label_})
        w->setEnabled(v.paging_enabled);
    key_label_->setText(QString::fromStdString(v.key_label));
    console_label_->setText(QString::fromStdString(v.console_label));
}

QString CDevParamCfg::nameText() const {
    return name_edit_->text();
}

void CDevParamCfg::ask(const std::optional<BoxRequest>& box) {
    if (box) services_.prompter.Ask(*box);
}

void CDevParamCfg::onApplication() {
    if (std::optional<BoxRequest> refused =
            logic_->WriteBack(services_.model, nameText().toStdString())) {
        ask(refused);
        return;
    }
    showView();
    const EditorSendContext context{services_.progress, services_.bus,  services_.prompter,
                                    services_.timings,  services_.wait, services_.request_write};
    SendEditedBlocks(context, WM_WRITE_EQUIPMENT, kEquipmentWriteLimit);
}

void CDevParamCfg::onOk() {
    if (std::optional<BoxRequest> refused =
            logic_->WriteBack(services_.model, nameText().toStdString())) {
        ask(refused);
        return;
    }
    accept();
}

void CDevParamCfg::reject() {
    if (std::optional<BoxRequest> question =
            logic_->CancelQuestion(services_.model, nameText().toStdString())) {
        if (services_.prompter.Ask(*question) != BoxAnswer::kOk) return;
    }
    QDialog::reject();
}

void CDevParamCfg::keyPressEvent(QKeyEvent* event) {
    // Neither Enter nor Esc closes the dialog.
    switch (event->key()) {
        case Qt::Key_Escape:
        case Qt::Key_Return:
        case Qt::Key_Enter:
            event->accept();
            return;
        default:
            QDialog::keyPressEvent(event);
    }
}

void CDevParamCfg::openZoneSelection() {
    zone_sel_->openWith(logic_->ZoneRequest());
}

void CDevParamCfg::openAddresses() {
    address_->setInput(logic_->AddressRequest(services_.model));
    address_->open();
}

}  // namespace qavo
