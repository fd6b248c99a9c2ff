#include "reminder.h"

#include <string>

extern "C" IMAGE_DOS_HEADER __ImageBase;  // this library's own module

namespace nz {

namespace {

constexpr wchar_t kReminderClass[] = L"nz.闹钟提醒";
constexpr UINT_PTR kClockTimer = 1;
constexpr UINT kClockPeriodMs = 250;
constexpr LocalTime kDay = 24ULL * 60 * 60 * 10'000'000;

// The due time lives in the window's two extra DWORDs, so it is the same on 32 and 64 bits.
constexpr int kDueLow = 0;
constexpr int kDueHigh = sizeof(LONG);

HINSTANCE module() {
    return reinterpret_cast<HINSTANCE>(&__ImageBase);
}

LocalTime to_local_time(const SYSTEMTIME& time) {
    FILETIME file_time{};
    SystemTimeToFileTime(&time, &file_time);
    return (static_cast<ULONGLONG>(file_time.dwHighDateTime) << 32) | file_time.dwLowDateTime;
}

LocalTime due_time(HWND reminder) {
    const auto low = static_cast<DWORD>(GetWindowLongW(reminder, kDueLow));
    const auto high = static_cast<DWORD>(GetWindowLongW(reminder, kDueHigh));
    return (static_cast<ULONGLONG>(high) << 32) | low;
}

void set_due_time(HWND reminder, LocalTime due) {
    SetWindowLongW(reminder, kDueLow, static_cast<LONG>(static_cast<DWORD>(due)));
    SetWindowLongW(reminder, kDueHigh, static_cast<LONG>(static_cast<DWORD>(due >> 32)));
}

std::wstring window_text(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

void remind(HWND reminder) {
    KillTimer(reminder, kClockTimer);
    SYSTEMTIME now{};
    GetLocalTime(&now);
    // "闹钟提醒 HH:MM:SS", without the printf family and its 60 KiB.
    std::wstring caption = L"闹钟提醒 ";
    for (const WORD part : {now.wHour, now.wMinute, now.wSecond}) {
        if (caption.back() != L' ') caption += L':';
        caption += static_cast<wchar_t>(L'0' + part / 10 % 10);
        caption += static_cast<wchar_t>(L'0' + part % 10);
    }
    std::wstring note = window_text(reminder);
    if (note.empty()) note = L"时间到了。";
    // Topmost: MB_TOPMOST says so on Windows; some systems (Wine) honour only the
    // system-modal flag, which without an owner means nothing more than topmost.
    MessageBoxW(nullptr, note.c_str(), caption.c_str(),
                MB_OK | MB_ICONINFORMATION | MB_TOPMOST | MB_SYSTEMMODAL | MB_SETFOREGROUND);
    DestroyWindow(reminder);
}

LRESULT CALLBACK reminder_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_TIMER && wparam == kClockTimer && local_now() >= due_time(window)) {
        remind(window);
        return 0;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

bool register_reminder_class() {
    WNDCLASSEXW window_class{};
    window_class.cbSize = sizeof window_class;
    window_class.lpfnWndProc = reminder_proc;
    window_class.cbWndExtra = 2 * sizeof(LONG);
    window_class.hInstance = module();
    window_class.lpszClassName = kReminderClass;
    return RegisterClassExW(&window_class) || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

// A reminder window runs this library's code for as long as the thread lives, so the
// library stays loaded from the first reminder on, even when the caller releases it.
void keep_library_loaded() {
    HMODULE self = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                       reinterpret_cast<LPCWSTR>(&__ImageBase), &self);
}

}  // namespace

LocalTime local_now() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return to_local_time(now);
}

LocalTime next_occurrence(const SYSTEMTIME& time_of_day, LocalTime now) {
    const FILETIME now_file{static_cast<DWORD>(now), static_cast<DWORD>(now >> 32)};
    SYSTEMTIME today{};
    FileTimeToSystemTime(&now_file, &today);
    today.wHour = time_of_day.wHour;
    today.wMinute = time_of_day.wMinute;
    today.wSecond = time_of_day.wSecond;
    today.wMilliseconds = 0;
    LocalTime due = to_local_time(today);
    if (due <= now) due += kDay;
    return due;
}

bool schedule_reminder(LocalTime due, const std::wstring& note) {
    if (!register_reminder_class()) return false;
    HWND reminder = CreateWindowExW(0, kReminderClass, note.c_str(), 0, 0, 0, 0, 0, HWND_MESSAGE,
                                    nullptr, module(), nullptr);
    if (!reminder) return false;
    set_due_time(reminder, due);
    if (!SetTimer(reminder, kClockTimer, kClockPeriodMs, nullptr)) {
        DestroyWindow(reminder);
        return false;
    }
    keep_library_loaded();
    return true;
}

}  // namespace nz
