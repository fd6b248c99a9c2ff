#include "json_text.h"

namespace {

constexpr char kHexDigits[] = "0123456789abcdef";

}  // namespace

void append_json_string(std::string_view utf8, std::string& out) {
    out += '"';
    for (char c : utf8) {
        const unsigned char byte = static_cast<unsigned char>(c);
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (byte < 0x20 || byte == 0x7F) {
                    out += "\\u00";
                    out += kHexDigits[byte >> 4];
                    out += kHexDigits[byte & 15];
                } else {
                    out += c;
                }
        }
    }
    out += '"';
}
