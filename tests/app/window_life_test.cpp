// The main window's life: hiding to the notification area, coming back, the tray menu, the
// about window, the keys and the end of the program.
#include <gtest/gtest.h>

#include <windows.h>

#include <shellapi.h>

#include <string>

#include "app_ids.h"
#include "program_driver.h"

namespace vantrel::testing {
namespace {

class WindowLife : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(empty_clipboard());
        ASSERT_TRUE(program.start());
    }

    void fill_boxes() {
        program.set_box(id_encoded_box, "thunder://QUFhYmNaWg==");
        program.set_box(id_plain_box, "http://a/b");
    }

    void send_tray_event(UINT mouse_message) {
        SendMessageW(program.main(), kMsgTrayIcon, kTrayIconId, mouse_message);
    }

    // Ends the program by its own exit and checks that nothing of it is left.
    void expect_clean_end() {
        ASSERT_TRUE(program.wait_for_exit());
        EXPECT_EQ(program.exit_code(), 0u);
        EXPECT_FALSE(IsWindow(program.main()));
        EXPECT_TRUE(program.windows_of_class(kAboutWindowClass).empty());
        EXPECT_FALSE(program.tray_icon_present());
    }

    Program program;
};

TEST_F(WindowLife, ShownWithTrayIconAndTaskbarButton) {
    EXPECT_TRUE(program.is_visible());
    EXPECT_FALSE(IsIconic(program.main()));
    EXPECT_TRUE(program.tray_icon_present());
    EXPECT_EQ(GetWindow(program.main(), GW_OWNER), nullptr);
    EXPECT_FALSE(GetWindowLongPtrW(program.main(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
}

// Minimising hides the window, the boxes keep their texts; the tray icon's left click brings
// it back at its normal size and takes a link copied in the meantime.
TEST_F(WindowLife, MinimiseAndBackFromTheTray) {
    fill_boxes();
    SendMessageW(program.main(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(wait_until([&] { return !program.is_visible(); }));
    EXPECT_TRUE(program.tray_icon_present());
    EXPECT_EQ(program.box(id_encoded_box), "thunder://QUFhYmNaWg==");
    EXPECT_EQ(program.box(id_plain_box), "http://a/b");

    ASSERT_TRUE(set_clipboard_text("http://copied/later.zip"));
    send_tray_event(WM_LBUTTONUP);
    EXPECT_TRUE(program.is_visible());
    EXPECT_FALSE(IsIconic(program.main()));
    EXPECT_EQ(program.box(id_plain_box), "http://copied/later.zip");
    EXPECT_EQ(program.box(id_encoded_box), "thunder://QUFhYmNaWg==");

    // Other mouse events of the icon do nothing.
    SendMessageW(program.main(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(wait_until([&] { return !program.is_visible(); }));
    for (UINT event : {WM_LBUTTONDBLCLK, WM_MOUSEMOVE, WM_LBUTTONDOWN})
        send_tray_event(event);
    EXPECT_FALSE(program.is_visible());

    // The menu item 显示窗口 does what the left click does.
    ASSERT_TRUE(set_clipboard_text("thunder://bmV3"));
    program.command(id_menu_show_window);
    EXPECT_TRUE(program.is_visible());
    EXPECT_FALSE(IsIconic(program.main()));
    EXPECT_EQ(program.box(id_encoded_box), "thunder://bmV3");
    EXPECT_EQ(program.box(id_plain_box), "http://copied/later.zip");
}

// The close button, Alt+F4 (the system menu's close) and Esc hide the visible window and
// empty both boxes; the program keeps running in the notification area.
TEST_F(WindowLife, CloseRequestsHideAndEmpty) {
    struct Case {
        const char* name;
        void (*request)(const Program&);
    };
    const Case cases[] = {
        {"WM_CLOSE", [](const Program& p) { SendMessageW(p.main(), WM_CLOSE, 0, 0); }},
        {"SC_CLOSE", [](const Program& p) { SendMessageW(p.main(), WM_SYSCOMMAND, SC_CLOSE, 0); }},
        {"Esc in 编辑框1",
         [](const Program& p) { p.post_key(p.control(id_encoded_box), VK_ESCAPE); }},
        {"Esc in 编辑框2",
         [](const Program& p) { p.post_key(p.control(id_plain_box), VK_ESCAPE); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        send_tray_event(WM_LBUTTONUP);
        ASSERT_TRUE(program.is_visible());
        fill_boxes();
        c.request(program);
        ASSERT_TRUE(wait_until([&] { return !program.is_visible(); }));
        EXPECT_EQ(program.box(id_encoded_box), "");
        EXPECT_EQ(program.box(id_plain_box), "");
        EXPECT_TRUE(program.tray_icon_present());
        EXPECT_EQ(program.exit_code(), static_cast<DWORD>(STILL_ACTIVE));
    }
    // Hidden, a close request goes ahead: the program ends.
    PostMessageW(program.main(), WM_CLOSE, 0, 0);
    expect_clean_end();
}

TEST_F(WindowLife, ExitButtonEndsTheProgram) {
    ASSERT_TRUE(program.tray_icon_present());
    program.command(id_menu_about);
    ASSERT_EQ(program.windows_of_class(kAboutWindowClass).size(), 1u);
    program.command(id_exit_button);
    expect_clean_end();
}

TEST_F(WindowLife, ExitMenuItemEndsTheProgramWhileHidden) {
    program.command(id_menu_about);
    SendMessageW(program.main(), WM_CLOSE, 0, 0);
    ASSERT_FALSE(program.is_visible());
    program.command(id_menu_exit);
    expect_clean_end();
}

// 是否更新 twice gives one about window, owned by the main window; Esc closes it alone.
TEST_F(WindowLife, OneAboutWindow) {
    program.command(id_menu_about);
    program.command(id_menu_about);
    auto about = program.windows_of_class(kAboutWindowClass);
    ASSERT_EQ(about.size(), 1u);
    EXPECT_TRUE(IsWindowVisible(about[0]));

    ShowWindow(about[0], SW_MINIMIZE);
    ASSERT_TRUE(wait_until([&] { return IsIconic(about[0]) != FALSE; }));
    program.command(id_menu_about);
    EXPECT_EQ(program.windows_of_class(kAboutWindowClass).size(), 1u);
    EXPECT_FALSE(IsIconic(about[0])) << "restored when opened again";

    program.post_key(about[0], VK_ESCAPE);
    ASSERT_TRUE(wait_until([&] { return !IsWindow(about[0]); }));
    EXPECT_TRUE(program.is_visible());

    // It opens again afterwards, also while the main window is hidden.
    SendMessageW(program.main(), WM_CLOSE, 0, 0);
    program.command(id_menu_about);
    EXPECT_EQ(program.windows_of_class(kAboutWindowClass).size(), 1u);
    EXPECT_FALSE(program.is_visible());
}

// The right click shows 托盘 as a pop-up menu; the window stays hidden unless 显示窗口 is
// chosen.
TEST_F(WindowLife, TrayMenuPopUp) {
    SendMessageW(program.main(), WM_CLOSE, 0, 0);
    ASSERT_FALSE(program.is_visible());
    auto find_menu = [&]() -> HWND {
        HWND menu = FindWindowW(L"#32768", nullptr);
        return menu && IsWindowVisible(menu) ? menu : nullptr;
    };

    PostMessageW(program.main(), kMsgTrayIcon, kTrayIconId, WM_RBUTTONUP);
    ASSERT_TRUE(wait_until([&] { return find_menu() != nullptr; }));
    EXPECT_FALSE(program.is_visible());
    program.post_key(find_menu(), VK_ESCAPE);
    ASSERT_TRUE(wait_until([&] { return find_menu() == nullptr; }));
    EXPECT_FALSE(program.is_visible());

    // Down selects 显示窗口, the first item; Enter chooses it.
    ASSERT_TRUE(set_clipboard_text("http://from/menu"));
    PostMessageW(program.main(), kMsgTrayIcon, kTrayIconId, WM_RBUTTONUP);
    ASSERT_TRUE(wait_until([&] { return find_menu() != nullptr; }));
    program.post_key(find_menu(), VK_DOWN);
    program.post_key(find_menu(), VK_RETURN);
    ASSERT_TRUE(wait_until([&] { return program.is_visible(); }));
    EXPECT_TRUE(wait_until([&] { return program.box(id_plain_box) == "http://from/menu"; }));
}

// Tab moves the focus along the control order.
TEST_F(WindowLife, TabMovesTheFocus) {
    auto focus = [&] {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        GetGUIThreadInfo(GetWindowThreadProcessId(program.main(), nullptr), &info);
        return info.hwndFocus;
    };
    PostMessageW(program.control(id_encoded_box), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    PostMessageW(program.control(id_encoded_box), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    ASSERT_TRUE(wait_until([&] { return focus() == program.control(id_encoded_box); }));
    program.post_key(program.control(id_encoded_box), VK_TAB);
    EXPECT_TRUE(wait_until([&] { return focus() == program.control(id_plain_box); }));
    program.post_key(program.control(id_plain_box), VK_TAB);
    EXPECT_TRUE(wait_until([&] { return focus() == program.control(id_alarm_button); }));
    EXPECT_TRUE(program.is_visible());
}

// After the shell's taskbar has been re-created the icon is added again.
TEST_F(WindowLife, TrayIconBackAfterTaskbarCreated) {
    NOTIFYICONDATAW icon{};
    icon.cbSize = sizeof icon;
    icon.hWnd = program.main();
    icon.uID = kTrayIconId;
    ASSERT_TRUE(Shell_NotifyIconW(NIM_DELETE, &icon));
    ASSERT_FALSE(program.tray_icon_present());
    SendMessageW(program.main(), RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    EXPECT_TRUE(program.tray_icon_present());
}

// Enter presses the focused control when it is a default push button, and otherwise the
// first one in control order, 定时按钮 (whose alarm library is missing here, so the program
// ends with the fatal error report naming it).
TEST(EnterKey, DefaultButtonRule) {
    enum class Outcome { exit, download, alarm };
    struct Case {
        int focus;  // 0: the main window itself
        Outcome outcome;
    };
    const Case cases[] = {
        {id_exit_button, Outcome::exit},
        {id_download_button, Outcome::download},
        {id_alarm_button, Outcome::alarm},
        {id_encoded_box, Outcome::alarm},
        {id_plain_box, Outcome::alarm},
        {id_flashget_radio, Outcome::alarm},
        {id_paste_encoded_button, Outcome::alarm},
        {0, Outcome::alarm},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.focus);
        ASSERT_TRUE(empty_clipboard());
        Program program;
        ASSERT_TRUE(program.start());
        program.set_box(id_encoded_box, "thunder://QUFhYmNaWg==");
        program.set_box(id_plain_box, "http://a/b");
        HWND target = program.main();
        if (c.focus != 0) {
            // A control takes the focus when the mouse button goes down on it; the release
            // never comes, so nothing is clicked.
            target = program.control(c.focus);
            PostMessageW(target, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
        }
        program.post_key(target, VK_RETURN);
        switch (c.outcome) {
            case Outcome::exit:
                ASSERT_TRUE(program.wait_for_exit());
                EXPECT_EQ(program.exit_code(), 0u);
                break;
            case Outcome::download:
                ASSERT_TRUE(wait_until([&] { return !program.is_visible(); }));
                EXPECT_TRUE(wait_until([&] { return program.box(id_plain_box).empty(); }));
                EXPECT_EQ(program.box(id_encoded_box), "");
                break;
            case Outcome::alarm: {
                HWND box = program.wait_for_message_box();
                ASSERT_NE(box, nullptr);
                EXPECT_NE(message_box_text(box).find(L"nz.dll"), std::wstring::npos);
                close_message_box(box);
                ASSERT_TRUE(program.wait_for_exit());
                EXPECT_EQ(program.exit_code(), static_cast<DWORD>(-1));
                break;
            }
        }
    }
}

}  // namespace
}  // namespace vantrel::testing
