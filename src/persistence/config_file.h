#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/param_image.h"
#include "persistence/file_replace.h"

namespace qavo {

// One block of the configuration file: where it lies in the file and what
// the operator is told when the file ends before the block does.
struct ConfigFileRow {
    BlockId block;
    uint32_t offset;
    uint32_t length;
    std::string_view short_message;
};

// The configuration file is the raw bytes of five blocks, one after the
// other, with nothing around them (the reserved block is not kept).
inline constexpr std::array<ConfigFileRow, 5> kConfigFileLayout = {{
    {kFireAlarmBlock, 0, 3732, "Fire argument is invalid."},
    {kEquipmentBlock, 3732, 45, "QAVO system parameters are invalid."},
    {kGroupsBlock, 3777, 3960, "QAVO System grouping configuration parameter is invalid."},
    {kAudioPriorityBlock, 7737, 175, "QAVO System grouping configuration parameter is invalid."},
    {kPagingBlock, 7912, 43408, "QAVO System paging configuration parameter is invalid."},
}};
inline constexpr uint32_t kConfigFileSize = 51320;

// The file's bytes for `image` (kConfigFileSize of them).
std::vector<uint8_t> EncodeConfigFile(const ParamImage& image);

// Lays `bytes` (a file's first bytes, at most kConfigFileSize are used)
// over the blocks of `image`: what arrives for a block replaces the start
// of that block, the rest keeps its content. Returns the message of every
// block that the bytes do not cover completely, in file order.
std::vector<std::string_view> ApplyConfigFile(std::span<const uint8_t> bytes, ParamImage& image);

// Writes the configuration file for `image` under `path`, used exactly as
// given. An existing file is replaced only by a complete new one; on any
// failure it stays as it was and no temporary file is left behind.
FileResult SaveConfigFile(const ParamImage& image, const std::string& path);

// The first kConfigFileSize bytes of the file at `path` (fewer when the
// file is shorter); bytes past them are not read.
struct ConfigFileBytes {
    FileResult result;
    std::vector<uint8_t> bytes;
};
ConfigFileBytes ReadConfigFile(const std::string& path);

// Reads `path` and applies it to `image`. A file that cannot be opened or
// read leaves `image` unchanged and gives the error.
struct ConfigImport {
    FileResult result;
    std::vector<std::string_view> short_messages;
};
ConfigImport ImportConfigFile(const std::string& path, ParamImage& image);

}  // namespace qavo
