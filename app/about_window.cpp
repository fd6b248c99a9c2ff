#include "about_window.h"

#include "app_ids.h"
#include "hyperlink.h"
#include "resource.h"

namespace vantrel {

bool AboutWindow::register_class(HINSTANCE instance) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = window_proc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_VANTREL));
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kAboutWindowClass;
    return RegisterClassExW(&wc) != 0 && register_hyperlink_class(instance);
}

AboutWindow::~AboutWindow() {
    if (window_) DestroyWindow(window_);
}

void AboutWindow::open(HWND owner) {
    if (window_) {
        if (IsIconic(window_)) ShowWindow(window_, SW_RESTORE);
        SetForegroundWindow(window_);
        SetActiveWindow(window_);
        return;
    }
    auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(owner, GWLP_HINSTANCE));
    if (!create_window(kAboutWindow, owner, instance, this)) return;
    ShowWindow(window_, SW_SHOW);
    SetForegroundWindow(window_);
}

LRESULT CALLBACK AboutWindow::window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_NCCREATE) {
        auto* self =
            static_cast<AboutWindow*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<AboutWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self) return DefWindowProcW(window, message, wparam, lparam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->controls_.release();
        self->window_ = nullptr;
        return DefWindowProcW(window, message, wparam, lparam);
    }
    return self->handle_message(message, wparam, lparam);
}

LRESULT AboutWindow::handle_message(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_CREATE:
            return controls_.create(window_, kAboutWindow) ? 0 : -1;
        case WM_CTLCOLORSTATIC:
            return controls_.paint_colors(reinterpret_cast<HDC>(wparam),
                                          reinterpret_cast<HWND>(lparam));
        case WM_DRAWITEM:
            controls_.draw_picture(*reinterpret_cast<const DRAWITEMSTRUCT*>(lparam));
            return TRUE;
        case kMsgTranslateKey:
            return translate_key(*reinterpret_cast<const MSG*>(lparam));
    }
    return DefWindowProcW(window_, message, wparam, lparam);
}

// Esc closes the about window.
bool AboutWindow::translate_key(const MSG& key) {
    if (key.wParam != VK_ESCAPE) return false;
    SendMessageW(window_, WM_CLOSE, 0, 0);
    return true;
}

}  // namespace vantrel
