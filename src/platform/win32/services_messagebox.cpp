// Application-modal message boxes.
#include <windows.h>

#include <vector>

#include "platform/services.h"
#include "platform/win32/thread_windows.h"

namespace platform {
namespace {

// Disables every enabled visible top-level window of the thread for its lifetime, and
// then gives the activation and the keyboard focus back to where they were.
class ModalScope {
public:
    ModalScope() : active_(GetActiveWindow()), focus_(GetFocus()) {
        for (HWND window : win32::ThreadTopLevelWindows()) {
            if (!IsWindowVisible(window) || !IsWindowEnabled(window)) continue;
            EnableWindow(window, FALSE);
            disabled_.push_back(window);
        }
    }
    ~ModalScope() {
        for (HWND window : disabled_)
            if (IsWindow(window)) EnableWindow(window, TRUE);
        if (active_ && IsWindow(active_)) SetActiveWindow(active_);
        if (focus_ && IsWindow(focus_)) SetFocus(focus_);
    }
    ModalScope(const ModalScope&) = delete;
    ModalScope& operator=(const ModalScope&) = delete;

private:
    HWND active_;
    HWND focus_;
    std::vector<HWND> disabled_;
};

}  // namespace

MessageBoxAnswer ShowMessageBox(const std::string& text, const std::string& caption, MessageBoxKind kind) {
    const HWND owner = win32::MainWindow();
    ModalScope modal;
    return static_cast<MessageBoxAnswer>(
        MessageBoxA(owner, text.c_str(), caption.c_str(), static_cast<UINT>(kind)));
}

}  // namespace platform
