#pragma once

#include <functional>

#include "link/command_job.h"
#include "model/auto_timing.h"
#include "model/progress_state.h"
#include "model/system_model.h"
#include "platform/code_page.h"
#include "platform/file_picker.h"
#include "platform/prompter.h"
#include "platform/timings.h"
#include "platform/ui_bus.h"
#include "platform/window_messages.h"

namespace qavo {

class ConsoleDatabase;
struct UserSession;

// What the windows of the console work with. The main window owns all of
// it and hands it to the views and dialogs it makes; tests build their own.
struct ConsoleServices {
    SystemModel& model;
    CommandJob& jobs;
    ProgressState& progress;
    Prompter& prompter;
    FilePicker& files;
    UiBus& bus;
    ConsoleDatabase& database;
    UserSession& session;
    AutoTiming& auto_timing;
    Timings timings;
    // A message to the main window, handled before this returns (GUI thread).
    std::function<void(WindowMessage, intptr_t)> send_to_main = [](WindowMessage, intptr_t) {};
    // How the GUI thread waits for a job without blocking paint and
    // notifications (a local event loop); by default the thread blocks.
    WaitFunction wait;
    // A block-write request to the main window (WM_WRITE_EQUIPMENT and the
    // other three): the write is queued under the progress session given
    // and its own ticket returned.
    std::function<JobHandle(WindowMessage, ProgressSession)> request_write =
        [](WindowMessage, ProgressSession) { return JobHandle{}; };
    // The code page the operator chose for names (View menu), asked each
    // time a window turns stored names into text (GUI thread); by default
    // the default one.
    std::function<CodePage()> code_page = [] { return CodePage{}; };
};

}  // namespace qavo
