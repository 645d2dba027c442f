#include "sim_firmware.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "link/frame.h"
#include "sim_options.h"

namespace qavo::sim {

namespace {

constexpr std::array<uint32_t, 256> MakeCrcTable() {
    std::array<uint32_t, 256> table{};
    for (uint32_t i = 0; i < 256; ++i) {
        uint32_t c = i;
        for (int bit = 0; bit < 8; ++bit)
            c = (c & 1) ? (0xEDB88320u ^ (c >> 1)) : (c >> 1);
        table[i] = c;
    }
    return table;
}

constexpr auto kCrcTable = MakeCrcTable();
constexpr size_t kChunkDataOffset = 8;

}  // namespace

uint32_t Crc32(std::span<const uint8_t> data, uint32_t crc) {
    crc = ~crc;
    for (uint8_t byte : data)
        crc = kCrcTable[(crc ^ byte) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

void FirmwareReceiver::Note(Problem sort, std::string text) {
    if (noted_[sort]) return;
    noted_[sort] = true;
    problems_.push_back(std::move(text));
}

void FirmwareReceiver::Begin(uint64_t declared_length) {
    *this = FirmwareReceiver(device_);
    begun_ = true;
    declared_ = declared_length;
}

void FirmwareReceiver::Chunk(std::span<const uint8_t> d) {
    if (!begun_) {
        Note(kProtocol, "chunk before FW_BEGIN");
        return;
    }
    if (d.size() != kFirmwareChunkDatagram) {
        Note(kLength, "bad length (datagram of " + std::to_string(d.size()) + " bytes)");
        return;
    }
    const uint32_t number = ReadLe16(&d[3]);
    const uint32_t counted = ReadLe16(&d[5]);
    // The console sends a chunk again when our acknowledgement was lost.
    if (number + 1 == next_chunk_ &&
        std::equal(d.begin(), d.end(), last_chunk_.begin(), last_chunk_.end())) {
        return;
    }
    if (number != next_chunk_) {
        Note(kOrder, "chunk out of order (got " + std::to_string(number) + ", expected " +
                         std::to_string(next_chunk_) + ")");
        return;
    }
    if (d[7] != kFirmwareChunkMarker) {
        char text[64];
        std::snprintf(text, sizeof text, "bad marker 0x%02X in chunk %u", d[7], number);
        Note(kMarker, text);
    }
    const uint64_t offset = uint64_t{number} * kChunkSize;
    const uint64_t remaining = declared_ > offset ? declared_ - offset : 0;
    const uint32_t expected = remaining >= kChunkSize
                                  ? static_cast<uint32_t>(kChunkSize)
                                  : static_cast<uint32_t>((remaining + 3) / 4 * 4);
    if (offset > declared_) {
        Note(kLength, "bad length (chunk " + std::to_string(number) + " beyond the end)");
    } else if (counted != expected) {
        Note(kLength, "bad length (chunk " + std::to_string(number) + " counts " +
                          std::to_string(counted) + ", expected " + std::to_string(expected) + ")");
    }
    const size_t take = static_cast<size_t>(std::min<uint64_t>(remaining, kChunkSize));
    const size_t padded_end = std::min<size_t>(std::max<size_t>(counted, take), kChunkSize);
    auto data = d.subspan(kChunkDataOffset);
    if (std::any_of(data.begin() + take, data.begin() + padded_end, [](uint8_t b) { return b; })) {
        Note(kPadding, "non-zero padding in chunk " + std::to_string(number));
    }
    crc_ = Crc32(data.first(take), crc_);
    received_ += take;
    ++next_chunk_;
    last_chunk_.assign(d.begin(), d.end());
}

FirmwareReport FirmwareReceiver::End() {
    if (!begun_) {
        Note(kProtocol, "FW_END without FW_BEGIN");
    } else if (received_ != declared_) {
        Note(kIncomplete, "incomplete (" + std::to_string(received_) + " of " +
                              std::to_string(declared_) + " bytes)");
    }
    FirmwareReport report;
    report.device = device_;
    report.declared = declared_;
    report.received = received_;
    report.crc = crc_;
    report.problems = problems_;
    report.ok = problems_.empty();
    char head[160];
    std::snprintf(head, sizeof head,
                  "firmware %s: declared %llu bytes, received %llu bytes, crc32 0x%08X, ",
                  FormatAddress(device_).c_str(), static_cast<unsigned long long>(declared_),
                  static_cast<unsigned long long>(received_), crc_);
    report.text = head;
    if (report.ok) {
        report.text += "ok";
    } else {
        for (size_t i = 0; i < problems_.size(); ++i) {
            report.text += (i ? "; " : "") + problems_[i];
        }
    }
    *this = FirmwareReceiver(device_);
    return report;
}

}  // namespace qavo::sim
