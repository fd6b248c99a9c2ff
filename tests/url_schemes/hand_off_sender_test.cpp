// The sending side of vantrel.exe LINK and --exit, against a stand-in main window in the test
// process that the hand-off record names: what exactly is sent, and what the exit codes say
// when the running window refuses the link or does not end.
#include <gtest/gtest.h>

#include "app_ids.h"
#include "running_program.h"
#include "url_scheme_support.h"
#include "vantrel/contract.h"

namespace url_scheme_test {
namespace {

// A window of the main window's class, named by the hand-off record, that keeps what it is
// sent by WM_COPYDATA, answers with `answer`, and does not end on 退出软件.
class StandInMainWindow {
  public:
    StandInMainWindow() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = window_proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = vantrel::kMainWindowClass;
        RegisterClassW(&wc);
        window_ = CreateWindowW(vantrel::kMainWindowClass, L"", WS_OVERLAPPED, 0, 0, 10, 10,
                                nullptr, nullptr, wc.hInstance, nullptr);
        SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        registration_test::write_value(
            registration_test::kKeyPath, "MainWindowHandle",
            registration_test::text_value(registration_test::window_number(window_)));
    }
    ~StandInMainWindow() {
        registration_test::delete_key_tree(registration_test::kKeyPath);
        DestroyWindow(window_);
        UnregisterClassW(vantrel::kMainWindowClass, GetModuleHandleW(nullptr));
    }
    StandInMainWindow(const StandInMainWindow&) = delete;
    StandInMainWindow& operator=(const StandInMainWindow&) = delete;

    HWND window() const { return window_; }
    BOOL answer = TRUE;
    std::vector<ULONG_PTR> tags;
    std::vector<std::string> payloads;
    int exit_commands = 0;

  private:
    static LRESULT CALLBACK window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
        auto* self = reinterpret_cast<StandInMainWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (self && message == WM_COPYDATA) {
            const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lparam);
            self->tags.push_back(data->dwData);
            self->payloads.emplace_back(static_cast<const char*>(data->lpData), data->cbData);
            return self->answer;
        }
        if (self && message == WM_COMMAND && LOWORD(wparam) == vantrel::id_menu_exit) {
            ++self->exit_commands;
            return 0;
        }
        return DefWindowProcW(window, message, wparam, lparam);
    }

    HWND window_ = nullptr;
};

class HandOffSender : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_EQ(0, vantrel_processes()); }

    // Runs vantrel.exe with one argument while the test thread serves the stand-in.
    std::optional<DWORD> run_with(const std::wstring& argument, DWORD timeout_ms = 15000) {
        const Process started = Process::start(command(program_, {argument}));
        if (!started) return std::nullopt;
        return started.wait_for_exit(timeout_ms);
    }

    std::wstring program_ = registration_test::test_file(L"vantrel.exe");
};

TEST_F(HandOffSender, SendsTheLinkAsItsBytesWithTheTagAndNoTerminatingZero) {
    StandInMainWindow running;
    const std::string link = std::string(kThunder.link) + "/";
    EXPECT_EQ(0u, run_with(wide(link)));
    ASSERT_EQ(1u, running.payloads.size());
    EXPECT_EQ(vantrel::kCopyDataLinkTag, running.tags[0]);
    EXPECT_EQ(link, running.payloads[0]);
    EXPECT_EQ(0, vantrel_processes()) << "a second Vantrel was started";
}

TEST_F(HandOffSender, ALinkTheRunningWindowRefusesEndsWithExitCode1) {
    StandInMainWindow running;
    running.answer = FALSE;
    EXPECT_EQ(1u, run_with(L"qqdl://aHR0cDovL2EvYi56aXA="));
    EXPECT_EQ(1u, running.payloads.size());
}

TEST_F(HandOffSender, ExitWaitsFiveSecondsForAProgramThatDoesNotEndThenExitsWith1) {
    StandInMainWindow running;
    const DWORD start = GetTickCount();
    EXPECT_EQ(vantrel::kExitStillRunning, run_with(L"--exit"));
    const DWORD waited = GetTickCount() - start;
    EXPECT_GE(waited, vantrel::kExitWaitTime);
    EXPECT_LT(waited, vantrel::kExitWaitTime + 5000);
    EXPECT_EQ(1, running.exit_commands);
}

}  // namespace
}  // namespace url_scheme_test
