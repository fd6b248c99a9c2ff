// The design of the main window and the about window as data: each window's frame and every
// control with its layout name, kind, place, caption, extra style, font and colour. The
// creation code (controls.cpp) walks these tables in order; the order of a table is the
// control order of its window (creation order, tab order, the order of the Enter rule).
#pragma once

#include <windows.h>

#include <cstddef>

namespace vantrel {

enum class ControlKind {
    label,
    edit_box,
    push_button,
    default_push_button,
    radio_button,
    picture_box,
    group_box,
    hyperlink,
};

enum class FontId {
    gui,          // the default GUI font
    kai_bold,     // 楷体_GB2312, 14 pixels, bold
    exclamation,  // 29 pixels, bold
    yahei,        // 微软雅黑, 12 pixels
};

struct FontSpec {
    FontId id;
    const wchar_t* face;  // nullptr: the system's default GUI font
    int height;           // pixels
    int weight;
};

inline constexpr COLORREF kDefaultColor = CLR_INVALID;

struct ControlLayout {
    const wchar_t* name;  // the layout name
    int id;
    ControlKind kind;
    int parent_id;  // nonzero: left and top count from that control's own left and top
    int left, top, width, height;
    const wchar_t* caption;
    DWORD style;  // added to the kind's own style
    FontId font;
    COLORREF text_color;    // kDefaultColor: the system's
    int image;              // picture boxes: the icon resource; hyperlinks: 0
    const wchar_t* target;  // hyperlinks: the address that the link opens
};

struct WindowLayout {
    const wchar_t* class_name;
    const wchar_t* caption;
    int width, height;  // outer size
    DWORD style, ex_style;
    const ControlLayout* controls;
    std::size_t control_count;
};

struct MenuItemSpec {
    const wchar_t* name;  // the layout name
    int id;               // 0: a separator
    const wchar_t* caption;
};

extern const FontSpec kFonts[4];
extern const WindowLayout kMainWindow;
extern const WindowLayout kAboutWindow;
extern const MenuItemSpec kTrayMenu[5];  // 托盘

}  // namespace vantrel
