#pragma once

#include <memory>

#include "persistence/console_database.h"
#include "platform/udp_socket.h"

namespace qavo {

class CMainFrame;
class GuiDispatch;
class QtPrompter;
class CredentialsPrompt;

// The application: opens the database (the console runs on without one),
// then makes and shows the main window maximised.
class CQavoApp {
  public:
    CQavoApp();
    ~CQavoApp();
    bool Start();
    CMainFrame* mainFrame() const { return frame_.get(); }

  private:
    PosixSocketFactory sockets_;
    ConsoleDatabase database_;
    std::unique_ptr<GuiDispatch> dispatch_;
    std::unique_ptr<QtPrompter> prompter_;
    std::unique_ptr<CredentialsPrompt> credentials_;
    std::unique_ptr<CMainFrame> frame_;
};

}  // namespace qavo
