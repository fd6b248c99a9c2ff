#include "result_formats.h"

#include "json_text.h"
#include "vantrel/address.h"

namespace {

constexpr std::string_view kFormatNames[] = {"raw", "ascii", "json", "aria2"};
constexpr std::string_view kAria2OutOption = "  out=";

}  // namespace

std::optional<Format> format_by_name(std::string_view name) {
    for (std::size_t i = 0; i < std::size(kFormatNames); ++i) {
        if (name == kFormatNames[i]) return static_cast<Format>(i);
    }
    return std::nullopt;
}

void ResultWriter::append_display_text(std::string_view bytes, std::string& out) {
    if (vantrel::charset_of(bytes) == vantrel::Charset::gbk) {
        decoder_.append_utf8(bytes, out);
    } else {
        out.append(bytes);
    }
}

void ResultWriter::append_json_start(long long line, std::string_view input, std::string& out) {
    out += "{\"line\":";
    out += std::to_string(line);
    out += ",\"input\":";
    std::string text;
    append_display_text(input, text);
    append_json_string(text, out);
}

void ResultWriter::success(long long line, std::string_view input, const Converted& converted,
                           std::string& out) {
    const vantrel::Text& address = converted.address;
    switch (format_) {
        case Format::raw:
            out += address;
            out += '\n';
            return;
        case Format::ascii:
            out += vantrel::ascii_form(address);
            out += '\n';
            return;
        case Format::aria2: {
            out += vantrel::ascii_form(address);
            out += '\n';
            const vantrel::Text name = vantrel::file_name_of(address);
            if (!name.empty()) {
                out += kAria2OutOption;
                append_display_text(name, out);
                out += '\n';
            }
            return;
        }
        case Format::json: {
            append_json_start(line, input, out);
            std::string text;
            out += ",\"scheme\":";
            append_json_string(vantrel::scheme_info(converted.scheme).name, out);
            out += ",\"address\":";
            append_display_text(address, text);
            append_json_string(text, out);
            out += ",\"ascii\":";
            append_json_string(vantrel::ascii_form(address), out);
            out += ",\"charset\":";
            append_json_string(vantrel::charset_name(vantrel::charset_of(address)), out);
            out += ",\"name\":";
            text.clear();
            append_display_text(vantrel::file_name_of(address), text);
            append_json_string(text, out);
            out += "}\n";
            return;
        }
    }
}

void ResultWriter::failure(long long line, std::string_view input, std::string& out) {
    switch (format_) {
        case Format::raw:
        case Format::ascii:
            out += '\n';
            return;
        case Format::aria2:
            return;
        case Format::json:
            append_json_start(line, input, out);
            out += ",\"error\":\"format\"}\n";
            return;
    }
}

void ResultWriter::blank(std::string& out) {
    if (format_ == Format::raw || format_ == Format::ascii) out += '\n';
}
