#include "running_program.h"

#include "app_ids.h"
#include "handed_link.h"
#include "handoff_record.h"
#include "vantrel/contract.h"
#include "vantrel/win/owned.h"

namespace vantrel {

namespace {

// How long the sender waits for the running window to take the link: it only copies it.
constexpr UINT kHandOffTimeout = 5000;  // ms

}  // namespace

HWND find_running_main_window() {
    return tavik::find_main_window();
}

bool hand_link_to_running_program(HWND window, const std::wstring& link) {
    const Text bytes = link_text_of(link);
    if (bytes.size() > kCopyDataLinkLimit) return false;
    DWORD process_id = 0;
    GetWindowThreadProcessId(window, &process_id);
    AllowSetForegroundWindow(process_id);
    COPYDATASTRUCT data{kCopyDataLinkTag, static_cast<DWORD>(bytes.size()),
                        const_cast<char*>(bytes.data())};
    DWORD_PTR taken = 0;
    return SendMessageTimeoutW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data),
                               SMTO_ABORTIFHUNG, kHandOffTimeout, &taken) != 0 &&
           taken != 0;
}

bool end_running_program() {
    HWND window = find_running_main_window();
    if (!window) return true;
    DWORD process_id = 0;
    GetWindowThreadProcessId(window, &process_id);
    OwnedKernelHandle process(OpenProcess(SYNCHRONIZE, FALSE, process_id));
    PostMessageW(window, WM_COMMAND, MAKEWPARAM(id_menu_exit, 0), 0);
    if (process.get()) return WaitForSingleObject(process.get(), kExitWaitTime) == WAIT_OBJECT_0;
    // Without a handle of the process, its window going is the sign.
    const DWORD start = GetTickCount();
    while (IsWindow(window) && GetTickCount() - start < kExitWaitTime)
        Sleep(50);
    return !IsWindow(window);
}

}  // namespace vantrel
