// The class factory of a class of this module. It lives as long as the module; the references
// that callers hold on it keep the module locked.
#pragma once

#include <windows.h>

#include <unknwn.h>

namespace tavik {

// Creates an object, aggregated when outer is not null, and asks it for iid.
using CreateFunction = HRESULT (*)(IUnknown* outer, REFIID iid, void** result);

class ClassFactory final : public IClassFactory {
  public:
    constexpr explicit ClassFactory(CreateFunction create) : create_(create) {}

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID iid, void** result) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // IClassFactory
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** result) override;
    STDMETHODIMP LockServer(BOOL lock) override;

  private:
    CreateFunction create_;
};

}  // namespace tavik
