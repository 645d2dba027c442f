#include "users/command_availability.h"

namespace qavo {
namespace {

// The configuration view and the log view; Save works in both, Import only
// in the first.
constexpr int kConfigurationView = 500;
constexpr int kLogView = 319;

}  // namespace

std::optional<bool> UserCommandEnabled(int command, bool logged_in, int current_view) {
    switch (command) {
        case kCommandLogin:
            return !logged_in;
        case kCommandExit:
        case kCommandFirmware:
        case kCommandReflash:
            return logged_in;
        case kCommandImport:
            return logged_in && current_view == kConfigurationView;
        case kCommandSave:
            return logged_in && (current_view == kConfigurationView || current_view == kLogView);
        case kCommandNetwork:
            return true;
        default:
            return std::nullopt;
    }
}

}  // namespace qavo
