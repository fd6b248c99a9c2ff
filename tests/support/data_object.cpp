#include "support/data_object.h"

#include "support/clipboard.h"

namespace vantrel::testing {

FakeDataObject::FakeDataObject(CLIPFORMAT format, DWORD media, MakeMedium make_medium)
    : format_(format), media_(media), make_medium_(std::move(make_medium)) {}

FakeDataObject::FakeDataObject(const wchar_t* format, const std::string& bytes)
    : FakeDataObject(static_cast<CLIPFORMAT>(RegisterClipboardFormatW(format)), bytes) {}

FakeDataObject::FakeDataObject(CLIPFORMAT format, const std::string& bytes)
    : FakeDataObject(format, TYMED_HGLOBAL, hglobal_medium(bytes)) {}

HRESULT FakeDataObject::QueryInterface(REFIID iid, void** object) {
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDataObject)) {
        *object = this;
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

HRESULT FakeDataObject::GetData(FORMATETC* format, STGMEDIUM* medium) {
    if (QueryGetData(format) != S_OK) return DV_E_FORMATETC;
    ++reads;
    *medium = STGMEDIUM{};
    return make_medium_(medium);
}

HRESULT FakeDataObject::QueryGetData(FORMATETC* format) {
    if (format->cfFormat != format_) return DV_E_FORMATETC;
    return format->tymed & media_ ? S_OK : DV_E_TYMED;
}

FakeDataObject::MakeMedium hglobal_medium(const std::string& bytes) {
    return [bytes](STGMEDIUM* medium) {
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = global_block(bytes);
        return S_OK;
    };
}

}  // namespace vantrel::testing
