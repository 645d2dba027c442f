// The Network parameters command of the main window: the dialog opens
// logged in or not, and "Application" stores the settings and re-creates
// the sockets with them.
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include "link/frame.h"
#include "main_frame_fixture.h"
#include "maintenance/net_card.h"
#include "persistence/settings_store.h"
#include "widgets/ipv4_edit.h"
#include "widgets/shade_button.h"

namespace qavo {
namespace {

using testing::MainFrameTest;

class MainFrameNetworkTest : public MainFrameTest {
  protected:
    CNetCard* OpenNetwork() {
        QAction* command = frame->action(32779);
        EXPECT_NE(command, nullptr);
        if (!command) return nullptr;
        EXPECT_TRUE(command->isEnabled());
        command->trigger();
        CNetCard* dialog = frame->networkDialog();
        EXPECT_NE(dialog, nullptr);
        if (dialog) {
            EXPECT_TRUE(dialog->isVisible());
        }
        return dialog;
    }
    size_t BoundCount() {
        std::lock_guard lock(sockets.network->mutex);
        return sockets.network->bound.size();
    }
    std::vector<Endpoint> BoundSince(size_t from) {
        std::lock_guard lock(sockets.network->mutex);
        return {sockets.network->bound.begin() + static_cast<long>(from),
                sockets.network->bound.end()};
    }
    std::vector<testing::FakeNetwork::Sent> SentTo(size_t from) {
        std::lock_guard lock(sockets.network->mutex);
        return {sockets.network->sent.begin() + static_cast<long>(from),
                sockets.network->sent.end()};
    }
    NetworkSettings StoredRow() {
        NetworkSettings loaded;
        loaded.pc_udp_port = "none";
        LoadNetworkSettings(database, prompter, loaded);
        return loaded;
    }
    static void Click(CNetCard* dialog, const char* button) {
        dialog->findChild<ShadeButton*>(button)->click();
    }
};

TEST_F(MainFrameNetworkTest, OpensLoggedOutAndAChangedConsolePortIsStoredAndBound) {
    ASSERT_FALSE(frame->session().logged_in);
    // The default host, read from the endpoint (nothing is sent to it here).
    EXPECT_EQ(frame->link().host_endpoint(), (Endpoint{0xC0A86308, 16888}));
    CNetCard* dialog = OpenNetwork();
    ASSERT_NE(dialog, nullptr);

    // Nothing changed: it just closes.
    Settle();
    const size_t sent_before = SentCount();
    const size_t bound_before = BoundCount();
    Click(dialog, "applyButton");
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_TRUE(prompter.asked().empty());

    // The console port only.
    ASSERT_EQ(OpenNetwork(), dialog);  // the same dialog, opened again
    dialog->consolePort()->selectAll();
    QTest::keyClicks(dialog->consolePort(), "16890");
    Click(dialog, "applyButton");
    ASSERT_EQ(prompter.asked().size(), 1u);
    EXPECT_EQ(prompter.asked()[0].caption, "Network Parameter");
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(frame->link().settings().pc_udp_port, "16890");
    EXPECT_EQ(StoredRow().pc_udp_port, "16890");

    // Both sockets again, the host socket on the new port.
    ASSERT_TRUE(PumpUntil([&] { return BoundCount() >= bound_before + 2; }));
    const std::vector<Endpoint> bound = BoundSince(bound_before);
    EXPECT_EQ(bound[0], (Endpoint{0, 16890}));
    EXPECT_EQ(frame->link().host_endpoint(), (Endpoint{0xC0A86308, 16888}));
    Settle();
    EXPECT_EQ(SentCount(), sent_before);  // nothing for the host
}

TEST_F(MainFrameNetworkTest, ANewHostAddressGoesToTheOldHostFirst) {
    // A host on the loopback, so that the request has somewhere harmless to go.
    frame->link().settings().qavo_host_ip = 0x7F000001;
    frame->handleMessage(WM_RECREATE_SOCKETS, 0);
    ASSERT_EQ(frame->link().host_endpoint(), (Endpoint{0x7F000001, 16888}));
    Settle();
    const size_t sent_before = SentCount();

    CNetCard* dialog = OpenNetwork();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->hostAddress()->value(), 0x7F000001u);
    dialog->hostAddress()->setValue(0x7F000002);
    Click(dialog, "applyButton");
    EXPECT_FALSE(dialog->isVisible());

    const auto sent = SentTo(sent_before);
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent[0].to, (Endpoint{0x7F000001, 16888}));
    EXPECT_EQ(sent[0].data, (std::vector<uint8_t>{NET_PARAMS, 0, 0, 1, 2, 0, 0, 127, 0, 255, 255,
                                                  255, 1, 99, 168, 192, 0x41, 0xF8}));
    EXPECT_EQ(StoredRow().qavo_host_ip, 0x7F000002u);
    EXPECT_TRUE(PumpUntil([&] {
        return frame->link().host_endpoint() == Endpoint{0x7F000002, 16888};
    }));
}

}  // namespace
}  // namespace qavo
