// The clipboard as the tests set and read it. What the test places is owned by a window of
// the test (a clipboard opened without an owner cannot take data on Windows); every opening
// waits a while for another program that holds the clipboard open.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace vantrel::testing {

// The window of the test's thread that owns what the test places on the clipboard.
HWND clipboard_owner();

// CF_TEXT of the text and its terminating zero.
bool set_clipboard_text(const std::string& ansi);
// CF_TEXT holding exactly these bytes: no zero byte is added after them.
bool set_clipboard_bytes(const std::string& bytes);
bool set_clipboard_unicode_text(const std::wstring& text);
bool set_clipboard_bitmap();
bool empty_clipboard();
// The clipboard's CF_TEXT up to its first zero byte; nullopt when it holds none or cannot be
// opened.
std::optional<std::string> clipboard_text();

// A global memory block holding exactly these bytes (for clipboards and data objects).
HGLOBAL global_block(const std::string& bytes);

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
