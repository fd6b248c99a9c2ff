// Stand-in for the browser library: DoFileDownload records the address it is given.
#include "support/stand_in_log.h"

extern "C" __declspec(dllexport) HRESULT WINAPI DoFileDownload(LPCWSTR address) {
    vantrel::testing::append_stand_in_record(address);
    return S_OK;
}
