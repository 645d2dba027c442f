#include "shell/qavo_app.h"

#include <QMessageBox>

#include "shell/gui_dispatch.h"
#include "shell/main_frame.h"
#include "shell/qt_prompter.h"

namespace qavo {

CQavoApp::CQavoApp()
    : dispatch_(std::make_unique<GuiDispatch>()),
      prompter_(std::make_unique<QtPrompter>(*dispatch_)) {}

CQavoApp::~CQavoApp() {
    frame_.reset();
    database_.Close();
}

bool CQavoApp::Start() {
    // A database that cannot be opened is reported; the console runs on
    // without it.
    database_.OpenDatabase(*prompter_);
    CMainFrame::Deps deps{sockets_, database_, Timings{}, [](int code) { std::exit(code); },
                          {},       nullptr,   nullptr,   nullptr,
                          {}};
    frame_ = std::make_unique<CMainFrame>(deps);
    frame_->showMaximized();
    return true;
}

}  // namespace qavo
