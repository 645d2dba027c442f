// The network parameter dialog against the simulator: a new console port
// is stored and bound and the host answers there; a new host address is
// told to the old host first, then the console talks to the host at the new
// address.
#include <QLineEdit>
#include <QTest>
#include <mutex>

#include "console_sim_fixture.h"
#include "maintenance/net_card.h"
#include "widgets/ipv4_edit.h"
#include "widgets/shade_button.h"

namespace qavo {
namespace {

using e2e::kLoopback;
using e2e::PumpUntil;

constexpr uint32_t kSecondLoopback = 0x7F000002;  // 127.0.0.2
constexpr const char* kConfirm =
    "Network parameters have been changed. This may cause communication failure with the "
    "system host. Please confirm?";

class NetworkAgainstSimulator : public e2e::ConsoleAgainstSimulator {
  protected:
    void ConfigureSimulator(sim::SimOptions& options) override {
        options.diagnostics = [this](const std::string& line) { Record("old: " + line); };
    }
    void Record(const std::string& line) {
        std::lock_guard lock(mutex);
        events.push_back(line);
    }
    std::vector<std::string> Events() {
        std::lock_guard lock(mutex);
        return events;
    }
    // The index of the first event that starts with `prefix`; -1: none.
    long FirstEvent(const std::string& prefix) {
        const std::vector<std::string> all = Events();
        for (size_t i = 0; i < all.size(); ++i) {
            if (all[i].rfind(prefix, 0) == 0) return static_cast<long>(i);
        }
        return -1;
    }

    void LogIn() {
        credentials.logins.push_back(Credentials{"admin", "qvl704219"});
        frame->onLogin();
        ASSERT_TRUE(frame->session().logged_in);
        ASSERT_TRUE(PumpUntil([&] { return frame->jobs().Pending() == 0; }));
    }
    CNetCard* OpenNetwork() {
        QAction* command = frame->action(32779);
        EXPECT_NE(command, nullptr);
        if (!command) return nullptr;
        command->trigger();
        CNetCard* dialog = frame->networkDialog();
        EXPECT_NE(dialog, nullptr);
        if (dialog) {
            EXPECT_TRUE(dialog->isVisible());
        }
        return dialog;
    }
    static void Click(CNetCard* dialog, const char* name) {
        auto* button = dialog->findChild<ShadeButton*>(name);
        ASSERT_NE(button, nullptr) << name;
        button->click();
    }
    NetworkSettings StoredRow() {
        NetworkSettings loaded;
        loaded.pc_udp_port = "none";
        LoadNetworkSettings(database, prompter, loaded);
        return loaded;
    }
    // A port nobody is bound to on this (private) loopback.
    static uint16_t FreePort() {
        auto socket = PosixUdpSocket::Create();
        if (!socket || !socket->Bind(Endpoint{kLoopback, 0})) return 0;
        return socket->LocalEndpoint().port;
    }
    // Takes the link for lost, lets the one-second tick send a heartbeat and
    // waits until the reply from `answering` brings the link back up. True
    // when it did; `answering` saw the heartbeat come from `console`.
    bool LinkComesBackFrom(const sim::SimHost& answering, const Endpoint& console) {
        if (!PumpUntil([&] { return frame->jobs().Pending() == 0; })) return false;
        {
            auto lock = frame->model().Lock();
            frame->model().live.link_up = false;
            frame->model().live.missed_heartbeats = 0;
        }
        frame->showLinkState();
        if (frame->linkIcon() != kLinkIconDown) return false;
        // A heartbeat goes out at every third tick.
        for (int i = 0; i < 3; ++i)
            frame->tick();
        return PumpUntil([&] {
            bool up;
            {
                auto lock = frame->model().Lock();
                up = frame->model().live.link_up;
            }
            return up && frame->linkIcon() == kLinkIconUp && answering.LastRequester() == console;
        });
    }

    std::mutex mutex;
    std::vector<std::string> events;  // both simulators' diagnostics, in order
};

TEST_F(NetworkAgainstSimulator, ANewConsolePortIsStoredBoundAndAnsweredThere) {
    LogIn();
    const uint16_t old_port = frame->link().host_socket_port();
    ASSERT_NE(old_port, 0);
    ASSERT_TRUE(LinkComesBackFrom(*host, Endpoint{kLoopback, old_port}));
    const uint16_t new_port = FreePort();
    ASSERT_NE(new_port, 0);
    ASSERT_NE(new_port, old_port);

    CNetCard* dialog = OpenNetwork();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->consolePort()->text(), "0");
    EXPECT_EQ(dialog->hostPort()->text(), QString::number(host->port()));
    EXPECT_EQ(dialog->hostAddress()->value(), kLoopback);
    dialog->consolePort()->setFocus();
    dialog->consolePort()->selectAll();
    QTest::keyClicks(dialog->consolePort(), QString::number(new_port));
    Click(dialog, "applyButton");

    // Asked once, answered OK: in force, stored, the dialog closed.
    ASSERT_EQ(prompter.asked().size(), 1u);
    EXPECT_EQ(prompter.asked()[0], (BoxRequest{kConfirm, "Network Parameter", BoxButtons::kOkCancel,
                                               BoxIcon::kWarning, false}));
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(frame->link().settings().pc_udp_port, std::to_string(new_port));
    const NetworkSettings stored = StoredRow();
    EXPECT_EQ(stored.pc_udp_port, std::to_string(new_port));
    EXPECT_EQ(stored.qavo_host_ip, kLoopback);
    EXPECT_EQ(stored.qavo_host_udp_port, std::to_string(host->port()));

    // The sockets again, the host socket on the new port; the host is where it was.
    ASSERT_TRUE(PumpUntil([&] { return frame->link().host_socket_port() == new_port; }));
    EXPECT_EQ(frame->link().host_endpoint(), (Endpoint{kLoopback, host->port()}));
    // Only a port changed: nothing was asked of the host.
    EXPECT_FALSE(host->LastNetParams().has_value());
    EXPECT_EQ(FirstEvent("old: NET_PARAMS"), -1);

    // The host hears the console on the new port and its replies come back.
    EXPECT_TRUE(LinkComesBackFrom(*host, Endpoint{kLoopback, new_port}));
    EXPECT_EQ(prompter.asked().size(), 1u);  // no failure was told
}

TEST_F(NetworkAgainstSimulator, ANewHostAddressIsToldToTheOldHostThenTheNewOneIsUsed) {
    // The second host, at 127.0.0.2 on the same port; it traces every datagram.
    sim::SimOptions options;
    options.bind_address = kSecondLoopback;
    options.port = host->port();
    options.host_count = 3;
    options.group_count = 6;
    options.log_size = 300;
    options.verbose = true;
    options.diagnostics = [this](const std::string& line) { Record("new: " + line); };
    sim::SimHost second(options);
    std::string error;
    ASSERT_TRUE(second.Start(&error)) << error;

    LogIn();
    const uint16_t console_port = frame->link().host_socket_port();
    const Endpoint console{kLoopback, console_port};
    const NetworkSettings before = frame->link().settings();
    ASSERT_EQ(frame->link().host_endpoint(), (Endpoint{kLoopback, host->port()}));

    CNetCard* dialog = OpenNetwork();
    ASSERT_NE(dialog, nullptr);
    ASSERT_EQ(dialog->hostAddress()->value(), kLoopback);
    dialog->hostAddress()->setValue(kSecondLoopback);
    Click(dialog, "applyButton");
    ASSERT_EQ(prompter.asked().size(), 1u);
    EXPECT_EQ(prompter.asked()[0].text, kConfirm);
    EXPECT_FALSE(dialog->isVisible());
    // Nothing went to the new address before the sockets are re-created.
    EXPECT_FALSE(second.LastRequester().has_value());
    EXPECT_EQ(frame->link().settings().qavo_host_ip, kSecondLoopback);
    EXPECT_EQ(StoredRow().qavo_host_ip, kSecondLoopback);

    // The old host was told the new address, mask, gateway and port.
    ASSERT_TRUE(PumpUntil([&] { return host->LastNetParams().has_value(); }));
    EXPECT_EQ(host->LastNetParams(),
              (sim::NetParamsRequest{kSecondLoopback, before.qavo_host_sub, before.qavo_host_gate,
                                     host->port(), console}));

    // Then the console points at the new host, and it answers there.
    ASSERT_TRUE(PumpUntil([&] {
        return frame->link().host_endpoint() == Endpoint{kSecondLoopback, host->port()};
    }));
    ASSERT_TRUE(LinkComesBackFrom(second, Endpoint{kLoopback, frame->link().host_socket_port()}));
    EXPECT_FALSE(second.LastNetParams().has_value());

    // Order: the old host had the request before the new one heard anything.
    const long told = FirstEvent("old: NET_PARAMS asks for address 127.0.0.2");
    const long first_heard = FirstEvent("new: <-");
    ASSERT_GE(told, 0);
    ASSERT_GE(first_heard, 0);
    EXPECT_LT(told, first_heard);
    EXPECT_EQ(prompter.asked().size(), 1u);
    second.Stop();
}

}  // namespace
}  // namespace qavo
