// Numbers that other programs see: the window classes, the control and menu item ids, and
// the private window messages of the main window. The tests drive the program with them.
#pragma once

#include <windows.h>

#include "vantrel/contract.h"

namespace vantrel {

// kMainWindowClass, which the component looks for, is in vantrel/contract.h.
inline constexpr wchar_t kAboutWindowClass[] = L"VantrelAboutWindow";
inline constexpr wchar_t kHyperlinkClass[] = L"VantrelHyperlink";

// Controls of the main window, in the order in which they are created.
enum ControlId : int {
    id_label3 = 1001,    // 标签3
    id_picture1,         // 图片框1
    id_radio4,           // 单选框4
    id_edit1,            // 编辑框1
    id_edit2,            // 编辑框2
    id_alarm_button,     // 定时按钮
    id_ie_button,        // IE按钮
    id_original_button,  // 原地址按钮
    id_super_button1,    // 超级按钮1
    id_radio3,           // 单选框3
    id_radio2,           // 单选框2
    id_radio1,           // 单选框1
    id_cancel_button,    // 取消按钮
    id_label2,           // 标签2
    id_label1,           // 标签1
    id_download_button,  // 下载按钮
};

// Items of the menu 托盘.
enum MenuId : int {
    id_menu_show_window = 2001,  // 显示窗口
    id_menu_alarm,               // 定时任务
    id_menu_about,               // 是否更新
    id_menu_exit,                // 退出软件
};

// Controls of the about window.
enum AboutControlId : int {
    id_about_group1 = 3001,  // 分组框1
    id_about_label1,         // 标签1
    id_about_picture1,       // 图片框1
    id_about_link1,          // 超级链接框1
};

// The tray icon's id and its notification message; lParam carries the mouse message.
inline constexpr UINT kTrayIconId = 1;
inline constexpr UINT kMsgTrayIcon = WM_APP + 1;
// exit_program posts this to the main window, which then destroys itself.
inline constexpr UINT kMsgDestroyRequest = WM_APP + 2;
// The message loop offers every key message to the top-level window first (lParam: MSG*);
// a nonzero answer means the window has handled the key.
inline constexpr UINT kMsgTranslateKey = WM_APP + 3;

}  // namespace vantrel
