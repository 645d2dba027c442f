#include "link/command_worker.h"

#include "link/block_transfer.h"
#include "link/firmware_transfer.h"
#include "link/requests.h"

namespace qavo {

void CommandWorker::Start() {
    if (thread_.joinable()) return;
    stopping_ = false;
    thread_ = std::thread([this] { Loop(); });
}

void CommandWorker::Stop() {
    stopping_ = true;
    if (!thread_.joinable()) return;
    ctx_.jobs.command_event.Signal();
    thread_.join();
}

void CommandWorker::Loop() {
    for (;;) {
        ctx_.jobs.command_event.Wait();
        // Once the link sends nothing more (the console is closing), no job
        // is taken: a request that never went out is never reported done.
        while (!stopping_ && !ctx_.link.sending_stopped()) {
            auto queued = ctx_.jobs.Take();
            if (!queued) break;
            // The job's end is told on its own ticket, so it completes only
            // its own waiter's wait, however late it comes.
            queued->ticket->Finish(RunJob(queued->job));
        }
        if (stopping_) return;
    }
}

int CommandWorker::RunJob(const Job& job) {
    switch (job.job_kind) {
        case JobKind::kSingle:
            return RunSingle(job);
        case JobKind::kFirmware:
            RunFirmwareJob(ctx_, job.firmware_devices, job.firmware_path);
            return 1;
        case JobKind::kReadAllBlocks:
            return ReadAllBlocks(ctx_, job.progress_session);
        case JobKind::kAudioControl: {
            unsigned hosts;
            {
                auto lock = ctx_.model.Lock();
                hosts = ctx_.model.image.BoundedHostCount();
            }
            Datagram d{};
            const size_t length = BuildAudioControl(job, hosts, d);
            // Audio control counts as done once sent, answered or not.
            ctx_.link.SendWithAck(AUDIO_CONTROL, d, length);
            return 1;
        }
        case JobKind::kHeartbeat: {
            Datagram d{};
            const size_t length = BuildHeartbeat(job.job_code, d);
            if (!ctx_.link.sending_stopped()) {
                ctx_.link.SendPlain(std::span<const uint8_t>(d).first(length));
            }
            return 1;
        }
    }
    return 1;
}

int CommandWorker::RunSingle(const Job& job) {
    Datagram d{};
    switch (job.job_op) {
        case BLOCK_WRITE:
            return WriteBlocksJob(ctx_, static_cast<uint8_t>(job.job_param), job.progress_session);
        case DISCOVER:
            ctx_.link.SendWithAck(DISCOVER, d, 3);
            return 1;
        default:
            break;
    }
    const size_t length = BuildSingleRequest(job, d);
    if (length == 0) return 1;  // not a request the console knows
    if (job.job_op == LOG_COMMAND && job.job_param == 0) ctx_.before_log_request();
    // NET_PARAMS and IMPEDANCE end whatever SendWithAck returned; their
    // waiters learn only that the request is over.
    ctx_.link.SendWithAck(static_cast<uint8_t>(job.job_op), d, length,
                          static_cast<uint8_t>(job.job_param));
    return 1;
}

}  // namespace qavo
