// The reading of MainWindowHandle: the signed decimal number that the text begins with.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>

#include "handoff.h"

namespace {

struct Case {
    const char* text;
    LONG expected;
};

TEST(WindowHandle, ReadsTheNumberThatTheTextBeginsWith) {
    const Case cases[] = {
        {"6699", 6699},
        {"  123abc", 123},
        {"\t\n\v\f\r 42", 42},
        {"+7", 7},
        {"-7", -7},
        {"007", 7},
        {"12 34", 12},
        {"abc123", 0},
        {"\xCF\xC2"
         "12",
         0},
        {"", 0},
        {"-", 0},
        {"+-5", 0},
        {"- 5", 0},
        {"2147483647", INT_MAX},
        {"-2147483648", INT_MIN},
        {"99999999999999999999", INT_MAX},
        {"-99999999999999999999", INT_MIN},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.expected, tavik::parse_window_handle(c.text, std::strlen(c.text) + 1))
            << "text \"" << c.text << "\"";
    }
}

TEST(WindowHandle, StopsAtTheEndOfItsArea) {
    const char digits[] = {'1', '2', '3', '4'};  // no zero byte
    EXPECT_EQ(1234, tavik::parse_window_handle(digits, sizeof digits));
    EXPECT_EQ(12, tavik::parse_window_handle(digits, 2));
    const char spaces[] = {' ', ' ', '5'};
    EXPECT_EQ(0, tavik::parse_window_handle(spaces, 2));
    EXPECT_EQ(0, tavik::parse_window_handle("-9", 1));
}

}  // namespace
