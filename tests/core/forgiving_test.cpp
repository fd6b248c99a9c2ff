// Forgiving reading: each rule with the cases that would break it, then whole conversions of
// damaged and nested links.
#include "vantrel/forgiving.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <string>

#include "base64_encoding.h"
#include "vantrel/routing.h"

namespace vantrel {
namespace {

using namespace std::string_literals;
using testing_support::encode_base64;

struct ReadCase {
    std::string name;
    std::string raw;
    std::optional<std::string> link;  // the canonical link; nullopt: no link
};

void check_reading(const ReadCase& c) {
    const std::optional<CanonicalLink> read = read_link_forgivingly(c.raw);
    ASSERT_EQ(read.has_value(), c.link.has_value()) << c.name;
    if (!read) return;
    EXPECT_EQ(read->link, *c.link) << c.name;
    EXPECT_EQ(scheme_of(read->link), read->scheme) << c.name;
    EXPECT_EQ(route_link(read->link), TargetBox::encoded) << c.name;
}

TEST(ForgivingReading, SurroundingSpaceAndOnePairOfQuotes) {
    const ReadCase cases[] = {
        {"nothing to do", "thunder://QUJD", "thunder://QUJD"},
        {"spaces, tab, line breaks around", " \t thunder://QUJD \r\n", "thunder://QUJD"},
        {"double quotes", "\"thunder://QUJD\"", "thunder://QUJD"},
        {"single quotes", "'qqdl://QUJD'", "qqdl://QUJD"},
        {"angle brackets", "<fs2you://QUJD>", "fs2you://QUJD"},
        {"space outside and inside the quotes", " \" qqdl://QUJD \" ", "qqdl://QUJD"},
        {"quotes that do not match", "\"thunder://QUJD'", std::nullopt},
        {"brackets the wrong way round", ">thunder://QUJD<", std::nullopt},
        {"an opening quote alone", "\"thunder://QUJD", std::nullopt},
        {"only one pair goes", "\"\"thunder://QUJD\"\"", std::nullopt},
        {"a lone quote", "\"", std::nullopt},
        {"empty", "", std::nullopt},
        {"spaces only", " \r\n\t", std::nullopt},
    };
    for (const ReadCase& c : cases)
        check_reading(c);
}

TEST(ForgivingReading, PercentEncodingIsDecodedOnce) {
    const ReadCase cases[] = {
        {"whole link encoded", "thunder%3A%2F%2FQUJD", "thunder://QUJD"},
        {"lower-case escapes", "thunder%3a%2f%2fQUJD", "thunder://QUJD"},
        {"encoded name of any case", "FLASHGET%3A%2F%2FQUJD", "Flashget://QUJD"},
        {"only the colon encoded", "qqdl%3A//QUJD", "qqdl://QUJD"},
        {"only the slashes encoded", "qqdl:%2F%2FQUJD", "qqdl://QUJD"},
        {"an escape right after the name is no separator", "qqdl%41://QUJD", std::nullopt},
        {"plus, slash and equals in the body", "thunder://QU%2BD%2Fw%3D%3D", "thunder://QU+D/w=="},
        {"once, not twice", "thunder://QUJD%2541", "thunder://QUJD%41"},
        {"twice-encoded link stays unread", "thunder%253A%252F%252FQUJD", std::nullopt},
        {"a percent without two hex digits stays", "thunder://QU%JD", "thunder://QU%JD"},
        {"a cut-off escape at the end stays", "thunder://QUJD%4", "thunder://QUJD%4"},
        {"an encoded space inside the body goes", "thunder://QU%20JD", "thunder://QUJD"},
        {"an encoded zero byte is no link", "thunder://QU%00JD", std::nullopt},
        {"raw bytes are decoded too", "qqdl://QUJD%D6%D0", "qqdl://QUJD\xD6\xD0"},
    };
    for (const ReadCase& c : cases)
        check_reading(c);
}

TEST(ForgivingReading, SchemeNamesInAnyCaseGetTheExactPrefix) {
    const ReadCase cases[] = {
        {"thunder upper", "THUNDER://QUJD", "thunder://QUJD"},
        {"flashget lower", "flashget://QUJD", "Flashget://QUJD"},
        {"flashget mixed", "FlashGet://QUJD", "Flashget://QUJD"},
        {"qqdl upper", "QQDL://QUJD", "qqdl://QUJD"},
        {"fs2you mixed", "Fs2You://QUJD", "fs2you://QUJD"},
        {"exactly the prefix", "thunder://", "thunder://"},
        {"a longer name", "thunderx://QUJD", std::nullopt},
        {"a shorter name", "thunde://QUJD", std::nullopt},
        {"one slash", "thunder:/QUJD", std::nullopt},
        {"no slashes", "thunder:QUJD", std::nullopt},
        {"space before the separator", "thunder ://QUJD", std::nullopt},
        {"a plain address", "http://example.com/a.zip", std::nullopt},
        {"the name alone", "thunder", std::nullopt},
        {"text before the link", "link: thunder://QUJD", std::nullopt},
        {"a zero byte", "thunder://QU\0JD"s, std::nullopt},
    };
    for (const ReadCase& c : cases)
        check_reading(c);
}

TEST(ForgivingReading, WhitespaceInsideTheBodyGoes) {
    const ReadCase cases[] = {
        {"spaces and tabs", "thunder://QU JD\tQUJD", "thunder://QUJDQUJD"},
        {"line breaks", "thunder://QUJD\r\nQUJD\nQU\rJD", "thunder://QUJDQUJDQUJD"},
        {"after the separator", "qqdl:// QUJD", "qqdl://QUJD"},
        {"in a FlashGet suffix", "Flashget://QUJD& a b", "Flashget://QUJD&ab"},
        // A full-width space is the decoder's business: it skips it itself.
        {"full-width space stays", "qqdl://QU\xA1\xA1JD", "qqdl://QU\xA1\xA1JD"},
    };
    for (const ReadCase& c : cases)
        check_reading(c);
}

TEST(ForgivingReading, BrowserSlashGoesOnlyWhereBase64CannotEnd) {
    const ReadCase cases[] = {
        {"1 more than a multiple of 4", "thunder://QUJD/", "thunder://QUJD"},
        {"padded body and slash", "qqdl://QUI=/", "qqdl://QUI="},
        {"the slash alone", "thunder:///", "thunder://"},
        {"a Base64 '/' ending a group stays", "qqdl://QUJ/", "qqdl://QUJ/"},
        {"two groups ending in '/' stay", "qqdl://QUJDQUJ/", "qqdl://QUJDQUJ/"},
        {"only one slash goes", "thunder://QUJDQU//", "thunder://QUJDQU//"},
        {"FlashGet suffix ending in the browser's slash", "Flashget://QUJD&abc/",
         "Flashget://QUJD&abc"},
        {"FlashGet suffix of any length", "Flashget://QUJD&ab/", "Flashget://QUJD&ab"},
        {"slash before trailing whitespace", "thunder://QUJD/ \r\n", "thunder://QUJD"},
        {"slash inside the quotes", "\"thunder://QUJD/\"", "thunder://QUJD"},
        {"encoded slash counts once decoded", "thunder://QUJD%2F", "thunder://QUJD"},
        {"spaces do not count in the length", "thunder://QU JD /", "thunder://QUJD"},
    };
    for (const ReadCase& c : cases)
        check_reading(c);
}

// Links of each scheme that carry an address.
std::string thunder_link(std::string_view address) {
    return "thunder://" + encode_base64("AA" + std::string(address) + "ZZ");
}
std::string flashget_link(std::string_view address) {
    return "Flashget://" + encode_base64("[FLASHGET]" + std::string(address) + "[FLASHGET]");
}
std::string qqdl_link(std::string_view address) {
    return "qqdl://" + encode_base64(address);
}
std::string rayfile_link(std::string_view host_path) {
    return "fs2you://" + encode_base64(std::string(host_path) + "|1234");
}

struct ConversionCase {
    std::string name;
    std::string raw;
    std::optional<Scheme> scheme;  // asked for
    std::optional<std::string> address;
    Scheme outer = Scheme::thunder;
    Scheme inner = Scheme::thunder;
};

void check_conversion(const ConversionCase& c) {
    const std::optional<ForgivingConversion> result = convert_forgivingly(c.raw, c.scheme);
    ASSERT_EQ(result.has_value(), c.address.has_value()) << c.name;
    if (!result) return;
    EXPECT_EQ(result->address, *c.address) << c.name;
    EXPECT_EQ(result->outer.scheme, c.outer) << c.name;
    EXPECT_EQ(result->inner.scheme, c.inner) << c.name;
    EXPECT_EQ(route_link(result->outer.link), TargetBox::encoded) << c.name;
    EXPECT_EQ(route_link(result->inner.link), TargetBox::encoded) << c.name;
    // The inner link is what the strict converter turns into the address.
    EXPECT_EQ(convert_link(result->inner.scheme, result->inner.link), result->address) << c.name;
}

TEST(ForgivingConversion, DamagedLinksOfEveryScheme) {
    const std::string address = "http://example.com/dir/file.zip";
    // "?>>>" encodes to "Pz4+Pg==": '+' and '/' in the body for the browser to mangle.
    const std::string awkward = "http://h/?>>>";
    std::string encoded_link = thunder_link(awkward);
    std::string percent_encoded;
    for (char c : encoded_link) {
        if (c == ':' || c == '/' || c == '+' || c == '=') {
            char escape[4];
            std::snprintf(escape, sizeof escape, "%%%02X", static_cast<unsigned char>(c));
            percent_encoded += escape;
        } else {
            percent_encoded += c;
        }
    }
    const std::string flashget_body = flashget_link(address).substr(11);
    const ConversionCase cases[] = {
        {"canonical thunder", thunder_link(address), std::nullopt, address},
        {"everything at once", " \"THUNDER%3A%2F%2F" + percent_encoded.substr(16) + "/\"\r\n",
         std::nullopt, awkward},
        {"flashget lower case, suffix and the browser's slash",
         "flashget://" + flashget_body + "&1234567/", std::nullopt, address, Scheme::flashget,
         Scheme::flashget},
        {"qqdl with a line break", qqdl_link(address).insert(12, "\r\n"), std::nullopt, address,
         Scheme::qqdl, Scheme::qqdl},
        {"rayfile in quotes", "'" + rayfile_link("example.com/a.rar") + "'", std::nullopt,
         "http://example.com/a.rar", Scheme::rayfile, Scheme::rayfile},
        {"the asked-for scheme", "QQDL://" + qqdl_link(address).substr(7), Scheme::qqdl, address,
         Scheme::qqdl, Scheme::qqdl},
        {"another scheme than asked for", qqdl_link(address), Scheme::thunder, std::nullopt},
        {"no link", address, std::nullopt, std::nullopt},
        // Raw bytes of the address pass unchanged.
        {"code page 936 bytes", thunder_link("http://h/\xD6\xD0.zip"), std::nullopt,
         "http://h/\xD6\xD0.zip"},
    };
    for (const ConversionCase& c : cases)
        check_conversion(c);
}

TEST(ForgivingConversion, NestedLinksAreUnwrapped) {
    const std::string address = "http://example.com/a.zip";
    const std::string three_deep = thunder_link(flashget_link(qqdl_link(address)));
    const std::string four_deep = qqdl_link(three_deep);
    // Inner links as careless pages write them: lower case, with a browser's slash.
    const std::string damaged_inside =
        thunder_link("flashget://" + flashget_link(address).substr(11) + "&x/");
    const ConversionCase cases[] = {
        {"two deep", thunder_link(flashget_link(address)), std::nullopt, address, Scheme::thunder,
         Scheme::flashget},
        {"three deep", three_deep, std::nullopt, address, Scheme::thunder, Scheme::qqdl},
        {"three deep, damaged outside", "\"THUNDER://" + three_deep.substr(10) + "/\"",
         std::nullopt, address, Scheme::thunder, Scheme::qqdl},
        {"four deep", four_deep, std::nullopt, address, Scheme::qqdl, Scheme::qqdl},
        {"rayfile innermost", thunder_link(qqdl_link(rayfile_link("h/a.rar"))), std::nullopt,
         "http://h/a.rar", Scheme::thunder, Scheme::rayfile},
        {"a damaged inner link", damaged_inside, std::nullopt, address, Scheme::thunder,
         Scheme::flashget},
        {"an encoded inner link", qqdl_link("thunder%3A%2F%2F" + thunder_link(address).substr(10)),
         std::nullopt, address, Scheme::qqdl, Scheme::thunder},
        // Still a link after the last level: handing it on as an address would be wrong.
        {"five deep", thunder_link(four_deep), std::nullopt, std::nullopt},
        // An address that begins like a link but holds none is no address either.
        {"an unreadable inner link", qqdl_link("thunder:QUJD"), std::nullopt, std::nullopt},
        {"a name that only begins like a scheme", qqdl_link("thunderbird.zip"), std::nullopt,
         "thunderbird.zip", Scheme::qqdl, Scheme::qqdl},
        {"the asked-for scheme is the outer one", thunder_link(qqdl_link(address)), Scheme::thunder,
         address, Scheme::thunder, Scheme::qqdl},
        {"the inner scheme is not asked for", thunder_link(qqdl_link(address)), Scheme::qqdl,
         std::nullopt},
    };
    for (const ConversionCase& c : cases)
        check_conversion(c);
}

TEST(ForgivingConversion, LongLinksTakeLinearTime) {
    // 4 MiB of body with spaces, escapes and a slash: a quadratic step would time out.
    std::string body = encode_base64(std::string(3 << 20, 'x'));
    std::string raw = "  FS2YOU%3A%2F%2F";
    for (std::size_t i = 0; i < body.size(); i += 64)
        raw += body.substr(i, 64) + " %2B";
    raw += "/ ";
    const std::optional<ForgivingConversion> result = convert_forgivingly(raw);
    ASSERT_TRUE(result);
    EXPECT_EQ(result->outer.scheme, Scheme::rayfile);
    EXPECT_EQ(result->address.substr(0, 7), "http://");
}

}  // namespace
}  // namespace vantrel
