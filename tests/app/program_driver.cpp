#include "program_driver.h"

#include <shellapi.h>

#include "app_ids.h"

namespace vantrel::testing {

namespace {

std::wstring& stored_path() {
    static std::wstring path;
    return path;
}

}  // namespace

const std::wstring& program_path() {
    return stored_path();
}

void set_program_path(const std::string& path) {
    std::wstring wide(path.begin(), path.end());
    if (!wide.empty() && wide[0] == L'/') {
        // A Unix path from the build system: Wine shows the root as drive Z:.
        for (wchar_t& c : wide) {
            if (c == L'/') c = L'\\';
        }
        wide = L"Z:" + wide;
    }
    stored_path() = wide;
}

bool Program::start() {
    process_ = Process::start(L"\"" + program_path() + L"\"", program_path());
    if (!process_) return false;
    WaitForInputIdle(process_.handle(), 10000);
    return wait_until([this] {
        std::vector<HWND> found = windows_of_class(kMainWindowClass);
        if (found.empty() || !IsWindowVisible(found[0])) return false;
        main_ = found[0];
        return true;
    });
}

bool Program::is_checked(int id) const {
    return SendMessageW(control(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Program::click(int id) const {
    SendMessageW(control(id), BM_CLICK, 0, 0);
}

void Program::post_click(int id) const {
    PostMessageW(control(id), BM_CLICK, 0, 0);
}

void Program::command(int id) const {
    SendMessageW(main_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
}

void Program::post_key(HWND target, WPARAM key) const {
    const UINT scan = MapVirtualKeyW(static_cast<UINT>(key), MAPVK_VK_TO_VSC);
    PostMessageW(target, WM_KEYDOWN, key, 1 | (static_cast<LPARAM>(scan) << 16));
    PostMessageW(target, WM_KEYUP, key, 1 | (static_cast<LPARAM>(scan) << 16) | (3u << 30));
}

HWND Program::wait_for_message_box(DWORD timeout_ms) const {
    HWND box = nullptr;
    wait_until([&] { return (box = find_message_box(process_.id())) != nullptr; }, timeout_ms);
    return box;
}

DWORD Program::exit_code() const {
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process_.handle(), &code);
    return code;
}

bool Program::tray_icon_present() const {
    NOTIFYICONDATAW icon{};
    icon.cbSize = sizeof icon;
    icon.hWnd = main_;
    icon.uID = kTrayIconId;
    return Shell_NotifyIconW(NIM_MODIFY, &icon) != FALSE;
}

}  // namespace vantrel::testing
