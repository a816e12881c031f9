// Application-modal message boxes.
#include <windows.h>

#include <utility>
#include <vector>

#include "platform/services.h"
#include "platform/win32/thread_windows.h"
#include "platform/win32/wide_text.h"

namespace platform {
namespace {

// Disables every visible top-level window of the thread for its lifetime, then puts back
// each one's enabled state (the box re-enables its owner even when that was disabled
// before), the activation and the keyboard focus.
class ModalScope {
public:
    ModalScope() : active_(GetActiveWindow()), focus_(GetFocus()) {
        for (HWND window : win32::ThreadTopLevelWindows()) {
            if (!IsWindowVisible(window)) continue;
            windows_.push_back({window, IsWindowEnabled(window) != FALSE});
            EnableWindow(window, FALSE);
        }
    }
    ~ModalScope() {
        for (const auto& [window, enabled] : windows_)
            if (IsWindow(window)) EnableWindow(window, enabled);
        if (active_ && IsWindow(active_)) SetActiveWindow(active_);
        if (focus_ && IsWindow(focus_)) SetFocus(focus_);
    }
    ModalScope(const ModalScope&) = delete;
    ModalScope& operator=(const ModalScope&) = delete;

private:
    HWND active_;
    HWND focus_;
    std::vector<std::pair<HWND, bool>> windows_;
};

}  // namespace

MessageBoxAnswer ShowMessageBox(const std::string& text, const std::string& caption, MessageBoxKind kind) {
    const HWND owner = win32::MainWindow();
    ModalScope modal;
    return static_cast<MessageBoxAnswer>(
        MessageBoxW(owner, win32::Widen(text).c_str(), win32::Widen(caption).c_str(), static_cast<UINT>(kind)));
}

}  // namespace platform
