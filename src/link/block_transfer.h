#pragma once

#include <cstdint>

#include "link/worker_context.h"

namespace qavo {

// Reads blocks 0 to 5 from the host into the image (the receive threads
// copy the chunks as they arrive). Stops at the first block that is not
// answered and tells the operator the defaults stay. Ends by closing the
// progress dialog, setting job_result and signalling job_done_event.
void ReadAllBlocks(WorkerContext& ctx);

// Writes one block from the image to the host in chunks of at most 1024
// bytes, stepping the progress after each acknowledged chunk. Returns true
// when every chunk was acknowledged. Block 3 and ids above 5 are never
// written (true, nothing sent). Does not touch job_result or job_done_event.
bool WriteBlock(WorkerContext& ctx, uint8_t block_id);

// The write job of op 9: block `block_id`, and after block 0 block 1 as
// well. job_result is 1 only when every block written was acknowledged
// whole; job_done_event is signalled once, at the end.
void WriteBlocksJob(WorkerContext& ctx, uint8_t block_id);

}  // namespace qavo
