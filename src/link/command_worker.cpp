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
    if (!thread_.joinable()) return;
    stopping_ = true;
    ctx_.jobs.command_event.Signal();
    thread_.join();
}

void CommandWorker::Loop() {
    for (;;) {
        ctx_.jobs.command_event.Wait();
        while (!stopping_) {
            auto job = ctx_.jobs.Take();
            if (!job) break;
            RunJob(*job);
        }
        if (stopping_) return;
    }
}

void CommandWorker::RunJob(const Job& job) {
    switch (job.job_kind) {
        case JobKind::kSingle:
            RunSingle(job);
            break;
        case JobKind::kFirmware:
            RunFirmwareJob(ctx_, job.firmware_devices, job.firmware_path);
            break;
        case JobKind::kReadAllBlocks:
            ReadAllBlocks(ctx_);
            break;
        case JobKind::kAudioControl: {
            unsigned hosts;
            {
                auto lock = ctx_.model.Lock();
                hosts = ctx_.model.image.BoundedHostCount();
            }
            Datagram d{};
            const size_t length = BuildAudioControl(job, hosts, d);
            ctx_.jobs.job_result = 1;
            ctx_.link.SendWithAck(AUDIO_CONTROL, d, length);
            break;
        }
        case JobKind::kHeartbeat: {
            Datagram d{};
            const size_t length = BuildHeartbeat(job.job_code, d);
            ctx_.link.SendPlain(std::span<const uint8_t>(d).first(length));
            break;
        }
    }
}

void CommandWorker::RunSingle(const Job& job) {
    Datagram d{};
    switch (job.job_op) {
        case BLOCK_WRITE:
            WriteBlocksJob(ctx_, static_cast<uint8_t>(job.job_param));
            return;
        case DISCOVER:
            ctx_.link.SendWithAck(DISCOVER, d, 3);
            return;
        default:
            break;
    }
    const size_t length = BuildSingleRequest(job, d);
    if (length == 0) return;  // not a request the console knows
    if (job.job_op == LOG_COMMAND && job.job_param == 0) ctx_.before_log_request();
    ctx_.link.SendWithAck(static_cast<uint8_t>(job.job_op), d, length,
                          static_cast<uint8_t>(job.job_param));
    if (job.job_op == NET_PARAMS || job.job_op == IMPEDANCE) ctx_.jobs.job_done_event.Signal();
}

}  // namespace qavo
