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
#include <cstring>

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

// The position of the first byte from `from` on that needs cleaning, or the size.
std::size_t next_byte_needing_cleaning(std::string_view s, std::size_t from) {
    const auto* data = reinterpret_cast<const unsigned char*>(s.data());
    const std::size_t size = s.size();
    constexpr std::size_t kBlock = 16;
    std::size_t i = from;
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
// first byte that needs cleaning; the ones before it are copied as they are.
Text clean(std::string_view s, std::size_t start) {
    Text out(s.size(), '\0');
    char* const first = out.data();
    char* o = first;
    // A CR written just before `o` pairs with a following LF unless it is a lead byte's
    // partner or was passed over before a CR LF pair that has gone (no rescan).
    const char* no_pair_at = nullptr;
    std::size_t p = 0;
    std::size_t special = start;
    for (;;) {
        std::memcpy(o, s.data() + p, special - p);
        o += special - p;
        p = special;
        if (p == s.size()) break;

        const auto c = static_cast<unsigned char>(s[p]);
        if (is_lead_byte(c)) {
            if (p + 1 == s.size()) break;  // a dangling lead byte is dropped
            if (!(c == 0xA1 && static_cast<unsigned char>(s[p + 1]) == 0xA1)) {
                *o++ = s[p];
                *o++ = s[p + 1];
                no_pair_at = o;
            }
            p += 2;
        } else {
            if (c == '\n' && o != first && o[-1] == '\r' && o != no_pair_at) {
                --o;
                no_pair_at = o;
            } else if (c == '\n') {
                *o++ = '\n';
            }
            ++p;  // a space goes
        }
        special = next_byte_needing_cleaning(s, p);
    }
    out.resize(static_cast<std::size_t>(o - first));
    return out;
}

}  // namespace

void install_message_pump(MessagePump pump) {
    g_pump = pump;
}

Bytes decode_base64(std::string_view encoded) {
    // Cleaning never lengthens the text, so the raw length bounds the output.
    Bytes out((encoded.size() + 3) / 4 * 3);
    unsigned char* o = out.data();

    // The text is read as it is while its groups are all alphabet characters. At the first
    // group that is not, the rest is searched once for bytes that need cleaning; when there
    // are any, the rest is cleaned (everything before it is alphabet characters, which
    // cleaning leaves alone) and reading goes on in the cleaned text.
    std::string_view text = encoded;
    Text cleaned;
    bool rest_checked = false;

    // The group values are not reset between groups: an early stop leaves the values of
    // the previous group in the positions after it.
    unsigned s1 = 0, s2 = 0, s3 = 0, s4 = 0;
    int stop = 0;
    std::size_t base = 0;
    while (base < text.size()) {
        const auto* in = reinterpret_cast<const unsigned char*>(text.data()) + base;
        const std::size_t left = text.size() - base;
        if (left >= 4 && ((kAlphabetValue[in[0]] | kAlphabetValue[in[1]] | kAlphabetValue[in[2]] |
                           kAlphabetValue[in[3]]) &
                          kInvalid) == 0) {
            s1 = kAlphabetValue[in[0]];
            s2 = kAlphabetValue[in[1]];
            s3 = kAlphabetValue[in[2]];
            s4 = kAlphabetValue[in[3]];
            stop = 5;
        } else {
            if (!rest_checked) {
                rest_checked = true;
                const std::size_t dirty = next_byte_needing_cleaning(text, base);
                if (dirty != text.size()) {
                    cleaned = clean(text.substr(base), dirty - base);
                    text = cleaned;
                    base = 0;
                    continue;
                }
            }
            // Reads the character at e into value; at an invalid character the value is its
            // raw byte and the result false. A position past the end reads as byte 0.
            const auto take = [in, left](std::size_t e, unsigned& value) {
                const unsigned char c = e < left ? in[e] : 0;
                const unsigned char found = kAlphabetValue[c];
                value = (found & kInvalid) ? c : found;
                return (found & kInvalid) == 0;
            };
            stop = !take(0, s1) ? 1 : !take(1, s2) ? 2 : !take(2, s3) ? 3 : !take(3, s4) ? 4 : 5;
        }
        o[0] = static_cast<unsigned char>((s1 << 2) | (s2 >> 4));
        o[1] = static_cast<unsigned char>((s2 << 4) | (s3 >> 2));
        o[2] = static_cast<unsigned char>((s3 << 6) | s4);
        o += 3;
        if (MessagePump pump = g_pump) pump();
        base += 4;
    }

    // Only where the last group stopped counts; with no group at all, 5 bytes are to go
    // from nothing.
    std::size_t size = static_cast<std::size_t>(o - out.data());
    if (stop < 5) {
        const std::size_t drop = static_cast<std::size_t>(5 - stop);
        size = size > drop ? size - drop : 0;
    }
    out.resize(size);
    return out;
}

}  // namespace vantrel
