// vantrel.exe with the stand-in libraries beside it: 定时按钮, the menu item 定时任务 and Enter
// in an edit box each call 闹钟dll once; 下载按钮 hands the address of 编辑框2 to
// DoFileDownload, hides the window and empties both boxes; without nz.dll the first alarm
// ends the program with the fatal error report.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app_ids.h"
#include "support/files.h"
#include "support/process.h"
#include "support/stand_in_log.h"
#include "support/wait.h"
#include "support/window_search.h"

namespace {

using vantrel::testing::wait_until;

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
        process_ = vantrel::testing::Process::start(L"\"" + directory_.file(L"vantrel.exe") + L"\"",
                                                    {}, directory_.path());
        ok_ = process_ && wait_until([this] {
                  window_ = find_main_window();
                  return window_ != nullptr || !process_.running();
              });
        ok_ = ok_ && window_ != nullptr;
    }

    ~Vantrel() {
        if (process_.running() && window_) {
            PostMessageW(control(vantrel::id_exit_button), BM_CLICK, 0, 0);  // 退出
            process_.wait_for_exit(10000);
        }
    }

    bool ok() const { return ok_; }
    HWND window() const { return window_; }
    const vantrel::testing::Process& process() const { return process_; }
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
        return vantrel::testing::find_top_window(process_.id(), vantrel::kMainWindowClass);
    }

    vantrel::testing::TempDirectory directory_;
    vantrel::testing::Process process_;
    HWND window_ = nullptr;
    bool ok_ = false;
};

const std::vector<std::wstring> kStandIns = {L"nz.dll", L"shdocvw.dll"};

TEST(Vantrel, TheTimerButtonTheMenuItemAndEnterInAnEditBoxEachCallTheAlarmOnce) {
    vantrel::testing::StandInLog log;
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
    ASSERT_TRUE(vantrel.press_enter_in(vantrel::id_encoded_box));
    expect_one_more_call("Enter in 编辑框1");
    ASSERT_TRUE(vantrel.press_enter_in(vantrel::id_plain_box));
    expect_one_more_call("Enter in 编辑框2");
    EXPECT_TRUE(IsWindowVisible(vantrel.window())) << "the alarm leaves the window alone";
}

TEST(Vantrel, TheDownloadButtonHandsTheAddressToTheDialogAndHidesTheWindowWithEmptyBoxes) {
    vantrel::testing::StandInLog log;
    Vantrel vantrel(kStandIns);
    ASSERT_TRUE(vantrel.ok());
    const std::wstring address = L"http://下载.cn/文件/a.zip";
    vantrel.set_text_of(vantrel::id_encoded_box, L"thunder://QUFodHRwOi8vaG9zdC9hLnppcFpa");
    vantrel.set_text_of(vantrel::id_plain_box, address);

    vantrel.click(vantrel::id_download_button);
    // The boxes are emptied last.
    EXPECT_TRUE(wait_until([&] { return vantrel.text_of(vantrel::id_plain_box).empty(); }));
    EXPECT_FALSE(IsWindowVisible(vantrel.window()));
    EXPECT_EQ(vantrel.text_of(vantrel::id_encoded_box), L"");
    EXPECT_EQ(log.records(), std::vector<std::wstring>{address});
    EXPECT_TRUE(vantrel.process().running());
}

TEST(Vantrel, WithoutTheAlarmLibraryTheFirstAlarmEndsTheProgramWithTheFatalErrorReport) {
    vantrel::testing::StandInLog log;
    Vantrel vantrel({L"shdocvw.dll"});
    ASSERT_TRUE(vantrel.ok());
    vantrel.click(vantrel::id_alarm_button);

    HWND report = nullptr;
    ASSERT_TRUE(wait_until([&] {
        report = vantrel::testing::find_top_window(vantrel.process().id(), L"#32770");
        return report != nullptr || !vantrel.process().running();
    }));
    ASSERT_NE(report, nullptr) << "the program ended without a report";
    EXPECT_EQ(GetWindow(report, GW_OWNER), nullptr);
    const std::wstring text = vantrel::testing::child_texts(report);
    EXPECT_NE(text.find(L"nz.dll"), std::wstring::npos);
    EXPECT_NE(text.find(L"闹钟dll"), std::wstring::npos);
    PostMessageW(GetDlgItem(report, IDOK), BM_CLICK, 0, 0);
    const std::optional<DWORD> exit_code = vantrel.process().wait_for_exit(20000);
    ASSERT_TRUE(exit_code);
    EXPECT_EQ(*exit_code, static_cast<DWORD>(-1));
}

}  // namespace
