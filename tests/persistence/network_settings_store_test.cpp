#include <gtest/gtest.h>

#include "db_test_util.h"
#include "persistence/settings_store.h"

namespace qavo::testing {
namespace {

class DatabaseNetworkSettingsTest : public DatabaseFixture {
  protected:
    void SetUp() override { Open(); }

    Rows NetworkRows() const { return QuerySql(file(), "select * from network"); }

    // Settings that differ from the defaults in every field.
    static NetworkSettings Unusual() {
        NetworkSettings s;
        s.pc_udp_port = "0x4000";
        s.qavo_host_udp_port = "17000";
        s.qavo_host_ip = 0x0A000005;    // 10.0.0.5
        s.qavo_host_sub = 0xFFFFFF80;   // 255.255.255.128
        s.qavo_host_gate = 0x0A000001;  // 10.0.0.1
        s.qavo_host_sel_ip = 3;
        return s;
    }
};

TEST_F(DatabaseNetworkSettingsTest, AnEmptyTableGivesTheDefaults) {
    NetworkSettings settings = Unusual();
    LoadNetworkSettings(db_, prompter_, settings);
    EXPECT_EQ(settings.pc_udp_port, "16888");
    EXPECT_EQ(settings.qavo_host_udp_port, "16888");
    EXPECT_EQ(settings.qavo_host_ip, 0xC0A86308u);    // 192.168.99.8
    EXPECT_EQ(settings.qavo_host_sub, 0xFFFFFF00u);   // 255.255.255.0
    EXPECT_EQ(settings.qavo_host_gate, 0xC0A86301u);  // 192.168.99.1
    EXPECT_EQ(settings.qavo_host_sel_ip, 0);
    EXPECT_TRUE(NetworkRows().empty());
    EXPECT_TRUE(prompter_.asked().empty());
}

TEST_F(DatabaseNetworkSettingsTest, StoredTextsAndTheirFallbacks) {
    struct Case {
        std::vector<std::string> stored;  // pc port, host port, ip, mask, gateway, adapter
        NetworkSettings expected;
    };
    const Case cases[] = {
        {{"0x4000", "17000", "10.0.0.5", "255.255.255.128", "10.0.0.1", "3"},
         {"0x4000", 0x0A000005, 0xFFFFFF80, 0x0A000001, "17000", 3}},
        {{"", "", "", "", "", ""}, {"16888", 0xC0A86308, 0xFFFF0000, 0xC0A80101, "16888", 0}},
        {{"port", "x", "0.0.0.0", "0.0.0.0", "0.0.0.0", "abc"},
         {"port", 0xC0A86308, 0xFFFF0000, 0xC0A80101, "x", 0}},
        {{"1", "2", "192.168.001.010", "255.0.0.0", "0", "12x"},
         {"1", 0xC0A8010A, 0xFF000000, 0xC0A80101, "2", 12}},
        {{"1", "2", "172.16.0.9 trailing", "255.255.0.0", "172.16.0.1", "300"},
         {"1", 0xAC100009, 0xFFFF0000, 0xAC100001, "2", 44}},
        {{"1", "2", "1.2.3.4", "255.255.255.0", "1.2.3.1", " -1"},
         {"1", 0x01020304, 0xFFFFFF00, 0x01020301, "2", 255}},
    };
    for (const Case& c : cases) {
        std::string values;
        for (const std::string& v : c.stored)
            values += (values.empty() ? "'" : ", '") + v + "'";
        ExecSql(file(), "delete from network; insert into network values (" + values + ")");
        NetworkSettings settings;
        LoadNetworkSettings(db_, prompter_, settings);
        EXPECT_EQ(settings, c.expected) << values;
    }
    EXPECT_TRUE(prompter_.asked().empty());
}

TEST_F(DatabaseNetworkSettingsTest, OnlyTheFirstRowCounts) {
    ExecSql(
        file(),
        "insert into network values ('1000', '1001', '10.1.1.1', '255.0.0.0', '10.1.1.2', '1');"
        "insert into network values ('2000', '2001', '10.2.2.2', '255.0.0.0', '10.2.2.1', '2');");
    NetworkSettings settings;
    LoadNetworkSettings(db_, prompter_, settings);
    EXPECT_EQ(settings.pc_udp_port, "1000");
    EXPECT_EQ(settings.qavo_host_ip, 0x0A010101u);
    EXPECT_EQ(settings.qavo_host_sel_ip, 1);
}

TEST_F(DatabaseNetworkSettingsTest, AMissingColumnStopsTheLoadWithTheMessage) {
    db_.Close();
    ExecSql(file(),
            "drop table network;"
            "create table network (pc_udp_port text, qavo_host_udp_port text, qavo_host_ip text,"
            " qavo_host_gate text);"
            "insert into network values ('4000', '4001', '10.0.0.5', '10.0.0.1');");
    Open();
    NetworkSettings settings = Unusual();
    LoadNetworkSettings(db_, prompter_, settings);
    EXPECT_EQ(Messages(), std::vector<std::string>{"Save network card information"});
    // Read before the missing mask; the rest keep their defaults.
    NetworkSettings expected;
    expected.pc_udp_port = "4000";
    expected.qavo_host_udp_port = "4001";
    expected.qavo_host_ip = 0x0A000005;
    EXPECT_EQ(settings, expected);
}

TEST_F(DatabaseNetworkSettingsTest, ASaveLeavesExactlyOneRow) {
    const Rows expected = {{"0x4000", "17000", "10.0.0.5", "255.255.255.128", "10.0.0.1", "3"}};
    for (int before : {0, 1, 3}) {
        ExecSql(file(), "delete from network");
        for (int i = 0; i < before; ++i) {
            ExecSql(file(), "insert into network values ('1', '2', '3', '4', '5', '6')");
        }
        EXPECT_TRUE(SaveNetworkSettings(db_, prompter_, Unusual())) << before;
        EXPECT_EQ(NetworkRows(), expected) << before;
    }
    EXPECT_TRUE(prompter_.asked().empty());
}

TEST_F(DatabaseNetworkSettingsTest, SavedSettingsLoadBackUnchanged) {
    NetworkSettings saved = Unusual();
    saved.qavo_host_ip = 0xFF000001;  // 255.0.0.1: no leading zeros, no sign
    saved.qavo_host_sel_ip = 255;
    ASSERT_TRUE(SaveNetworkSettings(db_, prompter_, saved));
    EXPECT_EQ(NetworkRows()[0][2], "255.0.0.1");
    EXPECT_EQ(NetworkRows()[0][5], "255");
    NetworkSettings loaded;
    LoadNetworkSettings(db_, prompter_, loaded);
    EXPECT_EQ(loaded, saved);
}

TEST_F(DatabaseNetworkSettingsTest, AFailingSaveShowsTheMessageAndKeepsTheOldRow) {
    ExecSql(file(),
            "insert into network values ('1000', '1001', '10.1.1.1', '255.0.0.0', '10.1.1.2', '1');"
            "create trigger refuse before insert on network "
            "begin select raise(abort, 'refused'); end;");
    const Rows before = NetworkRows();
    EXPECT_FALSE(SaveNetworkSettings(db_, prompter_, Unusual()));
    EXPECT_EQ(prompter_.asked(),
              (std::vector<BoxRequest>{{"Save network card information", kAppTitle}}));
    EXPECT_EQ(NetworkRows(), before);
}

}  // namespace
}  // namespace qavo::testing
