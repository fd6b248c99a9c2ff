// The radio buttons run their scheme's converter on 编辑框1 and write 编辑框2, or show the
// format error.
#include <gtest/gtest.h>

#include <string>

#include "app_ids.h"
#include "program_driver.h"

namespace vantrel::testing {
namespace {

constexpr int kRadios[] = {id_thunder_radio, id_flashget_radio, id_qqdl_radio, id_rayfile_radio};

class Conversion : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(empty_clipboard());
        ASSERT_TRUE(program.start());
    }

    void expect_only_checked(int id) {
        for (int radio : kRadios)
            EXPECT_EQ(program.is_checked(radio), radio == id) << radio;
    }

    Program program;
};

TEST_F(Conversion, EachRadioButtonConvertsItsScheme) {
    struct Case {
        int radio;
        const char* link;
        const char* address;
    };
    const Case cases[] = {
        {id_thunder_radio,
         "thunder://QUFodHRwOi8vZXhhbXBsZS5jb20vZmlsZS56aXBaWg==", "http://example.com/file.zip"},
        {id_flashget_radio, "Flashget://W0ZMQVNIR0VUXWh0dHA6Ly9hL2IuemlwW0ZMQVNIR0VUXQ==&abc",
         "http://a/b.zip"},
        {id_qqdl_radio, "qqdl://aHR0cDovL2EvYi56aXA=", "http://a/b.zip"},
        {id_rayfile_radio, "fs2you://YS9iLnppcHwxMjM=", "http://a/b.zip"},
        {id_rayfile_radio, "fs2you://", "http://"},
        {id_thunder_radio, "thunder://", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.link);
        program.set_box(id_encoded_box, c.link);
        program.set_box(id_plain_box, "before");
        program.click(c.radio);
        expect_only_checked(c.radio);
        EXPECT_EQ(program.box(id_plain_box), c.address);
        EXPECT_EQ(program.box(id_encoded_box), c.link);
    }
}

// A click on the radio button that is checked already runs its converter again.
TEST_F(Conversion, RepeatedClickConvertsAgain) {
    program.set_box(id_encoded_box, "thunder://QUFodHRwOi8vZXhhbXBsZS5jb20vZmlsZS56aXBaWg==");
    program.click(id_thunder_radio);
    EXPECT_EQ(program.box(id_plain_box), "http://example.com/file.zip");

    program.set_box(id_encoded_box, "thunder://QUFodHRwOi8veC8yLnJhclpa");
    program.click(id_thunder_radio);
    expect_only_checked(id_thunder_radio);
    EXPECT_EQ(program.box(id_plain_box), "http://x/2.rar");

    program.set_box(id_plain_box, "edited");
    program.click(id_thunder_radio);
    EXPECT_EQ(program.box(id_plain_box), "http://x/2.rar");
}

// A link without the scheme's exact prefix gets the format error: a task-modal box without
// owner; 编辑框2 keeps its text.
TEST_F(Conversion, FormatError) {
    struct Case {
        int radio;
        const char* link;
    };
    const Case cases[] = {
        {id_thunder_radio, "Thunder://QUFhYmNaWg=="},      {id_flashget_radio, "flashget://x"},
        {id_qqdl_radio, " qqdl://aHR0cDovL2EvYi56aXA="},   {id_rayfile_radio, ""},
        {id_thunder_radio, "qqdl://aHR0cDovL2EvYi56aXA="},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.link);
        program.set_box(id_encoded_box, c.link);
        program.set_box(id_plain_box, "kept");
        program.post_click(c.radio);

        HWND box = program.wait_for_message_box();
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(message_box_caption(box), L"错误");
        EXPECT_EQ(message_box_text(box), L"格式错误！请输入正确的地址！");
        EXPECT_EQ(GetWindow(box, GW_OWNER), nullptr);
        EXPECT_FALSE(IsWindowEnabled(program.main())) << "task-modal";
        close_message_box(box);
        ASSERT_TRUE(wait_until([&] { return !IsWindow(box); }));
        ASSERT_TRUE(wait_until([&] { return IsWindowEnabled(program.main()) != FALSE; }));
        EXPECT_EQ(program.box(id_plain_box), "kept");
        EXPECT_EQ(program.box(id_encoded_box), c.link);
    }
}

// FlashGet shows the still encoded body in 编辑框2 while it decodes it. The format error of
// a second conversion, started in the middle of the first, holds the first one there.
TEST_F(Conversion, FlashGetShowsTheBodyWhileDecoding) {
    const std::string body = "W0ZMQVNIR0VUXWh0dHA6Ly9hL2IuemlwW0ZMQVNIR0VUXQ==";
    program.set_box(id_encoded_box, "Flashget://" + body + "&tail");
    program.set_box(id_plain_box, "before");
    program.post_click(id_flashget_radio);
    program.post_click(id_thunder_radio);  // reads the FlashGet link: the format error

    HWND box = program.wait_for_message_box();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(program.box(id_plain_box), body);
    close_message_box(box);
    EXPECT_TRUE(wait_until([&] { return program.box(id_plain_box) == "http://a/b.zip"; }));
    expect_only_checked(id_thunder_radio);
}

// Messages that arrive while a long link is decoded are handled in the middle of it: a close
// request hides the window and empties the boxes, and the conversion still writes its result.
TEST_F(Conversion, CloseRequestDuringConversion) {
    // "http://d/" and then 10 000 times the bytes 79 E7 9E (each "eeee" decodes to them).
    // The close request comes next in the queue, so the first pump of the decoder runs it.
    program.set_box(id_encoded_box, "qqdl://aHR0cDovL2Qv" + std::string(40000, 'e'));
    program.post_click(id_qqdl_radio);
    PostMessageW(program.main(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(wait_until([&] { return !program.is_visible(); }));
    EXPECT_EQ(program.box(id_encoded_box), "");
    ASSERT_TRUE(
        wait_until([&] { return program.box(id_plain_box).rfind("http://d/", 0) == 0; }, 60000));
    EXPECT_EQ(program.box(id_plain_box).size(), 9u + 30000u);
}

// The program ends cleanly when it is told to exit in the middle of a conversion: the
// conversion must not touch the destroyed controls.
TEST_F(Conversion, ExitDuringConversion) {
    program.set_box(id_encoded_box, "qqdl://" + std::string(40000, 'e'));
    program.post_click(id_qqdl_radio);
    PostMessageW(program.main(), WM_COMMAND, MAKEWPARAM(id_exit_button, BN_CLICKED), 0);
    ASSERT_TRUE(program.wait_for_exit(60000));
    EXPECT_EQ(program.exit_code(), 0u);
}

}  // namespace
}  // namespace vantrel::testing
