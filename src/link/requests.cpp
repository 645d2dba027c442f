#include "link/requests.h"

#include <algorithm>
#include <cstring>
#include <ctime>

#include "link/address_parse.h"

namespace qavo {

namespace {

void WriteLe32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<uint8_t>(v >> (8 * i));
}

size_t Header(uint8_t op, std::span<uint8_t> d, size_t length) {
    std::fill(d.begin(), d.begin() + static_cast<std::ptrdiff_t>(length), 0);
    d[0] = op;
    return length;
}

}  // namespace

size_t BuildSingleRequest(const Job& job, std::span<uint8_t> d) {
    const auto param = static_cast<uint8_t>(job.job_param);
    switch (job.job_op) {
        case READ_STATUS:
            Header(READ_STATUS, d, 5);
            d[4] = param;
            return 5;
        case SET_RELAYS:
            Header(SET_RELAYS, d, 11);
            d[2] = param;         // the host number
            WriteLe16(&d[6], 1);  // one byte of data at offset 0
            d[10] = job.relay_outputs;
            return 11;
        case ACK_RESET:
            return Header(ACK_RESET, d, 10);
        case LOG_COMMAND:
            Header(LOG_COMMAND, d, 4);
            d[3] = param;
            return 4;
        case CELL_COMMAND:
            Header(CELL_COMMAND, d, 5);
            d[3] = param;
            d[4] = static_cast<uint8_t>(job.job_param2);
            return 5;
        case SET_CLOCK: {
            Header(SET_CLOCK, d, 10);
            std::time_t t = static_cast<std::time_t>(job.clock_to_set);
            std::tm local{};
            localtime_r(&t, &local);
            const int year = local.tm_year + 1900;
            d[3] = static_cast<uint8_t>(year >> 8);
            d[4] = static_cast<uint8_t>(year);
            d[5] = static_cast<uint8_t>(local.tm_mon + 1);
            d[6] = static_cast<uint8_t>(local.tm_mday);
            d[7] = static_cast<uint8_t>(local.tm_hour);
            d[8] = static_cast<uint8_t>(local.tm_min);
            d[9] = static_cast<uint8_t>(local.tm_sec);
            return 10;
        }
        case NET_PARAMS: {
            if (param != 1) {
                Header(NET_PARAMS, d, 4);
                d[3] = param;
                return 4;
            }
            Header(NET_PARAMS, d, 18);
            d[3] = 1;
            // Least significant byte first: the last octet comes first.
            WriteLe32(&d[4], job.new_host_ip);
            WriteLe32(&d[8], job.new_host_mask);
            WriteLe32(&d[12], job.new_host_gateway);
            const uint32_t port = ParsePort(job.new_host_port);
            d[16] = static_cast<uint8_t>(port >> 8);  // the port goes most significant byte first
            d[17] = static_cast<uint8_t>(port);
            return 18;
        }
        case IMPEDANCE:
            Header(IMPEDANCE, d, 5);
            d[3] = param;
            d[4] = param == 1 ? job.impedance_level : 0;
            return 5;
        default:
            return 0;
    }
}

size_t BuildAudioControl(const Job& job, unsigned host_count, std::span<uint8_t> d) {
    host_count = std::min(host_count, 20u);
    const size_t length = host_count + 5;
    Header(AUDIO_CONTROL, d, length);
    d[3] = static_cast<uint8_t>(job.job_param);
    std::copy_n(job.audio_request.begin(), host_count + 1, d.begin() + 4);
    return length;
}

size_t BuildHeartbeat(uint8_t code, std::span<uint8_t> d) {
    Header(code, d, 5);
    d[3] = code;
    return 5;
}

size_t BuildBlockRead(uint8_t block_id, std::span<uint8_t> d) {
    Header(BLOCK_READ, d, 5);
    d[3] = 2;
    d[4] = block_id;
    return 5;
}

size_t BuildBlockWrite(uint8_t block_id, uint8_t number, uint16_t offset,
                       std::span<const uint8_t> data, std::span<uint8_t> d) {
    const size_t n = std::min(data.size(), kChunkSize);
    Header(BLOCK_WRITE, d, kChunkHeader);
    d[4] = block_id;
    d[5] = number;
    WriteLe16(&d[6], static_cast<uint16_t>(n));
    WriteLe16(&d[8], offset);
    std::copy_n(data.begin(), n, d.begin() + kChunkHeader);
    return n + kChunkHeader;
}

size_t BuildFirmwareChunk(uint16_t number, uint16_t counted, std::span<const uint8_t> data,
                          std::span<uint8_t> d) {
    Header(FW_CHUNK, d, kFirmwareChunkDatagram);
    WriteLe16(&d[3], number);
    WriteLe16(&d[5], counted);
    d[7] = kFirmwareChunkMarker;
    std::copy_n(data.begin(), std::min(data.size(), kChunkSize), d.begin() + 8);
    return kFirmwareChunkDatagram;
}

}  // namespace qavo
