// The partition selection and sensitivity dialogs, each through its main
// path as the operator clicks it.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QTest>
#include <vector>

#include "editors/sp_impedance.h"
#include "editors/zone_sel.h"
#include "link/frame.h"
#include "support/services_harness.h"
#include "widgets/shade_button.h"

namespace qavo {
namespace {

template <typename T>
T* Child(QWidget& parent, const char* name) {
    T* child = parent.findChild<T*>(name);
    EXPECT_NE(child, nullptr) << name;
    return child;
}

void Click(QWidget& parent, const char* name) {
    QWidget* widget = Child<QWidget>(parent, name);
    ASSERT_NE(widget, nullptr);
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, widget->rect().center());
}

// The boxes of the page as masks: enabled ones and checked ones.
std::pair<uint8_t, uint8_t> Page(CZoneSel& dialog) {
    uint8_t enabled = 0;
    uint8_t checked = 0;
    for (unsigned z = 0; z < 8; ++z) {
        auto* box = Child<QCheckBox>(dialog, qPrintable(QString("zoneCheck%1").arg(z + 1)));
        if (box->isEnabled()) enabled |= static_cast<uint8_t>(1u << z);
        if (box->isChecked()) checked |= static_cast<uint8_t>(1u << z);
    }
    return {enabled, checked};
}

TEST(ZoneSelDialog, PicksZonesHostByHostAndHandsThemBackOnOk) {
    CZoneSel dialog;
    std::vector<ZoneMasks> chosen;
    QObject::connect(&dialog, &CZoneSel::zonesSelected,
                     [&chosen](const ZoneMasks& masks) { chosen.push_back(masks); });
    ZoneSelInput input;
    input.caption = "Paging 03 - Key 05 Partition selection";
    input.host_count = 3;
    input.current_host = 1;
    input.available_zones = {0xFF, 0x0F, 0x00};
    input.selected_zones = {0x01, 0x3C, 0x00};
    dialog.openWith(input);  // returns at once
    ASSERT_TRUE(dialog.isVisible());

    EXPECT_EQ(dialog.windowTitle(), "Paging 03 - Key 05 Partition selection");
    for (unsigned z = 0; z < 8; ++z)
        EXPECT_EQ(dialog.zoneCheck(z)->text(), QString("zone 0%1").arg(z + 1));
    EXPECT_EQ(dialog.selectAllCheck()->text(), "  Select all");
    EXPECT_EQ(dialog.hostLabel()->text(), "Host 02");
    EXPECT_EQ(dialog.hostLabel()->palette().color(QPalette::WindowText), QColor(Qt::red));
    EXPECT_EQ(Page(dialog), std::make_pair(uint8_t{0x0F}, uint8_t{0x0C}));
    EXPECT_FALSE(dialog.selectAllCheck()->isChecked());

    Click(dialog, "selectAllCheck");
    EXPECT_EQ(Page(dialog).second, 0x0F);
    EXPECT_TRUE(dialog.selectAllCheck()->isChecked());
    Click(dialog, "zoneCheck7");  // disabled: nothing happens
    Click(dialog, "zoneCheck2");
    EXPECT_EQ(Page(dialog).second, 0x0D);
    EXPECT_FALSE(dialog.selectAllCheck()->isChecked());

    Click(dialog, "nextHost");
    EXPECT_EQ(dialog.hostLabel()->text(), "Host 03");
    EXPECT_EQ(Page(dialog), std::make_pair(uint8_t{0x00}, uint8_t{0x00}));
    EXPECT_TRUE(dialog.selectAllCheck()->isChecked());  // nothing available, after a move
    Click(dialog, "nextHost");
    EXPECT_EQ(dialog.hostLabel()->text(), "Host 01");
    Click(dialog, "zoneCheck8");
    Click(dialog, "previousHost");
    EXPECT_EQ(dialog.hostLabel()->text(), "Host 03");

    Click(dialog, "okButton");
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    ASSERT_EQ(chosen.size(), 1u);
    const ZoneMasks expected{0x81, 0x0D, 0x00};
    EXPECT_EQ(chosen[0], expected);
    EXPECT_EQ(dialog.selectedZones(), expected);

    // The next opening starts from the caller's input alone; Cancel hands
    // nothing back.
    input.current_host = 0;
    dialog.openWith(input);
    EXPECT_EQ(dialog.hostLabel()->text(), "Host 01");
    EXPECT_EQ(Page(dialog), std::make_pair(uint8_t{0xFF}, uint8_t{0x01}));
    Click(dialog, "zoneCheck5");
    Click(dialog, "cancelButton");
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(chosen.size(), 1u);
}

TEST(SpImpedanceDialog, FollowsTheHostAndSendsTheChosenLevelOnOk) {
    testing::ServicesHarness h;
    {
        auto lock = h.model.Lock();
        h.model.live.impedance_level = 7;  // beyond the list
    }
    CSpImpedance dialog(h.services);
    dialog.open();
    EXPECT_EQ(dialog.windowTitle(), "Sensitivity adjustment");
    QComboBox* list = dialog.levelList();
    EXPECT_EQ(list->objectName(), "levelList");
    EXPECT_FALSE(list->isEditable());  // typed text can never become a level
    ASSERT_EQ(list->count(), 5);
    const char* entries[] = {"10%", "15%", "20%", "25%", "30%"};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(list->itemText(i), entries[i]);
    bool labelled = false;
    for (QLabel* label : dialog.findChildren<QLabel*>())
        labelled |= label->text() == QString::fromUtf8("Detection Level：");
    EXPECT_TRUE(labelled);
    EXPECT_EQ(list->currentText(), "30%");

    // The host reports a level while the dialog is open.
    {
        auto lock = h.model.Lock();
        h.model.live.impedance_level = 1;
    }
    dialog.notify(WM_IMPEDANCE_LEVEL);
    EXPECT_EQ(list->currentText(), "15%");

    // The operator moves the list down one with the keyboard, then "OK".
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_EQ(list->currentText(), "20%");
    Click(dialog, "okButton");
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(h.model.live.impedance_level, 2);
    const std::vector<Job> jobs = h.TakeJobs();
    ASSERT_EQ(jobs.size(), 1u);
    EXPECT_EQ(jobs[0].job_op, IMPEDANCE);
    EXPECT_EQ(jobs[0].job_param, 1);
    EXPECT_EQ(jobs[0].impedance_level, 2);
    EXPECT_TRUE(h.prompter.asked().empty());  // no report

    // "Exit" stores and sends nothing.
    CSpImpedance again(h.services);
    again.open();
    EXPECT_EQ(again.levelList()->currentText(), "20%");
    again.levelList()->setCurrentIndex(0);
    Click(again, "exitButton");
    EXPECT_EQ(again.result(), QDialog::Rejected);
    EXPECT_EQ(h.model.live.impedance_level, 2);
    EXPECT_TRUE(h.TakeJobs().empty());
}

}  // namespace
}  // namespace qavo
