#include "handoff.h"

#include <cstring>

#include "vantrel/contract.h"
#include "vantrel/win/owned.h"

namespace tavik {

namespace {

using vantrel::kMainWindowClassA;
using vantrel::kMenuExtKey;
using vantrel::OwnedKernelHandle;
using vantrel::OwnedKey;

// How long a freshly started main program gets to come up and write its window handle.
constexpr DWORD kStartIdleTimeout = 5000;  // ms
constexpr DWORD kStartSettleTime = 100;    // ms

constexpr DWORD kWindowHandleLimit = 32;  // bytes, zero included
constexpr DWORD kFilePathLimit = 1023;    // bytes

OwnedKey open_menu_ext_key() {
    OwnedKey key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kMenuExtKey, 0, KEY_QUERY_VALUE, key.receive()) !=
        ERROR_SUCCESS) {
        return {};
    }
    return key;
}

// Reads a value of at most size bytes into buffer, whatever its registry type. False when the
// value is missing or longer.
bool read_value(HKEY key, const char* name, char* buffer, DWORD size) {
    return RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size) ==
           ERROR_SUCCESS;
}

// The window that the hand-off record names, or null when the record cannot be read.
HWND window_from_record() {
    char number[kWindowHandleLimit] = {};
    const OwnedKey key = open_menu_ext_key();
    if (!key || !read_value(key.get(), vantrel::kMainWindowHandleValue, number, sizeof number)) {
        return nullptr;
    }
    // The main program stores its handle as a 32-bit number; 64-bit Windows widens handles
    // by sign extension.
    return reinterpret_cast<HWND>(
        static_cast<LONG_PTR>(parse_window_handle(number, sizeof number)));
}

// The record outlives the program that wrote it, and its number may since have been given to
// another program's window: only a window of the main program's class counts.
bool is_main_window(HWND window) {
    if (!IsWindow(window)) return false;
    char name[sizeof kMainWindowClassA + 1] = {};
    return GetClassNameA(window, name, sizeof name) > 0 &&
           std::strcmp(name, kMainWindowClassA) == 0;
}

bool is_space(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

bool is_digit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

LONG parse_window_handle(const char* text, std::size_t size) {
    std::size_t i = 0;
    while (i < size && is_space(text[i]))
        ++i;
    bool negative = false;
    if (i < size && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    const unsigned long long limit = negative ? 2147483648ULL : 2147483647ULL;
    unsigned long long value = 0;
    for (; i < size && is_digit(text[i]); ++i) {
        value = value * 10 + static_cast<unsigned>(text[i] - '0');
        if (value > limit) value = limit;
    }
    return negative ? static_cast<LONG>(-static_cast<long long>(value)) : static_cast<LONG>(value);
}

void put_text_on_clipboard(const char* text) {
    const std::size_t size = std::strlen(text) + 1;
    vantrel::OwnedGlobal block(GlobalAlloc(GMEM_MOVEABLE, size));
    if (!block) return;
    {
        const vantrel::GlobalLockGuard locked(block.get());
        if (!locked.get()) return;
        std::memcpy(locked.get(), text, size);
    }
    const vantrel::ClipboardGuard clipboard;
    if (!clipboard.is_open()) return;
    EmptyClipboard();
    // From here on the block is the clipboard's, unless the clipboard refuses it.
    if (SetClipboardData(CF_TEXT, block.get())) block.detach();
}

bool notify_main_window(const char* text) {
    HWND window = window_from_record();
    if (!is_main_window(window)) return false;

    // Restored and brought forward first; the clipboard is filled just before the message, so
    // that the window finds the link there when it handles it.
    SendMessageA(window, WM_SYSCOMMAND, SC_RESTORE, 0);
    SetForegroundWindow(window);
    put_text_on_clipboard(text);
    SendMessageA(window, vantrel::kMsgLinkHandoff, 0, 0);
    return true;
}

void start_main_program(const char* text) {
    // Zeroed one byte beyond the limit, so the path always ends with a zero byte.
    char path[kFilePathLimit + 1] = {};
    {
        const OwnedKey key = open_menu_ext_key();
        if (!key || !read_value(key.get(), vantrel::kFilePathValue, path, kFilePathLimit)) return;
    }

    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started = {};
    if (!CreateProcessA(path, nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &started)) {
        return;
    }
    vantrel::OwnedProcess process(started);

    // The new instance writes its window handle into the record before it first waits for
    // input.
    WaitForInputIdle(process.process.get(), kStartIdleTimeout);
    process = {};
    Sleep(kStartSettleTime);
    notify_main_window(text);
}

}  // namespace tavik
