// The hand-off from the browser's side to the main window, end to end: the real vantrel.exe
// registers the real tavik.dll at its start, and a script run by cscript creates the
// component by its ProgID and calls AddUrl, as the context-menu page does.
#include <gtest/gtest.h>

#include "app_ids.h"
#include "handoff_window.h"
#include "support.h"

namespace registration_test {
namespace {

constexpr char kThunder[] = "thunder://QUFodHRwOi8vYS9iLnppcFpa";
constexpr char kPlain[] = "http://example.cn/files/a.zip";

struct Route {
    const char* link;
    int box;  // the box that takes it; the other one keeps its text
};
const Route kRoutes[] = {{kThunder, vantrel::id_encoded_box}, {kPlain, vantrel::id_plain_box}};

int other_box(int box) {
    return box == vantrel::id_encoded_box ? vantrel::id_plain_box : vantrel::id_encoded_box;
}

class HandOff : public ::testing::Test {
  protected:
    void SetUp() override {
        delete_key_tree(kMenuExtPath);
        // Nothing for the start-up's look at the clipboard.
        ASSERT_TRUE(empty_clipboard());
        ASSERT_TRUE(folder_.ok());
    }
    void TearDown() override { delete_key_tree(kMenuExtPath); }

    static ScriptRun add_url(const std::string& link) {
        return run_script(L"addurl_client.js", {wide(link)});
    }

    ProgramFolder folder_;
};

TEST_F(HandOff, TheMessageTakesTheClipboardTextIntoTheBoxOfItsScheme) {
    Vantrel vantrel(folder_.program());
    ASSERT_TRUE(vantrel.window());
    struct Case {
        const char* clipboard;  // nullptr: an empty clipboard
        int box;                // 0: neither box changes
    };
    const Case cases[] = {
        {kThunder, vantrel::id_encoded_box},
        {"qqdl://aHR0cDovL2EvYg==", vantrel::id_encoded_box},
        {"Flashget://W0ZMQVNIR0VUXQ==", vantrel::id_encoded_box},
        {"fs2you://ZnMyeW91", vantrel::id_encoded_box},
        {kPlain, vantrel::id_plain_box},
        {"ftp://example.cn/a.zip", 0},
        {"Thunder://QUFaWg==", 0},
        {" http://example.cn/", 0},
        {"", 0},
        {nullptr, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.clipboard ? c.clipboard : "(no text)");
        vantrel.set_box(vantrel::id_encoded_box, "before 1");
        vantrel.set_box(vantrel::id_plain_box, "before 2");
        ASSERT_TRUE(c.clipboard ? set_clipboard_text(c.clipboard) : empty_clipboard());
        DWORD_PTR result = 99;
        ASSERT_TRUE(SendMessageTimeoutW(vantrel.window(), vantrel::kMsgLinkHandoff, 0, 0,
                                        SMTO_ABORTIFHUNG, 10000, &result));
        EXPECT_EQ(result, 0u);
        EXPECT_EQ(vantrel.box(vantrel::id_encoded_box),
                  c.box == vantrel::id_encoded_box ? c.clipboard : "before 1");
        EXPECT_EQ(vantrel.box(vantrel::id_plain_box),
                  c.box == vantrel::id_plain_box ? c.clipboard : "before 2");
    }
    // Every other message still reaches the window's own procedure.
    wchar_t caption[64] = {};
    GetWindowTextW(vantrel.window(), caption, 64);
    EXPECT_STREQ(caption, L"Vantrel V2.0  ——想下就下，无限制          ");
}

TEST_F(HandOff, TheBrowsersCallReachesTheRunningWindow) {
    Vantrel vantrel(folder_.program());
    ASSERT_TRUE(vantrel.window());
    for (const Route& route : kRoutes) {
        SCOPED_TRACE(route.link);
        vantrel.set_box(other_box(route.box), "kept");
        const ScriptRun run = add_url(route.link);
        EXPECT_EQ(run.exit_code, std::optional<DWORD>(0)) << run.output;
        EXPECT_TRUE(wait_until([&] { return vantrel.box(route.box) == route.link; }))
            << vantrel.box(route.box);
        EXPECT_EQ(vantrel.box(other_box(route.box)), "kept");
    }
}

TEST_F(HandOff, TheBrowsersCallStartsTheProgramFromTheRecordWhenItIsNotRunning) {
    {
        // One start writes the record (and registers the component); then the program ends.
        Vantrel once(folder_.program());
        ASSERT_TRUE(once.window());
    }
    for (const Route& route : kRoutes) {
        SCOPED_TRACE(route.link);
        ASSERT_TRUE(main_windows().empty());
        ASSERT_TRUE(empty_clipboard());
        const ScriptRun run = add_url(route.link);
        EXPECT_EQ(run.exit_code, std::optional<DWORD>(0)) << run.output;
        ASSERT_TRUE(wait_until([] { return !main_windows().empty(); }));
        Vantrel started(main_windows().front());
        EXPECT_TRUE(wait_until([&] { return started.box(route.box) == route.link; }))
            << started.box(route.box);
        EXPECT_EQ(started.box(other_box(route.box)), "");
        // Started from the record: the program of the folder, which wrote the record anew.
        EXPECT_EQ(read_value(kKeyPath, vantrel::kMainWindowHandleValue),
                  text_value(window_number(started.window())));
        EXPECT_EQ(read_value(kKeyPath, vantrel::kFilePathValue),
                  text_value(ansi(folder_.program())));
    }
}

TEST_F(HandOff, ASecondInstanceTakesTheRecordAndTheLinksOver) {
    Vantrel first(folder_.program());
    ASSERT_TRUE(first.window());
    ProgramFolder second_folder;
    ASSERT_TRUE(second_folder.ok());
    Vantrel second(second_folder.program());
    ASSERT_TRUE(second.window());
    EXPECT_EQ(read_value(kKeyPath, vantrel::kMainWindowHandleValue),
              text_value(window_number(second.window())));

    const ScriptRun run = add_url(kThunder);
    EXPECT_EQ(run.exit_code, std::optional<DWORD>(0)) << run.output;
    EXPECT_TRUE(wait_until([&] { return second.box(vantrel::id_encoded_box) == kThunder; }));
    EXPECT_EQ(first.box(vantrel::id_encoded_box), "");
    EXPECT_TRUE(first.running());
}

}  // namespace
}  // namespace registration_test
