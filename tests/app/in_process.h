// Helpers of the intake tests that run in the test process: the two boxes of a window layer
// without a window, and a drop target that hands what is dropped to take_dropped_link.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "drop_target.h"
#include "link_intake.h"
#include "window_layer.h"

namespace vantrel {

// The boxes of a window layer without a window.
class Boxes final : public WindowLayer {
  public:
    Text encoded = "old encoded", plain = "old plain";
    Text read_box(Box box) const override { return box == Box::encoded ? encoded : plain; }
    void write_box(Box box, const Text& text) override {
        (box == Box::encoded ? encoded : plain) = text;
    }
    bool is_checked(Scheme) const override { return false; }
    void set_visible(bool) override {}
    void set_shown_in_tray(bool) override {}
    HWND handle() const override { return nullptr; }
};

class DropTargetTest : public ::testing::Test {
  protected:
    void SetUp() override {
        window = CreateWindowExW(0, L"STATIC", L"drop here", WS_OVERLAPPED, 0, 0, 100, 100, nullptr,
                                 nullptr, nullptr, nullptr);
        ASSERT_NE(window, nullptr);
        target = new DropTarget(window, [this](const Text& url) { take_dropped_link(boxes, url); });
    }
    void TearDown() override {
        target->Release();
        DestroyWindow(window);
    }

    // Drags data in and drops it; returns the effects of the enter, the move and the drop.
    std::vector<DWORD> drag_and_drop(IDataObject* data, DWORD keys, DWORD allowed) {
        std::vector<DWORD> effects;
        DWORD effect = allowed;
        target->DragEnter(data, keys, POINTL{10, 10}, &effect);
        effects.push_back(effect);
        effect = allowed;
        target->DragOver(keys, POINTL{11, 11}, &effect);
        effects.push_back(effect);
        effect = allowed;
        target->Drop(data, keys, POINTL{11, 11}, &effect);
        effects.push_back(effect);
        return effects;
    }

    HWND window = nullptr;
    DropTarget* target = nullptr;
    Boxes boxes;
};

}  // namespace vantrel
