#include "drop_target.h"

#include <shlobj.h>

#include <cstring>

#include "vantrel/win/owned.h"

namespace vantrel {

namespace {

FORMATETC url_format() {
    static const CLIPFORMAT format =
        static_cast<CLIPFORMAT>(RegisterClipboardFormatW(L"UniformResourceLocator"));
    return FORMATETC{format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
}

bool offers_url(IDataObject* data) {
    FORMATETC format = url_format();
    return data && data->QueryGetData(&format) == S_OK;
}

}  // namespace

DWORD drop_effect(DWORD key_state, DWORD allowed) {
    const bool control = key_state & MK_CONTROL;
    const bool shift = key_state & MK_SHIFT;
    if (control && shift) return DROPEFFECT_NONE;
    if (control) return allowed & DROPEFFECT_COPY;
    if (shift) return allowed & DROPEFFECT_MOVE;
    for (DWORD effect : {DROPEFFECT_COPY, DROPEFFECT_MOVE, DROPEFFECT_LINK}) {
        if (allowed & effect) return effect;
    }
    return DROPEFFECT_NONE;
}

Text dropped_url(IDataObject* data) {
    FORMATETC format = url_format();
    STGMEDIUM medium{};
    if (!data || data->GetData(&format, &medium) != S_OK) return {};
    Text url;
    if (medium.tymed == TYMED_HGLOBAL && medium.hGlobal) {
        const GlobalLockGuard locked(medium.hGlobal);
        if (const auto* bytes = locked.as<const char>()) {
            url.assign(bytes, strnlen(bytes, locked.size()));
        }
    }
    ReleaseStgMedium(&medium);
    return url;
}

DropTarget::DropTarget(HWND window, UrlHandler on_url)
    : window_(window), on_url_(std::move(on_url)) {
    // The drag image is a nicety: without the shell's helper the drop works all the same.
    if (FAILED(CoCreateInstance(CLSID_DragDropHelper, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IDropTargetHelper, reinterpret_cast<void**>(&drag_images_)))) {
        drag_images_ = nullptr;
    }
}

DropTarget::~DropTarget() {
    if (drag_images_) drag_images_->Release();
}

HRESULT DropTarget::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDropTarget)) {
        *object = static_cast<IDropTarget*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG DropTarget::AddRef() {
    return static_cast<ULONG>(InterlockedIncrement(&references_));
}

ULONG DropTarget::Release() {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
}

DWORD DropTarget::effect_for(DWORD key_state, DWORD allowed) const {
    return offers_url_ ? drop_effect(key_state, allowed) : DROPEFFECT_NONE;
}

HRESULT DropTarget::DragEnter(IDataObject* data, DWORD key_state, POINTL point, DWORD* effect) {
    if (!effect) return E_INVALIDARG;
    offers_url_ = offers_url(data);
    *effect = effect_for(key_state, *effect);
    if (drag_images_) {
        POINT at{point.x, point.y};
        drag_images_->DragEnter(window_, data, &at, *effect);
    }
    return S_OK;
}

HRESULT DropTarget::DragOver(DWORD key_state, POINTL point, DWORD* effect) {
    if (!effect) return E_INVALIDARG;
    *effect = effect_for(key_state, *effect);
    if (drag_images_) {
        POINT at{point.x, point.y};
        drag_images_->DragOver(&at, *effect);
    }
    return S_OK;
}

HRESULT DropTarget::DragLeave() {
    offers_url_ = false;
    if (drag_images_) drag_images_->DragLeave();
    return S_OK;
}

HRESULT DropTarget::Drop(IDataObject* data, DWORD key_state, POINTL point, DWORD* effect) {
    if (!effect) return E_INVALIDARG;
    offers_url_ = offers_url(data);
    *effect = effect_for(key_state, *effect);
    if (drag_images_) {
        POINT at{point.x, point.y};
        drag_images_->Drop(data, &at, *effect);
    }
    offers_url_ = false;
    if (*effect != DROPEFFECT_NONE && on_url_) on_url_(dropped_url(data));
    return S_OK;
}

bool DropRegistration::register_window(HWND window, DropTarget::UrlHandler on_url) {
    if (target_) return false;
    auto* target = new DropTarget(window, std::move(on_url));
    const bool registered = SUCCEEDED(RegisterDragDrop(window, target));
    if (registered) {
        window_ = window;
        target_ = target;
    } else {
        target->Release();
    }
    return registered;
}

void DropRegistration::revoke() {
    if (!target_) return;
    RevokeDragDrop(window_);
    target_->Release();
    target_ = nullptr;
    window_ = nullptr;
}

}  // namespace vantrel
