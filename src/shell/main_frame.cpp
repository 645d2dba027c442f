#include "shell/main_frame.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QSettings>
#include <QStatusBar>
#include <QStyleFactory>
#include <QTimer>
#include <QToolBar>
#include <ctime>

#include "console/ctl_view.h"
#include "console/log_view.h"
#include "console/state_view.h"
#include "editors/dev_param_cfg.h"
#include "link/frame.h"
#include "link/startup_sync.h"
#include "maintenance/fw_dn.h"
#include "maintenance/net_card.h"
#include "maintenance/sys_timing.h"
#include "persistence/console_database.h"
#include "persistence/settings_store.h"
#include "shell/file_view.h"
#include "shell/gui_wait.h"
#include "shell/looks.h"
#include "shell/msg_info.h"
#include "shell/picture_view.h"
#include "users/command_availability.h"
#include "users/dialog_credentials_prompt.h"

namespace qavo {

namespace {

QIcon ShellIcon(const char* name) {
    return QIcon(QString(":/shell/%1.svg").arg(name));
}

QPixmap LinkPixmap(int icon) {
    const char* name = icon == kLinkIconUp     ? "link_up"
                       : icon == kLinkIconDown ? "link_down"
                                               : "link_none";
    return ShellIcon(name).pixmap(20, 20);
}

}  // namespace

CMainFrame::CMainFrame(Deps deps, QWidget* parent)
    : QMainWindow(parent),
      deps_(std::move(deps)),
      qt_prompter_(dispatch_),
      qt_files_(this),
      bus_(dispatch_, [this](UiTarget t, WindowMessage m, intptr_t w) { deliver(t, m, w); }),
      prompter_(deps_.prompter ? *deps_.prompter : static_cast<Prompter&>(qt_prompter_)),
      files_(deps_.files ? *deps_.files : static_cast<FilePicker&>(qt_files_)),
      credentials_(deps_.credentials) {
    qt_prompter_.SetParent(this);
    setWindowTitle(kAppTitle);
    setWindowIcon(ShellIcon("app"));
    setObjectName("mainFrame");

    // The look, the bars and the navigation pane.
    std::unique_ptr<QSettings> settings(profile());
    applyLook(settings->value("ApplicationLook", 210).toInt());
    code_page_ =
        CodePage(settings->value("CodePage", CodePage::kDefaultId).toString().toStdString());
    createBars();
    CFileView::Hooks hooks;
    hooks.logged_in = [this] { return session_.logged_in; };
    hooks.switch_view = [this](NavItem item) {
        handleMessage(WM_SWITCH_VIEW, static_cast<intptr_t>(item));
    };
    hooks.open_dialog = [this](NavItem item) { openNavigationDialog(item); };
    nav_ = new CFileView(hooks, this);
    addDockWidget(Qt::LeftDockWidgetArea, nav_);
    setStyleSheet("QMainWindow { background: rgb(153,153,153); }");

    // The PC's addresses, the network settings, then the sockets and the
    // threads (the model holds its defaults from the start).
    local_adapters_ = ListLocalAddresses(8);
    NetworkSettings network;
    LoadNetworkSettings(deps_.database, prompter_, network);
    core_ = std::make_unique<ConsoleCore>(ConsoleCoreDeps{
        deps_.sockets, prompter_, bus_, deps_.timings, deps_.exit_process, deps_.link_options});
    core_->Start(network);
    supervision_ = std::make_unique<LinkSupervision>(core_->model());

    services_ = std::make_unique<ConsoleServices>(
        ConsoleServices{core_->model(), core_->jobs(), core_->progress(), prompter_, files_, bus_,
                        deps_.database, session_, auto_timing_, deps_.timings,
                        [this](WindowMessage m, intptr_t w) { handleMessage(m, w); },
                        [this](const Completion& done, std::chrono::milliseconds limit) {
                            return waitOnGui(done, limit);
                        },
                        [this](WindowMessage m, ProgressSession s) { return requestWrite(m, s); }});
    services_->code_page = [this] { return code_page_; };
    if (!credentials_) {
        own_credentials_ = std::make_unique<DialogCredentialsPrompt>(session_, this);
        credentials_ = own_credentials_.get();
    }
    users_ =
        std::make_unique<UserCommands>(deps_.database, prompter_, session_, *credentials_, this);
    msg_info_ = new CMsgInfo(core_->progress(), this);

    // The account's lock and the clock schedule, then the timer.
    LoadOperatorAndTiming(deps_.database, prompter_, session_.lock, auto_timing_);
    timer2_ = new QTimer(this);
    timer2_->setInterval(1000);
    connect(timer2_, &QTimer::timeout, this, &CMainFrame::tick);
    timer2_->start();
    setLinkIcon(kLinkIconNone);

    switchView(kOtherView);
    updateCommands();
    tick();
}

CMainFrame::~CMainFrame() {
    // The worker and the receive threads may wait for this thread (a box to
    // answer): release them, then end them before what they use goes away.
    dispatch_.Shutdown();
    core_->Stop();
}

bool CMainFrame::waitOnGui(const Completion& done, std::chrono::milliseconds limit) {
    // The dialog follows the progress state at once, before and after, not
    // only when the queued notifications arrive.
    msg_info_->handle(WM_PROGRESS_SHOW);
    const bool in_time = GuiWait(done, limit);
    msg_info_->handle(WM_PROGRESS_STEP);
    return in_time;
}

void CMainFrame::deliver(UiTarget target, WindowMessage message, intptr_t wparam) {
    switch (target) {
        case UiTarget::kActiveView:
            if (view_) view_->notify(message, wparam);
            break;
        case UiTarget::kMainWindow:
            handleMessage(message, wparam);
            break;
        case UiTarget::kProgressDialog:
            msg_info_->handle(message);
            break;
        case UiTarget::kNavigationPane: {
            bool fault;
            {
                auto lock = model().Lock();
                fault = StateItemImage(model().live.system_flags) == 10;
            }
            nav_->setStateFault(fault);
            break;
        }
        case UiTarget::kSensitivityDialog:
            if (sp_impedance_) sp_impedance_->notify(message);
            break;
        case UiTarget::kFirmwareDialog:
            if (fw_dn_ && fw_dn_->isVisible()) fw_dn_->notify(message, wparam);
            break;
        default:
            break;  // dialogs that are not open
    }
}

void CMainFrame::handleMessage(WindowMessage message, intptr_t wparam) {
    Job job;
    switch (message) {
        case WM_SAVE_NETWORK:
            SaveNetworkSettings(deps_.database, prompter_, link().settings());
            break;
        case WM_SWITCH_VIEW: {
            const int id = ViewIdOf(static_cast<NavItem>(wparam));
            if (id != 0) switchView(id);
            break;
        }
        case WM_WRITE_EQUIPMENT:
        case WM_WRITE_FIRE_ALARM:
        case WM_WRITE_GROUPS:
        case WM_WRITE_AUDIO_PRIORITY:
            requestWrite(message, 0);
            break;
        case WM_SET_RELAYS: {
            const int host = static_cast<int>(wparam);
            job.job_op = SET_RELAYS;
            job.job_param = host;
            if (host >= 1 && host <= static_cast<int>(kMaxHosts)) {
                auto lock = model().Lock();
                job.relay_outputs = model().live.relay_outputs[static_cast<size_t>(host - 1)];
            }
            queue(job);
            break;
        }
        case WM_ACK_RESET:
            job.job_op = ACK_RESET;
            queue(job);
            break;
        case WM_READ_ALL_BLOCKS:
            job.job_kind = JobKind::kReadAllBlocks;
            job.job_op = BLOCK_READ;
            job.job_param = 2;
            queue(job);
            break;
        case WM_RECREATE_SOCKETS:
            link().RecreateSockets();
            break;
        case WM_LINK_STATE:
            showLinkState();
            break;
        default:
            break;
    }
}

JobHandle CMainFrame::requestWrite(WindowMessage message, ProgressSession session) {
    Job job;
    job.job_op = BLOCK_WRITE;
    switch (message) {
        case WM_WRITE_EQUIPMENT:
            job.job_param = kEquipmentBlock;  // the worker writes block 1 after it
            break;
        case WM_WRITE_FIRE_ALARM:
            job.job_param = kFireAlarmBlock;
            break;
        case WM_WRITE_GROUPS:
            job.job_param = kGroupsBlock;
            break;
        case WM_WRITE_AUDIO_PRIORITY:
            job.job_param = kAudioPriorityBlock;
            break;
        default:
            return {};
    }
    job.progress_session = session;
    return jobs().Queue(std::move(job));
}

ConsoleView* CMainFrame::createView(int view_id) {
    if (view_id == kControlView) return new CCtlView(*services_, this);
    if (view_id == kStateView) return new CState(*services_, this);
    if (view_id == kLogView) {
        auto* log = new CLog(*services_, this);
        connect(log, &CLog::reflashRequested, this, &CMainFrame::onReflash);
        return log;
    }
    auto* picture = new PictureView(view_id, this);
    if (view_id == kConfigView) {
        connect(picture, &PictureView::reflashRequested, this, &CMainFrame::onReflash);
    }
    return picture;
}

void CMainFrame::switchView(int view_id) {
    // The first view is made before the window is shown.
    if (!isVisible() && view_) return;
    ConsoleView* next = createView(view_id);
    current_view_ = view_id;
    log_view_open_ = view_id == kLogView;
    view_ = next;
    setCentralWidget(next);  // the previous view is destroyed
    updateCommands();
}

void CMainFrame::openNavigationDialog(NavItem item) {
    switch (item) {
        case NavItem::kUserPassword:
            if (users_->CheckPrivilege(true)) users_->EditAccount();
            break;
        case NavItem::kImpedance: {
            if (!users_->CheckPrivilege(true)) break;
            bool link_up;
            {
                auto lock = model().Lock();
                link_up = model().live.link_up;
            }
            if (link_up) {
                // Read the level first; the dialog opens with whatever the
                // console holds when the host does not answer in time.
                jobs().QueueAndWait(SpImpedanceLogic::ReadJob(), deps_.timings.impedance_wait,
                                    services_->wait);
            }
            // Rebuilt at every opening; modal without a nested event loop.
            // It receives the host's level reports from now until it closes.
            if (sp_impedance_) sp_impedance_->reject();
            auto* dialog = new CSpImpedance(*services_, this);
            dialog->setAttribute(Qt::WA_DeleteOnClose);
            connect(dialog, &QDialog::finished, this, [this, dialog] {
                if (sp_impedance_ == dialog) sp_impedance_ = nullptr;
            });
            sp_impedance_ = dialog;
            dialog->open();
            break;
        }
        case NavItem::kEquipment:
            // Modal without a nested event loop; each opening takes a fresh
            // working copy of the image.
            if (!dev_param_) dev_param_ = new CDevParamCfg(*services_, this);
            dev_param_->openEditor();
            break;
        case NavItem::kSystemTiming: {
            // Modal, without a nested event loop: the timer and the link's
            // notifications go on while it is open.
            auto* dialog = new CSysTiming(*services_, now_, this);
            dialog->setAttribute(Qt::WA_DeleteOnClose);
            dialog->setModal(true);
            sys_timing_ = dialog;
            dialog->show();
            break;
        }
        default:
            // The other dialogs come with their own windows; until then the
            // item only moves the view.
            break;
    }
}

void CMainFrame::onLogin() {
    if (session_.logged_in) return;
    if (!users_->Login()) return;
    session_.logged_in = true;
    setLinkIcon(kLinkIconUp);
    if (!timer2_->isActive()) timer2_->start();
    updateCommands();
    StartupSyncHooks hooks;
    hooks.main_window_visible = [this] { return isVisible(); };
    hooks.show_control_view = [this] { switchView(kControlView); };
    hooks.wait = services_->wait;
    StartupSync(jobs(), model(), core_->progress(), bus_, prompter_, deps_.timings, hooks);
}

void CMainFrame::onLogout() {
    if (!session_.logged_in) return;
    if (!users_->Logout()) return;
    session_.logged_in = false;
    timer2_->stop();
    auto_clock_.Reset();
    handleMessage(WM_SWITCH_VIEW, static_cast<intptr_t>(NavItem::kOther));
    nav_->select(NavItem::kOther);
    setLinkIcon(kLinkIconNone);
    updateCommands();
}

void CMainFrame::onReflash() {
    if (!session_.logged_in) return;
    Job job;
    if (current_view_ == kControlView || current_view_ == kStateView) {
        job.job_op = READ_STATUS;
        job.job_param = 255;
    } else if (current_view_ == kLogView) {
        job.job_op = LOG_COMMAND;
        job.job_param = 0;
    } else {
        return;
    }
    queue(job);
}

void CMainFrame::onFirmware() {
    if (!session_.logged_in) return;
    // Made once: the chosen file and the discovered devices stay for the
    // whole run. Modal without a nested event loop; the firmware job runs
    // on the worker while it stays open.
    if (!fw_dn_) {
        FwDnLink hooks{core_->devices(), [this] { return link().tries_left(); },
                       [this] { link().ack_event().Signal(); }};
        fw_dn_ = new CFwDn(*services_, std::move(hooks), this);
    }
    fw_dn_->openDialog();
}

void CMainFrame::onNetwork() {
    // Kept for the whole run, so that its working copies outlast a closing;
    // each opening starts from the settings in force. Modal without a
    // nested event loop.
    if (!net_card_) {
        net_card_ =
            new CNetCard(*services_, link().settings(), LocalAdapters{local_adapters_}, this);
    }
    net_card_->openDialog();
}

void CMainFrame::onAbout() {
    QMessageBox box(QMessageBox::NoIcon, tr("About Qavo"),
                    tr("Emergency Voice Alarm System ( Trigger Version 1.1.0 )"), QMessageBox::Ok,
                    this);
    box.setIconPixmap(windowIcon().pixmap(48, 48));
    box.exec();
}

void CMainFrame::tick() {
    const long long now = now_();
    const std::string text = FormatClock(now);
    if (const auto due = auto_clock_.Tick(auto_timing_, now)) {
        Job clock;
        clock.job_op = SET_CLOCK;
        clock.clock_to_set = *due;
        queue(clock);
    }
    clock_pane_->setText(QString::fromStdString(text));
    if (session_.logged_in) {
        const auto step = supervision_->Tick(true);
        if (step.show_link_state) showLinkState();
        if (step.send_heartbeat) {
            Job heartbeat;
            heartbeat.job_kind = JobKind::kHeartbeat;
            queue(heartbeat);
        }
    }
}

void CMainFrame::showLinkState() {
    bool up;
    {
        auto lock = model().Lock();
        up = model().live.link_up;
    }
    setLinkIcon(up ? kLinkIconUp : kLinkIconDown);
}

void CMainFrame::setLinkIcon(int icon) {
    link_icon_ = icon;
    link_pane_->setPixmap(LinkPixmap(icon));
    link_pane_->setToolTip(icon == kLinkIconUp     ? tr("The host answers")
                           : icon == kLinkIconDown ? tr("The host does not answer")
                                                   : tr("Nobody is logged in"));
}

bool CMainFrame::timerRunning() const {
    return timer2_->isActive();
}
QString CMainFrame::clockText() const {
    return clock_pane_->text();
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (users_->CheckPrivilege(false)) {
        event->accept();
    } else {
        event->ignore();
    }
}

}  // namespace qavo
