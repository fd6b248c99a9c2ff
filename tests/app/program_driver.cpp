#include "program_driver.h"

#include <shellapi.h>

#include <cstring>

#include "app_ids.h"

namespace vantrel::testing {

namespace {

std::wstring& stored_path() {
    static std::wstring path;
    return path;
}

struct FindContext {
    DWORD process;
    const wchar_t* class_name;
    std::vector<HWND> found;
};

BOOL CALLBACK collect_window(HWND window, LPARAM context_pointer) {
    auto* context = reinterpret_cast<FindContext*>(context_pointer);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    wchar_t class_name[64] = {};
    GetClassNameW(window, class_name, 64);
    if (process == context->process && lstrcmpW(class_name, context->class_name) == 0) {
        context->found.push_back(window);
    }
    return TRUE;
}

// A window of the test process that owns what the tests put on the clipboard.
HWND clipboard_owner() {
    static HWND owner = CreateWindowExW(0, L"STATIC", L"clipboard owner", 0, 0, 0, 0, 0, nullptr,
                                        nullptr, nullptr, nullptr);
    return owner;
}

bool open_clipboard() {
    return wait_until([] { return OpenClipboard(clipboard_owner()) != FALSE; }, 5000);
}

bool set_clipboard(UINT format, const void* data, std::size_t size) {
    if (!open_clipboard()) return false;
    EmptyClipboard();
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    bool placed = false;
    if (block) {
        std::memcpy(GlobalLock(block), data, size);
        GlobalUnlock(block);
        placed = SetClipboardData(format, block) != nullptr;
        if (!placed) GlobalFree(block);
    }
    CloseClipboard();
    return placed;
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

bool wait_until(const std::function<bool()>& condition, DWORD timeout_ms) {
    const ULONGLONG end = GetTickCount64() + timeout_ms;
    for (;;) {
        if (condition()) return true;
        if (GetTickCount64() > end) return false;
        Sleep(10);
    }
}

Program::~Program() {
    if (process_.hProcess) {
        if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(process_.hProcess, 99);
            WaitForSingleObject(process_.hProcess, 5000);
        }
        CloseHandle(process_.hProcess);
        CloseHandle(process_.hThread);
    }
}

bool Program::start() {
    std::wstring command_line = L"\"" + program_path() + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessW(program_path().c_str(), command_line.data(), nullptr, nullptr, FALSE, 0,
                        nullptr, nullptr, &startup, &process_)) {
        return false;
    }
    WaitForInputIdle(process_.hProcess, 10000);
    return wait_until([this] {
        std::vector<HWND> found = windows_of_class(kMainWindowClass);
        if (found.empty() || !IsWindowVisible(found[0])) return false;
        main_ = found[0];
        return true;
    });
}

std::string Program::box(int id) const {
    HWND edit = control(id);
    const auto length = SendMessageA(edit, WM_GETTEXTLENGTH, 0, 0);
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    const auto copied =
        SendMessageA(edit, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(copied));
    return text;
}

void Program::set_box(int id, const std::string& text) const {
    SendMessageA(control(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
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

std::vector<HWND> Program::windows_of_class(const wchar_t* class_name) const {
    FindContext context{process_.dwProcessId, class_name, {}};
    EnumWindows(collect_window, reinterpret_cast<LPARAM>(&context));
    return context.found;
}

HWND Program::wait_for_message_box(DWORD timeout_ms) const {
    HWND box = nullptr;
    wait_until(
        [&] {
            for (HWND window : windows_of_class(L"#32770")) {
                if (IsWindowVisible(window)) box = window;
            }
            return box != nullptr;
        },
        timeout_ms);
    return box;
}

bool Program::wait_for_exit(DWORD timeout_ms) const {
    return WaitForSingleObject(process_.hProcess, timeout_ms) == WAIT_OBJECT_0;
}

DWORD Program::exit_code() const {
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process_.hProcess, &code);
    return code;
}

bool Program::tray_icon_present() const {
    NOTIFYICONDATAW icon{};
    icon.cbSize = sizeof icon;
    icon.hWnd = main_;
    icon.uID = kTrayIconId;
    return Shell_NotifyIconW(NIM_MODIFY, &icon) != FALSE;
}

std::wstring message_box_caption(HWND box) {
    wchar_t caption[256] = {};
    SendMessageW(box, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(caption));
    return caption;
}

std::wstring message_box_text(HWND box) {
    wchar_t text[1024] = {};
    SendMessageW(GetDlgItem(box, 0xFFFF), WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text));
    return text;
}

void close_message_box(HWND box) {
    PostMessageW(box, WM_COMMAND, IDOK, 0);
}

bool set_clipboard_text(const std::string& ansi) {
    return set_clipboard(CF_TEXT, ansi.c_str(), ansi.size() + 1);
}

bool set_clipboard_bytes(const std::string& bytes) {
    return set_clipboard(CF_TEXT, bytes.data(), bytes.size());
}

bool set_clipboard_unicode_text(const std::wstring& text) {
    return set_clipboard(CF_UNICODETEXT, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
}

bool set_clipboard_bitmap() {
    if (!open_clipboard()) return false;
    EmptyClipboard();
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 16, 16);
    ReleaseDC(nullptr, screen);
    const bool placed = SetClipboardData(CF_BITMAP, bitmap) != nullptr;
    CloseClipboard();
    return placed;
}

bool empty_clipboard() {
    if (!open_clipboard()) return false;
    const bool emptied = EmptyClipboard() != FALSE;
    CloseClipboard();
    return emptied;
}

ClipboardHold::ClipboardHold() : open_(open_clipboard()) {}

ClipboardHold::~ClipboardHold() {
    if (open_) CloseClipboard();
}

}  // namespace vantrel::testing
