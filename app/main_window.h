// The main window: the controls of the link converter, the window layer that the actions use
// to reach them, the event bindings, the start-up sequence, the minimise and close rules, the
// key rule and the life in the notification area.
#pragma once

#include <windows.h>

#include <deque>

#include "about_window.h"
#include "controls.h"
#include "drop_target.h"
#include "library_functions.h"
#include "tray_icon.h"
#include "vantrel/win/owned.h"
#include "vantrel/win/window_base.h"
#include "window_layer.h"

namespace vantrel {

class MainWindow final : public WindowLayer, public WindowBase {
  public:
    static bool register_class(HINSTANCE instance);
    // The object behind a main window handle (nullptr for any other window).
    static MainWindow* from_handle(HWND window);

    // The outside libraries are called through functions, which outlives the window.
    explicit MainWindow(LibraryFunctions& functions) : functions_(functions) {}
    ~MainWindow() override;
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // Loads the main window with its controls and runs its created action (the start-up
    // sequence). False when the window cannot be created.
    bool create(HINSTANCE instance);

    // The window layer. Once the window has been destroyed, reads give the empty text and
    // writes go nowhere: a conversion still running in a nested dispatch ends harmlessly.
    Text read_box(Box box) const override;
    void write_box(Box box, const Text& text) override;
    bool is_checked(Scheme scheme) const override;
    void set_visible(bool visible) override;
    void set_shown_in_tray(bool shown) override;
    HWND handle() const override { return window(); }

    // The actions of the window's own events.
    void show_main_window();
    // The first half of show_main_window: shown, restored, in front, in the tray.
    void bring_to_front();
    // A link handed over on the command line (read_handed_link): the window comes to the front
    // without its clipboard intake and the link goes into its box; an encoded link is then
    // converted as a click on its scheme's radio button converts it. Anything else is ignored.
    void take_handed_link(std::string_view raw);
    void pop_up_tray_menu();
    void exit_program();
    void clear_boxes();
    void open_about_window();
    void radio_button_clicked(Scheme scheme);
    LibraryFunctions& library_functions() { return functions_; }

  private:
    LRESULT handle_message(UINT message, WPARAM wparam, LPARAM lparam) override;

    void run_start_up_sequence();
    void on_size(WPARAM kind);
    bool on_close();
    void on_command(int id, int code);
    void on_tray_icon(UINT mouse_message);
    void on_destroy();
    bool translate_key(const MSG& key);
    bool receive_copied_link(const COPYDATASTRUCT* data);
    void take_next_handed_link();
    void press_default_button();
    HWND box_handle(Box box) const;
    void on_unbound() override { controls_.release(); }

    LibraryFunctions& functions_;
    Controls controls_;
    OwnedIcon tray_picture_;
    TrayIcon tray_icon_;            // 托盘图标1
    DropRegistration drop_target_;  // 拖放对象1
    AboutWindow about_window_;
    UINT taskbar_created_ = 0;
    std::deque<Text> handed_links_;  // received by WM_COPYDATA, not yet taken
};

}  // namespace vantrel
