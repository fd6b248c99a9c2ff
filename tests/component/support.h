// Helpers of the component's tests beyond the shared ones (tests/support): HRESULT checks,
// the files next to the test program, the stand-in main program, the hand-off record, and
// tavik.dll loaded by hand.
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

#include "support/clipboard.h"
#include "support/files.h"
#include "support/process.h"
#include "support/stand_in_log.h"
#include "support/wait.h"
#include "support/window_search.h"
#include "tavik.h"
#include "vantrel/contract.h"
#include "vantrel/win/owned.h"

namespace tavik_test {

// HRESULTs compare as such and print in hexadecimal.
struct Hr {
    HRESULT value;
    bool operator==(Hr other) const { return value == other.value; }
};
void PrintTo(Hr hr, std::ostream* out);
#define EXPECT_HR(expected, actual) EXPECT_EQ(::tavik_test::Hr{expected}, ::tavik_test::Hr{actual})
#define ASSERT_HR(expected, actual) ASSERT_EQ(::tavik_test::Hr{expected}, ::tavik_test::Hr{actual})

using vantrel::ComApartment;
using vantrel::ComPtr;
using vantrel::OwnedBstr;
using vantrel::testing::ansi;
using vantrel::testing::clipboard_text;
using vantrel::testing::Process;
using vantrel::testing::set_clipboard_text;
using vantrel::testing::StandInLog;
using vantrel::testing::test_file;
using vantrel::testing::wait_until;
using vantrel::testing::window_number;

OwnedBstr make_bstr(const std::wstring& text);

// The test program's directory also holds tavik.dll, the stand-in main program and the script
// client.
std::wstring component_path();
std::wstring standin_path();

// The stand-in main program: started, its window up and the record written.
struct StandIn {
    Process process;
    HWND window = nullptr;
};
StandIn start_standin(bool foreign = false);
HWND find_main_window();  // a window of the main program's class, or null

// The context-menu key under HKEY_CURRENT_USER that holds the hand-off record.
void delete_menu_ext_key();
void write_record_text(const char* name, const std::string& text);
// A value of any registry type holding exactly these bytes.
void write_record_value(const char* name, DWORD type, const std::string& bytes);
void delete_record_value(const char* name);
std::optional<std::string> read_record_text(const char* name);

// The lines that the stand-in logs for the two messages, with the clipboard text it found.
using Lines = std::vector<std::wstring>;
std::wstring restore_line(const std::string& clipboard);
std::wstring handoff_line(const std::string& clipboard);

// tavik.dll loaded by hand, its exports bound. It is freed again at the end of the test.
class Component {
  public:
    Component();
    Component(const Component&) = delete;
    Component& operator=(const Component&) = delete;

    HRESULT can_unload_now() const { return can_unload_now_(); }
    HRESULT get_class_object(REFCLSID clsid, REFIID iid, void** result) const {
        return get_class_object_(clsid, iid, result);
    }
    HRESULT register_server() const { return register_server_(); }
    HRESULT unregister_server() const { return unregister_server_(); }

    ComPtr<IClassFactory> factory() const;
    ComPtr<Itavik_down> create() const;

  private:
    vantrel::OwnedModule module_;
    HRESULT(STDAPICALLTYPE* can_unload_now_)();
    HRESULT(STDAPICALLTYPE* get_class_object_)(REFCLSID, REFIID, void**);
    HRESULT(STDAPICALLTYPE* register_server_)();
    HRESULT(STDAPICALLTYPE* unregister_server_)();
};

}  // namespace tavik_test
