// From the last LOG_DATA datagram of a full host log (5000 records) to the
// log view showing all 5000 lines.
//
// A receive thread hands the datagrams of one transfer to the message
// dispatcher; the dispatcher posts WM_HOST_LOG_RECEIVED through the
// console's UI bus to the active view, a log view over a database in a
// temporary directory. The GUI thread decodes the area, replaces the table
// and reloads the list. Each run carries other dates, so a run is done only
// when the list shows that run's last line and the events it caused (layout,
// paint) are processed. Printed: the median of the runs, and the share of
// the view's own rebuild and reload.
#include <QApplication>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

#include "bench_stats.h"
#include "bench_support.h"
#include "console/log_view.h"
#include "link/frame.h"
#include "link/message_dispatcher.h"
#include "persistence/console_database.h"
#include "shell/gui_dispatch.h"
#include "shell/qt_prompter.h"
#include "shell/qt_ui_bus.h"
#include "users/user_session.h"

namespace {

using namespace qavo;
using Clock = std::chrono::steady_clock;
constexpr size_t kChunk = 1024;
constexpr double kTargetMs = 100.0;

// A full log area: 5000 records of kind 6, dated on day `day` of May 2024.
std::vector<uint8_t> FullLog(uint8_t day) {
    std::vector<uint8_t> area(kHostLogSize, 0);
    area[0] = kHostLogMaxRecords & 0xFF;
    area[1] = kHostLogMaxRecords >> 8;
    for (size_t i = 0; i < kHostLogMaxRecords; ++i) {
        uint8_t* r = area.data() + kHostLogHeaderSize + i * kHostLogRecordSize;
        r[0] = static_cast<uint8_t>(1 + i % 9);
        r[2] = 24;
        r[3] = 5;
        r[4] = day;
        r[5] = static_cast<uint8_t>(i / 3600 % 24);
        r[6] = static_cast<uint8_t>(i / 60 % 60);
        r[7] = static_cast<uint8_t>(i % 60);
        r[8] = static_cast<uint8_t>(1 + i % 20);
        r[9] = static_cast<uint8_t>(i);
        r[10] = static_cast<uint8_t>(i >> 3);
    }
    return area;
}

// The LOG_DATA datagrams of one transfer, in rising order.
std::vector<std::vector<uint8_t>> Chunks(const std::vector<uint8_t>& area) {
    std::vector<std::vector<uint8_t>> out;
    for (size_t offset = 0; offset < area.size(); offset += kChunk) {
        const size_t n = std::min(kChunk, area.size() - offset);
        const bool last = offset + n == area.size();
        std::vector<uint8_t> m(10 + n);
        m[0] = LOG_DATA;
        m[1] = 1;
        m[3] = 2;
        m[4] = last ? 0 : 1;
        m[6] = static_cast<uint8_t>(n);
        m[7] = static_cast<uint8_t>(n >> 8);
        m[8] = static_cast<uint8_t>(offset);
        m[9] = static_cast<uint8_t>(offset >> 8);  // wraps past 65535
        std::copy_n(area.begin() + static_cast<std::ptrdiff_t>(offset), n, m.begin() + 10);
        out.push_back(std::move(m));
    }
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const int runs = argc > 1 ? std::clamp(std::atoi(argv[1]), 1, 27) : 9;
    QApplication app(argc, argv);

    QTemporaryDir dir;
    bench::SilentPrompter prompter;
    ConsoleDatabase db;
    if (!db.OpenDatabase(prompter, dir.filePath("qavo900.db").toStdString())) return 1;

    SystemModel model;
    CommandJob jobs;
    ProgressState progress;
    DeviceList devices;
    AutoResetEvent ack;
    UserSession session;
    AutoTiming auto_timing;
    QtFilePicker files;
    GuiDispatch dispatch;
    ConsoleView* active = nullptr;
    Clock::time_point notify_begin, notify_end;
    QtUiBus bus(dispatch, [&](UiTarget target, WindowMessage message, intptr_t wparam) {
        if (target != UiTarget::kActiveView || !active) return;
        notify_begin = Clock::now();
        active->notify(message, wparam);
        notify_end = Clock::now();
    });
    ConsoleServices services{model, jobs,    progress,    prompter,  files, bus,
                             db,    session, auto_timing, Timings{}, {},    {}};
    CLog view(services);
    view.resize(1280, 800);
    view.show();
    active = &view;
    auto* list = view.findChild<QTreeWidget*>("logList");
    MessageDispatcher dispatcher(model, progress, devices, bus, ack);

    std::vector<double> latency_ms;
    std::vector<double> handling_ms;  // the view's rebuild and reload
    size_t datagrams = 0;
    for (int run = 0; run < runs; ++run) {
        const uint8_t day = static_cast<uint8_t>(1 + run);
        const auto chunks = Chunks(FullLog(day));
        datagrams = chunks.size();
        char last_calendar[24];
        const size_t last = kHostLogMaxRecords - 1;
        std::snprintf(last_calendar, sizeof last_calendar, "2024-05-%.2u,%.2zu:%.2zu:%.2zu",
                      unsigned{day}, last / 3600 % 24, last / 60 % 60, last % 60);
        const QString expected = QString::fromLatin1(last_calendar);

        dispatcher.BeginLogTransfer();
        std::atomic<bool> handled{false};
        Clock::time_point last_handled;
        std::thread receiver([&] {
            for (const auto& m : chunks)
                dispatcher.Dispatch(m);
            last_handled = Clock::now();
            handled = true;
        });
        auto shown = [&] {
            return list->topLevelItemCount() == static_cast<int>(kHostLogMaxRecords) &&
                   list->topLevelItem(static_cast<int>(last))->text(1) == expected;
        };
        while (!(handled && shown()))
            QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
        // What the change left pending (the list's layout and paint) counts.
        QCoreApplication::processEvents();
        const auto done = Clock::now();
        receiver.join();
        latency_ms.push_back(bench::Millis(done - last_handled));
        handling_ms.push_back(bench::Millis(notify_end - notify_begin));
        // The next transfer starts with the GUI idle.
        const auto idle = Clock::now() + std::chrono::milliseconds(200);
        while (Clock::now() < idle)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }

    const double median = bench::Median(latency_ms);
    const auto [least, most] = std::minmax_element(latency_ms.begin(), latency_ms.end());
    std::printf("log_view: %zu records in %zu LOG_DATA datagrams, %d runs\n", kHostLogMaxRecords,
                datagrams, runs);
    std::printf(
        "log_view: last datagram to 5000 lines shown: median %.1f ms (min %.1f, max %.1f); "
        "target <= %.0f ms: %s\n",
        median, *least, *most, kTargetMs, median <= kTargetMs ? "met" : "NOT met");
    std::printf("log_view: of which the view's rebuild and reload: median %.1f ms\n",
                bench::Median(handling_ms));
    return 0;
}
