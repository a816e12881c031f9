#pragma once
// Ownership of the system's handles and COM interfaces: closed or released exactly once.
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <utility>

namespace platform::win32 {

template <class T, class Traits>
class Handle {
public:
    Handle() = default;
    explicit Handle(T value) : value_(value) {}
    Handle(Handle&& other) noexcept : value_(std::exchange(other.value_, Traits::Invalid())) {}
    Handle& operator=(Handle&& other) noexcept {
        if (this != &other) Reset(std::exchange(other.value_, Traits::Invalid()));
        return *this;
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    ~Handle() { Reset(); }

    T Get() const { return value_; }
    explicit operator bool() const { return value_ != Traits::Invalid(); }
    // For the system call that fills in a new handle.
    T* Put() {
        Reset();
        return &value_;
    }
    T Release() { return std::exchange(value_, Traits::Invalid()); }
    void Reset(T value = Traits::Invalid()) {
        if (value_ != Traits::Invalid()) Traits::Close(value_);
        value_ = value;
    }

private:
    T value_ = Traits::Invalid();
};

struct RegistryKeyTraits {
    static HKEY Invalid() { return nullptr; }
    static void Close(HKEY key) { RegCloseKey(key); }
};
struct FindTraits {
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE find) { FindClose(find); }
};
struct ItemListTraits {
    static LPITEMIDLIST Invalid() { return nullptr; }
    static void Close(LPITEMIDLIST list) { CoTaskMemFree(list); }
};
struct WindowTraits {
    static HWND Invalid() { return nullptr; }
    static void Close(HWND window) { DestroyWindow(window); }
};

using RegistryKeyHandle = Handle<HKEY, RegistryKeyTraits>;
using FindHandle = Handle<HANDLE, FindTraits>;
using ItemList = Handle<LPITEMIDLIST, ItemListTraits>;
using WindowHandle = Handle<HWND, WindowTraits>;

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

}  // namespace platform::win32
