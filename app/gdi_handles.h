// Owning wrappers for the GDI and USER handles that the windows create for themselves, and for
// the registry keys that the program opens.
#pragma once

#include <windows.h>

#include <utility>

namespace vantrel {

template <typename Handle, BOOL(WINAPI* release)(Handle)>
class OwnedHandle {
  public:
    OwnedHandle() = default;
    explicit OwnedHandle(Handle handle) : handle_(handle) {}
    ~OwnedHandle() { reset(); }
    OwnedHandle(OwnedHandle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    OwnedHandle& operator=(OwnedHandle&& other) noexcept {
        if (this != &other) {
            reset();
            handle_ = std::exchange(other.handle_, nullptr);
        }
        return *this;
    }
    OwnedHandle(const OwnedHandle&) = delete;
    OwnedHandle& operator=(const OwnedHandle&) = delete;

    Handle get() const { return handle_; }
    void reset() {
        if (handle_) release(handle_);
        handle_ = nullptr;
    }

  private:
    Handle handle_ = nullptr;
};

inline BOOL WINAPI delete_font(HFONT font) {
    return DeleteObject(font);
}

inline BOOL WINAPI close_key(HKEY key) {
    return RegCloseKey(key) == ERROR_SUCCESS;
}

using OwnedFont = OwnedHandle<HFONT, delete_font>;
using OwnedIcon = OwnedHandle<HICON, DestroyIcon>;
using OwnedMenu = OwnedHandle<HMENU, DestroyMenu>;
using OwnedKey = OwnedHandle<HKEY, close_key>;

}  // namespace vantrel
