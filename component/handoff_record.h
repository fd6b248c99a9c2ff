// The hand-off record that the main program writes under its context-menu key (named in
// vantrel/contract.h): its path and its main window. Read by the component and by vantrel.exe
// itself, so that both accept exactly the same window as the running main program.
#pragma once

#include <windows.h>

#include <cstddef>

namespace tavik {

// The signed decimal number at the start of the text, which ends at its first zero byte or
// after size bytes: white space is skipped, then an optional sign, then digits up to the
// first other character. No digits give 0; a number beyond 32 bits gives the nearest limit.
LONG parse_window_handle(const char* text, std::size_t size);

// Reads the record's value of at most size bytes into buffer, whatever its registry type. False
// when the record or the value is missing or the value is longer.
bool read_record_value(const char* name, char* buffer, DWORD size);

// The main window that the hand-off record names, or null when the record cannot be read or
// its number is not (any longer) a window of the main program's class.
HWND find_main_window();

}  // namespace tavik
