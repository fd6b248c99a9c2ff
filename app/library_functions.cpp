#include "library_functions.h"

#include "fatal_error.h"
#include "vantrel/contract.h"

namespace vantrel {

namespace {

struct TableEntry {
    const wchar_t* library;     // nullptr: one of the system libraries, already in the process
    const char* export_name;    // as GetProcAddress takes it, in the ANSI code page
    const wchar_t* shown_name;  // the function's name for the fatal error report
};

// "闹钟dll" is exported under its code page 936 bytes. On 64-bit Windows SetWindowLongA
// cannot hold a window procedure, so the x86_64 build binds SetWindowLongPtrA; on 32-bit
// Windows that name is only a macro for SetWindowLongA.
constexpr TableEntry kTable[] = {
    {L"nz.dll",
     "\xC4\xD6\xD6\xD3"
     "dll",
     L"闹钟dll"},
#ifdef _WIN64
    {L"user32.dll", "SetWindowLongPtrA", L"SetWindowLongPtrA"},
#else
    {L"user32.dll", "SetWindowLongA", L"SetWindowLongA"},
#endif
    {kComponentFile, "DllRegisterServer", L"DllRegisterServer"},
    {L"user32.dll", "CallWindowProcA", L"CallWindowProcA"},
    {nullptr, "MultiByteToWideChar", L"MultiByteToWideChar"},
    {L"shdocvw.dll", "DoFileDownload", L"DoFileDownload"},
};

// MultiByteToWideChar lives in Kernel32, which every process has loaded.
constexpr const wchar_t* kSystemLibrary = L"kernel32.dll";

}  // namespace

FARPROC LibraryFunctions::bind(Entry entry) {
    static_assert(sizeof kTable / sizeof kTable[0] == kEntries);
    const auto index = static_cast<std::size_t>(entry);
    Binding& binding = bindings_[index];
    if (binding.function) return binding.function;

    const TableEntry& wanted = kTable[index];
    // A name without a path: the program directory first, then the usual search path.
    HMODULE library =
        wanted.library ? LoadLibraryW(wanted.library) : GetModuleHandleW(kSystemLibrary);
    FARPROC function = library ? GetProcAddress(library, wanted.export_name) : nullptr;
    if (!function) {
        report_missing_library_function(wanted.library ? wanted.library : kSystemLibrary,
                                        wanted.shown_name);
    }
    if (wanted.library) binding.library.reset(library);
    binding.function = function;
    return function;
}

}  // namespace vantrel
