#pragma once

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "model/progress_state.h"
#include "platform/auto_reset_event.h"
#include "platform/completion.h"

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
    // The progress dialog session this job steps (and a read closes); 0: none.
    ProgressSession progress_session = 0;

    bool IsHeartbeat() const { return job_kind == JobKind::kHeartbeat; }
};

// How one job ended. Each job carries its own, so a job whose waiter gave
// up can end at any time without completing anybody else's wait.
struct JobTicket {
    // Signalled when the worker has run the job to its end.
    Completion job_done_event;
    // 1 success, -1 failure: set by block writes, the read of all blocks and
    // audio control; 1 for the other jobs. Valid once job_done_event is signalled.
    std::atomic<int> job_result{1};

    void Finish(int result) {
        job_result = result;
        job_done_event.Signal();
    }
};
using JobHandle = std::shared_ptr<JobTicket>;

// A job as the worker takes it, with the ticket its end is told on.
struct QueuedJob {
    Job job;
    JobHandle ticket;
};

// What a waiter learns of its job.
struct JobOutcome {
    bool in_time = false;  // the job ended within the waiter's limit
    int job_result = -1;   // its result when it did
    bool ok() const { return in_time && job_result != -1; }
};

// Where jobs wait for the command worker. Jobs run one at a time in the
// order written; none is ever dropped, except that a newer heartbeat
// replaces a heartbeat that is still waiting (the link needs only one).
class CommandJob {
  public:
    // Writes the job and wakes the worker. Any thread. The ticket tells
    // when the job has ended and how.
    JobHandle Queue(Job job);
    // Takes the next job, or nothing when none waits. Worker.
    std::optional<QueuedJob> Take();
    size_t Pending() const;

    // Queues the job and waits at most `limit` for its own end with `wait`
    // (empty: BlockingWait). A job still running when the limit passes goes
    // on to its end.
    JobOutcome QueueAndWait(Job job, std::chrono::milliseconds limit, const WaitFunction& wait);

    AutoResetEvent command_event;

  private:
    mutable std::mutex mutex_;
    std::deque<QueuedJob> queue_;
};

}  // namespace qavo
