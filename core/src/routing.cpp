// The intake's routing table, tested in order; the first prefix that holds decides.
#include "vantrel/routing.h"

namespace vantrel {

namespace {

constexpr std::string_view kPlainPrefix = "http://";
constexpr std::string_view kEncodedPrefixes[] = {"thunder://", "qqdl://", "Flashget://",
                                                 "fs2you://"};

}  // namespace

bool is_plain_address(std::string_view text) {
    return text_starts_with(text, kPlainPrefix);
}

bool is_encoded_link(std::string_view text) {
    for (std::string_view prefix : kEncodedPrefixes) {
        if (text_starts_with(text, prefix)) return true;
    }
    return false;
}

TargetBox route_link(std::string_view text) {
    if (is_plain_address(text)) return TargetBox::plain;
    if (is_encoded_link(text)) return TargetBox::encoded;
    return TargetBox::none;
}

}  // namespace vantrel
