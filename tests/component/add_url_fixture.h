// The fixture of the tests that call AddUrl on a fresh object: a Chinese locale, no main
// window left by an earlier test, no hand-off record, and a known text on the clipboard.
#pragma once

#include <gtest/gtest.h>

#include "standin_protocol.h"
#include "support.h"

namespace tavik_test {

inline constexpr char kMarker[] = "what the clipboard held before";

class AddUrlTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(936u, GetACP()) << "the tests run with a Chinese locale";
        ASSERT_EQ(nullptr, find_main_window()) << "a main window of an earlier test is left";
        delete_menu_ext_key();
        set_clipboard_text(kMarker);
        ASSERT_EQ(kMarker, clipboard_text());
        object_ = component_.create();
        ASSERT_TRUE(object_);
    }
    void TearDown() override { delete_menu_ext_key(); }

    ComApartment apartment_;
    StandInLog log_;
    Component component_;
    ComPtr<Itavik_down> object_;
};

}  // namespace tavik_test
