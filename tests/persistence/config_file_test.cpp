// The configuration file: five blocks end to end, saved so that an existing
// file is only ever replaced by a complete one, and imported block by block
// with a message for every block that a short file does not cover.
#include "persistence/config_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "db_test_util.h"
#include "file_test_util.h"

namespace qavo {
namespace {

using testing::Entries;
using testing::FileSizeLimit;
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

constexpr std::string_view kFire = "Fire argument is invalid.";
constexpr std::string_view kSystem = "QAVO system parameters are invalid.";
constexpr std::string_view kGrouping = "QAVO System grouping configuration parameter is invalid.";
constexpr std::string_view kPaging = "QAVO System paging configuration parameter is invalid.";

// Every block filled with a pattern of its own, so that a byte in the wrong
// block or at the wrong offset shows.
ParamImage Patterned(uint8_t seed) {
    ParamImage image;
    for (unsigned id = 0; id < kBlockCount; ++id) {
        auto block = image.Block(id);
        for (size_t i = 0; i < block.size(); ++i)
            block[i] = static_cast<uint8_t>(seed + id * 37 + i * 7 + (i >> 8));
    }
    return image;
}

std::vector<uint8_t> Concat(const ParamImage& image, std::initializer_list<unsigned> ids) {
    std::vector<uint8_t> out;
    for (unsigned id : ids) {
        auto block = image.Block(id);
        out.insert(out.end(), block.begin(), block.end());
    }
    return out;
}

class ConfigFileTest : public ::testing::Test {
  protected:
    std::filesystem::path Path(const std::string& name) const { return dir.path() / name; }
    TempDir dir;
};

TEST_F(ConfigFileTest, SavedFileIsTheFiveBlocksInFileOrder) {
    const ParamImage image = Patterned(1);
    const auto file = Path("site.cfg");
    const FileResult saved = SaveConfigFile(image, file.string());
    ASSERT_TRUE(saved.ok) << saved.error;
    const auto bytes = ReadBytes(file);
    EXPECT_EQ(bytes.size(), 51320u);
    // fire_alarm, equipment, groups, audio_priority, paging; no reserved block.
    EXPECT_EQ(bytes, Concat(image, {2, 0, 4, 5, 1}));
    EXPECT_EQ(Entries(dir.path()), std::vector<std::string>{"site.cfg"});
}

TEST_F(ConfigFileTest, ImportOfASavedFileGivesTheSameImage) {
    const ParamImage original = Patterned(3);
    const auto file = Path("site.cfg");
    ASSERT_TRUE(SaveConfigFile(original, file.string()).ok);

    ParamImage same = original;
    ConfigImport back = ImportConfigFile(file.string(), same);
    ASSERT_TRUE(back.result.ok) << back.result.error;
    EXPECT_TRUE(back.short_messages.empty());
    EXPECT_EQ(same, original);

    // Into another image: every block but the reserved one comes from the file.
    ParamImage other = Patterned(90);
    const ParamImage before = other;
    back = ImportConfigFile(file.string(), other);
    ASSERT_TRUE(back.result.ok);
    for (unsigned id : {0u, 1u, 2u, 4u, 5u}) {
        SCOPED_TRACE(id);
        EXPECT_TRUE(std::ranges::equal(other.Block(id), original.Block(id)));
    }
    EXPECT_TRUE(std::ranges::equal(other.Block(kReservedBlock), before.Block(kReservedBlock)));
}

TEST_F(ConfigFileTest, ShortFileNamesEveryBlockItDoesNotCoverInFileOrder) {
    struct Case {
        size_t size;
        std::vector<std::string_view> messages;
    };
    const Case cases[] = {
        {0, {kFire, kSystem, kGrouping, kGrouping, kPaging}},
        {1, {kFire, kSystem, kGrouping, kGrouping, kPaging}},
        {3731, {kFire, kSystem, kGrouping, kGrouping, kPaging}},
        {3732, {kSystem, kGrouping, kGrouping, kPaging}},
        {3776, {kSystem, kGrouping, kGrouping, kPaging}},
        {3777, {kGrouping, kGrouping, kPaging}},
        {3800, {kGrouping, kGrouping, kPaging}},
        {7737, {kGrouping, kPaging}},
        {7912, {kPaging}},
        {51319, {kPaging}},
        {51320, {}},
        {60000, {}},
    };
    const std::vector<uint8_t> full = EncodeConfigFile(Patterned(5));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.size);
        std::vector<uint8_t> bytes = full;
        bytes.resize(c.size, 0xEE);
        WriteBytes(Path("short.cfg"), bytes);
        ParamImage image = Patterned(200);
        const ConfigImport got = ImportConfigFile(Path("short.cfg").string(), image);
        ASSERT_TRUE(got.result.ok) << got.result.error;
        EXPECT_EQ(got.short_messages, c.messages);
    }
}

TEST_F(ConfigFileTest, EmptyFileLeavesTheImageAsItWas) {
    WriteBytes(Path("empty.cfg"), {});
    ParamImage image = Patterned(7);
    const ParamImage before = image;
    const ConfigImport got = ImportConfigFile(Path("empty.cfg").string(), image);
    ASSERT_TRUE(got.result.ok);
    EXPECT_EQ(got.short_messages.size(), 5u);
    EXPECT_EQ(image, before);
}

TEST_F(ConfigFileTest, FileOf3800BytesReplacesTheBytesThatArrivedOnly) {
    const ParamImage source = Patterned(11);
    std::vector<uint8_t> bytes = Concat(source, {2, 0, 4});
    bytes.resize(3800);
    WriteBytes(Path("part.cfg"), bytes);

    ParamImage image = Patterned(150);
    const ParamImage before = image;
    const ConfigImport got = ImportConfigFile(Path("part.cfg").string(), image);
    ASSERT_TRUE(got.result.ok);
    EXPECT_EQ(got.short_messages, (std::vector<std::string_view>{kGrouping, kGrouping, kPaging}));

    EXPECT_TRUE(std::ranges::equal(image.Block(kFireAlarmBlock), source.Block(kFireAlarmBlock)));
    EXPECT_TRUE(std::ranges::equal(image.Block(kEquipmentBlock), source.Block(kEquipmentBlock)));
    const auto groups = image.Block(kGroupsBlock);
    const auto new_groups = source.Block(kGroupsBlock);
    const auto old_groups = before.Block(kGroupsBlock);
    EXPECT_TRUE(std::equal(groups.begin(), groups.begin() + 23, new_groups.begin()));
    EXPECT_TRUE(std::equal(groups.begin() + 23, groups.end(), old_groups.begin() + 23));
    for (unsigned id : {kAudioPriorityBlock, kPagingBlock, kReservedBlock}) {
        EXPECT_TRUE(std::ranges::equal(image.Block(id), before.Block(id))) << id;
    }
}

TEST_F(ConfigFileTest, BytesPastTheLayoutAreIgnored) {
    const ParamImage source = Patterned(13);
    std::vector<uint8_t> bytes = EncodeConfigFile(source);
    bytes.insert(bytes.end(), 5000, 0xA5);
    WriteBytes(Path("long.cfg"), bytes);
    ParamImage image = source;
    const ConfigImport got = ImportConfigFile(Path("long.cfg").string(), image);
    ASSERT_TRUE(got.result.ok);
    EXPECT_TRUE(got.short_messages.empty());
    EXPECT_EQ(image, source);
}

TEST_F(ConfigFileTest, NameIsUsedExactlyAsGiven) {
    ASSERT_TRUE(SaveConfigFile(Patterned(1), Path("backup").string()).ok);
    EXPECT_EQ(Entries(dir.path()), std::vector<std::string>{"backup"});
    EXPECT_EQ(ReadBytes(Path("backup")).size(), 51320u);
}

TEST_F(ConfigFileTest, SavingOverAnExistingFileReplacesIt) {
    WriteBytes(Path("site.cfg"), std::vector<uint8_t>(70000, 0x11));
    const ParamImage image = Patterned(17);
    ASSERT_TRUE(SaveConfigFile(image, Path("site.cfg").string()).ok);
    EXPECT_EQ(ReadBytes(Path("site.cfg")), EncodeConfigFile(image));
    EXPECT_EQ(Entries(dir.path()), std::vector<std::string>{"site.cfg"});
}

TEST_F(ConfigFileTest, FailedSaveKeepsTheOldFileAndLeavesNothingBehind) {
    const std::vector<uint8_t> old(1234, 0x42);
    WriteBytes(Path("site.cfg"), old);
    WriteBytes(Path("plain"), {1, 2, 3});
    std::filesystem::create_directory(Path("folder.cfg"));

    struct Case {
        const char* what;
        std::filesystem::path target;
        rlim_t size_limit;  // 0: none
    };
    const Case cases[] = {
        // The disk refuses the bytes half-way (file size limit).
        {"write fails", Path("site.cfg"), 1000},
        // The complete new file cannot take the place of a directory.
        {"rename fails", Path("folder.cfg"), 0},
        // No file can be made under a regular file.
        {"create fails", Path("plain") / "site.cfg", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FileResult saved;
        {
            std::optional<FileSizeLimit> limit;
            if (c.size_limit) {
                limit.emplace(c.size_limit);
                ASSERT_TRUE(limit->active());
            }
            saved = SaveConfigFile(Patterned(21), c.target.string());
        }
        EXPECT_FALSE(saved.ok);
        EXPECT_NE(saved.error.find(c.target.string()), std::string::npos) << saved.error;
        EXPECT_EQ(ReadBytes(Path("site.cfg")), old);
        EXPECT_TRUE(std::filesystem::is_directory(Path("folder.cfg")));
        EXPECT_TRUE(std::filesystem::is_empty(Path("folder.cfg")));
        EXPECT_EQ(Entries(dir.path()),
                  (std::vector<std::string>{"folder.cfg", "plain", "site.cfg"}));
    }
}

TEST_F(ConfigFileTest, FileThatCannotBeReadIsAnErrorAndChangesNothing) {
    std::filesystem::create_directory(Path("folder.cfg"));
    ASSERT_EQ(mkfifo(Path("pipe.cfg").c_str(), 0600), 0);
    for (const auto& file : {Path("missing.cfg"), Path("folder.cfg"), Path("pipe.cfg")}) {
        SCOPED_TRACE(file);
        ParamImage image = Patterned(23);
        const ParamImage before = image;
        const ConfigImport got = ImportConfigFile(file.string(), image);
        EXPECT_FALSE(got.result.ok);
        EXPECT_NE(got.result.error.find(file.string()), std::string::npos) << got.result.error;
        EXPECT_TRUE(got.short_messages.empty());
        EXPECT_EQ(image, before);
    }
}

}  // namespace
}  // namespace qavo
