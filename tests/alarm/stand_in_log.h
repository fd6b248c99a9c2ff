// The stand-in libraries of these tests record what they are called with in the file named
// by the environment variable VANTREL_STAND_IN_LOG: each record is its length in UTF-16
// code units (4 bytes) followed by the code units, so every string comes back exactly.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace stand_in {

constexpr wchar_t kLogVariable[] = L"VANTREL_STAND_IN_LOG";

inline std::wstring log_path() {
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableW(kLogVariable, path, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::wstring(path, length) : std::wstring();
}

inline void append_record(const wchar_t* text) {
    const std::wstring path = log_path();
    if (path.empty()) return;
    HANDLE file = CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    std::vector<char> record(sizeof(std::uint32_t));
    const auto units = static_cast<std::uint32_t>(lstrlenW(text));
    memcpy(record.data(), &units, sizeof units);
    const char* bytes = reinterpret_cast<const char*>(text);
    record.insert(record.end(), bytes, bytes + units * sizeof(wchar_t));
    DWORD written = 0;
    WriteFile(file, record.data(), static_cast<DWORD>(record.size()), &written, nullptr);
    CloseHandle(file);
}

}  // namespace stand_in
