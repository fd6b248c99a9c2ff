// The hand-off message: the component puts a link on the clipboard and sends kMsgLinkHandoff
// (vantrel/contract.h) to the main window named in the hand-off record; handoff_window_proc,
// installed over the main window at start-up, takes the link from the clipboard then.
#pragma once

#include <windows.h>

#include "library_functions.h"
#include "window_layer.h"

namespace vantrel {

// Installs handoff_window_proc over the window with SetWindowLongA (GWL_WNDPROC) from the
// library function table and keeps the previous window procedure with the window, for good.
// False when the window procedure could not be replaced.
bool install_handoff_window_proc(WindowLayer& window, LibraryFunctions& functions);

// kMsgLinkHandoff runs take_link_from_clipboard and gives 0; every other message goes to the
// previous window procedure through CallWindowProcA from the library function table.
LRESULT CALLBACK handoff_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

}  // namespace vantrel
