// The firmware download dialog against the simulator: discover its devices,
// pick them, send a file, and every device reports the file it took.
#include <QFile>
#include <QListWidget>
#include <mutex>

#include "console_sim_fixture.h"
#include "maintenance/fw_dn.h"
#include "shell/msg_info.h"
#include "widgets/shade_button.h"

namespace qavo {
namespace {

using e2e::PumpUntil;

constexpr uint32_t kDevice9 = 0x7F000009;   // 127.0.0.9
constexpr uint32_t kDevice10 = 0x7F00000A;  // 127.0.0.10
constexpr const char* kComplete = "Device firmware update is complete.";

class FirmwareAgainstSimulator : public e2e::ConsoleAgainstSimulator {
  protected:
    void ConfigureSimulator(sim::SimOptions& options) override {
        // Announced in this order; listed and updated by address.
        options.devices = {sim::SimDevice{kDevice10, 1, 2}, sim::SimDevice{kDevice9, 1, 2}};
        options.ready_delay_ms = 50;
        options.diagnostics = [this](const std::string& line) {
            if (line.rfind("firmware ", 0) != 0) return;
            std::lock_guard lock(mutex);
            reports.push_back(line);
        };
    }
    std::vector<std::string> Reports() {
        std::lock_guard lock(mutex);
        return reports;
    }
    size_t BoxesSaying(const std::string& text) const {
        size_t n = 0;
        for (const BoxRequest& box : prompter.asked())
            n += box.text == text;
        return n;
    }
    void Click(const char* name) {
        auto* button = frame->firmwareDialog()->findChild<ShadeButton*>(name);
        ASSERT_NE(button, nullptr) << name;
        button->click();
    }

    std::mutex mutex;
    std::vector<std::string> reports;
};

QStringList Texts(const QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

TEST_F(FirmwareAgainstSimulator, DiscoverPickAndUpdateTwoDevices) {
    ASSERT_FALSE(frame->action(32773)->isEnabled());  // nobody logged in
    credentials.logins.push_back(Credentials{"admin", "qvl704219"});
    frame->onLogin();
    ASSERT_TRUE(frame->session().logged_in);
    ASSERT_TRUE(frame->action(32773)->isEnabled());

    frame->action(32773)->trigger();
    CFwDn* dialog = frame->firmwareDialog();
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(dialog->isVisible());

    Click("refreshButton");
    ASSERT_TRUE(PumpUntil([&] { return dialog->equipmentList()->count() == 2; }));
    EXPECT_EQ(Texts(dialog->equipmentList()),
              (QStringList{"127.0.0.9 - Ver1.2", "127.0.0.10 - Ver1.2"}));

    // A 10240-byte file of varied bytes.
    QByteArray data(10240, '\0');
    for (int i = 0; i < data.size(); ++i)
        data[i] = static_cast<char>((i * 7 + i / 1024) & 0xFF);
    const QString path = dir.filePath("firmware.bin");
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(data), data.size());
    }
    files.Script(path.toStdString());
    Click("binaryFileButton");
    Click("moveRightButton");
    Click("moveRightButton");
    ASSERT_EQ(dialog->updateList()->count(), 2);

    const Endpoint host_before = frame->link().host_endpoint();
    Click("updateFirmwareButton");
    ASSERT_TRUE(
        PumpUntil([&] { return BoxesSaying(kComplete) == 2 && Reports().size() == 2; }, 30000))
        << "reports: " << Reports().size();
    ASSERT_TRUE(PumpUntil([&] { return frame->jobs().Pending() == 0; }));

    // Every box of the job told of a complete update; nothing went wrong.
    for (const BoxRequest& box : prompter.asked()) {
        EXPECT_EQ(box, (BoxRequest{kComplete, "Firmware download", BoxButtons::kOk, BoxIcon::kNone,
                                   true}));
    }
    // Each device, in address order, took the whole file.
    const auto* bytes = reinterpret_cast<const uint8_t*>(data.constData());
    const uint32_t crc = sim::Crc32({bytes, static_cast<size_t>(data.size())});
    char expected[2][160];
    for (int i = 0; i < 2; ++i) {
        std::snprintf(expected[i], sizeof expected[i],
                      "firmware %s: declared 10240 bytes, received 10240 bytes, crc32 0x%08X, ok",
                      i == 0 ? "127.0.0.9" : "127.0.0.10", crc);
    }
    EXPECT_EQ(Reports(), (std::vector<std::string>{expected[0], expected[1]}));
    const auto last = host->LastFirmwareReport();
    ASSERT_TRUE(last);
    EXPECT_EQ(last->device, kDevice10);
    EXPECT_EQ(last->declared, 10240u);
    EXPECT_EQ(last->received, 10240u);
    EXPECT_EQ(last->crc, crc);
    EXPECT_TRUE(last->ok);

    // The progress dialog counted the ten chunks of 20 and closed.
    ProgressState& progress = frame->core().progress();
    EXPECT_EQ(progress.progress_mode.load(), ProgressState::kFirmwareDownload);
    EXPECT_EQ(progress.progress_total.load(), 20);
    EXPECT_EQ(progress.progress_count.load(), 10);
    ASSERT_TRUE(PumpUntil([&] { return !frame->progressDialog()->isVisible(); }));

    // The job followed the list; afterwards the link points at the host again.
    EXPECT_EQ(dialog->updateList()->currentRow(), 1);
    EXPECT_EQ(frame->link().host_endpoint(), host_before);
    EXPECT_TRUE(dialog->isVisible());
}

}  // namespace
}  // namespace qavo
