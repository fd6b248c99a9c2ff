// The about window's link falls back to the program registered for ".htm" pages.
#include "hyperlink.h"

#include <gtest/gtest.h>

namespace vantrel {
namespace {

TEST(Hyperlink, HtmCommandLine) {
    const std::wstring address = L"http://www.example.com/vantrel/";
    struct Case {
        const wchar_t* command;
        const wchar_t* line;
    };
    const Case cases[] = {
        {L"\"C:\\Program Files\\Internet Explorer\\iexplore.exe\" -nohome \"%1\"",
         L"\"C:\\Program Files\\Internet Explorer\\iexplore.exe\" -nohome "
         L"http://www.example.com/vantrel/"},
        {L"C:\\browser.exe %1", L"C:\\browser.exe http://www.example.com/vantrel/"},
        {L"C:\\browser.exe", L"C:\\browser.exe http://www.example.com/vantrel/"},
        {L"", L""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(htm_command_line(c.command, address), c.line) << c.command;
    }
}

}  // namespace
}  // namespace vantrel
