#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace qavo::sim {

// CRC-32 as zip and Ethernet compute it (reflected polynomial 0xEDB88320).
// Pass the previous result as `crc` to go on over more data.
uint32_t Crc32(std::span<const uint8_t> data, uint32_t crc = 0);

// What a device found when the console ended a firmware transfer.
struct FirmwareReport {
    uint32_t device = 0;    // the device's address, first octet most significant
    uint64_t declared = 0;  // length announced by FW_BEGIN
    uint64_t received = 0;  // file bytes taken from the chunks (padding not counted)
    uint32_t crc = 0;       // CRC-32 of the bytes taken
    bool ok = false;
    std::vector<std::string> problems;  // the first problem of each sort, in order found
    std::string text;                   // the one line printed on stderr
};

// One device's side of the firmware transfer: FW_BEGIN, numbered FW_CHUNKs,
// FW_END. Checks each chunk as it comes and sums up at the end.
class FirmwareReceiver {
  public:
    explicit FirmwareReceiver(uint32_t device) : device_(device) {}

    void Begin(uint64_t declared_length);
    // One FW_CHUNK datagram, whole.
    void Chunk(std::span<const uint8_t> datagram);
    FirmwareReport End();

  private:
    enum Problem : unsigned { kOrder, kMarker, kPadding, kLength, kIncomplete, kProtocol, kSorts };
    void Note(Problem sort, std::string text);

    uint32_t device_;
    bool begun_ = false;
    uint64_t declared_ = 0;
    uint64_t received_ = 0;
    uint32_t crc_ = 0;
    uint32_t next_chunk_ = 0;
    std::vector<uint8_t> last_chunk_;  // to recognise a chunk sent again
    std::vector<std::string> problems_;
    bool noted_[kSorts] = {};
};

}  // namespace qavo::sim
