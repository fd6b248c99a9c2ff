#include "about_window.h"

#include "app_ids.h"
#include "hyperlink.h"
#include "resource.h"

namespace vantrel {

bool AboutWindow::register_class(HINSTANCE instance) {
    WNDCLASSEXW wc{};
    wc.hInstance = instance;
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_VANTREL));
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kAboutWindowClass;
    return WindowBase::register_class(wc) && register_hyperlink_class(instance);
}

AboutWindow::~AboutWindow() {
    if (window()) DestroyWindow(window());
}

void AboutWindow::open(HWND owner) {
    if (window()) {
        if (IsIconic(window())) ShowWindow(window(), SW_RESTORE);
        SetForegroundWindow(window());
        SetActiveWindow(window());
        return;
    }
    auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(owner, GWLP_HINSTANCE));
    if (!create_window(kAboutWindow, owner, instance, creation_param())) return;
    ShowWindow(window(), SW_SHOW);
    SetForegroundWindow(window());
}

LRESULT AboutWindow::handle_message(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_CREATE:
            return controls_.create(window(), kAboutWindow) ? 0 : -1;
        case WM_CTLCOLORSTATIC:
            return controls_.paint_colors(reinterpret_cast<HDC>(wparam),
                                          reinterpret_cast<HWND>(lparam));
        case WM_DRAWITEM:
            controls_.draw_picture(*reinterpret_cast<const DRAWITEMSTRUCT*>(lparam));
            return TRUE;
        case kMsgTranslateKey:
            return translate_key(*reinterpret_cast<const MSG*>(lparam));
    }
    return DefWindowProcW(window(), message, wparam, lparam);
}

// Esc closes the about window.
bool AboutWindow::translate_key(const MSG& key) {
    if (key.wParam != VK_ESCAPE) return false;
    SendMessageW(window(), WM_CLOSE, 0, 0);
    return true;
}

}  // namespace vantrel
