// Scope guards for the Win32 objects the wizard creates: each guard owns one object and frees it
// with the matching call when it goes out of scope. Guards move, never copy.
#pragma once

#include <windows.h>
#include <unknwn.h>

// A GDI object (font, brush, pen, bitmap, region) freed with DeleteObject.
template <class T> class KZGdiObject {
public:
    KZGdiObject() = default;
    explicit KZGdiObject(T object) : object_(object) {}
    ~KZGdiObject() { Reset(); }
    KZGdiObject(KZGdiObject&& other) noexcept : object_(other.Release()) {}
    KZGdiObject& operator=(KZGdiObject&& other) noexcept {
        if (this != &other)
            Reset(other.Release());
        return *this;
    }
    KZGdiObject(const KZGdiObject&) = delete;
    KZGdiObject& operator=(const KZGdiObject&) = delete;

    void Reset(T object = nullptr) {
        if (object_)
            DeleteObject(object_);
        object_ = object;
    }
    T Release() {
        T object = object_;
        object_ = nullptr;
        return object;
    }
    T Get() const { return object_; }
    operator T() const { return object_; }

private:
    T object_ = nullptr;
};

typedef KZGdiObject<HFONT> KZFont;
typedef KZGdiObject<HBRUSH> KZBrush;
typedef KZGdiObject<HPEN> KZPen;
typedef KZGdiObject<HBITMAP> KZBitmap;
typedef KZGdiObject<HRGN> KZRegion;

// Selects an object into a DC and puts the previous one back.
class KZSelectObject {
public:
    KZSelectObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~KZSelectObject() { SelectObject(dc_, previous_); }
    KZSelectObject(const KZSelectObject&) = delete;
    KZSelectObject& operator=(const KZSelectObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// A window's DC from GetDC, released with ReleaseDC.
class KZWindowDC {
public:
    explicit KZWindowDC(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~KZWindowDC() {
        if (dc_)
            ReleaseDC(window_, dc_);
    }
    KZWindowDC(const KZWindowDC&) = delete;
    KZWindowDC& operator=(const KZWindowDC&) = delete;
    HDC Get() const { return dc_; }
    operator HDC() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// BeginPaint / EndPaint.
class KZPaintDC {
public:
    explicit KZPaintDC(HWND window) : window_(window) { dc_ = BeginPaint(window, &paint_); }
    ~KZPaintDC() { EndPaint(window_, &paint_); }
    KZPaintDC(const KZPaintDC&) = delete;
    KZPaintDC& operator=(const KZPaintDC&) = delete;
    HDC Get() const { return dc_; }
    operator HDC() const { return dc_; }
    const RECT& PaintRect() const { return paint_.rcPaint; }

private:
    HWND window_;
    PAINTSTRUCT paint_;
    HDC dc_;
};

// A memory DC from CreateCompatibleDC, freed with DeleteDC.
class KZMemoryDC {
public:
    explicit KZMemoryDC(HDC compatible) : dc_(CreateCompatibleDC(compatible)) {}
    ~KZMemoryDC() {
        if (dc_)
            DeleteDC(dc_);
    }
    KZMemoryDC(const KZMemoryDC&) = delete;
    KZMemoryDC& operator=(const KZMemoryDC&) = delete;
    HDC Get() const { return dc_; }
    operator HDC() const { return dc_; }

private:
    HDC dc_;
};

// A registry key, closed with RegCloseKey.
class KZRegKey {
public:
    KZRegKey() = default;
    ~KZRegKey() { Reset(); }
    KZRegKey(const KZRegKey&) = delete;
    KZRegKey& operator=(const KZRegKey&) = delete;

    bool Open(HKEY parent, const char* path, REGSAM access) {
        Reset();
        return RegOpenKeyExA(parent, path, 0, access, &key_) == ERROR_SUCCESS;
    }
    bool Create(HKEY parent, const char* path) {
        Reset();
        return RegCreateKeyExA(parent, path, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &key_,
                               nullptr) == ERROR_SUCCESS;
    }
    void Reset() {
        if (key_)
            RegCloseKey(key_);
        key_ = nullptr;
    }
    HKEY Get() const { return key_; }
    operator HKEY() const { return key_; }

private:
    HKEY key_ = nullptr;
};

// A kernel handle, closed with CloseHandle (null and INVALID_HANDLE_VALUE hold nothing).
class KZHandle {
public:
    KZHandle() = default;
    explicit KZHandle(HANDLE handle) : handle_(handle) {}
    ~KZHandle() { Reset(); }
    KZHandle(KZHandle&& other) noexcept : handle_(other.Release()) {}
    KZHandle& operator=(KZHandle&& other) noexcept {
        if (this != &other)
            Reset(other.Release());
        return *this;
    }
    KZHandle(const KZHandle&) = delete;
    KZHandle& operator=(const KZHandle&) = delete;

    void Reset(HANDLE handle = nullptr) {
        if (handle_ && handle_ != INVALID_HANDLE_VALUE)
            CloseHandle(handle_);
        handle_ = handle;
    }
    HANDLE Release() {
        HANDLE handle = handle_;
        handle_ = nullptr;
        return handle;
    }
    HANDLE Get() const { return handle_; }
    bool IsValid() const { return handle_ && handle_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE handle_ = nullptr;
};

// A COM interface pointer holding one reference.
template <class T> class KZComPtr {
public:
    KZComPtr() = default;
    ~KZComPtr() { Reset(); }
    KZComPtr(const KZComPtr& other) : pointer_(other.pointer_) {
        if (pointer_)
            pointer_->AddRef();
    }
    KZComPtr& operator=(const KZComPtr& other) {
        if (other.pointer_)
            other.pointer_->AddRef();
        Reset();
        pointer_ = other.pointer_;
        return *this;
    }
    void Reset() {
        if (pointer_)
            pointer_->Release();
        pointer_ = nullptr;
    }
    // For the out-parameter of QueryInterface and the creation functions.
    T** Receive() {
        Reset();
        return &pointer_;
    }
    T* Get() const { return pointer_; }
    T* operator->() const { return pointer_; }
    explicit operator bool() const { return pointer_ != nullptr; }

private:
    T* pointer_ = nullptr;
};

// The wait cursor while the scope lasts.
class KZWaitCursor {
public:
    KZWaitCursor() : previous_(SetCursor(LoadCursor(nullptr, IDC_WAIT))) {}
    ~KZWaitCursor() { SetCursor(previous_); }
    KZWaitCursor(const KZWaitCursor&) = delete;
    KZWaitCursor& operator=(const KZWaitCursor&) = delete;

private:
    HCURSOR previous_;
};
