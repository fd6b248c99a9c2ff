// Code page 936 through MultiByteToWideChar, one character at a time so that an invalid
// byte becomes U+FFFD (the function's own default character would be '?').
#include <windows.h>

#include "gbk_decoder.h"

namespace {

constexpr UINT kCodePage936 = 936;

void append_utf8_code_unit(wchar_t unit, std::string& out) {
    const unsigned c = static_cast<unsigned>(unit);
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c >= 0xD800 && c <= 0xDFFF) {
        out += kReplacementCharacter;  // code page 936 maps into the BMP only
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

}  // namespace

GbkDecoder::GbkDecoder() : converter_(nullptr) {}

GbkDecoder::~GbkDecoder() = default;

void GbkDecoder::append_utf8(std::string_view bytes, std::string& out) {
    (void)converter_;
    for (std::size_t i = 0; i < bytes.size();) {
        const unsigned char c = static_cast<unsigned char>(bytes[i]);
        if (c < 0x80) {
            out += static_cast<char>(c);
            ++i;
            continue;
        }
        const int length = c >= 0x81 && c <= 0xFE && i + 1 < bytes.size() ? 2 : 1;
        wchar_t unit = 0;
        if (MultiByteToWideChar(kCodePage936, MB_ERR_INVALID_CHARS, bytes.data() + i, length, &unit,
                                1) == 1) {
            append_utf8_code_unit(unit, out);
            i += length;
        } else {
            out += kReplacementCharacter;
            ++i;
        }
    }
}
