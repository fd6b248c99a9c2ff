// Where handles get closed: the owners of every Windows handle, lock and interface pointer
// that the program, its libraries and their tests hold. Each owner is move-only and closes
// what it holds exactly once, when it goes or is reset.
#pragma once

#include <windows.h>

#include <ole2.h>
#include <oleauto.h>

#include <memory>
#include <utility>

namespace vantrel {

// A handle of type Handle, closed by release(handle). Empty is nullptr (a function that
// reports failure with INVALID_HANDLE_VALUE gives its caller nothing to own).
template <typename Handle, auto release>
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
    explicit operator bool() const { return handle_ != nullptr; }
    void reset(Handle handle = nullptr) {
        if (handle_) release(handle_);
        handle_ = handle;
    }
    // Gives up the handle without closing it: somebody else owns it now.
    Handle detach() { return std::exchange(handle_, nullptr); }
    // For a function that hands out a new handle through a pointer; closes the old one first.
    Handle* receive() {
        reset();
        return &handle_;
    }

  private:
    Handle handle_ = nullptr;
};

using OwnedKernelHandle = OwnedHandle<HANDLE, CloseHandle>;  // processes, threads, files
using OwnedKey = OwnedHandle<HKEY, RegCloseKey>;
using OwnedModule = OwnedHandle<HMODULE, FreeLibrary>;
using OwnedGlobal = OwnedHandle<HGLOBAL, GlobalFree>;
using OwnedFont = OwnedHandle<HFONT, DeleteObject>;
using OwnedBitmap = OwnedHandle<HBITMAP, DeleteObject>;
using OwnedIcon = OwnedHandle<HICON, DestroyIcon>;
using OwnedMenu = OwnedHandle<HMENU, DestroyMenu>;
using OwnedWindow = OwnedHandle<HWND, DestroyWindow>;
using OwnedBstr = OwnedHandle<BSTR, SysFreeString>;

// The two handles of a started process.
struct OwnedProcess {
    OwnedKernelHandle process;
    OwnedKernelHandle thread;

    OwnedProcess() = default;
    explicit OwnedProcess(const PROCESS_INFORMATION& started)
        : process(started.hProcess), thread(started.hThread) {}
};

// The bytes of a global memory block, locked while this lives. get() is nullptr when the
// block could not be locked.
class GlobalLockGuard {
  public:
    explicit GlobalLockGuard(HGLOBAL block)
        : block_(block), data_(block ? GlobalLock(block) : nullptr) {}
    ~GlobalLockGuard() {
        if (data_) GlobalUnlock(block_);
    }
    GlobalLockGuard(GlobalLockGuard&& other) noexcept
        : block_(other.block_), data_(std::exchange(other.data_, nullptr)) {}
    GlobalLockGuard& operator=(GlobalLockGuard&&) = delete;
    GlobalLockGuard(const GlobalLockGuard&) = delete;
    GlobalLockGuard& operator=(const GlobalLockGuard&) = delete;

    void* get() const { return data_; }
    template <typename T>
    T* as() const {
        return static_cast<T*>(data_);
    }
    SIZE_T size() const { return data_ ? GlobalSize(block_) : 0; }

  private:
    HGLOBAL block_;
    void* data_;
};

// The clipboard, open for this thread (with owner, or none) while this lives.
class ClipboardGuard {
  public:
    explicit ClipboardGuard(HWND owner = nullptr) : open_(OpenClipboard(owner) != FALSE) {}
    ~ClipboardGuard() {
        if (open_) CloseClipboard();
    }
    ClipboardGuard(ClipboardGuard&& other) noexcept : open_(std::exchange(other.open_, false)) {}
    ClipboardGuard& operator=(ClipboardGuard&&) = delete;
    ClipboardGuard(const ClipboardGuard&) = delete;
    ClipboardGuard& operator=(const ClipboardGuard&) = delete;

    bool is_open() const { return open_; }

  private:
    bool open_;
};

// COM on the calling thread while this lives: a single-threaded apartment, or OLE (which
// also serves drag and drop and the clipboard's data objects). Uninitialised only when the
// initialisation succeeded.
class ComApartment {
  public:
    enum class Kind { com, ole };
    explicit ComApartment(Kind kind = Kind::com)
        : kind_(kind),
          initialized_(
              SUCCEEDED(kind == Kind::ole ? OleInitialize(nullptr) : CoInitialize(nullptr))) {}
    ~ComApartment() {
        if (!initialized_) return;
        if (kind_ == Kind::ole) {
            OleUninitialize();
        } else {
            CoUninitialize();
        }
    }
    ComApartment(ComApartment&& other) noexcept
        : kind_(other.kind_), initialized_(std::exchange(other.initialized_, false)) {}
    ComApartment& operator=(ComApartment&&) = delete;
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

    bool initialized() const { return initialized_; }

  private:
    Kind kind_;
    bool initialized_;
};

// An interface pointer that holds one reference, released when it goes.
struct ComRelease {
    void operator()(IUnknown* object) const { object->Release(); }
};
template <class Interface>
using ComPtr = std::unique_ptr<Interface, ComRelease>;

}  // namespace vantrel
