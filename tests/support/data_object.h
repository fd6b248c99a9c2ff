// A data object for the drop target's tests: it offers one clipboard format on the media
// given, and makes each medium that a reader asks for with the function given.
#pragma once

#include <windows.h>

#include <ole2.h>

#include <functional>
#include <string>

namespace vantrel::testing {

class FakeDataObject : public IDataObject {
  public:
    using MakeMedium = std::function<HRESULT(STGMEDIUM* medium)>;

    FakeDataObject(CLIPFORMAT format, DWORD media, MakeMedium make_medium);
    // Exactly these bytes in a new memory block, in the registered format of this name.
    FakeDataObject(const wchar_t* format, const std::string& bytes);
    FakeDataObject(CLIPFORMAT format, const std::string& bytes);

    int reads = 0;  // GetData calls that made a medium

    // Lives on the test's stack: the counts are fixed.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override;
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override;
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
        out->ptd = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }

  private:
    CLIPFORMAT format_;
    DWORD media_;
    MakeMedium make_medium_;
};

// A medium that is a new memory block holding exactly these bytes.
FakeDataObject::MakeMedium hglobal_medium(const std::string& bytes);

}  // namespace vantrel::testing
