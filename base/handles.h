#pragma once
// Owners for the Win32 handles the program holds: each closes its handle
// with the call that matches how it was obtained.
#include <memory>
#include <type_traits>

#include "base/win.h"

#include <ole2.h>

namespace tarnwell {

template <typename H, auto Close>
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(H h) : h_(h) {}
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& o) noexcept : h_(o.release()) {}
    UniqueHandle& operator=(UniqueHandle&& o) noexcept {
        if (this != &o) reset(o.release());
        return *this;
    }
    ~UniqueHandle() { reset(); }

    H get() const { return h_; }
    explicit operator bool() const { return Valid(h_); }
    H release() {
        H h = h_;
        h_ = H{};
        return h;
    }
    void reset(H h = H{}) {
        if (Valid(h_)) Close(h_);
        h_ = h;
    }
    H* put() {
        reset();
        return &h_;
    }

private:
    // Kernel calls report failure with NULL or INVALID_HANDLE_VALUE,
    // depending on the call; neither is ever closed.
    static bool Valid(H h) {
        if constexpr (std::is_same_v<H, HANDLE>) return h != nullptr && h != INVALID_HANDLE_VALUE;
        else return h != H{};
    }

    H h_{};
};

inline void CloseKernelHandle(HANDLE h) { ::CloseHandle(h); }
inline void CloseFindHandle(HANDLE h) { ::FindClose(h); }
inline void CloseRegKey(HKEY k) { ::RegCloseKey(k); }
inline void CloseLibrary(HMODULE m) { ::FreeLibrary(m); }
inline void DeleteGdiObject(HGDIOBJ o) { ::DeleteObject(o); }

template <typename T>
void ReleaseComObject(T* object) {
    object->Release();
}

using KernelHandle = UniqueHandle<HANDLE, CloseKernelHandle>;
using FileHandle = KernelHandle;
using FindHandle = UniqueHandle<HANDLE, CloseFindHandle>;
using RegKey = UniqueHandle<HKEY, CloseRegKey>;
using Library = UniqueHandle<HMODULE, CloseLibrary>;
using GdiBitmap = UniqueHandle<HBITMAP, DeleteGdiObject>;
using GdiFont = UniqueHandle<HFONT, DeleteGdiObject>;
using GdiRegion = UniqueHandle<HRGN, DeleteGdiObject>;
template <typename T>
using ComPtr = UniqueHandle<T*, ReleaseComObject<T>>;

// COM and OLE for the thread that creates it, for as long as it lives.
class OleSession {
public:
    OleSession() : initialized_(SUCCEEDED(::OleInitialize(nullptr))) {}
    ~OleSession() {
        if (initialized_) ::OleUninitialize();
    }
    OleSession(const OleSession&) = delete;
    OleSession& operator=(const OleSession&) = delete;

private:
    bool initialized_;
};

}  // namespace tarnwell
