#include "main_window.h"

#include "app_ids.h"
#include "context_menu_registration.h"
#include "conversion.h"
#include "handed_link.h"
#include "handoff_window.h"
#include "link_intake.h"
#include "outside_commands.h"
#include "resource.h"
#include "window_layout.h"

namespace vantrel {

namespace {

// The radio button of each scheme.
struct SchemeButton {
    Scheme scheme;
    int id;
};

constexpr SchemeButton kSchemeButtons[] = {
    {Scheme::thunder, id_thunder_radio},    // 迅雷
    {Scheme::flashget, id_flashget_radio},  // 快车
    {Scheme::qqdl, id_qqdl_radio},          // 旋风
    {Scheme::rayfile, id_rayfile_radio},    // RayFile
};

// At most this many handed links wait to be taken; a flood of them is refused.
constexpr std::size_t kHandedLinksWaiting = 16;

int button_of(Scheme scheme) {
    for (const SchemeButton& button : kSchemeButtons) {
        if (button.scheme == scheme) return button.id;
    }
    return 0;
}

// The event bindings: the click of each control and the choice of each item of 托盘.
struct CommandBinding {
    int id;
    void (*action)(MainWindow& window);
};

constexpr CommandBinding kCommandBindings[] = {
    {id_thunder_radio, [](MainWindow& w) { w.radio_button_clicked(Scheme::thunder); }},
    {id_flashget_radio, [](MainWindow& w) { w.radio_button_clicked(Scheme::flashget); }},
    {id_qqdl_radio, [](MainWindow& w) { w.radio_button_clicked(Scheme::qqdl); }},
    {id_rayfile_radio, [](MainWindow& w) { w.radio_button_clicked(Scheme::rayfile); }},
    {id_paste_encoded_button, [](MainWindow& w) { paste_encoded_link(w); }},
    {id_paste_plain_button, [](MainWindow& w) { paste_plain_address(w); }},
    {id_clear_button, [](MainWindow& w) { w.clear_boxes(); }},
    {id_alarm_button, [](MainWindow& w) { run_alarm(w.library_functions()); }},
    {id_download_button, [](MainWindow& w) { start_download(w, w.library_functions()); }},
    {id_exit_button, [](MainWindow& w) { w.exit_program(); }},
    {id_menu_show_window, [](MainWindow& w) { w.show_main_window(); }},
    {id_menu_alarm, [](MainWindow& w) { run_alarm(w.library_functions()); }},
    {id_menu_about, [](MainWindow& w) { w.open_about_window(); }},
    {id_menu_exit, [](MainWindow& w) { w.exit_program(); }},
};

bool is_default_push_button(HWND control, const ControlLayout& layout) {
    const bool push_button =
        layout.kind == ControlKind::push_button || layout.kind == ControlKind::default_push_button;
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(control, GWL_STYLE));
    return push_button && (style & BS_TYPEMASK) == BS_DEFPUSHBUTTON && IsWindowEnabled(control);
}

}  // namespace

bool MainWindow::register_class(HINSTANCE instance) {
    WNDCLASSEXW wc{};
    wc.hInstance = instance;
    wc.hIcon = static_cast<HICON>(
        LoadImageW(instance, MAKEINTRESOURCEW(IDI_VANTREL), IMAGE_ICON, 32, 32, LR_SHARED));
    wc.hIconSm = static_cast<HICON>(
        LoadImageW(instance, MAKEINTRESOURCEW(IDI_VANTREL), IMAGE_ICON, 16, 16, LR_SHARED));
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kMainWindowClass;
    return WindowBase::register_class(wc);
}

MainWindow* MainWindow::from_handle(HWND window) {
    wchar_t class_name[64] = {};
    if (!window || !GetClassNameW(window, class_name, 64) ||
        lstrcmpW(class_name, kMainWindowClass) != 0) {
        return nullptr;
    }
    return static_cast<MainWindow*>(bound_to(window));
}

MainWindow::~MainWindow() {
    if (window()) DestroyWindow(window());
}

bool MainWindow::create(HINSTANCE instance) {
    taskbar_created_ = RegisterWindowMessageW(L"TaskbarCreated");
    tray_picture_ = OwnedIcon(static_cast<HICON>(
        LoadImageW(instance, MAKEINTRESOURCEW(IDI_TRAY), IMAGE_ICON, 32, 32, 0)));
    if (!create_window(kMainWindow, nullptr, instance, creation_param())) return false;
    tray_icon_.attach(window(), kTrayIconId, kMsgTrayIcon, tray_picture_.get());
    run_start_up_sequence();
    return true;
}

// The created action of the main window.
void MainWindow::run_start_up_sequence() {
    // 拖放对象1 serves the window as its drop target; without it the window takes no drops.
    drop_target_.register_window(window(),
                                 [this](const Text& url) { take_dropped_link(*this, url); });
    set_visible(true);
    SetForegroundWindow(window());
    set_shown_in_tray(true);
    // The component registers itself, and the context-menu key with the hand-off record is
    // written. When a registry write fails the program ends here, without a message and
    // before any look at the clipboard, with kExitRegistryWriteFailed.
    if (!register_context_menu(functions_, window())) {
        DestroyWindow(window());  // the tray icon and the drop registration go with it
        ExitProcess(kExitRegistryWriteFailed);
    }
    // Right after the record, with no message handled in between: from now on the window
    // takes the links that the component announces with kMsgLinkHandoff.
    install_handoff_window_proc(*this, functions_);
    take_link_from_clipboard(*this);
}

LRESULT MainWindow::handle_message(UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == taskbar_created_ && taskbar_created_ != 0) {
        tray_icon_.add_again();
        return 0;
    }
    switch (message) {
        case WM_CREATE:
            return controls_.create(window(), kMainWindow) ? 0 : -1;
        case WM_SIZE:
            on_size(wparam);
            return 0;
        case WM_CLOSE:
            if (on_close()) return 0;
            break;
        case WM_COMMAND:
            on_command(LOWORD(wparam), HIWORD(wparam));
            return 0;
        case kMsgTrayIcon:
            on_tray_icon(static_cast<UINT>(lparam));
            return 0;
        case kMsgDestroyRequest:
            DestroyWindow(window());
            return 0;
        case kMsgTranslateKey:
            return translate_key(*reinterpret_cast<const MSG*>(lparam));
        case WM_COPYDATA:
            return receive_copied_link(reinterpret_cast<const COPYDATASTRUCT*>(lparam));
        case kMsgTakeHandedLink:
            take_next_handed_link();
            return 0;
        case WM_CTLCOLORSTATIC:
            return controls_.paint_colors(reinterpret_cast<HDC>(wparam),
                                          reinterpret_cast<HWND>(lparam));
        case WM_DRAWITEM:
            controls_.draw_picture(*reinterpret_cast<const DRAWITEMSTRUCT*>(lparam));
            return TRUE;
        case WM_DESTROY:
            on_destroy();
            return 0;
    }
    return DefWindowProcW(window(), message, wparam, lparam);
}

// The minimise rule: a minimised window goes to the notification area, keeping its texts.
void MainWindow::on_size(WPARAM) {
    if (!IsIconic(window())) return;
    set_visible(false);
    set_shown_in_tray(true);
}

// The close rule: a visible window hides and empties its boxes, and the close is refused;
// a hidden one lets the close go ahead and the program ends.
bool MainWindow::on_close() {
    if (!IsWindowVisible(window())) return false;
    set_visible(false);
    write_box(Box::encoded, {});
    write_box(Box::plain, {});
    return true;
}

void MainWindow::on_command(int id, int code) {
    if (code != BN_CLICKED) return;  // also the code of a menu item
    for (const CommandBinding& binding : kCommandBindings) {
        if (binding.id == id) {
            binding.action(*this);
            return;
        }
    }
}

void MainWindow::on_tray_icon(UINT mouse_message) {
    switch (mouse_message) {
        case WM_LBUTTONUP:
            show_main_window();
            break;
        case WM_RBUTTONUP:
            pop_up_tray_menu();
            break;
    }
}

// The tray icon and the drop registration go with the window; the program ends with it.
void MainWindow::on_destroy() {
    tray_icon_.remove();
    drop_target_.revoke();
    PostQuitMessage(0);
}

// Key rule. Esc is a close request; Enter presses a default button; Tab moves the focus.
bool MainWindow::translate_key(const MSG& key) {
    if (key.wParam != VK_ESCAPE && key.wParam != VK_RETURN && key.wParam != VK_TAB) return false;
    if (key.hwnd != window()) {
        const LRESULT claims =
            SendMessageW(key.hwnd, WM_GETDLGCODE, key.wParam, reinterpret_cast<LPARAM>(&key));
        if (claims & (DLGC_WANTALLKEYS | DLGC_WANTMESSAGE)) return false;
    }
    switch (key.wParam) {
        case VK_ESCAPE:
            SendMessageW(window(), WM_CLOSE, 0, 0);
            break;
        case VK_RETURN:
            press_default_button();
            break;
        case VK_TAB:
            if (HWND next = GetNextDlgTabItem(window(), GetFocus(), GetKeyState(VK_SHIFT) < 0)) {
                SetFocus(next);
            }
            break;
    }
    return true;
}

// The focused control when it is an enabled default push button, otherwise the first
// enabled default push button in control order.
void MainWindow::press_default_button() {
    HWND button = nullptr;
    HWND focus = GetFocus();
    const ControlLayout* focused = focus ? controls_.layout_of(focus) : nullptr;
    if (focused && is_default_push_button(focus, *focused)) {
        button = focus;
    } else if (const WindowLayout* layout = controls_.window_spec()) {
        for (std::size_t i = 0; i < layout->control_count && !button; ++i) {
            HWND control = controls_.handle(layout->controls[i].id);
            if (control && is_default_push_button(control, layout->controls[i])) button = control;
        }
    }
    if (!button) return;
    SendMessageW(window(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                 reinterpret_cast<LPARAM>(button));
}

void MainWindow::show_main_window() {
    if (!window()) return;
    bring_to_front();
    paste_plain_address(*this);
    paste_encoded_link(*this);
}

void MainWindow::bring_to_front() {
    if (!window()) return;
    set_visible(true);
    // Window state 0: restored when minimised, and active.
    if (IsIconic(window())) ShowWindow(window(), SW_RESTORE);
    SetForegroundWindow(window());
    set_shown_in_tray(true);
}

// WM_COPYDATA comes from any process. The link is copied and taken later from the queue, so
// that the sender is free at once; TRUE tells it that the link was accepted.
bool MainWindow::receive_copied_link(const COPYDATASTRUCT* data) {
    std::optional<Text> link = link_from_copy_data(data);
    if (!link || !window() || handed_links_.size() >= kHandedLinksWaiting) return false;
    if (!PostMessageW(window(), kMsgTakeHandedLink, 0, 0)) return false;
    handed_links_.push_back(std::move(*link));
    return true;
}

void MainWindow::take_next_handed_link() {
    if (handed_links_.empty()) return;
    const Text link = std::move(handed_links_.front());
    handed_links_.pop_front();
    take_handed_link(link);
}

void MainWindow::take_handed_link(std::string_view raw) {
    const HandedLink link = read_handed_link(raw);
    if (link.kind == HandedLink::Kind::ignored || !window()) return;
    bring_to_front();
    if (link.kind == HandedLink::Kind::plain) {
        write_box(Box::plain, link.text);
        return;
    }
    write_box(Box::encoded, link.text);
    radio_button_clicked(link.scheme);
}

void MainWindow::pop_up_tray_menu() {
    if (!window()) return;
    // The window must be the foreground window while the menu is up, or the menu does not
    // close when the user clicks elsewhere; this holds while the window is hidden too.
    SetForegroundWindow(window());
    OwnedMenu menu(CreatePopupMenu());
    if (!menu.get()) return;
    for (const MenuItemSpec& item : kTrayMenu) {
        if (item.id == 0) {
            AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
        } else {
            AppendMenuW(menu.get(), MF_STRING, static_cast<UINT_PTR>(item.id), item.caption);
        }
    }
    POINT cursor{};
    GetCursorPos(&cursor);
    TrackPopupMenu(menu.get(), TPM_RIGHTALIGN | TPM_RIGHTBUTTON, cursor.x - 5, cursor.y - 5, 0,
                   window(), nullptr);
    // The documented way to let the menu go away properly on the next click elsewhere.
    if (window()) PostMessageW(window(), WM_NULL, 0, 0);
}

void MainWindow::exit_program() {
    // Posted, so the window goes only after the running action has returned.
    if (window()) PostMessageW(window(), kMsgDestroyRequest, 0, 0);
}

void MainWindow::clear_boxes() {
    write_box(Box::encoded, {});
    write_box(Box::plain, {});
}

void MainWindow::open_about_window() {
    if (window()) about_window_.open(window());
}

// A click checks the clicked radio button and unchecks the others; when it reads as
// checked, its scheme's conversion runs (again, when it was checked already).
void MainWindow::radio_button_clicked(Scheme scheme) {
    for (const SchemeButton& button : kSchemeButtons) {
        if (HWND radio = controls_.handle(button.id)) {
            SendMessageW(radio, BM_SETCHECK, button.scheme == scheme ? BST_CHECKED : BST_UNCHECKED,
                         0);
        }
    }
    if (is_checked(scheme)) run_conversion(*this, scheme);
}

HWND MainWindow::box_handle(Box box) const {
    return controls_.handle(box == Box::encoded ? id_encoded_box : id_plain_box);
}

Text MainWindow::read_box(Box box) const {
    HWND edit = box_handle(box);
    if (!edit) return {};
    const int length = GetWindowTextLengthA(edit);
    if (length <= 0) return {};
    std::string buffer(static_cast<std::size_t>(length) + 1, '\0');
    const int copied = GetWindowTextA(edit, buffer.data(), length + 1);
    buffer.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
    return buffer;
}

void MainWindow::write_box(Box box, const Text& text) {
    HWND edit = box_handle(box);
    if (!edit) return;
    SetWindowTextA(edit, text.c_str());
    UpdateWindow(edit);
}

bool MainWindow::is_checked(Scheme scheme) const {
    HWND radio = controls_.handle(button_of(scheme));
    return radio && SendMessageW(radio, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void MainWindow::set_visible(bool visible) {
    if (window()) ShowWindow(window(), visible ? SW_SHOW : SW_HIDE);
}

void MainWindow::set_shown_in_tray(bool shown) {
    if (window()) tray_icon_.set_shown(shown);
}

}  // namespace vantrel
