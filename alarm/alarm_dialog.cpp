// nz.dll, the alarm component. Its one entry point, 闹钟dll, asks for a time of day and a
// note in a small modal window; on OK the note pops up at that time while the calling
// program runs. Everything happens on the calling thread.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <cstring>
#include <string>
#include <vector>

#include "reminder.h"

namespace nz {

namespace {

constexpr int kTimeControl = 100;
constexpr int kNoteControl = 101;

struct ControlLayout {
    const wchar_t* window_class;
    const wchar_t* text;
    int id;
    DWORD style;
    DWORD ex_style;
    RECT area;  // in dialog units
};

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;

// In creation order, which is also the tab order.
const ControlLayout kControls[] = {
    {L"STATIC", L"提醒时间：", -1, kChild | SS_LEFT, 0, {7, 10, 57, 20}},
    {DATETIMEPICK_CLASSW,
     L"",
     kTimeControl,
     kChild | WS_TABSTOP | DTS_TIMEFORMAT | DTS_UPDOWN,
     0,
     {60, 7, 130, 21}},
    {L"STATIC", L"提醒内容：", -1, kChild | SS_LEFT, 0, {7, 30, 57, 40}},
    {L"EDIT",
     L"",
     kNoteControl,
     kChild | WS_TABSTOP | ES_AUTOHSCROLL,
     WS_EX_CLIENTEDGE,
     {60, 27, 173, 41}},
    {L"BUTTON", L"确定", IDOK, kChild | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, {69, 52, 119, 66}},
    {L"BUTTON", L"取消", IDCANCEL, kChild | WS_TABSTOP | BS_PUSHBUTTON, 0, {123, 52, 173, 66}},
};
constexpr short kDialogWidth = 180;
constexpr short kDialogHeight = 73;

void append(std::vector<WORD>& words, const wchar_t* text) {
    do
        words.push_back(static_cast<WORD>(*text));
    while (*text++);
}

// An empty dialog with a caption and the shell's dialog font; the controls are created
// when it starts.
std::vector<WORD> dialog_template() {
    DLGTEMPLATE header{};
    header.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER | DS_SHELLFONT;
    header.cx = kDialogWidth;
    header.cy = kDialogHeight;
    std::vector<WORD> words(sizeof header / sizeof(WORD));
    std::memcpy(words.data(), &header, sizeof header);
    words.push_back(0);  // no menu
    words.push_back(0);  // the standard dialog class
    append(words, L"定时提醒");
    words.push_back(9);  // point size
    append(words, L"MS Shell Dlg");
    return words;
}

void create_controls(HWND dialog) {
    const auto font = static_cast<WPARAM>(SendMessageW(dialog, WM_GETFONT, 0, 0));
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(dialog, GWLP_HINSTANCE));
    for (const ControlLayout& layout : kControls) {
        RECT area = layout.area;
        MapDialogRect(dialog, &area);
        HWND control = CreateWindowExW(
            layout.ex_style, layout.window_class, layout.text, layout.style, area.left, area.top,
            area.right - area.left, area.bottom - area.top, dialog,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(layout.id)), instance, nullptr);
        SendMessageW(control, WM_SETFONT, font, FALSE);
    }
}

// The picker starts one minute ahead of the clock.
void start_time_control(HWND time_control) {
    SendMessageW(time_control, DTM_SETFORMATW, 0, reinterpret_cast<LPARAM>(L"HH':'mm':'ss"));
    const LocalTime start = local_now() + 60ULL * 10'000'000;
    const FILETIME start_file{static_cast<DWORD>(start), static_cast<DWORD>(start >> 32)};
    SYSTEMTIME start_time{};
    FileTimeToSystemTime(&start_file, &start_time);
    SendMessageW(time_control, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&start_time));
}

std::wstring control_text(HWND dialog, int id) {
    HWND control = GetDlgItem(dialog, id);
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    return text;
}

bool set_reminder(HWND dialog) {
    SYSTEMTIME time_of_day{};
    if (SendDlgItemMessageW(dialog, kTimeControl, DTM_GETSYSTEMTIME, 0,
                            reinterpret_cast<LPARAM>(&time_of_day)) != GDT_VALID) {
        return false;
    }
    return schedule_reminder(next_occurrence(time_of_day, local_now()),
                             control_text(dialog, kNoteControl));
}

INT_PTR CALLBACK alarm_dialog_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            create_controls(dialog);
            start_time_control(GetDlgItem(dialog, kTimeControl));
            SetFocus(GetDlgItem(dialog, kTimeControl));
            return FALSE;  // the focus is set
        case WM_COMMAND:
            switch (LOWORD(wparam)) {
                case IDOK:
                    if (!set_reminder(dialog)) {
                        MessageBoxW(dialog, L"无法设置提醒。", L"定时提醒", MB_OK | MB_ICONERROR);
                        return TRUE;
                    }
                    EndDialog(dialog, IDOK);
                    return TRUE;
                case IDCANCEL:
                    EndDialog(dialog, IDCANCEL);
                    return TRUE;
            }
            break;
    }
    return FALSE;
}

}  // namespace

}  // namespace nz

extern "C" IMAGE_DOS_HEADER __ImageBase;

// Exported as 闹钟dll (see the .def files). Returns 1 when a reminder was set, 0 when the
// user cancelled; callers may ignore it.
extern "C" int WINAPI nz_alarm() {
    const INITCOMMONCONTROLSEX classes{sizeof classes, ICC_DATE_CLASSES};
    InitCommonControlsEx(&classes);
    const std::vector<WORD> layout = nz::dialog_template();
    const INT_PTR result =
        DialogBoxIndirectParamW(reinterpret_cast<HINSTANCE>(&__ImageBase),
                                reinterpret_cast<const DLGTEMPLATE*>(layout.data()),
                                GetActiveWindow(), nz::alarm_dialog_proc, 0);
    return result == IDOK ? 1 : 0;
}
