// A process that a test started or found: ended by force, if it still runs, and waited for
// when the test lets go of it.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "vantrel/win/owned.h"

namespace vantrel::testing {

class Process {
  public:
    Process() = default;
    // Starts command_line; application names the program file when given, directory the
    // current directory. With an inheritable output handle, the process writes its standard
    // output and error there and gets no console window. Empty when it cannot be started.
    static Process start(const std::wstring& command_line, const std::wstring& application = {},
                         const std::wstring& directory = {}, HANDLE output = nullptr);
    // The process of a window, opened to wait for it and to end it; empty without a window.
    static Process of_window(HWND window);

    ~Process() { end(); }
    Process(Process&& other) noexcept = default;
    Process& operator=(Process&& other) noexcept;

    explicit operator bool() const { return static_cast<bool>(handle_); }
    HANDLE handle() const { return handle_.get(); }
    DWORD id() const { return id_; }
    bool running() const;
    // The exit code once the process has ended within the time (the test's messages are
    // handled meanwhile, see wait_until); nullopt otherwise.
    std::optional<DWORD> wait_for_exit(DWORD timeout_ms = 60000) const;
    // Ends the process with exit_code if it still runs, waits for it and lets go of it.
    void end(UINT exit_code = 1);

  private:
    OwnedKernelHandle handle_;
    DWORD id_ = 0;
};

}  // namespace vantrel::testing
