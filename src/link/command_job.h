#pragma once

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/auto_reset_event.h"

namespace qavo {

enum class JobKind : int {
    kSingle = 0,         // one request, by job_op
    kFirmware = 1,       // firmware update of the listed devices
    kReadAllBlocks = 2,  // read all parameter blocks
    kAudioControl = 3,   // AUDIO_CONTROL from audio_request
    kHeartbeat = 4,      // HEARTBEAT, sent once
};

// One job for the command worker, with the data its request carries. The
// data travel with the job (taken when the job is written), so a later
// job can never change what an earlier one sends.
struct Job {
    JobKind job_kind = JobKind::kSingle;
    int job_op = 0;
    uint8_t job_code = 14;  // code sent by a heartbeat
    int job_param = 0;
    int job_param2 = 0;

    // AUDIO_CONTROL: byte 0 the audio source, bytes 1 to 20 a zone mask per host.
    std::array<uint8_t, 21> audio_request{};
    // SET_CLOCK: seconds since 1970-01-01 00:00 UTC, sent in local time.
    int64_t clock_to_set = 0;
    // NET_PARAMS with parameter 1 (first octet most significant).
    uint32_t new_host_ip = 0;
    uint32_t new_host_mask = 0;
    uint32_t new_host_gateway = 0;
    std::string new_host_port;
    // IMPEDANCE with parameter 1.
    uint8_t impedance_level = 0;
    // SET_RELAYS: the relay outputs of host job_param.
    uint8_t relay_outputs = 0;
    // Firmware: the update list's entries ("a.b.c.d - VerM.m") and the file.
    std::vector<std::string> firmware_devices;
    std::string firmware_path;

    bool IsHeartbeat() const { return job_kind == JobKind::kHeartbeat; }
};

// Where jobs wait for the command worker. Jobs run one at a time in the
// order written; none is ever dropped, except that a newer heartbeat
// replaces a heartbeat that is still waiting (the link needs only one).
class CommandJob {
  public:
    // Writes the job and wakes the worker. Any thread.
    void Queue(Job job);
    // Takes the next job, or nothing when none waits. Worker.
    std::optional<Job> Take();
    size_t Pending() const;

    // The usual way to wait for a job that signals job_done_event: clear
    // the event, queue the job, wait at most `limit`. True when the job
    // signalled its end in time. `wait` lets the GUI keep painting while it
    // waits (it must return true once the event is taken); by default the
    // calling thread blocks.
    using WaitFunction = std::function<bool(AutoResetEvent&, std::chrono::milliseconds)>;
    bool QueueAndWait(Job job, std::chrono::milliseconds limit, const WaitFunction& wait = {});

    AutoResetEvent command_event;
    AutoResetEvent job_done_event;
    // 1 success, -1 failure: set by block writes, the read of all blocks and audio control.
    std::atomic<int> job_result{1};

  private:
    mutable std::mutex mutex_;
    std::deque<Job> queue_;
};

}  // namespace qavo
