// vantrel.exe with the stand-in libraries beside it: 定时按钮, the menu item 定时任务 and Enter
// in an edit box each call 闹钟dll once; 下载按钮 hands the address of 编辑框2 to
// DoFileDownload, hides the window and empties both boxes; without nz.dll the first alarm
// ends the program with the fatal error report.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app_ids.h"
#include "test_support.h"

namespace {

using test_support::wait_until;

// vantrel.exe started from a directory of its own, with the libraries that a case wants.
class Vantrel {
  public:
    explicit Vantrel(const std::vector<std::wstring>& libraries) {
        ok_ = directory_.copy_in(L"vantrel.exe", L"vantrel.exe");
        // The hand-off component, when the build has it: the program registers it at start.
        directory_.copy_in(L"tavik.dll", L"tavik.dll");
        for (const std::wstring& library : libraries) {
            ok_ = ok_ && directory_.copy_in(library, library);
        }
        if (!ok_) return;
        process_ = std::make_unique<test_support::ChildProcess>(
            L"\"" + directory_.file(L"vantrel.exe") + L"\"", directory_.path());
        ok_ = process_->started() && wait_until([this] {
                  window_ = find_main_window();
                  return window_ != nullptr || !process_->running();
              });
        ok_ = ok_ && window_ != nullptr;
    }

    ~Vantrel() {
        if (process_ && process_->running() && window_) {
            PostMessageW(control(vantrel::id_cancel_button), BM_CLICK, 0, 0);  // 退出
            DWORD exit_code = 0;
            process_->wait_for_exit(10000, exit_code);
        }
    }

    bool ok() const { return ok_; }
    HWND window() const { return window_; }
    const test_support::ChildProcess& process() const { return *process_; }
    HWND control(int id) const { return GetDlgItem(window_, id); }

    // Posted, so that a click that ends the program does not hold up the test.
    void click(int id) const { PostMessageW(control(id), BM_CLICK, 0, 0); }
    void choose_menu_item(int id) const { PostMessageW(window_, WM_COMMAND, MAKEWPARAM(id, 0), 0); }
    // A click into the edit box gives it the focus; then Enter, through the message loop.
    bool press_enter_in(int id) const {
        HWND box = control(id);
        PostMessageW(box, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
        PostMessageW(box, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
        const DWORD thread = GetWindowThreadProcessId(window_, nullptr);
        if (!wait_until([&] {
                GUITHREADINFO info{};
                info.cbSize = sizeof info;
                return GetGUIThreadInfo(thread, &info) && info.hwndFocus == box;
            })) {
            return false;
        }
        PostMessageW(box, WM_KEYDOWN, VK_RETURN, 0x001C0001);
        PostMessageW(box, WM_KEYUP, VK_RETURN, 0xC01C0001);
        return true;
    }

    std::wstring text_of(int id) const {
        HWND box = control(id);
        std::wstring text(static_cast<std::size_t>(SendMessageW(box, WM_GETTEXTLENGTH, 0, 0)) + 1,
                          L'\0');
        text.resize(static_cast<std::size_t>(
            SendMessageW(box, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
        return text;
    }
    void set_text_of(int id, const std::wstring& text) const {
        SendMessageW(control(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }

  private:
    HWND find_main_window() const {
        for (HWND window = FindWindowW(vantrel::kMainWindowClass, nullptr); window;
             window = FindWindowExW(nullptr, window, vantrel::kMainWindowClass, nullptr)) {
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == process_->id() && IsWindowVisible(window)) return window;
        }
        return nullptr;
    }

    test_support::TempDirectory directory_;
    std::unique_ptr<test_support::ChildProcess> process_;
    HWND window_ = nullptr;
    bool ok_ = false;
};

const std::vector<std::wstring> kStandIns = {L"nz.dll", L"shdocvw.dll"};

TEST(Vantrel, TheTimerButtonTheMenuItemAndEnterInAnEditBoxEachCallTheAlarmOnce) {
    test_support::StandInLog log;
    Vantrel vantrel(kStandIns);
    ASSERT_TRUE(vantrel.ok());
    std::size_t calls = 0;
    auto expect_one_more_call = [&](const char* how) {
        SCOPED_TRACE(how);
        ++calls;
        EXPECT_TRUE(wait_until([&] { return log.records().size() >= calls; }));
        EXPECT_EQ(log.records(), std::vector<std::wstring>(calls, L"闹钟dll"));
    };

    vantrel.click(vantrel::id_alarm_button);
    expect_one_more_call("定时按钮");
    vantrel.choose_menu_item(vantrel::id_menu_alarm);
    expect_one_more_call("定时任务");
    ASSERT_TRUE(vantrel.press_enter_in(vantrel::id_edit1));
    expect_one_more_call("Enter in 编辑框1");
    ASSERT_TRUE(vantrel.press_enter_in(vantrel::id_edit2));
    expect_one_more_call("Enter in 编辑框2");
    EXPECT_TRUE(IsWindowVisible(vantrel.window())) << "the alarm leaves the window alone";
}

TEST(Vantrel, TheDownloadButtonHandsTheAddressToTheDialogAndHidesTheWindowWithEmptyBoxes) {
    test_support::StandInLog log;
    Vantrel vantrel(kStandIns);
    ASSERT_TRUE(vantrel.ok());
    const std::wstring address = L"http://下载.cn/文件/a.zip";
    vantrel.set_text_of(vantrel::id_edit1, L"thunder://QUFodHRwOi8vaG9zdC9hLnppcFpa");
    vantrel.set_text_of(vantrel::id_edit2, address);

    vantrel.click(vantrel::id_download_button);
    // The boxes are emptied last.
    EXPECT_TRUE(wait_until([&] { return vantrel.text_of(vantrel::id_edit2).empty(); }));
    EXPECT_FALSE(IsWindowVisible(vantrel.window()));
    EXPECT_EQ(vantrel.text_of(vantrel::id_edit1), L"");
    EXPECT_EQ(log.records(), std::vector<std::wstring>{address});
    EXPECT_TRUE(vantrel.process().running());
}

TEST(Vantrel, WithoutTheAlarmLibraryTheFirstAlarmEndsTheProgramWithTheFatalErrorReport) {
    test_support::StandInLog log;
    Vantrel vantrel({L"shdocvw.dll"});
    ASSERT_TRUE(vantrel.ok());
    vantrel.click(vantrel::id_alarm_button);

    HWND report = nullptr;
    ASSERT_TRUE(wait_until([&] {
        report = test_support::find_top_window(vantrel.process().id(), L"#32770");
        return report != nullptr || !vantrel.process().running();
    }));
    ASSERT_NE(report, nullptr) << "the program ended without a report";
    EXPECT_EQ(GetWindow(report, GW_OWNER), nullptr);
    const std::wstring text = test_support::child_texts(report);
    EXPECT_NE(text.find(L"nz.dll"), std::wstring::npos);
    EXPECT_NE(text.find(L"闹钟dll"), std::wstring::npos);
    PostMessageW(GetDlgItem(report, IDOK), BM_CLICK, 0, 0);
    DWORD exit_code = 0;
    ASSERT_TRUE(vantrel.process().wait_for_exit(20000, exit_code));
    EXPECT_EQ(exit_code, static_cast<DWORD>(-1));
}

}  // namespace
