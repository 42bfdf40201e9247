#pragma once
// Owners of the platform's handles: kernel objects, GDI objects and device contexts.
// Each is released exactly once, by the object that holds it, whatever way its scope
// ends; copies are deleted, moves hand the handle over. And the text of a failed call:
// its name with the error number GetLastError() gave and the system's words for it.
#include <windows.h>

#include <string>

// "CreateFileW failed: error 5 (Access is denied.)".
std::string Win32ErrorText(const char* call, DWORD error);
// The same for the calling thread's last error, read at once.
std::string LastWin32ErrorText(const char* call);
// Raises EInOutError with that text and the error number.
[[noreturn]] void RaiseLastWin32Error(const char* call);

// One handle of a kind that Traits knows how to test and release.
template <class Traits>
class TUniqueHandle {
public:
    using Type = typename Traits::Type;

    TUniqueHandle() = default;
    explicit TUniqueHandle(Type handle) : handle_(handle) {}
    ~TUniqueHandle() { Reset(); }
    TUniqueHandle(const TUniqueHandle&) = delete;
    TUniqueHandle& operator=(const TUniqueHandle&) = delete;
    TUniqueHandle(TUniqueHandle&& other) noexcept : handle_(other.Release()) {}
    TUniqueHandle& operator=(TUniqueHandle&& other) noexcept
    {
        if (this != &other)
            Reset(other.Release());
        return *this;
    }

    Type Get() const { return handle_; }
    explicit operator bool() const { return Traits::Valid(handle_); }
    // Gives the handle up without releasing it.
    Type Release()
    {
        Type handle = handle_;
        handle_ = Traits::Empty();
        return handle;
    }
    // Releases the held handle (if any) and takes another.
    void Reset(Type handle = Traits::Empty())
    {
        if (Traits::Valid(handle_))
            Traits::Close(handle_);
        handle_ = handle;
    }

private:
    Type handle_ = Traits::Empty();
};

struct KernelHandleTraits {
    using Type = HANDLE;
    static HANDLE Empty() { return nullptr; }
    // Files answer INVALID_HANDLE_VALUE for a failure, most other calls null.
    static bool Valid(HANDLE h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) { CloseHandle(h); }
};
using TKernelHandle = TUniqueHandle<KernelHandleTraits>;

template <class T>
struct GdiObjectTraits {
    using Type = T;
    static T Empty() { return nullptr; }
    static bool Valid(T h) { return h != nullptr; }
    static void Close(T h) { DeleteObject(h); }
};
template <class T>
using TGdiObject = TUniqueHandle<GdiObjectTraits<T>>;
using TBrushHandle = TGdiObject<HBRUSH>;
using TPenHandle = TGdiObject<HPEN>;
using TBitmapHandle = TGdiObject<HBITMAP>;

// A DC made by CreateCompatibleDC, deleted with DeleteDC.
struct MemoryDCTraits {
    using Type = HDC;
    static HDC Empty() { return nullptr; }
    static bool Valid(HDC h) { return h != nullptr; }
    static void Close(HDC h) { DeleteDC(h); }
};
using TMemoryDC = TUniqueHandle<MemoryDCTraits>;

// A window's DC from GetDC (null: the screen's), released to that window.
class TWindowDC {
public:
    TWindowDC() = default;
    explicit TWindowDC(HWND window) { Acquire(window); }
    ~TWindowDC() { Reset(); }
    TWindowDC(const TWindowDC&) = delete;
    TWindowDC& operator=(const TWindowDC&) = delete;

    void Acquire(HWND window)
    {
        Reset();
        window_ = window;
        dc_ = GetDC(window);
    }
    void Reset()
    {
        if (dc_)
            ReleaseDC(window_, dc_);
        dc_ = nullptr;
        window_ = nullptr;
    }
    HDC Get() const { return dc_; }

private:
    HWND window_ = nullptr;
    HDC dc_ = nullptr;
};

// An object selected into a DC for the length of the scope; the object it replaced is
// selected back at the end, before either the object or the DC is released.
class TSelectObject {
public:
    TSelectObject(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
    ~TSelectObject()
    {
        if (old_ && old_ != HGDI_ERROR)
            SelectObject(dc_, old_);
    }
    TSelectObject(const TSelectObject&) = delete;
    TSelectObject& operator=(const TSelectObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};
