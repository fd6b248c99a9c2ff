#include "hyperlink.h"

#include <shellapi.h>

#include <iterator>
#include <vector>

#include "app_ids.h"
#include "vantrel/win/owned.h"

namespace vantrel {

namespace {

constexpr COLORREF kLinkColor = RGB(0, 0, 204);
constexpr COLORREF kVisitedColor = RGB(102, 0, 153);
constexpr COLORREF kHotColor = RGB(230, 60, 0);

// The control's state, kept in its window extra bytes.
struct LinkState {
    const wchar_t* target = nullptr;
    HFONT font = nullptr;
    bool visited = false;
    bool hot = false;
};

LinkState* state_of(HWND window) {
    return reinterpret_cast<LinkState*>(GetWindowLongPtrW(window, 0));
}

std::wstring registry_default_value(HKEY root, const std::wstring& key) {
    DWORD size = 0;
    if (RegGetValueW(root, key.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, nullptr, &size) !=
            ERROR_SUCCESS ||
        size < sizeof(wchar_t)) {
        return {};
    }
    std::vector<wchar_t> value(size / sizeof(wchar_t) + 1);
    if (RegGetValueW(root, key.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, value.data(), &size) !=
        ERROR_SUCCESS) {
        return {};
    }
    return value.data();
}

bool start_program(std::wstring command_line) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(nullptr, command_line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &started)) {
        return false;
    }
    const OwnedProcess process(started);
    return true;
}

void paint(HWND window, const LinkState& state) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    RECT client;
    GetClientRect(window, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));

    LOGFONTW lf{};
    GetObjectW(state.font ? state.font : GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf);
    lf.lfUnderline = TRUE;
    const OwnedFont underlined(CreateFontIndirectW(&lf));
    HGDIOBJ old_font = SelectObject(dc, underlined.get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, state.hot ? kHotColor : state.visited ? kVisitedColor : kLinkColor);
    wchar_t caption[256];
    GetWindowTextW(window, caption, static_cast<int>(std::size(caption)));
    DrawTextW(dc, caption, -1, &client, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    if (GetFocus() == window) DrawFocusRect(dc, &client);
    SelectObject(dc, old_font);
    EndPaint(window, &ps);
}

void set_hot(HWND window, LinkState& state, bool hot) {
    if (state.hot == hot) return;
    state.hot = hot;
    if (hot) {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, window, 0};
        TrackMouseEvent(&track);
    }
    InvalidateRect(window, nullptr, FALSE);
}

void follow(HWND window, LinkState& state) {
    if (state.target && open_address(state.target)) {
        state.visited = true;
        InvalidateRect(window, nullptr, FALSE);
    }
}

LRESULT CALLBACK hyperlink_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    LinkState* state = state_of(window);
    switch (message) {
        case WM_NCCREATE: {
            auto* create = reinterpret_cast<CREATESTRUCTW*>(lparam);
            auto* fresh = new LinkState;
            fresh->target = static_cast<const wchar_t*>(create->lpCreateParams);
            SetWindowLongPtrW(window, 0, reinterpret_cast<LONG_PTR>(fresh));
            break;
        }
        case WM_NCDESTROY:
            delete state;
            SetWindowLongPtrW(window, 0, 0);
            break;
        case WM_SETFONT:
            if (state) state->font = reinterpret_cast<HFONT>(wparam);
            if (LOWORD(lparam)) InvalidateRect(window, nullptr, TRUE);
            return 0;
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(state ? state->font : nullptr);
        case WM_PAINT:
            if (state) {
                paint(window, *state);
                return 0;
            }
            break;
        case WM_ERASEBKGND:
            return 1;
        case WM_SETCURSOR:
            SetCursor(LoadCursorW(nullptr, IDC_HAND));
            return TRUE;
        case WM_MOUSEMOVE:
            if (state) set_hot(window, *state, true);
            return 0;
        case WM_MOUSELEAVE:
            if (state) set_hot(window, *state, false);
            return 0;
        case WM_LBUTTONDOWN:
            if (state) follow(window, *state);
            return 0;
        case WM_KEYDOWN:
            if (state && (wparam == VK_SPACE)) follow(window, *state);
            return 0;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            InvalidateRect(window, nullptr, FALSE);
            return 0;
        case WM_GETDLGCODE:
            return DLGC_BUTTON;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace

bool register_hyperlink_class(HINSTANCE instance) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = hyperlink_proc;
    wc.cbWndExtra = sizeof(LONG_PTR);
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_HAND);
    wc.lpszClassName = kHyperlinkClass;
    return RegisterClassExW(&wc) != 0;
}

std::wstring htm_command_line(const std::wstring& open_command, const std::wstring& address) {
    if (open_command.empty()) return {};
    std::wstring program = open_command.substr(0, open_command.find(L"%1"));
    // A quoted placeholder ("%1") leaves its opening quote behind; the address follows the
    // space as an argument of its own.
    if (!program.empty() && program.back() == L'"') program.pop_back();
    while (!program.empty() && program.back() == L' ')
        program.pop_back();
    return program + L" " + address;
}

bool open_address(const std::wstring& address) {
    auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(nullptr, L"open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    if (result > 32) return true;

    std::wstring page_class = registry_default_value(HKEY_CLASSES_ROOT, L".htm");
    if (page_class.empty()) return false;
    std::wstring command =
        registry_default_value(HKEY_CLASSES_ROOT, page_class + L"\\shell\\open\\command");
    std::wstring command_line = htm_command_line(command, address);
    return !command_line.empty() && start_program(command_line);
}

}  // namespace vantrel
