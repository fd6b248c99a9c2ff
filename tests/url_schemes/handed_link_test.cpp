// What a handed-over text becomes in the window, read in the test process: addresses as they
// are, links in their canonical (innermost) form, and WM_COPYDATA payloads checked before they
// are read.
#include <gtest/gtest.h>

#include "handed_link.h"
#include "url_scheme_support.h"
#include "vantrel/contract.h"

namespace vantrel {
namespace {

using url_scheme_test::kFlashget;
using url_scheme_test::kNested;
using url_scheme_test::kQqdl;

TEST(HandedLink, AddressesGoAsTheyAreLinksCanonicalAndEverythingElseNowhere) {
    using Kind = HandedLink::Kind;
    struct Case {
        std::string raw;
        Kind kind;
        std::string text;
        Scheme scheme;
    };
    const Case cases[] = {
        {"http://a/b.zip", Kind::plain, "http://a/b.zip", {}},
        {"HTTPS://a/b%20c.zip/", Kind::plain, "HTTPS://a/b%20c.zip/", {}},
        {"qqdl://aHR0cDovL2EvYi56aXA%3D/", Kind::encoded, kQqdl.link, Scheme::qqdl},
        {std::string(kNested.link) + "/", Kind::encoded, kFlashget.link, Scheme::flashget},
        {"ftp://a/b.zip", Kind::ignored, "", {}},
        {"http:/a", Kind::ignored, "", {}},
        {"", Kind::ignored, "", {}},
        {" \"thunder:\" ", Kind::ignored, "", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.raw);
        const HandedLink link = read_handed_link(c.raw);
        EXPECT_EQ(c.kind, link.kind);
        EXPECT_EQ(c.text, link.text);
        if (c.kind == Kind::encoded) {
            EXPECT_EQ(c.scheme, link.scheme);
        }
    }
}

TEST(HandedLink, ACopyDataPayloadIsTakenOnlyWithTheTagWithinTheLimitAndWithoutZeroBytes) {
    const std::string link = kQqdl.link;
    const std::string followed = link + "XYZ";
    const std::string limit(kCopyDataLinkLimit + 1, 'a');
    const std::string zero("qqdl://a\0b", 10);
    struct Case {
        const char* name;
        COPYDATASTRUCT data;
        std::optional<Text> taken;
    };
    const Case cases[] = {
        {"read by its length",
         {kCopyDataLinkTag, DWORD(link.size()), (void*)followed.data()},
         link},
        {"empty", {kCopyDataLinkTag, 0, nullptr}, Text{}},
        {"exactly the limit",
         {kCopyDataLinkTag, kCopyDataLinkLimit, (void*)limit.data()},
         Text(kCopyDataLinkLimit, 'a')},
        {"beyond the limit",
         {kCopyDataLinkTag, kCopyDataLinkLimit + 1, (void*)limit.data()},
         std::nullopt},
        {"another tag",
         {kCopyDataLinkTag ^ 1, DWORD(link.size()), (void*)link.data()},
         std::nullopt},
        {"a zero byte", {kCopyDataLinkTag, DWORD(zero.size()), (void*)zero.data()}, std::nullopt},
        {"a size without data", {kCopyDataLinkTag, 4, nullptr}, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.taken, link_from_copy_data(&c.data));
    }
    EXPECT_EQ(std::nullopt, link_from_copy_data(nullptr));
}

}  // namespace
}  // namespace vantrel
