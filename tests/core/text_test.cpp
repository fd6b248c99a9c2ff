// Edges of the text and byte primitives that the decoder and the converters rely on.
#include "vantrel/text.h"
#include "vantrel/reference.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace vantrel {
namespace {

using namespace reference;

struct CutCase {
    const char* name;
    Text (*cut)(std::string_view, std::int64_t);
    std::string input;
    std::int64_t n;
    std::string expected;
};

TEST(TextCut, LeftAndRightClampTheirCount) {
    const CutCase cases[] = {
        {"left 0", text_left, "abc", 0, ""},
        {"left negative", text_left, "abc", -3, ""},
        {"left past end", text_left, "abc", 10, "abc"},
        {"left 2", text_left, "abc", 2, "ab"},
        {"left of empty, -1", text_left, "", -1, ""},
        {"left huge", text_left, "abc", INT64_MAX, "abc"},
        {"right 0", text_right, "abc", 0, ""},
        {"right negative", text_right, "abc", -3, ""},
        {"right past end", text_right, "abc", 10, "abc"},
        {"right 2", text_right, "abc", 2, "bc"},
        // Cutting counts bytes blindly and may split a double-byte character.
        {"left splits a pair", text_left, "abcdef\xD6\xD0", 7, "abcdef\xD6"},
        {"right splits a pair", text_right, "\xD6\xD0xy", 3, "\xD0xy"},
    };
    for (const CutCase& c : cases) {
        EXPECT_EQ(c.cut(c.input, c.n), c.expected) << c.name;
    }
}

TEST(TextCut, MidDoesNotMoveAStartBeforeTheText) {
    struct Case {
        std::int64_t start, n;
        std::string expected;
    };
    const Case cases[] = {
        {0, 2, ""},   {-5, 10, ""},       {1, 2, "ab"},       {6, 5, "f"},
        {7, 1, ""},   {3, 0, ""},         {3, -1, ""},        {2, 100, "bcdef"},
        {3, 2, "cd"}, {INT64_MIN, 3, ""}, {INT64_MAX, 3, ""}, {2, INT64_MAX, "bcdef"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(text_mid("abcdef", c.start, c.n), c.expected) << c.start << "," << c.n;
    }
}

TEST(TextFind, StartsOnlyAtCharacterStarts) {
    struct Case {
        std::string s, t;
        int expected;
    };
    const Case cases[] = {
        {"abc", "", 1},
        {"", "", -1},
        {"", "a", -1},
        {"ab", "abc", -1},
        {"abcabc", "ca", 3},
        {"abc", "ABC", -1},
        {"\xB0||", "|", 3},    // the first "|" is the lead byte's partner
        {"a\xB0", "\xB0", 2},  // a dangling lead byte still compares first
        {"\xB0"
         "a",
         "a", -1},
        {"\xE4\xB8\xAD|", "|", -1},  // an odd run of lead bytes swallows the "|"
        {"\xE4\xB8\xAD\xE6|", "|", 5},
        {"\x80\x80|", "|", 3},  // 0x80 counts as a lead byte
        {"\xFF\xFF|", "|", 3},  // and so does 0xFF
        {"x\xD6\xD0y", "\xD6\xD0", 2},
        {"\xD6\xD0\xD6", "\xD0\xD6", -1},  // would match across two characters
    };
    for (const Case& c : cases) {
        EXPECT_EQ(text_find(c.s, c.t), c.expected)
            << testing::PrintToString(c.s) << " / " << testing::PrintToString(c.t);
    }
}

TEST(TextReplace, RemovesEveryOccurrenceWithoutRescanning) {
    struct Case {
        std::string s, t, replacement, expected;
    };
    const Case cases[] = {
        {"a\r\nb\r\n", "\r\n", "", "ab"},
        {"\r\r\n\n", "\r\n", "", "\r\n"},
        {"abc", "", "x", "abc"},
        {"", "a", "x", ""},
        {"[FLASHGET]ab[FLASHGET]cd[FLASHGET]", "[FLASHGET]", "", "abcd"},
        {"[flashget]ab", "[FLASHGET]", "", "[flashget]ab"},
        {"aaa", "a", "aa", "aaaaaa"},  // the replacement is never scanned again
        {"aaaa", "aa", "", ""},
        {"\xB0\r\n", "\r\n", "", "\xB0\r\n"},  // CR is the lead byte's partner
        {"x\xB0", "\r", "", "x"},              // a dangling lead byte reached by the scan goes
        {"x\xB0", "ab", "", "x\xB0"},          // one not reached is copied with the rest
        {"ab\xB0", "b", "", "a"},
        {"\xD6[FLASHGET]", "[FLASHGET]", "", "\xD6[FLASHGET]"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(text_replace(c.s, c.t, c.replacement), c.expected)
            << testing::PrintToString(c.s) << " / " << testing::PrintToString(c.t);
    }
    EXPECT_EQ(text_replace("a--b", "-"), "ab") << "the replacement defaults to empty";
}

TEST(TextRemoveSpaces, DropsSpacesAndFullWidthSpacesOnly) {
    struct Case {
        std::string s, expected;
    };
    const Case cases[] = {
        {" a b\tc ", "ab\tc"},
        {"a\xA1\xA1"
         "b",
         "ab"},
        {"a\xA1\xA2"
         "b",
         "a\xA1\xA2"
         "b"},
        {"ab\xA1", "ab"},
        {"\xA1 b", "\xA1 b"},  // the space is the lead byte's partner
        {"\r \n", "\r\n"},
        {"\xA1\xA1\xA1\xA1", ""},
        {"x\xA1\xA1\xA1", "x"},  // pair removed, then a dangling lead byte
        {"   ", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(text_remove_spaces(c.s), c.expected) << testing::PrintToString(c.s);
    }
}

TEST(TextBytes, CharCodeIsSignedAndZeroOutOfRange) {
    EXPECT_EQ(text_char_code("A", 1), 65);
    EXPECT_EQ(text_char_code("A", 2), 0);
    EXPECT_EQ(text_char_code("A", 0), 0);
    EXPECT_EQ(text_char_code("A", -1), 0);
    EXPECT_EQ(text_char_code("x\xD6", 2), -42);
    EXPECT_EQ(text_char_code("\xFF", 1), -1);

    EXPECT_EQ(text_from_char_code(0), "");
    EXPECT_EQ(text_from_char_code(0x100), "");
    EXPECT_EQ(text_from_char_code(0x141), "A");
    EXPECT_EQ(text_from_char_code(-42), "\xD6");
}

TEST(TextCompare, IsByteForByteAndUnsigned) {
    EXPECT_EQ(text_compare("", std::string_view()), 0);
    EXPECT_NE(text_compare("thunder://", "THUNDER://"), 0);
    EXPECT_EQ(text_compare("abc", "abc"), 0);
    EXPECT_EQ(text_compare("ab", "abc"), -1);
    EXPECT_EQ(text_compare("abc", "ab"), 1);
    EXPECT_EQ(text_compare("a", "\xB0"), -1);  // bytes compare as unsigned values
    EXPECT_EQ(text_compare("\xB0", "a"), 1);
}

TEST(TextJoin, ConcatBlankAndConversions) {
    EXPECT_EQ(text_concat({std::string_view(), "abc"}), "abc");
    EXPECT_EQ(text_concat({"", ""}), "");
    EXPECT_EQ(text_concat({"http://", "a", "b"}), "http://ab");
    EXPECT_EQ(text_blank(0), "");
    EXPECT_EQ(text_blank(-2), "");
    EXPECT_EQ(text_blank(3), "   ");

    EXPECT_EQ(to_text(Bytes{0x68, 0x69, 0x00, 0x6A}), "hi");
    EXPECT_EQ(to_text(Bytes{0x00, 0x41}), "");
    EXPECT_EQ(to_text(Bytes{}), "");
    EXPECT_EQ(to_text(Bytes{0xD6, 0xD0}), "\xD6\xD0");
    EXPECT_EQ(to_text(-5), "-5");
    EXPECT_EQ(to_text(0), "0");
    EXPECT_EQ(to_text(6699), "6699");
    EXPECT_EQ(to_text(INT32_MIN), "-2147483648");
    EXPECT_EQ(to_text(std::string_view("a b")), "a b");
}

TEST(TextBytes, LeftAndConcat) {
    const Bytes abc{1, 2, 3};
    EXPECT_EQ(bytes_left(abc, -1), Bytes{});
    EXPECT_EQ(bytes_left(abc, 0), Bytes{});
    EXPECT_EQ(bytes_left(abc, 2), (Bytes{1, 2}));
    EXPECT_EQ(bytes_left(abc, 100), abc);
    EXPECT_EQ(bytes_length(abc), 3);

    const Bytes empty;
    const Bytes zero{0};
    EXPECT_EQ(bytes_concat({&empty, &empty}), Bytes{});
    EXPECT_EQ(bytes_concat({&abc, nullptr, &zero, &abc}), (Bytes{1, 2, 3, 0, 1, 2, 3}));
}

TEST(TextArithmetic, TruncatesTowardZero) {
    EXPECT_EQ(divide_truncated(7, 4), 1);
    EXPECT_EQ(divide_truncated(-7, 4), -1);
    EXPECT_EQ(divide_truncated(8, 4), 2);
    EXPECT_EQ(remainder_truncated(7, 4), 3);
    EXPECT_EQ(remainder_truncated(-7, 4), -3);
    EXPECT_EQ(remainder_truncated(8, 4), 0);
    EXPECT_EQ(truncate_to_integer(1.9), 1);
    EXPECT_EQ(truncate_to_integer(-1.9), -1);
    EXPECT_EQ(truncate_to_integer(4294967296.5), 4294967296);
    EXPECT_EQ(bit_or(0x104, 0x03), 0x107);
    EXPECT_EQ(bit_or(-1, 0), -1);
}

TEST(TextArithmetic, ValuesWithoutAnIntegerDoNotMisbehave) {
    // A division by zero never happens in the product, but the conversion must stay
    // defined for whatever real it is given.
    EXPECT_EQ(truncate_to_integer(divide_truncated(0, 0)), 0);
    EXPECT_EQ(truncate_to_integer(1e300), INT64_MAX);
    EXPECT_EQ(truncate_to_integer(-1e300), INT64_MIN);
}

TEST(TextStartsWith, IsCaseSensitiveAndUntrimmed) {
    EXPECT_TRUE(text_starts_with("http://x", "http://"));
    EXPECT_TRUE(text_starts_with("http://", "http://"));
    EXPECT_FALSE(text_starts_with("http:/", "http://"));
    EXPECT_FALSE(text_starts_with(" http://x", "http://"));
    EXPECT_FALSE(text_starts_with("HTTP://x", "http://"));
    EXPECT_TRUE(text_starts_with("", ""));
}

TEST(TextStartsWith, AnyCaseFoldsOnlyTheAsciiCapitals) {
    struct Case {
        const char* text;
        const char* lower_prefix;
        bool expected;
    };
    const Case cases[] = {
        {"HtTpS://x", "https://", true},
        {"thunder%3A", "thunder%3a", true},
        {"http:/", "http://", false},    // shorter than the prefix
        {" http://", "http://", false},  // nothing trimmed
        {"@", "`", false},               // the bytes just before 'A' and after 'Z' stay
        {"[", "{", false},
        {"\xC8", "\xE8", false},  // a lead byte is no letter
        {"", "", true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(text_starts_with_any_case(c.text, c.lower_prefix), c.expected)
            << testing::PrintToString(c.text);
    }
}

}  // namespace
}  // namespace vantrel
