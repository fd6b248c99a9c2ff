#include "support/clipboard.h"

#include <cstring>

#include "support/wait.h"
#include "vantrel/win/owned.h"

namespace vantrel::testing {

namespace {

constexpr DWORD kClipboardWait = 5000;  // ms

bool open_clipboard() {
    return wait_until([] { return OpenClipboard(clipboard_owner()) != FALSE; }, kClipboardWait);
}

bool set_clipboard(UINT format, const void* data, std::size_t size) {
    OwnedGlobal block(GlobalAlloc(GMEM_MOVEABLE, size));
    if (!block) return false;
    {
        const GlobalLockGuard locked(block.get());
        if (!locked.get()) return false;
        std::memcpy(locked.get(), data, size);
    }
    if (!open_clipboard()) return false;
    EmptyClipboard();
    const bool placed = SetClipboardData(format, block.get()) != nullptr;
    if (placed) block.detach();  // the clipboard's now
    CloseClipboard();
    return placed;
}

}  // namespace

HWND clipboard_owner() {
    static HWND owner = CreateWindowExW(0, L"STATIC", L"clipboard owner", WS_POPUP, 0, 0, 0, 0,
                                        nullptr, nullptr, nullptr, nullptr);
    return owner;
}

bool set_clipboard_text(const std::string& ansi) {
    return set_clipboard(CF_TEXT, ansi.c_str(), ansi.size() + 1);
}

bool set_clipboard_bytes(const std::string& bytes) {
    return set_clipboard(CF_TEXT, bytes.data(), bytes.size());
}

bool set_clipboard_unicode_text(const std::wstring& text) {
    return set_clipboard(CF_UNICODETEXT, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
}

bool set_clipboard_bitmap() {
    if (!open_clipboard()) return false;
    EmptyClipboard();
    HDC screen = GetDC(nullptr);
    OwnedBitmap bitmap(CreateCompatibleBitmap(screen, 16, 16));
    ReleaseDC(nullptr, screen);
    const bool placed = SetClipboardData(CF_BITMAP, bitmap.get()) != nullptr;
    if (placed) bitmap.detach();
    CloseClipboard();
    return placed;
}

bool empty_clipboard() {
    if (!open_clipboard()) return false;
    const bool emptied = EmptyClipboard() != FALSE;
    CloseClipboard();
    return emptied;
}

std::optional<std::string> clipboard_text() {
    if (!open_clipboard()) return std::nullopt;
    std::optional<std::string> text;
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        const GlobalLockGuard locked(data);
        if (const char* bytes = locked.as<const char>())
            text = std::string(bytes, strnlen(bytes, locked.size()));
    }
    CloseClipboard();
    return text;
}

HGLOBAL global_block(const std::string& bytes) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    if (!block) return nullptr;
    const GlobalLockGuard locked(block);
    if (locked.get()) std::memcpy(locked.get(), bytes.data(), bytes.size());
    return block;
}

ClipboardHold::ClipboardHold() : open_(open_clipboard()) {}

ClipboardHold::~ClipboardHold() {
    if (open_) CloseClipboard();
}

}  // namespace vantrel::testing
