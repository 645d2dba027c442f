#include <QAction>
#include <QActionGroup>
#include <QLabel>
#include <QMenuBar>
#include <QSettings>
#include <QStatusBar>
#include <QToolBar>

#include "console/ctl_view.h"
#include "console/log_view.h"
#include "shell/looks.h"
#include "shell/main_frame.h"
#include "users/command_availability.h"

// The menus, the toolbar, the status bar and the looks of the main window.
namespace qavo {

namespace {
QIcon ShellIcon(const char* name) {
    return QIcon(QString(":/shell/%1.svg").arg(name));
}
}  // namespace

QSettings* CMainFrame::profile() const {
    return deps_.settings_file.isEmpty() ? new QSettings(kProfileKey, "EmergencyVoiceAlarmSystem")
                                         : new QSettings(deps_.settings_file, QSettings::IniFormat);
}

void CMainFrame::createBars() {
    createMenusAndToolbar();
    clock_pane_ = new QLabel(this);
    clock_pane_->setObjectName("clockPane");
    clock_pane_->setAlignment(Qt::AlignCenter);
    clock_pane_->setMinimumWidth(
        clock_pane_->fontMetrics().horizontalAdvance("2018/03/05 00:00:00  ") + 12);
    statusBar()->addPermanentWidget(clock_pane_);
    for (const char* key : {"CAP", "NUM", "SCRL"}) {
        auto* indicator = new QLabel(key, this);
        indicator->setEnabled(false);
        indicator->setAlignment(Qt::AlignCenter);
        indicator->setMinimumWidth(indicator->fontMetrics().horizontalAdvance("SCRL") + 10);
        statusBar()->addPermanentWidget(indicator);
    }
    link_pane_ = new QLabel(this);
    link_pane_->setObjectName("linkPane");
    link_pane_->setFixedSize(28, 22);
    link_pane_->setAlignment(Qt::AlignCenter);
    statusBar()->addPermanentWidget(link_pane_);
}

void CMainFrame::createMenusAndToolbar() {
    struct Command {
        int id;
        const char* menu_text;
        const char* prompt;  // status-bar prompt, then the tool tip after the line break
        const char* icon;
    };
    const Command commands[] = {
        {32781, "&Reflash", "Manual synchronization QAVO system state.\n Reflash", "reflash"},
        {32825, "&Import...", "Import an existing user configuration.\nImport", "import"},
        {32824, "&Save", "Save the current user configuration or log.\nSave", "save"},
        {32818, "&Login", "User identity checking.\nLogin", "login"},
        {32819, "E&xit", "Quit the application.\nExit ", "exit"},
        {32773, "Firmware", "Updating equipment and software.\nFirmware", "firmware"},
        {32779, "Network parameter configuration",
         "Set up communication network parameters, please keep in the same network.\nNetwork "
         "parameter configuration",
         "network"},
        {32787, "Empty all log", "Empty all log.\nEmpty all log", "emptylog"},
    };
    for (const Command& c : commands) {
        auto* a = new QAction(ShellIcon(c.icon), tr(c.menu_text), this);
        const QString prompt = tr(c.prompt);
        a->setStatusTip(prompt.section('\n', 0, 0));
        a->setToolTip(prompt.section('\n', 1).trimmed());
        a->setObjectName(QString("command%1").arg(c.id));
        actions_[c.id] = a;
    }
    connect(actions_[32781], &QAction::triggered, this, &CMainFrame::onReflash);
    connect(actions_[32825], &QAction::triggered, this, &CMainFrame::onImport);
    connect(actions_[32824], &QAction::triggered, this, &CMainFrame::onSave);
    connect(actions_[32818], &QAction::triggered, this, &CMainFrame::onLogin);
    connect(actions_[32819], &QAction::triggered, this, &CMainFrame::onLogout);
    connect(actions_[32773], &QAction::triggered, this, &CMainFrame::onFirmware);
    connect(actions_[32779], &QAction::triggered, this, &CMainFrame::onNetwork);
    connect(actions_[32787], &QAction::triggered, this, [this] {
        if (auto* log = qobject_cast<CLog*>(view_.data())) log->emptyAllLog();
    });

    QMenu* system = menuBar()->addMenu(tr("&System"));
    for (int id : {32781, 32825, 32824, 32818, 32819})
        system->addAction(actions_[id]);

    QMenu* looks = menuBar()->addMenu(tr("&View"));
    for (const LookDef& look : kLooks) {
        if (!look.menu) continue;
        QAction* a = looks->addAction(tr(look.menu));
        a->setCheckable(true);
        a->setObjectName(QString("look%1").arg(look.id));
        actions_[look.id] = a;
        connect(a, &QAction::triggered, this, [this, id = look.id] { applyLook(id); });
    }
    // The code page of the names the host stores, one of them checked.
    looks->addSeparator();
    QMenu* code_pages = looks->addMenu(tr("Code page"));
    code_pages->setObjectName("codePageMenu");
    auto* code_page_group = new QActionGroup(this);
    code_page_group->setExclusive(true);
    for (const CodePage::Choice& choice : CodePage::Choices()) {
        QAction* a = code_pages->addAction(tr(choice.label));
        a->setCheckable(true);
        a->setObjectName(QString("codePage_%1").arg(choice.id));
        code_page_group->addAction(a);
        code_page_actions_[choice.id] = a;
        connect(a, &QAction::triggered, this,
                [this, id = std::string(choice.id)] { applyCodePage(id); });
    }
    QMenu* help = menuBar()->addMenu(tr("&Help"));
    QAction* about = help->addAction(tr("&About QAVO..."), this, &CMainFrame::onAbout);
    actions_[57664] = about;

    QToolBar* bar = addToolBar(tr("Standard"));
    bar->setObjectName("mainToolBar");
    bar->setIconSize(QSize(32, 32));
    bar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    for (int id : {32818, 32819, 32825, 32824, 32773, 32779, 32787, 32781}) {
        bar->addAction(actions_[id]);
    }
}

QAction* CMainFrame::action(int command) const {
    auto it = actions_.find(command);
    return it == actions_.end() ? nullptr : it->second;
}

void CMainFrame::updateCommands() {
    for (auto& [id, a] : actions_) {
        if (auto enabled = UserCommandEnabled(id, session_.logged_in, current_view_)) {
            a->setEnabled(*enabled);
        }
    }
    // "Empty all log" is the log view's, while it is shown.
    actions_[32787]->setEnabled(session_.logged_in && current_view_ == kLogView);
    for (const LookDef& look : kLooks) {
        if (QAction* a = action(look.id)) a->setChecked(look.id == look_);
    }
    for (auto& [id, a] : code_page_actions_)
        a->setChecked(id == code_page_.id());
}

void CMainFrame::applyLook(int look_id) {
    look_ = ValidLook(look_id);
    ApplyLook(look_);
    std::unique_ptr<QSettings> settings(profile());
    settings->setValue("ApplicationLook", look_);
    if (!actions_.empty()) updateCommands();
    update();
}

void CMainFrame::applyCodePage(const std::string& id) {
    code_page_ = CodePage(id);
    std::unique_ptr<QSettings> settings(profile());
    settings->setValue("CodePage", QString::fromStdString(code_page_.id()));
    updateCommands();
    // The control view is the one view that shows stored names.
    if (auto* control = qobject_cast<CCtlView*>(view_.data())) control->refreshGroupNames();
}

}  // namespace qavo
