#include "controls.h"

#include "app_ids.h"

namespace vantrel {

namespace {

struct KindClass {
    const wchar_t* class_name;
    DWORD style;
};

KindClass class_of(ControlKind kind) {
    switch (kind) {
        case ControlKind::label:
            return {L"STATIC", SS_LEFT | SS_NOPREFIX};
        case ControlKind::edit_box:
            return {L"EDIT", WS_BORDER | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL};
        case ControlKind::push_button:
            return {L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON};
        case ControlKind::default_push_button:
            return {L"BUTTON", WS_TABSTOP | BS_DEFPUSHBUTTON};
        case ControlKind::radio_button:
            return {L"BUTTON", WS_TABSTOP | BS_RADIOBUTTON};
        case ControlKind::picture_box:
            return {L"STATIC", SS_OWNERDRAW};
        case ControlKind::group_box:
            return {L"BUTTON", BS_GROUPBOX};
        case ControlKind::hyperlink:
            return {kHyperlinkClass, WS_TABSTOP};
    }
    return {L"STATIC", 0};
}

HINSTANCE instance_of(HWND window) {
    return reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE));
}

}  // namespace

bool Controls::create(HWND window, const WindowLayout& layout) {
    release();
    layout_ = &layout;
    for (const FontSpec& font : kFonts) {
        if (!font.face) {
            fonts_.emplace_back();
            continue;
        }
        LOGFONTW lf{};
        lf.lfHeight = -font.height;
        lf.lfWeight = font.weight;
        lf.lfCharSet = DEFAULT_CHARSET;
        lf.lfQuality = DEFAULT_QUALITY;
        lstrcpynW(lf.lfFaceName, font.face, LF_FACESIZE);
        fonts_.emplace_back(CreateFontIndirectW(&lf));
    }
    for (std::size_t i = 0; i < layout.control_count; ++i) {
        HWND control = create_control(window, layout.controls[i]);
        if (!control) return false;
        handles_.push_back(control);
    }
    return true;
}

HWND Controls::create_control(HWND window, const ControlLayout& control) {
    int left = control.left;
    int top = control.top;
    if (control.parent_id != 0) {
        for (std::size_t i = 0; i < layout_->control_count; ++i) {
            if (layout_->controls[i].id == control.parent_id) {
                left += layout_->controls[i].left;
                top += layout_->controls[i].top;
            }
        }
    }
    const KindClass kind = class_of(control.kind);
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | kind.style | control.style;
    HWND handle = CreateWindowExW(0, kind.class_name, control.caption ? control.caption : L"",
                                  style, left, top, control.width, control.height, window,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.id)),
                                  instance_of(window), const_cast<wchar_t*>(control.target));
    if (!handle) return nullptr;
    SendMessageW(handle, WM_SETFONT, reinterpret_cast<WPARAM>(font(control.font)), FALSE);
    if (control.kind == ControlKind::edit_box) {
        SendMessageW(handle, EM_SETLIMITTEXT, 0, 0);  // the platform's maximum
    }
    if (control.image != 0) {
        auto icon = static_cast<HICON>(
            LoadImageW(instance_of(window), MAKEINTRESOURCEW(control.image), IMAGE_ICON, 0, 0, 0));
        ICONINFO info{};
        int width = 0, height = 0;
        if (icon && GetIconInfo(icon, &info)) {
            BITMAP bitmap{};
            GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
            width = bitmap.bmWidth;
            height = info.hbmColor ? bitmap.bmHeight : bitmap.bmHeight / 2;
            const OwnedBitmap color(info.hbmColor), mask(info.hbmMask);
        }
        pictures_.push_back({control.id, OwnedIcon(icon), width, height});
    }
    return handle;
}

void Controls::release() {
    handles_.clear();
    pictures_.clear();
    fonts_.clear();
    layout_ = nullptr;
}

HFONT Controls::font(FontId id) const {
    auto index = static_cast<std::size_t>(id);
    if (index < fonts_.size() && fonts_[index].get()) return fonts_[index].get();
    return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

HWND Controls::handle(int id) const {
    for (std::size_t i = 0; i < handles_.size(); ++i) {
        if (layout_->controls[i].id == id) return handles_[i];
    }
    return nullptr;
}

const ControlLayout* Controls::layout_of(HWND control) const {
    for (std::size_t i = 0; i < handles_.size(); ++i) {
        if (handles_[i] == control) return &layout_->controls[i];
    }
    return nullptr;
}

LRESULT Controls::paint_colors(HDC dc, HWND control) const {
    const ControlLayout* layout = layout_of(control);
    if (layout && layout->text_color != kDefaultColor) SetTextColor(dc, layout->text_color);
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
}

void Controls::draw_picture(const DRAWITEMSTRUCT& item) const {
    FillRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
    for (const Picture& picture : pictures_) {
        if (picture.id == static_cast<int>(item.CtlID) && picture.icon.get()) {
            DrawIconEx(item.hDC, item.rcItem.left, item.rcItem.top, picture.icon.get(),
                       picture.width, picture.height, 0, nullptr, DI_NORMAL);
        }
    }
}

}  // namespace vantrel

namespace vantrel {

HWND create_window(const WindowLayout& layout, HWND owner, HINSTANCE instance,
                   void* creation_param) {
    const int left = (GetSystemMetrics(SM_CXSCREEN) - layout.width) / 2;
    const int top = (GetSystemMetrics(SM_CYSCREEN) - layout.height) / 2;
    return CreateWindowExW(layout.ex_style, layout.class_name, layout.caption, layout.style, left,
                           top, layout.width, layout.height, owner, nullptr, instance,
                           creation_param);
}

}  // namespace vantrel
