// A real script client: cscript runs a JScript file that creates Tavik.tavik_down by its
// ProgID, as the browser's context-menu page does, and calls AddUrl.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support.h"

namespace tavik_test {
namespace {

constexpr char kMarker[] = "what the clipboard held before";

class Script : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_HR(S_OK, component_.register_server()); }
    void TearDown() override { component_.unregister_server(); }
    Component component_;
};

TEST_F(Script, CscriptCreatesTheComponentByItsProgIdAndHandsTheLinkOver) {
    struct Case {
        const wchar_t* link;
        const char* text;
    };
    const Case cases[] = {
        {L"thunder://QUFodHRwOi8vYS9iLnppcFpa", "thunder://QUFodHRwOi8vYS9iLnppcFpa"},
        {L"http://example.cn/\u4E0B\u8F7D.zip", "http://example.cn/\xCF\xC2\xD4\xD8.zip"},
    };
    wchar_t system[MAX_PATH] = {};
    GetSystemDirectoryW(system, MAX_PATH);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        StandInLog log;
        StandIn standin = start_standin();
        ASSERT_TRUE(standin.window);
        set_clipboard_text(kMarker);

        Process cscript =
            Process::start(L"\"" + std::wstring(system) + L"\\cscript.exe\" //nologo \"" +
                           test_file(L"addurl.js") + L"\" " + c.link);
        // 2: the call with two arguments ran; 3: it failed with another error.
        EXPECT_EQ(std::optional<DWORD>(0), cscript.wait_for_exit());
        EXPECT_EQ((Lines{restore_line(kMarker), handoff_line(c.text)}), log.records());
        EXPECT_EQ(c.text, clipboard_text());
    }
}

}  // namespace
}  // namespace tavik_test
