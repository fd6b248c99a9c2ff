#include "link_intake.h"

#include <windows.h>

#include <cstring>

#include "vantrel/routing.h"
#include "vantrel/win/owned.h"

namespace vantrel {

namespace {

// The clipboard's text, read once for every test of the routing and for the text written.
Text clipboard_text_if_any() {
    return clipboard_has_text() ? clipboard_text() : Text{};
}

}  // namespace

bool clipboard_has_text() {
    return IsClipboardFormatAvailable(CF_TEXT) != FALSE;
}

Text clipboard_text() {
    const ClipboardGuard clipboard;
    if (!clipboard.is_open()) return {};
    HANDLE data = GetClipboardData(CF_TEXT);
    if (!data) return {};
    const GlobalLockGuard locked(data);
    const auto* bytes = locked.as<const char>();
    if (!bytes) return {};
    // A block without a terminating zero ends at its size.
    return Text(bytes, strnlen(bytes, locked.size()));
}

void take_link_from_clipboard(WindowLayer& window) {
    const Text text = clipboard_text_if_any();
    switch (route_link(text)) {
        case TargetBox::plain:
            window.write_box(Box::plain, text);
            break;
        case TargetBox::encoded:
            window.write_box(Box::encoded, text);
            break;
        case TargetBox::none:
            break;
    }
}

void paste_plain_address(WindowLayer& window) {
    const Text text = clipboard_text_if_any();
    if (is_plain_address(text)) window.write_box(Box::plain, text);
}

void paste_encoded_link(WindowLayer& window) {
    const Text text = clipboard_text_if_any();
    if (is_encoded_link(text)) window.write_box(Box::encoded, text);
}

void take_dropped_link(WindowLayer& window, const Text& url) {
    if (is_plain_address(url)) window.write_box(Box::plain, url);
}

}  // namespace vantrel
