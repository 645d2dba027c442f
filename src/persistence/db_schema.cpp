#include "persistence/db_schema.h"

namespace qavo {
namespace {

// Column names are quoted in every statement: `order` is a keyword.
constexpr std::string_view kNetworkColumns[] = {
    "pc_udp_port",   "qavo_host_udp_port", "qavo_host_ip",
    "qavo_host_sub", "qavo_host_gate",     "qavo_host_sel_ip",
};
constexpr std::string_view kUserAdminColumns[] = {"user", "code", "lock"};
constexpr std::string_view kAutoTimingColumns[] = {"a_timing", "auto"};
constexpr std::string_view kLogColumns[] = {"order", "calendar", "event_type", "event_context"};

constexpr TableSchema kSchemas[] = {
    {
        "network",
        kNetworkColumns,
        kSelectNetwork,
        "insert into network (\"pc_udp_port\", \"qavo_host_udp_port\", \"qavo_host_ip\", "
        "\"qavo_host_sub\", \"qavo_host_gate\", \"qavo_host_sel_ip\") values (?, ?, ?, ?, ?, ?)",
        "create table if not exists network (\"pc_udp_port\" TEXT, \"qavo_host_udp_port\" TEXT, "
        "\"qavo_host_ip\" TEXT, \"qavo_host_sub\" TEXT, \"qavo_host_gate\" TEXT, "
        "\"qavo_host_sel_ip\" TEXT)",
    },
    {
        "user_admin",
        kUserAdminColumns,
        kSelectUserAdmin,
        "insert into user_admin (\"user\", \"code\", \"lock\") values (?, ?, ?)",
        "create table if not exists user_admin (\"user\" TEXT, \"code\" TEXT, \"lock\" TEXT)",
    },
    {
        "auto_timing",
        kAutoTimingColumns,
        kSelectAutoTiming,
        "insert into auto_timing (\"a_timing\", \"auto\") values (?, ?)",
        "create table if not exists auto_timing (\"a_timing\" TEXT, \"auto\" TEXT)",
    },
    {
        "log",
        kLogColumns,
        kSelectLog,
        "insert into log (\"order\", \"calendar\", \"event_type\", \"event_context\") "
        "values (?, ?, ?, ?)",
        "create table if not exists log (\"order\" TEXT, \"calendar\" TEXT, \"event_type\" TEXT, "
        "\"event_context\" TEXT)",
    },
};

}  // namespace

const TableSchema& SchemaOf(Table table) {
    return kSchemas[static_cast<int>(table)];
}

}  // namespace qavo
