// The slow, literal side of the link decoder, for its tests and fuzzers only (nothing that
// ships uses it): the text and number primitives that the decoder's rules are written in
// beyond those of vantrel/text.h, and the Base64 reading written step by step with them, the
// oracle for decode_base64's one-pass cleaning and table lookups.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string_view>

#include "vantrel/text.h"

namespace vantrel::reference {

Text text_right(std::string_view s, std::int64_t n);
// Drops the spaces (0x20) and full-width spaces (0xA1 0xA1); a dangling lead byte goes too.
Text text_remove_spaces(std::string_view s);
// The byte at a 1-based position as a signed char; 0 out of range.
int text_char_code(std::string_view s, std::int64_t pos);
Text text_from_char_code(std::int64_t code);
int text_compare(std::string_view a, std::string_view b);
Text text_blank(std::int64_t n);

int bytes_length(const Bytes& b);
Bytes bytes_left(const Bytes& b, std::int64_t n);
Bytes bytes_concat(std::initializer_list<const Bytes*> parts);

double divide_truncated(double a, double b);
double remainder_truncated(double a, double b);
std::int32_t bit_or(std::int32_t a, std::int32_t b);
std::int64_t truncate_to_integer(double x);

// The Base64 reading, step by step: the bytes, the number of groups of four characters, and
// where the last group stopped (1..4: at that character, which is not in the alphabet; 5: it
// was whole; 0: there was no group).
struct Base64Reading {
    Bytes bytes;
    std::int64_t groups = 0;
    int stop = 0;
};
Base64Reading decode_base64_step_by_step(std::string_view encoded);

}  // namespace vantrel::reference
