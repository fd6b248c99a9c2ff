// The controls of one window, made by walking its layout table, with the fonts and pictures
// that they use. Everything is released when the window is destroyed (or with this object).
#pragma once

#include <windows.h>

#include <vector>

#include "vantrel/win/owned.h"
#include "window_layout.h"

namespace vantrel {

class Controls {
  public:
    // Creates every control of layout in table order inside window. False when one of them
    // cannot be created.
    bool create(HWND window, const WindowLayout& layout);
    void release();

    HWND handle(int id) const;
    const ControlLayout* layout_of(HWND control) const;
    const WindowLayout* window_spec() const { return layout_; }

    // The answer to WM_CTLCOLORSTATIC for a label, radio button or group box.
    LRESULT paint_colors(HDC dc, HWND control) const;
    // Draws a picture box (WM_DRAWITEM).
    void draw_picture(const DRAWITEMSTRUCT& item) const;

  private:
    HFONT font(FontId id) const;
    HWND create_control(HWND window, const ControlLayout& control);

    struct Picture {
        int id;
        OwnedIcon icon;
        int width, height;
    };

    const WindowLayout* layout_ = nullptr;
    std::vector<HWND> handles_;     // in table order
    std::vector<OwnedFont> fonts_;  // indexed by FontId
    std::vector<Picture> pictures_;
};

}  // namespace vantrel

namespace vantrel {

// Creates the top-level window of layout, centred on the screen, with owner (or none), served
// by the object that creation_param binds (WindowBase::creation_param).
HWND create_window(const WindowLayout& layout, HWND owner, HINSTANCE instance,
                   void* creation_param);

}  // namespace vantrel
