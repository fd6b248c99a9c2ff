// Fuzzes the four link converters. Properties:
// - the format error comes exactly when the link lacks the scheme's prefix;
// - every result is a Text (no zero byte);
// - RayFile's result always begins with "http://";
// - a canonical encoding of any text without zero bytes comes back unchanged from qqdl://.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "vantrel/links.h"

using namespace vantrel;

namespace {

std::string encode_canonically(std::string_view text) {
    static constexpr char kAlphabet[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    std::size_t i = 0;
    for (; i + 3 <= text.size(); i += 3) {
        const unsigned v = (static_cast<unsigned char>(text[i]) << 16) |
                           (static_cast<unsigned char>(text[i + 1]) << 8) |
                           static_cast<unsigned char>(text[i + 2]);
        out += {kAlphabet[v >> 18], kAlphabet[(v >> 12) & 63], kAlphabet[(v >> 6) & 63],
                kAlphabet[v & 63]};
    }
    if (text.size() - i == 1) {
        const unsigned v = static_cast<unsigned char>(text[i]) << 16;
        out += {kAlphabet[v >> 18], kAlphabet[(v >> 12) & 63], '=', '='};
    } else if (text.size() - i == 2) {
        const unsigned v = (static_cast<unsigned char>(text[i]) << 16) |
                           (static_cast<unsigned char>(text[i + 1]) << 8);
        out += {kAlphabet[v >> 18], kAlphabet[(v >> 12) & 63], kAlphabet[(v >> 6) & 63], '='};
    }
    return out;
}

void check_text(const Text& text) {
    if (text.find('\0') != Text::npos) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    input = input.substr(0, input.find('\0'));

    for (const SchemeInfo& info : kSchemes) {
        const std::string_view prefix = info.prefix;
        const bool has_prefix = input.substr(0, prefix.size()) == prefix;
        std::string link(input);
        for (const std::string& candidate : {link, std::string(prefix) + link}) {
            const bool expect_success = candidate == link ? has_prefix : true;
            const ConversionResult result =
                convert_link(info.scheme, candidate, [](const Text& text) { check_text(text); });
            if (result.has_value() != expect_success) std::abort();
            if (!result) continue;
            check_text(*result);
            if (info.scheme == Scheme::rayfile && result->rfind("http://", 0) != 0) std::abort();
        }
    }

    const ConversionResult round_trip = convert_qqdl("qqdl://" + encode_canonically(input));
    if (!round_trip || *round_trip != input) std::abort();
    return 0;
}
