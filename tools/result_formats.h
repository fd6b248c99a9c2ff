// The output formats of vantrel-convert: the address as it is (raw), its ASCII form, JSON
// Lines, and aria2c's input-file format.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "gbk_decoder.h"
#include "vantrel/links.h"

enum class Format { raw, ascii, json, aria2 };

std::optional<Format> format_by_name(std::string_view name);

struct Converted {
    vantrel::Scheme scheme;  // the one reported to users: the outer link's
    vantrel::Text address;
};

// Appends the answer to one input line to a buffer. Line numbers count from 1.
class ResultWriter {
  public:
    explicit ResultWriter(Format format) : format_(format) {}

    void success(long long line, std::string_view input, const Converted& converted,
                 std::string& out);
    void failure(long long line, std::string_view input, std::string& out);
    // A blank input line: a blank line where output lines answer input lines.
    void blank(std::string& out);

  private:
    void append_display_text(std::string_view bytes, std::string& out);
    void append_json_start(long long line, std::string_view input, std::string& out);

    Format format_;
    GbkDecoder decoder_;
};
