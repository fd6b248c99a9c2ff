// Handing a link to the running main program: the hand-off record that the main program
// writes under its context-menu key, the clipboard, and the message kMsgLinkHandoff (all three
// named in vantrel/contract.h).
#pragma once

#include <windows.h>

#include "handoff_record.h"

namespace tavik {

// Places the text on the clipboard as CF_TEXT, replacing what it held.
void put_text_on_clipboard(const char* text);

// Restores and brings forward the main window named in the hand-off record, puts the text on
// the clipboard and sends the window kMsgLinkHandoff. False when the record names no main
// window of this program.
bool notify_main_window(const char* text);

// Starts the program named in the hand-off record, waits until it is ready and hands it the
// text.
void start_main_program(const char* text);

}  // namespace tavik
