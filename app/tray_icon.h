// 托盘图标1: the program's icon in the notification area, without tooltip text. The owner
// window receives the icon's mouse events as its callback message (lParam: the mouse
// message). The icon leaves the notification area when this object is destroyed.
#pragma once

#include <windows.h>

#include <shellapi.h>

namespace vantrel {

class TrayIcon {
  public:
    TrayIcon() = default;
    ~TrayIcon() { remove(); }
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;

    void attach(HWND owner, UINT id, UINT callback_message, HICON icon);

    // The shown-in-tray flag: true adds the icon the first time and refreshes it afterwards;
    // false removes it.
    void set_shown(bool shown);
    // The shell's taskbar has been re-created ("TaskbarCreated"): add the icon again.
    void add_again();
    void remove();

  private:
    NOTIFYICONDATAW data() const;

    HWND owner_ = nullptr;
    UINT id_ = 0;
    UINT callback_message_ = 0;
    HICON icon_ = nullptr;
    bool shown_ = false;
    bool added_ = false;
};

}  // namespace vantrel
