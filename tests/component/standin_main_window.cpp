// A stand-in for the main program: a window of the main program's class that writes the
// hand-off record at its start, as the main program does, and logs the messages that the
// component sends it with the clipboard text that it finds at each.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "standin_protocol.h"

namespace {

std::wstring g_log_path;

std::string clipboard_hex() {
    if (!OpenClipboard(nullptr)) return "closed";
    std::string hex = "-";
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        if (const char* text = static_cast<const char*>(GlobalLock(data))) {
            hex = "[";
            for (const char* p = text; *p; ++p) {
                char digits[3];
                std::snprintf(digits, sizeof digits, "%02x", static_cast<unsigned char>(*p));
                hex += digits;
            }
            hex += "]";
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return hex;
}

void log_message(UINT message, WPARAM wparam) {
    const std::string line =
        std::to_string(message) + " " + std::to_string(wparam) + " " + clipboard_hex() + "\n";
    HANDLE file =
        CreateFileW(g_log_path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(file);
}

bool write_value(HKEY key, const char* name, DWORD type, const void* data, DWORD size) {
    return RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size) ==
           ERROR_SUCCESS;
}

bool write_text(HKEY key, const char* name, const std::string& text) {
    return write_value(key, name, REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1));
}

// The four values of the context-menu key, as the main program writes them at its start.
bool write_record(HWND window) {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    const std::string file_path = path;
    const std::string directory = file_path.substr(0, file_path.rfind('\\'));
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, standin::kMenuExtKey, 0, nullptr, 0, KEY_WRITE, nullptr,
                        &key, nullptr) != ERROR_SUCCESS) {
        return false;
    }
    const DWORD contexts = 34;
    const LONG handle = static_cast<LONG>(reinterpret_cast<LONG_PTR>(window));
    const bool written = write_text(key, "", directory + "\\tavik_link.htm") &&
                         write_value(key, "contexts", REG_DWORD, &contexts, sizeof contexts) &&
                         write_text(key, vantrel::kFilePathValue, file_path) &&
                         write_text(key, vantrel::kMainWindowHandleValue, std::to_string(handle));
    RegCloseKey(key);
    return written;
}

LRESULT CALLBACK window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_SYSCOMMAND:
            log_message(message, wparam & 0xFFF0);
            break;
        case standin::kMsgLinkHandoff:
            log_message(message, wparam);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
    }
    return DefWindowProcA(window, message, wparam, lparam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR command_line, int show) {
    const bool foreign = std::strstr(command_line, standin::kForeignOption) != nullptr;
    wchar_t log_path[MAX_PATH] = {};
    GetEnvironmentVariableW(standin::kLogVariable, log_path, MAX_PATH);
    g_log_path = log_path;

    WNDCLASSA window_class = {};
    window_class.lpfnWndProc = window_proc;
    window_class.hInstance = instance;
    window_class.lpszClassName = foreign ? standin::kForeignClass : standin::kMainWindowClassA;
    if (!RegisterClassA(&window_class)) return 1;
    HWND window =
        CreateWindowA(window_class.lpszClassName, "stand-in", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                      CW_USEDEFAULT, 300, 200, nullptr, nullptr, instance, nullptr);
    if (!window) return 1;
    if (!foreign && !write_record(window)) return 2;
    ShowWindow(window, show);

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
