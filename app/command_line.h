// The command line of vantrel.exe. Without arguments the program starts as it always has; the
// options and a single link are the ways in for the browsers' URL-scheme handlers and for the
// installer.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace vantrel {

enum class Command {
    start,               // no arguments
    register_schemes,    // --register-schemes
    unregister_schemes,  // --unregister-schemes
    exit_running,        // --exit
    open_link,           // one argument that is not an option: the link
    usage,               // anything else
};

struct Invocation {
    Command command = Command::start;
    std::wstring link;  // the argument of open_link, as given
};

// The exit code of a command line that is not understood (EX_USAGE).
inline constexpr UINT kExitUsage = 64;

// The usage text that the message box shows.
extern const wchar_t kUsageText[];

// Reads the arguments after the program's name. An argument that begins with '-' is an option;
// options are exact and lower-case and come alone.
Invocation read_arguments(const std::vector<std::wstring>& arguments);

// The arguments after the program's name, split as the C runtime splits them.
std::vector<std::wstring> arguments_of(const wchar_t* command_line);

}  // namespace vantrel
