#pragma once

#include <optional>

namespace qavo {

// Main-window commands whose availability follows the login state.
enum UserGatedCommand : int {
    kCommandLogin = 32818,
    kCommandExit = 32819,
    kCommandFirmware = 32773,
    kCommandReflash = 32781,
    kCommandImport = 32825,
    kCommandSave = 32824,
    kCommandNetwork = 32779,
};

// Whether `command` is available while `logged_in` with `current_view` (the
// id of the central view) shown. Nothing for a command not listed above,
// which the caller decides itself.
std::optional<bool> UserCommandEnabled(int command, bool logged_in, int current_view);

}  // namespace qavo
