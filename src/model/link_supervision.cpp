#include "model/link_supervision.h"

namespace qavo {

LinkSupervision::TickResult LinkSupervision::Tick(bool logged_in) {
    TickResult result;
    if (!logged_in) return result;
    auto lock = model_.Lock();
    LiveStatus& live = model_.live;
    if (++live.heartbeat_divider < 3) return result;
    live.heartbeat_divider = 0;
    if (live.missed_heartbeats >= 3) {
        live.missed_heartbeats = 0;
        if (live.link_up) {
            live.link_up = false;
            result.show_link_state = true;
        }
    } else {
        ++live.missed_heartbeats;
    }
    result.send_heartbeat = true;
    return result;
}

bool LinkSupervision::OnHeartbeatReply() {
    auto lock = model_.Lock();
    LiveStatus& live = model_.live;
    live.missed_heartbeats = 0;
    if (live.link_up) return false;
    live.link_up = true;
    return true;
}

}  // namespace qavo
