// The link decoder's Base64 rules: cleaning, groups that stop early, positions past the end,
// trimming by the last group, and the message pump after every group.
#include "vantrel/base64.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>

#include "vantrel/reference.h"

namespace vantrel {
namespace {

std::string hex(const Bytes& bytes) {
    std::string out;
    char buffer[4];
    for (unsigned char b : bytes) {
        std::snprintf(buffer, sizeof buffer, out.empty() ? "%02X" : " %02X", b);
        out += buffer;
    }
    return out;
}

TEST(DecodeBase64, Table) {
    struct Case {
        std::string input;
        std::string expected;
    };
    const Case cases[] = {
        {"QUJD", "41 42 43"},
        {"YWJj", "61 62 63"},
        {"QUI=", "41 42"},
        {"QQ==", "41"},
        {"", ""},
        {"   ", ""},
        {"\xA1\xA1", ""},
        {"\r\n", ""},
        {" \xA1\xA1\r \n ", ""},
        {"QQ", "41 00 00"},
        {"QUI", "41 42 00"},
        {"Q", "40 00 00"},
        {"QU JD", "41 42 43"},
        {"QU\xA1\xA1JD", "41 42 43"},
        {"QU\r\nJD", "41 42 43"},
        {"QU\r \nJD", "41 42 43"},
        {"QU\r\xA1\xA1\nJD", "41 42 43"},
        {"QUJDQQ==", "41 42 43 41"},
        {"QU\nJD", "41 42 80 0C 00 00"},
        {"QU-DQUJD", "41 4B 40 41 42 43"},
        {"QQ==QQ==", "41 0F 40 41"},
        {"QUJD\tQUJD", "41 42 43 25 42 43 0C 00 00"},
        {"QUJD=", "41 42"},
        {"=QUJD", "F4 00 00 0C 00 00"},
        // Letter case matters: "a" is 26, "A" is 0.
        {"AAAA", "00 00 00"},
        {"aaaa", "69 A6 9A"},
        // A lone CR stays and is an invalid character; so is a CR before a CR LF pair.
        {"QU\rJD", "41 43 40 0C 00 00"},
        {"QU\r\r\nJD", "41 43 40 0C 00 00"},
        // A double-byte character is an invalid character; its partner goes with it.
        {"QU\xD6\xD0JD", "41 75 80 24 30 00"},
        // A CR that is a lead byte's partner does not pair with the LF after it. Group 2
        // stops at once and keeps the values that group 1 left after its first one.
        {"QUJD\xB0\r\nQUJD", "41 42 43 C1 42 43 50 90 C0"},
        // A dangling lead byte at the end is dropped before the groups are counted.
        {"QUJD\xB0", "41 42 43"},
        // The last group stopping at its first character takes a byte of the one before.
        {"QUJDQUJD=", "41 42 43 41 42"},
        // An early stop in an earlier group removes nothing.
        {"QQ==QUJD", "41 0F 40 41 42 43"},
        // Stop position 2: the whole last group goes.
        {"QUJDQ=", "41 42 43"},
        {"////Q=", "FF FF FF"},
        {"/////=", "FF FF FF"},
        // Stop position 4 with a raw "=" (61) in the last value.
        {"//////Q=", "FF FF FF FF F4"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(hex(decode_base64(c.input)), c.expected) << testing::PrintToString(c.input);
    }
}

// The decoder written step by step with the primitives (vantrel/reference.h).
Bytes decode_step_by_step(std::string_view encoded) {
    return reference::decode_base64_step_by_step(encoded).bytes;
}

TEST(DecodeBase64, AgreesWithTheStepByStepDecoderOnRandomText) {
    // Alphabet characters with the bytes that cleaning and the lead-byte rule care about
    // mixed in, densely in some texts and rarely in others, so that they meet each other
    // and also turn up after several whole groups.
    const std::string alphabet = "QUJDYWJjAz+/09";
    const std::string special =
        "= \r\n\t-\xA1\xB0\x80\xFF"
        "\r\n\r\xA1";
    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> length(0, 40);
    std::uniform_int_distribution<int> percent(0, 99);
    for (int round = 0; round < 30000; ++round) {
        const int special_percent = round % 3 == 0 ? 5 : 40;
        std::string input;
        for (int n = length(random); n > 0; --n) {
            const std::string& pool = percent(random) < special_percent ? special : alphabet;
            input += pool[static_cast<std::size_t>(random() % pool.size())];
        }
        ASSERT_EQ(hex(decode_base64(input)), hex(decode_step_by_step(input)))
            << testing::PrintToString(input);
    }
}

TEST(DecodeBase64, ZeroByteInAViewReadsLikeA) {
    // A Text never holds a zero byte; a view handed in with one reads it like the byte
    // that a position past the end gives.
    EXPECT_EQ(hex(decode_base64(std::string_view("Q\0\0\0", 4))), "40 00 00");
}

int g_pumped = 0;
void count_pump() {
    ++g_pumped;
}

class MessagePumpTest : public testing::Test {
  protected:
    void SetUp() override { g_pumped = 0; }
    void TearDown() override { install_message_pump(nullptr); }
};

TEST_F(MessagePumpTest, RunsOnceAfterEveryGroup) {
    install_message_pump(count_pump);
    const struct {
        std::string input;
        int groups;
    } cases[] = {
        {"", 0},
        {"  \r\n", 0},
        {"Q", 1},
        {"QUJD", 1},
        {"QUJDQ", 2},
        {"QUJD=", 2},  // trimmed afterwards, pumped all the same
        {"QQ==QQ==QQ==", 3},
        {"Q U J D Q U J D", 2},
    };
    for (const auto& c : cases) {
        g_pumped = 0;
        decode_base64(c.input);
        EXPECT_EQ(g_pumped, c.groups) << testing::PrintToString(c.input);
    }
}

TEST_F(MessagePumpTest, NoneInstalledMeansNothingExtra) {
    install_message_pump(count_pump);
    install_message_pump(nullptr);
    EXPECT_EQ(hex(decode_base64("QUJD")), "41 42 43");
    EXPECT_EQ(g_pumped, 0);
}

std::string g_nested_result;
void nested_decode_pump() {
    // A conversion that runs while another is being decoded keeps its values to itself.
    install_message_pump(nullptr);
    g_nested_result = hex(decode_base64("YWJj"));
    install_message_pump(nested_decode_pump);
    ++g_pumped;
}

TEST_F(MessagePumpTest, ANestedDecodeDoesNotDisturbTheOuterOne) {
    install_message_pump(nested_decode_pump);
    EXPECT_EQ(hex(decode_base64("QUJDQQ==")), "41 42 43 41");
    EXPECT_EQ(g_pumped, 2);
    EXPECT_EQ(g_nested_result, "61 62 63");
}

// Several megabytes, decoded in linear time: a quadratic step would not finish within the
// test's time limit.
TEST(DecodeBase64, LargeInputIsLinear) {
    const std::size_t kGroups = 1 << 20;  // 4 MiB of text
    std::string clean;
    clean.reserve(kGroups * 4);
    for (std::size_t i = 0; i < kGroups; ++i)
        clean += "QUJD";

    std::string dirty;  // the same text with line breaks, spaces and full-width spaces
    dirty.reserve(clean.size() * 2);
    for (std::size_t i = 0; i < clean.size(); ++i) {
        dirty += clean[i];
        if (i % 76 == 75) dirty += "\r\n";
        if (i % 13 == 0) dirty += ' ';
        if (i % 101 == 0) dirty += "\xA1\xA1";
    }

    for (const std::string* input : {&clean, &dirty}) {
        const Bytes out = decode_base64(*input);
        ASSERT_EQ(out.size(), kGroups * 3);
        for (std::size_t i = 0; i < out.size(); ++i) {
            ASSERT_EQ(out[i], "ABC"[i % 3]) << "at " << i;
        }
    }

    // Nothing but invalid characters and lead bytes.
    std::string junk(4 << 20, '\xB0');
    junk[junk.size() / 2] = '\n';
    // The last lead byte has no partner and goes; every group stops at its first
    // character, so the last one takes 4 bytes with it.
    EXPECT_EQ(decode_base64(junk).size(), junk.size() / 4 * 3 - 4);
}

}  // namespace
}  // namespace vantrel
