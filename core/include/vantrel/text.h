// Text and byte primitives of the link decoder: the ones that the program and the converter
// use. The rest of the rules' vocabulary, for the tests and fuzzers, is vantrel/reference.h.
//
// A Text is a run of bytes in the system's ANSI code page (936 on the target systems) that
// never holds a zero byte; positions are 1-based byte positions. Bytes may hold anything.
// Empty and absent are one value for both. No operation fails: counts and positions out of
// range give shorter or empty results, a missing text gives position -1, a read past the
// end gives 0. Scanning operations step over a lead byte (0x80..0xFF) and the byte after it
// as one character; cutting operations count bytes blindly.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace vantrel {

using Text = std::string;
using Bytes = std::vector<unsigned char>;

inline bool is_lead_byte(unsigned char c) {
    return c >= 0x80;
}

int text_length(std::string_view s);
Text text_left(std::string_view s, std::int64_t n);
Text text_mid(std::string_view s, std::int64_t start, std::int64_t n);
int text_find(std::string_view s, std::string_view t);
Text text_replace(std::string_view s, std::string_view t, std::string_view replacement = {});
Text text_concat(std::initializer_list<std::string_view> parts);

Text to_text(const Bytes& b);
Text to_text(std::int32_t v);
Text to_text(std::string_view s);

// True when the first bytes of s are exactly prefix (case-sensitive, nothing trimmed).
bool text_starts_with(std::string_view s, std::string_view prefix);

// An ASCII capital A-Z as its small letter; every other byte as it is.
inline char ascii_lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// True when the first bytes of s are lower_prefix with its ASCII letters in any case
// (lower_prefix is written in small letters; nothing trimmed).
bool text_starts_with_any_case(std::string_view s, std::string_view lower_prefix);

}  // namespace vantrel
