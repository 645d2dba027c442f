#include "link/block_transfer.h"

#include <thread>
#include <vector>

#include "link/requests.h"

namespace qavo {

int ReadAllBlocks(WorkerContext& ctx, ProgressSession session) {
    int result = 1;
    Datagram d{};
    for (uint8_t id = 0; id < kBlockCount; ++id) {
        const size_t length = BuildBlockRead(id, d);
        if (ctx.link.SendWithAck(BLOCK_READ, d, length) != 0) {
            result = -1;
            break;
        }
        std::this_thread::sleep_for(ctx.timings.block_read_pause);
    }
    CloseProgress(ctx.progress, ctx.bus, session);
    // A console that is closing asks nothing more.
    if (result == -1 && !ctx.link.sending_stopped()) {
        ctx.prompter.Ask({"Sync Timeout, loading the default parameters!",
                          "Synchronization system parameters", BoxButtons::kOk});
    }
    return 1;
}

bool WriteBlock(WorkerContext& ctx, uint8_t block_id, ProgressSession session) {
    if (block_id == kReservedBlock || block_id >= kBlockCount) return true;
    std::vector<uint8_t> block;
    {
        // The whole block as it stands now, so every chunk comes from one moment.
        auto lock = ctx.model.Lock();
        auto bytes = ctx.model.image.Block(block_id);
        block.assign(bytes.begin(), bytes.end());
    }
    const size_t size = block.size();
    const size_t chunks = (size + kChunkSize - 1) / kChunkSize;
    Datagram d{};
    for (size_t i = 1; i <= chunks; ++i) {
        const size_t offset = kChunkSize * (i - 1);
        const size_t n = std::min(kChunkSize, size - offset);
        const auto number = static_cast<uint8_t>(i == chunks ? 0 : i);
        const size_t length =
            BuildBlockWrite(block_id, number, static_cast<uint16_t>(offset),
                            std::span<const uint8_t>(block).subspan(offset, n), d);
        if (ctx.link.SendWithAck(BLOCK_WRITE, d, length) != 0) return false;
        StepProgress(ctx.progress, ctx.bus, session);
    }
    return true;
}

int WriteBlocksJob(WorkerContext& ctx, uint8_t block_id, ProgressSession session) {
    if (block_id == kReservedBlock || block_id >= kBlockCount) return 1;
    bool ok = WriteBlock(ctx, block_id, session);
    // Block 0 is always followed by block 1. A failure of either is
    // reported: a half-written configuration is never called a success.
    if (block_id == kEquipmentBlock) ok = WriteBlock(ctx, kPagingBlock, session) && ok;
    return ok ? 1 : -1;
}

}  // namespace qavo
