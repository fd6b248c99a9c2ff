#include "handoff_record.h"

#include <cstring>

#include "vantrel/contract.h"
#include "vantrel/win/owned.h"

namespace tavik {

namespace {

constexpr DWORD kWindowHandleLimit = 32;  // bytes, zero included

bool is_space(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

bool is_digit(char c) {
    return c >= '0' && c <= '9';
}

// The record outlives the program that wrote it, and its number may since have been given to
// another program's window: only a window of the main program's class counts.
bool is_main_window(HWND window) {
    if (!IsWindow(window)) return false;
    char name[sizeof vantrel::kMainWindowClassA + 1] = {};
    return GetClassNameA(window, name, sizeof name) > 0 &&
           std::strcmp(name, vantrel::kMainWindowClassA) == 0;
}

}  // namespace

LONG parse_window_handle(const char* text, std::size_t size) {
    std::size_t i = 0;
    while (i < size && is_space(text[i]))
        ++i;
    bool negative = false;
    if (i < size && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    const unsigned long long limit = negative ? 2147483648ULL : 2147483647ULL;
    unsigned long long value = 0;
    for (; i < size && is_digit(text[i]); ++i) {
        value = value * 10 + static_cast<unsigned>(text[i] - '0');
        if (value > limit) value = limit;
    }
    return negative ? static_cast<LONG>(-static_cast<long long>(value)) : static_cast<LONG>(value);
}

bool read_record_value(const char* name, char* buffer, DWORD size) {
    vantrel::OwnedKey key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, vantrel::kMenuExtKey, 0, KEY_QUERY_VALUE, key.receive()) !=
        ERROR_SUCCESS) {
        return false;
    }
    return RegQueryValueExA(key.get(), name, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer),
                            &size) == ERROR_SUCCESS;
}

HWND find_main_window() {
    char number[kWindowHandleLimit] = {};
    if (!read_record_value(vantrel::kMainWindowHandleValue, number, sizeof number)) return nullptr;
    // The main program stores its handle as a 32-bit number; 64-bit Windows widens handles
    // by sign extension.
    HWND window =
        reinterpret_cast<HWND>(static_cast<LONG_PTR>(parse_window_handle(number, sizeof number)));
    return is_main_window(window) ? window : nullptr;
}

}  // namespace tavik
