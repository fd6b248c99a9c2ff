// Text and byte primitives. Every operation takes its arguments by view and returns a new
// value; out-of-range counts and positions give shorter or empty results.
#include "vantrel/text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

namespace vantrel {

namespace {

unsigned char byte_at(std::string_view s, std::size_t i) {
    return static_cast<unsigned char>(s[i]);
}

bool bytes_equal_at(std::string_view s, std::size_t i, std::string_view t) {
    return t.empty() || std::memcmp(s.data() + i, t.data(), t.size()) == 0;
}

// The number of bytes from the start of s, clamped to [0, s.size()].
std::size_t clamp_count(std::string_view s, std::int64_t n) {
    if (n <= 0) return 0;
    return static_cast<std::size_t>(
        std::min<std::uint64_t>(static_cast<std::uint64_t>(n), s.size()));
}

}  // namespace

int text_length(std::string_view s) {
    return static_cast<int>(s.size());
}

Text text_left(std::string_view s, std::int64_t n) {
    return Text(s.substr(0, clamp_count(s, n)));
}

Text text_mid(std::string_view s, std::int64_t start, std::int64_t n) {
    // A start of 0 or less is not moved to 1: it gives the empty text.
    if (start < 1 || static_cast<std::uint64_t>(start - 1) >= s.size() || n <= 0) return Text();
    const std::string_view rest = s.substr(static_cast<std::size_t>(start - 1));
    return Text(rest.substr(0, clamp_count(rest, n)));
}

int text_find(std::string_view s, std::string_view t) {
    if (t.empty()) return s.empty() ? -1 : 1;
    // Only character starts are tried: a lead byte takes the byte after it along.
    std::size_t p = 0;
    while (s.size() - p >= t.size()) {
        if (bytes_equal_at(s, p, t)) return static_cast<int>(p + 1);
        if (is_lead_byte(byte_at(s, p))) {
            if (p + 1 == s.size()) break;
            ++p;
        }
        ++p;
    }
    return -1;
}

Text text_replace(std::string_view s, std::string_view t, std::string_view replacement) {
    if (s.empty() || t.empty()) return Text(s);
    Text out;
    out.reserve(s.size());
    std::size_t p = 0;
    while (s.size() - p >= t.size()) {
        if (bytes_equal_at(s, p, t)) {
            out.append(replacement);
            p += t.size();
        } else if (is_lead_byte(byte_at(s, p))) {
            if (p + 1 == s.size()) return out;  // a dangling lead byte is dropped
            out.append(s.substr(p, 2));
            p += 2;
        } else {
            out.push_back(s[p]);
            ++p;
        }
    }
    out.append(s.substr(p));
    return out;
}

Text text_concat(std::initializer_list<std::string_view> parts) {
    std::size_t total = 0;
    for (std::string_view part : parts)
        total += part.size();
    Text out;
    out.reserve(total);
    for (std::string_view part : parts)
        out.append(part);
    return out;
}

Text to_text(const Bytes& b) {
    const auto end = std::find(b.begin(), b.end(), 0);
    return Text(b.begin(), end);
}

Text to_text(std::int32_t v) {
    char buffer[16];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, v).ptr;
    return Text(buffer, end);
}

Text to_text(std::string_view s) {
    return Text(s);
}

bool text_starts_with(std::string_view s, std::string_view prefix) {
    return s.size() >= prefix.size() && bytes_equal_at(s, 0, prefix);
}

bool text_starts_with_any_case(std::string_view s, std::string_view lower_prefix) {
    if (s.size() < lower_prefix.size()) return false;
    for (std::size_t i = 0; i < lower_prefix.size(); ++i) {
        if (ascii_lower(s[i]) != lower_prefix[i]) return false;
    }
    return true;
}

}  // namespace vantrel
