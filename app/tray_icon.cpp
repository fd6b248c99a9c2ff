#include "tray_icon.h"

#include <shellapi.h>

namespace vantrel {

void TrayIcon::attach(HWND owner, UINT id, UINT callback_message, HICON icon) {
    owner_ = owner;
    id_ = id;
    callback_message_ = callback_message;
    icon_ = icon;
}

NOTIFYICONDATAW TrayIcon::data() const {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = owner_;
    data.uID = id_;
    data.uFlags = NIF_MESSAGE | NIF_ICON;
    data.uCallbackMessage = callback_message_;
    data.hIcon = icon_;
    return data;
}

void TrayIcon::set_shown(bool shown) {
    if (!owner_) return;
    shown_ = shown;
    if (!shown) {
        remove();
        return;
    }
    NOTIFYICONDATAW icon = data();
    // A refresh fails when the shell has lost the icon, for example after a restart of the
    // taskbar that has not been announced yet; the icon is added anew then.
    if (added_ && Shell_NotifyIconW(NIM_MODIFY, &icon)) return;
    added_ = Shell_NotifyIconW(NIM_ADD, &icon) != FALSE;
}

void TrayIcon::add_again() {
    if (!owner_ || !shown_) return;
    NOTIFYICONDATAW icon = data();
    added_ = Shell_NotifyIconW(NIM_ADD, &icon) != FALSE;
}

void TrayIcon::remove() {
    if (!owner_ || !added_) return;
    NOTIFYICONDATAW icon = data();
    Shell_NotifyIconW(NIM_DELETE, &icon);
    added_ = false;
}

}  // namespace vantrel
