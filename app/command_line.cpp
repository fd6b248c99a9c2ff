#include "command_line.h"

#include <shellapi.h>

namespace vantrel {

namespace {

struct OptionName {
    const wchar_t* name;
    Command command;
};

constexpr OptionName kOptions[] = {
    {L"--register-schemes", Command::register_schemes},
    {L"--unregister-schemes", Command::unregister_schemes},
    {L"--exit", Command::exit_running},
};

}  // namespace

const wchar_t kUsageText[] =
    L"用法：\n"
    L"  vantrel.exe                         启动程序\n"
    L"  vantrel.exe 链接                    把 thunder://、flashget://、qqdl:// 或 fs2you:// "
    L"链接交给程序转换\n"
    L"  vantrel.exe --register-schemes      让浏览器用本程序打开这四种链接\n"
    L"  vantrel.exe --unregister-schemes    撤销上述设置，恢复原来的程序\n"
    L"  vantrel.exe --exit                  结束正在运行的程序";

Invocation read_arguments(const std::vector<std::wstring>& arguments) {
    if (arguments.empty()) return {Command::start, {}};
    if (arguments.size() > 1) return {Command::usage, {}};
    const std::wstring& argument = arguments.front();
    if (argument.empty() || argument.front() != L'-') return {Command::open_link, argument};
    for (const OptionName& option : kOptions) {
        if (argument == option.name) return {option.command, {}};
    }
    return {Command::usage, {}};
}

std::vector<std::wstring> arguments_of(const wchar_t* command_line) {
    std::vector<std::wstring> arguments;
    int count = 0;
    // CommandLineToArgvW takes an empty line as the request for the program's own path.
    if (!command_line || !*command_line) return arguments;
    wchar_t** split = CommandLineToArgvW(command_line, &count);
    if (!split) return arguments;
    for (int i = 1; i < count; ++i)
        arguments.emplace_back(split[i]);
    LocalFree(split);
    return arguments;
}

}  // namespace vantrel
