#include "window_layout.h"

#include <iterator>

#include "app_ids.h"
#include "resource.h"

namespace vantrel {

namespace {

constexpr COLORREF kLabelBlue = RGB(0, 51, 153);
constexpr COLORREF kAlertRed = RGB(220, 40, 20);

// clang-format off
// Fields: name, id, kind, parent, left, top, width, height, caption, style, font, colour,
// image, target.

// The controls of the main window, in control order.
constexpr ControlLayout kMainControls[] = {
    {L"标签3", id_alert_label, ControlKind::label, id_logo_picture, 76, 1, 16, 32, L"！", 0, FontId::exclamation, kAlertRed, 0, nullptr},
    {L"图片框1", id_logo_picture, ControlKind::picture_box, 0, 256, 8, 96, 32, nullptr, 0, FontId::gui, kDefaultColor, IDI_LOGO, nullptr},
    {L"单选框4", id_rayfile_radio, ControlKind::radio_button, 0, 278, 83, 64, 24, L"RayFile", 0, FontId::gui, kDefaultColor, 0, nullptr},
    {L"编辑框1", id_encoded_box, ControlKind::edit_box, 0, 16, 56, 328, 20, L"", 0, FontId::gui, kDefaultColor, 0, nullptr},
    {L"编辑框2", id_plain_box, ControlKind::edit_box, 0, 16, 109, 328, 20, L"", 0, FontId::gui, kDefaultColor, 0, nullptr},
    {L"定时按钮", id_alarm_button, ControlKind::default_push_button, 0, 48, 144, 80, 32, L"定时", 0, FontId::gui, kDefaultColor, 0, nullptr},
    {L"IE按钮", id_paste_plain_button, ControlKind::push_button, 0, 346, 104, 62, 28, L"粘贴获取", 0, FontId::gui, kDefaultColor, 0, nullptr},
    {L"原地址按钮", id_paste_encoded_button, ControlKind::push_button, 0, 346, 50, 62, 28, L"粘贴获取", 0, FontId::gui, kDefaultColor, 0, nullptr},
    {L"超级按钮1", id_clear_button, ControlKind::push_button, 0, 354, 80, 42, 21, L"清空", 0, FontId::kai_bold, kDefaultColor, 0, nullptr},
    {L"单选框3", id_qqdl_radio, ControlKind::radio_button, 0, 214, 83, 56, 24, L"旋风", 0, FontId::gui, kDefaultColor, 0, nullptr},
    {L"单选框2", id_flashget_radio, ControlKind::radio_button, 0, 144, 83, 56, 24, L"快车", 0, FontId::gui, kDefaultColor, 0, nullptr},
    {L"单选框1", id_thunder_radio, ControlKind::radio_button, 0, 80, 84, 56, 24, L"迅雷", 0, FontId::gui, kDefaultColor, 0, nullptr},
    {L"取消按钮", id_exit_button, ControlKind::default_push_button, 0, 283, 144, 80, 32, L"退出", 0, FontId::gui, kDefaultColor, 0, nullptr},
    {L"标签2", id_plain_label, ControlKind::label, 0, 5, 85, 67, 24, L"转换IE地址：", SS_CENTERIMAGE, FontId::gui, kLabelBlue, 0, nullptr},
    {L"标签1", id_encoded_label, ControlKind::label, 0, 3, 30, 69, 24, L"原下载地址：", SS_CENTERIMAGE, FontId::gui, kLabelBlue, 0, nullptr},
    {L"下载按钮", id_download_button, ControlKind::default_push_button, 0, 165, 144, 80, 32, L"下载", 0, FontId::gui, kDefaultColor, 0, nullptr},
};

// The controls of the about window, in control order. The group box comes last so that it is
// the lowest in the z-order: it draws only its frame, under the controls that it holds.
constexpr ControlLayout kAboutControls[] = {
    {L"标签1", id_about_names_label, ControlKind::label, id_about_group, 64, 8, 144, 40, L"原名：下载地址转换器\n现更名为：Vantrel", 0, FontId::yahei, kLabelBlue, 0, nullptr},
    {L"图片框1", id_about_picture, ControlKind::picture_box, 0, 8, 9, 48, 48, nullptr, 0, FontId::gui, kDefaultColor, IDI_ABOUT, nullptr},
    {L"超级链接框1", id_about_site_link, ControlKind::hyperlink, 0, 68, 46, 140, 27, L"欢迎访问 Vantrel 网站", 0, FontId::gui, kDefaultColor, 0, L"http://www.example.com/vantrel/"},
    {L"分组框1", id_about_group, ControlKind::group_box, 0, 2, 0, 213, 80, L"", 0, FontId::gui, kDefaultColor, 0, nullptr},
};
// clang-format on

}  // namespace

const FontSpec kFonts[4] = {
    {FontId::gui, nullptr, 0, FW_NORMAL},
    {FontId::kai_bold, L"楷体_GB2312", 14, FW_BOLD},
    {FontId::exclamation, L"宋体", 29, FW_BOLD},
    {FontId::yahei, L"微软雅黑", 12, FW_NORMAL},
};

const WindowLayout kMainWindow = {
    kMainWindowClass,
    L"Vantrel V2.0  ——想下就下，无限制          ",
    429,
    232,
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN,
    WS_EX_CLIENTEDGE,
    kMainControls,
    std::size(kMainControls),
};

const WindowLayout kAboutWindow = {
    kAboutWindowClass,
    L"关于Vantrel  V2.0 beta",
    221,
    109,
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU,
    WS_EX_DLGMODALFRAME,
    kAboutControls,
    std::size(kAboutControls),
};

const MenuItemSpec kTrayMenu[5] = {
    {L"显示窗口", id_menu_show_window, L"显示窗口"},
    {L"定时任务", id_menu_alarm, L"定时任务"},
    {L"", 0, nullptr},
    {L"是否更新", id_menu_about, L"是否更新"},
    {L"退出软件", id_menu_exit, L"退出软件"},
};

}  // namespace vantrel
