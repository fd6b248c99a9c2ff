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

// The exit code of a start that cannot write the context-menu key. A failed registration is
// a failure, so the program does not end with 0, which would report success; 1 is no other
// exit code of the program (-1 is the fatal error report's).
inline constexpr UINT kExitRegistryWriteFailed = 1;

// The key path under HKEY_CURRENT_USER with its trailing backslash, in code page 936 bytes
// ("&Q 下载地址转换" is the menu text, Q its access key), so that the program and the component
// name the same key whatever the system's ANSI code page.
inline constexpr char kContextMenuKey[] =
    "Software\\Microsoft\\Internet Explorer\\MenuExt\\&Q "
    "\xCF\xC2\xD4\xD8\xB5\xD8\xD6\xB7\xD7\xAA\xBB\xBB\\";

// The browser's context flags: links (0x20) and images (0x02).
inline constexpr std::int32_t kMenuContexts = 0x22;

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
