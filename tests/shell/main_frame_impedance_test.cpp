// "Impedance Sensitivity" of the navigation pane: the read, the dialog
// following the host's reports, and what "OK" sends.
#include <QComboBox>
#include <QTest>
#include <algorithm>

#include "editors/sp_impedance.h"
#include "link/frame.h"
#include "main_frame_fixture.h"
#include "shell/file_view.h"

namespace qavo {
namespace {

using testing::MainFrameTest;

bool Contains(const std::vector<std::vector<uint8_t>>& sent, const std::vector<uint8_t>& d) {
    return std::find(sent.begin(), sent.end(), d) != sent.end();
}

TEST_F(MainFrameTest, SensitivityDialogReadsFollowsTheHostAndSendsTheLevelOnOk) {
    LogIn();
    Settle();
    {
        auto lock = frame->model().Lock();
        frame->model().live.link_up = true;
        frame->model().live.impedance_level = 0;
    }
    credentials.passwords = {std::string("qvl704219")};
    const size_t before = SentCount();
    frame->navigation()->select(NavItem::kImpedance);

    // The read went out and the dialog is open, without a loop of its own.
    EXPECT_TRUE(Contains(SentSince(before), {IMPEDANCE, 0, 0, 0, 0}));
    CSpImpedance* dialog = frame->sensitivityDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->levelList()->currentText(), "10%");
    EXPECT_EQ(frame->navigation()->selected(), NavItem::kControl);
    EXPECT_EQ(frame->currentView(), kControlView);

    // The host reports its level, above the range: the list follows.
    sockets.made[0]->Inject({IMPEDANCE_LEVEL, 1, 0, 0, 7}, Endpoint{0x7F000001, 16888});
    EXPECT_TRUE(PumpUntil([&] { return dialog->levelList()->currentText() == "30%"; }));
    sockets.made[0]->Inject({IMPEDANCE_LEVEL, 1, 0, 0, 1}, Endpoint{0x7F000001, 16888});
    EXPECT_TRUE(PumpUntil([&] { return dialog->levelList()->currentText() == "15%"; }));

    dialog->levelList()->setCurrentIndex(3);
    const size_t before_ok = SentCount();
    QWidget* ok = dialog->findChild<QWidget*>("okButton");
    ASSERT_NE(ok, nullptr);
    QTest::mouseClick(ok, Qt::LeftButton, Qt::NoModifier, ok->rect().center());
    EXPECT_EQ(frame->sensitivityDialog(), nullptr);  // closed at once
    {
        auto lock = frame->model().Lock();
        EXPECT_EQ(frame->model().live.impedance_level, 3);
    }
    EXPECT_TRUE(PumpUntil([&] { return Contains(SentSince(before_ok), {IMPEDANCE, 0, 0, 1, 3}); }));
    EXPECT_TRUE(prompter.asked().empty());

    // A report after the dialog closed reaches no window.
    sockets.made[0]->Inject({IMPEDANCE_LEVEL, 1, 0, 0, 2}, Endpoint{0x7F000001, 16888});
    EXPECT_TRUE(PumpUntil([&] {
        auto lock = frame->model().Lock();
        return frame->model().live.impedance_level == 2;
    }));
    Settle();
    EXPECT_EQ(frame->sensitivityDialog(), nullptr);
}

TEST_F(MainFrameTest, SensitivityDialogExitSendsNothing) {
    LogIn();
    Settle();
    struct Case {
        bool link_up;
        bool read;
    };
    // Link down: no read, the dialog shows the level held.
    for (const Case c : {Case{true, true}, Case{false, false}}) {
        SCOPED_TRACE(c.link_up);
        {
            auto lock = frame->model().Lock();
            frame->model().live.link_up = c.link_up;
            frame->model().live.impedance_level = 2;
        }
        credentials.passwords = {std::string("qvl704219")};
        const size_t before = SentCount();
        frame->navigation()->select(NavItem::kImpedance);
        CSpImpedance* dialog = frame->sensitivityDialog();
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->levelList()->currentText(), "20%");
        dialog->levelList()->setCurrentIndex(4);
        QWidget* exit = dialog->findChild<QWidget*>("exitButton");
        ASSERT_NE(exit, nullptr);
        QTest::mouseClick(exit, Qt::LeftButton, Qt::NoModifier, exit->rect().center());
        EXPECT_EQ(frame->sensitivityDialog(), nullptr);
        Settle();
        auto sent = SentSince(before);
        EXPECT_EQ(Contains(sent, {IMPEDANCE, 0, 0, 0, 0}), c.read);
        for (const auto& d : sent)
            EXPECT_FALSE(d.size() > 3 && d[0] == IMPEDANCE && d[3] == 1);
        auto lock = frame->model().Lock();
        EXPECT_EQ(frame->model().live.impedance_level, 2);
    }
}

}  // namespace
}  // namespace qavo
