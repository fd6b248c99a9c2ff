#include "vantrel/reference.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace vantrel::reference {

namespace {

// The number of bytes from the start of s, clamped to [0, s.size()].
std::size_t count_from_start(std::string_view s, std::int64_t n) {
    if (n <= 0) return 0;
    return static_cast<std::size_t>(
        std::min<std::uint64_t>(static_cast<std::uint64_t>(n), s.size()));
}

}  // namespace

Text text_right(std::string_view s, std::int64_t n) {
    const std::size_t count = count_from_start(s, n);
    return Text(s.substr(s.size() - count));
}

Text text_remove_spaces(std::string_view s) {
    Text out;
    out.reserve(s.size());
    for (std::size_t p = 0; p < s.size();) {
        const unsigned char c = static_cast<unsigned char>(s[p]);
        if (is_lead_byte(c)) {
            if (p + 1 == s.size()) break;  // a dangling lead byte is dropped
            if (!(c == 0xA1 && static_cast<unsigned char>(s[p + 1]) == 0xA1))
                out.append(s.substr(p, 2));
            p += 2;
        } else {
            if (c != 0x20) out.push_back(static_cast<char>(c));
            ++p;
        }
    }
    return out;
}

int text_char_code(std::string_view s, std::int64_t pos) {
    if (pos < 1 || static_cast<std::uint64_t>(pos) > s.size()) return 0;
    return static_cast<signed char>(s[static_cast<std::size_t>(pos - 1)]);
}

Text text_from_char_code(std::int64_t code) {
    const char c = static_cast<char>(static_cast<unsigned char>(code & 0xFF));
    if (c == 0) return Text();
    return Text(1, c);
}

int text_compare(std::string_view a, std::string_view b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const unsigned char x = static_cast<unsigned char>(a[i]);
        const unsigned char y = static_cast<unsigned char>(b[i]);
        if (x != y) return x < y ? -1 : 1;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

Text text_blank(std::int64_t n) {
    if (n <= 0) return Text();
    return Text(static_cast<std::size_t>(n), ' ');
}

int bytes_length(const Bytes& b) {
    return static_cast<int>(b.size());
}

Bytes bytes_left(const Bytes& b, std::int64_t n) {
    if (n <= 0) return Bytes();
    const std::size_t count =
        static_cast<std::size_t>(std::min<std::uint64_t>(static_cast<std::uint64_t>(n), b.size()));
    return Bytes(b.begin(), b.begin() + static_cast<std::ptrdiff_t>(count));
}

Bytes bytes_concat(std::initializer_list<const Bytes*> parts) {
    std::size_t total = 0;
    for (const Bytes* part : parts) {
        if (part) total += part->size();
    }
    Bytes out;
    out.reserve(total);
    for (const Bytes* part : parts) {
        if (part) out.insert(out.end(), part->begin(), part->end());
    }
    return out;
}

double divide_truncated(double a, double b) {
    return std::trunc(a / b);
}

// fmod gives a - b * trunc(a / b) exactly, with the sign of a.
double remainder_truncated(double a, double b) {
    return std::fmod(a, b);
}

std::int32_t bit_or(std::int32_t a, std::int32_t b) {
    return a | b;
}

std::int64_t truncate_to_integer(double x) {
    // Not-a-number and values beyond the 64-bit range have no integer; they give 0 and the
    // nearest end of the range instead of undefined behaviour.
    if (std::isnan(x)) return 0;
    constexpr double kLimit = 9223372036854775808.0;  // 2^63
    if (x >= kLimit) return std::numeric_limits<std::int64_t>::max();
    if (x < -kLimit) return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(x);
}

Base64Reading decode_base64_step_by_step(std::string_view encoded) {
    static const std::string kAlphabet =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    const Text cleaned = text_replace(text_remove_spaces(encoded), "\r\n", "");
    const int length = text_length(cleaned);
    Base64Reading reading;
    reading.groups = truncate_to_integer(divide_truncated(length, 4.0));
    if (std::abs(remainder_truncated(length, 4.0)) > 1e-7) ++reading.groups;
    unsigned char s[4] = {0, 0, 0, 0};
    unsigned char t[3] = {0, 0, 0};
    Bytes& out = reading.bytes;
    for (std::int64_t i = 1; i <= reading.groups; ++i) {
        reading.stop = 5;
        for (int e = 1; e <= 4; ++e) {
            const auto c = static_cast<unsigned char>(
                text_char_code(cleaned, truncate_to_integer(4.0 * (i - 1) + e)));
            s[e - 1] = c;
            const int found = text_find(kAlphabet, text_from_char_code(c));
            if (found == -1) {
                reading.stop = e;
                break;
            }
            s[e - 1] = static_cast<unsigned char>(found - 1);
        }
        t[0] = static_cast<unsigned char>(
            bit_or(static_cast<std::int32_t>(truncate_to_integer(s[0] * 4.0)),
                   static_cast<std::int32_t>(truncate_to_integer(s[1] / 16.0))));
        t[1] = static_cast<unsigned char>(
            bit_or(static_cast<std::int32_t>(truncate_to_integer(s[1] * 16.0)),
                   static_cast<std::int32_t>(truncate_to_integer(s[2] / 4.0))));
        t[2] = static_cast<unsigned char>(
            bit_or(static_cast<std::int32_t>(truncate_to_integer(s[2] * 64.0)), s[3]));
        const Bytes triple(t, t + 3);
        out = bytes_concat({&out, &triple});
    }
    if (reading.stop < 5) out = bytes_left(out, bytes_length(out) - (5 - reading.stop));
    return reading;
}

}  // namespace vantrel::reference
