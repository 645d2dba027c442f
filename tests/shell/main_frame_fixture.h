#pragma once

// The main window over fake sockets, a fresh database and scripted boxes,
// file choosers and login dialogs: the fixture of the main-window tests.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QThread>
#include <chrono>
#include <functional>

#include "persistence/console_database.h"
#include "shell/main_frame.h"
#include "support/fake_file_picker.h"
#include "support/fake_prompter.h"
#include "support/fake_udp_socket.h"
#include "users/scripted_prompt.h"

namespace qavo::testing {

class MainFrameTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        database.OpenDatabase(prompter, dir.filePath("qavo900.db").toStdString());
        {
            std::lock_guard lock(sockets.network->mutex);
            sockets.network->auto_ack = true;
        }
        Make();
    }
    void Make() {
        frame.reset();
        CMainFrame::Deps deps{sockets,
                              database,
                              Timings::Scaled(0.01),
                              [](int) {},
                              HostLink::Options{.group_port = 0},
                              nullptr,
                              nullptr,
                              nullptr,
                              {}};
        deps.prompter = &prompter;
        deps.files = &files;
        deps.credentials = &credentials;
        deps.settings_file = dir.filePath("profile.ini");
        frame = std::make_unique<CMainFrame>(deps);
        frame->resize(1280, 800);
        frame->show();
    }
    void LogIn() {
        credentials.logins.push_back(Credentials{"admin", "qvl704219"});
        frame->onLogin();
        ASSERT_TRUE(frame->session().logged_in);
    }
    std::vector<std::vector<uint8_t>> SentSince(size_t from) {
        std::lock_guard lock(sockets.network->mutex);
        std::vector<std::vector<uint8_t>> out;
        for (size_t i = from; i < sockets.network->sent.size(); ++i) {
            out.push_back(sockets.network->sent[i].data);
        }
        return out;
    }
    size_t SentCount() {
        std::lock_guard lock(sockets.network->mutex);
        return sockets.network->sent.size();
    }
    // Lets the worker send what was queued: returns once nothing waits and
    // nothing more went out for a while.
    void Settle() {
        size_t last = SentCount();
        int quiet = 0;
        for (int i = 0; i < 400 && quiet < 10; ++i) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            QThread::msleep(5);
            const size_t now = SentCount();
            quiet = (now == last && frame->jobs().Pending() == 0) ? quiet + 1 : 0;
            last = now;
        }
    }

    // Runs events until `done` holds or `limit` passes; whether it held.
    static bool PumpUntil(const std::function<bool()>& done,
                          std::chrono::milliseconds limit = std::chrono::seconds(10)) {
        const auto end = std::chrono::steady_clock::now() + limit;
        while (!done()) {
            if (std::chrono::steady_clock::now() > end) return false;
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            QThread::msleep(1);
        }
        return true;
    }

    QTemporaryDir dir;
    FakePrompter prompter;
    FakeFilePicker files;
    ScriptedPrompt credentials;
    FakeSocketFactory sockets;
    ConsoleDatabase database;
    std::unique_ptr<CMainFrame> frame;
};

}  // namespace qavo::testing
