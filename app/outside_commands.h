// The two commands that call outside libraries: the hand-off of the plain address to the
// browser's download dialog (下载按钮) and the alarm component (定时按钮, 定时任务).
#pragma once

#include "library_functions.h"
#include "window_layer.h"

namespace vantrel {

// Opens the download dialog for the address in the plain address box, then hides the main window to
// the notification area and empties both boxes, whatever the dialog made of it.
void start_download(WindowLayer& window, LibraryFunctions& functions);

// Hands the text of the plain address box, unchanged, to DoFileDownload as a zero-terminated UTF-16
// string, converted from the ANSI code page. The call blocks until the dialog returns.
void open_download_dialog(const WindowLayer& window, LibraryFunctions& functions);

// Calls 闹钟dll in nz.dll without arguments and ignores its result.
void run_alarm(LibraryFunctions& functions);

}  // namespace vantrel
