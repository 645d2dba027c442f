#pragma once

// What a window of the console works with, made of fakes: a view or dialog
// under test gets `services`; the test looks at the jobs queued, the boxes
// asked and the messages sent to the main window.

#include <utility>
#include <vector>

#include "link/command_job.h"
#include "persistence/console_database.h"
#include "shell/console_services.h"
#include "support/fake_file_picker.h"
#include "support/fake_prompter.h"
#include "support/fake_ui_bus.h"
#include "users/user_session.h"

namespace qavo::testing {

struct ServicesHarness {
    ServicesHarness() = default;
    ServicesHarness(const ServicesHarness&) = delete;
    ServicesHarness& operator=(const ServicesHarness&) = delete;

    // Every job queued so far, in order; the queue is then empty.
    std::vector<Job> TakeJobs() {
        std::vector<Job> taken;
        while (auto queued = jobs.Take())
            taken.push_back(queued->job);
        return taken;
    }

    SystemModel model;
    CommandJob jobs;
    ProgressState progress;
    FakePrompter prompter;
    FakeFilePicker files;
    FakeUiBus bus;
    ConsoleDatabase database;
    UserSession session;
    AutoTiming auto_timing;
    std::vector<std::pair<WindowMessage, intptr_t>> sent_to_main;
    ConsoleServices services{
        model,
        jobs,
        progress,
        prompter,
        files,
        bus,
        database,
        session,
        auto_timing,
        Timings{},
        [this](WindowMessage m, intptr_t w) { sent_to_main.emplace_back(m, w); },
        {}};
};

}  // namespace qavo::testing
