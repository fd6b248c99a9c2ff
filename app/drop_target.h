// 拖放对象1: the OLE drop target of the main window. It accepts only data that offers the
// "UniformResourceLocator" format, decides the drop effect from the keys held and the
// effects the source allows, shows the shell's drag image when the shell offers its
// drag-image helper, and hands a dropped URL (ANSI text) to its handler.
#pragma once

#include <windows.h>

#include <ole2.h>
#include <shobjidl.h>

#include <functional>

#include "vantrel/text.h"

namespace vantrel {

// The drop effect for the modifier keys in key_state (MK_CONTROL, MK_SHIFT) and the effects
// that the drag source allows.
DWORD drop_effect(DWORD key_state, DWORD allowed);

class DropTarget final : public IDropTarget {
  public:
    using UrlHandler = std::function<void(const Text& url)>;

    // Made with one reference, which the caller owns.
    DropTarget(HWND window, UrlHandler on_url);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD key_state, POINTL point,
                                        DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragOver(DWORD key_state, POINTL point, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragLeave() override;
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD key_state, POINTL point,
                                   DWORD* effect) override;

  private:
    ~DropTarget();
    DWORD effect_for(DWORD key_state, DWORD allowed) const;

    LONG references_ = 1;
    HWND window_;
    UrlHandler on_url_;
    IDropTargetHelper* drag_images_ = nullptr;  // absent when the shell has none
    bool offers_url_ = false;
};

// The registration of a window as a drop target, revoked on destruction or by revoke().
class DropRegistration {
  public:
    DropRegistration() = default;
    ~DropRegistration() { revoke(); }
    DropRegistration(const DropRegistration&) = delete;
    DropRegistration& operator=(const DropRegistration&) = delete;

    // False when the window cannot be registered (or has been registered already).
    bool register_window(HWND window, DropTarget::UrlHandler on_url);
    void revoke();

  private:
    HWND window_ = nullptr;
    DropTarget* target_ = nullptr;
};

// The "UniformResourceLocator" data of a dragged object, read as ANSI text up to its first
// zero byte; empty when it offers none.
Text dropped_url(IDataObject* data);

}  // namespace vantrel
