// Finishing an address: the charset verdict, the ASCII form and the file name.
#include "vantrel/address.h"

#include <gtest/gtest.h>

#include <string>

namespace vantrel {
namespace {

using namespace std::string_literals;

TEST(Address, CharsetVerdict) {
    struct Case {
        std::string name, bytes;
        Charset charset;
    };
    const Case cases[] = {
        {"empty", "", Charset::ascii},
        {"plain address", "http://a/b.zip?x=1", Charset::ascii},
        {"control bytes are ASCII", "\x01\x7F", Charset::ascii},
        {"UTF-8 Chinese", "http://a/\xE4\xB8\xAD\xE6\x96\x87.zip", Charset::utf8},
        {"UTF-8 two and four bytes", "\xC3\xA9\xF0\x9F\x98\x80", Charset::utf8},
        {"highest code point", "\xF4\x8F\xBF\xBF", Charset::utf8},
        {"code page 936 Chinese", "http://a/\xD6\xD0\xCE\xC4.zip", Charset::gbk},
        {"overlong two bytes", "\xC0\xAF", Charset::gbk},
        {"overlong three bytes", "\xE0\x80\xAF", Charset::gbk},
        {"overlong four bytes", "\xF0\x80\x80\xAF", Charset::gbk},
        {"surrogate", "\xED\xA0\x80", Charset::gbk},
        {"above U+10FFFF", "\xF4\x90\x80\x80", Charset::gbk},
        {"no such lead byte", "\xF5\x80\x80\x80", Charset::gbk},
        {"cut off at the end", "a\xE4\xB8", Charset::gbk},
        {"a lone continuation byte", "a\x80", Charset::gbk},
        {"valid, then invalid", "\xE4\xB8\xAD\xD6\xD0", Charset::gbk},
        {"continuation byte missing inside", "\xE4\x41\xAD", Charset::gbk},
    };
    for (const Case& c : cases)
        EXPECT_EQ(charset_of(c.bytes), c.charset) << c.name;
    EXPECT_STREQ(charset_name(Charset::ascii), "ascii");
    EXPECT_STREQ(charset_name(Charset::utf8), "utf-8");
    EXPECT_STREQ(charset_name(Charset::gbk), "gbk");
}

TEST(Address, AsciiFormEscapesWhatServersCannotTake) {
    struct Case {
        std::string address, ascii;
    };
    const Case cases[] = {
        {"http://a/b.zip", "http://a/b.zip"},
        {"http://a/b c.zip", "http://a/b%20c.zip"},
        {"http://a/\xD6\xD0.zip", "http://a/%D6%D0.zip"},
        {"http://a/\xE4\xB8\xAD", "http://a/%E4%B8%AD"},
        {"existing %41 and %e4 stay", "existing%20%41%20and%20%e4%20stay"},
        {"\"<>\\^`{|}", "%22%3C%3E%5C%5E%60%7B%7C%7D"},
        {"\t\r\n\x01\x1F\x7F", "%09%0D%0A%01%1F%7F"},
        {"!#$&'()*+,-./:;=?@[]_~%", "!#$&'()*+,-./:;=?@[]_~%"},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ascii_form(c.address), c.ascii) << c.address;
}

TEST(Address, AsciiFormOfEveryByteIsPrintableAndKeepsTheBytes) {
    std::string all;
    for (int b = 1; b < 256; ++b)
        all += static_cast<char>(b);
    const std::string ascii = ascii_form(all);
    std::string back;
    for (std::size_t i = 0; i < ascii.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(ascii[i]);
        ASSERT_TRUE(c > 0x20 && c < 0x7F) << i;
        // In this input every '%' that stood there was written as itself: decode only ours.
        if (c == '%' && i + 2 < ascii.size() && ascii[i + 1] != '&') {
            back += static_cast<char>(std::stoi(ascii.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            back += ascii[i];
        }
    }
    EXPECT_EQ(back, all);
}

TEST(Address, FileName) {
    struct Case {
        std::string name, address, file_name;
    };
    const Case cases[] = {
        {"plain", "http://h/dir/file.zip", "file.zip"},
        {"query and fragment", "http://h/a.zip?name=b.zip#c/d.zip", "a.zip"},
        {"fragment only", "http://h/a.zip#x", "a.zip"},
        {"path ends with a slash", "http://h/dir/", ""},
        {"no path", "http://h", ""},
        {"no path, slash in the query", "http://h?u=/a.zip", ""},
        {"root", "http://h/", ""},
        {"UTF-8 escapes", "http://h/%E4%B8%AD%E6%96%87.zip", "\xE4\xB8\xAD\xE6\x96\x87.zip"},
        {"raw code page 936 bytes", "http://h/\xD6\xD0.zip", "\xD6\xD0.zip"},
        {"encoded space", "http://h/a%20b.zip", "a b.zip"},
        {"decoded once", "http://h/a%2541", "a%41"},
        {"a percent without hex digits", "http://h/100%.zip", "100%.zip"},
        {"a cut-off escape", "http://h/a%4", "a%4"},
        {"an encoded slash stays encoded", "http://h/a%2fb", "a%2Fb"},
        {"an encoded backslash stays encoded", "http://h/..%5C..%5Cx", "..%5C..%5Cx"},
        {"a raw backslash is encoded", "http://h/a\\b", "a%5Cb"},
        {"an encoded line break stays encoded", "http://h/a%0A%20dir=x", "a%0A dir=x"},
        {"a raw control byte is encoded", "http://h/a\tb", "a%09b"},
        {"an encoded zero byte", "http://h/a%00b", "a%00b"},
        {"dot", "http://h/.", ""},
        {"dot dot, encoded", "http://h/a/%2E%2E", ""},
        {"three dots are a name", "http://h/...", "..."},
        {"ftp", "ftp://h/pub/a.iso", "a.iso"},
        {"no scheme", "dir/a.zip", "a.zip"},
        {"a bare name", "a.zip", "a.zip"},
        {"empty", "", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(file_name_of(c.address), c.file_name) << c.name;
}

}  // namespace
}  // namespace vantrel
