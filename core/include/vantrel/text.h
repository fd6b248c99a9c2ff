// Text and byte primitives of the link decoder.
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

inline bool is_lead_byte(unsigned char c) { return c >= 0x80; }

int text_length(std::string_view s);
Text text_left(std::string_view s, std::int64_t n);
Text text_right(std::string_view s, std::int64_t n);
Text text_mid(std::string_view s, std::int64_t start, std::int64_t n);
int text_find(std::string_view s, std::string_view t);
Text text_replace(std::string_view s, std::string_view t, std::string_view replacement = {});
Text text_remove_spaces(std::string_view s);
int text_char_code(std::string_view s, std::int64_t pos);
Text text_from_char_code(std::int64_t code);
int text_compare(std::string_view a, std::string_view b);
Text text_concat(std::initializer_list<std::string_view> parts);
Text text_blank(std::int64_t n);

Text to_text(const Bytes& b);
Text to_text(std::int32_t v);
Text to_text(std::string_view s);

int bytes_length(const Bytes& b);
Bytes bytes_left(const Bytes& b, std::int64_t n);
Bytes bytes_concat(std::initializer_list<const Bytes*> parts);

double divide_truncated(double a, double b);
double remainder_truncated(double a, double b);
std::int32_t bit_or(std::int32_t a, std::int32_t b);
std::int64_t truncate_to_integer(double x);

// True when the first bytes of s are exactly prefix (case-sensitive, nothing trimmed).
bool text_starts_with(std::string_view s, std::string_view prefix);

}  // namespace vantrel
