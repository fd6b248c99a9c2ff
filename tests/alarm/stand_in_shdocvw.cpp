// Stand-in for the browser library: DoFileDownload records the address it is given.
#include "stand_in_log.h"

extern "C" __declspec(dllexport) HRESULT WINAPI DoFileDownload(LPCWSTR address) {
    stand_in::append_record(address);
    return S_OK;
}
