// Waiting in the tests: a condition checked until it holds or its time is up.
#pragma once

#include <windows.h>

#include <functional>

namespace vantrel::testing {

// How long a test waits for something that should happen, unless it says otherwise.
inline constexpr DWORD kWaitLimit = 20000;  // ms

// Checks condition until it holds or timeout_ms has passed, handling the calling thread's
// messages in between: a window of the test answers what other programs send it (a clipboard
// owner, a stand-in's reply) while the test waits. A WM_QUIT found there is posted again and
// ends the wait. True when the condition held.
bool wait_until(const std::function<bool()>& condition, DWORD timeout_ms = kWaitLimit);

}  // namespace vantrel::testing
