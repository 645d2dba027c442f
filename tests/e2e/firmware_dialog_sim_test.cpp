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
    // Sorted as text: .10 before .9.
    EXPECT_EQ(Texts(dialog->equipmentList()),
              (QStringList{"127.0.0.10 - Ver1.2", "127.0.0.9 - Ver1.2"}));

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
    // Each device, in the list's order, took the whole file.
    const auto* bytes = reinterpret_cast<const uint8_t*>(data.constData());
    const uint32_t crc = sim::Crc32({bytes, static_cast<size_t>(data.size())});
    char expected[2][160];
    for (int i = 0; i < 2; ++i) {
        std::snprintf(expected[i], sizeof expected[i],
                      "firmware %s: declared 10240 bytes, received 10240 bytes, crc32 0x%08X, ok",
                      i == 0 ? "127.0.0.10" : "127.0.0.9", crc);
    }
    EXPECT_EQ(Reports(), (std::vector<std::string>{expected[0], expected[1]}));
    const auto last = host->LastFirmwareReport();
    ASSERT_TRUE(last);
    EXPECT_EQ(last->device, kDevice9);
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

constexpr uint32_t kDevice11 = 0x7F00000B;  // 127.0.0.11
constexpr const char* kError = "Downloading error!";

// Three devices; two of them are picked for the update.
class ThreeDevicesAgainstSimulator : public FirmwareAgainstSimulator {
  protected:
    void ConfigureSimulator(sim::SimOptions& options) override {
        FirmwareAgainstSimulator::ConfigureSimulator(options);
        options.devices = {sim::SimDevice{kDevice10, 1, 2}, sim::SimDevice{kDevice9, 1, 2},
                           sim::SimDevice{kDevice11, 1, 2}};
    }
    // A device that never gets ready is given up after this long (instead of
    // 20 s); the others are ready after 50 ms.
    Timings ConsoleTimings() override {
        Timings timings;
        timings.fw_ready_wait = std::chrono::milliseconds(1500);
        return timings;
    }

    // Logs in, opens the dialog, discovers the three devices, chooses a
    // 10240-byte file and moves 127.0.0.9 and 127.0.0.11 to the update list.
    void PickTwoOfThree() {
        credentials.logins.push_back(Credentials{"admin", "qvl704219"});
        frame->onLogin();
        ASSERT_TRUE(frame->session().logged_in);
        frame->action(32773)->trigger();
        dialog = frame->firmwareDialog();
        ASSERT_NE(dialog, nullptr);
        ASSERT_TRUE(dialog->isVisible());

        Click("refreshButton");
        ASSERT_TRUE(PumpUntil([&] { return dialog->equipmentList()->count() == 3; }));
        QStringList found = Texts(dialog->equipmentList());
        found.sort();
        ASSERT_EQ(found, (QStringList{"127.0.0.10 - Ver1.2", "127.0.0.11 - Ver1.2",
                                      "127.0.0.9 - Ver1.2"}));

        data = QByteArray(10240, '\0');
        for (int i = 0; i < data.size(); ++i)
            data[i] = static_cast<char>((i * 13 + i / 512) & 0xFF);
        const QString path = dir.filePath("firmware.bin");
        {
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            ASSERT_EQ(file.write(data), data.size());
        }
        files.Script(path.toStdString());
        Click("binaryFileButton");

        for (const QString& entry :
             {QString("127.0.0.9 - Ver1.2"), QString("127.0.0.11 - Ver1.2")}) {
            const int row = static_cast<int>(Texts(dialog->equipmentList()).indexOf(entry));
            ASSERT_GE(row, 0) << entry.toStdString();
            dialog->equipmentList()->setCurrentRow(row);
            Click("moveRightButton");
        }
        ASSERT_EQ(Texts(dialog->equipmentList()), QStringList{"127.0.0.10 - Ver1.2"});
        QStringList picked = Texts(dialog->updateList());
        ASSERT_EQ(picked.size(), 2);
        for (const QString& entry : picked)
            order.push_back(entry.startsWith("127.0.0.9 ") ? kDevice9 : kDevice11);
        picked.sort();
        ASSERT_EQ(picked, (QStringList{"127.0.0.11 - Ver1.2", "127.0.0.9 - Ver1.2"}));
    }
    uint32_t Crc() const {
        const auto* bytes = reinterpret_cast<const uint8_t*>(data.constData());
        return sim::Crc32({bytes, static_cast<size_t>(data.size())});
    }
    // The device at `address` took the whole file.
    void ExpectWholeFile(uint32_t address) {
        const auto report = host->FirmwareReportOf(address);
        ASSERT_TRUE(report.has_value()) << sim::FormatAddress(address);
        EXPECT_EQ(report->device, address);
        EXPECT_EQ(report->declared, 10240u);
        EXPECT_EQ(report->received, 10240u);
        EXPECT_EQ(report->crc, Crc());
        EXPECT_TRUE(report->ok) << report->text;
    }

    CFwDn* dialog = nullptr;
    QByteArray data;
    std::vector<uint32_t> order;  // the update list's devices, in its order
};

TEST_F(ThreeDevicesAgainstSimulator, TheTwoPickedDevicesTakeTheFileAndTheThirdIsLeftAlone) {
    ASSERT_NO_FATAL_FAILURE(PickTwoOfThree());
    Click("updateFirmwareButton");
    ASSERT_TRUE(PumpUntil(
        [&] {
            return BoxesSaying(kComplete) == 2 && host->FirmwareReportOf(kDevice9) &&
                   host->FirmwareReportOf(kDevice11);
        },
        30000));
    ASSERT_TRUE(PumpUntil([&] { return frame->jobs().Pending() == 0; }));

    ASSERT_EQ(prompter.asked().size(), 2u);
    for (const BoxRequest& box : prompter.asked()) {
        EXPECT_EQ(box, (BoxRequest{kComplete, "Firmware download", BoxButtons::kOk, BoxIcon::kNone,
                                   true}));
    }
    ExpectWholeFile(kDevice9);
    ExpectWholeFile(kDevice11);
    // The update list's order; the device left in the other list took nothing.
    ASSERT_EQ(order.size(), 2u);
    EXPECT_EQ(host->LastFirmwareReport()->device, order[1]);
    EXPECT_FALSE(host->FirmwareReportOf(kDevice10).has_value());
    EXPECT_EQ(Reports().size(), 2u);

    // The progress dialog counted the ten chunks of 20 and closed.
    ProgressState& progress = frame->core().progress();
    EXPECT_EQ(progress.progress_mode.load(), ProgressState::kFirmwareDownload);
    EXPECT_EQ(progress.progress_total.load(), 20);
    EXPECT_EQ(progress.progress_count.load(), 10);
    ASSERT_TRUE(PumpUntil([&] { return !frame->progressDialog()->isVisible(); }));
    EXPECT_EQ(dialog->updateList()->currentRow(), 1);
    EXPECT_EQ(frame->link().host_endpoint(), (Endpoint{e2e::kLoopback, host->port()}));
}

TEST_F(ThreeDevicesAgainstSimulator, ADeviceThatNeverGetsReadyIsToldAndTheNextIsStillUpdated) {
    ASSERT_NO_FATAL_FAILURE(PickTwoOfThree());
    ASSERT_EQ(order.size(), 2u);
    const uint32_t silent = order[0];
    const uint32_t next = order[1];
    ASSERT_EQ(host->Command("firmware " + sim::FormatAddress(silent) + " ready off").rfind("ok", 0),
              0u);

    Click("updateFirmwareButton");
    ASSERT_TRUE(PumpUntil(
        [&] { return BoxesSaying(kComplete) == 1 && host->FirmwareReportOf(next); }, 30000));
    ASSERT_TRUE(PumpUntil([&] { return frame->jobs().Pending() == 0; }));

    // The error for the first device, then the second one's success.
    EXPECT_EQ(prompter.asked(),
              (std::vector<BoxRequest>{
                  {kError, "Firmware download", BoxButtons::kOk, BoxIcon::kError, true},
                  {kComplete, "Firmware download", BoxButtons::kOk, BoxIcon::kNone, true}}));
    EXPECT_FALSE(host->FirmwareReportOf(silent).has_value());
    ExpectWholeFile(next);
    EXPECT_FALSE(host->FirmwareReportOf(kDevice10).has_value());

    EXPECT_EQ(frame->core().progress().progress_count.load(), 10);
    ASSERT_TRUE(PumpUntil([&] { return !frame->progressDialog()->isVisible(); }));
    EXPECT_EQ(dialog->updateList()->currentRow(), 1);
    EXPECT_EQ(frame->link().host_endpoint(), (Endpoint{e2e::kLoopback, host->port()}));
}

}  // namespace
}  // namespace qavo
