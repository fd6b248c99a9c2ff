// The command line of vantrel.exe, read in the test process: which command each argument list
// means, how a command line splits, and which open commands name a vantrel.exe.
#include <gtest/gtest.h>

#include "command_line.h"
#include "url_scheme_registration.h"

namespace vantrel {
namespace {

TEST(CommandLine, EachArgumentListMeansOneCommand) {
    struct Case {
        std::vector<std::wstring> arguments;
        Command command;
        std::wstring link;
    };
    const Case cases[] = {
        {{}, Command::start, L""},
        {{L"--register-schemes"}, Command::register_schemes, L""},
        {{L"--unregister-schemes"}, Command::unregister_schemes, L""},
        {{L"--exit"}, Command::exit_running, L""},
        {{L"thunder://QUFh/"}, Command::open_link, L"thunder://QUFh/"},
        {{L"anything at all"}, Command::open_link, L"anything at all"},
        {{L""}, Command::open_link, L""},
        // Options are exact: no other case, no abbreviation, no single dash, no value.
        {{L"--EXIT"}, Command::usage, L""},
        {{L"--register"}, Command::usage, L""},
        {{L"-exit"}, Command::usage, L""},
        {{L"--exit=1"}, Command::usage, L""},
        {{L"--help"}, Command::usage, L""},
        {{L"-"}, Command::usage, L""},
        // One argument at most, whatever the arguments are.
        {{L"--exit", L"--exit"}, Command::usage, L""},
        {{L"thunder://a", L"thunder://b"}, Command::usage, L""},
        {{L"--register-schemes", L"thunder://a"}, Command::usage, L""},
    };
    for (const Case& c : cases) {
        const Invocation invocation = read_arguments(c.arguments);
        EXPECT_EQ(c.command, invocation.command)
            << (c.arguments.empty() ? "(none)" : testing::PrintToString(c.arguments));
        EXPECT_EQ(c.link, invocation.link);
    }
}

TEST(CommandLine, SplitsAsTheShellQuotesTheRegisteredCommand) {
    struct Case {
        const wchar_t* line;
        std::vector<std::wstring> arguments;
    };
    const Case cases[] = {
        {L"\"C:\\Program Files\\Vantrel\\vantrel.exe\"", {}},
        {L"vantrel.exe", {}},
        {L"\"C:\\a b\\vantrel.exe\" \"thunder://QUFh/\"", {L"thunder://QUFh/"}},
        {L"vantrel.exe --exit", {L"--exit"}},
        {L"vantrel.exe \"flashget://a b&c\"", {L"flashget://a b&c"}},
        {L"vantrel.exe a b", {L"a", L"b"}},
        {L"", {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.arguments, arguments_of(c.line)) << testing::PrintToString(c.line);
    }
}

TEST(CommandLine, AnOpenCommandIsVantrelsWhenItsProgramIsAVantrelExe) {
    struct Case {
        const wchar_t* command;
        bool vantrel;
    };
    const Case cases[] = {
        {L"\"C:\\Program Files\\Vantrel\\vantrel.exe\" \"%1\"", true},
        {L"\"D:\\x\\VANTREL.EXE\" \"%1\"", true},
        {L"C:\\tools\\vantrel.exe %1", true},
        {L"  \"vantrel.exe\"", true},
        {L"\"C:\\Thunder\\Thunder.exe\" \"%1\"", false},
        {L"\"C:\\x\\not-vantrel.exe\" \"%1\"", false},
        {L"\"C:\\x\\vantrel.exe.bak\" \"%1\"", false},
        {L"\"C:\\vantrel.exe\\other.exe\" \"%1\"", false},
        {L"\"C:\\x\\other.exe\" \"C:\\y\\vantrel.exe\"", false},
        {L"", false},
        {L"\"", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.vantrel, names_vantrel(c.command)) << testing::PrintToString(c.command);
    }
    EXPECT_EQ(L"\"C:\\a b\\vantrel.exe\" \"%1\"", open_command(L"C:\\a b\\vantrel.exe"));
}

}  // namespace
}  // namespace vantrel
