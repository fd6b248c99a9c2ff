#include "message_loop.h"

#include "app_ids.h"

namespace vantrel {

namespace {

// Offers a key message to its top-level window; true when the window has handled it.
bool translate_window_key(MSG& message) {
    if (message.message != WM_KEYDOWN || !message.hwnd) return false;
    HWND top = GetAncestor(message.hwnd, GA_ROOT);
    if (!top) return false;
    DWORD process = 0;
    GetWindowThreadProcessId(top, &process);
    if (process != GetCurrentProcessId()) return false;
    return SendMessageW(top, kMsgTranslateKey, 0, reinterpret_cast<LPARAM>(&message)) != 0;
}

void handle(MSG& message) {
    if (translate_window_key(message)) return;
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

}  // namespace

int run_message_loop() {
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0)
        handle(message);
    return message.message == WM_QUIT ? static_cast<int>(message.wParam) : 0;
}

void pump_pending_messages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            // Leave it for the message loop.
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        handle(message);
    }
}

}  // namespace vantrel
