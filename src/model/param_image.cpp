#include "model/param_image.h"

#include <algorithm>
#include <cassert>
#include <cstdio>
#include <cstring>

namespace qavo {

namespace {

void WriteName(std::span<uint8_t> block, const Field& field, uint32_t i, const char* text,
               uint8_t fill) {
    uint8_t* p = block.data() + field.At(i);
    std::memset(p, fill, kNameSize);
    size_t len = std::min<size_t>(std::strlen(text), kNameSize - 1);
    std::memcpy(p, text, len);
    p[len] = 0;
}

void Fill(std::span<uint8_t> block, const Field& field, uint8_t value) {
    std::memset(block.data() + field.offset, value, field.size());
}

}  // namespace

ParamImage::ParamImage() {
    for (unsigned id = 0; id < kBlockCount; ++id)
        blocks_[id].assign(kBlockSize[id], 0);
    ApplyDefaults();
}

void ParamImage::ApplyDefaults() {
    using namespace fields;
    for (auto& block : blocks_)
        std::fill(block.begin(), block.end(), 0);

    auto equipment = Block(kEquipmentBlock);
    Set(fields::host_count, 1);
    Set(fields::group_count, 8);
    Fill(equipment, zone_work_enable, 0xFF);
    Set(mic_prompt_push, 1);
    Set(mic_prompt_release, 2);

    auto paging = Block(kPagingBlock);
    Set(fields::paging_count, 1);
    Fill(paging, key_zones, 0xFF);
    Fill(paging, key_message, 1);
    for (uint32_t k = 0; k < kMaxPagingConsoles; ++k) {
        Set(paging_address, k + 1, k);
        Set(paging_prompt, 1, k, 0);
        Set(paging_prompt, 2, k, 1);
    }
    for (uint32_t key = 0; key < kKeysPerConsole; ++key) {
        char text[16];
        std::snprintf(text, sizeof text, "Button %.2u", key + 1);
        WriteName(paging, key_name, key, text, 0);
    }

    auto fire = Block(kFireAlarmBlock);
    Fill(fire, contact_qavo_msg, 1);
    Fill(fire, contact_alert_msg, 1);
    Set(alarm_delay, 1);
    Fill(fire, contact_relays, 0xFF);

    auto groups = Block(kGroupsBlock);
    Fill(groups, group_zones, 0xFF);
    for (uint32_t g = 0; g < kMaxGroups; ++g) {
        char text[16];
        std::snprintf(text, sizeof text, "Group %.3u", g + 1);
        WriteName(groups, group_name, g, text, 0xFF);
    }

    // Microphone first, then the consoles in tens, the messages, the music,
    // the line inputs, then per expansion host: network audio, line 1 to 6.
    for (uint32_t k = 0; k < kMaxPagingConsoles; ++k) {
        Set(priority_paging, k < 30 ? k / 10 + 1 : 4, k);
    }
    Set(priority_qavo, 33);
    Set(priority_alert, 34);
    Set(priority_bgm, 35);
    for (uint32_t i = 0; i < 6; ++i)
        Set(priority_line, 35, i);
    for (uint32_t e = 0; e < 19; ++e) {
        for (uint32_t j = 1; j < 7; ++j)
            Set(expansion_priority, 1, e, j);
    }
}

std::span<uint8_t> ParamImage::Block(unsigned id) {
    if (id >= kBlockCount) return {};
    return blocks_[id];
}

std::span<const uint8_t> ParamImage::Block(unsigned id) const {
    if (id >= kBlockCount) return {};
    return blocks_[id];
}

uint32_t ParamImage::Get(const Field& field, uint32_t i, uint32_t j, uint32_t k) const {
    assert(field.width <= 4);
    const uint8_t* p = blocks_[field.block].data() + field.At(i, j, k);
    uint32_t value = 0;
    for (unsigned b = 0; b < field.width && b < 4; ++b)
        value |= uint32_t{p[b]} << (8 * b);
    return value;
}

void ParamImage::Set(const Field& field, uint32_t value, uint32_t i, uint32_t j, uint32_t k) {
    assert(field.width <= 4);
    uint8_t* p = blocks_[field.block].data() + field.At(i, j, k);
    for (unsigned b = 0; b < field.width && b < 4; ++b)
        p[b] = static_cast<uint8_t>(value >> (8 * b));
}

std::string ParamImage::GetName(const Field& field, uint32_t i) const {
    const char* p = reinterpret_cast<const char*>(blocks_[field.block].data() + field.At(i));
    return std::string(p, strnlen(p, kNameSize - 1));
}

unsigned ParamImage::BoundedHostCount() const {
    return std::min<uint32_t>(host_count(), kMaxHosts);
}

unsigned ParamImage::BoundedPagingCount() const {
    return std::min<uint32_t>(paging_count(), kMaxPagingConsoles);
}

unsigned ParamImage::BoundedGroupCount() const {
    return std::min<uint32_t>(group_count(), kMaxGroups);
}

}  // namespace qavo
