// Drives a running vantrel.exe from outside: starts it, finds its windows, reads and writes
// its boxes, clicks its controls, and ends it (by force when a test fails half-way). Also
// the clipboard helpers of the tests.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace vantrel::testing {

// The program under test, from the command line.
const std::wstring& program_path();
void set_program_path(const std::string& path);

// Polls condition until it holds or timeout_ms has passed.
bool wait_until(const std::function<bool()>& condition, DWORD timeout_ms = 10000);

class Program {
  public:
    Program() = default;
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Starts the program and waits for its main window. False when it does not appear.
    bool start();
    HWND main() const { return main_; }
    HWND control(int id) const { return GetDlgItem(main_, id); }
    DWORD process_id() const { return process_.dwProcessId; }

    std::string box(int id) const;  // the ANSI text of a box
    void set_box(int id, const std::string& text) const;
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
    std::vector<HWND> windows_of_class(const wchar_t* class_name) const;
    // The first visible message box (#32770) of the program; nullptr when none appears.
    HWND wait_for_message_box(DWORD timeout_ms = 10000) const;

    bool wait_for_exit(DWORD timeout_ms = 10000) const;
    DWORD exit_code() const;
    bool tray_icon_present() const;  // NIM_MODIFY with the main window's icon id succeeds

  private:
    PROCESS_INFORMATION process_{};
    HWND main_ = nullptr;
};

// The whole text of a message box: its caption and the text of its message.
std::wstring message_box_caption(HWND box);
std::wstring message_box_text(HWND box);
void close_message_box(HWND box);

// The clipboard, set by the test process.
bool set_clipboard_text(const std::string& ansi);
// CF_TEXT holding exactly these bytes: no zero byte is added after them.
bool set_clipboard_bytes(const std::string& bytes);
bool set_clipboard_unicode_text(const std::wstring& text);
bool set_clipboard_bitmap();
bool empty_clipboard();

// Keeps the clipboard open, as another program may, while it lives.
class ClipboardHold {
  public:
    ClipboardHold();
    ~ClipboardHold();
    ClipboardHold(const ClipboardHold&) = delete;
    ClipboardHold& operator=(const ClipboardHold&) = delete;
    bool is_open() const { return open_; }

  private:
    bool open_;
};

}  // namespace vantrel::testing
