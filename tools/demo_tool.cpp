// qavo-demo-tool: helps the demo and the screenshots; not part of the console.
//   qavo-demo-tool make-database DB HOST HOST_PORT CONSOLE_PORT
//       writes the network row of a console database
//   qavo-demo-tool screenshots DB DIR WxH SIM_INPUT
//       runs the console window against the simulator, logs in as the
//       operator would, and saves screenshots: before login, after login,
//       with a line fault, and in emergency mode with the QAVO message on two
//       groups. SIM_INPUT is the simulator's standard input (a FIFO).
#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QThread>
#include <cstdio>
#include <fstream>
#include <optional>
#include <string>

#include "link/address_parse.h"
#include "link/frame.h"
#include "persistence/console_database.h"
#include "persistence/settings_store.h"
#include "shell/main_frame.h"
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

void Pump(int ms) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (std::chrono::steady_clock::now() < end) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(10);
    }
}

bool Save(QWidget* window, const QString& dir, const QString& name) {
    const QString path = QDir(dir).filePath(name);
    const bool ok = window->grab().save(path);
    std::fprintf(stderr, "%s %s\n", ok ? "saved" : "could not save", qPrintable(path));
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
    ConsoleDatabase db;
    db.OpenDatabase(prompter, argv[2]);
    CMainFrame::Deps deps{sockets, db,      Timings{}, [](int code) { std::exit(code); },
                          {},      nullptr, nullptr,   nullptr,
                          {}};
    deps.prompter = &prompter;
    deps.credentials = &answers;
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
