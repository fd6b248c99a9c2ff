#include "test_support.h"

#include "stand_in_log.h"

namespace test_support {

std::wstring program_directory() {
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring directory(path, length);
    return directory.substr(0, directory.find_last_of(L'\\'));
}

TempDirectory::TempDirectory() {
    wchar_t base[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, base);
    static unsigned counter = 0;
    for (;;) {
        path_ = std::wstring(base) + L"vantrel-test-" + std::to_wstring(GetCurrentProcessId()) +
                L"-" + std::to_wstring(++counter);
        if (CreateDirectoryW(path_.c_str(), nullptr)) return;
        if (GetLastError() != ERROR_ALREADY_EXISTS) return;
    }
}

TempDirectory::~TempDirectory() {
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW((path_ + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name != L"." && name != L"..") DeleteFileW(file(name).c_str());
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(path_.c_str());
}

bool TempDirectory::copy_in(const std::wstring& from, const std::wstring& as) const {
    return CopyFileW((program_directory() + L"\\" + from).c_str(), file(as).c_str(), FALSE);
}

StandInLog::StandInLog() : path_(directory_.file(L"records.bin")) {
    SetEnvironmentVariableW(stand_in::kLogVariable, path_.c_str());
}

StandInLog::~StandInLog() {
    SetEnvironmentVariableW(stand_in::kLogVariable, nullptr);
}

std::vector<std::wstring> StandInLog::records() const {
    std::vector<std::wstring> records;
    HANDLE file = CreateFileW(path_.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return records;
    std::string bytes;
    char chunk[4096];
    DWORD read = 0;
    while (ReadFile(file, chunk, sizeof chunk, &read, nullptr) && read > 0) {
        bytes.append(chunk, read);
    }
    CloseHandle(file);
    std::size_t at = 0;
    while (at + sizeof(std::uint32_t) <= bytes.size()) {
        std::uint32_t units = 0;
        memcpy(&units, bytes.data() + at, sizeof units);
        at += sizeof units;
        const std::size_t size = units * sizeof(wchar_t);
        if (at + size > bytes.size()) break;
        std::wstring record(units, L'\0');
        memcpy(record.data(), bytes.data() + at, size);
        records.push_back(record);
        at += size;
    }
    return records;
}

ChildProcess::ChildProcess(const std::wstring& command_line, const std::wstring& directory) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    std::wstring writable = command_line;
    if (!CreateProcessW(nullptr, writable.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        directory.empty() ? nullptr : directory.c_str(), &startup, &info_)) {
        info_ = PROCESS_INFORMATION{};
    }
}

ChildProcess::~ChildProcess() {
    if (!info_.hProcess) return;
    if (running()) {
        TerminateProcess(info_.hProcess, 1);
        WaitForSingleObject(info_.hProcess, 5000);
    }
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
}

bool ChildProcess::running() const {
    return info_.hProcess && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

bool ChildProcess::wait_for_exit(DWORD timeout_ms, DWORD& exit_code) const {
    if (!wait_until([this] { return !running(); }, timeout_ms)) return false;
    return GetExitCodeProcess(info_.hProcess, &exit_code) != 0;
}

bool wait_until(const std::function<bool()>& condition, DWORD timeout_ms) {
    const ULONGLONG deadline = GetTickCount64() + timeout_ms;
    for (;;) {
        if (condition()) return true;
        if (GetTickCount64() >= deadline) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(message.wParam));
                return condition();
            }
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
}

namespace {

struct WindowSearch {
    DWORD process_id;
    const wchar_t* window_class;
    HWND found;
};

BOOL CALLBACK match_top_window(HWND window, LPARAM lparam) {
    auto& search = *reinterpret_cast<WindowSearch*>(lparam);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    if (owner == search.process_id && IsWindowVisible(window) &&
        lstrcmpiW(name, search.window_class) == 0) {
        search.found = window;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK collect_text(HWND child, LPARAM lparam) {
    *reinterpret_cast<std::wstring*>(lparam) += window_text(child) + L"\n";
    return TRUE;
}

}  // namespace

HWND find_top_window(DWORD process_id, const wchar_t* window_class) {
    WindowSearch search{process_id, window_class, nullptr};
    EnumWindows(match_top_window, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::wstring window_text(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

std::wstring child_texts(HWND window) {
    std::wstring texts;
    EnumChildWindows(window, collect_text, reinterpret_cast<LPARAM>(&texts));
    return texts;
}

HWND find_button(HWND parent, const wchar_t* caption) {
    return FindWindowExW(parent, nullptr, L"Button", caption);
}

}  // namespace test_support
