#pragma once

#include "model/system_model.h"

namespace qavo {

// Decides, from the one-second ticks and the heartbeat replies, whether the
// host answers. The host is declared unreachable on the fourth heartbeat
// step after its last reply (about 12 s) and reachable again at the first
// reply.
class LinkSupervision {
  public:
    struct TickResult {
        bool send_heartbeat = false;   // queue a HEARTBEAT now
        bool show_link_state = false;  // the link went down: show it
    };

    explicit LinkSupervision(SystemModel& model) : model_(model) {}

    // One tick of the main window's one-second timer. Nothing happens while
    // nobody is logged in.
    TickResult Tick(bool logged_in);

    // A heartbeat reply arrived. True when the link came up and must be shown.
    bool OnHeartbeatReply();

  private:
    SystemModel& model_;
};

}  // namespace qavo
