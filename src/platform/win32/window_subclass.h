#pragma once
// A window handed to a procedure of ours, with the object that owns it, for as long as
// this lives. Both are kept in the window itself (its procedure and its user data): Wine
// reads those of a window of this process without a call to its server, while window
// properties (and comctl32's subclassing, which keeps its data in one) cost a call per
// message.
#include <windows.h>

#include "platform/exception.h"

namespace platform::win32 {

class WindowSubclass {
public:
    WindowSubclass(HWND window, WNDPROC procedure, void* owner) : window_(window), procedure_(procedure) {
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owner));
        next_ =
            reinterpret_cast<WNDPROC>(SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure)));
        if (!next_) {
            SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            throw Exception("Error subclassing a window");
        }
    }
    // The window's own procedure again. One that was subclassed over ours keeps its
    // place; ours then only passes messages on (Orphaned).
    ~WindowSubclass() {
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        if (GetWindowLongPtrW(window_, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(procedure_))
            SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(next_));
    }
    WindowSubclass(const WindowSubclass&) = delete;
    WindowSubclass& operator=(const WindowSubclass&) = delete;

    // The procedure the window had before: every message ours leaves goes there.
    WNDPROC Next() const { return next_; }

    // The owner of a window whose procedure is the given one; null for any other window,
    // whatever its user data holds, and for one of another process.
    static void* Owner(HWND window, WNDPROC procedure) {
        if (!window || GetWindowLongPtrW(window, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(procedure)) return nullptr;
        return reinterpret_cast<void*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    }

    // A message to our procedure after its owner went: the class's procedure handles it.
    static LRESULT Orphaned(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        const auto procedure = reinterpret_cast<WNDPROC>(GetClassLongPtrW(window, GCLP_WNDPROC));
        return procedure ? CallWindowProcW(procedure, window, message, wParam, lParam)
                         : DefWindowProcW(window, message, wParam, lParam);
    }

private:
    HWND window_;
    WNDPROC procedure_;
    WNDPROC next_ = nullptr;
};

}  // namespace platform::win32
