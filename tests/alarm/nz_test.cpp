// nz.dll, the alarm component: 闹钟dll shows its dialog on the calling thread; a time and a
// note set there come back as a topmost reminder at that time, while the thread runs.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "reminder.h"
#include "support/wait.h"
#include "support/window_search.h"
#include "vantrel/win/owned.h"

namespace {

using vantrel::testing::wait_until;

nz::LocalTime at(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second,
                 WORD milliseconds = 0) {
    SYSTEMTIME time{};
    time.wYear = year;
    time.wMonth = month;
    time.wDay = day;
    time.wHour = hour;
    time.wMinute = minute;
    time.wSecond = second;
    time.wMilliseconds = milliseconds;
    FILETIME file_time{};
    SystemTimeToFileTime(&time, &file_time);
    return (static_cast<ULONGLONG>(file_time.dwHighDateTime) << 32) | file_time.dwLowDateTime;
}

SYSTEMTIME time_of_day(WORD hour, WORD minute, WORD second) {
    SYSTEMTIME time{};
    time.wHour = hour;
    time.wMinute = minute;
    time.wSecond = second;
    return time;
}

struct OccurrenceCase {
    const char* name;
    nz::LocalTime now;
    SYSTEMTIME wanted;
    nz::LocalTime due;
};

const OccurrenceCase kOccurrences[] = {
    {"later today", at(2024, 3, 1, 10, 0, 0), time_of_day(10, 0, 5), at(2024, 3, 1, 10, 0, 5)},
    {"earlier: tomorrow", at(2024, 3, 1, 10, 0, 0), time_of_day(9, 59, 59),
     at(2024, 3, 2, 9, 59, 59)},
    {"now: tomorrow", at(2024, 3, 1, 10, 0, 0), time_of_day(10, 0, 0), at(2024, 3, 2, 10, 0, 0)},
    {"now within the second: tomorrow", at(2024, 3, 1, 10, 0, 0, 500), time_of_day(10, 0, 0),
     at(2024, 3, 2, 10, 0, 0)},
    {"end of a leap February", at(2024, 2, 29, 23, 59, 58), time_of_day(0, 0, 1),
     at(2024, 3, 1, 0, 0, 1)},
    {"end of the year", at(2023, 12, 31, 23, 30, 0), time_of_day(0, 15, 0),
     at(2024, 1, 1, 0, 15, 0)},
    {"last second of the day", at(2023, 12, 31, 0, 0, 0), time_of_day(23, 59, 59),
     at(2023, 12, 31, 23, 59, 59)},
};

TEST(NextOccurrence, IsTheNextTimeTheClockShowsTheTimeOfDay) {
    for (const OccurrenceCase& c : kOccurrences) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(nz::next_occurrence(c.wanted, c.now), c.due);
    }
}

using AlarmEntry = int(WINAPI*)();
constexpr wchar_t kReminderClass[] = L"nz.闹钟提醒";

class AlarmComponent : public testing::Test {
  protected:
    void SetUp() override {
        library_.reset(LoadLibraryW(L"nz.dll"));
        ASSERT_NE(library_.get(), nullptr);
        alarm_ = reinterpret_cast<AlarmEntry>(
            reinterpret_cast<void (*)()>(GetProcAddress(library_.get(),
                                                        "\xC4\xD6\xD6\xD3"
                                                        "dll")));
        ASSERT_NE(alarm_, nullptr) << "闹钟dll is not exported under its code page 936 name";
    }

    static HWND wait_for_dialog() {
        HWND dialog = nullptr;
        wait_until([&] {
            dialog = FindWindowW(L"#32770", L"定时提醒");
            return dialog != nullptr && IsWindowVisible(dialog);
        });
        return dialog;
    }

    vantrel::OwnedModule library_;
    AlarmEntry alarm_ = nullptr;
};

// What the driving thread saw; checked on the test's thread.
struct Outcome {
    std::string failure;
    nz::LocalTime due = 0;
    nz::LocalTime shown_at = 0;
    bool topmost = false;
    bool owned = true;
    std::atomic<bool> done{false};
};

TEST_F(AlarmComponent, RemindsWithTheNoteAtTheTimeSet) {
    const std::wstring note = L"该喝水了：http://host/a.zip";
    Outcome outcome;
    std::thread driver([&] {
        auto fail = [&](const char* why) {
            outcome.failure = why;
            outcome.done = true;
        };
        HWND dialog = wait_for_dialog();
        if (!dialog) return fail("no dialog");
        HWND picker = FindWindowExW(dialog, nullptr, L"SysDateTimePick32", nullptr);
        HWND note_box = FindWindowExW(dialog, nullptr, L"Edit", nullptr);
        HWND ok = vantrel::testing::find_button(dialog, L"确定");
        if (!picker || !note_box || !ok) return fail("the dialog lacks a control");

        // Three seconds ahead, to the second.
        const nz::LocalTime soon = nz::local_now() + 3ULL * 10'000'000;
        const FILETIME soon_file{static_cast<DWORD>(soon), static_cast<DWORD>(soon >> 32)};
        SYSTEMTIME due{};
        FileTimeToSystemTime(&soon_file, &due);
        due.wMilliseconds = 0;
        outcome.due = at(due.wYear, due.wMonth, due.wDay, due.wHour, due.wMinute, due.wSecond);
        SendMessageW(picker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&due));
        SendMessageW(note_box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(note.c_str()));
        SendMessageW(ok, BM_CLICK, 0, 0);
        if (!wait_until([&] { return !IsWindow(dialog); })) return fail("the dialog stayed");

        HWND reminder = nullptr;
        if (!wait_until(
                [&] {
                    for (HWND box = FindWindowW(L"#32770", nullptr); box;
                         box = FindWindowExW(nullptr, box, L"#32770", nullptr)) {
                        if (IsWindowVisible(box) &&
                            vantrel::testing::child_texts(box).find(note) != std::wstring::npos) {
                            reminder = box;
                            return true;
                        }
                    }
                    return false;
                },
                30000)) {
            return fail("no reminder");
        }
        outcome.shown_at = nz::local_now();
        outcome.topmost = (GetWindowLongW(reminder, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
        outcome.owned = GetWindow(reminder, GW_OWNER) != nullptr;
        SendMessageW(GetDlgItem(reminder, IDOK), BM_CLICK, 0, 0);
        if (!wait_until([&] { return !IsWindow(reminder); })) return fail("the reminder stayed");
        outcome.done = true;
    });

    const int result = alarm_();
    EXPECT_EQ(result, 1);
    EXPECT_NE(FindWindowExW(HWND_MESSAGE, nullptr, kReminderClass, nullptr), nullptr)
        << "no reminder waits after OK";
    // The reminder fires from this thread's messages, as in the calling program.
    EXPECT_TRUE(wait_until([&] { return outcome.done.load(); }, 60000));
    driver.join();

    ASSERT_EQ(outcome.failure, "");
    EXPECT_GE(outcome.shown_at, outcome.due) << "the reminder came early";
    EXPECT_TRUE(outcome.topmost);
    EXPECT_FALSE(outcome.owned);
    EXPECT_EQ(FindWindowExW(HWND_MESSAGE, nullptr, kReminderClass, nullptr), nullptr);
}

TEST_F(AlarmComponent, CancelSetsNoReminder) {
    std::atomic<bool> cancelled{false};
    std::thread driver([&] {
        HWND dialog = wait_for_dialog();
        if (!dialog) return;
        SendMessageW(vantrel::testing::find_button(dialog, L"取消"), BM_CLICK, 0, 0);
        cancelled = true;
    });
    const int result = alarm_();
    driver.join();
    ASSERT_TRUE(cancelled.load()) << "no dialog";
    EXPECT_EQ(result, 0);
    EXPECT_EQ(FindWindowExW(HWND_MESSAGE, nullptr, kReminderClass, nullptr), nullptr);
}

}  // namespace
