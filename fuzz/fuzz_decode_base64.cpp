// Fuzzes decode_base64 against a literal, slow reading of its rules built from the text
// primitives, and checks the length rule: three bytes per group of four characters, less
// the trimming of the last group.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "vantrel/base64.h"
#include "vantrel/text.h"

using namespace vantrel;

namespace {

constexpr std::string_view kAlphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

struct Reference {
    Bytes bytes;
    int groups = 0;
    int stop = 0;
};

Reference decode_literally(std::string_view encoded) {
    Reference r;
    const Text cleaned = text_replace(text_remove_spaces(encoded), "\r\n");
    const int length = text_length(cleaned);
    r.groups = length / 4 + (length % 4 != 0 ? 1 : 0);
    unsigned char values[4] = {0, 0, 0, 0};
    for (int i = 1; i <= r.groups; ++i) {
        for (int e = 1; e <= 4; ++e) {
            const auto c = static_cast<unsigned char>(text_char_code(cleaned, 4 * (i - 1) + e));
            values[e - 1] = c;
            const int found = text_find(kAlphabet, text_from_char_code(c));
            if (found == -1) {
                r.stop = e;
                break;
            }
            values[e - 1] = static_cast<unsigned char>(found - 1);
            if (e == 4) r.stop = 5;
        }
        r.bytes.push_back(static_cast<unsigned char>((values[0] * 4) | (values[1] / 16)));
        r.bytes.push_back(static_cast<unsigned char>((values[1] * 16) | (values[2] / 4)));
        r.bytes.push_back(static_cast<unsigned char>((values[2] * 64) | values[3]));
    }
    if (r.stop < 5) r.bytes = bytes_left(r.bytes, bytes_length(r.bytes) - (5 - r.stop));
    return r;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    input = input.substr(0, input.find('\0'));  // a Text holds no zero byte
    const Bytes decoded = decode_base64(input);
    if (input.size() > 4096) return 0;  // the literal reading is slow: keep it to small texts

    const Reference expected = decode_literally(input);
    if (decoded != expected.bytes) std::abort();
    const int trimmed = expected.stop < 5 ? 5 - expected.stop : 0;
    const int length = 3 * expected.groups - trimmed;
    if (static_cast<int>(decoded.size()) != (length > 0 ? length : 0)) std::abort();
    return 0;
}
