// The main window and the about window as laid out: frames, sizes, every control's place,
// kind and caption, and the version block of the program file.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app_ids.h"
#include "program_driver.h"

namespace vantrel::testing {
namespace {

enum class Kind { label, edit, push, default_push, radio, picture, group, link };

struct ExpectedControl {
    int id;
    const wchar_t* name;
    Kind kind;
    int left, top, width, height;
    const wchar_t* caption;  // nullptr: not checked
};

RECT client_rect_of(HWND control, HWND window) {
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(HWND_DESKTOP, window, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::wstring class_of(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

std::wstring text_of(HWND window) {
    wchar_t text[256] = {};
    SendMessageW(window, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text));
    return text;
}

void expect_kind(HWND control, Kind kind, const wchar_t* name) {
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(control, GWL_STYLE));
    const std::wstring cls = class_of(control);
    SCOPED_TRACE(::testing::Message() << "style " << std::hex << style);
    switch (kind) {
        case Kind::label:
            EXPECT_EQ(cls, L"Static") << name;
            break;
        case Kind::picture:
            EXPECT_EQ(cls, L"Static") << name;
            EXPECT_EQ(style & SS_TYPEMASK, static_cast<DWORD>(SS_OWNERDRAW)) << name;
            break;
        case Kind::edit:
            EXPECT_EQ(cls, L"Edit") << name;
            EXPECT_FALSE(style & ES_MULTILINE) << name;
            EXPECT_FALSE(style & ES_READONLY) << name;
            EXPECT_GE(static_cast<DWORD>(SendMessageW(control, EM_GETLIMITTEXT, 0, 0)), 0x7FFFFFFEu)
                << name;
            break;
        case Kind::push:
            EXPECT_EQ(cls, L"Button") << name;
            EXPECT_EQ(style & BS_TYPEMASK, static_cast<DWORD>(BS_PUSHBUTTON)) << name;
            break;
        case Kind::default_push:
            EXPECT_EQ(cls, L"Button") << name;
            EXPECT_EQ(style & BS_TYPEMASK, static_cast<DWORD>(BS_DEFPUSHBUTTON)) << name;
            break;
        case Kind::radio:
            EXPECT_EQ(cls, L"Button") << name;
            EXPECT_EQ(style & BS_TYPEMASK, static_cast<DWORD>(BS_RADIOBUTTON)) << name;
            break;
        case Kind::group:
            EXPECT_EQ(cls, L"Button") << name;
            EXPECT_EQ(style & BS_TYPEMASK, static_cast<DWORD>(BS_GROUPBOX)) << name;
            break;
        case Kind::link:
            EXPECT_EQ(cls, kHyperlinkClass) << name;
            break;
    }
}

void expect_controls(HWND window, const std::vector<ExpectedControl>& controls) {
    for (const ExpectedControl& c : controls) {
        HWND control = GetDlgItem(window, c.id);
        ASSERT_NE(control, nullptr) << c.name;
        EXPECT_TRUE(IsWindowVisible(control)) << c.name;
        const RECT rect = client_rect_of(control, window);
        EXPECT_EQ(rect.left, c.left) << c.name;
        EXPECT_EQ(rect.top, c.top) << c.name;
        EXPECT_EQ(rect.right - rect.left, c.width) << c.name;
        EXPECT_EQ(rect.bottom - rect.top, c.height) << c.name;
        if (c.caption) {
            EXPECT_EQ(text_of(control), c.caption) << c.name;
        }
        expect_kind(control, c.kind, c.name);
    }
}

TEST(Layout, MainWindow) {
    ASSERT_TRUE(empty_clipboard());
    Program program;
    ASSERT_TRUE(program.start());
    HWND main = program.main();

    EXPECT_EQ(text_of(main), L"Vantrel V2.0  ——想下就下，无限制          ");
    RECT outer{};
    GetWindowRect(main, &outer);
    EXPECT_EQ(outer.right - outer.left, 429);
    EXPECT_EQ(outer.bottom - outer.top, 232);
    EXPECT_EQ(outer.left, (GetSystemMetrics(SM_CXSCREEN) - 429) / 2);
    EXPECT_EQ(outer.top, (GetSystemMetrics(SM_CYSCREEN) - 232) / 2);

    const auto style = static_cast<DWORD>(GetWindowLongPtrW(main, GWL_STYLE));
    const auto ex_style = static_cast<DWORD>(GetWindowLongPtrW(main, GWL_EXSTYLE));
    EXPECT_TRUE(style & WS_CAPTION);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_TRUE(ex_style & WS_EX_CLIENTEDGE);
    EXPECT_EQ(GetMenu(main), nullptr);

    expect_controls(
        main,
        {
            {id_alert_label, L"标签3", Kind::label, 256 + 76, 8 + 1, 16, 32, L"！"},
            {id_logo_picture, L"图片框1", Kind::picture, 256, 8, 96, 32, nullptr},
            {id_encoded_label, L"标签1", Kind::label, 3, 30, 69, 24, L"原下载地址："},
            {id_encoded_box, L"编辑框1", Kind::edit, 16, 56, 328, 20, L""},
            {id_paste_encoded_button, L"原地址按钮", Kind::push, 346, 50, 62, 28, L"粘贴获取"},
            {id_plain_label, L"标签2", Kind::label, 5, 85, 67, 24, L"转换IE地址："},
            {id_thunder_radio, L"单选框1", Kind::radio, 80, 84, 56, 24, L"迅雷"},
            {id_flashget_radio, L"单选框2", Kind::radio, 144, 83, 56, 24, L"快车"},
            {id_qqdl_radio, L"单选框3", Kind::radio, 214, 83, 56, 24, L"旋风"},
            {id_rayfile_radio, L"单选框4", Kind::radio, 278, 83, 64, 24, L"RayFile"},
            {id_clear_button, L"超级按钮1", Kind::push, 354, 80, 42, 21, L"清空"},
            {id_plain_box, L"编辑框2", Kind::edit, 16, 109, 328, 20, L""},
            {id_paste_plain_button, L"IE按钮", Kind::push, 346, 104, 62, 28, L"粘贴获取"},
            {id_alarm_button, L"定时按钮", Kind::default_push, 48, 144, 80, 32, L"定时"},
            {id_download_button, L"下载按钮", Kind::default_push, 165, 144, 80, 32, L"下载"},
            {id_exit_button, L"取消按钮", Kind::default_push, 283, 144, 80, 32, L"退出"},
        });
    for (int id : {id_thunder_radio, id_flashget_radio, id_qqdl_radio, id_rayfile_radio}) {
        EXPECT_FALSE(program.is_checked(id)) << id;
    }

    // The control order is the creation order: 标签3 first, 下载按钮 last.
    EXPECT_EQ(GetWindow(main, GW_CHILD), program.control(id_alert_label));
    EXPECT_EQ(GetWindow(GetWindow(main, GW_CHILD), GW_HWNDLAST),
              program.control(id_download_button));
}

TEST(Layout, AboutWindow) {
    ASSERT_TRUE(empty_clipboard());
    Program program;
    ASSERT_TRUE(program.start());
    program.command(id_menu_about);
    std::vector<HWND> about = program.windows_of_class(kAboutWindowClass);
    ASSERT_EQ(about.size(), 1u);
    HWND window = about[0];

    EXPECT_EQ(text_of(window), L"关于Vantrel  V2.0 beta");
    EXPECT_EQ(GetWindow(window, GW_OWNER), program.main());
    RECT outer{};
    GetWindowRect(window, &outer);
    EXPECT_EQ(outer.right - outer.left, 221);
    EXPECT_EQ(outer.bottom - outer.top, 109);
    EXPECT_EQ(outer.left, (GetSystemMetrics(SM_CXSCREEN) - 221) / 2);
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
    EXPECT_TRUE(program.is_visible());
    EXPECT_TRUE(IsWindowEnabled(program.main())) << "the about window is not modal";

    expect_controls(
        window, {
                    {id_about_group, L"分组框1", Kind::group, 2, 0, 213, 80, L""},
                    {id_about_names_label, L"标签1", Kind::label, 2 + 64, 0 + 8, 144, 40, nullptr},
                    {id_about_picture, L"图片框1", Kind::picture, 8, 9, 48, 48, nullptr},
                    {id_about_site_link, L"超级链接框1", Kind::link, 68, 46, 140, 27, nullptr},
                });
    // The notice has two lines and names the product as the captions do.
    const std::wstring notice = text_of(GetDlgItem(window, id_about_names_label));
    EXPECT_NE(notice.find(L'\n'), std::wstring::npos);
    EXPECT_NE(notice.find(L"Vantrel"), std::wstring::npos);
}

std::wstring version_string(const std::vector<BYTE>& block, const wchar_t* name) {
    struct Translation {
        WORD language, code_page;
    };
    Translation* translation = nullptr;
    UINT size = 0;
    if (!VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation",
                        reinterpret_cast<void**>(&translation), &size) ||
        size < sizeof(Translation)) {
        return L"(no translation)";
    }
    wchar_t path[128];
    swprintf(path, 128, L"\\StringFileInfo\\%04x%04x\\%ls", translation->language,
             translation->code_page, name);
    wchar_t* value = nullptr;
    if (!VerQueryValueW(block.data(), path, reinterpret_cast<void**>(&value), &size)) {
        return L"(missing)";
    }
    return value;
}

TEST(Layout, VersionBlock) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(program_path().c_str(), &ignored);
    ASSERT_GT(size, 0u);
    std::vector<BYTE> block(size);
    ASSERT_TRUE(GetFileVersionInfoW(program_path().c_str(), 0, size, block.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT fixed_size = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &fixed_size));
    EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(0, 2));
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);
    EXPECT_EQ(fixed->dwProductVersionMS, MAKELONG(0, 2));
    EXPECT_EQ(fixed->dwProductVersionLS, 0u);

    EXPECT_EQ(version_string(block, L"FileDescription"), L"简缩你的下载时间和下载麻烦");
    EXPECT_EQ(version_string(block, L"FileVersion"), L"2.0.0.0");
    EXPECT_EQ(version_string(block, L"ProductVersion"), L"2.0.0.0");
}

}  // namespace
}  // namespace vantrel::testing
