#include "window_free_commands.h"

#include <windows.h>

#include <string>

#include "command_line.h"
#include "program_path.h"
#include "running_program.h"
#include "url_scheme_registration.h"
#include "vantrel/contract.h"

namespace vantrel {

namespace {

// A line on standard error: UTF-16 to a console, ANSI bytes to a file or a pipe. A program of
// the Windows subsystem has a standard error only when its starter gave it one, or through the
// console of the program that started it.
void write_error_line(const std::wstring& text) {
    HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
    if (!error || error == INVALID_HANDLE_VALUE) {
        if (!AttachConsole(ATTACH_PARENT_PROCESS)) return;
        error = GetStdHandle(STD_ERROR_HANDLE);
        if (!error || error == INVALID_HANDLE_VALUE) return;
    }
    const std::wstring line = text + L"\r\n";
    DWORD mode = 0;
    DWORD written = 0;
    if (GetConsoleMode(error, &mode)) {
        WriteConsoleW(error, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
        return;
    }
    const int length = static_cast<int>(line.size());
    const int size =
        WideCharToMultiByte(CP_ACP, 0, line.data(), length, nullptr, 0, nullptr, nullptr);
    if (size <= 0) return;
    std::string bytes(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, line.data(), length, bytes.data(), size, nullptr, nullptr);
    WriteFile(error, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

int report_refused(const wchar_t* what, const std::wstring& failed_key) {
    write_error_line(std::wstring(L"vantrel: ") + what + L"失败：无法更改注册表项 " + failed_key +
                     L"，注册表保持原样。");
    return static_cast<int>(kExitRegistryWriteFailed);
}

}  // namespace

int register_schemes_command() {
    std::wstring failed_key;
    if (register_url_schemes(program_file_path(), failed_key)) return 0;
    return report_refused(L"注册链接协议", failed_key);
}

int unregister_schemes_command() {
    std::wstring failed_key;
    if (unregister_url_schemes(failed_key)) return 0;
    return report_refused(L"撤销链接协议", failed_key);
}

int exit_command() {
    return end_running_program() ? 0 : static_cast<int>(kExitStillRunning);
}

int usage_command() {
    MessageBoxW(nullptr, kUsageText, L"Vantrel", MB_OK | MB_ICONINFORMATION);
    return static_cast<int>(kExitUsage);
}

}  // namespace vantrel
