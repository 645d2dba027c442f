#pragma once

#include <array>
#include <chrono>

namespace qavo {

// Every wait and pause of the host protocol, in one place. Production uses
// the defaults; tests may scale them down so that a time-out takes
// milliseconds instead of seconds.
struct Timings {
    using ms = std::chrono::milliseconds;

    ms ack_wait{1000};              // acknowledgement wait of an ordinary request
    ms fw_chunk_ack_wait{6000};     // acknowledgement wait of a firmware chunk
    ms block_read_pause{100};       // pause after each block read
    ms startup_read_limit{10000};   // the read of all blocks after login
    ms fw_ready_wait{20000};        // a firmware device getting ready after FW_BEGIN
    ms fw_begin_pause{5};           // after the progress dialog is asked for
    ms fw_chunk_pause{5};           // after every acknowledged full firmware chunk
    ms fw_end_pause{10};            // before and after FW_END
    ms net_params_wait{1000};       // the network parameter request
    ms impedance_wait{5000};        // reading the sensitivity level
    ms editor_progress_pause{100};  // editors: after asking for the progress dialog

    // All values multiplied by `factor` (at least 1 ms where the original was not 0).
    static Timings Scaled(double factor);
};

// Every wait and pause above, once each: Scaled walks this list, and a
// test checks that it names every field, so a new wait cannot stay full
// length in scaled tests.
inline constexpr std::array kAllTimings = {
    &Timings::ack_wait,           &Timings::fw_chunk_ack_wait,     &Timings::block_read_pause,
    &Timings::startup_read_limit, &Timings::fw_ready_wait,         &Timings::fw_begin_pause,
    &Timings::fw_chunk_pause,     &Timings::fw_end_pause,          &Timings::net_params_wait,
    &Timings::impedance_wait,     &Timings::editor_progress_pause,
};

}  // namespace qavo
