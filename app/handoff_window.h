// The hand-off message: the component puts a link on the clipboard and sends MSG_LINK_HANDOFF
// to the main window named in the hand-off record; handoff_window_proc, installed over the
// main window at start-up, takes the link from the clipboard then.
#pragma once

#include <windows.h>

#include "library_functions.h"
#include "window_layer.h"

namespace vantrel {

// wParam 0, lParam 0; the payload is the clipboard's text. The result is 0.
inline constexpr UINT MSG_LINK_HANDOFF = WM_USER + 83;  // 1107

// A link handed over by WM_COPYDATA (vantrel.exe LINK, started by a browser while the program
// runs): dwData is this tag, lpData the link's bytes in the ANSI code page, cbData their
// number (no terminating zero), at most kCopyDataLinkLimit. Anything else is ignored.
inline constexpr ULONG_PTR kCopyDataLinkTag = 0x4B4E4C56;  // "VLNK"
inline constexpr DWORD kCopyDataLinkLimit = 64 * 1024;     // bytes

// Installs handoff_window_proc over the window with SetWindowLongA (GWL_WNDPROC) from the
// library function table and keeps the previous window procedure with the window, for good.
// False when the window procedure could not be replaced.
bool install_handoff_window_proc(WindowLayer& window, LibraryFunctions& functions);

// MSG_LINK_HANDOFF runs take_link_from_clipboard and gives 0; every other message goes to the
// previous window procedure through CallWindowProcA from the library function table.
LRESULT CALLBACK handoff_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

}  // namespace vantrel
