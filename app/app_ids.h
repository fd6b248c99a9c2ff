// Numbers that other programs see: the window classes, the control and menu item ids, and
// the private window messages of the main window. The tests drive the program with them.
#pragma once

#include <windows.h>

#include "vantrel/contract.h"

namespace vantrel {

// kMainWindowClass, which the component looks for, is in vantrel/contract.h.
inline constexpr wchar_t kAboutWindowClass[] = L"VantrelAboutWindow";
inline constexpr wchar_t kHyperlinkClass[] = L"VantrelHyperlink";

// Controls of the main window, in the order in which they are created, named by their role;
// their designer names are in the layout table (window_layout.cpp).
enum ControlId : int {
    id_alert_label = 1001,  // the red "！" beside the logo
    id_logo_picture,
    id_rayfile_radio,
    id_encoded_box,           // the encoded link
    id_plain_box,             // the plain address
    id_alarm_button,          // 定时
    id_paste_plain_button,    // 粘贴获取 beside the plain address
    id_paste_encoded_button,  // 粘贴获取 beside the encoded link
    id_clear_button,          // 清空
    id_qqdl_radio,
    id_flashget_radio,
    id_thunder_radio,
    id_exit_button,  // 退出
    id_plain_label,
    id_encoded_label,
    id_download_button,  // 下载
};

// Items of the menu 托盘, by their captions.
enum MenuId : int {
    id_menu_show_window = 2001,  // 显示窗口
    id_menu_alarm,               // 定时任务
    id_menu_about,               // 是否更新
    id_menu_exit,                // 退出软件
};

// Controls of the about window.
enum AboutControlId : int {
    id_about_group = 3001,
    id_about_names_label,  // the program's old and new names
    id_about_picture,
    id_about_site_link,  // the link to the web site
};

// The tray icon's id and its notification message; lParam carries the mouse message.
inline constexpr UINT kTrayIconId = 1;
inline constexpr UINT kMsgTrayIcon = WM_APP + 1;
// exit_program posts this to the main window, which then destroys itself.
inline constexpr UINT kMsgDestroyRequest = WM_APP + 2;
// The message loop offers every key message to the top-level window first (lParam: MSG*);
// a nonzero answer means the window has handled the key.
inline constexpr UINT kMsgTranslateKey = WM_APP + 3;
// A link handed over by WM_COPYDATA waits in the window until this posted message takes it, so
// that the sender never waits for the conversion or its error box.
inline constexpr UINT kMsgTakeHandedLink = WM_APP + 4;

}  // namespace vantrel
