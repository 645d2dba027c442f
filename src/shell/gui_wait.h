#pragma once

#include <chrono>

#include "platform/auto_reset_event.h"

namespace qavo {

// Waits for `event` on the GUI thread at most `limit`, running the event
// loop meanwhile so that paint, notifications and boxes asked for by other
// threads go on. True when the event came in time.
bool GuiWait(AutoResetEvent& event, std::chrono::milliseconds limit);

}  // namespace qavo
