#pragma once

#include <mutex>

#include "model/live_status.h"
#include "model/param_image.h"

namespace qavo {

// The parameter image and the live status under one lock. A receive thread
// applies one datagram's whole effect while it holds the lock; a view reads
// under the lock (or copies what it shows), so it never sees half of one
// message. Nobody may notify a window while holding the lock.
class SystemModel {
  public:
    [[nodiscard]] std::unique_lock<std::mutex> Lock() const { return std::unique_lock(mutex_); }

    // Guarded by Lock().
    ParamImage image;
    LiveStatus live;

  private:
    mutable std::mutex mutex_;
};

}  // namespace qavo
