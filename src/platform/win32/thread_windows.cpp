#include "platform/win32/thread_windows.h"

namespace platform::win32 {
namespace {

BOOL CALLBACK CollectWindow(HWND window, LPARAM list) noexcept {
    try {
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
        return TRUE;
    } catch (...) {
        return FALSE;  // out of memory: the windows found so far will do
    }
}

}  // namespace

std::vector<HWND> ThreadTopLevelWindows() {
    std::vector<HWND> windows;
    EnumThreadWindows(GetCurrentThreadId(), CollectWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

HWND MainWindow() {
    for (HWND window : ThreadTopLevelWindows())
        if (IsWindowVisible(window) && !GetWindow(window, GW_OWNER)) return window;
    return nullptr;
}

}  // namespace platform::win32
