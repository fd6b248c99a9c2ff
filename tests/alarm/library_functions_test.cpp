// The library function table: each entry is bound at its first call and kept, its library
// is loaded from the program directory once and released with the table, and a library or
// function that cannot be found ends the program with the fatal error report.
#include "library_functions.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "support/files.h"
#include "support/process.h"
#include "support/wait.h"
#include "support/window_search.h"
#include "vantrel/contract.h"

namespace {

using vantrel::LibraryFunctions;
using vantrel::testing::Process;
using vantrel::testing::program_directory;

std::wstring module_directory(HMODULE module) {
    wchar_t path[MAX_PATH] = {};
    const std::wstring file(path, GetModuleFileNameW(module, path, MAX_PATH));
    return file.substr(0, file.find_last_of(L'\\'));
}

template <typename Function>
void* address_of(Function function) {
    return reinterpret_cast<void*>(function);
}

// The stand-ins in the test program's directory play nz.dll and shdocvw.dll.
struct LoadedEntry {
    const char* name;
    const wchar_t* library;
    const char* export_name;
    std::function<void*(LibraryFunctions&)> bind;
};

const LoadedEntry kLoadedEntries[] = {
    {"alarm", L"nz.dll",
     "\xC4\xD6\xD6\xD3"
     "dll",
     [](LibraryFunctions& table) { return address_of(table.alarm()); }},
    {"download", L"shdocvw.dll", "DoFileDownload",
     [](LibraryFunctions& table) { return address_of(table.do_file_download()); }},
};

TEST(LibraryFunctions, LoadsTheLibraryAtTheFirstCallOnceAndReleasesItWithTheTable) {
    for (const LoadedEntry& entry : kLoadedEntries) {
        SCOPED_TRACE(entry.name);
        ASSERT_EQ(GetModuleHandleW(entry.library), nullptr);
        {
            LibraryFunctions table;
            EXPECT_EQ(GetModuleHandleW(entry.library), nullptr) << "bound before its first call";
            void* first = entry.bind(table);
            HMODULE library = GetModuleHandleW(entry.library);
            ASSERT_NE(library, nullptr);
            EXPECT_EQ(module_directory(library), program_directory());
            EXPECT_EQ(first, address_of(GetProcAddress(library, entry.export_name)));
            EXPECT_EQ(entry.bind(table), first);
            EXPECT_EQ(entry.bind(table), first);
        }
        // One release frees it, so the table loaded it only once.
        EXPECT_EQ(GetModuleHandleW(entry.library), nullptr) << "still loaded after the table";
    }
}

TEST(LibraryFunctions, BindsTheSystemFunctions) {
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    HMODULE kernel32 = GetModuleHandleW(L"kernel32.dll");
    LibraryFunctions table;
#ifdef _WIN64
    const char* set_window_long = "SetWindowLongPtrA";
#else
    const char* set_window_long = "SetWindowLongA";
#endif
    EXPECT_EQ(address_of(table.set_window_long()),
              address_of(GetProcAddress(user32, set_window_long)));
    EXPECT_EQ(address_of(table.call_window_proc()),
              address_of(GetProcAddress(user32, "CallWindowProcA")));
    EXPECT_EQ(address_of(table.multi_byte_to_wide_char()),
              address_of(GetProcAddress(kernel32, "MultiByteToWideChar")));

    wchar_t wide[4] = {};
    EXPECT_EQ(table.multi_byte_to_wide_char()(CP_ACP, 0, "abc", -1, wide, 4), 4);
    EXPECT_STREQ(wide, L"abc");
}

// The bound window procedure functions really subclass a window: SetWindowLong(Ptr)A
// installs a procedure that passes on through CallWindowProcA.
struct Subclass {
    static inline LibraryFunctions* table = nullptr;
    static inline WNDPROC previous = nullptr;
    static inline int seen = 0;
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
        if (message == vantrel::kMsgLinkHandoff) {
            ++seen;
            return 0;
        }
        return table->call_window_proc()(previous, window, message, wparam, lparam);
    }
};

TEST(LibraryFunctions, SubclassesAWindowWithTheBoundFunctions) {
    LibraryFunctions table;
    HWND window = CreateWindowExA(0, "STATIC", "before", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                  nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    Subclass::table = &table;
    Subclass::previous = reinterpret_cast<WNDPROC>(table.set_window_long()(
        window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Subclass::procedure)));
    ASSERT_NE(Subclass::previous, nullptr);
    SendMessageA(window, vantrel::kMsgLinkHandoff, 0, 0);
    SetWindowTextA(window, "after");
    char text[16] = {};
    GetWindowTextA(window, text, sizeof text);
    EXPECT_EQ(Subclass::seen, 1);
    EXPECT_STREQ(text, "after");
    DestroyWindow(window);
}

// A helper program binds one entry from a directory of its own. The report is a message
// box without owner that names the library and the function; when it is closed the program
// ends with exit code -1. (Its icon cannot be compared from here: icon handles belong to
// the process that loaded them.)
struct MissingCase {
    const char* entry;
    const wchar_t* library_without_entries;  // copied in under this name, or nullptr
    const wchar_t* library;
    const wchar_t* function;
};

const MissingCase kMissingCases[] = {
    {"alarm", nullptr, L"nz.dll", L"闹钟dll"},
    {"alarm", L"nz.dll", L"nz.dll", L"闹钟dll"},
    {"register", nullptr, L"tavik.dll", L"DllRegisterServer"},
    {"download", L"shdocvw.dll", L"shdocvw.dll", L"DoFileDownload"},
};

TEST(LibraryFunctions, AMissingLibraryOrFunctionEndsTheProgramWithTheFatalErrorReport) {
    for (const MissingCase& missing : kMissingCases) {
        SCOPED_TRACE(std::string(missing.entry) +
                     (missing.library_without_entries ? " (library without it)" : " (no library)"));
        vantrel::testing::TempDirectory directory;
        ASSERT_TRUE(directory.copy_in(L"library_call_helper.exe", L"helper.exe"));
        if (missing.library_without_entries) {
            ASSERT_TRUE(directory.copy_in(L"stand_in_without_entries.dll",
                                          missing.library_without_entries));
        }
        const std::wstring entry(missing.entry, missing.entry + strlen(missing.entry));
        const Process helper = Process::start(
            L"\"" + directory.file(L"helper.exe") + L"\" " + entry, {}, directory.path());
        ASSERT_TRUE(helper);

        HWND report = nullptr;
        ASSERT_TRUE(vantrel::testing::wait_until([&] {
            report = vantrel::testing::find_top_window(helper.id(), L"#32770");
            return report != nullptr || !helper.running();
        }));
        ASSERT_NE(report, nullptr) << "the helper ended without a report";
        EXPECT_EQ(GetWindow(report, GW_OWNER), nullptr);
        const std::wstring text = vantrel::testing::child_texts(report);
        EXPECT_NE(text.find(missing.library), std::wstring::npos);
        EXPECT_NE(text.find(missing.function), std::wstring::npos);

        HWND ok = GetDlgItem(report, IDOK);
        ASSERT_NE(ok, nullptr);
        SendMessageW(ok, BM_CLICK, 0, 0);
        const std::optional<DWORD> exit_code = helper.wait_for_exit(20000);
        ASSERT_TRUE(exit_code);
        EXPECT_EQ(*exit_code, static_cast<DWORD>(-1));
    }
}

TEST(LibraryFunctions, TheHelperEndsNormallyWhenTheLibraryIsThere) {
    vantrel::testing::TempDirectory directory;
    ASSERT_TRUE(directory.copy_in(L"library_call_helper.exe", L"helper.exe"));
    ASSERT_TRUE(directory.copy_in(L"nz.dll", L"nz.dll"));
    const Process helper =
        Process::start(L"\"" + directory.file(L"helper.exe") + L"\" alarm", {}, directory.path());
    ASSERT_TRUE(helper);
    const std::optional<DWORD> exit_code = helper.wait_for_exit(20000);
    ASSERT_TRUE(exit_code);
    EXPECT_EQ(*exit_code, 0u);
}

}  // namespace
