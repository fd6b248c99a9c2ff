// The only way the controller reaches the main window's controls: read or replace a box's
// whole text, read a radio button, show or hide the window, put the icon into the
// notification area. Texts cross it as Text values in the ANSI code page.
#pragma once

#include <windows.h>

#include "vantrel/links.h"
#include "vantrel/text.h"

namespace vantrel {

enum class Box {
    encoded,  // the encoded link
    plain,    // the plain address
};

class WindowLayer {
  public:
    virtual ~WindowLayer() = default;
    virtual Text read_box(Box box) const = 0;
    virtual void write_box(Box box, const Text& text) = 0;
    virtual bool is_checked(Scheme scheme) const = 0;  // the scheme radio buttons
    virtual void set_visible(bool visible) = 0;
    virtual void set_shown_in_tray(bool shown) = 0;  // 托盘图标1
    virtual HWND handle() const = 0;
};

}  // namespace vantrel
