// The hyperlink control of the about window (超级链接框1): its caption drawn underlined,
// highlighted while the mouse is over it and in the visited colour once it has been opened.
// A left button press opens its target address (given as the creation parameter, a string
// that outlives the control).
#pragma once

#include <windows.h>

#include <string>

namespace vantrel {

bool register_hyperlink_class(HINSTANCE instance);

// Opens address with the shell's "open" verb; when the shell fails, starts the program
// registered for ".htm" pages with the address. True when either way started something.
bool open_address(const std::wstring& address);

// The command line that starts the ".htm" program for address: the registered open command
// cut before its "%1" placeholder, then a space and the address. Empty when nothing is
// registered.
std::wstring htm_command_line(const std::wstring& open_command, const std::wstring& address);

}  // namespace vantrel
