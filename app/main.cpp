// vantrel.exe: one GUI thread, one main window, the message loop until the window is gone.
#include <windows.h>

#include <commctrl.h>
#include <ole2.h>

#include <new>
#include <string>

#include "about_window.h"
#include "fatal_error.h"
#include "library_functions.h"
#include "main_window.h"
#include "message_loop.h"
#include "vantrel/base64.h"
#include "vantrel/win/owned.h"

namespace {

void enter_program_directory() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return;
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    const std::size_t slash = path.find_last_of(L'\\');
    if (slash == std::wstring::npos) return;
    path.resize(slash == 2 ? slash + 1 : slash);  // "C:\" stays a directory
    SetCurrentDirectoryW(path.c_str());
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    // OLE on the GUI thread for the program's whole life.
    const vantrel::ComApartment ole(vantrel::ComApartment::Kind::ole);
    enter_program_directory();
    std::set_new_handler([] { vantrel::report_fatal_error(L"内存不足，程序无法继续运行。"); });

    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    if (!vantrel::MainWindow::register_class(instance) ||
        !vantrel::AboutWindow::register_class(instance)) {
        vantrel::report_fatal_error(L"无法注册程序的窗口类，程序将退出。");
    }
    vantrel::install_message_pump(vantrel::pump_pending_messages);

    vantrel::LibraryFunctions functions;  // released after the window has gone
    vantrel::MainWindow window(functions);
    if (!window.create(instance)) {
        vantrel::report_fatal_error(L"无法创建程序的主窗口，程序将退出。");
    }
    const int exit_code = vantrel::run_message_loop();
    vantrel::install_message_pump(nullptr);
    return exit_code;
}
