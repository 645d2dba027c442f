#include "editors/dev_param_cfg.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "editors/paging_adr_cfg.h"
#include "editors/send_edited_blocks.h"
#include "editors/zone_sel.h"
#include "support/services_harness.h"

namespace qavo::testing {
namespace {

class DevParamCfgTest : public ::testing::Test {
  protected:
    DevParamCfgTest() {
        harness.services.timings = Timings::Scaled(0.01);
        harness.services.request_write = [this](WindowMessage message, ProgressSession) {
            requests.push_back(message);
            auto ticket = std::make_shared<JobTicket>();
            ticket->job_result = write_result;
            ticket->job_done_event.Signal();
            return ticket;
        };
        harness.model.live.prompt_voice_count = 2;
        harness.model.live.message_count = 4;
    }
    // A control of the equipment dialog itself, not of the dialogs it owns.
    template <typename T>
    T* Find(const char* name) {
        for (T* widget : dialog->findChildren<T*>(name)) {
            if (widget->window() == dialog.get()) return widget;
        }
        ADD_FAILURE() << name;
        return nullptr;
    }
    void Choose(const char* list, int index) {
        QComboBox* box = Find<QComboBox>(list);
        ASSERT_TRUE(box->isEnabled()) << list;
        box->setCurrentIndex(index);
        emit box->activated(index);
    }
    void Click(const char* name) { Find<QAbstractButton>(name)->click(); }
    QStringList Summary() {
        QStringList lines;
        auto* list = Find<QListWidget>("zoneSummary");
        for (int i = 0; i < list->count(); ++i)
            lines << list->item(i)->text();
        return lines;
    }

    ServicesHarness harness;
    std::vector<WindowMessage> requests;
    int write_result = 1;
    std::unique_ptr<CDevParamCfg> dialog;
};

TEST_F(DevParamCfgTest, AnInstallerEditsAndSendsTheEquipmentBlocks) {
    harness.model.image.Set(fields::paging_type, 2, 0);  // a touch console
    dialog = std::make_unique<CDevParamCfg>(harness.services);
    dialog->openEditor();
    EXPECT_EQ(dialog->windowTitle(), "Equipment Parameter");
    EXPECT_FALSE(Find<QLabel>("hostLabel")->isVisibleTo(dialog.get()));
    EXPECT_TRUE(Find<QLineEdit>("nameEdit")->isVisibleTo(dialog.get()));
    EXPECT_EQ(Find<QLabel>("keyLabel")->text(), "Key 1");

    Choose("hostNumberList", 2);  // three hosts
    EXPECT_TRUE(Find<QLabel>("hostLabel")->isVisibleTo(dialog.get()));
    Choose("groupNumberList", 20);
    Click("hostDown");
    EXPECT_EQ(Find<QLabel>("hostLabel")->text(), "Host 02");
    Click("workCheck3");  // zone 3 of host 2 no longer works
    EXPECT_FALSE(Find<QCheckBox>("detectCheck3")->isEnabled());
    EXPECT_EQ(Summary().value(1),
              "   host 01: 1,2,3,4,5,6,7,8;    host 02: 1,2,4,5,6,7,8;    host 03: "
              "1,2,3,4,5,6,7,8;  ");

    // The key's zones through the partition selection.
    Click("zoneButton");
    CZoneSel* zones = dialog->zoneSelection();
    ASSERT_TRUE(zones->isVisible());
    EXPECT_EQ(zones->windowTitle(), "Paging 01 - Key 01 Partition selection");
    EXPECT_EQ(zones->hostLabel()->text(), "Host 02");
    EXPECT_FALSE(zones->zoneCheck(2)->isEnabled());
    zones->zoneCheck(0)->click();
    zones->findChild<QAbstractButton*>("okButton")->click();
    EXPECT_FALSE(zones->isVisible());
    EXPECT_TRUE(Summary().value(1).contains("host 02: 2,4,5,6,7,8;"));

    // A key's name on the touch console, stored by the key move.
    Find<QLineEdit>("nameEdit")->setText("Lobby");
    Click("keyDown");
    EXPECT_EQ(Find<QLabel>("keyLabel")->text(), "Key 2");
    EXPECT_EQ(Find<QLineEdit>("nameEdit")->text(), "Button 02");

    Click("applyButton");
    ASSERT_EQ(requests, std::vector<WindowMessage>{WM_WRITE_EQUIPMENT});
    ASSERT_FALSE(harness.prompter.asked().empty());
    EXPECT_EQ(harness.prompter.asked().back().text, kSyncDoneText);
    EXPECT_TRUE(dialog->isVisible());  // "Application" keeps the dialog open
    {
        auto lock = harness.model.Lock();
        const ParamImage& image = harness.model.image;
        EXPECT_EQ(image.host_count(), 3u);
        EXPECT_EQ(image.group_count(), 20u);
        EXPECT_EQ(image.Get(fields::zone_work_enable, 1), 0xFBu);
        EXPECT_EQ(image.Get(fields::key_zones, 0, 0, 1), 0xFAu);
        EXPECT_EQ(image.GetName(fields::key_name, 0), "Lobby");
    }
    // Nothing changed since: "Cancel" closes without a question.
    const size_t asked = harness.prompter.asked().size();
    Click("cancelButton");
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(harness.prompter.asked().size(), asked);
}

TEST_F(DevParamCfgTest, AFailedWriteSaysSoAndTheImageKeepsTheNewValues) {
    write_result = -1;
    dialog = std::make_unique<CDevParamCfg>(harness.services);
    dialog->openEditor();
    Choose("quantityList", 0);
    for (const char* name : {"keyUp", "keyDown", "consoleNext", "zoneButton"})
        EXPECT_FALSE(Find<QWidget>(name)->isEnabled()) << name;
    for (const char* name : {"bgmTypeList", "consolePushList", "messageList"})
        EXPECT_FALSE(Find<QWidget>(name)->isEnabled()) << name;
    EXPECT_FALSE(Find<QPushButton>("addressButton")->isEnabled());
    EXPECT_FALSE(Find<QComboBox>("workModeList")->isEnabled());
    Click("applyButton");
    ASSERT_FALSE(harness.prompter.asked().empty());
    EXPECT_EQ(harness.prompter.asked().back().text, kSyncFailedText);
    EXPECT_EQ(harness.prompter.asked().back().icon, BoxIcon::kWarning);
    auto lock = harness.model.Lock();
    EXPECT_EQ(harness.model.image.paging_count(), 0u);
}

TEST_F(DevParamCfgTest, CancelAsksBeforeGivingUpAndEscapeNeverCloses) {
    dialog = std::make_unique<CDevParamCfg>(harness.services);
    dialog->openEditor();
    Click("allCheck");  // every zone of host 1 off
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(dialog.get(), &escape);
    EXPECT_TRUE(dialog->isVisible());

    harness.prompter.Script({BoxAnswer::kCancel});
    Click("cancelButton");
    ASSERT_EQ(harness.prompter.asked().size(), 1u);
    EXPECT_EQ(harness.prompter.asked()[0],
              (BoxRequest{"Are you sure you give up the current configuration?",
                          "Equipment parameter", BoxButtons::kOkCancel, BoxIcon::kQuestion}));
    EXPECT_TRUE(dialog->isVisible());
    harness.prompter.Script({BoxAnswer::kOk});
    Click("cancelButton");
    EXPECT_FALSE(dialog->isVisible());
    auto lock = harness.model.Lock();
    EXPECT_EQ(harness.model.image.Get(fields::zone_work_enable, 0), 0xFFu);
}

TEST_F(DevParamCfgTest, TheAddressDialogHandsItsAddressesStraightToTheImage) {
    harness.model.image.Set(fields::paging_count, 2);
    dialog = std::make_unique<CDevParamCfg>(harness.services);
    dialog->openEditor();
    Click("addressButton");
    CPagingAdrCfg* addresses = dialog->addressDialog();
    ASSERT_TRUE(addresses->isVisible());
    // Console 2 becomes a fire console with address 01.
    addresses->onCellDoubleClicked(1, 2);
    auto* combo = addresses->findChild<QComboBox*>("cellCombo");
    ASSERT_NE(combo, nullptr);
    combo->setCurrentIndex(1);  // "Fire paging"
    addresses->onCellDoubleClicked(1, 3);
    combo = addresses->findChild<QComboBox*>("cellCombo");
    ASSERT_NE(combo, nullptr);
    combo->setCurrentIndex(0);  // "01"
    addresses->onCellClicked(-1, -1);
    addresses->findChild<QAbstractButton*>("okButton")->click();
    EXPECT_FALSE(addresses->isVisible());
    {
        auto lock = harness.model.Lock();
        EXPECT_EQ(harness.model.image.Get(fields::paging_address, 1), 1u);
        EXPECT_EQ(harness.model.image.Get(fields::paging_type, 1), 0u);  // not before "OK"
    }
    EXPECT_EQ(dialog->logic().paging_types()[1], 1u);
    Click("consoleNext");
    Click("keyUp");
    EXPECT_EQ(Find<QLabel>("keyLabel")->text(), "Key 4");  // a fire console has four keys
    // Cancelled: the types are given up, the addresses stay in the image.
    harness.prompter.Script({BoxAnswer::kOk});
    Click("cancelButton");
    auto lock = harness.model.Lock();
    EXPECT_EQ(harness.model.image.Get(fields::paging_type, 1), 0u);
    EXPECT_EQ(harness.model.image.Get(fields::paging_address, 1), 1u);
}

}  // namespace
}  // namespace qavo::testing
