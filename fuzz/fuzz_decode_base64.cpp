// Fuzzes decode_base64 against the literal, slow reading of its rules built from the text
// primitives (vantrel/reference.h), and checks the length rule: three bytes per group of four
// characters, less the trimming of the last group.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "vantrel/base64.h"
#include "vantrel/reference.h"

using namespace vantrel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    input = input.substr(0, input.find('\0'));  // a Text holds no zero byte
    const Bytes decoded = decode_base64(input);
    if (input.size() > 4096) return 0;  // the literal reading is slow: keep it to small texts

    const reference::Base64Reading expected = reference::decode_base64_step_by_step(input);
    if (decoded != expected.bytes) std::abort();
    const int trimmed = expected.stop < 5 ? 5 - expected.stop : 0;
    const auto length = 3 * expected.groups - trimmed;
    if (static_cast<std::int64_t>(decoded.size()) != (length > 0 ? length : 0)) std::abort();
    return 0;
}
