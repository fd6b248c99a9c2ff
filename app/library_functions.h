// The six functions that the program takes from other libraries by name at run time, on
// purpose: the alarm (nz.dll), the download dialog (shdocvw.dll), the component's registration
// and the hand-off subclass (SetWindowLongA, CallWindowProcA) reach their libraries only through
// this table, so that a missing library or export is the program's own fatal error report at
// the first use instead of a loader failure at start-up. Each is bound by name at its first call
// and stays bound while the table lives; the table releases the libraries when it is destroyed, at
// the end of the program. A library or function that cannot be found ends the program with the
// fatal error report.
//
// The program owns one table (created in main) and passes it to the code that calls out.
#pragma once

#include <windows.h>

#include <array>

#include "vantrel/win/owned.h"

namespace vantrel {

class LibraryFunctions {
  public:
    using AlarmFunction = int(WINAPI*)();                                  // nz.dll
    using SetWindowLongFunction = LONG_PTR(WINAPI*)(HWND, int, LONG_PTR);  // user32.dll
    using RegisterServerFunction = HRESULT(WINAPI*)();                     // tavik.dll
    using CallWindowProcFunction = LRESULT(WINAPI*)(WNDPROC, HWND, UINT, WPARAM, LPARAM);
    using MultiByteToWideCharFunction = int(WINAPI*)(UINT, DWORD, LPCCH, int, LPWSTR, int);
    using DoFileDownloadFunction = HRESULT(WINAPI*)(LPCWSTR);  // shdocvw.dll

    LibraryFunctions() = default;
    LibraryFunctions(const LibraryFunctions&) = delete;
    LibraryFunctions& operator=(const LibraryFunctions&) = delete;

    AlarmFunction alarm() { return bound<AlarmFunction>(Entry::alarm); }
    SetWindowLongFunction set_window_long() {
        return bound<SetWindowLongFunction>(Entry::set_window_long);
    }
    RegisterServerFunction dll_register_server() {
        return bound<RegisterServerFunction>(Entry::dll_register_server);
    }
    CallWindowProcFunction call_window_proc() {
        return bound<CallWindowProcFunction>(Entry::call_window_proc);
    }
    MultiByteToWideCharFunction multi_byte_to_wide_char() {
        return bound<MultiByteToWideCharFunction>(Entry::multi_byte_to_wide_char);
    }
    DoFileDownloadFunction do_file_download() {
        return bound<DoFileDownloadFunction>(Entry::do_file_download);
    }

  private:
    enum class Entry {
        alarm,
        set_window_long,
        dll_register_server,
        call_window_proc,
        multi_byte_to_wide_char,
        do_file_download,
    };
    static constexpr std::size_t kEntries = 6;

    struct Binding {
        OwnedModule library;  // held by this entry, released with the table
        FARPROC function = nullptr;
    };

    FARPROC bind(Entry entry);

    template <typename Function>
    Function bound(Entry entry) {
        // Through void (*)(): the one function pointer type that converts without a
        // cast-function-type warning.
        return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(bind(entry)));
    }

    std::array<Binding, kEntries> bindings_;
};

}  // namespace vantrel
