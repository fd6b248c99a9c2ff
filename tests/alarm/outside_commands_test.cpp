// The download hand-off and the alarm command against a fake window layer and the
// stand-in libraries in the test program's directory.
#include "outside_commands.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/stand_in_log.h"

namespace {

using vantrel::Box;
using vantrel::LibraryFunctions;
using vantrel::Text;

// Remembers every call into the window layer, in order.
class FakeWindow : public vantrel::WindowLayer {
  public:
    explicit FakeWindow(const vantrel::testing::StandInLog& log) : log_(log) {}

    Text encoded;
    Text plain;
    std::vector<std::string> calls;
    std::size_t downloads_when_hidden = 0;

    Text read_box(Box box) const override { return box == Box::encoded ? encoded : plain; }
    void write_box(Box box, const Text& text) override {
        calls.push_back((box == Box::encoded ? "write encoded '" : "write plain '") + text + "'");
        (box == Box::encoded ? encoded : plain) = text;
    }
    bool is_checked(vantrel::Scheme) const override { return false; }
    void set_visible(bool visible) override {
        calls.push_back(visible ? "show" : "hide");
        downloads_when_hidden = log_.records().size();
    }
    void set_shown_in_tray(bool shown) override { calls.push_back(shown ? "tray on" : "tray off"); }
    HWND handle() const override { return nullptr; }

  private:
    const vantrel::testing::StandInLog& log_;
};

struct AddressCase {
    const char* name;
    Text box;              // 编辑框2, in code page 936
    std::wstring address;  // what DoFileDownload must receive
};

const std::string kLong(1000, 'a');
const std::string kChineseRun = [] {
    std::string run;
    for (int i = 0; i < 300; ++i)
        run += "\xCE\xC4";  // 文
    return run;
}();

const AddressCase kAddresses[] = {
    {"ascii", "http://host/a.zip", L"http://host/a.zip"},
    {"chinese", "http://\xCF\xC2\xD4\xD8.cn/\xCE\xC4\xBC\xFE.zip", L"http://下载.cn/文件.zip"},
    {"511 code units", "http://host/" + std::string(499, 'b'),
     L"http://host/" + std::wstring(499, L'b')},
    {"512 code units", "http://host/" + std::string(500, 'c'),
     L"http://host/" + std::wstring(500, L'c')},
    {"longer than 511", "http://host/" + kLong, L"http://host/" + std::wstring(1000, L'a')},
    {"long chinese", "http://host/" + kChineseRun + ".zip",
     L"http://host/" + std::wstring(300, L'文') + L".zip"},
    {"4 MB", "http://host/" + std::string(4 << 20, 'm') + kChineseRun,
     L"http://host/" + std::wstring(4 << 20, L'm') + std::wstring(300, L'文')},
    {"pinyin tone mark stays composed", "http://host/m\xA8\xA1.mp3", L"http://host/m\u0101.mp3"},
    {"not an address", "  ftp://x y ", L"  ftp://x y "},
    {"empty", "", L""},
};

TEST(OpenDownloadDialog, HandsTheWholeAddressToTheDialogInUtf16) {
    ASSERT_EQ(GetACP(), 936u) << "the tests run with a Chinese locale";
    for (const AddressCase& c : kAddresses) {
        SCOPED_TRACE(c.name);
        vantrel::testing::StandInLog log;
        FakeWindow window(log);
        window.plain = c.box;
        LibraryFunctions functions;
        vantrel::open_download_dialog(window, functions);
        const std::vector<std::wstring> records = log.records();
        ASSERT_EQ(records.size(), 1u);
        EXPECT_EQ(records[0].size(), c.address.size());
        EXPECT_EQ(records[0], c.address);
        EXPECT_TRUE(window.calls.empty()) << "the dialog only reads 编辑框2";
        EXPECT_EQ(window.plain, c.box);
    }
}

TEST(StartDownload, HidesTheWindowToTheTrayAndEmptiesBothBoxesAfterTheDialog) {
    vantrel::testing::StandInLog log;
    FakeWindow window(log);
    window.encoded = "thunder://QUFodHRwOi8vaG9zdC9hLnppcFpa";
    window.plain = "http://host/a.zip";
    LibraryFunctions functions;
    vantrel::start_download(window, functions);

    EXPECT_EQ(log.records(), std::vector<std::wstring>{L"http://host/a.zip"});
    EXPECT_EQ(window.downloads_when_hidden, 1u) << "hidden before the dialog was called";
    const std::vector<std::string> expected = {"hide", "tray on", "write encoded ''",
                                               "write plain ''"};
    EXPECT_EQ(window.calls, expected);
    EXPECT_EQ(window.encoded, "");
    EXPECT_EQ(window.plain, "");
}

TEST(StartDownload, TheSecondDownloadUsesTheBoundFunctionWithoutLoadingTheLibraryAgain) {
    ASSERT_EQ(GetModuleHandleW(L"shdocvw.dll"), nullptr);
    vantrel::testing::StandInLog log;
    FakeWindow window(log);
    {
        LibraryFunctions functions;
        window.plain = "http://host/first.zip";
        vantrel::start_download(window, functions);
        HMODULE library = GetModuleHandleW(L"shdocvw.dll");
        ASSERT_NE(library, nullptr);
        window.plain = "http://host/second.zip";
        vantrel::start_download(window, functions);
        EXPECT_EQ(GetModuleHandleW(L"shdocvw.dll"), library);
    }
    const std::vector<std::wstring> expected = {L"http://host/first.zip",
                                                L"http://host/second.zip"};
    EXPECT_EQ(log.records(), expected);
    // Released once with the table and gone: it was loaded once for both downloads.
    EXPECT_EQ(GetModuleHandleW(L"shdocvw.dll"), nullptr);
}

TEST(RunAlarm, CallsTheAlarmComponentOncePerCall) {
    vantrel::testing::StandInLog log;
    LibraryFunctions functions;
    for (std::size_t call = 1; call <= 3; ++call) {
        vantrel::run_alarm(functions);
        EXPECT_EQ(log.records(), std::vector<std::wstring>(call, L"闹钟dll"));
    }
}

}  // namespace
