#include "link/command_job.h"

#include <algorithm>

namespace qavo {

JobHandle CommandJob::Queue(Job job) {
    auto ticket = std::make_shared<JobTicket>();
    JobHandle replaced;
    {
        std::lock_guard lock(mutex_);
        if (job.IsHeartbeat()) {
            auto pending = std::find_if(queue_.begin(), queue_.end(),
                                        [](const QueuedJob& q) { return q.job.IsHeartbeat(); });
            if (pending != queue_.end()) {
                replaced = std::move(pending->ticket);
                queue_.erase(pending);
            }
        }
        queue_.push_back({std::move(job), ticket});
    }
    // The newer heartbeat does its work.
    if (replaced) replaced->Finish(1);
    command_event.Signal();
    return ticket;
}

std::optional<QueuedJob> CommandJob::Take() {
    std::lock_guard lock(mutex_);
    if (queue_.empty()) return std::nullopt;
    QueuedJob job = std::move(queue_.front());
    queue_.pop_front();
    return job;
}

size_t CommandJob::Pending() const {
    std::lock_guard lock(mutex_);
    return queue_.size();
}

JobOutcome CommandJob::QueueAndWait(Job job, std::chrono::milliseconds limit,
                                    const WaitFunction& wait) {
    JobHandle ticket = Queue(std::move(job));
    const bool in_time =
        wait ? wait(ticket->job_done_event, limit) : BlockingWait(ticket->job_done_event, limit);
    return {in_time, in_time ? ticket->job_result.load() : -1};
}

}  // namespace qavo
