// The network parameter dialog through its main path: what it shows, and
// what "Application" sends, commits and asks the main window to do.
#include "maintenance/net_card.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QTest>
#include <QThread>

#include "link/frame.h"
#include "support/services_harness.h"
#include "widgets/ipv4_edit.h"
#include "widgets/shade_button.h"

namespace qavo {
namespace {

using namespace std::chrono_literals;

class NetCardTest : public ::testing::Test, protected testing::ServicesHarness {
  protected:
    void SetUp() override {
        // The worker's part: the job is taken and ends at once; the settings
        // in force when it goes out are kept.
        services.wait = [this](const Completion&, std::chrono::milliseconds limit) {
            auto queued = jobs.Take();
            if (!queued) return false;
            waited.push_back({queued->job, limit, settings});
            queued->ticket->Finish(1);
            return true;
        };
    }
    bool PumpUntil(const std::function<bool()>& done) {
        for (int i = 0; i < 5000 && !done(); ++i) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            QThread::msleep(1);
        }
        return done();
    }
    struct Waited {
        Job job;
        std::chrono::milliseconds limit;
        NetworkSettings in_force;
    };
    NetworkSettings settings;
    std::vector<Waited> waited;
};

TEST_F(NetCardTest, ApplicationSendsTheNewAddressesThenCommitsStoresAndRecreates) {
    settings.qavo_host_sel_ip = 1;
    const NetworkSettings before = settings;
    CNetCard dialog(services, settings, LocalAdapters{{0x0A000007, 0xC0A86314}});
    dialog.openDialog();
    ASSERT_TRUE(dialog.isVisible());
    EXPECT_TRUE(dialog.isModal());
    EXPECT_EQ(dialog.windowTitle(), "Network Parameter");

    QComboBox* list = dialog.adapterList();
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->itemText(0), "10.0.0.7");
    EXPECT_EQ(list->itemText(1), "192.168.99.20");
    EXPECT_EQ(list->currentIndex(), 1);
    EXPECT_EQ(list->font().family(), "Arial");
    EXPECT_EQ(dialog.consolePort()->text(), "16888");
    EXPECT_EQ(dialog.hostPort()->text(), "16888");
    EXPECT_EQ(dialog.hostAddress()->value(), 0xC0A86308u);
    EXPECT_EQ(dialog.hostMask()->value(), 0xFFFFFF00u);
    EXPECT_EQ(dialog.hostGateway()->value(), 0xC0A86301u);

    // The operator types a new console port and host address.
    dialog.consolePort()->selectAll();
    QTest::keyClicks(dialog.consolePort(), "16890");
    dialog.hostAddress()->octet(3)->selectAll();
    QTest::keyClicks(dialog.hostAddress()->octet(3), "30");
    dialog.findChild<ShadeButton*>("applyButton")->click();

    // The question, answered OK.
    ASSERT_EQ(prompter.asked().size(), 1u);
    EXPECT_EQ(prompter.asked()[0].caption, "Network Parameter");
    EXPECT_EQ(prompter.asked()[0].buttons, BoxButtons::kOkCancel);

    // The host was told first, while the old settings were in force.
    ASSERT_EQ(waited.size(), 1u);
    EXPECT_EQ(waited[0].job.job_op, NET_PARAMS);
    EXPECT_EQ(waited[0].job.job_param, 1);
    EXPECT_EQ(waited[0].job.new_host_ip, 0xC0A8631Eu);
    EXPECT_EQ(waited[0].job.new_host_port, "16888");
    EXPECT_EQ(waited[0].limit, services.timings.net_params_wait);
    EXPECT_EQ(waited[0].in_force, before);

    NetworkSettings expected;
    expected.pc_udp_port = "16890";
    expected.qavo_host_ip = 0xC0A8631E;
    expected.qavo_host_sel_ip = 1;
    EXPECT_EQ(settings, expected);
    EXPECT_FALSE(dialog.isVisible());
    // Stored at once; the sockets follow a moment after the dialog closed.
    ASSERT_FALSE(sent_to_main.empty());
    EXPECT_EQ(sent_to_main[0].first, WM_SAVE_NETWORK);
    ASSERT_TRUE(PumpUntil([&] { return sent_to_main.size() == 2; }));
    EXPECT_EQ(sent_to_main[1].first, WM_RECREATE_SOCKETS);

    // Opened again, it shows what is now in force; Exit changes nothing.
    dialog.openDialog();
    EXPECT_EQ(dialog.consolePort()->text(), "16890");
    EXPECT_EQ(dialog.hostAddress()->value(), 0xC0A8631Eu);
    dialog.consolePort()->clear();
    dialog.findChild<ShadeButton*>("exitButton")->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(settings, expected);
    EXPECT_TRUE(TakeJobs().empty());
    EXPECT_EQ(sent_to_main.size(), 2u);
}

TEST_F(NetCardTest, AnEmptiedPortIsRefusedAndNothingElseChanged) {
    CNetCard dialog(services, settings, LocalAdapters{{0x0A000007}});
    dialog.openDialog();
    dialog.hostPort()->selectAll();
    QTest::keyClick(dialog.hostPort(), Qt::Key_Backspace);
    dialog.findChild<ShadeButton*>("applyButton")->click();
    // The edit's text was refused; with nothing changed the dialog closes.
    ASSERT_EQ(prompter.asked().size(), 1u);
    EXPECT_EQ(prompter.asked()[0].text, "Please enter a valid integer value, such as: 16888.");
    EXPECT_EQ(prompter.asked()[0].caption, "Error network adapter.");
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(settings, NetworkSettings{});
    EXPECT_TRUE(waited.empty());
    EXPECT_TRUE(sent_to_main.empty());
}

}  // namespace
}  // namespace qavo
