// Helpers of the registration tests: the context-menu key read back as the program wrote it,
// vantrel.exe installed into folders of the tests' choosing and driven from outside, script
// clients run by cscript, and a clipboard text that reports when somebody reads it.
#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "support/clipboard.h"
#include "support/files.h"
#include "support/process.h"
#include "support/wait.h"
#include "support/window_search.h"
#include "vantrel/contract.h"
#include "vantrel/win/owned.h"
#include "vantrel/win/window_base.h"

namespace registration_test {

using vantrel::testing::ansi;
using vantrel::testing::empty_clipboard;
using vantrel::testing::set_clipboard_text;
using vantrel::testing::test_file;
using vantrel::testing::wait_until;
using vantrel::testing::wide;

// HKEY_CURRENT_USER\Software\Microsoft\Internet Explorer\MenuExt and the context-menu key
// below it, as code page 936 bytes.
inline constexpr const char* kMenuExtPath = vantrel::kMenuExtParentKey;
inline constexpr const char* kKeyPath = vantrel::kMenuExtKey;

// A registry value as stored: its type and its data bytes.
struct Value {
    DWORD type = REG_NONE;
    std::string data;
    bool operator==(const Value& other) const { return type == other.type && data == other.data; }
};
void PrintTo(const Value& value, std::ostream* out);
Value text_value(const std::string& text);  // REG_SZ, the text and its terminating zero
Value dword_value(DWORD number);

// Every value of a key under HKEY_CURRENT_USER (ANSI path), by name; nullopt when the key is
// missing.
std::optional<std::map<std::string, Value>> read_values(const std::string& path);
std::optional<Value> read_value(const std::string& path, const std::string& name);
bool write_value(const std::string& path, const std::string& name, const Value& value);
bool key_exists(const std::string& path);
// Deletes a key with everything below it, also when its security forbids writing.
void delete_key_tree(const std::string& path);
// Replaces the key's access rules (an SDDL DACL such as "D:P(A;;KA;;;WD)").
bool set_key_access(const std::string& path, const wchar_t* dacl);

using vantrel::testing::window_number;

// A directory that did not exist, removed at the end (when it is empty again by then).
class FreshDirectory {
  public:
    explicit FreshDirectory(const std::wstring& path)
        : path_(path), ok_(CreateDirectoryW(path.c_str(), nullptr) != FALSE) {}
    ~FreshDirectory() {
        if (ok_) RemoveDirectoryW(path_.c_str());
    }
    FreshDirectory(const FreshDirectory&) = delete;
    FreshDirectory& operator=(const FreshDirectory&) = delete;
    bool ok() const { return ok_; }

  private:
    std::wstring path_;
    bool ok_;
};

// A folder that holds a copy of vantrel.exe (under a name of the test's choosing) and of
// tavik.dll when asked, taken from the test program's directory. A folder that did not exist is
// created, and removed at the end with the copies.
class ProgramFolder {
  public:
    explicit ProgramFolder(bool with_component = true);  // a fresh folder under %TEMP%
    ProgramFolder(const std::wstring& directory, bool with_component,
                  const std::wstring& executable = L"vantrel.exe");
    ~ProgramFolder();
    ProgramFolder(const ProgramFolder&) = delete;
    ProgramFolder& operator=(const ProgramFolder&) = delete;
    bool ok() const { return ok_; }
    const std::wstring& directory() const { return directory_; }
    std::wstring program() const { return directory_ + L"\\" + executable_; }

  private:
    void install(bool with_component);

    std::wstring directory_;
    std::wstring executable_ = L"vantrel.exe";
    std::vector<std::wstring> copies_;
    bool created_ = false;
    bool ok_ = false;
};

// A running vantrel.exe. Ended through its 退出 button when the test lets go of it, by force
// when that does not work.
class Vantrel {
  public:
    // Starts the program and waits until its main window is up and has written the hand-off
    // record, until it shows a message box, or until the process has ended. An argument
    // follows the program on its command line, quoted.
    explicit Vantrel(const std::wstring& program, const std::wstring& argument = {});
    // Takes over an instance that somebody else started, by its main window.
    explicit Vantrel(HWND window);
    ~Vantrel();
    Vantrel(const Vantrel&) = delete;
    Vantrel& operator=(const Vantrel&) = delete;

    HWND window() const { return window_; }
    DWORD id() const { return process_.id(); }
    bool running() const { return process_.running(); }
    // The exit code once the process has ended within the time; nullopt otherwise.
    std::optional<DWORD> wait_for_exit(DWORD timeout_ms = 20000) const {
        return process_.wait_for_exit(timeout_ms);
    }
    std::string box(int id) const;  // the ANSI text of 编辑框1 or 编辑框2
    void set_box(int id, const std::string& text) const;
    // The first visible message box of the process, or nullptr.
    HWND message_box() const;

  private:
    vantrel::testing::Process process_;
    HWND window_ = nullptr;
};

// The visible main windows of every running vantrel.exe.
std::vector<HWND> main_windows();

// A script run by cscript from the test program's directory, with its output.
struct ScriptRun {
    std::optional<DWORD> exit_code;  // nullopt: still running after the time, ended by force
    std::string output;
};
ScriptRun run_script(const std::wstring& script, const std::vector<std::wstring>& arguments,
                     DWORD timeout_ms = 30000);

// CF_TEXT on the clipboard, rendered only when somebody asks for it (delayed rendering), so
// that the test can tell whether anybody looked at the clipboard.
class WatchedClipboardText final : public vantrel::WindowBase {
  public:
    explicit WatchedClipboardText(const std::string& text);
    ~WatchedClipboardText() override;
    WatchedClipboardText(const WatchedClipboardText&) = delete;
    WatchedClipboardText& operator=(const WatchedClipboardText&) = delete;
    bool placed() const { return placed_; }
    int renderings() const { return renderings_; }

  private:
    LRESULT handle_message(UINT message, WPARAM wparam, LPARAM lparam) override;

    std::string text_;
    bool placed_ = false;
    int renderings_ = 0;
};

}  // namespace registration_test
