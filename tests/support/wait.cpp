#include "support/wait.h"

namespace vantrel::testing {

bool wait_until(const std::function<bool()>& condition, DWORD timeout_ms) {
    const ULONGLONG deadline = GetTickCount64() + timeout_ms;
    for (;;) {
        if (condition()) return true;
        if (GetTickCount64() >= deadline) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(message.wParam));
                return condition();
            }
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
}

}  // namespace vantrel::testing
