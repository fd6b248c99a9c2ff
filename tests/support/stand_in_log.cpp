#include "support/stand_in_log.h"

#include "vantrel/win/owned.h"

namespace vantrel::testing {

StandInLog::StandInLog() : path_(directory_.file(L"stand-in.log")) {
    activate();
}

StandInLog::~StandInLog() {
    SetEnvironmentVariableW(kStandInLogVariable, nullptr);
}

void StandInLog::activate() const {
    SetEnvironmentVariableW(kStandInLogVariable, path_.c_str());
}

std::vector<std::wstring> StandInLog::records() const {
    std::vector<std::wstring> records;
    HANDLE opened = CreateFileW(path_.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (opened == INVALID_HANDLE_VALUE) return records;
    const OwnedKernelHandle file(opened);
    std::string bytes;
    char chunk[4096];
    DWORD read = 0;
    while (ReadFile(file.get(), chunk, sizeof chunk, &read, nullptr) && read > 0) {
        bytes.append(chunk, read);
    }
    std::size_t at = 0;
    while (at + sizeof(std::uint32_t) <= bytes.size()) {
        std::uint32_t units = 0;
        std::memcpy(&units, bytes.data() + at, sizeof units);
        at += sizeof units;
        const std::size_t size = units * sizeof(wchar_t);
        if (at + size > bytes.size()) break;
        std::wstring record(units, L'\0');
        std::memcpy(record.data(), bytes.data() + at, size);
        records.push_back(record);
        at += size;
    }
    return records;
}

}  // namespace vantrel::testing
