// Self-registration by code. It writes the entries of the registrar script tavik.rgs (made by
// the build from tavik.rgs.in), which the module carries as its resource "REGISTRY" 101, with the
// same removal rules: the class key is replaced whole, the ProgID keys are written over in place,
// and the key CLSID itself is never removed.
#include <windows.h>

#include <oleauto.h>
#include <olectl.h>
#include <shlwapi.h>

#include <cwchar>

#include "module.h"
#include "tavik_ids.h"
#include "vantrel/win/owned.h"

namespace tavik {

namespace {

using vantrel::ComPtr;
using vantrel::OwnedKey;

#define TAVIK_CLASS_KEY L"CLSID\\" TAVIK_CLASS_ID

// Stands for the full path of the module's own file, as in the registrar script.
constexpr wchar_t kModulePath[] = L"%MODULE%";

struct Entry {
    const wchar_t* key;   // under HKEY_CLASSES_ROOT
    bool replace;         // deleted with everything below it before it is written
    const wchar_t* name;  // null for the default value
    const wchar_t* data;  // null for a key without a value
};

const Entry kEntries[] = {
    {L"Tavik.tavik_down.1", false, nullptr, L"tavik_down Class"},
    {L"Tavik.tavik_down.1\\CLSID", false, nullptr, TAVIK_CLASS_ID},
    {L"Tavik.tavik_down", false, nullptr, L"tavik_down Class"},
    {L"Tavik.tavik_down\\CLSID", false, nullptr, TAVIK_CLASS_ID},
    {L"Tavik.tavik_down\\CurVer", false, nullptr, L"Tavik.tavik_down.1"},
    {TAVIK_CLASS_KEY, true, nullptr, L"tavik_down Class"},
    {TAVIK_CLASS_KEY L"\\ProgID", false, nullptr, L"Tavik.tavik_down.1"},
    {TAVIK_CLASS_KEY L"\\VersionIndependentProgID", false, nullptr, L"Tavik.tavik_down"},
    {TAVIK_CLASS_KEY L"\\Programmable", true, nullptr, nullptr},
    {TAVIK_CLASS_KEY L"\\InprocServer32", false, nullptr, kModulePath},
    {TAVIK_CLASS_KEY L"\\InprocServer32", false, L"ThreadingModel", L"Apartment"},
    {TAVIK_CLASS_KEY L"\\TypeLib", false, nullptr, TAVIK_LIBRARY_ID},
};

// The keys that unregistration removes, each with everything below it.
const wchar_t* const kRemovedKeys[] = {
    L"Tavik.tavik_down.1",
    L"Tavik.tavik_down",
    TAVIK_CLASS_KEY,
};

HRESULT module_path(wchar_t (&path)[MAX_PATH]) {
    const DWORD length = GetModuleFileNameW(module_instance(), path, MAX_PATH);
    if (length == 0) return HRESULT_FROM_WIN32(GetLastError());
    if (length >= MAX_PATH) return HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER);
    return S_OK;
}

HRESULT delete_key(const wchar_t* key) {
    const DWORD error = SHDeleteKeyW(HKEY_CLASSES_ROOT, key);
    return error == ERROR_FILE_NOT_FOUND ? S_OK : HRESULT_FROM_WIN32(error);
}

HRESULT write_entry(const Entry& entry, const wchar_t* path) {
    OwnedKey key;
    LONG error = RegCreateKeyExW(HKEY_CLASSES_ROOT, entry.key, 0, nullptr, 0, KEY_SET_VALUE,
                                 nullptr, key.receive(), nullptr);
    if (error != ERROR_SUCCESS) return HRESULT_FROM_WIN32(error);
    if (!entry.data) return S_OK;

    const wchar_t* data = std::wcscmp(entry.data, kModulePath) == 0 ? path : entry.data;
    const DWORD size = static_cast<DWORD>((std::wcslen(data) + 1) * sizeof(wchar_t));
    error =
        RegSetValueExW(key.get(), entry.name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data), size);
    return HRESULT_FROM_WIN32(error);
}

HRESULT load_own_type_library(const wchar_t* path, ComPtr<ITypeLib>& library) {
    ITypeLib* loaded = nullptr;
    const HRESULT hr = LoadTypeLibEx(path, REGKIND_NONE, &loaded);
    library.reset(loaded);
    return hr;
}

// Also records Itavik_down for the standard automation marshaler.
HRESULT register_type_library(wchar_t* path) {
    ComPtr<ITypeLib> library;
    const HRESULT hr = load_own_type_library(path, library);
    if (FAILED(hr)) return hr;
    return RegisterTypeLib(library.get(), path, nullptr);
}

HRESULT unregister_type_library(const wchar_t* path) {
    ComPtr<ITypeLib> library;
    HRESULT hr = load_own_type_library(path, library);
    if (FAILED(hr)) return hr;
    TLIBATTR* attributes = nullptr;
    hr = library->GetLibAttr(&attributes);
    if (FAILED(hr)) return hr;
    hr = UnRegisterTypeLib(attributes->guid, attributes->wMajorVerNum, attributes->wMinorVerNum,
                           attributes->lcid, attributes->syskind);
    library->ReleaseTLibAttr(attributes);
    return hr;
}

}  // namespace

}  // namespace tavik

STDAPI DllRegisterServer() {
    using namespace tavik;
    wchar_t path[MAX_PATH];
    HRESULT hr = module_path(path);
    if (FAILED(hr)) return hr;
    for (const Entry& entry : kEntries) {
        if (entry.replace) {
            hr = delete_key(entry.key);
            if (FAILED(hr)) return hr;
        }
        hr = write_entry(entry, path);
        if (FAILED(hr)) return hr;
    }
    return register_type_library(path);
}

STDAPI DllUnregisterServer() {
    using namespace tavik;
    wchar_t path[MAX_PATH];
    HRESULT hr = module_path(path);
    if (FAILED(hr)) return hr;
    for (const wchar_t* key : kRemovedKeys) {
        hr = delete_key(key);
        if (FAILED(hr)) return hr;
    }
    return unregister_type_library(path);
}
