// Code page 936 bytes as UTF-8 display text: the platform's own tables do the work (iconv on
// Linux, MultiByteToWideChar on Windows). Bytes that are invalid in code page 936 become
// U+FFFD, so the result is always valid UTF-8.
#pragma once

#include <string>
#include <string_view>

class GbkDecoder {
  public:
    GbkDecoder();
    ~GbkDecoder();
    GbkDecoder(const GbkDecoder&) = delete;
    GbkDecoder& operator=(const GbkDecoder&) = delete;

    // Appends the UTF-8 form of `bytes` to `out`.
    void append_utf8(std::string_view bytes, std::string& out);

  private:
    void* converter_;  // the iconv descriptor on Linux; unused on Windows
};

// U+FFFD REPLACEMENT CHARACTER in UTF-8.
inline constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";
