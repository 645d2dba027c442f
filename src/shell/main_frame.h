#pragma once

#include <QDialog>
#include <QMainWindow>
#include <QPointer>
#include <ctime>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "editors/sp_impedance.h"
#include "link/console_core.h"
#include "maintenance/sys_timing_logic.h"
#include "model/auto_timing.h"
#include "model/link_supervision.h"
#include "model/progress_state.h"
#include "model/system_model.h"
#include "platform/code_page.h"
#include "shell/console_services.h"
#include "shell/console_view.h"
#include "shell/gui_dispatch.h"
#include "shell/qt_prompter.h"
#include "shell/qt_ui_bus.h"
#include "shell/shell_logic.h"
#include "users/credentials_prompt.h"
#include "users/user_commands.h"
#include "users/user_session.h"

class QAction;
class QSettings;
class QLabel;
class QTimer;

namespace qavo {

class CDevParamCfg;
class CFwDn;
class CNetCard;

class CFileView;
class CMsgInfo;
class ConsoleDatabase;

// The user-profile key under which the look is kept (with its trailing blank).
inline constexpr const char* kProfileKey = "Kesto Emergency Voice Alarm System ";

// Icons of the link pane of the status bar.
enum LinkIcon : int { kLinkIconNone = 401, kLinkIconUp = 397, kLinkIconDown = 398 };

// The main window: it owns the host link, the command worker, the model and
// the login state for the whole run, shows one central view at a time, the
// navigation pane, the status bar and the one-second timer.
class CMainFrame : public QMainWindow {
    Q_OBJECT
  public:
    struct Deps {
        SocketFactory& sockets;
        ConsoleDatabase& database;
        Timings timings;
        HostLink::ExitFunction exit_process;
        HostLink::Options link_options;
        // Tests answer boxes, file choosers and the login dialogs; null:
        // the real boxes and dialogs.
        Prompter* prompter = nullptr;
        FilePicker* files = nullptr;
        CredentialsPrompt* credentials = nullptr;
        // Where the application look is kept; empty: the user profile.
        QString settings_file;
    };

    explicit CMainFrame(Deps deps, QWidget* parent = nullptr);
    ~CMainFrame() override;

    // Commands of the menu and the toolbar.
    void onLogin();
    void onLogout();
    void onReflash();
    void onAbout();
    // Firmware (toolbar): the firmware download dialog, while logged in.
    void onFirmware();
    // Network parameters (toolbar): the network parameter dialog, logged in or not.
    void onNetwork();
    // Save: the configuration file, or the log export with the log view.
    void onSave();
    // Import: the configuration file, with the configuration view.
    void onImport();
    void applyLook(int look_id);
    // The code page of names (View menu): kept in the profile, and the
    // current view shows its names again. An unknown id picks the default.
    void applyCodePage(const std::string& id);

    // A custom message to the main window, on the GUI thread.
    void handleMessage(WindowMessage message, intptr_t wparam);
    // WM_WRITE_EQUIPMENT, WM_WRITE_FIRE_ALARM, WM_WRITE_GROUPS or
    // WM_WRITE_AUDIO_PRIORITY: queues the block write, stepping `session`;
    // its ticket (none for another message).
    JobHandle requestWrite(WindowMessage message, ProgressSession session);
    // Switches the central view to `view_id`; always a new view.
    void switchView(int view_id);
    // One tick of the one-second timer.
    void tick();
    void showLinkState();
    // The PC's clock in seconds since 1970 (tests give their own).
    void setClock(std::function<long long()> now) { now_ = std::move(now); }

    int currentView() const { return current_view_; }
    ConsoleView* view() const { return view_; }
    int linkIcon() const { return link_icon_; }
    int look() const { return look_; }
    const CodePage& codePage() const { return code_page_; }
    bool timerRunning() const;
    QString clockText() const;
    QAction* action(int command) const;
    CFileView* navigation() const { return nav_; }
    CMsgInfo* progressDialog() const { return msg_info_; }
    // The system timing dialog while it is open.
    QDialog* sysTimingDialog() const { return sys_timing_; }
    // The sensitivity dialog while it is open.
    CSpImpedance* sensitivityDialog() const { return sp_impedance_; }
    // The equipment parameter editor, made at its first opening and reused.
    CDevParamCfg* equipmentDialog() const { return dev_param_; }
    // The firmware download dialog, made at its first opening and reused.
    CFwDn* firmwareDialog() const { return fw_dn_; }
    // The network parameter dialog, made at its first opening and kept.
    CNetCard* networkDialog() const { return net_card_; }
    ConsoleServices& services() { return *services_; }
    UserSession& session() { return session_; }
    SystemModel& model() { return core_->model(); }
    CommandJob& jobs() { return core_->jobs(); }
    HostLink& link() { return core_->link(); }
    ConsoleCore& core() { return *core_; }
    // How the GUI thread waits for a job or a writer: the progress dialog
    // of the exchange, if one is open, shows first; the event loop runs on;
    // the operator's input to the windows already open has no effect until
    // the wait ends.
    bool waitOnGui(const Completion& done, std::chrono::milliseconds limit);

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void createBars();
    void createMenusAndToolbar();
    void updateCommands();
    void deliver(UiTarget target, WindowMessage message, intptr_t wparam);
    void openNavigationDialog(NavItem item);
    void setLinkIcon(int icon);
    ConsoleView* createView(int view_id);
    void queue(Job job) { core_->jobs().Queue(std::move(job)); }
    // Where the look is kept: the user profile, or the file given for tests.
    QSettings* profile() const;

    Deps deps_;
    GuiDispatch dispatch_;
    QtPrompter qt_prompter_;
    QtFilePicker qt_files_;
    QtUiBus bus_;
    Prompter& prompter_;
    FilePicker& files_;
    std::unique_ptr<CredentialsPrompt> own_credentials_;
    CredentialsPrompt* credentials_ = nullptr;

    // The link, the worker, the model and what they share; after the bus
    // and the prompter they use, so it stops before they go.
    std::unique_ptr<ConsoleCore> core_;
    UserSession session_;
    AutoTiming auto_timing_;
    AutoClock auto_clock_;
    std::function<long long()> now_ = [] { return static_cast<long long>(std::time(nullptr)); };
    std::unique_ptr<LinkSupervision> supervision_;
    std::unique_ptr<ConsoleServices> services_;
    std::unique_ptr<UserCommands> users_;
    std::vector<uint32_t> local_adapters_;

    CFileView* nav_ = nullptr;
    CMsgInfo* msg_info_ = nullptr;
    QPointer<ConsoleView> view_;
    int current_view_ = kOtherView;
    bool log_view_open_ = false;
    int link_icon_ = kLinkIconNone;
    int look_ = 210;
    CodePage code_page_;
    std::map<std::string, QAction*> code_page_actions_;
    QLabel* clock_pane_ = nullptr;
    QLabel* link_pane_ = nullptr;
    QTimer* timer2_ = nullptr;
    QPointer<QDialog> sys_timing_;
    QPointer<CSpImpedance> sp_impedance_;  // while open, kSensitivityDialog
    CDevParamCfg* dev_param_ = nullptr;
    CFwDn* fw_dn_ = nullptr;  // while visible, kFirmwareDialog
    CNetCard* net_card_ = nullptr;
    std::map<int, QAction*> actions_;
};

}  // namespace qavo
