// Handles that release themselves. Each owner is a move-only object; declare members in
// creation order, so destruction runs in reverse (a hotkey goes before its window).
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <utility>

namespace kestrin {

template <typename H, auto Release>
class Owned {
public:
    Owned() = default;
    explicit Owned(H h) : h_(h) {}
    ~Owned() { reset(); }
    Owned(Owned&& other) noexcept : h_(std::exchange(other.h_, H{})) {}
    Owned& operator=(Owned&& other) noexcept {
        if (this != &other) {
            reset();
            h_ = std::exchange(other.h_, H{});
        }
        return *this;
    }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;

    H get() const { return h_; }
    explicit operator bool() const { return h_ != H{}; }
    void reset(H h = H{}) {
        if (h_) Release(h_);
        h_ = h;
    }
    H release() { return std::exchange(h_, H{}); }

private:
    H h_{};
};

namespace owned_detail {
// GDI objects share one release function over a common handle type.
inline void DeleteGdiObject(HGDIOBJ object) { DeleteObject(object); }
inline void DestroyIconHandle(HICON icon) { DestroyIcon(icon); }
inline void DestroyMenuHandle(HMENU menu) { DestroyMenu(menu); }
inline void DestroyWindowHandle(HWND hwnd) {
    if (IsWindow(hwnd)) DestroyWindow(hwnd);
}
inline void DestroyImageList(HIMAGELIST list) { ImageList_Destroy(list); }
inline void CloseKey(HKEY key) { RegCloseKey(key); }
inline void CloseKernelHandle(HANDLE handle) { CloseHandle(handle); }
inline void DeleteMemoryDC(HDC dc) { DeleteDC(dc); }
}  // namespace owned_detail

using OwnedIcon = Owned<HICON, owned_detail::DestroyIconHandle>;
using OwnedFont = Owned<HFONT, owned_detail::DeleteGdiObject>;
using OwnedBrush = Owned<HBRUSH, owned_detail::DeleteGdiObject>;
using OwnedBitmap = Owned<HBITMAP, owned_detail::DeleteGdiObject>;
using OwnedMenu = Owned<HMENU, owned_detail::DestroyMenuHandle>;
using OwnedWindow = Owned<HWND, owned_detail::DestroyWindowHandle>;
using OwnedImageList = Owned<HIMAGELIST, owned_detail::DestroyImageList>;
using OwnedKey = Owned<HKEY, owned_detail::CloseKey>;
using OwnedHandle = Owned<HANDLE, owned_detail::CloseKernelHandle>;
// A DC of CreateCompatibleDC; whatever it holds selected must be put back first (ScopedSelect).
using OwnedMemoryDC = Owned<HDC, owned_detail::DeleteMemoryDC>;

// A window's (or the screen's, for null) DC from GetDC, released at scope end.
class ScopedDC {
public:
    explicit ScopedDC(HWND hwnd = nullptr) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
    ~ScopedDC() {
        if (dc_) ReleaseDC(hwnd_, dc_);
    }
    ScopedDC(const ScopedDC&) = delete;
    ScopedDC& operator=(const ScopedDC&) = delete;
    HDC get() const { return dc_; }

private:
    HWND hwnd_;
    HDC dc_;
};

// An object selected into a DC for the scope; the DC's earlier object goes back at its end.
class ScopedSelect {
public:
    ScopedSelect(HDC dc, HGDIOBJ object) : dc_(dc), previous_(dc && object ? SelectObject(dc, object) : nullptr) {}
    ~ScopedSelect() {
        if (previous_) SelectObject(dc_, previous_);
    }
    ScopedSelect(const ScopedSelect&) = delete;
    ScopedSelect& operator=(const ScopedSelect&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// COM for this thread (the shell's folder browser needs it), released at scope end.
class ScopedCom {
public:
    ScopedCom() : initialized_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~ScopedCom() {
        if (initialized_) CoUninitialize();
    }
    ScopedCom(const ScopedCom&) = delete;
    ScopedCom& operator=(const ScopedCom&) = delete;

private:
    bool initialized_;
};

// A named mutex held for the object's life; FirstInstance() is false when the name existed.
class ScopedMutex {
public:
    explicit ScopedMutex(const char* name)
        : handle_(CreateMutexA(nullptr, TRUE, name)), first_(handle_ && GetLastError() != ERROR_ALREADY_EXISTS) {}
    bool FirstInstance() const { return first_; }

private:
    OwnedHandle handle_;
    bool first_;
};

}  // namespace kestrin
