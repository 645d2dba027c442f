#include "platform/timings.h"

namespace qavo {

namespace {
Timings::ms Scale(Timings::ms value, double factor) {
    if (value.count() == 0) return value;
    auto scaled = static_cast<long long>(static_cast<double>(value.count()) * factor);
    return Timings::ms(scaled < 1 ? 1 : scaled);
}
}  // namespace

Timings Timings::Scaled(double factor) {
    Timings t;
    for (ms* field : {&t.ack_wait, &t.fw_chunk_ack_wait, &t.block_read_pause, &t.startup_read_limit,
                      &t.fw_ready_wait, &t.fw_begin_pause, &t.fw_chunk_pause, &t.fw_end_pause,
                      &t.net_params_wait, &t.impedance_wait, &t.editor_progress_pause}) {
        *field = Scale(*field, factor);
    }
    return t;
}

}  // namespace qavo
