#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "link/worker_context.h"

namespace qavo {

inline constexpr const char* kFirmwareCaption = "Firmware download";

// The longest file the 16-bit chunk numbers can carry: the last chunk is
// number floor(length / 1024), which must not pass 65535.
inline constexpr uint64_t kMaxFirmwareLength = 65536ull * 1024 - 1;

// Sends the firmware file at `path` to the device the host endpoint points
// at: FW_BEGIN with the file's length, a second acknowledgement when the
// device is ready, the file in numbered chunks of 1024 bytes (the last one
// padded with zero bytes to a multiple of 4), FW_END. Only a regular file
// of 1024 to kMaxFirmwareLength bytes is sent. Reports through the
// prompter (nothing once sending has stopped). Returns true when every
// chunk was acknowledged.
bool TransferFirmware(WorkerContext& ctx, const std::string& path);

// Job kind 1: every device of `devices` ("a.b.c.d - VerM.m") in turn. A
// file that cannot be sent is reported once and sends nothing. Afterwards
// the host endpoint points where it pointed before the job.
void RunFirmwareJob(WorkerContext& ctx, const std::vector<std::string>& devices,
                    const std::string& path);

}  // namespace qavo
