// Where windows get their procedure: a window class whose windows are served by an object.
// The object is passed as the creation parameter; the class's procedure binds it to the window
// at WM_NCCREATE (GWLP_USERDATA), hands it every message from there on, and unbinds it after
// WM_NCDESTROY, after which the object's handle is null again.
#pragma once

#include <windows.h>

namespace vantrel {

class WindowBase {
  public:
    WindowBase() = default;
    WindowBase(const WindowBase&) = delete;
    WindowBase& operator=(const WindowBase&) = delete;

    // The window that this object serves; null before its creation and after its destruction.
    HWND window() const { return window_; }

    // The creation parameter that binds a new window to this object.
    void* creation_param() { return static_cast<WindowBase*>(this); }

  protected:
    virtual ~WindowBase() = default;

    // Registers a class whose windows are served by WindowBase objects: wc as given, with
    // this procedure and its size filled in.
    static bool register_class(WNDCLASSEXW wc) {
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = window_proc;
        return RegisterClassExW(&wc) != 0;
    }

    // The object bound to a window of such a class (nullptr for any other window).
    static WindowBase* bound_to(HWND window) {
        return reinterpret_cast<WindowBase*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    }

    // Every message from WM_NCCREATE on, up to the window's last one (WM_NCDESTROY).
    virtual LRESULT handle_message(UINT message, WPARAM wparam, LPARAM lparam) = 0;
    // After the window's last message, once the object is no longer bound.
    virtual void on_unbound() {}

  private:
    static LRESULT CALLBACK window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
        if (message == WM_NCCREATE) {
            auto* self =
                static_cast<WindowBase*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
            self->window_ = window;
            SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        }
        WindowBase* self = bound_to(window);
        if (!self) return DefWindowProcW(window, message, wparam, lparam);
        if (message == WM_NCDESTROY) {
            SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            self->window_ = nullptr;
            self->on_unbound();
            return DefWindowProcW(window, message, wparam, lparam);
        }
        return self->handle_message(message, wparam, lparam);
    }

    HWND window_ = nullptr;
};

}  // namespace vantrel
