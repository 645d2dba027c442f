#include "maintenance/net_card_logic.h"

#include "link/frame.h"
#include "persistence/settings_store.h"

namespace qavo {
namespace {

BoxRequest AdapterError(const char* text) {
    return BoxRequest{text, NetCardLogic::kAdapterErrorCaption, BoxButtons::kOk, BoxIcon::kError};
}

constexpr const char* kEmptyPortText = "Please enter a valid integer value, such as: 16888.";

std::optional<BoxRequest> PortLeft(const std::string& text, std::string& working) {
    if (text.empty()) return AdapterError(kEmptyPortText);
    working = text;
    return std::nullopt;
}

NetCardStep Step(NetCardStep::Kind kind) {
    NetCardStep step;
    step.kind = kind;
    return step;
}

NetCardStep SendToMain(WindowMessage message) {
    NetCardStep step = Step(NetCardStep::Kind::kSendToMain);
    step.message = message;
    return step;
}

}  // namespace

void NetCardLogic::Open(const NetworkSettings& settings, const LocalAdapters& adapters) {
    adapter_texts_.clear();
    for (uint32_t address : adapters.addresses)
        adapter_texts_.push_back(FormatIPv4(address));
    working_adapter_ = settings.qavo_host_sel_ip;
    if (working_adapter_ >= adapter_texts_.size()) working_adapter_ = 0;
    shown_ = NetCardFields{settings.pc_udp_port, settings.qavo_host_udp_port, settings.qavo_host_ip,
                           settings.qavo_host_sub, settings.qavo_host_gate};
    working_ = shown_;
}

std::optional<BoxRequest> NetCardLogic::AdapterListClosed(int selected) {
    if (adapter_texts_.empty()) return AdapterError("Error access card information.");
    // A list that closes without a selection keeps the one it had.
    if (selected >= 0 && static_cast<size_t>(selected) < adapter_texts_.size())
        working_adapter_ = static_cast<uint8_t>(selected);
    return std::nullopt;
}

std::optional<BoxRequest> NetCardLogic::ConsolePortLeft(const std::string& text) {
    return PortLeft(text, working_.console_port);
}

std::optional<BoxRequest> NetCardLogic::HostPortLeft(const std::string& text) {
    return PortLeft(text, working_.host_port);
}

BoxRequest NetCardLogic::ConfirmQuestion() {
    return BoxRequest{
        "Network parameters have been changed. This may cause communication failure with the "
        "system host. Please confirm?",
        kCaption, BoxButtons::kOkCancel, BoxIcon::kWarning};
}

NetCardOutcome NetCardLogic::Application(const NetCardFields& fields, const NetworkSettings& stored,
                                         Prompter& prompter) {
    NetCardOutcome outcome;
    // The addresses come from the fields; the ports are the texts taken when
    // their edits last lost the focus.
    working_.host_ip = fields.host_ip;
    working_.host_mask = fields.host_mask;
    working_.host_gateway = fields.host_gateway;
    const bool addresses_changed = working_.host_ip != stored.qavo_host_ip ||
                                   working_.host_mask != stored.qavo_host_sub ||
                                   working_.host_gateway != stored.qavo_host_gate;
    if (!addresses_changed && working_.host_port == stored.qavo_host_udp_port &&
        working_.console_port == stored.pc_udp_port &&
        working_adapter_ == stored.qavo_host_sel_ip) {
        outcome.result = NetCardOutcome::Result::kUnchanged;
        outcome.settings = stored;
        outcome.steps.push_back(Step(NetCardStep::Kind::kClose));
        return outcome;
    }
    if (prompter.Ask(ConfirmQuestion()) != BoxAnswer::kOk) {
        outcome.result = NetCardOutcome::Result::kCancelled;
        outcome.settings = stored;
        return outcome;
    }

    // The edits as they are now. An edit left empty was refused when it lost
    // the focus: its port keeps the text it had, never an empty one (which
    // would bind any port, or send to port 0 and tell the host so).
    if (!fields.console_port.empty()) working_.console_port = fields.console_port;
    if (!fields.host_port.empty()) working_.host_port = fields.host_port;

    outcome.result = NetCardOutcome::Result::kApply;
    if (addresses_changed) {
        // The host takes its new addresses from the request, which goes to
        // the endpoint in force before the change.
        NetCardStep send = Step(NetCardStep::Kind::kSendNetParams);
        send.job.job_kind = JobKind::kSingle;
        send.job.job_op = NET_PARAMS;
        send.job.job_param = 1;
        send.job.new_host_ip = working_.host_ip;
        send.job.new_host_mask = working_.host_mask;
        send.job.new_host_gateway = working_.host_gateway;
        send.job.new_host_port = working_.host_port;
        send.duration = net_params_wait_;
        outcome.steps.push_back(send);
    }
    outcome.settings.pc_udp_port = working_.console_port;
    outcome.settings.qavo_host_udp_port = working_.host_port;
    outcome.settings.qavo_host_ip = working_.host_ip;
    outcome.settings.qavo_host_sub = working_.host_mask;
    outcome.settings.qavo_host_gate = working_.host_gateway;
    outcome.settings.qavo_host_sel_ip = working_adapter_;

    NetCardStep pause = Step(NetCardStep::Kind::kPause);
    pause.duration = kRecreatePause;
    for (const NetCardStep& step :
         {Step(NetCardStep::Kind::kCommit), SendToMain(WM_SAVE_NETWORK),
          Step(NetCardStep::Kind::kClose), pause, SendToMain(WM_RECREATE_SOCKETS)})
        outcome.steps.push_back(step);
    return outcome;
}

}  // namespace qavo
