// Helpers of the alarm and download tests: temporary directories, child processes, waiting
// for windows, and reading what the stand-in libraries recorded.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace test_support {

std::wstring program_directory();

// A fresh directory under the temporary directory, removed with its files at the end.
class TempDirectory {
  public:
    TempDirectory();
    ~TempDirectory();
    TempDirectory(const TempDirectory&) = delete;
    TempDirectory& operator=(const TempDirectory&) = delete;
    const std::wstring& path() const { return path_; }
    std::wstring file(const std::wstring& name) const { return path_ + L"\\" + name; }
    // Copies a file of the test program's directory into this one, under a name of its own.
    bool copy_in(const std::wstring& from, const std::wstring& as) const;

  private:
    std::wstring path_;
};

// Points the stand-in libraries at a new, empty record file.
class StandInLog {
  public:
    StandInLog();
    ~StandInLog();
    StandInLog(const StandInLog&) = delete;
    StandInLog& operator=(const StandInLog&) = delete;
    std::vector<std::wstring> records() const;

  private:
    TempDirectory directory_;
    std::wstring path_;
};

// A started program; ended by force if it is still running when this goes.
class ChildProcess {
  public:
    explicit ChildProcess(const std::wstring& command_line,
                          const std::wstring& directory = std::wstring());
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    bool started() const { return info_.hProcess != nullptr; }
    DWORD id() const { return info_.dwProcessId; }
    HANDLE handle() const { return info_.hProcess; }
    bool running() const;
    // Waits for the end of the process; true with its exit code when it ended in time.
    bool wait_for_exit(DWORD timeout_ms, DWORD& exit_code) const;

  private:
    PROCESS_INFORMATION info_{};
};

// Polls the condition until it holds or the time is up, handling the calling thread's
// messages in between. True when the condition held.
bool wait_until(const std::function<bool()>& condition, DWORD timeout_ms = 20000);

// The first visible top-level window of the process with the given class, or nullptr.
HWND find_top_window(DWORD process_id, const wchar_t* window_class);

std::wstring window_text(HWND window);
// The texts of a window's children, each followed by a newline.
std::wstring child_texts(HWND window);
// The child button with the given caption, or nullptr.
HWND find_button(HWND parent, const wchar_t* caption);

}  // namespace test_support
