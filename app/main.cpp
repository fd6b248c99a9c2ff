// vantrel.exe: one GUI thread, one main window, the message loop until the window is gone.
// Its command line (command_line.h) also registers the URL schemes, ends a running Vantrel or
// hands a browser's link to the running window or to a window of its own.
#include <windows.h>

#include <commctrl.h>
#include <ole2.h>

#include <new>
#include <optional>
#include <string>

#include "about_window.h"
#include "command_line.h"
#include "fatal_error.h"
#include "handed_link.h"
#include "library_functions.h"
#include "main_window.h"
#include "message_loop.h"
#include "program_path.h"
#include "running_program.h"
#include "vantrel/base64.h"
#include "vantrel/win/owned.h"
#include "window_free_commands.h"

namespace {

void enter_program_directory() {
    std::wstring path = vantrel::program_file_path();
    const std::size_t slash = path.find_last_of(L'\\');
    if (slash == std::wstring::npos) return;
    path.resize(slash == 2 ? slash + 1 : slash);  // "C:\" stays a directory
    SetCurrentDirectoryW(path.c_str());
}

// The program as it always starts; a link from the command line is taken once the window is up.
int run_program(HINSTANCE instance, const std::optional<vantrel::Text>& link) {
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
    if (link) window.take_handed_link(*link);
    const int exit_code = vantrel::run_message_loop();
    vantrel::install_message_pump(nullptr);
    return exit_code;
}

// A browser's link: to the running Vantrel when there is one, otherwise to a new one.
int open_link(HINSTANCE instance, const std::wstring& link) {
    if (HWND running = vantrel::find_running_main_window()) {
        return vantrel::hand_link_to_running_program(running, link) ? 0 : 1;
    }
    return run_program(instance, vantrel::link_text_of(link));
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    const vantrel::Invocation invocation =
        vantrel::read_arguments(vantrel::arguments_of(GetCommandLineW()));
    switch (invocation.command) {
        case vantrel::Command::start:
            break;
        case vantrel::Command::open_link:
            return open_link(instance, invocation.link);
        case vantrel::Command::register_schemes:
            return vantrel::register_schemes_command();
        case vantrel::Command::unregister_schemes:
            return vantrel::unregister_schemes_command();
        case vantrel::Command::exit_running:
            return vantrel::exit_command();
        case vantrel::Command::usage:
            return vantrel::usage_command();
    }
    return run_program(instance, std::nullopt);
}
