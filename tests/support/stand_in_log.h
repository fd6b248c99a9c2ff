// The log of the stand-ins, the programs and libraries that play the main program, nz.dll or
// shdocvw.dll in the tests. A stand-in appends one record per call or message of interest to
// the file named by the environment variable VANTREL_STAND_IN_LOG; each record is its length
// in UTF-16 code units (4 bytes) followed by the code units, so every string comes back
// exactly. The writer is header-only, for the stand-ins; the reader (StandInLog) is in the
// test-support library.
#pragma once

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

#include "support/files.h"

namespace vantrel::testing {

inline constexpr wchar_t kStandInLogVariable[] = L"VANTREL_STAND_IN_LOG";

inline void append_stand_in_record(const wchar_t* text) {
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableW(kStandInLogVariable, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return;
    HANDLE file = CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    std::vector<char> record(sizeof(std::uint32_t));
    const auto units = static_cast<std::uint32_t>(text ? std::wcslen(text) : 0);
    std::memcpy(record.data(), &units, sizeof units);
    const char* bytes = reinterpret_cast<const char*>(text);
    record.insert(record.end(), bytes, bytes + units * sizeof(wchar_t));
    DWORD written = 0;
    WriteFile(file, record.data(), static_cast<DWORD>(record.size()), &written, nullptr);
    CloseHandle(file);
}

// Names a new, empty log in the environment, which the stand-ins started from now on
// inherit; the variable goes again with this object.
class StandInLog {
  public:
    StandInLog();
    ~StandInLog();
    StandInLog(const StandInLog&) = delete;
    StandInLog& operator=(const StandInLog&) = delete;
    std::vector<std::wstring> records() const;
    void activate() const;  // names this log in the environment again

  private:
    TempDirectory directory_;
    std::wstring path_;
};

}  // namespace vantrel::testing
