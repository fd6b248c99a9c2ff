// The main program's half of the browser integration, run at every start: the hand-off
// component registers itself with COM, then the context-menu key "&Q 下载地址转换" is written
// under HKEY_CURRENT_USER with the page that the browser runs for the entry, the contexts it
// is offered in, and the hand-off record (the program's path and its main window).
#pragma once

#include <windows.h>

#include <cstdint>

#include "library_functions.h"
#include "vantrel/text.h"

namespace vantrel {

// A start that cannot write the context-menu key ends with kExitRegistryWriteFailed
// (vantrel/contract.h): a failed registration is a failure, so the program does not end with
// 0, which would report success.

// Calls DllRegisterServer of tavik.dll (its result is not examined; a missing library or
// export ends the program with the fatal error report), then writes the key's default value
// (the page), contexts, FilePath and MainWindowHandle, in this order. True when all four were
// written; a failed write stops there and leaves the earlier values in place.
bool register_context_menu(LibraryFunctions& functions, HWND main_window);

// Stores a value under HKEY_CURRENT_USER. The path is the key path, a backslash and the value
// name, split at its last backslash (double-byte-aware): a trailing backslash names the key's
// default value, a path without backslash a value directly under HKEY_CURRENT_USER. The key
// is opened for writing, or created with every missing key above it. Texts are stored as
// REG_SZ with their terminating zero, integers as REG_DWORD. True when the value was stored.
bool write_registry_value(const Text& path, const Text& value);
bool write_registry_value(const Text& path, std::int32_t value);

}  // namespace vantrel
