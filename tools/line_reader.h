// Lines (LF or CR LF) of standard input or of a text, one at a time: memory holds the longest
// line, never the whole input.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

class LineReader {
  public:
    explicit LineReader(std::FILE* input);       // reads the stream in blocks
    explicit LineReader(std::string_view text);  // splits a text already in memory

    // The next line without its line break; false at the end of the input or when reading
    // fails (then failed() is true).
    bool next(std::string& line);
    bool failed() const { return failed_; }

  private:
    bool refill();

    std::FILE* input_ = nullptr;
    std::vector<char> block_;
    std::string_view pending_;  // the part of the block (or the text) not handed out yet
    bool failed_ = false;
};
