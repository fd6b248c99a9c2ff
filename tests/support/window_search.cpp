#include "support/window_search.h"

namespace vantrel::testing {

namespace {

struct Search {
    const wchar_t* class_name;
    DWORD process_id;
    std::vector<HWND> found;
};

BOOL CALLBACK collect(HWND window, LPARAM lparam) {
    auto& search = *reinterpret_cast<Search*>(lparam);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    if ((search.process_id == 0 || owner == search.process_id) &&
        lstrcmpiW(name, search.class_name) == 0) {
        search.found.push_back(window);
    }
    return TRUE;
}

BOOL CALLBACK collect_text(HWND child, LPARAM lparam) {
    *reinterpret_cast<std::wstring*>(lparam) += window_text(child) + L"\n";
    return TRUE;
}

}  // namespace

std::vector<HWND> top_windows(const wchar_t* class_name, DWORD process_id) {
    Search search{class_name, process_id, {}};
    EnumWindows(collect, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND find_top_window(DWORD process_id, const wchar_t* class_name) {
    for (HWND window : top_windows(class_name, process_id)) {
        if (IsWindowVisible(window)) return window;
    }
    return nullptr;
}

HWND find_message_box(DWORD process_id) {
    return find_top_window(process_id, L"#32770");
}

std::wstring message_box_caption(HWND box) {
    wchar_t caption[256] = {};
    SendMessageW(box, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(caption));
    return caption;
}

std::wstring message_box_text(HWND box) {
    wchar_t text[1024] = {};
    SendMessageW(GetDlgItem(box, 0xFFFF), WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text));
    return text;
}

void close_message_box(HWND box) {
    PostMessageW(box, WM_COMMAND, IDOK, 0);
}

std::wstring window_text(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

std::wstring child_texts(HWND window) {
    std::wstring texts;
    EnumChildWindows(window, collect_text, reinterpret_cast<LPARAM>(&texts));
    return texts;
}

HWND find_button(HWND parent, const wchar_t* caption) {
    return FindWindowExW(parent, nullptr, L"Button", caption);
}

std::string window_number(HWND window) {
    return std::to_string(static_cast<long>(HandleToLong(window)));
}

std::string box_text(HWND box) {
    const auto length = SendMessageA(box, WM_GETTEXTLENGTH, 0, 0);
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    const auto copied =
        SendMessageA(box, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(copied));
    return text;
}

void set_box_text(HWND box, const std::string& text) {
    SendMessageA(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

}  // namespace vantrel::testing
