#include "sim_options.h"

#include <charconv>
#include <cstdio>

namespace qavo::sim {

namespace {

// A whole decimal number within [low, high].
bool ParseNumber(std::string_view text, long long low, long long high, long long& out) {
    if (text.empty()) return false;
    long long value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc{} || end != text.data() + text.size()) return false;
    if (value < low || value > high) return false;
    out = value;
    return true;
}

// "ADDR" or "ADDR,MAJOR.MINOR".
std::optional<SimDevice> ParseDevice(std::string_view text) {
    SimDevice device;
    std::string_view address = text;
    size_t comma = text.find(',');
    if (comma != std::string_view::npos) {
        address = text.substr(0, comma);
        std::string_view version = text.substr(comma + 1);
        size_t dot = version.find('.');
        if (dot == std::string_view::npos) return std::nullopt;
        long long major = 0, minor = 0;
        if (!ParseNumber(version.substr(0, dot), 0, 255, major) ||
            !ParseNumber(version.substr(dot + 1), 0, 255, minor)) {
            return std::nullopt;
        }
        device.major = static_cast<uint8_t>(major);
        device.minor = static_cast<uint8_t>(minor);
    }
    auto parsed = ParseDottedAddress(address);
    if (!parsed) return std::nullopt;
    device.address = *parsed;
    return device;
}

// "ADDR,N" or "ADDR,N,TIMES" (TIMES a number or "always"), as the command
// that sets it.
std::optional<std::string> ParseLoseChunk(std::string_view text) {
    size_t comma = text.find(',');
    if (comma == std::string_view::npos) return std::nullopt;
    std::string_view address = text.substr(0, comma);
    std::string_view rest = text.substr(comma + 1);
    const size_t second = rest.find(',');
    std::string_view number = rest.substr(0, second);
    long long n = 0, t = 0;
    if (!ParseDottedAddress(address) || !ParseNumber(number, 0, 65535, n)) return std::nullopt;
    std::string command = "firmware " + std::string(address) + " lose " + std::to_string(n);
    if (second != std::string_view::npos) {
        std::string_view times = rest.substr(second + 1);
        if (times == "always") {
            command += " always";
        } else if (ParseNumber(times, 1, 1000, t)) {
            command += " " + std::to_string(t);
        } else {
            return std::nullopt;
        }
    }
    return command;
}

}  // namespace

std::optional<uint32_t> ParseDottedAddress(std::string_view text) {
    uint32_t address = 0;
    for (int octet = 0; octet < 4; ++octet) {
        size_t dot = text.find('.');
        std::string_view part = octet < 3 ? text.substr(0, dot) : text;
        if (octet < 3 && dot == std::string_view::npos) return std::nullopt;
        long long value = 0;
        if (part.size() > 3 || !ParseNumber(part, 0, 255, value)) return std::nullopt;
        address = (address << 8) | static_cast<uint32_t>(value);
        if (octet < 3) text.remove_prefix(dot + 1);
    }
    return address;
}

std::string FormatAddress(uint32_t a) {
    char text[20];
    std::snprintf(text, sizeof text, "%u.%u.%u.%u", (a >> 24) & 0xFF, (a >> 16) & 0xFF,
                  (a >> 8) & 0xFF, a & 0xFF);
    return text;
}

std::optional<std::string> ValidateSimOptions(const SimOptions& o) {
    if (!IsLoopback(o.bind_address)) {
        return "bind address " + FormatAddress(o.bind_address) +
               " is not a loopback address (127.x.x.x)";
    }
    if (o.host_count < 1 || o.host_count > 20) return "host count must be 1 to 20";
    if (o.paging_count > 32) return "paging console count must be 0 to 32";
    if (o.group_count > 120) return "group count must be 0 to 120";
    if (o.log_size > 5000) return "log size must be 0 to 5000";
    if (o.ready_delay_ms < 0 || o.ready_delay_ms > 60000) {
        return "firmware ready delay must be 0 to 60000 ms";
    }
    for (const SimDevice& d : o.devices) {
        if (!IsLoopback(d.address)) {
            return "device address " + FormatAddress(d.address) +
                   " is not a loopback address (127.x.x.x)";
        }
    }
    return std::nullopt;
}

std::optional<std::string> ParseSimCommandLine(const std::vector<std::string>& args,
                                               SimCommandLine& out) {
    SimOptions& o = out.options;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        auto value = [&](std::string& text) -> bool {
            if (i + 1 >= args.size()) return false;
            text = args[++i];
            return true;
        };
        auto number = [&](long long low, long long high,
                          long long& result) -> std::optional<std::string> {
            std::string text;
            if (!value(text)) return "option " + arg + " needs a value";
            if (!ParseNumber(text, low, high, result)) {
                return "option " + arg + ": '" + text + "' is not a number from " +
                       std::to_string(low) + " to " + std::to_string(high);
            }
            return std::nullopt;
        };
        long long n = 0;
        std::string text;
        if (arg == "-h" || arg == "--help") {
            out.help = true;
        } else if (arg == "-v" || arg == "--verbose") {
            o.verbose = true;
        } else if (arg == "--bind") {
            if (!value(text)) return "option --bind needs an address";
            auto address = ParseDottedAddress(text);
            if (!address) return "option --bind: '" + text + "' is not an IPv4 address";
            o.bind_address = *address;
        } else if (arg == "--port") {
            if (auto e = number(0, 65535, n)) return e;
            o.port = static_cast<uint16_t>(n);
        } else if (arg == "--hosts") {
            if (auto e = number(1, 20, n)) return e;
            o.host_count = static_cast<unsigned>(n);
        } else if (arg == "--consoles") {
            if (auto e = number(0, 32, n)) return e;
            o.paging_count = static_cast<unsigned>(n);
        } else if (arg == "--groups") {
            if (auto e = number(0, 120, n)) return e;
            o.group_count = static_cast<unsigned>(n);
        } else if (arg == "--log-size") {
            if (auto e = number(0, 5000, n)) return e;
            o.log_size = static_cast<unsigned>(n);
        } else if (arg == "--ready-delay") {
            if (auto e = number(0, 60000, n)) return e;
            o.ready_delay_ms = static_cast<int>(n);
        } else if (arg == "--seed") {
            if (auto e = number(0, 0xFFFFFFFFLL, n)) return e;
            o.seed = static_cast<uint32_t>(n);
        } else if (arg == "--device") {
            if (!value(text)) return "option --device needs ADDR[,MAJOR.MINOR]";
            auto device = ParseDevice(text);
            if (!device) return "option --device: '" + text + "' is not ADDR[,MAJOR.MINOR]";
            o.devices.push_back(*device);
        } else if (arg == "-c" || arg == "--command") {
            if (!value(text)) return "option " + arg + " needs a command";
            out.commands.push_back(text);
        } else if (arg == "--silent") {
            out.commands.push_back("silent on");
        } else if (arg == "--drop") {
            if (!value(text)) return "option --drop needs a fraction";
            out.commands.push_back("drop " + text);
        } else if (arg == "--never-ready") {
            if (!value(text)) return "option --never-ready needs a device address";
            if (!ParseDottedAddress(text)) {
                return "option --never-ready: '" + text + "' is not an IPv4 address";
            }
            out.commands.push_back("firmware " + text + " ready off");
        } else if (arg == "--lose-chunk") {
            if (!value(text)) return "option --lose-chunk needs ADDR,N[,TIMES]";
            auto lose = ParseLoseChunk(text);
            if (!lose) return "option --lose-chunk: '" + text + "' is not ADDR,N[,TIMES]";
            out.commands.push_back(*lose);
        } else if (arg == "--delay") {
            if (!value(text)) return "option --delay needs milliseconds";
            out.commands.push_back("delay " + text);
        } else {
            return "unknown option '" + arg + "'";
        }
    }
    return ValidateSimOptions(o);
}

std::string SimCommandHelp() {
    return R"(Commands (hosts, zones, contacts and consoles are numbered from 1):
  line H Z A|B normal|short|open       set line A or B of zone Z of host H
  contact H C normal|short|open|triggered
                                       set contact input C of host H
  emergency on|off                     enter or leave emergency mode
  host H online|offline                host H answers or is lost
  power H ac|dc ok|fault               AC or DC supply of host H
  amp H main|spare ok|fault            main or spare amplifier of host H
  paging K ok|fault|offline            paging console K
  silent on|off                        answer nothing at all while on
  drop FRACTION                        lose that fraction (0 to 1) of what is sent
  delay MS                             send everything MS milliseconds late
  firmware ADDR ready on|off           off: the device at ADDR acknowledges FW_BEGIN
                                       but never says it is ready
  firmware ADDR lose N [TIMES|always]  the device at ADDR loses chunk N (takes and
                                       acknowledges nothing) the next TIMES times it
                                       comes (default 1); always: every time
  firmware ADDR normal                 the device at ADDR takes firmware normally
  status                               show the state
  log N                                add N events to the log
  push                                 send the status to the last requester now
  help                                 this list
  quit                                 stop the simulator)";
}

std::string SimUsage() {
    return R"(Usage: qavo-host-sim [OPTIONS]
A simulated QAVO host and firmware devices on the loopback network.

Options:
  --bind ADDR           loopback address to listen on (default 127.0.0.1)
  --port N              UDP port (default 16888; 0: any free port)
  --hosts N             hosts in the system, 1 to 20 (default 4)
  --consoles N          paging consoles, 0 to 32 (default 4)
  --groups N            zone groups, 0 to 120 (default 8)
  --log-size N          events in the log at start, 0 to 5000 (default 200)
  --device ADDR[,MAJOR.MINOR]
                        a firmware device (repeatable; loopback addresses only;
                        default: one at the bind address, version 1.0)
  --ready-delay MS      firmware device ready after FW_BEGIN (default 500)
  --seed N              seed of the generated log and of the drops (default 1)
  --silent              start silent (as the command "silent on")
  --drop FRACTION       start dropping (as the command "drop")
  --delay MS            start delaying (as the command "delay")
  --never-ready ADDR    the device at ADDR never says it is ready
                        (as the command "firmware ADDR ready off")
  --lose-chunk ADDR,N[,TIMES]
                        the device at ADDR loses chunk N, TIMES times (default 1;
                        "always": every time), as the command "firmware ADDR lose"
  -c, --command CMD     run a command once started (repeatable)
  -v, --verbose         print every datagram received and sent on stderr
  -h, --help            this text

Commands are read from standard input, one per line; the end of standard
input does not stop the simulator (SIGINT, SIGTERM or "quit" do).

)" + SimCommandHelp() +
           "\n";
}

}  // namespace qavo::sim
