// From a status datagram leaving the host to the control view's zone list
// showing it, under 1000 status datagrams per second for 10 seconds.
//
// The console logs in against the simulated host (on the loopback, inside
// scripts/netns-run), then a second sender plays a busy host: every
// datagram puts a new sequence number on the air (zones on air of hosts 1
// to 3, 24 bits, with the QAVO message as source). The GUI thread decodes
// the number the zone list shows every millisecond; the latency of a number
// is the time from its send to its first appearance. Superseded numbers
// are never shown: notifications are coalesced and the view rebuilds from
// the model. Also printed: the resident memory before and after.
#include <QApplication>
#include <QPixmapCache>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <thread>
#include <vector>

#include "bench_support.h"
#include "console/ctl_view.h"
#include "console/zone_list.h"
#include "persistence/console_database.h"
#include "persistence/settings_store.h"
#include "shell/main_frame.h"

namespace {

using namespace qavo;
using Clock = std::chrono::steady_clock;
constexpr uint32_t kLoopback = 0x7F000001;
constexpr int kRate = 1000;
int kSeconds = 10;  // the first argument changes it

class Operator final : public CredentialsPrompt {
  public:
    std::optional<Credentials> AskLogin(const std::string&) override {
        return Credentials{"admin", "qvl704219"};
    }
    std::optional<std::string> AskPassword() override { return std::string("qvl704219"); }
};

long ResidentKiB() {
    std::ifstream status("/proc/self/status");
    std::string key;
    long value = 0;
    while (status >> key) {
        if (key == "VmRSS:") {
            status >> value;
            return value;
        }
    }
    return -1;
}

void Pump(int ms) {
    const auto end = Clock::now() + std::chrono::milliseconds(ms);
    while (Clock::now() < end)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc > 1) kSeconds = std::max(1, std::atoi(argv[1]));
    // A second argument sets Qt's pixmap cache limit (KiB), to tell its
    // growth from the console's own.
    if (argc > 2) QPixmapCache::setCacheLimit(std::atoi(argv[2]));
    QApplication app(argc, argv);

    auto simulator = bench::StartSimulator();
    if (!simulator) return 1;
    sim::SimHost& host = *simulator;
    QTemporaryDir dir;
    bench::SilentPrompter prompter;
    Operator answers;
    ConsoleDatabase db;
    db.OpenDatabase(prompter, dir.filePath("qavo900.db").toStdString());
    const NetworkSettings network = bench::LoopbackSettings(host.port());
    SaveNetworkSettings(db, prompter, network);
    PosixSocketFactory sockets;
    CMainFrame::Deps deps{sockets,
                          db,
                          Timings{},
                          [](int code) { std::exit(code); },
                          HostLink::Options{.group_port = 0},
                          &prompter,
                          nullptr,
                          &answers,
                          dir.filePath("look.ini")};
    CMainFrame frame(deps);
    frame.resize(1920, 1080);
    frame.show();
    frame.onLogin();
    Pump(1000);
    auto* view = dynamic_cast<CCtlView*>(frame.view());
    auto* zones = view ? view->findChild<ZoneList*>("zoneList") : nullptr;
    if (!zones) {
        std::fprintf(stderr, "the control view is not shown\n");
        return 1;
    }

    const int total = kRate * kSeconds;
    std::vector<Clock::time_point> sent(static_cast<size_t>(total) + 1);
    std::vector<double> latency_ms;
    latency_ms.reserve(static_cast<size_t>(total));
    int last_shown = -1;
    auto decode = [&] {
        uint32_t value = 0;
        for (int h = 0; h < 3; ++h) {
            QTreeWidgetItem* row = zones->topLevelItem(h);
            if (!row) return -1;
            for (int z = 0; z < 8; ++z) {
                if (row->data(z + 2, ZoneList::kImageRole).toInt() == kCellOnAirMessage) {
                    value |= 1u << (8 * h + z);
                }
            }
        }
        return static_cast<int>(value);
    };

    const long rss_before = ResidentKiB();
    std::atomic<int> sent_count{0};
    std::thread busy_host([&] {
        auto socket = PosixUdpSocket::Create();
        socket->Bind({kLoopback, 0});
        const Endpoint console{kLoopback, frame.link().host_socket_port()};
        const auto start = Clock::now();
        for (int i = 1; i <= total; ++i) {
            std::this_thread::sleep_until(start +
                                          std::chrono::microseconds(1'000'000LL * i / kRate));
            const uint8_t status[13] = {HOST_STATUS,
                                        1,
                                        0,
                                        0,
                                        0x18,
                                        kSourceQavoMessage,
                                        kSourceQavoMessage,
                                        kSourceQavoMessage,
                                        kSourceQavoMessage,
                                        static_cast<uint8_t>(i),
                                        static_cast<uint8_t>(i >> 8),
                                        static_cast<uint8_t>(i >> 16),
                                        0};
            sent[static_cast<size_t>(i)] = Clock::now();
            sent_count = i;
            socket->SendTo(console, status);
        }
    });
    long rss_warm = -1;  // after two seconds of flood, once every cache has filled
    QTimer poll;
    poll.setInterval(1);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (rss_warm < 0 && sent_count.load() >= 2 * kRate) rss_warm = ResidentKiB();
        const int shown = decode();
        if (shown > 0 && shown != last_shown && shown <= sent_count.load()) {
            latency_ms.push_back(std::chrono::duration<double, std::milli>(
                                     Clock::now() - sent[static_cast<size_t>(shown)])
                                     .count());
            last_shown = shown;
        }
    });
    poll.start();
    while (sent_count.load() < total)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    Pump(300);
    poll.stop();
    busy_host.join();
    const long rss_after = ResidentKiB();

    std::sort(latency_ms.begin(), latency_ms.end());
    const double median = latency_ms.empty() ? -1 : latency_ms[latency_ms.size() / 2];
    const double p99 = latency_ms.empty() ? -1 : latency_ms[latency_ms.size() * 99 / 100];
    std::printf(
        "status_latency: %d HOST_STATUS datagrams at %d/s; %zu distinct states shown "
        "(the others superseded before a repaint)\n",
        total, kRate, latency_ms.size());
    std::printf(
        "status_latency: datagram to zone list median %.2f ms, p99 %.2f ms "
        "(target p99 <= 50 ms: %s)\n",
        median, p99, p99 >= 0 && p99 <= 50 ? "met" : "NOT met");
    std::printf(
        "status_latency: resident memory %ld KiB before, %ld KiB after 2 s, %ld KiB "
        "after %d s of flood\n",
        rss_before, rss_warm, rss_after, kSeconds);
    frame.session().lock = false;
    frame.close();
    host.Stop();
    return 0;
}
