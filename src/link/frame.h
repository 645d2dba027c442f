#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace qavo {

// Every datagram begins with the message code (the op code of a request)
// and a byte that is 0 for an acknowledgement or a request and anything
// else for an incoming message that carries data. Numbers are
// little-endian unless said otherwise.
inline constexpr size_t kMaxDatagram = 1500;
using Datagram = std::array<uint8_t, kMaxDatagram>;

inline constexpr uint16_t kDefaultUdpPort = 16888;
inline constexpr uint16_t kGroupPort = 16816;
inline constexpr uint32_t kGroupAddress = 0xE00003A3;  // 224.0.3.163
inline constexpr int kMulticastTtl = 1;
inline constexpr uint32_t kDefaultHostAddress = 0xC0A86308;  // 192.168.99.8
inline constexpr int kTriesPerRequest = 2;
inline constexpr unsigned kRoutedCodes = 18;  // codes 0 to 17 have a handler

// Requests the console sends (byte 0).
enum Op : uint8_t {
    READ_STATUS = 1,
    SET_RELAYS = 2,
    FW_BEGIN = 4,
    DISCOVER = 5,
    FW_CHUNK = 7,
    FW_END = 8,
    BLOCK_WRITE = 9,
    BLOCK_READ = 9,
    ACK_RESET = 10,
    LOG_COMMAND = 11,
    AUDIO_CONTROL = 12,
    CELL_COMMAND = 13,
    HEARTBEAT = 14,
    SET_CLOCK = 15,
    NET_PARAMS = 16,
    IMPEDANCE = 17,
};

// Messages the host sends (byte 0, with byte 1 not 0).
enum MessageCode : uint8_t {
    INPUT_STATUS = 0,
    HOST_STATUS = 1,
    RELAY_STATUS = 2,
    DEVICE_INFO = 5,
    BLOCK_DATA = 9,
    LOG_DATA = 11,
    HEARTBEAT_REPLY = 14,
    IMPEDANCE_LEVEL = 17,
};

// Sections of HOST_STATUS, in the order they follow each other.
enum StatusSection : uint8_t {
    kSectionHostState = 0x01,
    kSectionCounts = 0x02,
    kSectionSpeakerLines = 0x04,
    kSectionAudioSources = 0x08,
    kSectionZonesOnAir = 0x10,
    kSectionPaging = 0x20,
    kSectionEquipment = 0x40,
};

// Chunked transfers (blocks, the host log, firmware) carry at most this much.
inline constexpr size_t kChunkSize = 1024;
inline constexpr size_t kChunkHeader = 10;  // bytes before the data of a block or log chunk
inline constexpr size_t kFirmwareChunkDatagram = 1032;
inline constexpr uint8_t kFirmwareChunkMarker = 0xAA;

inline uint16_t ReadLe16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}
inline void WriteLe16(uint8_t* p, uint16_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}

}  // namespace qavo
