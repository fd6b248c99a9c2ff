#include "fatal_error.h"

#include <windows.h>

namespace vantrel {

void report_fatal_error(const std::wstring& message) {
    MessageBoxW(nullptr, message.c_str(), L"Vantrel", MB_OK | MB_ICONERROR | MB_TASKMODAL);
    ExitProcess(static_cast<UINT>(-1));
}

void report_missing_library_function(const std::wstring& library, const std::wstring& function) {
    report_fatal_error(L"无法调用 " + library + L" 中的函数 " + function +
                       L"。\n找不到该库或该函数，程序将退出。");
}

}  // namespace vantrel
