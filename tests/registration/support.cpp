#include "support.h"

#include <sddl.h>

#include <cstring>

#include "app_ids.h"
#include "vantrel/win/owned.h"

namespace registration_test {

namespace {

using vantrel::OwnedKey;

OwnedKey open_key(const std::string& path, REGSAM access) {
    OwnedKey key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, access, key.receive()) != ERROR_SUCCESS) {
        return {};
    }
    return key;
}

}  // namespace

void PrintTo(const Value& value, std::ostream* out) {
    *out << "type " << value.type << ", " << value.data.size() << " bytes:";
    static const char digits[] = "0123456789abcdef";
    for (unsigned char c : value.data)
        *out << ' ' << digits[c >> 4] << digits[c & 15];
}

Value text_value(const std::string& text) {
    return {REG_SZ, text + '\0'};
}

Value dword_value(DWORD number) {
    std::string data(sizeof number, '\0');
    std::memcpy(data.data(), &number, sizeof number);
    return {REG_DWORD, data};
}

std::optional<std::map<std::string, Value>> read_values(const std::string& path) {
    const OwnedKey key = open_key(path, KEY_QUERY_VALUE);
    if (!key.get()) return std::nullopt;
    std::map<std::string, Value> values;
    for (DWORD index = 0;; ++index) {
        char name[256] = {};
        DWORD name_size = sizeof name;
        BYTE data[4096] = {};
        DWORD data_size = sizeof data;
        DWORD type = 0;
        if (RegEnumValueA(key.get(), index, name, &name_size, nullptr, &type, data, &data_size) !=
            ERROR_SUCCESS) {
            break;
        }
        values[std::string(name, name_size)] =
            Value{type, std::string(reinterpret_cast<char*>(data), data_size)};
    }
    return values;
}

std::optional<Value> read_value(const std::string& path, const std::string& name) {
    const OwnedKey key = open_key(path, KEY_QUERY_VALUE);
    if (!key.get()) return std::nullopt;
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(key.get(), name.c_str(), nullptr, &type, nullptr, &size) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    std::string data(size, '\0');
    if (RegQueryValueExA(key.get(), name.c_str(), nullptr, &type,
                         reinterpret_cast<BYTE*>(data.data()), &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    data.resize(size);
    return Value{type, data};
}

bool write_value(const std::string& path, const std::string& name, const Value& value) {
    OwnedKey key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        key.receive(), nullptr) != ERROR_SUCCESS) {
        return false;
    }
    return RegSetValueExA(key.get(), name.c_str(), 0, value.type,
                          reinterpret_cast<const BYTE*>(value.data.data()),
                          static_cast<DWORD>(value.data.size())) == ERROR_SUCCESS;
}

bool key_exists(const std::string& path) {
    return static_cast<bool>(open_key(path, KEY_READ));
}

namespace {

bool set_access(HKEY key, const wchar_t* dacl) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(dacl, SDDL_REVISION_1, &descriptor,
                                                              nullptr)) {
        return false;
    }
    const bool set = RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, descriptor) == ERROR_SUCCESS;
    LocalFree(descriptor);
    return set;
}

// Deletes the key with the keys below it, each opened to everyone first (a test may have left
// one locked). Depth-bounded, and a name that cannot be spelt is left alone: such a key must
// not lead back to its parent for ever.
void delete_subtree(HKEY parent, const std::wstring& name, int depth) {
    if (depth == 0 || name.empty() || name.find(L'\0') != std::wstring::npos) return;
    OwnedKey key;
    if (RegOpenKeyExW(parent, name.c_str(), 0, WRITE_DAC, key.receive()) == ERROR_SUCCESS) {
        set_access(key.get(), L"D:P(A;;KA;;;WD)");
    }
    if (RegOpenKeyExW(parent, name.c_str(), 0, KEY_ENUMERATE_SUB_KEYS, key.receive()) !=
        ERROR_SUCCESS) {
        return;
    }
    std::vector<std::wstring> names;
    wchar_t subkey[256] = {};
    DWORD size = 256;
    for (DWORD index = 0; RegEnumKeyExW(key.get(), index, subkey, &size, nullptr, nullptr, nullptr,
                                        nullptr) == ERROR_SUCCESS;
         ++index, size = 256) {
        names.emplace_back(subkey, size);
    }
    for (const std::wstring& below : names)
        delete_subtree(key.get(), below, depth - 1);
    key.reset();
    RegDeleteKeyW(parent, name.c_str());
}

}  // namespace

void delete_key_tree(const std::string& path) {
    delete_subtree(HKEY_CURRENT_USER, wide(path), 16);
}

bool set_key_access(const std::string& path, const wchar_t* dacl) {
    const OwnedKey key = open_key(path, WRITE_DAC);
    return key && set_access(key.get(), dacl);
}

ProgramFolder::ProgramFolder(bool with_component) {
    wchar_t base[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, base);
    static unsigned counter = 0;
    directory_ = std::wstring(base) + L"vantrel-registration-" +
                 std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++counter);
    install(with_component);
}

ProgramFolder::ProgramFolder(const std::wstring& directory, bool with_component,
                             const std::wstring& executable)
    : directory_(directory), executable_(executable) {
    install(with_component);
}

void ProgramFolder::install(bool with_component) {
    created_ = CreateDirectoryW(directory_.c_str(), nullptr) != FALSE;
    struct Copy {
        const wchar_t* from;
        std::wstring as;
    };
    std::vector<Copy> files = {{L"vantrel.exe", executable_}};
    if (with_component) files.push_back({L"tavik.dll", L"tavik.dll"});
    ok_ = true;
    for (const Copy& file : files) {
        const std::wstring copy = directory_ + L"\\" + file.as;
        if (CopyFileW(test_file(file.from).c_str(), copy.c_str(), FALSE)) {
            copies_.push_back(copy);
        } else {
            ok_ = false;
        }
    }
}

ProgramFolder::~ProgramFolder() {
    for (const std::wstring& copy : copies_) {
        // A program that was just ended may hold its file a moment longer.
        wait_until(
            [&] { return DeleteFileW(copy.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND; },
            5000);
    }
    if (created_) RemoveDirectoryW(directory_.c_str());
}

namespace {

std::vector<HWND> main_windows_of(DWORD process_id) {
    std::vector<HWND> visible;
    for (HWND window : vantrel::testing::top_windows(vantrel::kMainWindowClass, process_id)) {
        if (IsWindowVisible(window)) visible.push_back(window);
    }
    return visible;
}

}  // namespace

std::vector<HWND> main_windows() {
    return main_windows_of(0);
}

Vantrel::Vantrel(const std::wstring& program, const std::wstring& argument)
    : process_(vantrel::testing::Process::start(
          L"\"" + program + L"\"" + (argument.empty() ? L"" : L" \"" + argument + L"\""),
          program)) {
    if (!process_) return;
    // The record names the window once the start-up sequence has written it; a message box
    // or the end of the process ends the start early.
    wait_until([this] {
        if (!running() || message_box()) return true;
        const std::vector<HWND> windows = main_windows_of(process_.id());
        if (windows.empty()) return false;
        window_ = windows.front();
        const std::optional<Value> record = read_value(kKeyPath, vantrel::kMainWindowHandleValue);
        return record && *record == text_value(window_number(window_));
    });
}

Vantrel::Vantrel(HWND window)
    : process_(vantrel::testing::Process::of_window(window)), window_(window) {}

Vantrel::~Vantrel() {
    if (running() && window_) {
        PostMessageW(GetDlgItem(window_, vantrel::id_exit_button), BM_CLICK, 0, 0);  // 退出
        wait_for_exit(10000);
    }
    process_.end(99);
}

std::string Vantrel::box(int id) const {
    return vantrel::testing::box_text(GetDlgItem(window_, id));
}

void Vantrel::set_box(int id, const std::string& text) const {
    vantrel::testing::set_box_text(GetDlgItem(window_, id), text);
}

HWND Vantrel::message_box() const {
    return vantrel::testing::find_message_box(process_.id());
}

ScriptRun run_script(const std::wstring& script, const std::vector<std::wstring>& arguments,
                     DWORD timeout_ms) {
    ScriptRun run;
    wchar_t system[MAX_PATH] = {};
    GetSystemDirectoryW(system, MAX_PATH);
    std::wstring command_line =
        L"\"" + std::wstring(system) + L"\\cscript.exe\" //nologo \"" + test_file(script) + L"\"";
    for (const std::wstring& argument : arguments)
        command_line += L" \"" + argument + L"\"";

    // The output goes into a file, read when the script has ended.
    vantrel::testing::TempDirectory directory;
    const std::wstring output_path = directory.file(L"output.txt");
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    vantrel::OwnedKernelHandle output(CreateFileW(output_path.c_str(), GENERIC_WRITE,
                                                  FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (output.get() == INVALID_HANDLE_VALUE) {
        output.detach();
        return run;
    }
    vantrel::testing::Process script_host =
        vantrel::testing::Process::start(command_line, {}, {}, output.get());
    output.reset();
    if (!script_host) return run;
    // Messages are handled while waiting: the script may send some to the test's windows.
    run.exit_code = script_host.wait_for_exit(timeout_ms);
    script_host.end(99);

    HANDLE input =
        CreateFileW(output_path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (input != INVALID_HANDLE_VALUE) {
        const vantrel::OwnedKernelHandle file(input);
        char chunk[4096];
        DWORD read = 0;
        while (ReadFile(file.get(), chunk, sizeof chunk, &read, nullptr) && read > 0) {
            run.output.append(chunk, read);
        }
    }
    return run;
}

namespace {

constexpr wchar_t kWatcherClass[] = L"RegistrationTestClipboardWatcher";

}  // namespace

WatchedClipboardText::WatchedClipboardText(const std::string& text) : text_(text) {
    WNDCLASSEXW window_class{};
    window_class.hInstance = GetModuleHandleW(nullptr);
    window_class.lpszClassName = kWatcherClass;
    register_class(window_class);  // fails harmlessly when already registered
    CreateWindowExW(0, kWatcherClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                    GetModuleHandleW(nullptr), creation_param());
    if (!window() || !wait_until([this] { return OpenClipboard(window()) != FALSE; }, 5000)) {
        return;
    }
    EmptyClipboard();
    SetClipboardData(CF_TEXT, nullptr);  // rendered at WM_RENDERFORMAT
    placed_ = IsClipboardFormatAvailable(CF_TEXT) != FALSE;
    CloseClipboard();
}

WatchedClipboardText::~WatchedClipboardText() {
    if (window()) DestroyWindow(window());
}

LRESULT WatchedClipboardText::handle_message(UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_RENDERFORMAT && wparam == CF_TEXT) {
        ++renderings_;
        vantrel::OwnedGlobal block(vantrel::testing::global_block(text_ + '\0'));
        if (block && SetClipboardData(CF_TEXT, block.get())) block.detach();
        return 0;
    }
    if (message == WM_RENDERALLFORMATS) return 0;  // nothing is left behind
    return DefWindowProcW(window(), message, wparam, lparam);
}

}  // namespace registration_test
