// The about window: opened by 是否更新, owned by the main window and not modal. There is never
// a second copy; Esc or its close button destroys it.
#pragma once

#include <windows.h>

#include "controls.h"
#include "vantrel/win/window_base.h"

namespace vantrel {

class AboutWindow final : public WindowBase {
  public:
    static bool register_class(HINSTANCE instance);

    AboutWindow() = default;
    ~AboutWindow();
    AboutWindow(const AboutWindow&) = delete;
    AboutWindow& operator=(const AboutWindow&) = delete;

    // open_about_window: loads the window with owner, or restores and activates the open one.
    void open(HWND owner);

  private:
    LRESULT handle_message(UINT message, WPARAM wparam, LPARAM lparam) override;
    bool translate_key(const MSG& key);
    void on_unbound() override { controls_.release(); }

    Controls controls_;
};

}  // namespace vantrel
