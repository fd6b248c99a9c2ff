// Reminders of the alarm component. Each reminder is a hidden message-only window of the
// thread that set it: its text is the note, its extra bytes hold the due time, and a timer
// on that thread checks the clock. When the time has come it shows the note in a topmost
// message box and goes away. The reminder needs the thread to keep handling messages, so
// it fires only while the calling program runs.
#pragma once

#include <windows.h>

#include <string>

namespace nz {

// Local wall-clock time as a count of 100 ns intervals, comparable across days.
using LocalTime = ULONGLONG;

LocalTime local_now();

// The next moment, after now, at which the local clock shows the given hours, minutes and
// seconds: today if that is still ahead, otherwise tomorrow.
LocalTime next_occurrence(const SYSTEMTIME& time_of_day, LocalTime now);

// Sets a reminder on the calling thread; false when its window cannot be created.
bool schedule_reminder(LocalTime due, const std::wstring& note);

}  // namespace nz
