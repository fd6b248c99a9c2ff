// A library that the tests copy in as nz.dll or shdocvw.dll: it loads, but exports neither
// 闹钟dll nor DoFileDownload.
#include <windows.h>

extern "C" __declspec(dllexport) int WINAPI stand_in_without_entries() {
    return 0;
}
