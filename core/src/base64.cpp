// The link decoder's Base64 reading.
//
// The text is cleaned first: spaces and full-width spaces go (a lead byte is stepped over
// with its partner, a dangling lead byte at the end is dropped), then every CR LF pair that
// stands at a character start goes, left to right, without rescanning. The cleaned text is
// read in groups of four characters. A position past the end reads as "A". A character
// outside the alphabet ends its group: it keeps its raw byte as the group value, the later
// values of the group keep what the previous group left there, the rest of the group is
// skipped, and the group still gives three bytes. Where the last group stopped decides how
// many bytes come off the end.
#include "vantrel/base64.h"

#include <array>
#include <cstddef>

namespace vantrel {

namespace {

MessagePump g_pump = nullptr;

// Value of each byte in the alphabet, or kInvalid. Byte 0 (what a position past the end
// reads as) has the value 0, the same as "A".
constexpr unsigned char kInvalid = 0x80;

constexpr std::array<unsigned char, 256> make_alphabet_table() {
    constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::array<unsigned char, 256> table{};
    for (auto& value : table)
        value = kInvalid;
    for (unsigned char i = 0; i < 64; ++i)
        table[static_cast<unsigned char>(kAlphabet[i])] = i;
    table[0] = 0;
    return table;
}

constexpr std::array<unsigned char, 256> kAlphabetValue = make_alphabet_table();

// Bytes that cleaning can change or that change how cleaning reads what follows.
inline bool needs_cleaning(unsigned char c) {
    return c == 0x20 || c == 0x0A || c >= 0x80;
}

std::size_t first_byte_needing_cleaning(std::string_view s) {
    const auto* data = reinterpret_cast<const unsigned char*>(s.data());
    const std::size_t size = s.size();
    constexpr std::size_t kBlock = 64;
    std::size_t i = 0;
    for (; i + kBlock <= size; i += kBlock) {
        unsigned hit = 0;
        for (std::size_t j = 0; j < kBlock; ++j) {
            const unsigned char c = data[i + j];
            hit |= static_cast<unsigned>(c == 0x20) | static_cast<unsigned>(c == 0x0A) |
                   static_cast<unsigned>(c >> 7);
        }
        if (hit) break;
    }
    for (; i < size; ++i) {
        if (needs_cleaning(data[i])) return i;
    }
    return size;
}

// Removes spaces and full-width spaces, then CR LF pairs, in one pass. `start` is the
// first byte that needs cleaning; the bytes before it are copied unchanged.
Text clean(std::string_view s, std::size_t start) {
    Text out;
    out.reserve(s.size());
    out.append(s.substr(0, start));
    // True while the last character written is a CR on its own, which a following LF
    // (once the spaces between them are gone) removes together with it.
    bool cr_pending = start > 0 && s[start - 1] == '\r';
    for (std::size_t p = start; p < s.size();) {
        const auto c = static_cast<unsigned char>(s[p]);
        if (is_lead_byte(c)) {
            if (p + 1 == s.size()) break;
            if (!(c == 0xA1 && static_cast<unsigned char>(s[p + 1]) == 0xA1)) {
                out.append(s.substr(p, 2));
                cr_pending = false;
            }
            p += 2;
            continue;
        }
        ++p;
        if (c == ' ') continue;
        if (c == '\n' && cr_pending) {
            out.pop_back();
            cr_pending = false;
            continue;
        }
        out.push_back(static_cast<char>(c));
        cr_pending = c == '\r';
    }
    return out;
}

}  // namespace

void install_message_pump(MessagePump pump) {
    g_pump = pump;
}

Bytes decode_base64(std::string_view encoded) {
    Text cleaned;
    std::string_view text = encoded;
    const std::size_t dirty = first_byte_needing_cleaning(encoded);
    if (dirty != encoded.size()) {
        cleaned = clean(encoded, dirty);
        text = cleaned;
    }

    const auto* in = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t length = text.size();
    const std::size_t groups = (length + 3) / 4;
    Bytes out(groups * 3);
    unsigned char* o = out.data();

    // The group values are not reset between groups: an early stop leaves the values of
    // the previous group in the positions after it.
    unsigned s1 = 0, s2 = 0, s3 = 0, s4 = 0;
    int stop = 0;
    for (std::size_t g = 0; g < groups; ++g) {
        const std::size_t base = g * 4;
        bool whole = false;
        if (base + 4 <= length) {
            const unsigned v1 = kAlphabetValue[in[base]];
            const unsigned v2 = kAlphabetValue[in[base + 1]];
            const unsigned v3 = kAlphabetValue[in[base + 2]];
            const unsigned v4 = kAlphabetValue[in[base + 3]];
            if (((v1 | v2 | v3 | v4) & kInvalid) == 0) {
                s1 = v1, s2 = v2, s3 = v3, s4 = v4;
                stop = 5;
                whole = true;
            }
        }
        if (!whole) {
            unsigned* const values[4] = {&s1, &s2, &s3, &s4};
            stop = 5;
            for (int e = 0; e < 4; ++e) {
                const std::size_t pos = base + static_cast<std::size_t>(e);
                const unsigned char c = pos < length ? in[pos] : 0;
                const unsigned char value = kAlphabetValue[c];
                if (value & kInvalid) {
                    *values[e] = c;
                    stop = e + 1;
                    break;
                }
                *values[e] = value;
            }
        }
        o[0] = static_cast<unsigned char>((s1 << 2) | (s2 >> 4));
        o[1] = static_cast<unsigned char>((s2 << 4) | (s3 >> 2));
        o[2] = static_cast<unsigned char>((s3 << 6) | s4);
        o += 3;
        if (MessagePump pump = g_pump) pump();
    }

    if (stop < 5) {
        const std::size_t drop = static_cast<std::size_t>(5 - stop);
        out.resize(out.size() > drop ? out.size() - drop : 0);
    }
    return out;
}

}  // namespace vantrel
