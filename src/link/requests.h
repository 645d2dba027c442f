#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "link/command_job.h"
#include "link/frame.h"

namespace qavo {

// Builders of the requests the console sends. Each writes the whole
// datagram into `d` (at least kMaxDatagram bytes) and returns its length.
// Bytes 1 and 2 are 0 unless the request says otherwise.

// READ_STATUS, SET_RELAYS, ACK_RESET, LOG_COMMAND, CELL_COMMAND, SET_CLOCK,
// NET_PARAMS and IMPEDANCE from a single-request job; 0 for any other op.
size_t BuildSingleRequest(const Job& job, std::span<uint8_t> d);

// AUDIO_CONTROL for `host_count` hosts (at most 20): action, source, masks.
size_t BuildAudioControl(const Job& job, unsigned host_count, std::span<uint8_t> d);

// HEARTBEAT: the code in bytes 0 and 3.
size_t BuildHeartbeat(uint8_t code, std::span<uint8_t> d);

// BLOCK_READ of one block.
size_t BuildBlockRead(uint8_t block_id, std::span<uint8_t> d);

// One BLOCK_WRITE chunk: `number` counts from 1 and is 0 on the last chunk.
size_t BuildBlockWrite(uint8_t block_id, uint8_t number, uint16_t offset,
                       std::span<const uint8_t> data, std::span<uint8_t> d);

// One FW_CHUNK: `data` (at most 1024 bytes) followed by zero bytes up to
// `counted` bytes; always 1032 bytes long.
size_t BuildFirmwareChunk(uint16_t number, uint16_t counted, std::span<const uint8_t> data,
                          std::span<uint8_t> d);

}  // namespace qavo
