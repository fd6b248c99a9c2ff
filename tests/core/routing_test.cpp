// The intake's routing table: byte for byte, case-sensitive, nothing trimmed.
#include "vantrel/routing.h"

#include <gtest/gtest.h>

#include <string>

namespace vantrel {
namespace {

TEST(Routing, Table) {
    struct Case {
        std::string text;
        TargetBox box;
    };
    const Case cases[] = {
        {"http://host/file.zip", TargetBox::plain},
        {"http://", TargetBox::plain},
        {"http://a/b\r\nmore", TargetBox::plain},
        {"http:/", TargetBox::none},
        {"https://x", TargetBox::none},
        {"HTTP://x", TargetBox::none},
        {"Https://x", TargetBox::none},
        {" http://x", TargetBox::none},
        {"thunder://QUFhYmNaWg==", TargetBox::encoded},
        {"thunder://", TargetBox::encoded},
        {"qqdl://x", TargetBox::encoded},
        {"Flashget://x", TargetBox::encoded},
        {"fs2you://x", TargetBox::encoded},
        {"Thunder://x", TargetBox::none},
        {"QQDL://x", TargetBox::none},
        {"flashget://x", TargetBox::none},
        {"Fs2you://x", TargetBox::none},
        {"thunder:/", TargetBox::none},
        {"", TargetBox::none},
        {"ftp://x", TargetBox::none},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(route_link(c.text), c.box) << c.text;
        EXPECT_EQ(is_plain_address(c.text), c.box == TargetBox::plain) << c.text;
        EXPECT_EQ(is_encoded_link(c.text), c.box == TargetBox::encoded) << c.text;
    }
}

}  // namespace
}  // namespace vantrel
