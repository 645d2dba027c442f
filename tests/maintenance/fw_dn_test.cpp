// The firmware download dialog through its main path: choose a file, pick
// devices, start the update, follow the job, discover anew, exit.
#include "maintenance/fw_dn.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QListWidget>

#include "link/frame.h"
#include "support/services_harness.h"
#include "widgets/shade_button.h"

namespace qavo {
namespace {

QStringList Texts(const QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

class FwDnTest : public ::testing::Test, protected testing::ServicesHarness {
  protected:
    void Click(const char* name) {
        auto* button = dialog.findChild<ShadeButton*>(name);
        ASSERT_NE(button, nullptr) << name;
        button->click();
    }
    BoxRequest LastBox() const {
        const auto asked = prompter.asked();
        return asked.empty() ? BoxRequest{} : asked.back();
    }

    DeviceList devices;
    int tries_left = 0;
    int waits_ended = 0;
    CFwDn dialog{services,
                 FwDnLink{devices, [this] { return tries_left; }, [this] { ++waits_ended; }}};
};

TEST_F(FwDnTest, MainPath) {
    {
        auto lock = model.Lock();
        model.live.link_up = false;
    }
    devices.Append("192.168.1.10 - Ver1.0");
    devices.Append("192.168.1.9 - Ver1.0");
    dialog.openDialog();
    ASSERT_TRUE(dialog.isVisible());
    EXPECT_TRUE(dialog.isModal());
    EXPECT_EQ(dialog.windowTitle(), "Firmware Download");
    for (const char* name :
         {"binaryFileButton", "moveRightButton", "moveLeftButton", "refreshButton",
          "addDefaultButton", "updateFirmwareButton", "exitButton"}) {
        EXPECT_NE(dialog.findChild<ShadeButton*>(name), nullptr) << name;
    }
    EXPECT_EQ(dialog.findChild<ShadeButton*>("refreshButton")->text(), "< Refresh");
    EXPECT_EQ(dialog.findChild<ShadeButton*>("addDefaultButton")->text(), "add default eqt ip");
    // The host has not answered: the default device may be added.
    EXPECT_TRUE(dialog.findChild<ShadeButton*>("addDefaultButton")->isVisible());
    EXPECT_EQ(dialog.equipmentList()->palette().color(QPalette::Base), QColor(204, 204, 204));
    EXPECT_EQ(dialog.updateList()->palette().color(QPalette::Text), QColor(Qt::blue));
    EXPECT_EQ(dialog.pathLabel()->palette().color(QPalette::WindowText), QColor(Qt::blue));
    // Sorted as text: .10 before .9.
    EXPECT_EQ(Texts(dialog.equipmentList()),
              (QStringList{"192.168.1.10 - Ver1.0", "192.168.1.9 - Ver1.0"}));

    // Nothing chosen yet: refused, nothing queued.
    Click("updateFirmwareButton");
    EXPECT_EQ(LastBox().text, "Please choose a binary file.");
    EXPECT_TRUE(TakeJobs().empty());

    files.Script("/data/fw.bin");
    Click("binaryFileButton");
    ASSERT_EQ(files.asked().size(), 1u);
    EXPECT_EQ(files.asked()[0], FwDnLogic::BinaryFileRequest());
    EXPECT_EQ(dialog.pathLabel()->text(), "/data/fw.bin");

    Click("updateFirmwareButton");
    EXPECT_EQ(LastBox().text, "Please select the IP address of the update device.");
    EXPECT_TRUE(TakeJobs().empty());

    // A double click on the second entry, then ">" for the one left.
    QListWidgetItem* nine = dialog.equipmentList()->item(1);
    emit dialog.equipmentList()->itemDoubleClicked(nine);
    EXPECT_EQ(Texts(dialog.updateList()), QStringList{"192.168.1.9 - Ver1.0"});
    EXPECT_EQ(dialog.equipmentList()->currentRow(), 0);
    Click("moveRightButton");
    EXPECT_EQ(dialog.equipmentList()->count(), 0);
    EXPECT_EQ(Texts(dialog.updateList()),
              (QStringList{"192.168.1.10 - Ver1.0", "192.168.1.9 - Ver1.0"}));

    const size_t boxes = prompter.asked().size();
    Click("updateFirmwareButton");
    EXPECT_EQ(prompter.asked().size(), boxes);
    auto jobs_queued = TakeJobs();
    ASSERT_EQ(jobs_queued.size(), 1u);
    EXPECT_EQ(jobs_queued[0].job_kind, JobKind::kFirmware);
    EXPECT_EQ(jobs_queued[0].firmware_path, "/data/fw.bin");
    EXPECT_EQ(jobs_queued[0].firmware_devices,
              (std::vector<std::string>{"192.168.1.10 - Ver1.0", "192.168.1.9 - Ver1.0"}));
    EXPECT_EQ(dialog.updateList()->currentRow(), 0);
    EXPECT_TRUE(dialog.isVisible());  // usable while the job runs

    dialog.notify(WM_FIRMWARE_DEVICE, 1);
    EXPECT_EQ(dialog.updateList()->currentRow(), 1);

    // Discover anew: emptied, DISCOVER queued, later answers shown.
    Click("refreshButton");
    jobs_queued = TakeJobs();
    ASSERT_EQ(jobs_queued.size(), 1u);
    EXPECT_EQ(jobs_queued[0].job_op, DISCOVER);
    EXPECT_TRUE(devices.Entries().empty());
    devices.Append("192.168.1.20 - Ver2.0");
    dialog.notify(WM_DEVICE_ANNOUNCED, 0);
    devices.Append("192.168.1.3 - Ver2.0");
    dialog.notify(WM_DEVICE_ANNOUNCED, 0);
    EXPECT_EQ(Texts(dialog.equipmentList()),
              (QStringList{"192.168.1.20 - Ver2.0", "192.168.1.3 - Ver2.0"}));

    // Exit while the discovery still waits for its acknowledgement.
    tries_left = 1;
    Click("exitButton");
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(waits_ended, 1);

    // Reopened: every discovered device again, the update list empty.
    dialog.openDialog();
    EXPECT_EQ(dialog.equipmentList()->count(), 2);
    EXPECT_EQ(dialog.updateList()->count(), 0);
    EXPECT_EQ(dialog.pathLabel()->text(), "/data/fw.bin");
}

TEST_F(FwDnTest, AddDefaultDeviceOnlyWhileTheHostIsSilent) {
    {
        auto lock = model.Lock();
        model.live.link_up = true;
    }
    dialog.openDialog();
    EXPECT_FALSE(dialog.findChild<ShadeButton*>("addDefaultButton")->isVisible());
    dialog.reject();
    {
        auto lock = model.Lock();
        model.live.link_up = false;
    }
    dialog.openDialog();
    Click("addDefaultButton");
    EXPECT_EQ(Texts(dialog.equipmentList()), QStringList{"192.168.1.168 - Ver0.0"});
    Click("addDefaultButton");
    EXPECT_EQ(LastBox(), (BoxRequest{"You have added a device address!", "Error prompt",
                                     BoxButtons::kOk, BoxIcon::kWarning, false}));
    EXPECT_EQ(dialog.equipmentList()->count(), 1);
    // Exit with no discovery of this dialog waiting ends no wait.
    tries_left = 2;
    Click("exitButton");
    EXPECT_EQ(waits_ended, 0);
}

}  // namespace
}  // namespace qavo
