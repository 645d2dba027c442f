#include "model/param_image.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

namespace qavo {
namespace {

// The offset tables of the six blocks, as the host documents them: block,
// offset and total width of every field.
struct Expected {
    const char* name;
    unsigned block;
    uint32_t offset;
    uint32_t total_width;
};

const Expected kOffsetTable[] = {
    {"host_count", 0, 0, 1},
    {"group_count", 0, 1, 1},
    {"bgm_play_mode", 0, 2, 1},
    {"zone_work_enable", 0, 3, 20},
    {"zone_detect_enable", 0, 23, 20},
    {"mic_prompt_push", 0, 43, 1},
    {"mic_prompt_release", 0, 44, 1},
    {"paging_type", 1, 0, 32},
    {"paging_count", 1, 32, 4},
    {"key_zones", 1, 36, 32 * 60 * 20},
    {"paging_address", 1, 38436, 32},
    {"key_mode_bits", 1, 38468, 32 * 8},
    {"key_bgm_type", 1, 38724, 32 * 60},
    {"key_message", 1, 40644, 32 * 60},
    {"paging_prompt", 1, 42564, 32 * 2},
    {"key_name", 1, 42628, 60 * 13},
    {"fire_flags", 2, 0, 1},
    {"contact_msg_kind", 2, 1, 20},
    {"contact_qavo_msg", 2, 21, 20 * 8},
    {"contact_alert_msg", 2, 181, 20 * 8},
    {"contact_release", 2, 341, 20},
    {"spare", 2, 361, 1},
    {"qavo_play_time", 2, 362, 2},
    {"alert_play_time", 2, 364, 2},
    {"qavo_play_count", 2, 366, 1},
    {"alert_play_count", 2, 367, 1},
    {"neighbour_span", 2, 368, 1},
    {"spare", 2, 369, 1},
    {"alarm_delay", 2, 370, 2},
    {"contact_zones", 2, 372, 20 * 8 * 20},
    {"contact_relays", 2, 3572, 20 * 8},
    {"reserved", 3, 0, 40},
    {"group_zones", 4, 0, 120 * 20},
    {"group_name", 4, 2400, 120 * 13},
    {"priority_mic", 5, 0, 1},
    {"priority_paging", 5, 1, 32},
    {"priority_qavo", 5, 33, 1},
    {"priority_alert", 5, 34, 1},
    {"priority_bgm", 5, 35, 1},
    {"priority_line", 5, 36, 6},
    {"expansion_priority", 5, 42, 19 * 7},
};

TEST(ParamImageLayout, EveryFieldSitsAtItsDocumentedOffsetAndWidth) {
    ASSERT_EQ(std::size(kOffsetTable), fields::kAll.size());
    for (size_t i = 0; i < fields::kAll.size(); ++i) {
        const Field& f = fields::kAll[i];
        const Expected& e = kOffsetTable[i];
        SCOPED_TRACE(e.name);
        EXPECT_EQ(f.name, e.name);
        EXPECT_EQ(f.block, e.block);
        EXPECT_EQ(f.offset, e.offset);
        EXPECT_EQ(f.size(), e.total_width);
    }
}

TEST(ParamImageLayout, FieldsTileEachBlockWithoutGapOrOverlap) {
    for (unsigned id = 0; id < kBlockCount; ++id) {
        SCOPED_TRACE(id);
        std::vector<Field> in_block;
        for (const Field& f : fields::kAll) {
            if (f.block == id) in_block.push_back(f);
        }
        std::sort(in_block.begin(), in_block.end(),
                  [](const Field& a, const Field& b) { return a.offset < b.offset; });
        uint32_t next = 0;
        for (const Field& f : in_block) {
            EXPECT_EQ(f.offset, next) << f.name;
            next = f.end();
        }
        EXPECT_EQ(next, kBlockSize[id]);
    }
}

TEST(ParamImageLayout, BlockSizesAndAccess) {
    ParamImage image;
    const uint32_t sizes[] = {45, 43408, 3732, 40, 3960, 175};
    for (unsigned id = 0; id < kBlockCount; ++id)
        EXPECT_EQ(image.Block(id).size(), sizes[id]);
    EXPECT_TRUE(image.Block(6).empty());
    EXPECT_TRUE(image.Block(255).empty());
}

TEST(ParamImageDefaults, CountsAndZoneMasks) {
    ParamImage image;
    EXPECT_EQ(image.host_count(), 1u);
    EXPECT_EQ(image.group_count(), 8u);
    EXPECT_EQ(image.paging_count(), 1u);
    for (unsigned h = 0; h < 20; ++h) {
        EXPECT_EQ(image.Get(fields::zone_work_enable, h), 0xFFu);
        EXPECT_EQ(image.Get(fields::zone_detect_enable, h), 0u);
    }
    EXPECT_EQ(image.Get(fields::mic_prompt_push), 1u);
    EXPECT_EQ(image.Get(fields::mic_prompt_release), 2u);
}

TEST(ParamImageDefaults, NamesAndTheirPadding) {
    ParamImage image;
    auto groups = image.Block(kGroupsBlock);
    const uint8_t group_1[13] = {'G', 'r', 'o', 'u', 'p', ' ', '0', '0', '1', 0, 0xFF, 0xFF, 0xFF};
    EXPECT_TRUE(std::equal(std::begin(group_1), std::end(group_1), groups.begin() + 2400));
    EXPECT_EQ(image.GetName(fields::group_name, 119), "Group 120");

    auto paging = image.Block(kPagingBlock);
    const uint8_t key_60[10] = {'B', 'u', 't', 't', 'o', 'n', ' ', '6', '0', 0};
    EXPECT_TRUE(
        std::equal(std::begin(key_60), std::end(key_60), paging.begin() + fields::key_name.At(59)));
    EXPECT_EQ(image.GetName(fields::key_name, 0), "Button 01");
}

TEST(ParamImageDefaults, PagingBlock) {
    ParamImage image;
    EXPECT_EQ(image.Get(fields::paging_address, 0), 1u);
    EXPECT_EQ(image.Get(fields::paging_address, 31), 32u);
    auto paging = image.Block(kPagingBlock);
    EXPECT_TRUE(std::all_of(paging.begin() + 36, paging.begin() + 38436,
                            [](uint8_t b) { return b == 0xFF; }));
    EXPECT_EQ(image.Get(fields::key_zones, 31, 59, 19), 0xFFu);
    EXPECT_EQ(image.Get(fields::key_message, 31, 59), 1u);
    EXPECT_EQ(image.Get(fields::paging_prompt, 5, 0), 1u);
    EXPECT_EQ(image.Get(fields::paging_prompt, 5, 1), 2u);
    EXPECT_EQ(image.Get(fields::key_bgm_type, 3, 3), 0u);
}

TEST(ParamImageDefaults, FireAlarmBlock) {
    ParamImage image;
    EXPECT_EQ(image.Get(fields::alarm_delay), 1u);
    EXPECT_EQ(image.Get(fields::contact_qavo_msg, 19, 7), 1u);
    EXPECT_EQ(image.Get(fields::contact_alert_msg, 0, 0), 1u);
    EXPECT_EQ(image.Get(fields::contact_relays, 19, 7), 0xFFu);
    EXPECT_EQ(image.Get(fields::contact_zones, 0, 0, 0), 0u);
    EXPECT_EQ(image.Get(fields::qavo_play_time), 0u);
}

TEST(ParamImageDefaults, AudioPriorityBlockByteByByte) {
    std::vector<uint8_t> expected = {0};
    for (int i = 0; i < 10; ++i)
        expected.push_back(1);
    for (int i = 0; i < 10; ++i)
        expected.push_back(2);
    for (int i = 0; i < 10; ++i)
        expected.push_back(3);
    expected.insert(expected.end(), {4, 4, 33, 34});
    for (int i = 0; i < 7; ++i)
        expected.push_back(35);
    for (int e = 0; e < 19; ++e)
        expected.insert(expected.end(), {0, 1, 1, 1, 1, 1, 1});
    ParamImage image;
    auto block = image.Block(kAudioPriorityBlock);
    ASSERT_EQ(expected.size(), block.size());
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), block.begin()));
    EXPECT_EQ(block[41], 35);
    EXPECT_EQ(block[42], 0);
    EXPECT_EQ(block[43], 1);
}

TEST(ParamImage, MultiByteFieldsAreLittleEndian) {
    ParamImage image;
    image.Set(fields::paging_count, 0x01020304);
    auto paging = image.Block(kPagingBlock);
    EXPECT_EQ(paging[32], 0x04);
    EXPECT_EQ(paging[35], 0x01);
    image.Set(fields::qavo_play_time, 300);
    EXPECT_EQ(image.Block(kFireAlarmBlock)[362], 300 & 0xFF);
    EXPECT_EQ(image.Block(kFireAlarmBlock)[363], 300 >> 8);
    EXPECT_EQ(image.Get(fields::qavo_play_time), 300u);
}

TEST(ParamImage, BoundedCountsNeverReachPastTheArrays) {
    ParamImage image;
    image.Set(fields::host_count, 200);
    image.Set(fields::paging_count, 0xFFFFFFFF);
    image.Set(fields::group_count, 250);
    EXPECT_EQ(image.BoundedHostCount(), 20u);
    EXPECT_EQ(image.BoundedPagingCount(), 32u);
    EXPECT_EQ(image.BoundedGroupCount(), 120u);
    image.ApplyDefaults();
    EXPECT_EQ(image, ParamImage{});
}

}  // namespace
}  // namespace qavo
