// Links taken from the clipboard: at start-up, by the two paste buttons, when the window is
// shown again; and input that must change nothing.
#include <gtest/gtest.h>

#include <string>

#include "app_ids.h"
#include "program_driver.h"

namespace vantrel::testing {
namespace {

struct Routed {
    const char* clipboard;
    const char* encoded;  // 编辑框1 afterwards
    const char* plain;    // 编辑框2 afterwards
};

TEST(Intake, AtStartUpEachPrefixAndNearMisses) {
    const Routed cases[] = {
        {"http://host/file.zip", "", "http://host/file.zip"},
        {"http://", "", "http://"},
        {"thunder://QUFhYmNaWg==", "thunder://QUFhYmNaWg==", ""},
        {"qqdl://x", "qqdl://x", ""},
        {"Flashget://x", "Flashget://x", ""},
        {"fs2you://x", "fs2you://x", ""},
        {"http:/", "", ""},
        {"https://x", "", ""},
        {"HTTP://x", "", ""},
        {" http://x", "", ""},
        {"Thunder://x", "", ""},
        {"flashget://x", "", ""},
    };
    for (const Routed& c : cases) {
        SCOPED_TRACE(c.clipboard);
        ASSERT_TRUE(set_clipboard_text(c.clipboard));
        Program program;
        ASSERT_TRUE(program.start());
        EXPECT_EQ(program.box(id_encoded_box), c.encoded);
        EXPECT_EQ(program.box(id_plain_box), c.plain);
    }
}

// Each paste button takes only its own kind of link, replaces only its own box and never
// clears the other.
TEST(Intake, PasteButtons) {
    struct Case {
        const char* clipboard;
        bool plain;    // IE按钮 takes it into 编辑框2
        bool encoded;  // 原地址按钮 takes it into 编辑框1
    };
    const Case cases[] = {
        {"http://host/file.zip", true, false},
        {"http://", true, false},
        {"http://a/b\r\nmore", true, false},
        {"thunder://QUFhYmNaWg==", false, true},
        {"qqdl://x", false, true},
        {"Flashget://x", false, true},
        {"fs2you://x", false, true},
        {"thunder://", false, true},
        {"http:/", false, false},
        {"https://x", false, false},
        {"Https://x", false, false},
        {"HTTP://x", false, false},
        {" http://x", false, false},
        {"QQDL://x", false, false},
        {"Fs2you://x", false, false},
        {"flashget://x", false, false},
        {"ftp://x", false, false},
        {"", false, false},
    };
    ASSERT_TRUE(empty_clipboard());
    Program program;
    ASSERT_TRUE(program.start());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.clipboard);
        ASSERT_TRUE(set_clipboard_text(c.clipboard));
        program.set_box(id_encoded_box, "old encoded");
        program.set_box(id_plain_box, "old plain");

        program.click(id_paste_plain_button);
        EXPECT_EQ(program.box(id_plain_box), c.plain ? c.clipboard : "old plain");
        EXPECT_EQ(program.box(id_encoded_box), "old encoded");

        program.set_box(id_plain_box, "old plain");
        program.click(id_paste_encoded_button);
        EXPECT_EQ(program.box(id_encoded_box), c.encoded ? c.clipboard : "old encoded");
        EXPECT_EQ(program.box(id_plain_box), "old plain");
    }
}

// Text that the system offers as CF_TEXT by conversion from Unicode text counts, and arrives
// in the ANSI code page.
TEST(Intake, UnicodeClipboardTextArrivesAsAnsi) {
    const std::wstring address = L"http://例子.cn/文件.zip";
    char ansi[256] = {};
    ASSERT_GT(
        WideCharToMultiByte(CP_ACP, 0, address.c_str(), -1, ansi, sizeof ansi, nullptr, nullptr),
        0);
    ASSERT_TRUE(empty_clipboard());
    Program program;
    ASSERT_TRUE(program.start());
    ASSERT_TRUE(set_clipboard_unicode_text(address));
    program.click(id_paste_plain_button);
    EXPECT_EQ(program.box(id_plain_box), ansi);
}

TEST(Intake, InputThatChangesNothing) {
    ASSERT_TRUE(empty_clipboard());
    Program program;
    ASSERT_TRUE(program.start());
    EXPECT_EQ(program.box(id_encoded_box), "");
    EXPECT_EQ(program.box(id_plain_box), "");

    auto expect_unchanged = [&](const char* what) {
        SCOPED_TRACE(what);
        program.set_box(id_encoded_box, "old encoded");
        program.set_box(id_plain_box, "old plain");
        program.click(id_paste_plain_button);
        program.click(id_paste_encoded_button);
        program.command(id_menu_show_window);
        EXPECT_EQ(program.box(id_encoded_box), "old encoded");
        EXPECT_EQ(program.box(id_plain_box), "old plain");
    };

    expect_unchanged("empty clipboard");

    ASSERT_TRUE(set_clipboard_bitmap());
    expect_unchanged("a picture");

    ASSERT_TRUE(set_clipboard_text(std::string(1 << 20, 'x')));
    expect_unchanged("a megabyte without prefix");

    ASSERT_TRUE(set_clipboard_text("http://held/open"));
    {
        ClipboardHold hold;
        ASSERT_TRUE(hold.is_open());
        expect_unchanged("a clipboard held open by another program");
    }
    EXPECT_EQ(program.exit_code(), static_cast<DWORD>(STILL_ACTIVE));
}

TEST(Intake, MegabyteLinksAreTakenWhole) {
    ASSERT_TRUE(empty_clipboard());
    Program program;
    ASSERT_TRUE(program.start());

    const std::string encoded = "thunder://" + std::string(1 << 20, 'Q');
    ASSERT_TRUE(set_clipboard_text(encoded));
    program.click(id_paste_encoded_button);
    EXPECT_EQ(program.box(id_encoded_box), encoded);

    const std::string plain = "http://host/" + std::string(1 << 20, 'a');
    ASSERT_TRUE(set_clipboard_text(plain));
    program.click(id_paste_plain_button);
    EXPECT_EQ(program.box(id_plain_box), plain);
}

}  // namespace
}  // namespace vantrel::testing
