#pragma once

#include <cstdint>

#include "link/worker_context.h"

namespace qavo {

// Reads blocks 0 to 5 from the host into the image (the receive threads
// copy the chunks as they arrive). Stops at the first block that is not
// answered and tells the operator the defaults stay. Ends by closing the
// progress dialog of `session`. Returns the job's result: 1 (also after a
// failure the operator was told of).
int ReadAllBlocks(WorkerContext& ctx, ProgressSession session);

// Writes one block from the image to the host in chunks of at most 1024
// bytes, stepping the progress of `session` after each acknowledged chunk.
// Returns true when every chunk was acknowledged. Block 3 and ids above 5
// are never written (true, nothing sent).
bool WriteBlock(WorkerContext& ctx, uint8_t block_id, ProgressSession session);

// The write job of op 9: block `block_id`, and after block 0 block 1 as
// well. Returns 1 only when every block written was acknowledged whole,
// else -1; block 3 and unknown ids send nothing and leave the result at 1.
int WriteBlocksJob(WorkerContext& ctx, uint8_t block_id, ProgressSession session);

}  // namespace qavo
