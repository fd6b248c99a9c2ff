// A stand-in for the main program: a window of the main program's class that writes the
// hand-off record at its start, as the main program does, and logs the messages that the
// component sends it with the clipboard text that it finds at each.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "standin_protocol.h"
#include "support/stand_in_log.h"
#include "vantrel/win/owned.h"

namespace {

std::string clipboard_hex() {
    const vantrel::ClipboardGuard clipboard;
    if (!clipboard.is_open()) return "closed";
    std::string hex = "-";
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        const vantrel::GlobalLockGuard locked(data);
        if (const char* text = locked.as<const char>()) {
            hex = "[";
            for (const char* p = text; *p; ++p) {
                char digits[3];
                std::snprintf(digits, sizeof digits, "%02x", static_cast<unsigned char>(*p));
                hex += digits;
            }
            hex += "]";
        }
    }
    return hex;
}

// One record per message: "<message> <wParam> <clipboard>", numbers in decimal.
void log_message(UINT message, WPARAM wparam) {
    const std::string line =
        std::to_string(message) + " " + std::to_string(wparam) + " " + clipboard_hex();
    vantrel::testing::append_stand_in_record(std::wstring(line.begin(), line.end()).c_str());
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
    vantrel::OwnedKey key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, standin::kMenuExtKey, 0, nullptr, 0, KEY_WRITE, nullptr,
                        key.receive(), nullptr) != ERROR_SUCCESS) {
        return false;
    }
    const DWORD contexts = vantrel::kMenuContexts;
    const LONG handle = static_cast<LONG>(reinterpret_cast<LONG_PTR>(window));
    return write_text(key.get(), "", directory + "\\" + vantrel::kPageFile) &&
           write_value(key.get(), vantrel::kContextsValue, REG_DWORD, &contexts, sizeof contexts) &&
           write_text(key.get(), vantrel::kFilePathValue, file_path) &&
           write_text(key.get(), vantrel::kMainWindowHandleValue, std::to_string(handle));
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
