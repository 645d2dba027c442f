#include "editors/dev_param_cfg_logic.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>

#include "model/system_model.h"

namespace qavo {
namespace {

using ::testing::ElementsAre;

class DevParamLogicTest : public ::testing::Test {
  protected:
    DevParamLogicTest() {
        model.live.prompt_voice_count = 2;
        model.live.message_count = 5;
    }
    DevParamLogic Open(const char* code_page = CodePage::kDefaultId) {
        return DevParamLogic(model, CodePage(code_page));
    }
    void SetName(unsigned key, const void* bytes, size_t size) {
        std::span<uint8_t> slot =
            model.image.Block(kPagingBlock).subspan(fields::key_name.At(key), kNameSize);
        std::fill(slot.begin(), slot.end(), 0);
        std::memcpy(slot.data(), bytes, size);
    }
    std::vector<uint8_t> NameBytes(unsigned key) const {
        auto slot = model.image.Block(kPagingBlock).subspan(fields::key_name.At(key), kNameSize);
        return {slot.begin(), slot.end()};
    }
    SystemModel model;
};

TEST_F(DevParamLogicTest, OpensOnTheFirstHostConsoleAndKeyWithTheStoredValues) {
    model.image.Set(fields::group_count, 12);
    model.image.Set(fields::mic_prompt_push, 2);
    model.image.Set(fields::zone_detect_enable, 0x05);
    DevParamLogic logic = Open();
    const DevParamView v = logic.View();
    EXPECT_FALSE(v.host_cursor_visible);  // host_count 1
    EXPECT_EQ(v.host_label, "Host 01");
    EXPECT_EQ(v.console_label, "Paging 1");
    EXPECT_EQ(v.key_label, "Key 1");
    EXPECT_EQ(v.host_number.entries.size(), 20u);
    EXPECT_EQ(v.host_number.selected, 0);
    EXPECT_EQ(v.group_number.entries.size(), 121u);
    EXPECT_EQ(v.group_number.selected, 12);
    EXPECT_EQ(v.quantity.selected, 1);
    // N = 2: every prompt list offers 0, 1 and 2, and a stored 2 shows as 2.
    EXPECT_THAT(v.mic_push.entries, ElementsAre("0", "1", "2"));
    EXPECT_EQ(v.mic_push.selected, 2);
    EXPECT_EQ(v.mic_release.selected, 2);
    EXPECT_THAT(v.console_push.entries, ElementsAre("0", "1", "2"));
    EXPECT_EQ(v.console_release.selected, 2);
    EXPECT_THAT(v.work_mode.entries, ElementsAre("Paging mode", "BGM play"));
    EXPECT_THAT(v.bgm_type.entries, ElementsAre("Built-in music", "Line 1", "Line 2", "Line 3",
                                                "Line 4", "Line 5", "Line 6"));
    EXPECT_FALSE(v.bgm_type.enabled);  // paging mode
    EXPECT_FALSE(v.message_index.enabled);
    EXPECT_TRUE(v.all_checked);
    // Detection shows only where the zone works and its bit is stored.
    EXPECT_TRUE(v.detect_checked[0]);
    EXPECT_FALSE(v.detect_checked[1]);
    EXPECT_TRUE(v.detect_checked[2]);
    EXPECT_FALSE(v.name_visible);  // console 1 is a business console
    EXPECT_THAT(v.zone_summary,
                ElementsAre("Paging - 01 key - 01:", "   host 01: 1,2,3,4,5,6,7,8;  "));
}

TEST_F(DevParamLogicTest, TheHostCursorShowsOnlyWithMoreThanOneHost) {
    DevParamLogic logic = Open();
    logic.ChooseHostNumber(2);
    EXPECT_TRUE(logic.View().host_cursor_visible);
    logic.HostDown();
    logic.HostDown();
    EXPECT_EQ(logic.View().host_label, "Host 03");
    logic.HostDown();
    EXPECT_EQ(logic.View().host_label, "Host 01");  // wraps within the host count
    logic.HostUp();
    EXPECT_EQ(logic.View().host_label, "Host 03");
    logic.ChooseHostNumber(0);
    EXPECT_FALSE(logic.View().host_cursor_visible);
    EXPECT_EQ(logic.View().host_label, "Host 01");
    logic.HostDown();  // nothing moves with one host
    EXPECT_EQ(logic.current_host(), 0u);
}

TEST_F(DevParamLogicTest, AHostCursorLeftOutOfRangeComesBackWithTheNextMove) {
    model.image.Set(fields::host_count, 5);
    struct Case {
        bool down;
        const char* label;
    };
    for (const Case& c : {Case{true, "Host 01"}, Case{false, "Host 03"}}) {
        DevParamLogic logic = Open();
        for (int i = 0; i < 4; ++i)
            logic.HostDown();
        logic.ChooseHostNumber(2);  // three hosts; the cursor stays on host 5
        EXPECT_EQ(logic.View().host_label, "Host 05");
        c.down ? logic.HostDown() : logic.HostUp();
        EXPECT_EQ(logic.View().host_label, c.label);
    }
}

TEST_F(DevParamLogicTest, NoConsolesInUseDisablesThePagingSectionUntilOneIsChosen) {
    model.image.Set(fields::paging_count, 0);
    DevParamLogic logic = Open();
    DevParamView v = logic.View();
    EXPECT_FALSE(v.paging_enabled);
    EXPECT_FALSE(v.address_enabled);
    EXPECT_FALSE(v.work_mode.enabled);
    EXPECT_FALSE(v.bgm_type.enabled);
    EXPECT_FALSE(v.message_index.enabled);
    EXPECT_FALSE(v.console_push.enabled);
    EXPECT_FALSE(v.console_release.enabled);
    EXPECT_EQ(v.console_label, "Paging 01");
    logic.ConsoleNext();  // nothing to move through
    EXPECT_EQ(logic.current_console(), 0u);

    logic.ChooseQuantity(1);
    v = logic.View();
    EXPECT_TRUE(v.paging_enabled);
    EXPECT_TRUE(v.address_enabled);
    EXPECT_TRUE(v.work_mode.enabled);
    EXPECT_TRUE(v.console_push.enabled);
    EXPECT_EQ(v.console_label, "Paging 01");
    EXPECT_EQ(v.zone_summary.front(), "Paging - 01 key - 01:");
}

TEST_F(DevParamLogicTest, NoPromptVoicesDisablesEveryPromptList) {
    model.live.prompt_voice_count = 0;
    const DevParamView v = Open().View();
    EXPECT_FALSE(v.mic_push.enabled);
    EXPECT_FALSE(v.mic_release.enabled);
    EXPECT_FALSE(v.console_push.enabled);
    EXPECT_FALSE(v.console_release.enabled);
    EXPECT_EQ(v.console_push.selected, 0);  // a stored 1 shows as N
}

TEST_F(DevParamLogicTest, TheKeyCursorWrapsAfterFourKeysOnAFireConsoleAndSixtyOtherwise) {
    struct Case {
        uint8_t type;
        unsigned last_key;
    };
    for (const Case& c : {Case{1, 3}, Case{0, 59}, Case{2, 59}, Case{7, 59}}) {
        model.image.Set(fields::paging_type, c.type, 0);
        DevParamLogic logic = Open();
        const std::string name = logic.View().name_text;
        ASSERT_FALSE(logic.KeyUp(name));
        EXPECT_EQ(logic.current_key(), c.last_key) << int{c.type};
        EXPECT_EQ(logic.View().key_label, "Key " + std::to_string(c.last_key + 1));
        ASSERT_FALSE(logic.KeyDown(logic.View().name_text));
        EXPECT_EQ(logic.current_key(), 0u) << int{c.type};
        EXPECT_EQ(logic.View().name_visible, c.type == 2);
    }
}

TEST_F(DevParamLogicTest, ConsolesWrapWithinTheCountAndKeepTheKey) {
    model.image.Set(fields::paging_count, 3);
    model.image.Set(fields::paging_type, 2, 2);
    DevParamLogic logic = Open();
    ASSERT_FALSE(logic.KeyDown(logic.View().name_text));
    logic.ConsolePrevious();
    EXPECT_EQ(logic.current_console(), 2u);
    EXPECT_EQ(logic.current_key(), 1u);
    EXPECT_EQ(logic.View().console_label, "Paging 3");
    EXPECT_TRUE(logic.View().name_visible);
    logic.ConsoleNext();
    EXPECT_EQ(logic.current_console(), 0u);
}

TEST_F(DevParamLogicTest, ClearingAWorkCheckNarrowsOnlyTheKeyShown) {
    model.image.Set(fields::host_count, 3);
    model.image.Set(fields::zone_detect_enable, 0x04, 1);
    DevParamLogic logic = Open();
    logic.HostDown();           // host 2
    logic.ClickWork(2, false);  // zone 3
    EXPECT_EQ(logic.Get(fields::zone_work_enable, 1), 0xFBu);
    EXPECT_EQ(logic.Get(fields::key_zones, 0, 0, 1), 0xFBu);
    EXPECT_EQ(logic.Get(fields::key_zones, 0, 0, 0), 0xFFu);  // another host
    EXPECT_EQ(logic.Get(fields::key_zones, 0, 1, 1), 0xFFu);  // another key
    EXPECT_EQ(logic.Get(fields::key_zones, 1, 0, 1), 0xFFu);  // another console
    const DevParamView v = logic.View();
    EXPECT_FALSE(v.detect_enabled[2]);
    EXPECT_FALSE(v.detect_checked[2]);
    EXPECT_FALSE(v.all_checked);
    EXPECT_EQ(v.zone_summary[1],
              "   host 01: 1,2,3,4,5,6,7,8;    host 02: 1,2,4,5,6,7,8;  "
              "  host 03: 1,2,3,4,5,6,7,8;  ");
    // The detection bit stays stored until a detection box of the host is
    // clicked; then only working zones keep theirs.
    EXPECT_EQ(logic.Get(fields::zone_detect_enable, 1), 0x04u);
    logic.ClickDetect(0, true);
    EXPECT_EQ(logic.Get(fields::zone_detect_enable, 1), 0x01u);
}

TEST_F(DevParamLogicTest, AllTurnsEveryZoneOnThenOffWithoutTouchingTheKeysUntilAHostMove) {
    model.image.Set(fields::host_count, 2);
    model.image.Set(fields::zone_work_enable, 0x0F, 0);
    DevParamLogic logic = Open();
    logic.ClickAll();
    EXPECT_EQ(logic.Get(fields::zone_work_enable, 0), 0xFFu);
    EXPECT_TRUE(logic.View().all_checked);
    logic.ClickAll();
    EXPECT_EQ(logic.Get(fields::zone_work_enable, 0), 0x00u);
    EXPECT_FALSE(logic.View().all_checked);
    EXPECT_EQ(logic.Get(fields::key_zones, 0, 0, 0), 0xFFu);
    // Leaving the host stores its work checks as a click would.
    logic.HostDown();
    EXPECT_EQ(logic.Get(fields::key_zones, 0, 0, 0), 0x00u);
}

TEST_F(DevParamLogicTest, TheZoneSummaryPutsSixHostsOnALine) {
    struct Case {
        unsigned hosts;
        size_t lines;
    };
    for (const Case& c : {Case{6, 2}, Case{7, 3}, Case{12, 3}, Case{20, 5}}) {
        model.image.Set(fields::host_count, c.hosts);
        model.image.Set(fields::key_zones, 0, 0, 0, 0);
        model.image.Set(fields::key_zones, 0x81, 0, 0, 6);
        const std::vector<std::string> lines = Open().View().zone_summary;
        ASSERT_EQ(lines.size(), c.lines) << c.hosts;
        EXPECT_EQ(lines[1].rfind("   host 01:  none;    host 02: 1,2,3,4,5,6,7,8;  ", 0), 0u);
        if (c.hosts > 6) {
            EXPECT_EQ(lines[2].rfind("   host 07: 1,8;  ", 0), 0u);
        }
    }
}

TEST_F(DevParamLogicTest, TheMessageListOffersAtMostThirtyTwoMessages) {
    model.live.message_count = 40;
    model.image.Set(fields::key_mode_bits, 1, 0, 0);  // key 1 plays BGM
    DevParamLogic logic = Open();
    EXPECT_EQ(model.live.message_count, 32);
    const DevParamView v = logic.View();
    ASSERT_EQ(v.message_index.entries.size(), 32u);
    EXPECT_EQ(v.message_index.entries.back(), "32");
    EXPECT_TRUE(v.message_index.enabled);
    EXPECT_TRUE(v.bgm_type.enabled);
    logic.ChooseBgmType(3);
    EXPECT_FALSE(logic.View().message_index.enabled);
}

TEST_F(DevParamLogicTest, OutOfRangeValuesAreCorrectedWhenTheirKeyIsShown) {
    struct Case {
        uint8_t messages;
        uint8_t stored_type, stored_message;
        uint32_t type, message;
        int message_entry;
    };
    const Case cases[] = {
        {5, 9, 0, 6, 1, 0},
        {5, 3, 9, 3, 5, 4},
        {0, 0, 3, 0, 0, -1},  // no messages: the list stays empty
    };
    for (const Case& c : cases) {
        model.live.message_count = c.messages;
        model.image.Set(fields::key_bgm_type, c.stored_type, 0, 0);
        model.image.Set(fields::key_message, c.stored_message, 0, 0);
        DevParamLogic logic = Open();
        EXPECT_EQ(logic.Get(fields::key_bgm_type, 0, 0), c.type);
        EXPECT_EQ(logic.Get(fields::key_message, 0, 0), c.message);
        EXPECT_EQ(logic.View().message_index.selected, c.message_entry);
        EXPECT_EQ(model.image.Get(fields::key_bgm_type, 0, 0), c.stored_type);  // copy only
    }
}

TEST_F(DevParamLogicTest, CancelAsksOnlyWhenTheCopyDiffersFromTheImage) {
    const auto asks = [&](DevParamLogic& logic) {
        return logic.CancelQuestion(model, logic.View().name_text).has_value();
    };
    {
        DevParamLogic logic = Open();
        EXPECT_FALSE(asks(logic));
    }
    {
        // A key whose BGM type was corrected when shown now holds 6.
        model.image.Set(fields::key_bgm_type, 9, 0, 5);
        DevParamLogic logic = Open();
        EXPECT_FALSE(asks(logic));
        for (int i = 0; i < 5; ++i)
            ASSERT_FALSE(logic.KeyDown(logic.View().name_text));
        const std::optional<BoxRequest> question =
            logic.CancelQuestion(model, logic.View().name_text);
        ASSERT_TRUE(question);
        EXPECT_EQ(question->text, "Are you sure you give up the current configuration?");
        EXPECT_EQ(question->caption, "Equipment parameter");
        EXPECT_EQ(question->buttons, BoxButtons::kOkCancel);
        model.image.Set(fields::key_bgm_type, 0, 0, 5);
    }
    {
        // The console count is compared as the whole 32-bit field.
        model.image.Set(fields::paging_count, 0x0101);
        DevParamLogic logic = Open();
        EXPECT_TRUE(asks(logic));
        model.image.Set(fields::paging_count, 1);
    }
    {
        // A name typed and not yet stored is a change too.
        DevParamLogic logic = Open();
        EXPECT_TRUE(logic.CancelQuestion(model, "Lobby").has_value());
    }
}

TEST_F(DevParamLogicTest, WriteBackStoresTheCopyFieldByField) {
    model.image.Set(fields::paging_count, 0x03000002);  // only the low byte is the count
    model.image.Set(fields::bgm_play_mode, 0xFE);
    model.image.Set(fields::host_count, 2);
    DevParamLogic logic = Open();
    logic.ChooseGroupNumber(0);
    logic.ChooseBgmPlayMode(1);
    logic.HostDown();
    logic.ClickWork(7, false);
    logic.ChooseWorkMode(1);
    logic.ChooseMessage(4);
    logic.ChooseConsoleRelease(0);
    std::array<uint8_t, kMaxHosts> zones{};
    zones[1] = 0x03;
    logic.SetKeyZones(zones);
    // The address dialog writes its addresses straight into the image; the
    // write-back leaves them.
    std::array<uint8_t, kMaxPagingConsoles> types{}, addresses{};
    types[1] = 1;
    addresses.fill(7);
    logic.AcceptAddresses(model, types, addresses);
    EXPECT_EQ(model.image.Get(fields::paging_address, 31), 7u);
    EXPECT_EQ(model.image.Get(fields::paging_type, 1), 0u);  // types: the copy only

    ASSERT_FALSE(logic.WriteBack(model, logic.View().name_text));
    EXPECT_EQ(model.image.Get(fields::paging_count), 2u);
    EXPECT_EQ(model.image.Get(fields::bgm_play_mode), 1u);
    EXPECT_EQ(model.image.Get(fields::group_count), 0u);
    EXPECT_EQ(model.image.Get(fields::zone_work_enable, 1), 0x7Fu);
    EXPECT_EQ(model.image.Get(fields::key_mode_bits, 0, 0), 1u);
    EXPECT_EQ(model.image.Get(fields::key_message, 0, 0), 5u);
    EXPECT_EQ(model.image.Get(fields::paging_prompt, 0, 1), 0u);
    EXPECT_EQ(model.image.Get(fields::key_zones, 0, 0, 1), 0x03u);
    EXPECT_EQ(model.image.Get(fields::paging_type, 1), 1u);
    EXPECT_EQ(model.image.Get(fields::paging_address, 0), 7u);
    EXPECT_FALSE(logic.CancelQuestion(model, logic.View().name_text));
}

TEST_F(DevParamLogicTest, ButtonNamesGoThroughTheCodePage) {
    model.image.Set(fields::paging_type, 2, 0);
    const uint8_t untouched[] = {'A', 'b', 0, 0xFF, 0xFF, 0x11};
    SetName(0, untouched, sizeof untouched);
    SetName(1, "ABCDEFGHIJKLM", kNameSize);  // no terminator within its 13 bytes
    const uint8_t gbk[] = {0xD6, 0xD0, 0xCE, 0xC4};
    SetName(2, gbk, sizeof gbk);
    const std::vector<uint8_t> before = NameBytes(0);

    DevParamLogic western = Open();
    EXPECT_EQ(western.View().name_text, "Ab");
    ASSERT_FALSE(western.KeyDown("Ab"));  // untouched: kept byte for byte
    EXPECT_EQ(western.View().name_text, "Button 02");
    ASSERT_FALSE(western.KeyDown("Button 02"));
    ASSERT_FALSE(western.WriteBack(model, "Caf\xC3\xA9 13 chars"));  // "Café 13 chars"
    EXPECT_EQ(NameBytes(0), before);
    EXPECT_EQ(NameBytes(1), std::vector<uint8_t>(
                                {'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H', 'I', 'J', 'K', 'L', 'M'}));
    // Thirteen characters typed: twelve bytes kept, then the terminator.
    EXPECT_EQ(NameBytes(2), std::vector<uint8_t>(
                                {'C', 'a', 'f', 0xE9, ' ', '1', '3', ' ', 'c', 'h', 'a', 'r', 0}));

    SetName(2, gbk, sizeof gbk);
    DevParamLogic chinese = Open("gbk");
    ASSERT_FALSE(chinese.KeyDown(chinese.View().name_text));
    ASSERT_FALSE(chinese.KeyDown(chinese.View().name_text));
    EXPECT_EQ(chinese.View().name_text, "\xE4\xB8\xAD\xE6\x96\x87");                 // 中文
    ASSERT_FALSE(chinese.WriteBack(model, "\xE4\xB8\xAD\xE6\x96\x87\xE5\x90\x8D"));  // 中文名
    EXPECT_EQ(NameBytes(2),
              std::vector<uint8_t>({0xD6, 0xD0, 0xCE, 0xC4, 0xC3, 0xFB, 0, 0, 0, 0, 0, 0, 0}));
}

TEST_F(DevParamLogicTest, ANameTheCodePageCannotHoldIsRefusedAndNothingIsStored) {
    model.image.Set(fields::paging_type, 2, 0);
    const ParamImage before = model.image;
    DevParamLogic logic = Open();
    const std::string chinese = "\xE4\xB8\xAD";  // 中, not in Windows-1252
    const std::optional<BoxRequest> refused = logic.KeyDown(chinese);
    ASSERT_TRUE(refused);
    EXPECT_NE(refused->text.find(chinese), std::string::npos);
    EXPECT_EQ(refused->icon, BoxIcon::kError);
    EXPECT_EQ(logic.current_key(), 0u);  // the cursor stays on the key
    EXPECT_TRUE(logic.WriteBack(model, chinese));
    EXPECT_EQ(model.image, before);
}

}  // namespace
}  // namespace qavo
