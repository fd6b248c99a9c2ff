#include "context_menu_registration.h"

#include "vantrel/contract.h"
#include "vantrel/paths.h"
#include "vantrel/win/owned.h"

namespace vantrel {

namespace {

bool store_value(const Text& path, DWORD type, const void* data, DWORD size) {
    const PathParts parts = split_at_last_backslash(path);
    OwnedKey key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, parts.head.c_str(), 0, KEY_WRITE, key.receive()) !=
            ERROR_SUCCESS &&
        RegCreateKeyExA(HKEY_CURRENT_USER, parts.head.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_WRITE, nullptr, key.receive(), nullptr) != ERROR_SUCCESS) {
        return false;
    }
    return RegSetValueExA(key.get(), parts.tail.c_str(), 0, type, static_cast<const BYTE*>(data),
                          size) == ERROR_SUCCESS;
}

// The program directory (never with a trailing backslash; "C:" in a drive's root directory)
// and the executable's name, from the path of the running executable.
PathParts running_program() {
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);  // at most MAX_PATH
    return split_at_last_backslash(std::string_view(path, length));
}

}  // namespace

bool write_registry_value(const Text& path, const Text& value) {
    return store_value(path, REG_SZ, value.c_str(), static_cast<DWORD>(value.size() + 1));
}

bool write_registry_value(const Text& path, std::int32_t value) {
    const DWORD data = static_cast<DWORD>(value);
    return store_value(path, REG_DWORD, &data, sizeof data);
}

bool register_context_menu(LibraryFunctions& functions, HWND main_window) {
    // The result is not examined: without its COM registration the entry shows in the browser
    // but its page cannot create the component; the key is written all the same.
    functions.dll_register_server()();

    const PathParts program = running_program();
    const Text key = text_concat({kMenuExtKey, "\\"});
    const Text page = text_concat({program.head, "\\", kPageFile});
    const Text file_path = text_concat({program.head, "\\", program.tail});
    const Text window_number = to_text(static_cast<std::int32_t>(HandleToLong(main_window)));
    return write_registry_value(key, page) &&
           write_registry_value(text_concat({key, kContextsValue}), kMenuContexts) &&
           write_registry_value(text_concat({key, kFilePathValue}), file_path) &&
           write_registry_value(text_concat({key, kMainWindowHandleValue}), window_number);
}

}  // namespace vantrel
