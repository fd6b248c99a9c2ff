// Owners for the handles and interface pointers that the component holds for a moment.
#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>

namespace tavik {

struct KeyCloser {
    void operator()(HKEY key) const { RegCloseKey(key); }
};
using unique_hkey = std::unique_ptr<std::remove_pointer_t<HKEY>, KeyCloser>;

struct HandleCloser {
    void operator()(HANDLE handle) const { CloseHandle(handle); }
};
using unique_handle = std::unique_ptr<std::remove_pointer_t<HANDLE>, HandleCloser>;

struct Releaser {
    void operator()(IUnknown* object) const { object->Release(); }
};
template <class Interface>
using com_ptr = std::unique_ptr<Interface, Releaser>;

}  // namespace tavik
