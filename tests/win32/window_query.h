#pragma once
// What the Wine tests read back from the real windows behind the controls.
#include <windows.h>

#include <string>

#include "platform/win32/peer_window.h"
#include "platform/win32/wide_text.h"
#include "ui/control.h"

namespace window_query {

inline HWND HandleOf(const TControl& control) {
    auto* peer = dynamic_cast<platform::win32::WindowPeer*>(control.Peer());
    return peer ? peer->Handle() : nullptr;
}

inline std::string ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return platform::win32::Narrow(name);
}

// As UTF-8, read in UTF-16: what any user of the window sees, whatever the code page.
inline std::string TextOf(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return platform::win32::Narrow(text);
}

// Position and size in the parent's client area.
inline TBounds BoundsOf(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    MapWindowPoints(HWND_DESKTOP, GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
    return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

// A push button drawn with the default frame.
inline bool Framed(HWND button) { return (GetWindowLongA(button, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON; }

// A left click posted in the middle of the window; it lands when the messages are pumped.
inline void PostClick(HWND window) {
    const TBounds bounds = BoundsOf(window);
    const LPARAM centre = MAKELPARAM(bounds.Width / 2, bounds.Height / 2);
    PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, centre);
    PostMessageA(window, WM_LBUTTONUP, 0, centre);
}

}  // namespace window_query
