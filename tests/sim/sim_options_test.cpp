#include "sim_options.h"

#include <gtest/gtest.h>

namespace qavo::sim {
namespace {

TEST(SimOptions, NoArgumentsGiveTheDefaults) {
    SimCommandLine line;
    EXPECT_FALSE(ParseSimCommandLine({}, line).has_value());
    EXPECT_EQ(line.options.bind_address, kLoopbackAddress);
    EXPECT_EQ(line.options.port, 16888);
    EXPECT_EQ(line.options.host_count, 4u);
    EXPECT_EQ(line.options.paging_count, 4u);
    EXPECT_EQ(line.options.group_count, 8u);
    EXPECT_EQ(line.options.log_size, 200u);
    EXPECT_EQ(line.options.ready_delay_ms, 500);
    EXPECT_TRUE(line.options.devices.empty());
    EXPECT_FALSE(line.options.verbose);
    EXPECT_FALSE(line.help);
}

TEST(SimOptions, EveryOptionIsTaken) {
    SimCommandLine line;
    auto error = ParseSimCommandLine({"--bind",
                                      "127.0.0.5",
                                      "--port",
                                      "0",
                                      "--hosts",
                                      "20",
                                      "--consoles",
                                      "0",
                                      "--groups",
                                      "120",
                                      "--log-size",
                                      "5000",
                                      "--device",
                                      "127.0.0.9,3.14",
                                      "--device",
                                      "127.0.0.5",
                                      "--ready-delay",
                                      "0",
                                      "--seed",
                                      "77",
                                      "-v",
                                      "-c",
                                      "line 1 1 a open",
                                      "--silent",
                                      "--drop",
                                      "0.5",
                                      "--delay",
                                      "20",
                                      "--help"},
                                     line);
    ASSERT_FALSE(error.has_value()) << *error;
    const SimOptions& o = line.options;
    EXPECT_EQ(o.bind_address, 0x7F000005u);
    EXPECT_EQ(o.port, 0);
    EXPECT_EQ(o.host_count, 20u);
    EXPECT_EQ(o.paging_count, 0u);
    EXPECT_EQ(o.group_count, 120u);
    EXPECT_EQ(o.log_size, 5000u);
    EXPECT_EQ(o.devices, (std::vector<SimDevice>{{0x7F000009, 3, 14}, {0x7F000005, 1, 0}}));
    EXPECT_EQ(o.ready_delay_ms, 0);
    EXPECT_EQ(o.seed, 77u);
    EXPECT_TRUE(o.verbose);
    EXPECT_TRUE(line.help);
    EXPECT_EQ(line.commands,
              (std::vector<std::string>{"line 1 1 a open", "silent on", "drop 0.5", "delay 20"}));
}

struct BadArgs {
    std::vector<std::string> args;
    const char* says;
};
void PrintTo(const BadArgs& c, std::ostream* os) {
    for (const std::string& arg : c.args)
        *os << arg << ' ';
}

class SimBadOptions : public ::testing::TestWithParam<BadArgs> {};

TEST_P(SimBadOptions, AreRefusedWithAReason) {
    SimCommandLine line;
    auto error = ParseSimCommandLine(GetParam().args, line);
    ASSERT_TRUE(error.has_value());
    EXPECT_NE(error->find(GetParam().says), std::string::npos) << *error;
}

INSTANTIATE_TEST_SUITE_P(
    Table, SimBadOptions,
    ::testing::Values(
        BadArgs{{"--frobnicate"}, "unknown option"}, BadArgs{{"--port"}, "needs a value"},
        BadArgs{{"--port", "65536"}, "not a number"}, BadArgs{{"--port", "12ab"}, "not a number"},
        BadArgs{{"--hosts", "0"}, "1 to 20"}, BadArgs{{"--hosts", "21"}, "1 to 20"},
        BadArgs{{"--consoles", "33"}, "0 to 32"}, BadArgs{{"--groups", "121"}, "0 to 120"},
        BadArgs{{"--log-size", "5001"}, "0 to 5000"},
        BadArgs{{"--bind", "192.168.99.8"}, "not a loopback"},
        BadArgs{{"--bind", "127.0.0"}, "not an IPv4 address"},
        BadArgs{{"--device", "10.1.1.1,1.0"}, "not a loopback"},
        BadArgs{{"--device", "127.0.0.2,1"}, "ADDR[,MAJOR.MINOR]"},
        BadArgs{{"--device", "127.0.0.2,1.300"}, "ADDR[,MAJOR.MINOR]"},
        BadArgs{{"-c"}, "needs a command"}, BadArgs{{"--never-ready"}, "needs a device address"},
        BadArgs{{"--never-ready", "127.0.0"}, "not an IPv4 address"},
        BadArgs{{"--lose-chunk"}, "needs ADDR,N[,TIMES]"},
        BadArgs{{"--lose-chunk", "127.0.0.2"}, "ADDR,N[,TIMES]"},
        BadArgs{{"--lose-chunk", "127.0.0.2,65536"}, "ADDR,N[,TIMES]"},
        BadArgs{{"--lose-chunk", "127.0.0.2,3,0"}, "ADDR,N[,TIMES]"},
        BadArgs{{"--lose-chunk", "127.0.0.2,3,"}, "ADDR,N[,TIMES]"},
        BadArgs{{"--lose-chunk", "127.0.0,3"}, "ADDR,N[,TIMES]"}));

TEST(SimOptions, FirmwareFaultsBecomeTheirCommands) {
    SimCommandLine line;
    auto error = ParseSimCommandLine(
        {"--never-ready", "127.0.0.2", "--lose-chunk", "127.0.0.3,0", "--lose-chunk",
         "127.0.0.3,7,2", "--lose-chunk", "127.0.0.4,65535,always"},
        line);
    ASSERT_FALSE(error.has_value()) << *error;
    EXPECT_EQ(line.commands,
              (std::vector<std::string>{"firmware 127.0.0.2 ready off", "firmware 127.0.0.3 lose 0",
                                        "firmware 127.0.0.3 lose 7 2",
                                        "firmware 127.0.0.4 lose 65535 always"}));
}

TEST(SimOptions, DottedAddressesAreStrict) {
    EXPECT_EQ(ParseDottedAddress("127.0.0.1"), 0x7F000001u);
    EXPECT_EQ(ParseDottedAddress("255.255.255.255"), 0xFFFFFFFFu);
    for (const char* bad :
         {"", "1.2.3", "1.2.3.4.5", "1.2.3.256", "1..2.3", "a.b.c.d", "1.2.3.4 "}) {
        EXPECT_FALSE(ParseDottedAddress(bad).has_value()) << bad;
    }
    EXPECT_EQ(FormatAddress(0x7F000102), "127.0.1.2");
}

TEST(SimOptions, UsageListsEveryOptionAndCommand) {
    const std::string usage = SimUsage();
    for (const char* word : {"--bind",
                             "--port",
                             "--hosts",
                             "--consoles",
                             "--groups",
                             "--log-size",
                             "--device",
                             "--ready-delay",
                             "--seed",
                             "--silent",
                             "--drop",
                             "--delay",
                             "--command",
                             "--verbose",
                             "--help",
                             "line H Z",
                             "contact H C",
                             "emergency",
                             "host H",
                             "power H",
                             "amp H",
                             "paging K",
                             "silent on",
                             "drop FRACTION",
                             "delay MS",
                             "status",
                             "log N",
                             "push",
                             "quit",
                             "--never-ready",
                             "--lose-chunk",
                             "firmware ADDR ready",
                             "firmware ADDR lose",
                             "firmware ADDR normal"}) {
        EXPECT_NE(usage.find(word), std::string::npos) << word;
    }
}

}  // namespace
}  // namespace qavo::sim
