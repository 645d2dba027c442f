// The network parameter dialog's decisions: what it shows on opening, the
// boxes of its edits and adapter list, and what "Application" leads to.
#include "maintenance/net_card_logic.h"

#include <gtest/gtest.h>

#include <functional>

#include "link/address_parse.h"
#include "link/frame.h"
#include "link/requests.h"
#include "support/fake_prompter.h"

namespace qavo {
namespace {

using namespace std::chrono_literals;
using Kind = NetCardStep::Kind;
using Result = NetCardOutcome::Result;

constexpr uint32_t kIp(int a, int b, int c, int d) {
    return static_cast<uint32_t>(a) << 24 | static_cast<uint32_t>(b) << 16 |
           static_cast<uint32_t>(c) << 8 | static_cast<uint32_t>(d);
}

const LocalAdapters kTwoAdapters{{kIp(10, 0, 0, 7), kIp(192, 168, 99, 20)}};

NetworkSettings Stored() {
    NetworkSettings s;  // 16888, 192.168.99.8, 255.255.255.0, 192.168.99.1, 16888, adapter 0
    return s;
}

TEST(NetCardOpen, ListsTheAdaptersAndFillsTheControlsFromTheSettings) {
    struct Case {
        const char* name;
        LocalAdapters adapters;
        uint8_t stored_index;
        std::vector<std::string> texts;
        int selected;
    };
    const Case cases[] = {
        {"two adapters, second chosen", kTwoAdapters, 1, {"10.0.0.7", "192.168.99.20"}, 1},
        {"index 5 of two", kTwoAdapters, 5, {"10.0.0.7", "192.168.99.20"}, 0},
        {"index 2 of two", kTwoAdapters, 2, {"10.0.0.7", "192.168.99.20"}, 0},
        {"no adapters", LocalAdapters{}, 3, {}, 0},
        {"all octets", LocalAdapters{{kIp(255, 0, 127, 1)}}, 0, {"255.0.127.1"}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        NetworkSettings s = Stored();
        s.qavo_host_sel_ip = c.stored_index;
        s.pc_udp_port = "0x41F8";
        s.qavo_host_gate = kIp(192, 168, 99, 254);
        NetCardLogic logic;
        logic.Open(s, c.adapters);
        EXPECT_EQ(logic.adapter_texts(), c.texts);
        EXPECT_EQ(logic.adapter_index(), c.selected);
        const NetCardFields shown{"0x41F8", "16888", kIp(192, 168, 99, 8), kIp(255, 255, 255, 0),
                                  kIp(192, 168, 99, 254)};
        EXPECT_EQ(logic.shown(), shown);
        EXPECT_EQ(logic.working(), shown);
    }
}

TEST(NetCardEdits, EmptyPortsAndAnEmptyAdapterListAreRefused) {
    const BoxRequest empty_port{"Please enter a valid integer value, such as: 16888.",
                                "Error network adapter.", BoxButtons::kOk, BoxIcon::kError};
    const BoxRequest no_adapter{"Error access card information.", "Error network adapter.",
                                BoxButtons::kOk, BoxIcon::kError};
    using Action = std::function<std::optional<BoxRequest>(NetCardLogic&)>;
    struct Case {
        const char* name;
        LocalAdapters adapters;
        Action action;
        std::optional<BoxRequest> box;
        std::string console_port;
        std::string host_port;
        int adapter;
    };
    const Case cases[] = {
        {"console port typed", kTwoAdapters, [](auto& l) { return l.ConsolePortLeft("16890"); },
         std::nullopt, "16890", "16888", 0},
        {"host port typed", kTwoAdapters, [](auto& l) { return l.HostPortLeft("0x41F9"); },
         std::nullopt, "16888", "0x41F9", 0},
        // Not checked here: it is read as port 0 later.
        {"host port not a number", kTwoAdapters, [](auto& l) { return l.HostPortLeft("abc"); },
         std::nullopt, "16888", "abc", 0},
        {"console port emptied", kTwoAdapters, [](auto& l) { return l.ConsolePortLeft(""); },
         empty_port, "16888", "16888", 0},
        {"host port emptied", kTwoAdapters, [](auto& l) { return l.HostPortLeft(""); }, empty_port,
         "16888", "16888", 0},
        {"second adapter chosen", kTwoAdapters, [](auto& l) { return l.AdapterListClosed(1); },
         std::nullopt, "16888", "16888", 1},
        {"list closed without a choice", kTwoAdapters,
         [](auto& l) { return l.AdapterListClosed(-1); }, std::nullopt, "16888", "16888", 0},
        {"list closed, no adapters", LocalAdapters{},
         [](auto& l) { return l.AdapterListClosed(-1); }, no_adapter, "16888", "16888", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        NetCardLogic logic;
        logic.Open(Stored(), c.adapters);
        EXPECT_EQ(c.action(logic), c.box);
        EXPECT_EQ(logic.working().console_port, c.console_port);
        EXPECT_EQ(logic.working().host_port, c.host_port);
        EXPECT_EQ(logic.adapter_index(), c.adapter);
    }
}

TEST(NetCardApplication, DecidesWhatIsAskedSentCommittedAndDone) {
    using Edit = std::function<void(NetCardLogic&)>;
    const Edit none = [](NetCardLogic&) {};
    struct Case {
        const char* name;
        uint8_t stored_index;
        Edit edit;             // what the operator did before "Application"
        NetCardFields fields;  // what the controls hold then
        BoxAnswer answer;      // to the question, if asked
        bool asked;
        Result result;
        bool net_params;           // sent before the commit
        NetworkSettings settings;  // in force afterwards
    };
    const NetCardFields unchanged{"16888", "16888", kIp(192, 168, 99, 8), kIp(255, 255, 255, 0),
                                  kIp(192, 168, 99, 1)};
    auto with = [&](std::function<void(NetCardFields&)> f) {
        NetCardFields out = unchanged;
        f(out);
        return out;
    };
    auto settings = [](std::function<void(NetworkSettings&)> f) {
        NetworkSettings s = Stored();
        f(s);
        return s;
    };
    const Case cases[] = {
        {"no change", 0, none, unchanged, BoxAnswer::kOk, false, Result::kUnchanged, false,
         Stored()},
        {"console port only", 0, [](auto& l) { l.ConsolePortLeft("16890"); },
         with([](auto& f) { f.console_port = "16890"; }), BoxAnswer::kOk, true, Result::kApply,
         false, settings([](auto& s) { s.pc_udp_port = "16890"; })},
        {"host port only", 0, [](auto& l) { l.HostPortLeft("16889"); },
         with([](auto& f) { f.host_port = "16889"; }), BoxAnswer::kOk, true, Result::kApply, false,
         settings([](auto& s) { s.qavo_host_udp_port = "16889"; })},
        {"host address", 0, none, with([](auto& f) { f.host_ip = kIp(192, 168, 99, 30); }),
         BoxAnswer::kOk, true, Result::kApply, true,
         settings([](auto& s) { s.qavo_host_ip = kIp(192, 168, 99, 30); })},
        {"mask", 0, none, with([](auto& f) { f.host_mask = kIp(255, 255, 0, 0); }), BoxAnswer::kOk,
         true, Result::kApply, true,
         settings([](auto& s) { s.qavo_host_sub = kIp(255, 255, 0, 0); })},
        {"gateway", 0, none, with([](auto& f) { f.host_gateway = kIp(192, 168, 99, 2); }),
         BoxAnswer::kOk, true, Result::kApply, true,
         settings([](auto& s) { s.qavo_host_gate = kIp(192, 168, 99, 2); })},
        {"cancel on the question", 0, [](auto& l) { l.HostPortLeft("16889"); }, with([](auto& f) {
             f.host_port = "16889";
             f.host_ip = kIp(10, 0, 0, 1);
         }),
         BoxAnswer::kCancel, true, Result::kCancelled, false, Stored()},
        {"adapter chosen", 0, [](auto& l) { l.AdapterListClosed(1); }, unchanged, BoxAnswer::kOk,
         true, Result::kApply, false, settings([](auto& s) { s.qavo_host_sel_ip = 1; })},
        // Two adapters: the stored index 5 shows the first, which is a change.
        {"adapter index 5 of two", 5, none, unchanged, BoxAnswer::kOk, true, Result::kApply, false,
         Stored()},
        // The ports compared are those taken when their edits lost the focus.
        {"port typed, focus never left", 0, none, with([](auto& f) { f.console_port = "17000"; }),
         BoxAnswer::kOk, false, Result::kUnchanged, false, Stored()},
        // Once something changed, the edits are read as they are now.
        {"edits read again after the question", 0, [](auto& l) { l.AdapterListClosed(1); },
         with([](auto& f) {
             f.console_port = "17000";
             f.host_port = "0x41F9";
         }),
         BoxAnswer::kOk, true, Result::kApply, false, settings([](auto& s) {
             s.qavo_host_sel_ip = 1;
             s.pc_udp_port = "17000";
             s.qavo_host_udp_port = "0x41F9";
         })},
        // An emptied edit was refused: its port keeps the text it had.
        {"emptied edits keep their ports", 0,
         [](auto& l) {
             l.HostPortLeft("16889");
             l.ConsolePortLeft("");
         },
         with([](auto& f) {
             f.console_port = "";
             f.host_port = "";
         }),
         BoxAnswer::kOk, true, Result::kApply, false,
         settings([](auto& s) { s.qavo_host_udp_port = "16889"; })},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        NetworkSettings stored = Stored();
        stored.qavo_host_sel_ip = c.stored_index;
        NetCardLogic logic(250ms);
        logic.Open(stored, kTwoAdapters);
        c.edit(logic);
        testing::FakePrompter prompter;
        prompter.Script({c.answer});
        const NetCardOutcome outcome = logic.Application(c.fields, stored, prompter);

        const auto asked = prompter.asked();
        ASSERT_EQ(asked.size(), c.asked ? 1u : 0u);
        if (c.asked) {
            EXPECT_EQ(asked[0],
                      (BoxRequest{"Network parameters have been changed. This may cause "
                                  "communication failure with the system host. Please "
                                  "confirm?",
                                  "Network Parameter", BoxButtons::kOkCancel, BoxIcon::kWarning}));
        }
        EXPECT_EQ(outcome.result, c.result);
        EXPECT_EQ(outcome.settings, c.settings);

        std::vector<Kind> kinds;
        for (const NetCardStep& step : outcome.steps)
            kinds.push_back(step.kind);
        std::vector<Kind> expected;
        if (c.result == Result::kUnchanged) expected = {Kind::kClose};
        if (c.result == Result::kApply) {
            if (c.net_params) expected.push_back(Kind::kSendNetParams);
            expected.insert(expected.end(), {Kind::kCommit, Kind::kSendToMain, Kind::kClose,
                                             Kind::kPause, Kind::kSendToMain});
        }
        ASSERT_EQ(kinds, expected);
        if (c.result != Result::kApply) continue;

        const size_t first = c.net_params ? 1 : 0;
        if (c.net_params) {
            const Job& job = outcome.steps[0].job;
            EXPECT_EQ(job.job_kind, JobKind::kSingle);
            EXPECT_EQ(job.job_op, NET_PARAMS);
            EXPECT_EQ(job.job_param, 1);
            EXPECT_EQ(job.new_host_ip, c.settings.qavo_host_ip);
            EXPECT_EQ(job.new_host_mask, c.settings.qavo_host_sub);
            EXPECT_EQ(job.new_host_gateway, c.settings.qavo_host_gate);
            EXPECT_EQ(job.new_host_port, c.settings.qavo_host_udp_port);
            EXPECT_EQ(outcome.steps[0].duration, 250ms);
        }
        EXPECT_EQ(outcome.steps[first + 1].message, WM_SAVE_NETWORK);
        EXPECT_EQ(outcome.steps[first + 3].duration, 50ms);
        EXPECT_EQ(outcome.steps[first + 4].message, WM_RECREATE_SOCKETS);
    }
}

TEST(NetCardApplication, HexadecimalPortIsTakenAndSentAs16888) {
    NetworkSettings stored = Stored();
    stored.qavo_host_udp_port = "16000";
    NetCardLogic logic;
    logic.Open(stored, kTwoAdapters);
    EXPECT_EQ(logic.HostPortLeft("0x41F8"), std::nullopt);
    NetCardFields fields{"16888", "0x41F8", kIp(192, 168, 99, 9), kIp(255, 255, 255, 0),
                         kIp(192, 168, 99, 1)};
    testing::FakePrompter prompter;
    const NetCardOutcome outcome = logic.Application(fields, stored, prompter);
    ASSERT_EQ(outcome.result, Result::kApply);
    EXPECT_EQ(outcome.settings.qavo_host_udp_port, "0x41F8");
    EXPECT_EQ(ParsePort(outcome.settings.qavo_host_udp_port), 16888u);

    // The request tells the host its new address, last octet first, and
    // the port most significant byte first.
    ASSERT_EQ(outcome.steps[0].kind, Kind::kSendNetParams);
    Datagram d{};
    const size_t length = BuildSingleRequest(outcome.steps[0].job, d);
    const std::vector<uint8_t> sent(d.begin(), d.begin() + static_cast<long>(length));
    EXPECT_EQ(sent, (std::vector<uint8_t>{NET_PARAMS, 0, 0, 1, 9, 99, 168, 192, 0, 255, 255, 255, 1,
                                          99, 168, 192, 0x41, 0xF8}));
}

TEST(NetCardApplication, WorkingCopiesAreRefreshedByEachOpening) {
    NetCardLogic logic;
    logic.Open(Stored(), kTwoAdapters);
    logic.ConsolePortLeft("17000");
    logic.AdapterListClosed(1);
    NetworkSettings now = Stored();
    now.qavo_host_ip = kIp(10, 1, 2, 3);
    logic.Open(now, kTwoAdapters);
    EXPECT_EQ(logic.working().console_port, "16888");
    EXPECT_EQ(logic.working().host_ip, kIp(10, 1, 2, 3));
    EXPECT_EQ(logic.adapter_index(), 0);
}

}  // namespace
}  // namespace qavo
