#include "support/process.h"

#include "support/wait.h"

namespace vantrel::testing {

Process Process::start(const std::wstring& command_line, const std::wstring& application,
                       const std::wstring& directory, HANDLE output) {
    std::wstring writable = command_line;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (output) {
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = output;
        startup.hStdError = output;
    }
    PROCESS_INFORMATION started{};
    Process process;
    if (!CreateProcessW(application.empty() ? nullptr : application.c_str(), writable.data(),
                        nullptr, nullptr, output != nullptr, output ? CREATE_NO_WINDOW : 0, nullptr,
                        directory.empty() ? nullptr : directory.c_str(), &startup, &started)) {
        return process;
    }
    const OwnedKernelHandle thread(started.hThread);
    process.handle_.reset(started.hProcess);
    process.id_ = started.dwProcessId;
    return process;
}

Process Process::of_window(HWND window) {
    Process process;
    if (!window || !GetWindowThreadProcessId(window, &process.id_)) return process;
    process.handle_.reset(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE | PROCESS_QUERY_INFORMATION,
                                      FALSE, process.id_));
    return process;
}

Process& Process::operator=(Process&& other) noexcept {
    if (this != &other) {
        end();
        handle_ = std::move(other.handle_);
        id_ = other.id_;
    }
    return *this;
}

bool Process::running() const {
    return handle_ && WaitForSingleObject(handle_.get(), 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> Process::wait_for_exit(DWORD timeout_ms) const {
    if (!handle_ || !wait_until([this] { return !running(); }, timeout_ms)) return std::nullopt;
    DWORD code = 0;
    GetExitCodeProcess(handle_.get(), &code);
    return code;
}

void Process::end(UINT exit_code) {
    if (!handle_) return;
    if (running()) {
        TerminateProcess(handle_.get(), exit_code);
        WaitForSingleObject(handle_.get(), 10000);
    }
    handle_.reset();
}

}  // namespace vantrel::testing
