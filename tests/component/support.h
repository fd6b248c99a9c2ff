// Helpers of the component's tests: HRESULT checks, the files next to the test program,
// processes, the clipboard, the hand-off record, the stand-in's log, and tavik.dll loaded
// by hand.
#pragma once

#include <windows.h>

#include <objbase.h>
#include <oleauto.h>

#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "tavik.h"
#include "vantrel/contract.h"

namespace tavik_test {

// HRESULTs compare as such and print in hexadecimal.
struct Hr {
    HRESULT value;
    bool operator==(Hr other) const { return value == other.value; }
};
void PrintTo(Hr hr, std::ostream* out);
#define EXPECT_HR(expected, actual) EXPECT_EQ(::tavik_test::Hr{expected}, ::tavik_test::Hr{actual})
#define ASSERT_HR(expected, actual) ASSERT_EQ(::tavik_test::Hr{expected}, ::tavik_test::Hr{actual})

struct Releaser {
    void operator()(IUnknown* object) const { object->Release(); }
};
template <class Interface>
using com_ptr = std::unique_ptr<Interface, Releaser>;

struct BstrFree {
    void operator()(BSTR text) const { SysFreeString(text); }
};
using unique_bstr = std::unique_ptr<OLECHAR, BstrFree>;
unique_bstr make_bstr(const std::wstring& text);

// COM initialised on the test's thread for as long as it lives.
class ComApartment {
  public:
    ComApartment() { CoInitialize(nullptr); }
    ~ComApartment() { CoUninitialize(); }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
};

// The directory of the test program, which also holds tavik.dll, the stand-in main program
// and the script client.
std::wstring test_file(const std::wstring& name);
std::wstring component_path();
std::wstring standin_path();
std::string narrow(const std::wstring& text);  // in the ANSI code page

// Polls the condition until it holds or the time is up.
bool wait_until(const std::function<bool()>& condition, DWORD timeout_ms = 15000);

// A process that the test started or found. It is ended, if still running, and waited for
// when the test lets go of it.
class Process {
  public:
    explicit Process(HANDLE handle = nullptr) : handle_(handle) {}
    Process(Process&& other) noexcept : handle_(other.handle_) { other.handle_ = nullptr; }
    Process& operator=(Process&& other) noexcept;
    ~Process() { end(); }
    explicit operator bool() const { return handle_ != nullptr; }
    // Waits for the process to end by itself; its exit code, or nullopt after the timeout.
    std::optional<DWORD> wait_for_exit(DWORD timeout_ms = 60000);
    void end();

  private:
    HANDLE handle_;
};

Process start_process(const std::wstring& command_line);
Process process_of(HWND window);

// The stand-in main program: started, its window up and the record written.
struct StandIn {
    Process process;
    HWND window = nullptr;
};
StandIn start_standin(bool foreign = false);
HWND find_main_window();  // a window of the main program's class, or null

void set_clipboard_text(const std::string& text);
std::optional<std::string> clipboard_text();  // its CF_TEXT

// The context-menu key under HKEY_CURRENT_USER that holds the hand-off record.
void delete_menu_ext_key();
void write_record_text(const char* name, const std::string& text);
// A value of any registry type holding exactly these bytes.
void write_record_value(const char* name, DWORD type, const std::string& bytes);
void delete_record_value(const char* name);
std::optional<std::string> read_record_text(const char* name);

std::string window_number(HWND window);  // as the main program writes it

// The stand-in's log in a fresh file, named in the environment that the stand-ins started
// from now on inherit.
class StandInLog {
  public:
    StandInLog();
    ~StandInLog();
    StandInLog(const StandInLog&) = delete;
    StandInLog& operator=(const StandInLog&) = delete;
    std::vector<std::string> lines() const;
    void activate() const;  // names this log in the environment again

  private:
    std::wstring path_;
};

// The lines that the stand-in logs for the two messages, with the clipboard text it found.
std::string restore_line(const std::string& clipboard);
std::string handoff_line(const std::string& clipboard);

// tavik.dll loaded by hand, its exports bound. It is freed again at the end of the test.
class Component {
  public:
    Component();
    ~Component();
    Component(const Component&) = delete;
    Component& operator=(const Component&) = delete;

    HRESULT can_unload_now() const { return can_unload_now_(); }
    HRESULT get_class_object(REFCLSID clsid, REFIID iid, void** result) const {
        return get_class_object_(clsid, iid, result);
    }
    HRESULT register_server() const { return register_server_(); }
    HRESULT unregister_server() const { return unregister_server_(); }

    com_ptr<IClassFactory> factory() const;
    com_ptr<Itavik_down> create() const;

  private:
    HMODULE module_;
    HRESULT(STDAPICALLTYPE* can_unload_now_)();
    HRESULT(STDAPICALLTYPE* get_class_object_)(REFCLSID, REFIID, void**);
    HRESULT(STDAPICALLTYPE* register_server_)();
    HRESULT(STDAPICALLTYPE* unregister_server_)();
};

}  // namespace tavik_test
