// Finishing an address: the charset verdict, the ASCII form and the file name, each one pass
// over the bytes.
#include "vantrel/address.h"

#include <cstring>

#include "percent_escapes.h"

namespace vantrel {

namespace {

constexpr std::string_view kSeparator = "://";
constexpr const char* kCharsetNames[] = {"ascii", "utf-8", "gbk"};

unsigned char byte_at(std::string_view s, std::size_t i) {
    return static_cast<unsigned char>(s[i]);
}

bool is_control(unsigned char c) {
    return c < 0x20 || c == 0x7F;
}

bool needs_escape_in_ascii_form(unsigned char c) {
    return c >= 0x80 || is_control(c) || c == ' ' || std::strchr("\"<>\\^`{|}", c) != nullptr;
}

bool cannot_stand_in_name(unsigned char c) {
    return is_control(c) || c == '/' || c == '\\';
}

// The length of the valid UTF-8 sequence at i, 0 when there is none.
std::size_t utf8_sequence_at(std::string_view s, std::size_t i) {
    const unsigned char c = byte_at(s, i);
    std::size_t length;
    unsigned char low = 0x80, high = 0xBF;  // the range of the second byte
    if (c >= 0xC2 && c <= 0xDF) {
        length = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
        length = 3;
        if (c == 0xE0) low = 0xA0;   // no overlong forms
        if (c == 0xED) high = 0x9F;  // no surrogates
    } else if (c >= 0xF0 && c <= 0xF4) {
        length = 4;
        if (c == 0xF0) low = 0x90;   // no overlong forms
        if (c == 0xF4) high = 0x8F;  // nothing above U+10FFFF
    } else {
        return 0;
    }
    if (s.size() - i < length) return 0;
    if (byte_at(s, i + 1) < low || byte_at(s, i + 1) > high) return 0;
    for (std::size_t k = 2; k < length; ++k) {
        if (byte_at(s, i + k) < 0x80 || byte_at(s, i + k) > 0xBF) return 0;
    }
    return length;
}

}  // namespace

Charset charset_of(std::string_view bytes) {
    bool ascii = true;
    for (std::size_t i = 0; i < bytes.size();) {
        if (byte_at(bytes, i) < 0x80) {
            ++i;
            continue;
        }
        const std::size_t length = utf8_sequence_at(bytes, i);
        if (length == 0) return Charset::gbk;
        ascii = false;
        i += length;
    }
    return ascii ? Charset::ascii : Charset::utf8;
}

const char* charset_name(Charset charset) {
    return kCharsetNames[static_cast<int>(charset)];
}

Text ascii_form(std::string_view address) {
    Text out;
    out.reserve(address.size());
    for (char c : address) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (needs_escape_in_ascii_form(byte)) {
            append_percent_escape(out, byte);
        } else {
            out += c;
        }
    }
    return out;
}

Text file_name_of(std::string_view address) {
    const std::string_view path = address.substr(0, address.find_first_of("?#"));
    const std::size_t separator = path.find(kSeparator);
    if (separator != std::string_view::npos &&
        path.find('/', separator + kSeparator.size()) == std::string_view::npos) {
        return Text();  // a host and no path
    }
    const std::size_t last_slash = path.rfind('/');
    const std::string_view segment =
        last_slash == std::string_view::npos ? path : path.substr(last_slash + 1);

    Text name;
    name.reserve(segment.size());
    for (std::size_t i = 0; i < segment.size(); ++i) {
        unsigned char byte = byte_at(segment, i);
        if (is_percent_escape_at(segment, i)) {
            byte = percent_escape_value(segment, i);
            i += 2;
        }
        if (cannot_stand_in_name(byte)) {
            append_percent_escape(name, byte);
        } else {
            name += static_cast<char>(byte);
        }
    }
    if (name == "." || name == "..") return Text();
    return name;
}

}  // namespace vantrel
