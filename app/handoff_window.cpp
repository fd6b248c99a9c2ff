#include "handoff_window.h"

#include <memory>

#include "link_intake.h"
#include "vantrel/contract.h"

namespace vantrel {

namespace {

// What handoff_window_proc needs of the window it serves, kept as a property of the window
// from the installation until the window's last message.
struct HandOffSubclass {
    WindowLayer& window;
    LibraryFunctions& functions;
    WNDPROC previous;
};

constexpr wchar_t kSubclassProperty[] = L"Vantrel.HandOffSubclass";

}  // namespace

bool install_handoff_window_proc(WindowLayer& window, LibraryFunctions& functions) {
    HWND handle = window.handle();
    auto subclass = std::make_unique<HandOffSubclass>(HandOffSubclass{window, functions, nullptr});
    // No message reaches the window between these steps: neither sends one.
    if (!SetPropW(handle, kSubclassProperty, subclass.get())) return false;
    const LONG_PTR previous = functions.set_window_long()(
        handle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&handoff_window_proc));
    if (previous == 0) {
        RemovePropW(handle, kSubclassProperty);
        return false;
    }
    subclass->previous = reinterpret_cast<WNDPROC>(previous);
    subclass.release();  // owned by the window now; freed at WM_NCDESTROY
    return true;
}

LRESULT CALLBACK handoff_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    auto* subclass = static_cast<HandOffSubclass*>(GetPropW(window, kSubclassProperty));
    if (!subclass) return DefWindowProcA(window, message, wparam, lparam);
    if (message == kMsgLinkHandoff) {
        take_link_from_clipboard(subclass->window);
        return 0;
    }
    const WNDPROC previous = subclass->previous;
    LibraryFunctions& functions = subclass->functions;
    if (message == WM_NCDESTROY) {
        RemovePropW(window, kSubclassProperty);
        delete subclass;
    }
    return functions.call_window_proc()(previous, window, message, wparam, lparam);
}

}  // namespace vantrel
