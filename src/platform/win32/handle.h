#pragma once
// Ownership of the system's handles and COM interfaces, and the scopes that pair a
// system call with its undoing: each is closed, released or undone exactly once, also
// when the scope is left by an exception.
#include <winsock2.h>
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <cstdint>
#include <utility>

namespace platform::win32 {

// A handle that Close frees. Invalid is the value that holds nothing, as an integer
// because INVALID_HANDLE_VALUE (-1) is no constant pointer.
template <class T, auto Close, std::intptr_t Invalid = 0>
class Handle {
public:
    Handle() = default;
    explicit Handle(T value) : value_(value) {}
    Handle(Handle&& other) noexcept : value_(std::exchange(other.value_, None())) {}
    Handle& operator=(Handle&& other) noexcept {
        if (this != &other) Reset(std::exchange(other.value_, None()));
        return *this;
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    ~Handle() { Reset(); }

    T Get() const { return value_; }
    explicit operator bool() const { return value_ != None(); }
    // For the system call that fills in a new handle.
    T* Put() {
        Reset();
        return &value_;
    }
    T Release() { return std::exchange(value_, None()); }
    void Reset(T value = None()) {
        if (value_ != None()) Close(value_);
        value_ = value;
    }

private:
    static T None() {
        if constexpr (Invalid == 0)
            return T{};
        else
            return reinterpret_cast<T>(Invalid);
    }
    T value_ = None();
};

using RegistryKeyHandle = Handle<HKEY, RegCloseKey>;
using FindHandle = Handle<HANDLE, FindClose, -1>;
using FileHandle = Handle<HANDLE, CloseHandle, -1>;
using ItemList = Handle<LPITEMIDLIST, CoTaskMemFree>;
using TaskMemoryText = Handle<LPWSTR, CoTaskMemFree>;
using WindowHandle = Handle<HWND, DestroyWindow>;
using MenuHandle = Handle<HMENU, DestroyMenu>;
using MemoryDc = Handle<HDC, DeleteDC>;
template <class Object>
using GdiObject = Handle<Object, DeleteObject>;
using FontHandle = GdiObject<HFONT>;
using BitmapHandle = GdiObject<HBITMAP>;
using BrushHandle = GdiObject<HBRUSH>;

template <class Interface>
class ComPtr {
public:
    ComPtr() = default;
    ComPtr(ComPtr&& other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other) {
            Release();
            pointer_ = std::exchange(other.pointer_, nullptr);
        }
        return *this;
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ~ComPtr() { Release(); }

    Interface* operator->() const { return pointer_; }
    Interface* Get() const { return pointer_; }
    explicit operator bool() const { return pointer_ != nullptr; }
    Interface** Put() {
        Release();
        return &pointer_;
    }
    void** PutVoid() { return reinterpret_cast<void**>(Put()); }

private:
    void Release() {
        if (pointer_) std::exchange(pointer_, nullptr)->Release();
    }
    Interface* pointer_ = nullptr;
};

// Runs the undoing when the scope ends, however it ends.
template <class Undo>
class ScopeExit {
public:
    explicit ScopeExit(Undo undo) : undo_(std::move(undo)) {}
    ~ScopeExit() { undo_(); }
    ScopeExit(const ScopeExit&) = delete;
    ScopeExit& operator=(const ScopeExit&) = delete;

private:
    Undo undo_;
};

// A window's device context (GetDC), released to that window.
class WindowDC {
public:
    explicit WindowDC(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowDC() {
        if (dc_) ReleaseDC(window_, dc_);
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    HDC Get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// WM_PAINT's device context, from BeginPaint to EndPaint.
class PaintScope {
public:
    explicit PaintScope(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
    ~PaintScope() { EndPaint(window_, &paint_); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    HDC Get() const { return dc_; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

// An object selected into a device context for the scope; the one it replaced goes back.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~SelectedObject() { SelectObject(dc_, previous_); }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// Winsock started for the scope; cleaned up only after a start that succeeded, so that
// the system's count of users stays right.
class SocketLibraryScope {
public:
    explicit SocketLibraryScope(WORD version) : started_(WSAStartup(version, &data_) == 0) {}
    ~SocketLibraryScope() {
        if (started_) WSACleanup();
    }
    SocketLibraryScope(const SocketLibraryScope&) = delete;
    SocketLibraryScope& operator=(const SocketLibraryScope&) = delete;
    bool Started() const { return started_; }
    const WSADATA& Data() const { return data_; }

private:
    WSADATA data_{};
    bool started_;
};

}  // namespace platform::win32
