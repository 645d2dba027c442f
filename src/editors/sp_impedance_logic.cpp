#include "editors/sp_impedance_logic.h"

#include "link/frame.h"

namespace qavo {

void SpImpedanceLogic::ShowLevel(uint8_t impedance_level) {
    // Host reports are limited to 4 when they come in, but impedance_level
    // is a plain byte of the live status that other code writes as well. A
    // level beyond the list must still select an entry: a list without a
    // selection is how the old console came to send 255 on "OK". The
    // highest level stands for everything above it, as the host reads it.
    selection_ = impedance_level >= kLevels ? kLevels - 1 : impedance_level;
}

void SpImpedanceLogic::Select(int index) {
    if (index >= 0 && index < kLevels) selection_ = index;
}

Job SpImpedanceLogic::ReadJob() {
    Job job;
    job.job_op = IMPEDANCE;
    job.job_param = 0;
    return job;
}

Job SpImpedanceLogic::Ok(SystemModel& model) const {
    const auto level = static_cast<uint8_t>(selection_);
    {
        auto lock = model.Lock();
        model.live.impedance_level = level;
    }
    Job job;
    job.job_op = IMPEDANCE;
    job.job_param = 1;
    job.impedance_level = level;
    return job;
}

}  // namespace qavo
