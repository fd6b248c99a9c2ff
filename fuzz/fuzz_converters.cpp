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

#include "base64_encoding.h"
#include "vantrel/links.h"

using namespace vantrel;

namespace {

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

    const ConversionResult round_trip =
        convert_qqdl("qqdl://" + testing_support::encode_base64(input));
    if (!round_trip || *round_trip != input) std::abort();
    return 0;
}
