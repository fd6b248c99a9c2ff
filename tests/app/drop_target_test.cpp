// The drop target of the main window, in process: which data it accepts, the drop effects,
// and that only a dropped "http://" URL reaches 编辑框2.
#include "drop_target.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "in_process.h"
#include "link_intake.h"
#include "support/data_object.h"

namespace vantrel {
namespace {

TEST(DropEffect, Table) {
    const DWORD all = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
    struct Case {
        DWORD keys, allowed, effect;
    };
    const Case cases[] = {
        {0, all, DROPEFFECT_COPY},
        {0, DROPEFFECT_MOVE | DROPEFFECT_LINK, DROPEFFECT_MOVE},
        {0, DROPEFFECT_LINK, DROPEFFECT_LINK},
        {0, DROPEFFECT_NONE, DROPEFFECT_NONE},
        {MK_CONTROL, all, DROPEFFECT_COPY},
        {MK_CONTROL, DROPEFFECT_MOVE | DROPEFFECT_LINK, DROPEFFECT_NONE},
        {MK_SHIFT, all, DROPEFFECT_MOVE},
        {MK_SHIFT, DROPEFFECT_COPY | DROPEFFECT_LINK, DROPEFFECT_NONE},
        {MK_CONTROL | MK_SHIFT, all, DROPEFFECT_NONE},
        {MK_LBUTTON, all, DROPEFFECT_COPY},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(drop_effect(c.keys, c.allowed), c.effect) << c.keys << " " << c.allowed;
    }
}

using FakeData = testing::FakeDataObject;

using Effects = std::vector<DWORD>;
constexpr DWORD kAll = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;

TEST_F(DropTargetTest, PlainAddressFillsTheConvertedBox) {
    FakeData data(L"UniformResourceLocator", std::string("http://host/a.rar\0junk", 22));
    EXPECT_EQ(drag_and_drop(&data, 0, kAll),
              (Effects{DROPEFFECT_COPY, DROPEFFECT_COPY, DROPEFFECT_COPY}));
    EXPECT_EQ(boxes.plain, "http://host/a.rar");
    EXPECT_EQ(boxes.encoded, "old encoded");
}

TEST_F(DropTargetTest, EncodedLinkIsAcceptedButChangesNothing) {
    FakeData data(L"UniformResourceLocator", std::string("thunder://QUFhYmNaWg==", 23));
    EXPECT_EQ(drag_and_drop(&data, 0, DROPEFFECT_MOVE),
              (Effects{DROPEFFECT_MOVE, DROPEFFECT_MOVE, DROPEFFECT_MOVE}));
    EXPECT_EQ(boxes.plain, "old plain");
    EXPECT_EQ(boxes.encoded, "old encoded");
}

// Without a terminating zero the URL ends with its block.
TEST_F(DropTargetTest, UrlWithoutTerminator) {
    FakeData data(L"UniformResourceLocator", "http://x");
    drag_and_drop(&data, 0, kAll);
    EXPECT_EQ(boxes.plain.substr(0, 8), "http://x");
    EXPECT_EQ(boxes.plain.find('\0'), std::string::npos);
}

TEST_F(DropTargetTest, OtherDataIsRefused) {
    FakeData text(CF_TEXT, std::string("http://host/a.rar", 18));
    EXPECT_EQ(drag_and_drop(&text, 0, kAll),
              (Effects{DROPEFFECT_NONE, DROPEFFECT_NONE, DROPEFFECT_NONE}));
    EXPECT_EQ(text.reads, 0);
    FakeData html(L"HTML Format", std::string("http://host/a.rar", 18));
    EXPECT_EQ(drag_and_drop(&html, 0, kAll),
              (Effects{DROPEFFECT_NONE, DROPEFFECT_NONE, DROPEFFECT_NONE}));
    EXPECT_EQ(boxes.plain, "old plain");
}

TEST_F(DropTargetTest, NoEffectReadsNothing) {
    FakeData data(L"UniformResourceLocator", std::string("http://host/a.rar", 18));
    EXPECT_EQ(drag_and_drop(&data, MK_CONTROL | MK_SHIFT, kAll),
              (Effects{DROPEFFECT_NONE, DROPEFFECT_NONE, DROPEFFECT_NONE}));
    EXPECT_EQ(drag_and_drop(&data, MK_CONTROL, DROPEFFECT_MOVE),
              (Effects{DROPEFFECT_NONE, DROPEFFECT_NONE, DROPEFFECT_NONE}));
    EXPECT_EQ(data.reads, 0);
    EXPECT_EQ(boxes.plain, "old plain");
}

TEST_F(DropTargetTest, LeaveThenDropOfOtherData) {
    FakeData url(L"UniformResourceLocator", std::string("http://host/a.rar", 18));
    DWORD effect = kAll;
    target->DragEnter(&url, 0, POINTL{1, 1}, &effect);
    target->DragLeave();
    effect = kAll;
    FakeData text(CF_TEXT, std::string("http://other", 13));
    target->DragEnter(&text, 0, POINTL{1, 1}, &effect);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
}

// The registration is made once; a second attempt is refused.
TEST(DropRegistration, OnceOnly) {
    HWND window = CreateWindowExW(0, L"STATIC", L"drop here", WS_OVERLAPPED, 0, 0, 100, 100,
                                  nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    {
        DropRegistration registration;
        EXPECT_TRUE(registration.register_window(window, [](const Text&) {}));
        EXPECT_FALSE(registration.register_window(window, [](const Text&) {}));
    }
    // Revoked with the object: the window can be registered again.
    DropRegistration again;
    EXPECT_TRUE(again.register_window(window, [](const Text&) {}));
    again.revoke();
    DestroyWindow(window);
}

}  // namespace
}  // namespace vantrel
