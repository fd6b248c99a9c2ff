#include "support.h"

#include <sddl.h>

#include <cstring>

#include "app_ids.h"

namespace registration_test {

namespace {

class Key {
  public:
    Key(const std::string& path, REGSAM access) {
        if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, access, &key_) != ERROR_SUCCESS) {
            key_ = nullptr;
        }
    }
    ~Key() {
        if (key_) RegCloseKey(key_);
    }
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;
    HKEY get() const { return key_; }

  private:
    HKEY key_ = nullptr;
};

}  // namespace

std::string ansi(const std::wstring& text) {
    const int size = WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), result.data(), size,
                        nullptr, nullptr);
    return result;
}

std::wstring wide(const std::string& text) {
    const int size =
        MultiByteToWideChar(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring result(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), result.data(),
                        size);
    return result;
}

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
    Key key(path, KEY_QUERY_VALUE);
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
    Key key(path, KEY_QUERY_VALUE);
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
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        &key, nullptr) != ERROR_SUCCESS) {
        return false;
    }
    const bool written = RegSetValueExA(key, name.c_str(), 0, value.type,
                                        reinterpret_cast<const BYTE*>(value.data.data()),
                                        static_cast<DWORD>(value.data.size())) == ERROR_SUCCESS;
    RegCloseKey(key);
    return written;
}

bool key_exists(const std::string& path) {
    return Key(path, KEY_READ).get() != nullptr;
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
    HKEY key = nullptr;
    if (RegOpenKeyExW(parent, name.c_str(), 0, WRITE_DAC, &key) == ERROR_SUCCESS) {
        set_access(key, L"D:P(A;;KA;;;WD)");
        RegCloseKey(key);
    }
    if (RegOpenKeyExW(parent, name.c_str(), 0, KEY_ENUMERATE_SUB_KEYS, &key) != ERROR_SUCCESS) {
        return;
    }
    std::vector<std::wstring> names;
    wchar_t subkey[256] = {};
    DWORD size = 256;
    for (DWORD index = 0; RegEnumKeyExW(key, index, subkey, &size, nullptr, nullptr, nullptr,
                                        nullptr) == ERROR_SUCCESS;
         ++index, size = 256) {
        names.emplace_back(subkey, size);
    }
    for (const std::wstring& below : names)
        delete_subtree(key, below, depth - 1);
    RegCloseKey(key);
    RegDeleteKeyW(parent, name.c_str());
}

}  // namespace

void delete_key_tree(const std::string& path) {
    delete_subtree(HKEY_CURRENT_USER, wide(path), 16);
}

bool set_key_access(const std::string& path, const wchar_t* dacl) {
    Key key(path, WRITE_DAC);
    return key.get() && set_access(key.get(), dacl);
}

std::string window_number(HWND window) {
    return std::to_string(static_cast<long>(HandleToLong(window)));
}

std::wstring test_file(const std::wstring& name) {
    return test_support::program_directory() + L"\\" + name;
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

struct WindowSearch {
    DWORD process_id;  // 0: any process
    std::vector<HWND> found;
};

BOOL CALLBACK collect_main_window(HWND window, LPARAM lparam) {
    auto& search = *reinterpret_cast<WindowSearch*>(lparam);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    if ((search.process_id == 0 || owner == search.process_id) && IsWindowVisible(window) &&
        lstrcmpW(name, vantrel::kMainWindowClass) == 0) {
        search.found.push_back(window);
    }
    return TRUE;
}

std::vector<HWND> main_windows_of(DWORD process_id) {
    WindowSearch search{process_id, {}};
    EnumWindows(collect_main_window, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace

std::vector<HWND> main_windows() {
    return main_windows_of(0);
}

Vantrel::Vantrel(const std::wstring& program) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    std::wstring command_line = L"\"" + program + L"\"";
    if (!CreateProcessW(program.c_str(), command_line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &info)) {
        return;
    }
    CloseHandle(info.hThread);
    process_ = info.hProcess;
    id_ = info.dwProcessId;
    // The record names the window once the start-up sequence has written it; a message box
    // or the end of the process ends the start early.
    wait_until([this] {
        if (!running() || message_box()) return true;
        const std::vector<HWND> windows = main_windows_of(id_);
        if (windows.empty()) return false;
        window_ = windows.front();
        const std::optional<Value> record = read_value(kKeyPath, vantrel::kMainWindowHandleValue);
        return record && *record == text_value(window_number(window_));
    });
}

Vantrel::Vantrel(HWND window) : window_(window) {
    GetWindowThreadProcessId(window, &id_);
    process_ = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, id_);
}

Vantrel::~Vantrel() {
    if (!process_) return;
    if (running() && window_) {
        PostMessageW(GetDlgItem(window_, vantrel::id_cancel_button), BM_CLICK, 0, 0);  // 退出
        wait_for_exit(10000);
    }
    if (running()) {
        TerminateProcess(process_, 99);
        WaitForSingleObject(process_, 5000);
    }
    CloseHandle(process_);
}

bool Vantrel::running() const {
    return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> Vantrel::wait_for_exit(DWORD timeout_ms) const {
    if (!process_ || !wait_until([this] { return !running(); }, timeout_ms)) return std::nullopt;
    DWORD code = 0;
    GetExitCodeProcess(process_, &code);
    return code;
}

std::string Vantrel::box(int id) const {
    HWND edit = GetDlgItem(window_, id);
    const auto length = SendMessageA(edit, WM_GETTEXTLENGTH, 0, 0);
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    const auto copied =
        SendMessageA(edit, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(copied));
    return text;
}

void Vantrel::set_box(int id, const std::string& text) const {
    SendMessageA(GetDlgItem(window_, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

HWND Vantrel::message_box() const {
    return test_support::find_top_window(id_, L"#32770");
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
    test_support::TempDirectory directory;
    const std::wstring output_path = directory.file(L"output.txt");
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE output = CreateFileW(output_path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                                CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (output == INVALID_HANDLE_VALUE) return run;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nullptr;
    startup.hStdOutput = output;
    startup.hStdError = output;
    PROCESS_INFORMATION info{};
    const bool started = CreateProcessW(nullptr, command_line.data(), nullptr, nullptr, TRUE,
                                        CREATE_NO_WINDOW, nullptr, nullptr, &startup, &info);
    CloseHandle(output);
    if (!started) return run;
    CloseHandle(info.hThread);
    // Messages are handled while waiting: the script may send some to the test's windows.
    if (wait_until([&] { return WaitForSingleObject(info.hProcess, 0) == WAIT_OBJECT_0; },
                   timeout_ms)) {
        DWORD code = 0;
        GetExitCodeProcess(info.hProcess, &code);
        run.exit_code = code;
    } else {
        TerminateProcess(info.hProcess, 99);
        WaitForSingleObject(info.hProcess, 5000);
    }
    CloseHandle(info.hProcess);

    HANDLE input =
        CreateFileW(output_path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (input != INVALID_HANDLE_VALUE) {
        char chunk[4096];
        DWORD read = 0;
        while (ReadFile(input, chunk, sizeof chunk, &read, nullptr) && read > 0) {
            run.output.append(chunk, read);
        }
        CloseHandle(input);
    }
    return run;
}

namespace {

constexpr wchar_t kWatcherClass[] = L"RegistrationTestClipboardWatcher";

bool open_clipboard(HWND owner) {
    return wait_until([owner] { return OpenClipboard(owner) != FALSE; }, 5000);
}

HGLOBAL global_text(const std::string& text) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    if (block) {
        std::memcpy(GlobalLock(block), text.c_str(), text.size() + 1);
        GlobalUnlock(block);
    }
    return block;
}

bool place_text(HWND owner, const std::string& text) {
    if (!open_clipboard(owner)) return false;
    EmptyClipboard();
    HGLOBAL block = global_text(text);
    const bool placed = block && SetClipboardData(CF_TEXT, block) != nullptr;
    if (!placed && block) GlobalFree(block);
    CloseClipboard();
    return placed;
}

}  // namespace

WatchedClipboardText::WatchedClipboardText(const std::string& text) : text_(text) {
    WNDCLASSW window_class{};
    window_class.lpfnWndProc = window_proc;
    window_class.hInstance = GetModuleHandleW(nullptr);
    window_class.lpszClassName = kWatcherClass;
    RegisterClassW(&window_class);  // fails harmlessly when already registered
    owner_ = CreateWindowExW(0, kWatcherClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                             GetModuleHandleW(nullptr), this);
    if (!owner_ || !open_clipboard(owner_)) return;
    EmptyClipboard();
    SetClipboardData(CF_TEXT, nullptr);  // rendered at WM_RENDERFORMAT
    placed_ = IsClipboardFormatAvailable(CF_TEXT) != FALSE;
    CloseClipboard();
}

WatchedClipboardText::~WatchedClipboardText() {
    if (owner_) DestroyWindow(owner_);
}

LRESULT CALLBACK WatchedClipboardText::window_proc(HWND window, UINT message, WPARAM wparam,
                                                   LPARAM lparam) {
    if (message == WM_NCCREATE) {
        SetWindowLongPtrW(
            window, GWLP_USERDATA,
            reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams));
    }
    auto* self = reinterpret_cast<WatchedClipboardText*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self && message == WM_RENDERFORMAT && wparam == CF_TEXT) {
        ++self->renderings_;
        if (HGLOBAL block = global_text(self->text_)) {
            if (!SetClipboardData(CF_TEXT, block)) GlobalFree(block);
        }
        return 0;
    }
    if (message == WM_RENDERALLFORMATS) return 0;  // nothing is left behind
    return DefWindowProcW(window, message, wparam, lparam);
}

bool set_clipboard_text(const std::string& text) {
    static HWND owner = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                        nullptr, nullptr);
    return place_text(owner, text);
}

bool empty_clipboard() {
    if (!open_clipboard(nullptr)) return false;
    const bool emptied = EmptyClipboard() != FALSE;
    CloseClipboard();
    return emptied;
}

}  // namespace registration_test
