#pragma once

// The main window of the console against the simulated host on the
// loopback, inside the private network namespace: the fixture of the
// end-to-end tests.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <functional>

#include "console/ctl_view.h"
#include "console/log_view.h"
#include "console/zone_list.h"
#include "persistence/console_database.h"
#include "persistence/settings_store.h"
#include "shell/file_view.h"
#include "shell/main_frame.h"
#include "sim_host.h"
#include "support/fake_file_picker.h"
#include "support/fake_prompter.h"
#include "support/xlsx_reader.h"
#include "users/scripted_prompt.h"

namespace qavo::e2e {

constexpr uint32_t kLoopback = 0x7F000001;

inline bool PumpUntil(const std::function<bool()>& done, int limit_ms = 10000) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(limit_ms);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

class ConsoleAgainstSimulator : public ::testing::Test {
  protected:
    // A test that needs other devices or faults changes the options here.
    virtual void ConfigureSimulator(sim::SimOptions& /*options*/) {}
    // The console's waits and pauses; a test that waits out a time limit
    // shortens it here.
    virtual Timings ConsoleTimings() { return Timings{}; }
    void SetUp() override {
        sim::SimOptions options;
        options.port = 0;
        options.host_count = 3;
        options.group_count = 6;
        options.log_size = 300;
        options.diagnostics = [](const std::string&) {};
        ConfigureSimulator(options);
        host = std::make_unique<sim::SimHost>(options);
        std::string error;
        ASSERT_TRUE(host->Start(&error)) << error;

        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(database.OpenDatabase(prompter, dir.filePath("qavo900.db").toStdString()));
        NetworkSettings network;
        network.pc_udp_port = "0";
        network.qavo_host_ip = kLoopback;
        network.qavo_host_udp_port = std::to_string(host->port());
        ASSERT_TRUE(SaveNetworkSettings(database, prompter, network));

        CMainFrame::Deps deps{sockets,
                              database,
                              ConsoleTimings(),
                              [](int) {},
                              HostLink::Options{.group_port = 0},
                              &prompter,
                              &files,
                              &credentials,
                              dir.filePath("profile.ini")};
        frame = std::make_unique<CMainFrame>(deps);
        frame->resize(1280, 800);
        frame->show();
    }
    void TearDown() override {
        frame.reset();
        host->Stop();
    }
    CCtlView* control() const { return dynamic_cast<CCtlView*>(frame->view()); }
    ZoneList* zones() const { return control()->findChild<ZoneList*>("zoneList"); }
    int ZoneImage(int row, int zone) const {
        QTreeWidgetItem* item = zones()->topLevelItem(row);
        return item ? item->data(zone + 2, ZoneList::kImageRole).toInt() : -1;
    }

    std::unique_ptr<sim::SimHost> host;
    QTemporaryDir dir;
    testing::FakePrompter prompter;
    testing::FakeFilePicker files;
    testing::ScriptedPrompt credentials;
    PosixSocketFactory sockets;
    ConsoleDatabase database;
    std::unique_ptr<CMainFrame> frame;
};

}  // namespace qavo::e2e
