#include "persistence/file_commands.h"

#include <sys/stat.h>

#include <exception>
#include <thread>

#include "persistence/config_file.h"
#include "persistence/log_export.h"
#include "persistence/log_table.h"

namespace qavo {

FileRequest ConfigFileRequest(FileRequest::Mode mode) {
    FileRequest request;
    request.mode = mode;
    request.filter = kConfigFileFilter;
    return request;
}

FileRequest LogWorkbookRequest() {
    FileRequest request;
    request.mode = FileRequest::Mode::kSave;
    request.filter = kLogWorkbookFilter;
    return request;
}

BoxRequest InfoBox(std::string text) {
    return {std::move(text), kAppTitle, BoxButtons::kOk, BoxIcon::kNone};
}

BoxRequest SaveFailedBox(const std::string& error) {
    return {"The configuration file could not be saved.\n" + error, kAppTitle, BoxButtons::kOk,
            BoxIcon::kError};
}

BoxRequest ImportFailedBox(const std::string& error) {
    return {"The configuration file could not be read.\n" + error, kAppTitle, BoxButtons::kOk,
            BoxIcon::kError};
}

BoxRequest ExportFailedBox(const std::string& error) {
    return {"The system log could not be exported.\n" + error, kAppTitle, BoxButtons::kOk,
            BoxIcon::kError};
}

BoxRequest ReplaceQuestion(const std::string& path) {
    return {path + " already exists.\nDo you want to replace it?", kAppTitle, BoxButtons::kYesNo,
            BoxIcon::kQuestion};
}

void SaveConfiguration(SystemModel& model, FilePicker& files, Prompter& prompter) {
    const auto path = files.Pick(ConfigFileRequest(FileRequest::Mode::kSave));
    if (!path) return;
    std::vector<uint8_t> bytes;
    {
        auto lock = model.Lock();
        bytes = EncodeConfigFile(model.image);
    }
    const FileResult saved = ReplaceFileContent(*path, bytes);
    prompter.Ask(saved.ok ? InfoBox(kSavedText) : SaveFailedBox(saved.error));
}

void ImportConfiguration(SystemModel& model, FilePicker& files, Prompter& prompter) {
    const auto path = files.Pick(ConfigFileRequest(FileRequest::Mode::kOpen));
    if (!path) return;
    const ConfigFileBytes file = ReadConfigFile(*path);
    if (!file.result.ok) {
        prompter.Ask(ImportFailedBox(file.result.error));
        return;
    }
    std::vector<std::string_view> messages;
    {
        auto lock = model.Lock();
        messages = ApplyConfigFile(file.bytes, model.image);
    }
    for (std::string_view message : messages)
        prompter.Ask(InfoBox(std::string(message)));
    prompter.Ask(InfoBox(kImportedText));
}

void ExportLog(const LogExportContext& context) {
    const auto path = context.files.Pick(LogWorkbookRequest());
    if (!path) return;
    struct stat info {};
    if (::stat(path->c_str(), &info) == 0 &&
        context.prompter.Ask(ReplaceQuestion(*path)) != BoxAnswer::kYes) {
        return;
    }

    // The whole table, whatever the log view filters; after a database
    // error the rows read so far.
    LogRows log = LoadLog(context.database);
    if (log.status != DbStatus::kOk) context.prompter.Ask(InfoBox(kDatabaseErrorText));

    const ProgressSession session =
        BeginProgress(context.progress, context.bus, ProgressState::kSavingLog, 0);
    FileResult result = FileResult::Failure(*path + ": the export did not run");
    Completion done;
    try {
        std::thread writer([&] {
            try {
                result = ExportLogWorkbook(*path, log.rows);
            } catch (const std::exception& e) {
                result = FileResult::Failure(*path + ": " + e.what());
            }
            done.Signal();
        });
        if (context.wait) {
            while (!context.wait(done, std::chrono::milliseconds(1000))) {
            }
        } else {
            while (!BlockingWait(done, std::chrono::milliseconds(1000))) {
            }
        }
        writer.join();
    } catch (const std::system_error& e) {
        result = FileResult::Failure(*path + ": " + e.what());
    }
    CloseProgressNow(context.progress, context.bus, session);
    context.prompter.Ask(result.ok ? InfoBox(kSavedText) : ExportFailedBox(result.error));
}

}  // namespace qavo
