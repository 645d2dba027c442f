#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "link/command_job.h"
#include "link/network_settings.h"
#include "platform/prompter.h"
#include "platform/window_messages.h"

namespace qavo {

// What the port edits and the address fields of the network parameter
// dialog hold. Addresses keep their first octet in the most significant
// byte, as in NetworkSettings.
struct NetCardFields {
    std::string console_port;  // the console's UDP port, as typed
    std::string host_port;     // the host's UDP port, as typed
    uint32_t host_ip = 0;
    uint32_t host_mask = 0;
    uint32_t host_gateway = 0;
    friend bool operator==(const NetCardFields&, const NetCardFields&) = default;
};

// One step of putting new network settings into force, done in order.
struct NetCardStep {
    enum class Kind {
        kSendNetParams,  // queue `job`, wait for its end at most `duration`; the outcome is ignored
        kCommit,         // the settings in force := the outcome's `settings`
        kSendToMain,     // `message` to the main window, handled before the next step
        kClose,          // the dialog closes
        kPause,          // the next step comes `duration` later, the event loop running
    };
    Kind kind = Kind::kClose;
    Job job;
    std::chrono::milliseconds duration{0};
    WindowMessage message = WM_SAVE_NETWORK;
};

// What "Application" comes to.
struct NetCardOutcome {
    enum class Result {
        kUnchanged,  // nothing differs from the settings in force: the dialog just closes
        kCancelled,  // the operator declined the question: the dialog stays open
        kApply,      // the steps put `settings` into force
    };
    Result result = Result::kUnchanged;
    NetworkSettings settings;
    std::vector<NetCardStep> steps;
};

// The decisions of the network parameter dialog ("Network Parameter"): the
// working copies its controls edit, the texts it shows, the boxes it asks
// and what "Application" does. The object lives as long as the dialog, so
// the working copies outlast a closing.
class NetCardLogic {
  public:
    static constexpr const char* kCaption = "Network Parameter";
    static constexpr const char* kAdapterErrorCaption = "Error network adapter.";
    // Between closing the dialog and re-creating the sockets.
    static constexpr std::chrono::milliseconds kRecreatePause{50};

    // `net_params_wait`: the longest wait for the host to take new addresses.
    explicit NetCardLogic(
        std::chrono::milliseconds net_params_wait = std::chrono::milliseconds(1000))
        : net_params_wait_(net_params_wait) {}

    // Each opening starts from the settings in force; an adapter index that
    // is not an entry of the list becomes 0.
    void Open(const NetworkSettings& settings, const LocalAdapters& adapters);

    // "a.b.c.d" of every local adapter, in order.
    const std::vector<std::string>& adapter_texts() const { return adapter_texts_; }
    // The entry the adapter list selects (the working adapter index).
    int adapter_index() const { return working_adapter_; }
    // What the edits and the address fields show after opening.
    const NetCardFields& shown() const { return shown_; }
    // The working copies (the address fields are read into them on "Application").
    const NetCardFields& working() const { return working_; }

    // The adapter list closed with entry `selected` chosen; with an empty
    // list the error box to show (and nothing is selected).
    std::optional<BoxRequest> AdapterListClosed(int selected);
    // A port edit lost the focus with `text`: an empty text is refused with
    // the box returned, any other becomes the working port (read later as
    // decimal or 0x-prefixed hexadecimal).
    std::optional<BoxRequest> ConsolePortLeft(const std::string& text);
    std::optional<BoxRequest> HostPortLeft(const std::string& text);

    // "Application" with the controls holding `fields`, against the settings
    // in force. Asks the confirmation question through `prompter` when
    // something changed.
    NetCardOutcome Application(const NetCardFields& fields, const NetworkSettings& stored,
                               Prompter& prompter);

    static BoxRequest ConfirmQuestion();

  private:
    std::chrono::milliseconds net_params_wait_;
    std::vector<std::string> adapter_texts_;
    NetCardFields shown_;
    NetCardFields working_;
    uint8_t working_adapter_ = 0;
};

}  // namespace qavo
