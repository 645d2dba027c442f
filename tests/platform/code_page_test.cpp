#include "platform/code_page.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace qavo {
namespace {

const std::string kReplacement = "\xEF\xBF\xBD";

bool Offered(const std::string& id) {
    const auto choices = CodePage::Choices();
    return std::any_of(choices.begin(), choices.end(),
                       [&](const CodePage::Choice& c) { return id == c.id; });
}

// Whether the cases of `id` can run: a code page missing from the C library
// is not offered and its cases are skipped; the default and GBK must be
// there.
bool Runs(const std::string& id) {
    if (id == CodePage::kDefaultId || id == "gbk") {
        EXPECT_TRUE(Offered(id)) << id;
        EXPECT_EQ(CodePage(id).id(), id);
        return true;
    }
    return Offered(id);
}
std::string Bytes(std::initializer_list<unsigned> values) {
    std::string out;
    for (unsigned v : values)
        out += static_cast<char>(v);
    return out;
}

// ---- the choices ----

TEST(CodePageChoicesTest, DefaultComesFirstAndGbkIsOffered) {
    const auto choices = CodePage::Choices();
    ASSERT_FALSE(choices.empty());
    EXPECT_STREQ(choices[0].id, CodePage::kDefaultId);
    EXPECT_TRUE(Offered("gbk"));
    EXPECT_EQ(CodePage().id(), CodePage::kDefaultId);
}

// A text with characters outside ASCII for every code page the console may
// offer; each one offered must carry its sample there and back.
const std::vector<std::pair<std::string, std::string>> kSamples = {
    {"windows-1252", "Caf\u00e9 \u20ac5 \u00c5"},
    {"gbk", "\u4e2d\u6587 Zone 7"},
    {"big5", "\u4e2d\u6587 \u5927\u5ef3"},
    {"shift_jis", "\u65e5\u672c \u30ab\u30ca"},
    {"windows-1251", "\u041f\u0440\u0438\u0432\u0435\u0442"},
};

TEST(CodePageChoicesTest, EveryOfferedCodePageCarriesItsSampleThereAndBack) {
    for (const CodePage::Choice& choice : CodePage::Choices()) {
        SCOPED_TRACE(choice.id);
        EXPECT_NE(std::string(choice.label), "");
        const auto sample = std::find_if(kSamples.begin(), kSamples.end(),
                                         [&](const auto& s) { return s.first == choice.id; });
        ASSERT_NE(sample, kSamples.end()) << "no sample for an offered code page";
        const CodePage page(choice.id);
        const auto encoded = page.Encode(sample->second);
        ASSERT_TRUE(encoded.has_value());
        EXPECT_NE(*encoded, sample->second) << "stored as UTF-8, not in the code page";
        EXPECT_EQ(page.Decode(*encoded), sample->second);
        EXPECT_EQ(page.FirstUnencodable(sample->second), "");
    }
}

struct IdCase {
    const char* given;
    const char* expected;
};

class CodePageIdTest : public ::testing::TestWithParam<IdCase> {};

TEST_P(CodePageIdTest, UnknownIdsFallBackToTheDefault) {
    EXPECT_EQ(CodePage(GetParam().given).id(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Ids, CodePageIdTest,
                         ::testing::Values(IdCase{"windows-1252", "windows-1252"},
                                           IdCase{"gbk", "gbk"}, IdCase{"GBK", "gbk"},
                                           IdCase{"", "windows-1252"},
                                           IdCase{"klingon", "windows-1252"},
                                           IdCase{"gbk ", "windows-1252"},
                                           IdCase{"utf-8", "windows-1252"}));

TEST(CodePageFallbackTest, ReadsAsTheDefault) {
    EXPECT_EQ(CodePage("klingon").Decode("\xE9\x80"), "\u00e9\u20ac");
}

// ---- both ways ----

struct RoundTripCase {
    const char* id;
    std::string text;   // UTF-8
    std::string bytes;  // in the code page
};

class CodePageRoundTripTest : public ::testing::TestWithParam<RoundTripCase> {};

TEST_P(CodePageRoundTripTest, EncodesToTheCodePageBytesAndBack) {
    const RoundTripCase& c = GetParam();
    SCOPED_TRACE(std::string(c.id) + ": " + ::testing::PrintToString(c.text));
    if (!Runs(c.id)) GTEST_SKIP() << c.id << " is not offered here";
    const CodePage page(c.id);
    EXPECT_EQ(page.Encode(c.text), c.bytes);
    EXPECT_EQ(page.Decode(c.bytes), c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, CodePageRoundTripTest,
    ::testing::Values(RoundTripCase{"windows-1252", "\u00e9", Bytes({0xE9})},
                      RoundTripCase{"windows-1252", "\u20ac", Bytes({0x80})},
                      RoundTripCase{"windows-1252", "Hall \u00c9 \u20ac", "Hall \xC9 \x80"},
                      RoundTripCase{"windows-1252", "", ""},
                      RoundTripCase{"gbk", "\u4e2d\u6587", Bytes({0xD6, 0xD0, 0xCE, 0xC4})},
                      // A trail byte in the ASCII range: 0x81 0x40.
                      RoundTripCase{"gbk", "A\u4e02B", Bytes({0x41, 0x81, 0x40, 0x42})},
                      RoundTripCase{"gbk", "Lobby 1", "Lobby 1"},
                      RoundTripCase{"big5", "\u4e2d\u6587", Bytes({0xA4, 0xA4, 0xA4, 0xE5})},
                      RoundTripCase{"shift_jis", "\u65e5\u672c", Bytes({0x93, 0xFA, 0x96, 0x7B})},
                      RoundTripCase{"windows-1251", "\u0416", Bytes({0xC6})}));

// ---- what a code page cannot hold ----

struct UnencodableCase {
    const char* id;
    std::string text;
    std::string first;  // what FirstUnencodable names
};

class CodePageUnencodableTest : public ::testing::TestWithParam<UnencodableCase> {};

TEST_P(CodePageUnencodableTest, NothingIsStoredAsSomethingElse) {
    const UnencodableCase& c = GetParam();
    SCOPED_TRACE(std::string(c.id) + ": " + ::testing::PrintToString(c.text));
    if (!Runs(c.id)) GTEST_SKIP() << c.id << " is not offered here";
    const CodePage page(c.id);
    EXPECT_EQ(page.Encode(c.text), std::nullopt);
    EXPECT_EQ(page.FirstUnencodable(c.text), c.first);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, CodePageUnencodableTest,
    ::testing::Values(UnencodableCase{"windows-1252", "Hall \u4e2d", "\u4e2d"},
                      // The first of two, after characters that the code page holds.
                      UnencodableCase{"windows-1252", "\u00e9\u20ac\u0416\u4e2d", "\u0416"},
                      UnencodableCase{"gbk", "Lobby \U0001F525", "\U0001F525"},
                      UnencodableCase{"gbk", "\u4e2d\u0e01\u6587", "\u0e01"},
                      UnencodableCase{"windows-1251", "Caf\u00e9", "\u00e9"},
                      UnencodableCase{"shift_jis", "\u65e5\u0416\U0001F600", "\U0001F600"},
                      // Bytes that are not UTF-8 are named as U+FFFD.
                      UnencodableCase{"windows-1252", "ab\xC3", "\xEF\xBF\xBD"},
                      UnencodableCase{"gbk", "\xFF\xFE", "\xEF\xBF\xBD"}));

TEST(CodePageFitTest, TextThatFitsHasNoUnencodableCharacter) {
    EXPECT_EQ(CodePage("gbk").FirstUnencodable("\u4e2d\u6587 \u20ac"), "");
    EXPECT_EQ(CodePage().FirstUnencodable(""), "");
}

// ---- bytes the code page does not define ----

struct InvalidCase {
    const char* id;
    std::string bytes;
    std::string text;
};

class CodePageInvalidBytesTest : public ::testing::TestWithParam<InvalidCase> {};

TEST_P(CodePageInvalidBytesTest, ReadAsReplacementCharacters) {
    const InvalidCase& c = GetParam();
    SCOPED_TRACE(std::string(c.id) + ": " + ::testing::PrintToString(c.text));
    if (!Runs(c.id)) GTEST_SKIP() << c.id << " is not offered here";
    EXPECT_EQ(CodePage(c.id).Decode(c.bytes), c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Bytes, CodePageInvalidBytesTest,
    ::testing::Values(InvalidCase{"windows-1252",
                                  "a\x81"
                                  "b",
                                  "a" + kReplacement + "b"},
                      InvalidCase{"windows-1252", "\x81\x8D", kReplacement + kReplacement},
                      // A character cut off by the end.
                      InvalidCase{"gbk", "\xD6\xD0\xCE", "\u4e2d" + kReplacement},
                      // A lead byte without its trail: the next byte still reads.
                      InvalidCase{"gbk", "\xD6 x", kReplacement + " x"},
                      InvalidCase{"gbk", "\xFF\xD6\xD0", kReplacement + "\u4e2d"}));

// ---- stored names ----

struct NameCase {
    const char* id;
    std::vector<uint8_t> field;
    std::string text;
};

class CodePageNameTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(CodePageNameTest, NameEndsAtItsNul) {
    const NameCase& c = GetParam();
    EXPECT_EQ(CodePage(c.id).DecodeName(c.field), c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, CodePageNameTest,
    ::testing::Values(
        NameCase{"windows-1252",
                 {'L', 'o', 'b', 'b', 'y', 0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF},
                 "Lobby"},
        NameCase{"windows-1252", {0, 'x', 'y', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, ""},
        // No NUL at all: every byte is the name.
        NameCase{"windows-1252",
                 {'G', 'r', 'o', 'u', 'p', ' ', '0', '0', '1', 'a', 'b', 'c', 0xE9},
                 "Group 001abc\u00e9"},
        NameCase{"gbk", {0xD6, 0xD0, 0xCE, 0xC4, 0, 0xD6, 0xD0, 0, 0, 0, 0, 0, 0}, "\u4e2d\u6587"},
        NameCase{"gbk", {}, ""}));

// ---- cutting to a length ----

struct TruncateCase {
    const char* id;
    std::string text;  // UTF-8, encoded before the cut
    size_t limit;
    std::string kept;  // UTF-8
};

class CodePageTruncateTest : public ::testing::TestWithParam<TruncateCase> {};

TEST_P(CodePageTruncateTest, CutsOnlyBetweenCharacters) {
    const TruncateCase& c = GetParam();
    SCOPED_TRACE(std::string(c.id) + ": " + ::testing::PrintToString(c.text));
    if (!Runs(c.id)) GTEST_SKIP() << c.id << " is not offered here";
    const CodePage page(c.id);
    const auto encoded = page.Encode(c.text);
    ASSERT_TRUE(encoded.has_value());
    const std::string cut = page.Truncate(*encoded, c.limit);
    EXPECT_LE(cut.size(), c.limit);
    EXPECT_EQ(cut, encoded->substr(0, cut.size()));
    EXPECT_EQ(page.Decode(cut), c.kept);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, CodePageTruncateTest,
    ::testing::Values(
        // 13 bytes: the last whole character that fits ends at byte 11.
        TruncateCase{"gbk", "a\u4e2d\u6587\u4e2d\u6587\u4e2d\u6587", 12,
                     "a\u4e2d\u6587\u4e2d\u6587\u4e2d"},
        // 13 bytes ending in ASCII: twelve bytes of whole characters stay.
        TruncateCase{"gbk", "\u4e2d\u6587\u4e2d\u6587\u4e2d\u6587a", 12,
                     "\u4e2d\u6587\u4e2d\u6587\u4e2d\u6587"},
        // Trail bytes in the ASCII range (0x81 0x40).
        TruncateCase{"gbk", "a\u4e02\u4e02\u4e02\u4e02\u4e02\u4e02", 12,
                     "a\u4e02\u4e02\u4e02\u4e02\u4e02"},
        TruncateCase{"gbk", "\u4e02\u4e02\u4e02\u4e02\u4e02\u4e02a", 12,
                     "\u4e02\u4e02\u4e02\u4e02\u4e02\u4e02"},
        TruncateCase{"gbk", "\u4e2d\u6587", 12, "\u4e2d\u6587"},
        TruncateCase{"gbk", "\u4e2d\u6587", 1, ""}, TruncateCase{"gbk", "\u4e2d\u6587", 0, ""},
        TruncateCase{"windows-1252", "Caf\u00e9 \u20ac 12345678", 12, "Caf\u00e9 \u20ac 12345"},
        TruncateCase{"shift_jis", "a\u65e5\u672c\u65e5\u672c\u65e5\u672c", 12,
                     "a\u65e5\u672c\u65e5\u672c\u65e5"},
        TruncateCase{"big5", "a\u4e2d\u6587\u4e2d\u6587\u4e2d\u6587", 12,
                     "a\u4e2d\u6587\u4e2d\u6587\u4e2d"}));

}  // namespace
}  // namespace qavo
