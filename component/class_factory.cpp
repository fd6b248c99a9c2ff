#include "class_factory.h"

#include "module.h"

namespace tavik {

STDMETHODIMP ClassFactory::QueryInterface(REFIID iid, void** result) {
    if (!result) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
        AddRef();
        *result = static_cast<IClassFactory*>(this);
        return S_OK;
    }
    *result = nullptr;
    return E_NOINTERFACE;
}

// The module owns the factory; what callers hold of it is counted in the module's lock count.
STDMETHODIMP_(ULONG) ClassFactory::AddRef() {
    module_lock();
    return 2;
}

STDMETHODIMP_(ULONG) ClassFactory::Release() {
    module_unlock();
    return 1;
}

STDMETHODIMP ClassFactory::CreateInstance(IUnknown* outer, REFIID iid, void** result) {
    if (!result) return E_POINTER;
    *result = nullptr;
    // An aggregated object hands its outer object nothing but its own, inner IUnknown.
    if (outer && !IsEqualIID(iid, IID_IUnknown)) return CLASS_E_NOAGGREGATION;
    return create_(outer, iid, result);
}

STDMETHODIMP ClassFactory::LockServer(BOOL lock) {
    if (lock) {
        module_lock();
    } else {
        module_unlock();
    }
    return S_OK;
}

}  // namespace tavik
