// RAII owners of GDI and common-control resources: fonts, bitmaps, icons, image lists, objects
// selected into a device context (put back on scope exit), and device contexts of windows.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <type_traits>
#include <utility>

namespace kv {

// Owns one font handle.
class FontOwner {
public:
    FontOwner() = default;
    explicit FontOwner(HFONT font) noexcept : font_(font) {}
    FontOwner(const FontOwner&) = delete;
    FontOwner& operator=(const FontOwner&) = delete;
    FontOwner(FontOwner&& other) noexcept : font_(std::exchange(other.font_, nullptr)) {}
    FontOwner& operator=(FontOwner&& other) noexcept {
        std::swap(font_, other.font_);
        return *this;
    }
    ~FontOwner() {
        if (font_)
            DeleteObject(font_);
    }

    HFONT Get() const noexcept { return font_; }
    explicit operator bool() const noexcept { return font_ != nullptr; }

private:
    HFONT font_ = nullptr;
};

struct BitmapDeleter {
    void operator()(HBITMAP bitmap) const noexcept { DeleteObject(bitmap); }
};
using BitmapOwner = std::unique_ptr<std::remove_pointer_t<HBITMAP>, BitmapDeleter>;

struct IconDeleter {
    void operator()(HICON icon) const noexcept { DestroyIcon(icon); }
};
using IconOwner = std::unique_ptr<std::remove_pointer_t<HICON>, IconDeleter>;

struct ImageListDeleter {
    void operator()(HIMAGELIST images) const noexcept { ImageList_Destroy(images); }
};
using ImageListOwner = std::unique_ptr<std::remove_pointer_t<HIMAGELIST>, ImageListDeleter>;

// Selects an object into a device context for a scope; the previous one comes back at its end.
class ObjectSelection {
public:
    ObjectSelection(HDC dc, HGDIOBJ object) noexcept
        : dc_(dc), previous_(object ? SelectObject(dc, object) : nullptr) {}
    ObjectSelection(const ObjectSelection&) = delete;
    ObjectSelection& operator=(const ObjectSelection&) = delete;
    ~ObjectSelection() {
        if (previous_)
            SelectObject(dc_, previous_);
    }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// BeginPaint and EndPaint for a scope.
class PaintSession {
public:
    explicit PaintSession(HWND window) noexcept : window_(window) {
        dc_ = BeginPaint(window, &paint_);
    }
    PaintSession(const PaintSession&) = delete;
    PaintSession& operator=(const PaintSession&) = delete;
    ~PaintSession() { EndPaint(window_, &paint_); }
    HDC Get() const noexcept { return dc_; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_ = nullptr;
};

// The device context of a window (null: the screen) for a scope: its client area, or the whole
// window with its frame.
class WindowDC {
public:
    enum Area { Client, WholeWindow };
    explicit WindowDC(HWND window, Area area = Client) noexcept
        : window_(window), dc_(area == Client ? GetDC(window) : GetWindowDC(window)) {}
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    ~WindowDC() {
        if (dc_)
            ReleaseDC(window_, dc_);
    }

    HDC Get() const noexcept { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

} // namespace kv
