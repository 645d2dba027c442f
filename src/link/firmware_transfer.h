#pragma once

#include <string>
#include <vector>

#include "link/worker_context.h"

namespace qavo {

inline constexpr const char* kFirmwareCaption = "Firmware download";

// Sends the firmware file at `path` to the device the host endpoint points
// at: FW_BEGIN with the file's length, a second acknowledgement when the
// device is ready, the file in numbered chunks of 1024 bytes (the last one
// padded with zero bytes to a multiple of 4), FW_END. Reports through the
// prompter. Returns true when every chunk was acknowledged.
bool TransferFirmware(WorkerContext& ctx, const std::string& path);

// Job kind 1: every device of `devices` ("a.b.c.d - VerM.m") in turn. The
// host endpoint keeps the last device's address afterwards.
void RunFirmwareJob(WorkerContext& ctx, const std::vector<std::string>& devices,
                    const std::string& path);

}  // namespace qavo
