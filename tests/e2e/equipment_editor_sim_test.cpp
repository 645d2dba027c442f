// An installer commissions the system from the equipment editor against the
// simulated host: counts, a zone's work check, a key's zones through the
// partition selection and a console's type and address through the address
// table; "Application" sends blocks 0 and 1, which the host then holds byte
// for byte. With the host silent the failure is reported and nothing typed
// is lost.
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

#include "console_sim_fixture.h"
#include "editors/dev_param_cfg.h"
#include "editors/paging_adr_cfg.h"
#include "editors/send_edited_blocks.h"
#include "editors/zone_sel.h"
#include "shell/msg_info.h"

namespace qavo {
namespace {

using e2e::ConsoleAgainstSimulator;
using e2e::PumpUntil;

class EquipmentEditorAgainstSimulator : public ConsoleAgainstSimulator {
  protected:
    CDevParamCfg* OpenEditor() {
        frame->navigation()->select(NavItem::kEquipment);
        CDevParamCfg* editor = frame->equipmentDialog();
        EXPECT_NE(editor, nullptr);
        EXPECT_TRUE(editor && editor->isVisible());
        return editor;
    }
    // A control of the window `parent`, not of a dialog it owns.
    template <typename T>
    static T* Child(QWidget* parent, const char* name) {
        for (T* child : parent->findChildren<T*>(name)) {
            if (child->window() == parent) return child;
        }
        ADD_FAILURE() << name;
        return nullptr;
    }
    static void Choose(QWidget* editor, const char* list, int index) {
        auto* box = Child<QComboBox>(editor, list);
        box->setCurrentIndex(index);
        emit box->activated(index);
    }
    bool HostHoldsTheImage() {
        const ParamImage held = host->Blocks();
        auto lock = frame->model().Lock();
        const ParamImage& image = frame->model().image;
        for (unsigned id : {kEquipmentBlock, kPagingBlock}) {
            const auto mine = image.Block(id);
            const auto theirs = held.Block(id);
            if (!std::equal(mine.begin(), mine.end(), theirs.begin(), theirs.end())) return false;
        }
        return true;
    }
    BoxRequest LastBox() const {
        const auto asked = prompter.asked();
        return asked.empty() ? BoxRequest{} : asked.back();
    }
};

TEST_F(EquipmentEditorAgainstSimulator, ApplicationSendsTheEditedBlocksAndASilentHostIsReported) {
    credentials.logins.push_back(Credentials{"admin", "qvl704219"});
    frame->onLogin();
    ASSERT_EQ(frame->currentView(), kControlView);

    CDevParamCfg* editor = OpenEditor();
    ASSERT_NE(editor, nullptr);
    Choose(editor, "hostNumberList", 4);  // five hosts
    Choose(editor, "groupNumberList", 10);
    Child<QAbstractButton>(editor, "workCheck2")->click();  // zone 2 of host 1 is not installed

    // Key 1 of console 1 pages zone 1 of host 1 no more.
    Child<QAbstractButton>(editor, "zoneButton")->click();
    CZoneSel* zones = editor->zoneSelection();
    ASSERT_TRUE(zones->isVisible());
    zones->zoneCheck(0)->click();
    Child<QAbstractButton>(zones, "okButton")->click();

    // Console 1 becomes a touch console at address 01.
    Child<QAbstractButton>(editor, "addressButton")->click();
    CPagingAdrCfg* addresses = editor->addressDialog();
    ASSERT_TRUE(addresses->isVisible());
    addresses->onCellDoubleClicked(0, 2);
    Child<QComboBox>(addresses, "cellCombo")->setCurrentIndex(2);  // "Touch paging"
    addresses->onCellDoubleClicked(0, 3);
    Child<QComboBox>(addresses, "cellCombo")->setCurrentIndex(0);  // "01"
    addresses->onCellClicked(-1, -1);
    Child<QAbstractButton>(addresses, "okButton")->click();
    EXPECT_TRUE(Child<QWidget>(editor, "nameEdit")->isVisibleTo(editor));

    Child<QAbstractButton>(editor, "applyButton")->click();
    EXPECT_EQ(LastBox().text, kSyncDoneText);
    EXPECT_FALSE(frame->progressDialog()->isVisible());
    EXPECT_TRUE(HostHoldsTheImage());
    {
        const ParamImage held = host->Blocks();
        EXPECT_EQ(held.host_count(), 5u);
        EXPECT_EQ(held.group_count(), 10u);
        EXPECT_EQ(held.Get(fields::zone_work_enable, 0), 0xFDu);
        EXPECT_EQ(held.Get(fields::key_zones, 0, 0, 0), 0xFCu);
        EXPECT_EQ(held.Get(fields::paging_type, 0), 2u);
        EXPECT_EQ(held.Get(fields::paging_address, 0), 1u);
    }

    // The host falls silent: the failure is reported, the image keeps what
    // was typed, and the dialog stays open.
    host->Command("silent on");
    Choose(editor, "groupNumberList", 11);
    Child<QAbstractButton>(editor, "applyButton")->click();
    EXPECT_EQ(LastBox().text, kSyncFailedText);
    EXPECT_EQ(LastBox().icon, BoxIcon::kWarning);
    EXPECT_TRUE(editor->isVisible());
    {
        auto lock = frame->model().Lock();
        EXPECT_EQ(frame->model().image.group_count(), 11u);
    }
    host->Command("silent off");

    // "OK", and the editor opened again shows the stored values.
    Child<QAbstractButton>(editor, "okButton")->click();
    EXPECT_FALSE(editor->isVisible());
    ASSERT_TRUE(PumpUntil([&] { return frame->navigation()->selected() == NavItem::kConfig; }));
    editor = OpenEditor();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(Child<QComboBox>(editor, "hostNumberList")->currentText(), "5");
    EXPECT_EQ(Child<QComboBox>(editor, "groupNumberList")->currentText(), "11");
    EXPECT_FALSE(Child<QCheckBox>(editor, "workCheck2")->isChecked());
    EXPECT_TRUE(Child<QLabel>(editor, "hostLabel")->isVisibleTo(editor));
}

}  // namespace
}  // namespace qavo
