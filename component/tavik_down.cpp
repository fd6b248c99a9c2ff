#include "tavik_down.h"

#include <climits>
#include <cwchar>
#include <memory>
#include <new>

#include "handoff.h"
#include "module.h"
#include "tavik.h"

namespace tavik {

namespace {

// The object proper. Its own reference count lives in its inner IUnknown; the IUnknown members
// of Itavik_down go to the controlling unknown, which is the outer object when aggregated and
// the inner IUnknown otherwise. Objects live in one apartment, so the count is plain.
class tavik_down final : public Itavik_down {
  public:
    explicit tavik_down(IUnknown* outer) : inner_(*this), controlling_(outer ? outer : &inner_) {
        module_lock();
    }
    ~tavik_down() { module_unlock(); }
    tavik_down(const tavik_down&) = delete;
    tavik_down& operator=(const tavik_down&) = delete;

    IUnknown& inner() { return inner_; }

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID iid, void** result) override {
        return controlling_->QueryInterface(iid, result);
    }
    STDMETHODIMP_(ULONG) AddRef() override { return controlling_->AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return controlling_->Release(); }

    // IDispatch
    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
    STDMETHODIMP GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID lcid,
                               DISPID* ids) override;
    STDMETHODIMP Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* params,
                        VARIANT* result, EXCEPINFO* exception, UINT* bad_argument) override;

    // Itavik_down
    STDMETHODIMP AddUrl(BSTR url, BSTR info, BSTR xinfo) override;

  private:
    class Inner final : public IUnknown {
      public:
        explicit Inner(tavik_down& object) : object_(object) {}
        STDMETHODIMP QueryInterface(REFIID iid, void** result) override;
        STDMETHODIMP_(ULONG) AddRef() override { return ++references_; }
        STDMETHODIMP_(ULONG) Release() override;

      private:
        tavik_down& object_;
        ULONG references_ = 1;
    };

    Inner inner_;
    IUnknown* controlling_;
};

STDMETHODIMP tavik_down::Inner::QueryInterface(REFIID iid, void** result) {
    if (!result) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown)) {
        AddRef();
        *result = static_cast<IUnknown*>(this);
        return S_OK;
    }
    if (IsEqualIID(iid, IID_Itavik_down) || IsEqualIID(iid, IID_IDispatch)) {
        object_.AddRef();
        *result = static_cast<Itavik_down*>(&object_);
        return S_OK;
    }
    *result = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) tavik_down::Inner::Release() {
    const ULONG left = --references_;
    if (left == 0) delete &object_;
    return left;
}

STDMETHODIMP tavik_down::GetTypeInfoCount(UINT* count) {
    if (!count) return E_POINTER;
    *count = 1;
    return S_OK;
}

STDMETHODIMP tavik_down::GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) {
    if (!info) return E_POINTER;
    *info = nullptr;
    if (index != 0) return DISP_E_BADINDEX;
    ITypeInfo* type_info = nullptr;
    const HRESULT hr = dispatch_type_info(lcid, &type_info);
    if (FAILED(hr)) return hr;
    type_info->AddRef();
    *info = type_info;
    return S_OK;
}

STDMETHODIMP tavik_down::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID lcid,
                                       DISPID* ids) {
    ITypeInfo* type_info = nullptr;
    const HRESULT hr = dispatch_type_info(lcid, &type_info);
    if (FAILED(hr)) return hr;
    return type_info->GetIDsOfNames(names, count, ids);
}

// The type information checks the arguments against the interface's description, converts
// them and calls the method through the function table.
STDMETHODIMP tavik_down::Invoke(DISPID id, REFIID, LCID lcid, WORD flags, DISPPARAMS* params,
                                VARIANT* result, EXCEPINFO* exception, UINT* bad_argument) {
    ITypeInfo* type_info = nullptr;
    const HRESULT hr = dispatch_type_info(lcid, &type_info);
    if (FAILED(hr)) return hr;
    return type_info->Invoke(static_cast<Itavik_down*>(this), id, flags, params, result, exception,
                             bad_argument);
}

// The url as ANSI text: its characters up to the first zero one, in the system's ANSI code
// page, where a character that the code page lacks becomes its default character. The url ends
// at its stored length at the latest: a zero character need not follow it.
HRESULT url_to_text(BSTR url, std::unique_ptr<char[]>& text) {
    const std::size_t length = url ? wcsnlen(url, SysStringLen(url)) : 0;
    if (length > (INT_MAX - 2) / 2) return E_OUTOFMEMORY;
    const int size = static_cast<int>(2 * length + 2);
    text.reset(new (std::nothrow) char[size]);
    if (!text) return E_OUTOFMEMORY;
    int converted = 0;
    if (length > 0) {
        converted = WideCharToMultiByte(CP_ACP, 0, url, static_cast<int>(length), text.get(),
                                        size - 1, nullptr, nullptr);
        if (converted == 0) {
            const DWORD error = GetLastError();
            return error ? HRESULT_FROM_WIN32(error) : E_FAIL;
        }
    }
    text[converted] = '\0';
    return S_OK;
}

// info and xinfo are accepted and not used.
STDMETHODIMP tavik_down::AddUrl(BSTR url, BSTR, BSTR) {
    std::unique_ptr<char[]> text;
    const HRESULT hr = url_to_text(url, text);
    if (FAILED(hr)) return hr;
    if (!notify_main_window(text.get())) start_main_program(text.get());
    return S_OK;
}

}  // namespace

HRESULT create_tavik_down(IUnknown* outer, REFIID iid, void** result) {
    auto* object = new (std::nothrow) tavik_down(outer);
    if (!object) return E_OUTOFMEMORY;
    IUnknown& inner = object->inner();
    const HRESULT hr = inner.QueryInterface(iid, result);
    // Drops the creation's reference: the object lives on in what the caller got, if anything.
    inner.Release();
    return hr;
}

}  // namespace tavik
