// qavo-demo-tool: helps the demo and the screenshots; not part of the console.
//   qavo-demo-tool make-database DB HOST HOST_PORT CONSOLE_PORT
//       writes the network row of a console database
//   qavo-demo-tool screenshots DB DIR WxH SIM_INPUT
//       runs the console window against the simulator, logs in as the
//       operator would, and saves screenshots: before login, after login,
//       with a line fault, in emergency mode with the QAVO message on two
//       groups, the state list with faults, the detail dialog of a host with
//       faults, the log view after Reflash and the log filtered by a type,
//       the system timing dialog, and the configuration editors: the
//       equipment editor on a touch console with key names, on a fire
//       console and with no consoles, the partition selection, the address
//       table with its list open, the sensitivity dialog.
//       SIM_INPUT is the simulator's standard input (a FIFO).
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QHelpEvent>
#include <QListWidget>
#include <QPixmap>
#include <QScreen>
#include <QThread>
#include <QTreeWidget>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <optional>
#include <string>

#include "console/host_st.h"
#include "console/report_list.h"
#include "console/state_view.h"
#include "editors/dev_param_cfg.h"
#include "editors/paging_adr_cfg.h"
#include "editors/sp_impedance.h"
#include "editors/zone_sel.h"
#include "link/address_parse.h"
#include "link/frame.h"
#include "maintenance/fw_dn.h"
#include "maintenance/net_card.h"
#include "persistence/console_database.h"
#include "persistence/settings_store.h"
#include "shell/file_view.h"
#include "shell/main_frame.h"
#include "shell/msg_info.h"
#include "shell/qt_prompter.h"

namespace {

using namespace qavo;

class StderrPrompter final : public Prompter {
  public:
    BoxAnswer Ask(const BoxRequest& r) override {
        std::fprintf(stderr, "box: %s (%s)\n", r.text.c_str(), r.caption.c_str());
        return BoxAnswer::kOk;
    }
};

class OperatorAnswers final : public CredentialsPrompt {
  public:
    std::optional<Credentials> AskLogin(const std::string&) override {
        return Credentials{"admin", "qvl704219"};
    }
    std::optional<std::string> AskPassword() override { return std::string("qvl704219"); }
};

// Hands the firmware dialog the demo's image file.
class DemoFilePicker final : public FilePicker {
  public:
    std::optional<std::string> Pick(const FileRequest&) override { return path; }
    std::string path;
};

void Pump(int ms) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (std::chrono::steady_clock::now() < end) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(10);
    }
}

// Pumps events until `done` holds or `ms` have passed; says which.
bool PumpUntil(const std::function<bool()>& done, int ms, const char* what) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!done()) {
        if (std::chrono::steady_clock::now() >= end) {
            std::fprintf(stderr, "gave up waiting for %s\n", what);
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(10);
    }
    return true;
}

bool SavePixmap(const QPixmap& pixmap, const QString& dir, const QString& name) {
    const QString path = QDir(dir).filePath(name);
    const bool ok = pixmap.save(path);
    std::fprintf(stderr, "%s %s\n", ok ? "saved" : "could not save", qPrintable(path));
    return ok;
}

bool Save(QWidget* window, const QString& dir, const QString& name) {
    return SavePixmap(window->grab(), dir, name);
}

// The whole screen: a dialog over the main window, as the operator sees it.
bool SaveScreen(const QString& dir, const QString& name) {
    QScreen* screen = QGuiApplication::primaryScreen();
    return screen && SavePixmap(screen->grabWindow(0), dir, name);
}

int FaultRows(const CState& state) {
    int faults = 0;
    for (int i = 0; i < state.list()->topLevelItemCount(); ++i) {
        if (state.list()->topLevelItem(i)->data(0, CState::kImageRole).toInt() != 0) ++faults;
    }
    return faults;
}

// The state list with faults on hosts and a paging console, then the detail
// dialog of host 2 with line, contact and relay states.
bool StateShots(CMainFrame& frame, const QString& dir,
                const std::function<void(const char*)>& command) {
    command("emergency off");
    command("power 2 ac fault");
    command("amp 3 spare fault");
    command("paging 2 offline");
    command("line 2 3 B open");
    command("line 2 6 A short");
    command("contact 2 4 triggered");
    command("push");
    frame.navigation()->select(NavItem::kState);
    auto* state = qobject_cast<CState*>(frame.view());
    if (!state) {
        std::fprintf(stderr, "the STATE item did not show the state list\n");
        return false;
    }
    // Hosts 2 and 3 and paging console 2.
    PumpUntil([&] { return FaultRows(*state) >= 3; }, 8000, "the faults in the state list");
    Pump(500);
    bool ok = Save(&frame, dir, "5-state-list.png");

    if (!state->openHostDialog(1)) {
        std::fprintf(stderr, "the detail dialog of host 2 did not open\n");
        return false;
    }
    CHostSt* dialog = state->hostDialog();
    PumpUntil(
        [&] {
            const HostDetail& d = dialog->shown();
            return d.line_b[2].text == "Open" && d.line_a[5].text == "Short" &&
                   d.inputs[3].text == "Trigger";
        },
        8000, "the faults in the host dialog");
    // The operator switches relay 2 on; the host's answer is shown.
    if (auto* relay = dialog->findChild<QCheckBox*>("relay2")) relay->click();
    Pump(2000);
    ok = SaveScreen(dir, "6-host-dialog.png") && ok;
    dialog->accept();
    Pump(300);
    return ok;
}

// The log view after Reflash with a few hundred events, then only one type.
bool LogShots(CMainFrame& frame, const QString& dir,
              const std::function<void(const char*)>& command) {
    command("log 300");
    Pump(300);
    frame.navigation()->select(NavItem::kLog);
    if (frame.currentView() != kLogView) {
        std::fprintf(stderr, "the LOG item did not show the log view\n");
        return false;
    }
    auto* list = frame.view()->findChild<QTreeWidget*>("logList");
    auto* type = frame.view()->findChild<QComboBox*>("logType");
    if (!list || !type) return false;
    frame.onReflash();
    PumpUntil([&] { return list->topLevelItemCount() >= 500; }, 30000, "the host log");
    Pump(500);
    bool ok = Save(&frame, dir, "7-log-view.png");

    const int index = type->findText("Speaker partition bus status");
    type->setCurrentIndex(index);
    emit type->activated(index);
    Pump(500);
    ok = Save(&frame, dir, "8-log-filtered.png") && ok;

    // The operator rests the mouse on a detail too long for its column.
    if (list->topLevelItemCount() > 0) {
        const QRect cell = list->visualRect(list->model()->index(0, 3));
        const QPoint at = cell.center();
        QHelpEvent hover(QEvent::ToolTip, at, list->viewport()->mapToGlobal(at));
        QCoreApplication::sendEvent(list->viewport(), &hover);
        Pump(800);
        ok = SaveScreen(dir, "9-log-tooltip.png") && ok;
    }
    return ok;
}

// The system timing dialog over the main window, as the navigation item
// opens it.
bool TimingShot(CMainFrame& frame, const QString& dir) {
    frame.navigation()->select(NavItem::kSystemTiming);
    Pump(600);
    QDialog* dialog = frame.sysTimingDialog();
    if (!dialog) {
        std::fprintf(stderr, "the system timing dialog did not open\n");
        return false;
    }
    const bool ok = SaveScreen(dir, "10-system-timing.png");
    dialog->reject();
    Pump(200);
    return ok;
}

template <typename T>
T* ControlOf(QWidget* window, const char* name) {
    for (T* child : window->findChildren<T*>(name)) {
        if (child->window() == window) return child;
    }
    std::fprintf(stderr, "no control %s\n", name);
    return nullptr;
}

void Choose(QWidget* window, const char* list, int index) {
    if (auto* box = ControlOf<QComboBox>(window, list)) {
        box->setCurrentIndex(index);
        emit box->activated(index);
    }
}

void Click(QWidget* window, const char* name) {
    if (auto* button = ControlOf<QAbstractButton>(window, name)) button->click();
}

// The configuration editors as an installer meets them.
bool EditorShots(CMainFrame& frame, const QString& dir) {
    {
        // Console 1 a touch console with named keys, console 2 a fire console.
        auto lock = frame.model().Lock();
        ParamImage& image = frame.model().image;
        image.Set(fields::paging_count, 4);
        image.Set(fields::paging_type, 2, 0);
        image.Set(fields::paging_type, 1, 1);
        const char* names[] = {"Lobby", "Car park", "Floor 1", "Floor 2"};
        for (unsigned key = 0; key < 4; ++key) {
            auto slot = image.Block(kPagingBlock).subspan(fields::key_name.At(key), kNameSize);
            std::fill(slot.begin(), slot.end(), 0);
            std::copy_n(names[key], std::strlen(names[key]), slot.begin());
        }
        image.Set(fields::key_zones, 0x0F, 0, 0, 1);
        image.Set(fields::key_zones, 0, 0, 0, 2);
    }
    frame.navigation()->select(NavItem::kEquipment);
    Pump(600);
    CDevParamCfg* editor = frame.equipmentDialog();
    if (!editor || !editor->isVisible()) {
        std::fprintf(stderr, "the equipment editor did not open\n");
        return false;
    }
    bool ok = SaveScreen(dir, "11-equipment-touch-console.png");

    Click(editor, "zoneButton");
    Pump(400);
    ok = SaveScreen(dir, "12-partition-selection.png") && ok;
    editor->zoneSelection()->reject();
    Pump(200);

    Click(editor, "addressButton");
    Pump(400);
    editor->addressDialog()->onCellDoubleClicked(1, 2);
    Pump(400);
    ok = SaveScreen(dir, "13-paging-addresses.png") && ok;
    editor->addressDialog()->reject();
    Pump(200);

    Click(editor, "consoleNext");
    Pump(300);
    ok = Save(editor, dir, "14-equipment-fire-console.png") && ok;

    Choose(editor, "quantityList", 0);
    Pump(300);
    ok = Save(editor, dir, "15-equipment-no-consoles.png") && ok;
    editor->reject();  // the question is answered OK: the copy is given up
    Pump(300);

    frame.navigation()->select(NavItem::kImpedance);
    Pump(800);
    CSpImpedance* sensitivity = frame.sensitivityDialog();
    if (!sensitivity) {
        std::fprintf(stderr, "the sensitivity dialog did not open\n");
        return false;
    }
    ok = SaveScreen(dir, "16-sensitivity.png") && ok;
    sensitivity->reject();
    Pump(200);
    return ok;
}

// The network parameter dialog with the PC's adapters, then the firmware
// dialog: devices discovered, two moved to the update list, a transfer on
// its way.
bool MaintenanceShots(CMainFrame& frame, const QString& dir, DemoFilePicker& files) {
    frame.onNetwork();
    Pump(500);
    QDialog* network = frame.networkDialog();
    if (!network || !network->isVisible()) {
        std::fprintf(stderr, "the network parameter dialog did not open\n");
        return false;
    }
    bool ok = SaveScreen(dir, "17-network-parameters.png");
    network->reject();
    Pump(200);

    // An image of 160 KiB: the transfer takes long enough to be seen.
    const QString image = QDir(dir).filePath("demo-firmware.bin");
    {
        QFile file(image);
        if (!file.open(QIODevice::WriteOnly)) return false;
        QByteArray bytes(160 * 1024, '\0');
        for (int i = 0; i < bytes.size(); ++i)
            bytes[i] = static_cast<char>(i * 7);
        file.write(bytes);
    }
    files.path = image.toStdString();
    frame.onFirmware();
    Pump(400);
    CFwDn* firmware = frame.firmwareDialog();
    if (!firmware || !firmware->isVisible()) {
        std::fprintf(stderr, "the firmware dialog did not open\n");
        return false;
    }
    Click(firmware, "binaryFileButton");
    Click(firmware, "refreshButton");
    if (!PumpUntil([&] { return firmware->equipmentList()->count() >= 3; }, 5000, "devices"))
        return false;
    for (int i = 0; i < 2; ++i) {
        firmware->equipmentList()->setCurrentRow(0);
        Click(firmware, "moveRightButton");
    }
    Pump(300);
    Click(firmware, "updateFirmwareButton");
    Pump(900);
    ok = SaveScreen(dir, "18-firmware-download.png") && ok;
    // Let the transfers end before the console goes on.
    PumpUntil([&] { return !frame.progressDialog()->isVisible(); }, 60000, "the transfers");
    Pump(500);
    firmware->reject();
    Pump(200);
    QFile::remove(image);
    return ok;
}

int MakeDatabase(char** argv) {
    StderrPrompter prompter;
    ConsoleDatabase db;
    if (!db.OpenDatabase(prompter, argv[2])) return 1;
    NetworkSettings settings;
    settings.qavo_host_ip = ParseIPv4(argv[3], ByteOrder::kHost);
    settings.qavo_host_udp_port = argv[4];
    settings.pc_udp_port = argv[5];
    return SaveNetworkSettings(db, prompter, settings) ? 0 : 1;
}

int Screenshots(int argc, char** argv) {
    QApplication app(argc, argv);
    const QString dir = argv[3];
    const QString size = argv[4];
    std::ofstream sim(argv[5]);
    auto command = [&](const char* line) {
        sim << line << '\n';
        sim.flush();
    };
    QDir().mkpath(dir);

    PosixSocketFactory sockets;
    StderrPrompter prompter;
    OperatorAnswers answers;
    DemoFilePicker files;
    ConsoleDatabase db;
    db.OpenDatabase(prompter, argv[2]);
    CMainFrame::Deps deps{sockets, db,      Timings{}, [](int code) { std::exit(code); },
                          {},      nullptr, nullptr,   nullptr,
                          {}};
    deps.prompter = &prompter;
    deps.credentials = &answers;
    deps.files = &files;
    deps.settings_file = QDir(dir).filePath("look.ini");
    CMainFrame frame(deps);
    frame.resize(size.section('x', 0, 0).toInt(), size.section('x', 1, 1).toInt());
    frame.show();
    Pump(800);
    bool ok = Save(&frame, dir, "1-before-login.png");

    frame.onLogin();
    Pump(1500);
    ok = Save(&frame, dir, "2-after-login.png") && ok;

    command("line 2 3 B open");
    command("line 1 5 A short");
    Pump(2500);
    ok = Save(&frame, dir, "3-line-fault.png") && ok;

    command("line 2 3 B normal");
    command("line 1 5 A normal");
    command("emergency on");
    Pump(800);
    // The QAVO message on groups 2 and 3, as the QAVO button sends it.
    Job qavo;
    qavo.job_kind = JobKind::kAudioControl;
    qavo.job_op = AUDIO_CONTROL;
    qavo.job_param = 1;
    qavo.audio_request[0] = kSourceQavoMessage;
    {
        auto lock = frame.model().Lock();
        for (unsigned h = 0; h < frame.model().image.BoundedHostCount(); ++h) {
            qavo.audio_request[1 + h] =
                static_cast<uint8_t>(frame.model().image.Get(fields::group_zones, 1, h) |
                                     frame.model().image.Get(fields::group_zones, 2, h));
        }
    }
    frame.jobs().Queue(qavo);
    Pump(2500);
    ok = Save(&frame, dir, "4-emergency-qavo.png") && ok;

    ok = StateShots(frame, dir, command) && ok;
    ok = LogShots(frame, dir, command) && ok;
    ok = TimingShot(frame, dir) && ok;
    ok = EditorShots(frame, dir) && ok;
    ok = MaintenanceShots(frame, dir, files) && ok;

    frame.session().lock = false;
    frame.close();
    return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string what = argc > 1 ? argv[1] : "";
    if (what == "make-database" && argc == 6) return MakeDatabase(argv);
    if (what == "screenshots" && argc == 6) return Screenshots(argc, argv);
    std::fprintf(stderr,
                 "usage: qavo-demo-tool make-database DB HOST HOST_PORT CONSOLE_PORT\n"
                 "       qavo-demo-tool screenshots DB DIR WxH SIM_INPUT\n");
    return 2;
}
