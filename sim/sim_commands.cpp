// The commands typed on standard input (or given with -c).
#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <optional>
#include <sstream>

#include "sim_host.h"

namespace qavo::sim {

namespace {

std::vector<std::string> SplitWords(std::string_view line) {
    std::vector<std::string> words;
    std::istringstream in{std::string(line)};
    std::string word;
    while (in >> word) {
        std::transform(word.begin(), word.end(), word.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        words.push_back(word);
    }
    return words;
}

// A number from 1 to `count`, as 0-based index.
std::optional<unsigned> ParseOrdinal(const std::string& word, unsigned count) {
    unsigned value = 0;
    auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (ec != std::errc{} || end != word.data() + word.size()) return std::nullopt;
    if (value < 1 || value > count) return std::nullopt;
    return value - 1;
}

// Finds `word` in `choices`; returns its position.
std::optional<size_t> Choose(const std::string& word, std::initializer_list<const char*> choices) {
    size_t i = 0;
    for (const char* choice : choices) {
        if (word == choice) return i;
        ++i;
    }
    return std::nullopt;
}

std::string Error(const std::string& text) {
    return "error: " + text;
}

std::string Done(bool changed, const std::string& what) {
    return changed ? "ok: " + what : "ok: " + what + " already";
}

}  // namespace

std::string SimHost::Command(std::string_view line) {
    std::vector<std::string> words = SplitWords(line);
    if (words.empty()) return {};
    const std::string& verb = words[0];
    const size_t args = words.size() - 1;
    if (verb == "help") return SimCommandHelp();
    if (verb == "quit" || verb == "exit") {
        quit_requested_ = true;
        return "ok: stopping";
    }
    if (verb == "silent") {
        auto on = args == 1 ? Choose(words[1], {"off", "on"}) : std::nullopt;
        if (!on) return Error("usage: silent on|off");
        sender_.SetSilent(*on == 1);
        return *on ? "ok: silent, nothing is answered" : "ok: answering again";
    }
    if (verb == "drop") {
        double fraction = -1;
        if (args == 1) {
            const std::string& w = words[1];
            auto [end, ec] = std::from_chars(w.data(), w.data() + w.size(), fraction);
            if (ec != std::errc{} || end != w.data() + w.size()) fraction = -1;
        }
        if (!(fraction >= 0.0 && fraction <= 1.0)) return Error("usage: drop FRACTION (0 to 1)");
        sender_.SetDropFraction(fraction);
        char text[64];
        std::snprintf(text, sizeof text, "ok: dropping %.0f%% of what is sent", fraction * 100);
        return text;
    }
    if (verb == "delay") {
        unsigned ms = 0;
        bool good = args == 1;
        if (good) {
            const std::string& w = words[1];
            auto [end, ec] = std::from_chars(w.data(), w.data() + w.size(), ms);
            good = ec == std::errc{} && end == w.data() + w.size() && ms <= 60000;
        }
        if (!good) return Error("usage: delay MS (0 to 60000)");
        sender_.SetDelay(std::chrono::milliseconds(ms));
        return "ok: sending " + std::to_string(ms) + " ms late";
    }
    std::lock_guard lock(state_mutex_);
    return ApplyCommand(words);
}

std::string SimHost::ApplyCommand(const std::vector<std::string>& w) {
    const std::string& verb = w[0];
    const size_t args = w.size() - 1;
    const unsigned hosts = state_.HostCount();
    auto host_word = [&](const std::string& word) { return ParseOrdinal(word, hosts); };
    auto no_host = [&](const std::string& word) {
        return Error("no host " + word + " (hosts 1 to " + std::to_string(hosts) + ")");
    };
    bool changed = false;
    std::string reply;

    if (verb == "line") {
        if (args != 4) return Error("usage: line H Z A|B normal|short|open");
        auto h = host_word(w[1]);
        if (!h) return no_host(w[1]);
        auto z = ParseOrdinal(w[2], kZonesPerHost);
        if (!z) return Error("no zone " + w[2] + " (zones 1 to 8)");
        auto line = Choose(w[3], {"a", "b"});
        if (!line) return Error("line must be A or B, not " + w[3]);
        auto state = Choose(w[4], {"normal", "short", "open"});
        if (!state) return Error("a line is normal, short or open, not " + w[4]);
        changed = state_.SetLine(*h, *z, *line ? SpeakerLine::kB : SpeakerLine::kA,
                                 static_cast<LineState>(*state));
        reply = Done(changed, "line " + std::string(*line ? "B" : "A") + " of zone " + w[2] +
                                  " on host " + w[1] + " is " + w[4]);
    } else if (verb == "contact") {
        if (args != 3) return Error("usage: contact H C normal|short|open|triggered");
        auto h = host_word(w[1]);
        if (!h) return no_host(w[1]);
        auto c = ParseOrdinal(w[2], 8);
        if (!c) return Error("no contact " + w[2] + " (contacts 1 to 8)");
        auto state = Choose(w[3], {"normal", "short", "open", "triggered"});
        if (!state) return Error("a contact is normal, short, open or triggered, not " + w[3]);
        changed = state_.SetContact(*h, *c, static_cast<ContactState>(*state));
        reply = Done(changed, "contact " + w[2] + " of host " + w[1] + " is " + w[3]);
    } else if (verb == "emergency") {
        auto on = args == 1 ? Choose(w[1], {"off", "on"}) : std::nullopt;
        if (!on) return Error("usage: emergency on|off");
        changed = state_.SetEmergency(*on == 1);
        reply = Done(changed, *on ? "emergency mode on" : "emergency mode off");
    } else if (verb == "host") {
        if (args != 2) return Error("usage: host H online|offline");
        auto h = host_word(w[1]);
        if (!h) return no_host(w[1]);
        auto online = Choose(w[2], {"offline", "online"});
        if (!online) return Error("a host is online or offline, not " + w[2]);
        changed = state_.SetHostOnline(*h, *online == 1);
        reply = Done(changed, "host " + w[1] + " is " + w[2]);
    } else if (verb == "power" || verb == "amp") {
        const bool power = verb == "power";
        if (args != 3) {
            return Error(power ? "usage: power H ac|dc ok|fault"
                               : "usage: amp H main|spare ok|fault");
        }
        auto h = host_word(w[1]);
        if (!h) return no_host(w[1]);
        auto which = power ? Choose(w[2], {"ac", "dc"}) : Choose(w[2], {"main", "spare"});
        if (!which)
            return Error(power ? "power is ac or dc, not " + w[2]
                               : "an amplifier is main or spare, not " + w[2]);
        auto ok = Choose(w[3], {"fault", "ok"});
        if (!ok) return Error("state is ok or fault, not " + w[3]);
        changed = power ? state_.SetPower(*h, *which == 1, *ok == 1)
                        : state_.SetAmplifier(*h, *which == 1, *ok == 1);
        reply = Done(changed,
                     w[2] + (power ? " power" : " amplifier") + " of host " + w[1] + " is " + w[3]);
    } else if (verb == "paging") {
        if (args != 2) return Error("usage: paging K ok|fault|offline");
        const unsigned consoles = state_.PagingCount();
        auto k = ParseOrdinal(w[1], consoles);
        if (!k) {
            return Error("no paging console " + w[1] + " (" + std::to_string(consoles) +
                         " fitted)");
        }
        auto condition = Choose(w[2], {"ok", "fault", "offline"});
        if (!condition) return Error("a console is ok, fault or offline, not " + w[2]);
        changed = state_.SetPaging(*k, static_cast<PagingCondition>(*condition));
        reply = Done(changed, "paging console " + w[1] + " is " + w[2]);
    } else if (verb == "log") {
        unsigned count = 0;
        if (args == 1) {
            auto [end, ec] = std::from_chars(w[1].data(), w[1].data() + w[1].size(), count);
            if (ec != std::errc{} || end != w[1].data() + w[1].size()) count = 0;
        }
        if (count < 1 || count > kHostLogMaxRecords) return Error("usage: log N (1 to 5000)");
        state_.AddRandomEvents(count);
        return "ok: " + std::to_string(count) + " events added, the log holds " +
               std::to_string(state_.log().size());
    } else if (verb == "push") {
        if (args != 0) return Error("usage: push");
        if (!last_requester_) return Error("no request has come yet: nowhere to push");
        PushStatus();
        return "ok: status pushed to " + FormatEndpoint(*last_requester_);
    } else if (verb == "status") {
        if (args != 0) return Error("usage: status");
        char head[200];
        std::snprintf(head, sizeof head,
                      "listening on %s, last requester %s, %s, dropping %.0f%%, delay %lld ms\n",
                      FormatEndpoint(Endpoint{options_.bind_address, port_}).c_str(),
                      last_requester_ ? FormatEndpoint(*last_requester_).c_str() : "none",
                      sender_.silent() ? "silent" : "answering", sender_.drop_fraction() * 100,
                      static_cast<long long>(sender_.delay().count()));
        return head + DescribeDevices() + state_.Describe();
    } else if (verb == "firmware") {
        return FirmwareCommand(w);
    } else {
        return Error("unknown command '" + verb + "' (try help)");
    }
    if (changed) PushStatus();
    return reply;
}

std::string SimHost::FirmwareCommand(const std::vector<std::string>& w) {
    const char* usage = "usage: firmware ADDR ready on|off | lose N [TIMES|always] | normal";
    if (w.size() < 3) return Error(usage);
    auto address = ParseDottedAddress(w[1]);
    if (!address) return Error("'" + w[1] + "' is not an IPv4 address");
    auto device = std::find_if(devices_.begin(), devices_.end(),
                               [&](const Device& d) { return d.info.address == *address; });
    if (device == devices_.end()) return Error("no device at " + w[1]);
    FirmwareFaults& faults = device->faults;
    const std::string who = "device " + w[1];
    const std::string& what = w[2];
    if (what == "ready") {
        auto on = w.size() == 4 ? Choose(w[3], {"off", "on"}) : std::nullopt;
        if (!on) return Error("usage: firmware ADDR ready on|off");
        const bool never = *on == 0;
        const bool changed = faults.never_ready != never;
        faults.never_ready = never;
        return Done(changed, never ? who + " never says it is ready after FW_BEGIN"
                                   : who + " says it is ready after FW_BEGIN");
    }
    if (what == "lose") {
        if (w.size() != 4 && w.size() != 5)
            return Error("usage: firmware ADDR lose N [TIMES|always]");
        unsigned number = 0;
        auto [end, ec] = std::from_chars(w[3].data(), w[3].data() + w[3].size(), number);
        if (ec != std::errc{} || end != w[3].data() + w[3].size() || number > 65535) {
            return Error("chunk number must be 0 to 65535, not " + w[3]);
        }
        int times = 1;
        if (w.size() == 5) {
            if (w[4] == "always") {
                times = -1;
            } else {
                auto [e, c] = std::from_chars(w[4].data(), w[4].data() + w[4].size(), times);
                if (c != std::errc{} || e != w[4].data() + w[4].size() || times < 1 ||
                    times > 1000) {
                    return Error("TIMES must be 1 to 1000 or always, not " + w[4]);
                }
            }
        }
        faults.lose_chunk = static_cast<int>(number);
        faults.lose_left = times;
        return "ok: " + who + " loses chunk " + w[3] +
               (times < 0 ? std::string(" every time it comes")
                          : " the next " + std::to_string(times) +
                                (times == 1 ? " time" : " times") + " it comes");
    }
    if (what == "normal") {
        if (w.size() != 3) return Error("usage: firmware ADDR normal");
        const bool changed = faults.never_ready || faults.lose_chunk >= 0;
        faults = FirmwareFaults{};
        return Done(changed, who + " takes firmware normally");
    }
    return Error(usage);
}

std::string SimHost::DescribeDevices() const {
    std::string text;
    for (const Device& device : devices_) {
        const FirmwareFaults& f = device.faults;
        text += "device " + FormatAddress(device.info.address) + " version " +
                std::to_string(device.info.major) + "." + std::to_string(device.info.minor) +
                (f.never_ready ? ", never ready" : "");
        if (f.lose_chunk >= 0) {
            text += ", loses chunk " + std::to_string(f.lose_chunk) +
                    (f.lose_left < 0 ? std::string(" every time")
                                     : " " + std::to_string(f.lose_left) + " more time(s)");
        }
        if (device.last_report) text += ", last image: " + device.last_report->text;
        text += "\n";
    }
    return text;
}

}  // namespace qavo::sim
