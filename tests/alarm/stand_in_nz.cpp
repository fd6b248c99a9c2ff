// Stand-in for the alarm component: 闹钟dll records each call. It is exported under its
// code page 936 name by the same .def files as the real nz.dll.
#include "support/stand_in_log.h"

extern "C" int WINAPI nz_alarm() {
    vantrel::testing::append_stand_in_record(L"闹钟dll");
    return 1;
}
