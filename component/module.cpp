#include "module.h"

#include "class_factory.h"
#include "tavik.h"
#include "tavik_down.h"
#include "vantrel/win/owned.h"

namespace tavik {

namespace {

HINSTANCE g_instance;
LONG g_lock_count;
ITypeInfo* g_type_info;

// The object map: the one creatable class and its factory.
ClassFactory g_tavik_down_factory(create_tavik_down);

struct ClassEntry {
    const CLSID& clsid;
    ClassFactory& factory;
};
const ClassEntry kObjectMap[] = {
    {CLSID_tavik_down, g_tavik_down_factory},
};

// On process detach. At process exit the libraries that the cached interface came from may
// already be gone, so it is only released when the module alone is unloaded.
void shut_down(bool process_ends) {
    ITypeInfo* type_info = static_cast<ITypeInfo*>(
        InterlockedExchangePointer(reinterpret_cast<void**>(&g_type_info), nullptr));
    if (type_info && !process_ends) type_info->Release();
}

}  // namespace

void module_lock() {
    InterlockedIncrement(&g_lock_count);
}

void module_unlock() {
    InterlockedDecrement(&g_lock_count);
}

HINSTANCE module_instance() {
    return g_instance;
}

HRESULT dispatch_type_info(LCID lcid, ITypeInfo** info) {
    *info = g_type_info;
    if (*info) return S_OK;

    ITypeLib* library = nullptr;
    HRESULT hr = LoadRegTypeLib(LIBID_TAVIKLib, 1, 0, lcid, &library);
    if (FAILED(hr)) return hr;
    const vantrel::ComPtr<ITypeLib> owned_library(library);
    ITypeInfo* loaded = nullptr;
    hr = library->GetTypeInfoOfGuid(IID_Itavik_down, &loaded);
    if (FAILED(hr)) return hr;

    // Two threads may load it at once; the first to store it wins.
    void* previous =
        InterlockedCompareExchangePointer(reinterpret_cast<void**>(&g_type_info), loaded, nullptr);
    if (previous) {
        loaded->Release();
        loaded = static_cast<ITypeInfo*>(previous);
    }
    *info = loaded;
    return S_OK;
}

}  // namespace tavik

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    switch (reason) {
        case DLL_PROCESS_ATTACH:
            tavik::g_instance = instance;
            DisableThreadLibraryCalls(instance);
            break;
        case DLL_PROCESS_DETACH:
            tavik::shut_down(reserved != nullptr);
            break;
    }
    return TRUE;
}

STDAPI DllCanUnloadNow() {
    return tavik::g_lock_count == 0 ? S_OK : S_FALSE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, LPVOID* result) {
    if (!result) return E_POINTER;
    *result = nullptr;
    for (const auto& entry : tavik::kObjectMap) {
        if (IsEqualCLSID(clsid, entry.clsid)) return entry.factory.QueryInterface(iid, result);
    }
    return CLASS_E_CLASSNOTAVAILABLE;
}
