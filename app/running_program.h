// What vantrel.exe does to a Vantrel that already runs: hand it a link, or end it. The running
// program is found as the hand-off component finds it, by the hand-off record's main window.
#pragma once

#include <windows.h>

#include <string>

namespace vantrel {

// The exit code of --exit when the running program did not end in time.
inline constexpr UINT kExitStillRunning = 1;
// How long --exit waits for the running program's process to end.
inline constexpr DWORD kExitWaitTime = 5000;  // ms

// The running Vantrel's main window, or null.
HWND find_running_main_window();

// Lets the running program come to the front and sends it the link (its bytes in the ANSI code
// page) by WM_COPYDATA. False when the window did not take it.
bool hand_link_to_running_program(HWND window, const std::wstring& link);

// Chooses 退出软件 in the running program's tray menu and waits up to kExitWaitTime for its
// process to end. True also when none runs.
bool end_running_program();

}  // namespace vantrel
