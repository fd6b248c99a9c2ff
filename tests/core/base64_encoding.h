// Plain RFC 4648 encoding with padding, to build links from the addresses they carry.
#pragma once

#include <string>
#include <string_view>

namespace vantrel::testing_support {

inline std::string encode_base64(std::string_view bytes) {
    static const char kAlphabet[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        const std::size_t n = bytes.size() - i < 3 ? bytes.size() - i : 3;
        unsigned v = 0;
        for (std::size_t k = 0; k < 3; ++k) {
            v = (v << 8) | (k < n ? static_cast<unsigned char>(bytes[i + k]) : 0u);
        }
        for (std::size_t k = 0; k < 4; ++k) {
            out += k <= n ? kAlphabet[(v >> (18 - 6 * k)) & 63] : '=';
        }
    }
    return out;
}

}  // namespace vantrel::testing_support
