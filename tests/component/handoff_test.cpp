// AddUrl hands the link to the main window named in the hand-off record: the window is
// restored, the link put on the clipboard and MSG_LINK_HANDOFF sent; without a main window the
// program named in the record is started and then handed the link.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "add_url_fixture.h"

namespace tavik_test {
namespace {

constexpr wchar_t kLink[] = L"thunder://QUFodHRwOi8vZXhhbXBsZS5jb20vZmlsZS56aXBaWg==";
constexpr char kLinkText[] = "thunder://QUFodHRwOi8vZXhhbXBsZS5jb20vZmlsZS56aXBaWg==";

class HandOff : public AddUrlTest {
  protected:
    HRESULT add_url(const std::optional<std::wstring>& url, const wchar_t* info = L"",
                    const wchar_t* xinfo = L"") {
        const OwnedBstr url_text = url ? make_bstr(*url) : OwnedBstr();
        const OwnedBstr info_text = info ? make_bstr(info) : OwnedBstr();
        const OwnedBstr xinfo_text = xinfo ? make_bstr(xinfo) : OwnedBstr();
        return object_->AddUrl(url_text.get(), info_text.get(), xinfo_text.get());
    }

    // The stand-in that the component started, to be ended with the test.
    Process started_standin() {
        HWND window = nullptr;
        wait_until([&] { return (window = find_main_window()) != nullptr; }, 1000);
        return Process::of_window(window);
    }
};

TEST_F(HandOff, RunningMainWindowIsRestoredThenGetsTheLinkOnTheClipboard) {
    StandIn standin = start_standin();
    ASSERT_TRUE(standin.window);
    ShowWindow(standin.window, SW_MINIMIZE);
    ASSERT_TRUE(wait_until([&] { return IsIconic(standin.window) != FALSE; }));

    EXPECT_HR(S_OK, add_url(kLink, L"info is not used", nullptr));

    // The clipboard still held the old text at the restore and held the link at the message.
    EXPECT_EQ((Lines{restore_line(kMarker), handoff_line(kLinkText)}), log_.records());
    EXPECT_EQ(kLinkText, clipboard_text());
    EXPECT_FALSE(IsIconic(standin.window));
}

TEST_F(HandOff, MainWindowIsBroughtToTheFront) {
    StandIn standin = start_standin();
    ASSERT_TRUE(standin.window);
    StandInLog other_log;
    StandIn other = start_standin(true);
    ASSERT_TRUE(other.window);
    // The window's own thread completes a change of the foreground window.
    SetForegroundWindow(other.window);
    ASSERT_TRUE(wait_until([&] { return GetForegroundWindow() == other.window; }, 5000));

    EXPECT_HR(S_OK, add_url(kLink));
    EXPECT_TRUE(wait_until([&] { return GetForegroundWindow() == standin.window; }, 5000))
        << "the foreground window is " << GetForegroundWindow();
}

TEST_F(HandOff, UrlArrivesAsAnsiTextUpToItsFirstZeroCharacter) {
    struct Case {
        const char* name;
        std::optional<std::wstring> url;
        std::string text;
    };
    const Case cases[] = {
        {"null", std::nullopt, ""},
        {"empty", L"", ""},
        {"Chinese in code page 936", L"thunder://下载地址转换",
         "thunder://\xCF\xC2\xD4\xD8\xB5\xD8\xD6\xB7\xD7\xAA\xBB\xBB"},
        {"outside code page 936", L"http://a/\u0E01\uAC00.zip", "http://a/??.zip"},
        {"zero character inside", std::wstring(L"http://a/1\0http://b/2", 21), "http://a/1"},
    };
    StandIn standin = start_standin();
    ASSERT_TRUE(standin.window);
    Lines expected;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        set_clipboard_text(kMarker);
        EXPECT_HR(S_OK, add_url(c.url, nullptr, L"xinfo is not used"));
        expected.push_back(restore_line(kMarker));
        expected.push_back(handoff_line(c.text));
        EXPECT_EQ(expected, log_.records());
        EXPECT_EQ(c.text, clipboard_text());
    }
}

TEST_F(HandOff, WithoutTheMenuKeyNothingHappens) {
    EXPECT_HR(S_OK, add_url(kLink));
    EXPECT_EQ(kMarker, clipboard_text());
    EXPECT_EQ(nullptr, find_main_window());
}

// The record's window number is read as the number that its text begins with, from at most
// 32 bytes. FilePath is gone, so a text that names no window leads nowhere.
TEST_F(HandOff, WindowHandleTextIsReadAsItsLeadingNumber) {
    StandIn standin = start_standin();
    ASSERT_TRUE(standin.window);
    delete_record_value(vantrel::kFilePathValue);
    const std::string number = window_number(standin.window);
    const auto padded = [&](std::size_t length) {
        return number + std::string(length - number.size(), 'z');
    };
    struct Case {
        std::string text;
        bool reaches_window;
    };
    const Case cases[] = {
        {number, true},        {"  " + number + "abc", true},
        {"+" + number, true},  {padded(31), true},  // 32 bytes with the zero byte
        {"x" + number, false}, {"", false},
        {padded(32), false},  // 33 bytes: counts as missing
    };
    Lines expected;
    for (const Case& c : cases) {
        SCOPED_TRACE("MainWindowHandle \"" + c.text + "\"");
        write_record_text(vantrel::kMainWindowHandleValue, c.text);
        set_clipboard_text(kMarker);
        EXPECT_HR(S_OK, add_url(kLink));
        if (c.reaches_window) {
            expected.push_back(restore_line(kMarker));
            expected.push_back(handoff_line(kLinkText));
        }
        EXPECT_EQ(expected, log_.records());
        EXPECT_EQ(c.reaches_window ? kLinkText : kMarker, clipboard_text());
    }
}

// With no main window to answer, the program named by FilePath is started, and once it is up
// it gets the link like a running one.
TEST_F(HandOff, WithoutMainWindowTheProgramIsStartedAndThenNotified) {
    struct Case {
        const char* name;
        std::optional<std::string> window_handle;
    };
    HWND gone =
        CreateWindowA("STATIC", "gone", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    const std::string gone_number = window_number(gone);
    DestroyWindow(gone);
    const Case cases[] = {
        {"no MainWindowHandle", std::nullopt},
        {"window 0", "0"},
        {"window that is gone", gone_number},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        StandInLog log;
        delete_menu_ext_key();
        write_record_text(vantrel::kFilePathValue, ansi(standin_path()));
        if (c.window_handle) write_record_text(vantrel::kMainWindowHandleValue, *c.window_handle);
        set_clipboard_text(kMarker);

        EXPECT_HR(S_OK, add_url(kLink));
        Process started = started_standin();
        EXPECT_TRUE(started);
        EXPECT_EQ((Lines{restore_line(kMarker), handoff_line(kLinkText)}), log.records());
        EXPECT_EQ(kLinkText, clipboard_text());
        started.end();
        ASSERT_TRUE(wait_until([] { return find_main_window() == nullptr; }));
    }
}

// A record that outlived its program may name another program's window by now: that window is
// not sent anything, and the main program is started instead.
TEST_F(HandOff, ForeignWindowIsNotSentAnything) {
    StandInLog foreign_log;
    StandIn foreign = start_standin(true);
    ASSERT_TRUE(foreign.window);
    log_.activate();
    write_record_text(vantrel::kFilePathValue, ansi(standin_path()));
    write_record_text(vantrel::kMainWindowHandleValue, window_number(foreign.window));

    EXPECT_HR(S_OK, add_url(kLink));
    Process started = started_standin();
    EXPECT_TRUE(started);
    EXPECT_EQ(Lines{}, foreign_log.records());
    EXPECT_EQ((Lines{restore_line(kMarker), handoff_line(kLinkText)}), log_.records());
}

TEST_F(HandOff, WithoutUsableFilePathNothingStarts) {
    struct Case {
        const char* name;
        std::optional<std::string> file_path;
    };
    const Case cases[] = {
        {"no FilePath", std::nullopt},
        {"FilePath names nothing", ansi(test_file(L"no_such_program.exe"))},
        {"FilePath of 1024 bytes", ansi(standin_path()) + std::string(1024, ' ')},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        delete_menu_ext_key();
        write_record_text(vantrel::kMainWindowHandleValue, "0");
        if (c.file_path) write_record_text(vantrel::kFilePathValue, *c.file_path);
        EXPECT_HR(S_OK, add_url(kLink));
        EXPECT_EQ(kMarker, clipboard_text());
        EXPECT_EQ(nullptr, find_main_window());
    }
}

}  // namespace
}  // namespace tavik_test
