// The four converters: prefix test, decoding, each scheme's clean-up, and FlashGet's
// intermediate texts in the converted-address box.
#include "vantrel/links.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "base64_encoding.h"
#include "vantrel/base64.h"

namespace vantrel {
namespace {

using testing_support::encode_base64;
using namespace std::string_literals;

TEST(Links, WrongPrefixIsTheFormatErrorForEveryScheme) {
    const std::string bad[] = {"",
                               "QUJD",
                               " thunder://QUJD",
                               "Thunder://QUJD",
                               "THUNDER://QUJD",
                               "flashget://QUJD",
                               "FLASHGET://QUJD",
                               "QQDL://QUJD",
                               "Fs2you://QUJD",
                               "thunder:/",
                               "http://example.com/"};
    for (const SchemeInfo& info : kSchemes) {
        for (const std::string& link : bad) {
            if (text_starts_with(link, info.prefix)) continue;
            bool written = false;
            const BoxWriter writer = [&](const Text&) { written = true; };
            EXPECT_EQ(convert_link(info.scheme, link, writer), std::nullopt)
                << info.name << " " << link;
            EXPECT_FALSE(written) << info.name << " " << link;
        }
    }
}

TEST(Links, ExactlyThePrefix) {
    EXPECT_EQ(convert_thunder("thunder://"), "");
    EXPECT_EQ(convert_flashget("Flashget://"), "");
    EXPECT_EQ(convert_qqdl("qqdl://"), "");
    EXPECT_EQ(convert_rayfile("fs2you://"), "http://");
}

TEST(Links, Thunder) {
    struct Case {
        std::string decoded, expected;
    };
    const Case cases[] = {
        {"AAhttp://example.com/file.zipZZ", "http://example.com/file.zip"},
        {"AAxyZZ", "xy"},
        {"AAxZZ", "x"},
        {"AAZZ", ""},
        {"AZZ", ""},
        {"", ""},
        // The text ends at the first zero byte; the last two bytes go from what is left.
        {"AAhello\0ZZ"s, "hel"},
        {"AAxy\0ZZZZ"s, ""},
        // Code page 936 bytes pass unchanged.
        {"AA\xD6\xD0\xCE\xC4ZZ", "\xD6\xD0\xCE\xC4"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(convert_thunder("thunder://" + encode_base64(c.decoded)), c.expected)
            << testing::PrintToString(c.decoded);
    }
}

TEST(Links, SpacesAndLineBreaksInTheBodyAreIgnored) {
    const std::string body = encode_base64("AAhttp://a/b.zipZZ");
    std::string spaced;
    for (std::size_t i = 0; i < body.size(); ++i) {
        spaced += body[i];
        if (i % 5 == 0) spaced += ' ';
        if (i % 7 == 0) spaced += "\xA1\xA1";
        if (i % 9 == 0) spaced += "\r\n";
    }
    EXPECT_EQ(convert_thunder("thunder://" + spaced), "http://a/b.zip");
    // A lone LF is an invalid character and ends its group.
    EXPECT_NE(convert_thunder("thunder://" + body.substr(0, 4) + "\n" + body.substr(4)),
              "http://a/b.zip");
}

struct FlashgetCase {
    std::string name;
    std::string link;
    std::vector<std::string> writes;  // into the converted-address box, in order
    std::string result;
};

TEST(Links, FlashgetWritesItsIntermediateTextsInOrder) {
    const std::string body = encode_base64("[FLASHGET]http://a/b.zip[FLASHGET]");
    const FlashgetCase cases[] = {
        {"no &",
         "Flashget://" + body,
         {body, "[FLASHGET]http://a/b.zip[FLASHGET]"},
         "http://a/b.zip"},
        {"text after &",
         "Flashget://" + body + "&abc&def",
         {"Flashget://" + body, body, "[FLASHGET]http://a/b.zip[FLASHGET]"},
         "http://a/b.zip"},
        {"& right after the prefix", "Flashget://&" + body, {"Flashget://", "", ""}, ""},
        {"markers anywhere",
         "Flashget://" + encode_base64("[FLASHGET]ab[FLASHGET]cd[FLASHGET]"),
         {encode_base64("[FLASHGET]ab[FLASHGET]cd[FLASHGET]"),
          "[FLASHGET]ab[FLASHGET]cd[FLASHGET]"},
         "abcd"},
        {"marker case matters",
         "Flashget://" + encode_base64("[flashget]ab"),
         {encode_base64("[flashget]ab"), "[flashget]ab"},
         "[flashget]ab"},
        // An "&" that is the partner of a lead byte is not an end mark: the whole body is
        // decoded, the lead byte stopping its group.
        {"& after a lead byte",
         "Flashget://YWI=\xB0&QUJD",
         {"YWI=\xB0&QUJD",
          "ab=\xC1"
          "b=$0"},
         "ab=\xC1"
         "b=$0"},
    };
    for (const FlashgetCase& c : cases) {
        std::vector<std::string> writes;
        const ConversionResult result =
            convert_flashget(c.link, [&](const Text& text) { writes.push_back(text); });
        EXPECT_EQ(result, c.result) << c.name;
        EXPECT_EQ(writes, c.writes) << c.name;
    }
}

TEST(Links, FlashgetDecodesTheFirst1000BytesOfTheBodyOnly) {
    const std::string address(750, 'a');
    const std::string body = encode_base64(address);  // exactly 1000 characters
    ASSERT_EQ(body.size(), 1000u);
    EXPECT_EQ(convert_flashget("Flashget://" + body + encode_base64("ZZZ")), address);
    // The limit counts bytes after the prefix, not after the spaces are gone.
    EXPECT_EQ(convert_flashget("Flashget://  " + body), std::string(748, 'a') + "`");
    // The limit applies to the part before the first "&".
    EXPECT_EQ(convert_flashget("Flashget://" + encode_base64("xyz") + "&" + body), "xyz");
}

TEST(Links, FlashgetShowsTheEncodedBodyWhileItIsDecoded) {
    const std::string body = encode_base64("[FLASHGET]http://host/a.rar[FLASHGET]");
    static std::string box;
    static std::vector<std::string> seen_while_decoding;
    box.clear();
    seen_while_decoding.clear();
    install_message_pump([] { seen_while_decoding.push_back(box); });
    const ConversionResult result =
        convert_flashget("Flashget://" + body + "&x", [](const Text& text) { box = text; });
    install_message_pump(nullptr);

    EXPECT_EQ(result, "http://host/a.rar");
    ASSERT_EQ(seen_while_decoding.size(), body.size() / 4);
    for (const std::string& seen : seen_while_decoding)
        EXPECT_EQ(seen, body);
}

TEST(Links, Qqdl) {
    struct Case {
        std::string decoded, expected;
    };
    const Case cases[] = {
        {"http://x/y.exe", "http://x/y.exe"},
        {"ab\0cd"s, "ab"},
        {"\0ab"s, ""},
        {"\xD6\xD0\xCE\xC4.zip", "\xD6\xD0\xCE\xC4.zip"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(convert_qqdl("qqdl://" + encode_base64(c.decoded)), c.expected)
            << testing::PrintToString(c.decoded);
    }
    // Unpadded bodies decode their last group with zeros, which the text loses.
    EXPECT_EQ(convert_qqdl("qqdl://QQ"), "A");
}

TEST(Links, Rayfile) {
    struct Case {
        std::string decoded, expected;
    };
    const Case cases[] = {
        {"ab|cd|ef", "http://ab"},
        {"host/file.zip|1234|x", "http://host/file.zip"},
        {"no separator", "http://"},
        {"|ab", "http://"},
        {"", "http://"},
        {"http://a|b", "http://http://a"},  // no look at an existing scheme
        {"\xE4\xB8\xAD|", "http://"},       // the "|" is the partner of 0xAD
        {"\xB0||x", "http://\xB0|"},
        {"ab\0|cd"s, "http://"},  // the zero byte cuts the text before the "|"
    };
    for (const Case& c : cases) {
        EXPECT_EQ(convert_rayfile("fs2you://" + encode_base64(c.decoded)), c.expected)
            << testing::PrintToString(c.decoded);
    }
}

TEST(Links, SchemeOfPicksByCaseSensitivePrefix) {
    struct Case {
        std::string link;
        std::optional<Scheme> scheme;
    };
    const Case cases[] = {
        {"thunder://x", Scheme::thunder},
        {"Flashget://x", Scheme::flashget},
        {"qqdl://x", Scheme::qqdl},
        {"fs2you://x", Scheme::rayfile},
        {"thunder://", Scheme::thunder},
        {"thunder:/", std::nullopt},
        {"Thunder://x", std::nullopt},
        {"flashget://x", std::nullopt},
        {" qqdl://x", std::nullopt},
        {"http://x", std::nullopt},
        {"", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(scheme_of(c.link), c.scheme) << c.link;
}

TEST(Links, SchemeTableMatchesTheConverters) {
    const std::string address = "http://a/b";
    for (const SchemeInfo& info : kSchemes) {
        EXPECT_EQ(&scheme_info(info.scheme), &info);
        EXPECT_EQ(scheme_of(std::string(info.prefix) + "x"), info.scheme);
        EXPECT_TRUE(convert_link(info.scheme, std::string(info.prefix) + encode_base64(address)));
        // The URL scheme is the prefix's, in lower case.
        std::string lowered(info.url_scheme);
        for (char& c : lowered)
            c = ascii_lower(c);
        EXPECT_EQ(lowered, info.url_scheme);
        EXPECT_TRUE(text_starts_with_any_case(info.prefix, std::string(info.url_scheme) + "://"))
            << info.prefix;
    }
    EXPECT_EQ(convert_link(Scheme::qqdl, "qqdl://" + encode_base64(address)), address);
    EXPECT_EQ(convert_link(Scheme::rayfile, "fs2you://" + encode_base64(address + "|")),
              "http://" + address);
}

// Any bytes after a right prefix give some text; nothing crashes or reads past the input.
TEST(Links, ArbitraryBytesAlwaysGiveAResult) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> byte(1, 255);
    std::uniform_int_distribution<int> length(0, 64);
    for (int round = 0; round < 5000; ++round) {
        std::string body;
        for (int n = length(random); n > 0; --n)
            body += static_cast<char>(byte(random));
        for (const SchemeInfo& info : kSchemes) {
            const ConversionResult result = convert_link(info.scheme, info.prefix + body);
            ASSERT_TRUE(result) << info.name;
            EXPECT_EQ(result->find('\0'), std::string::npos);
        }
    }
}

TEST(Links, LargeLinksConvertInLinearTime) {
    const std::string address = "http://host/" + std::string(3 << 20, 'x');
    const std::string body = encode_base64(address);
    EXPECT_EQ(convert_qqdl("qqdl://" + body), address);
    EXPECT_EQ(convert_rayfile("fs2you://" + body), "http://");
    EXPECT_EQ(convert_rayfile("fs2you://" + encode_base64(address + "|")), "http://" + address);
    EXPECT_EQ(convert_thunder("thunder://" + encode_base64("AA" + address + "ZZ")), address);
    EXPECT_EQ(convert_flashget("Flashget://" + body), address.substr(0, 750));

    // Lead bytes only, with no separator to be found.
    const std::string lead_bytes(4 << 20, '\xB0');
    EXPECT_TRUE(convert_flashget("Flashget://" + lead_bytes));
    EXPECT_TRUE(convert_rayfile("fs2you://" + lead_bytes));
}

}  // namespace
}  // namespace vantrel
