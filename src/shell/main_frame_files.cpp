#include <QCoreApplication>

#include "persistence/file_commands.h"
#include "shell/gui_wait.h"
#include "shell/main_frame.h"

// Save and Import: the configuration file with the configuration view, the
// export of the event log with the log view.
namespace qavo {

void CMainFrame::onSave() {
    if (!session_.logged_in) return;
    if (current_view_ == kConfigView) {
        SaveConfiguration(model_, files_, prompter_);
    } else if (current_view_ == kLogView) {
        // The workbook is written on a thread of its own; this thread keeps
        // its event loop running under the progress dialog meanwhile.
        ExportLog({deps_.database, progress_, bus_, files_, prompter_,
                   [](AutoResetEvent& event, std::chrono::milliseconds limit) {
                       // The progress dialog shows itself first, however
                       // quickly the workbook is written.
                       QCoreApplication::processEvents();
                       return GuiWait(event, limit);
                   }});
    }
}

void CMainFrame::onImport() {
    if (!session_.logged_in || current_view_ != kConfigView) return;
    ImportConfiguration(model_, files_, prompter_);
}

}  // namespace qavo
