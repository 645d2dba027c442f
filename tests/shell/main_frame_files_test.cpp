// Save and Import of the main window: the configuration file with the
// configuration view, the log export with the log view, through scripted
// file choosers and boxes.
#include <QApplication>
#include <QEvent>
#include <QFileDialog>
#include <QTimer>
#include <filesystem>
#include <fstream>

#include "main_frame_fixture.h"
#include "persistence/file_commands.h"
#include "persistence/log_table.h"
#include "shell/file_view.h"
#include "shell/msg_info.h"
#include "shell/qt_prompter.h"
#include "support/xlsx_reader.h"

namespace qavo {
namespace {

using testing::MainFrameTest;

constexpr const char* kSaved = "Current configuration saved successfully completed!";
constexpr const char* kImported =
    "QAVO system configuration information is imported successfully completed.";

std::vector<uint8_t> ReadAll(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteAll(const std::string& file, const std::vector<uint8_t>& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

// Records when the progress dialog shows and hides, with its text and the
// number of boxes asked for by then.
class ProgressWatch : public QObject {
  public:
    struct Seen {
        QEvent::Type type;
        QString text;
        size_t boxes_before;
    };
    ProgressWatch(CMsgInfo* dialog, const testing::FakePrompter& prompter)
        : dialog_(dialog), prompter_(prompter) {
        dialog->installEventFilter(this);
    }
    std::vector<Seen> seen;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == dialog_ && (event->type() == QEvent::Show || event->type() == QEvent::Hide))
            seen.push_back({event->type(), dialog_->text(), prompter_.asked().size()});
        return false;
    }

  private:
    CMsgInfo* dialog_;
    const testing::FakePrompter& prompter_;
};

class MainFrameFilesTest : public MainFrameTest {
  protected:
    void SetUp() override {
        MainFrameTest::SetUp();
        LogIn();
        Settle();
        base_boxes = prompter.asked().size();
    }
    void Show(NavItem item) {
        frame->navigation()->select(item);
        ASSERT_EQ(frame->navigation()->selected(), item);
    }
    std::string Path(const char* name) const { return dir.filePath(name).toStdString(); }
    // The boxes asked for since SetUp.
    std::vector<BoxRequest> Boxes() const {
        auto all = prompter.asked();
        return {all.begin() + static_cast<std::ptrdiff_t>(base_boxes), all.end()};
    }
    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (const BoxRequest& box : Boxes())
            texts.push_back(box.text);
        return texts;
    }
    // Every block filled with a pattern, under the model lock.
    void FillImage(uint8_t seed) {
        auto lock = frame->model().Lock();
        for (unsigned id = 0; id < kBlockCount; ++id) {
            auto block = frame->model().image.Block(id);
            for (size_t i = 0; i < block.size(); ++i)
                block[i] = static_cast<uint8_t>(seed + id * 31 + i * 3);
        }
    }
    ParamImage Image() {
        auto lock = frame->model().Lock();
        return frame->model().image;
    }

    size_t base_boxes = 0;
};

TEST_F(MainFrameFilesTest, SaveWithTheConfigurationViewWritesTheFileAndReports) {
    Show(NavItem::kConfig);
    FillImage(9);
    const ParamImage image = Image();
    files.Script(Path("site"));
    frame->action(32824)->trigger();

    ASSERT_EQ(files.asked().size(), 1u);
    FileRequest expected;
    expected.mode = FileRequest::Mode::kSave;
    expected.filter = "QAVO configuration file.(*.cfg)|*.cfg";
    EXPECT_EQ(files.asked()[0], expected);  // no default extension, read-only option hidden

    const auto bytes = ReadAll(Path("site"));
    ASSERT_EQ(bytes.size(), 51320u);
    std::vector<uint8_t> blocks;
    for (unsigned id : {2u, 0u, 4u, 5u, 1u}) {
        auto block = image.Block(id);
        blocks.insert(blocks.end(), block.begin(), block.end());
    }
    EXPECT_EQ(bytes, blocks);
    EXPECT_EQ(Boxes(),
              (std::vector<BoxRequest>{{kSaved, "EmergencyVoiceAlarmSystem", BoxButtons::kOk}}));
}

TEST_F(MainFrameFilesTest, SaveThatFailsShowsAnErrorAndKeepsTheOldFile) {
    Show(NavItem::kConfig);
    WriteAll(Path("site.cfg"), {1, 2, 3});
    std::filesystem::create_directory(Path("folder.cfg"));
    for (const std::string& target : {Path("folder.cfg"), Path("site.cfg") + "/x.cfg"}) {
        SCOPED_TRACE(target);
        const size_t before = prompter.asked().size();
        files.Script(target);
        frame->onSave();
        const auto asked = prompter.asked();
        ASSERT_EQ(asked.size(), before + 1);
        const BoxRequest& box = asked.back();
        EXPECT_EQ(box.icon, BoxIcon::kError);
        EXPECT_EQ(box.caption, "EmergencyVoiceAlarmSystem");
        EXPECT_NE(box.text.find(target), std::string::npos) << box.text;
        EXPECT_NE(box.text, kSaved);
    }
    EXPECT_EQ(ReadAll(Path("site.cfg")), (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_TRUE(std::filesystem::is_empty(Path("folder.cfg")));
}

TEST_F(MainFrameFilesTest, ImportShowsTheShortBlocksThenTheCompletion) {
    Show(NavItem::kConfig);
    FillImage(40);
    const ParamImage before = Image();
    std::vector<uint8_t> bytes(3800);
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<uint8_t>(i * 13 + 5);
    WriteAll(Path("part.cfg"), bytes);
    files.Script(Path("part.cfg"));
    frame->action(32825)->trigger();

    ASSERT_EQ(files.asked().size(), 1u);
    EXPECT_EQ(files.asked()[0].mode, FileRequest::Mode::kOpen);
    EXPECT_EQ(files.asked()[0].filter, "QAVO configuration file.(*.cfg)|*.cfg");
    EXPECT_EQ(Texts(), (std::vector<std::string>{
                           "QAVO System grouping configuration parameter is invalid.",
                           "QAVO System grouping configuration parameter is invalid.",
                           "QAVO System paging configuration parameter is invalid.",
                           kImported,
                       }));
    for (const BoxRequest& box : Boxes()) {
        EXPECT_EQ(box.caption, "EmergencyVoiceAlarmSystem");
        EXPECT_EQ(box.buttons, BoxButtons::kOk);
    }
    const ParamImage after = Image();
    EXPECT_TRUE(
        std::equal(bytes.begin(), bytes.begin() + 3732, after.Block(kFireAlarmBlock).begin()));
    EXPECT_TRUE(std::equal(bytes.begin() + 3732, bytes.begin() + 3777,
                           after.Block(kEquipmentBlock).begin()));
    EXPECT_TRUE(std::equal(bytes.begin() + 3777, bytes.end(), after.Block(kGroupsBlock).begin()));
    EXPECT_TRUE(std::equal(after.Block(kGroupsBlock).begin() + 23, after.Block(kGroupsBlock).end(),
                           before.Block(kGroupsBlock).begin() + 23));
    EXPECT_TRUE(std::ranges::equal(after.Block(kPagingBlock), before.Block(kPagingBlock)));
}

TEST_F(MainFrameFilesTest, ImportOfAFileThatCannotBeOpenedShowsOnlyTheError) {
    Show(NavItem::kConfig);
    FillImage(50);
    const ParamImage before = Image();
    files.Script(Path("missing.cfg"));
    frame->onImport();
    const auto boxes = Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].icon, BoxIcon::kError);
    EXPECT_NE(boxes[0].text.find(Path("missing.cfg")), std::string::npos);
    EXPECT_EQ(Image(), before);
}

TEST_F(MainFrameFilesTest, CancelOrAnotherViewDoesNothing) {
    struct Case {
        NavItem item;
        int command;
        size_t choosers;  // file choosers expected
    };
    const Case cases[] = {
        {NavItem::kConfig, 32824, 1},  // cancelled
        {NavItem::kConfig, 32825, 1},  // cancelled
        {NavItem::kLog, 32824, 1},     // cancelled
        {NavItem::kLog, 32825, 0},    {NavItem::kControl, 32824, 0}, {NavItem::kState, 32825, 0},
    };
    FillImage(60);
    const ParamImage before = Image();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        Show(c.item);
        const size_t choosers = files.asked().size();
        if (c.command == 32824) {
            frame->onSave();
        } else {
            frame->onImport();
        }
        EXPECT_EQ(files.asked().size() - choosers, c.choosers);
    }
    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ(Image(), before);
    EXPECT_FALSE(frame->progressDialog()->isVisible());
}

TEST_F(MainFrameFilesTest, ExportWithTheLogViewWritesEveryRowUnderTheProgressDialog) {
    const std::vector<LogRow> rows = {
        {"1", "2024-03-05,08:15:00", "Host online", "Host 01 is on line."},
        {"2", "2024-03-05,08:16:30", "Line fault", "Host 02 zone 03 line A open."},
        {"3", "2024-03-06,10:00:00", "Host online", "Host 02 is on line."},
    };
    ASSERT_EQ(ReplaceLog(database, rows), DbStatus::kOk);
    Show(NavItem::kLog);
    ProgressWatch watch(frame->progressDialog(), prompter);
    files.Script(Path("log.xlsx"));
    frame->action(32824)->trigger();

    ASSERT_EQ(files.asked().size(), 1u);
    FileRequest expected;
    expected.mode = FileRequest::Mode::kSave;
    expected.filter = "Excel File(*.xlsx)|*.xlsx";
    EXPECT_EQ(files.asked()[0], expected);

    // Shown in the saving-log mode, closed, then the completion.
    ASSERT_EQ(watch.seen.size(), 2u);
    EXPECT_EQ(watch.seen[0].type, QEvent::Show);
    EXPECT_EQ(watch.seen[0].text, "Saving system log, please wait for a moment...");
    EXPECT_EQ(watch.seen[1].type, QEvent::Hide);
    EXPECT_EQ(watch.seen[1].boxes_before, base_boxes);
    EXPECT_EQ(frame->services().progress.progress_mode, ProgressState::kSavingLog);
    EXPECT_FALSE(frame->progressDialog()->isVisible());
    EXPECT_EQ(Boxes(),
              (std::vector<BoxRequest>{{kSaved, "EmergencyVoiceAlarmSystem", BoxButtons::kOk}}));

    const auto sheet = testing::ReadXlsxSheet(Path("log.xlsx"));
    ASSERT_TRUE(sheet);
    EXPECT_EQ(sheet->sheet_names, std::vector<std::string>{"QAVO system log"});
    EXPECT_EQ(sheet->last_row, 4);
    for (int r = 0; r < 3; ++r) {
        const std::string n = std::to_string(r + 2);
        EXPECT_EQ(sheet->cells.at("A" + n), std::to_string(r + 1));
        EXPECT_EQ(sheet->cells.at("D" + n), rows[static_cast<size_t>(r)].event_context);
    }
}

TEST_F(MainFrameFilesTest, ExportAsksBeforeReplacingAnExistingWorkbook) {
    ASSERT_EQ(ReplaceLog(database, {{{"1", "2024-03-05,08:15:00", "Host online", "new"}}}),
              DbStatus::kOk);
    Show(NavItem::kLog);
    const std::vector<uint8_t> old = {'o', 'l', 'd'};
    WriteAll(Path("log.xlsx"), old);
    struct Case {
        BoxAnswer answer;
        bool replaced;
    };
    for (const Case& c : {Case{BoxAnswer::kNo, false}, Case{BoxAnswer::kYes, true}}) {
        SCOPED_TRACE(c.replaced);
        const size_t before = prompter.asked().size();
        prompter.Script({c.answer});
        files.Script(Path("log.xlsx"));
        frame->onSave();
        const auto asked = prompter.asked();
        ASSERT_GT(asked.size(), before);
        const BoxRequest& question = asked[before];
        EXPECT_EQ(question.buttons, BoxButtons::kYesNo);
        EXPECT_EQ(question.icon, BoxIcon::kQuestion);
        EXPECT_NE(question.text.find(Path("log.xlsx")), std::string::npos);
        if (c.replaced) {
            ASSERT_EQ(asked.size(), before + 2);
            EXPECT_EQ(asked.back().text, kSaved);
            const auto sheet = testing::ReadXlsxSheet(Path("log.xlsx"));
            ASSERT_TRUE(sheet);
            EXPECT_EQ(sheet->cells.at("D2"), "new");
        } else {
            EXPECT_EQ(asked.size(), before + 1);
            EXPECT_EQ(ReadAll(Path("log.xlsx")), old);
        }
    }
}

TEST_F(MainFrameFilesTest, ExportWithoutDatabaseWarnsThenWritesTheHeaderOnly) {
    ASSERT_EQ(ReplaceLog(database, {{{"1", "2024-03-05,08:15:00", "Host online", "x"}}}),
              DbStatus::kOk);
    database.Close();
    Show(NavItem::kLog);
    // The log view itself cannot load its list either.
    EXPECT_EQ(Texts(), (std::vector<std::string>{"Save network card information"}));
    files.Script(Path("log.xlsx"));
    frame->onSave();
    EXPECT_EQ(Texts(), (std::vector<std::string>{"Save network card information",
                                                 "Save network card information", kSaved}));
    const auto sheet = testing::ReadXlsxSheet(Path("log.xlsx"));
    ASSERT_TRUE(sheet);
    EXPECT_EQ(sheet->last_row, 1);
    EXPECT_EQ(sheet->cells.at("A1"), "ID");
    EXPECT_FALSE(frame->progressDialog()->isVisible());
}

TEST_F(MainFrameFilesTest, ExportThatFailsClosesTheProgressAndShowsTheError) {
    Show(NavItem::kLog);
    WriteAll(Path("plain"), {1});
    ProgressWatch watch(frame->progressDialog(), prompter);
    files.Script(Path("plain") + "/log.xlsx");
    frame->onSave();
    const auto boxes = Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].icon, BoxIcon::kError);
    EXPECT_NE(boxes[0].text.find("plain/log.xlsx"), std::string::npos) << boxes[0].text;
    ASSERT_FALSE(watch.seen.empty());
    EXPECT_EQ(watch.seen.back().type, QEvent::Hide);
    EXPECT_FALSE(frame->progressDialog()->isVisible());
}

// The real chooser: the save variant never asks its own overwrite question,
// so that the console's question (or none) is the only one.
TEST(QtFilePickerTest, SaveChooserLeavesTheReplaceQuestionToTheConsole) {
    struct Case {
        FileRequest::Mode mode;
        QFileDialog::AcceptMode accept;
        bool dont_confirm;
    };
    const Case cases[] = {
        {FileRequest::Mode::kSave, QFileDialog::AcceptSave, true},
        {FileRequest::Mode::kOpen, QFileDialog::AcceptOpen, false},
    };
    for (const Case& c : cases) {
        std::optional<QFileDialog::AcceptMode> accept;
        bool dont_confirm = false;
        QString filter;
        QTimer poll;
        poll.setInterval(5);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dialog) return;
            accept = dialog->acceptMode();
            dont_confirm = dialog->testOption(QFileDialog::DontConfirmOverwrite);
            filter = dialog->selectedNameFilter();
            dialog->reject();
        });
        poll.start();
        QtFilePicker picker;
        FileRequest request = ConfigFileRequest(c.mode);
        EXPECT_EQ(picker.Pick(request), std::nullopt);
        poll.stop();
        ASSERT_TRUE(accept.has_value());
        EXPECT_EQ(*accept, c.accept);
        EXPECT_EQ(dont_confirm, c.dont_confirm);
        EXPECT_EQ(filter, "QAVO configuration file.(*.cfg)");
    }
}

}  // namespace
}  // namespace qavo
