// %XX escapes, read and written the same way by the forgiving reader and the finisher.
#pragma once

#include <string_view>

#include "vantrel/text.h"

namespace vantrel {

inline int hex_digit_value(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// True when s holds '%' and two hex digits (any case) at i.
inline bool is_percent_escape_at(std::string_view s, std::size_t i) {
    return s[i] == '%' && i + 2 < s.size() && hex_digit_value(s[i + 1]) >= 0 &&
           hex_digit_value(s[i + 2]) >= 0;
}

// The byte of the escape at i (is_percent_escape_at(s, i) must hold).
inline unsigned char percent_escape_value(std::string_view s, std::size_t i) {
    return static_cast<unsigned char>(hex_digit_value(s[i + 1]) * 16 + hex_digit_value(s[i + 2]));
}

// Writes the byte as %XX with upper-case hex digits.
inline void append_percent_escape(Text& out, unsigned char byte) {
    constexpr char kHexDigits[] = "0123456789ABCDEF";
    out += '%';
    out += kHexDigits[byte >> 4];
    out += kHexDigits[byte & 15];
}

}  // namespace vantrel
