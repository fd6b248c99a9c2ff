#include "handoff.h"

#include <cstring>

#include "vantrel/contract.h"
#include "vantrel/win/owned.h"

namespace tavik {

namespace {

using vantrel::OwnedKernelHandle;

// How long a freshly started main program gets to come up and write its window handle.
constexpr DWORD kStartIdleTimeout = 5000;  // ms
constexpr DWORD kStartSettleTime = 100;    // ms

constexpr DWORD kFilePathLimit = 1023;  // bytes

}  // namespace

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
    HWND window = find_main_window();
    if (!window) return false;

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
    if (!read_record_value(vantrel::kFilePathValue, path, kFilePathLimit)) return;

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
