#include "support.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iomanip>

#include "standin_protocol.h"

namespace tavik_test {

void PrintTo(Hr hr, std::ostream* out) {
    *out << "0x" << std::hex << std::setw(8) << std::setfill('0')
         << static_cast<unsigned long>(hr.value);
}

unique_bstr make_bstr(const std::wstring& text) {
    return unique_bstr(SysAllocStringLen(text.data(), static_cast<UINT>(text.size())));
}

std::wstring test_file(const std::wstring& name) {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring directory = path;
    return directory.substr(0, directory.rfind(L'\\') + 1) + name;
}

std::wstring component_path() {
    return test_file(L"tavik.dll");
}

std::wstring standin_path() {
    return test_file(L"tavik_standin.exe");
}

std::string narrow(const std::wstring& text) {
    const int size = WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string result(size, '\0');
    WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, result.data(), size, nullptr, nullptr);
    result.resize(size > 0 ? size - 1 : 0);
    return result;
}

bool wait_until(const std::function<bool()>& condition, DWORD timeout_ms) {
    const ULONGLONG deadline = GetTickCount64() + timeout_ms;
    while (!condition()) {
        if (GetTickCount64() >= deadline) return false;
        Sleep(20);
    }
    return true;
}

Process& Process::operator=(Process&& other) noexcept {
    if (this != &other) {
        end();
        handle_ = other.handle_;
        other.handle_ = nullptr;
    }
    return *this;
}

std::optional<DWORD> Process::wait_for_exit(DWORD timeout_ms) {
    if (!handle_ || WaitForSingleObject(handle_, timeout_ms) != WAIT_OBJECT_0) return std::nullopt;
    DWORD code = 0;
    GetExitCodeProcess(handle_, &code);
    return code;
}

void Process::end() {
    if (!handle_) return;
    if (WaitForSingleObject(handle_, 0) != WAIT_OBJECT_0) {
        TerminateProcess(handle_, 1);
        WaitForSingleObject(handle_, 10000);
    }
    CloseHandle(handle_);
    handle_ = nullptr;
}

Process start_process(const std::wstring& command_line) {
    std::wstring line = command_line;
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started = {};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &started)) {
        return Process();
    }
    CloseHandle(started.hThread);
    return Process(started.hProcess);
}

Process process_of(HWND window) {
    DWORD id = 0;
    if (!window || !GetWindowThreadProcessId(window, &id)) return Process();
    return Process(
        OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, id));
}

HWND find_main_window() {
    return FindWindowA(standin::kMainWindowClassA, nullptr);
}

StandIn start_standin(bool foreign) {
    StandIn standin;
    std::wstring command_line = L"\"" + standin_path() + L"\"";
    if (foreign) command_line += L" " + std::wstring(L"--foreign");
    standin.process = start_process(command_line);
    if (!standin.process) return standin;
    wait_until([&] {
        if (foreign) {
            standin.window = FindWindowA(standin::kForeignClass, nullptr);
            return standin.window != nullptr;
        }
        standin.window = find_main_window();
        return standin.window &&
               read_record_text(vantrel::kMainWindowHandleValue) == window_number(standin.window);
    });
    return standin;
}

void set_clipboard_text(const std::string& text) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    if (!block) return;
    if (char* data = static_cast<char*>(GlobalLock(block))) {
        std::memcpy(data, text.c_str(), text.size() + 1);
        GlobalUnlock(block);
    }
    if (!wait_until([] { return OpenClipboard(nullptr) != FALSE; })) {
        GlobalFree(block);
        return;
    }
    EmptyClipboard();
    if (!SetClipboardData(CF_TEXT, block)) GlobalFree(block);
    CloseClipboard();
}

std::optional<std::string> clipboard_text() {
    if (!wait_until([] { return OpenClipboard(nullptr) != FALSE; })) return std::nullopt;
    std::optional<std::string> text;
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        if (const char* bytes = static_cast<const char*>(GlobalLock(data))) {
            text = bytes;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

void delete_menu_ext_key() {
    RegDeleteTreeA(HKEY_CURRENT_USER, standin::kMenuExtKey);
}

void write_record_text(const char* name, const std::string& text) {
    write_record_value(name, REG_SZ, std::string(text.c_str(), text.size() + 1));
}

void write_record_value(const char* name, DWORD type, const std::string& bytes) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, standin::kMenuExtKey, 0, nullptr, 0, KEY_SET_VALUE,
                        nullptr, &key, nullptr) != ERROR_SUCCESS) {
        return;
    }
    // For a string type the system counts a zero byte that follows the data as part of it; a
    // byte that is not zero behind the data keeps the value to exactly these bytes.
    const std::string data = bytes + '\x01';
    RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(data.data()),
                   static_cast<DWORD>(bytes.size()));
    RegCloseKey(key);
}

void delete_record_value(const char* name) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, standin::kMenuExtKey, 0, KEY_SET_VALUE, &key) !=
        ERROR_SUCCESS) {
        return;
    }
    RegDeleteValueA(key, name);
    RegCloseKey(key);
}

std::optional<std::string> read_record_text(const char* name) {
    char text[1024] = {};
    DWORD size = sizeof text - 1;
    if (RegGetValueA(HKEY_CURRENT_USER, standin::kMenuExtKey, name, RRF_RT_REG_SZ, nullptr, text,
                     &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return std::string(text);
}

std::string window_number(HWND window) {
    return std::to_string(static_cast<LONG>(reinterpret_cast<LONG_PTR>(window)));
}

StandInLog::StandInLog() {
    static int count = 0;
    wchar_t directory[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, directory);
    path_ = std::wstring(directory) + L"tavik-standin-" + std::to_wstring(GetCurrentProcessId()) +
            L"-" + std::to_wstring(++count) + L".log";
    DeleteFileW(path_.c_str());
    activate();
}

void StandInLog::activate() const {
    SetEnvironmentVariableW(standin::kLogVariable, path_.c_str());
}

StandInLog::~StandInLog() {
    SetEnvironmentVariableW(standin::kLogVariable, nullptr);
    DeleteFileW(path_.c_str());
}

std::vector<std::string> StandInLog::lines() const {
    std::vector<std::string> lines;
    HANDLE file = CreateFileW(path_.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return lines;
    std::string content;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) {
        content.append(buffer, read);
    }
    CloseHandle(file);
    std::size_t start = 0;
    for (std::size_t end; (end = content.find('\n', start)) != std::string::npos; start = end + 1) {
        lines.push_back(content.substr(start, end - start));
    }
    return lines;
}

namespace {

std::string hex(const std::string& bytes) {
    std::string result;
    char digits[3];
    for (unsigned char byte : bytes) {
        std::snprintf(digits, sizeof digits, "%02x", byte);
        result += digits;
    }
    return result;
}

}  // namespace

std::string restore_line(const std::string& clipboard) {
    return std::to_string(WM_SYSCOMMAND) + " " + std::to_string(SC_RESTORE) + " [" +
           hex(clipboard) + "]";
}

std::string handoff_line(const std::string& clipboard) {
    return std::to_string(standin::kMsgLinkHandoff) + " 0 [" + hex(clipboard) + "]";
}

namespace {

template <class Function>
void bind(HMODULE module, const char* name, Function*& function) {
    function = reinterpret_cast<Function*>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    if (!function) {
        std::fprintf(stderr, "tavik.dll does not export %s\n", name);
        std::abort();
    }
}

}  // namespace

Component::Component() : module_(LoadLibraryW(component_path().c_str())) {
    if (!module_) {
        std::fprintf(stderr, "cannot load %ls (error %lu)\n", component_path().c_str(),
                     GetLastError());
        std::abort();
    }
    bind(module_, "DllCanUnloadNow", can_unload_now_);
    bind(module_, "DllGetClassObject", get_class_object_);
    bind(module_, "DllRegisterServer", register_server_);
    bind(module_, "DllUnregisterServer", unregister_server_);
}

Component::~Component() {
    FreeLibrary(module_);
}

com_ptr<IClassFactory> Component::factory() const {
    IClassFactory* factory = nullptr;
    get_class_object(CLSID_tavik_down, IID_IClassFactory, reinterpret_cast<void**>(&factory));
    return com_ptr<IClassFactory>(factory);
}

com_ptr<Itavik_down> Component::create() const {
    Itavik_down* object = nullptr;
    if (auto class_factory = factory()) {
        class_factory->CreateInstance(nullptr, IID_Itavik_down, reinterpret_cast<void**>(&object));
    }
    return com_ptr<Itavik_down>(object);
}

}  // namespace tavik_test
