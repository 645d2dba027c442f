#include "persistence/settings_store.h"

#include <vector>

#include "link/address_parse.h"
#include "persistence/table_access.h"

namespace qavo {
namespace {

constexpr const char* kUserError = "Error loading user information!";
constexpr const char* kAutoTimingError = "Error loading auto timing!";
constexpr const char* kExchangeError = "Error with database exchange data.";

constexpr const char* kDefaultPort = "16888";
constexpr uint32_t kFallbackMask = 0xFFFF0000;     // 255.255.0.0
constexpr uint32_t kFallbackGateway = 0xC0A80101;  // 192.168.1.1

// The account and clock rows that an empty table gets.
constexpr const char* kDefaultUser = "admin";
constexpr const char* kDefaultCode = "qvl704219";
constexpr const char* kTrue = "TRUE";
constexpr const char* kFalse = "FALSE";
// Month 18 never comes: the stored moment can never fire.
constexpr const char* kNeverDate = "2018/18/18 ";

void Show(Prompter& prompter, const char* text) {
    prompter.Ask(BoxRequest{text});
}

uint32_t AddressOr(std::string_view text, uint32_t fallback) {
    uint32_t address = ParseIPv4(text, ByteOrder::kHost);
    return address != 0 ? address : fallback;
}

}  // namespace

std::string FormatIPv4(uint32_t address) {
    return std::to_string(address >> 24) + '.' + std::to_string((address >> 16) & 0xFF) + '.' +
           std::to_string((address >> 8) & 0xFF) + '.' + std::to_string(address & 0xFF);
}

uint8_t LeadingNumberByte(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    // Only the low byte is kept, so the number is taken modulo 256 as it is read.
    uint8_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = static_cast<uint8_t>(value * 10 + (text[i] - '0'));
    }
    return negative ? static_cast<uint8_t>(-value) : value;
}

void LoadNetworkSettings(ConsoleDatabase& db, Prompter& prompter, NetworkSettings& settings) {
    settings = NetworkSettings{};
    if (!db.IsOpen()) return;
    FirstRow row = ReadFirstRow(db, Table::kNetwork,
                                {"pc_udp_port", "qavo_host_udp_port", "qavo_host_ip",
                                 "qavo_host_sub", "qavo_host_gate", "qavo_host_sel_ip"});
    if (row.status == DbStatus::kOpenFailed || !row.has_row) return;
    // Read in this order; after an error the rest keep their defaults.
    const std::vector<std::string>& v = row.values;
    if (v.size() > 0) settings.pc_udp_port = v[0].empty() ? kDefaultPort : v[0];
    if (v.size() > 1) settings.qavo_host_udp_port = v[1].empty() ? kDefaultPort : v[1];
    if (v.size() > 2) settings.qavo_host_ip = AddressOr(v[2], kDefaultHostAddress);
    if (v.size() > 3) settings.qavo_host_sub = AddressOr(v[3], kFallbackMask);
    if (v.size() > 4) settings.qavo_host_gate = AddressOr(v[4], kFallbackGateway);
    if (v.size() > 5) settings.qavo_host_sel_ip = LeadingNumberByte(v[5]);
    if (row.status == DbStatus::kError) Show(prompter, kDatabaseErrorText);
}

bool SaveNetworkSettings(ConsoleDatabase& db, Prompter& prompter, const NetworkSettings& settings) {
    const std::vector<std::string> row[] = {{
        settings.pc_udp_port,
        settings.qavo_host_udp_port,
        FormatIPv4(settings.qavo_host_ip),
        FormatIPv4(settings.qavo_host_sub),
        FormatIPv4(settings.qavo_host_gate),
        std::to_string(settings.qavo_host_sel_ip),
    }};
    if (ReplaceAll(db, Table::kNetwork, row) == DbStatus::kOk) return true;
    Show(prompter, kDatabaseErrorText);
    return false;
}

void LoadOperatorAndTiming(ConsoleDatabase& db, Prompter& prompter, bool& lock,
                           AutoTiming& timing) {
    if (db.IsOpen()) {
        FirstRow account = ReadFirstRow(db, Table::kUserAdmin, {"lock"});
        if (account.status == DbStatus::kOpenFailed) return;
        if (account.status == DbStatus::kError) return Show(prompter, kUserError);
        if (!account.has_row) {
            if (AppendRow(db, Table::kUserAdmin, {kDefaultUser, kDefaultCode, kTrue}) !=
                DbStatus::kOk) {
                return Show(prompter, kUserError);
            }
            lock = StoredTrue(kTrue);
        } else {
            lock = StoredTrue(account.values[0]);
        }
    }

    FirstRow schedule = ReadFirstRow(db, Table::kAutoTiming, {"a_timing", "auto"});
    if (schedule.status == DbStatus::kOpenFailed) return;
    if (schedule.status == DbStatus::kError) return Show(prompter, kAutoTimingError);
    if (schedule.has_row) {
        timing.a_timing = schedule.values[0];
        timing.auto_enabled = StoredTrue(schedule.values[1]);
        return;
    }
    std::string never = kNeverDate + timing.a_timing;
    if (AppendRow(db, Table::kAutoTiming, {never, kTrue}) != DbStatus::kOk) {
        Show(prompter, kAutoTimingError);
    }
}

bool SaveAutoTiming(ConsoleDatabase& db, Prompter& prompter, const AutoTiming& timing) {
    if (!db.IsOpen()) return false;
    const std::vector<std::vector<std::string>> rows = {
        {timing.a_timing, timing.auto_enabled ? kTrue : kFalse}};
    const DbStatus status = ReplaceAll(db, Table::kAutoTiming, rows);
    if (status == DbStatus::kError) Show(prompter, kExchangeError);
    return status == DbStatus::kOk;
}

}  // namespace qavo
