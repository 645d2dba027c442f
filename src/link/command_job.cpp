#include "link/command_job.h"

#include <algorithm>

namespace qavo {

void CommandJob::Queue(Job job) {
    {
        std::lock_guard lock(mutex_);
        if (job.IsHeartbeat()) {
            auto pending = std::find_if(queue_.begin(), queue_.end(),
                                        [](const Job& j) { return j.IsHeartbeat(); });
            if (pending != queue_.end()) queue_.erase(pending);
        }
        queue_.push_back(std::move(job));
    }
    command_event.Signal();
}

std::optional<Job> CommandJob::Take() {
    std::lock_guard lock(mutex_);
    if (queue_.empty()) return std::nullopt;
    Job job = std::move(queue_.front());
    queue_.pop_front();
    return job;
}

size_t CommandJob::Pending() const {
    std::lock_guard lock(mutex_);
    return queue_.size();
}

bool CommandJob::QueueAndWait(Job job, std::chrono::milliseconds limit, const WaitFunction& wait) {
    job_done_event.Clear();
    Queue(std::move(job));
    if (wait) return wait(job_done_event, limit);
    return job_done_event.WaitFor(limit);
}

}  // namespace qavo
