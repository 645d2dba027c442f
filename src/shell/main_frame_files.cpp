#include "persistence/file_commands.h"
#include "shell/main_frame.h"

// Save and Import: the configuration file with the configuration view, the
// export of the event log with the log view.
namespace qavo {

void CMainFrame::onSave() {
    if (!session_.logged_in) return;
    if (current_view_ == kConfigView) {
        SaveConfiguration(model(), files_, prompter_);
    } else if (current_view_ == kLogView) {
        // The workbook is written on a thread of its own; this thread keeps
        // its event loop running under the progress dialog meanwhile.
        ExportLog({deps_.database, core_->progress(), bus_, files_, prompter_,
                   [this](const Completion& done, std::chrono::milliseconds limit) {
                       // The progress dialog shows itself first, however
                       // quickly the workbook is written.
                       return waitOnGui(done, limit);
                   }});
    }
}

void CMainFrame::onImport() {
    if (!session_.logged_in || current_view_ != kConfigView) return;
    ImportConfiguration(model(), files_, prompter_);
}

}  // namespace qavo
