#include "support/files.h"

#include <windows.h>

namespace vantrel::testing {

std::wstring program_directory() {
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    const std::wstring file(path, length);
    return file.substr(0, file.find_last_of(L'\\'));
}

std::wstring test_file(const std::wstring& name) {
    return program_directory() + L"\\" + name;
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
    return CopyFileW(test_file(from).c_str(), file(as).c_str(), FALSE) != FALSE;
}

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

}  // namespace vantrel::testing
