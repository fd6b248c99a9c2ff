// Drives a running vantrel.exe from outside: starts it, finds its windows, reads and writes
// its boxes, clicks its controls, and ends it (by force when a test fails half-way). The
// clipboard, message boxes and waiting come from the shared test support.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "support/clipboard.h"
#include "support/process.h"
#include "support/wait.h"
#include "support/window_search.h"

namespace vantrel::testing {

// The program under test, from the command line.
const std::wstring& program_path();
void set_program_path(const std::string& path);

class Program {
  public:
    Program() = default;
    ~Program() { process_.end(99); }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Starts the program and waits for its main window. False when it does not appear.
    bool start();
    HWND main() const { return main_; }
    HWND control(int id) const { return GetDlgItem(main_, id); }
    DWORD process_id() const { return process_.id(); }

    std::string box(int id) const { return box_text(control(id)); }  // the ANSI text of a box
    void set_box(int id, const std::string& text) const { set_box_text(control(id), text); }
    bool is_checked(int id) const;
    bool is_visible() const { return IsWindowVisible(main_) != FALSE; }
    // Clicks a control and returns when its action has returned.
    void click(int id) const;
    // Clicks a control without waiting (its action may show a modal box).
    void post_click(int id) const;
    // Chooses a menu item of 托盘 (or a control's click) and returns when its action has run.
    void command(int id) const;
    void post_key(HWND target, WPARAM key) const;

    // The program's top-level windows of a class (visible or not).
    std::vector<HWND> windows_of_class(const wchar_t* class_name) const {
        return top_windows(class_name, process_.id());
    }
    // The first visible message box (#32770) of the program; nullptr when none appears.
    HWND wait_for_message_box(DWORD timeout_ms = 10000) const;

    bool wait_for_exit(DWORD timeout_ms = 10000) const {
        return process_.wait_for_exit(timeout_ms).has_value();
    }
    DWORD exit_code() const;
    bool tray_icon_present() const;  // NIM_MODIFY with the main window's icon id succeeds

  private:
    Process process_;
    HWND main_ = nullptr;
};

}  // namespace vantrel::testing
