#pragma once

#include <chrono>
#include <functional>
#include <string>

#include "model/progress_state.h"
#include "model/system_model.h"
#include "platform/completion.h"
#include "platform/file_picker.h"
#include "platform/prompter.h"
#include "platform/ui_bus.h"

namespace qavo {

class ConsoleDatabase;

// The Save and Import commands of the main window: the configuration file
// with the configuration view, the log export with the log view.

inline constexpr const char* kConfigFileFilter = "QAVO configuration file.(*.cfg)|*.cfg";
inline constexpr const char* kLogWorkbookFilter = "Excel File(*.xlsx)|*.xlsx";
inline constexpr const char* kSavedText = "Current configuration saved successfully completed!";
inline constexpr const char* kImportedText =
    "QAVO system configuration information is imported successfully completed.";

// The chooser of each command; the name is used as the operator gives it.
FileRequest ConfigFileRequest(FileRequest::Mode mode);
FileRequest LogWorkbookRequest();

// The boxes of the commands.
BoxRequest InfoBox(std::string text);
BoxRequest SaveFailedBox(const std::string& error);
BoxRequest ImportFailedBox(const std::string& error);
BoxRequest ExportFailedBox(const std::string& error);
BoxRequest ReplaceQuestion(const std::string& path);

// Save with the configuration view: the five blocks, copied under the model
// lock, go to the chosen file; then the completion or the error.
void SaveConfiguration(SystemModel& model, FilePicker& files, Prompter& prompter);

// Import with the configuration view: the file is read first, then laid
// over the image under the model lock; the message of every block the file
// does not cover follows, then the completion. A file that cannot be read
// changes nothing and shows the error instead of the completion.
void ImportConfiguration(SystemModel& model, FilePicker& files, Prompter& prompter);

struct LogExportContext {
    ConsoleDatabase& database;
    ProgressState& progress;
    UiBus& bus;
    FilePicker& files;
    Prompter& prompter;
    // How the calling thread waits for the writer of the workbook; the GUI
    // thread runs its event loop meanwhile. Empty: the calling thread blocks.
    WaitFunction wait;
};

// Save with the log view: every row of the table `log` into a workbook,
// written on a thread of its own under the progress dialog.
void ExportLog(const LogExportContext& context);

}  // namespace qavo
