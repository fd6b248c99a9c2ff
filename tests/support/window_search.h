// Finding the windows of a program under test and reading them: top-level windows by class,
// message boxes (#32770) with their texts, buttons by caption.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace vantrel::testing {

// The top-level windows of a class (compared without regard to case), visible or not, in
// z-order; of one process, or of any when process_id is 0.
std::vector<HWND> top_windows(const wchar_t* class_name, DWORD process_id = 0);
// The first visible one, or nullptr.
HWND find_top_window(DWORD process_id, const wchar_t* class_name);

// The first visible message box of the process, or nullptr.
HWND find_message_box(DWORD process_id);
std::wstring message_box_caption(HWND box);
std::wstring message_box_text(HWND box);
void close_message_box(HWND box);

std::wstring window_text(HWND window);
// The texts of a window's children, each followed by a newline.
std::wstring child_texts(HWND window);
// The child button with the given caption, or nullptr.
HWND find_button(HWND parent, const wchar_t* caption);

// A window handle as the main program writes it into the hand-off record: the signed decimal
// number of its 32 bits.
std::string window_number(HWND window);

// The ANSI text of an edit box, and its replacement, as another program sees them.
std::string box_text(HWND box);
void set_box_text(HWND box, const std::string& text);

}  // namespace vantrel::testing
