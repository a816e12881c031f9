// The message queue of the user-interface thread, hidden tool windows and their timer,
// passed through to user32.
#include <deque>
#include <utility>

#include "platform/guard.h"
#include "platform/win32/messages_window.h"
#include "platform/win32/wide_text.h"

namespace platform {
namespace {

constexpr UINT kTaskMessage = WM_USER + 1;
bool quitReceived = false;

LRESULT CALLBACK WindowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    const auto* impl = reinterpret_cast<const MessageWindow::Impl*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (impl == nullptr || (message != WM_TIMER && message < WM_USER))
        return DefWindowProcW(hwnd, message, wParam, lParam);
    Guarded([&] {
        // A copy: the handler may destroy its own window.
        const MessageHandler handler = impl->handler;
        handler(message, wParam, lParam);
    });
    return 0;
}

bool RegisterOnce(const std::wstring& className) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSW known{};
    if (GetClassInfoW(instance, className.c_str(), &known)) return true;
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = WindowProcedure;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = className.c_str();
    return RegisterClassW(&windowClass) != 0;
}

// Tasks wait here; one posted message per task wakes the queue.
struct TaskQueue {
    std::deque<std::function<void()>> tasks;
    MessageWindow window{"QuorvaneTaskWindow", [this](unsigned message, std::uintptr_t, std::intptr_t) {
                             if (message != kTaskMessage || tasks.empty()) return;
                             std::function<void()> task = std::move(tasks.front());
                             tasks.pop_front();
                             task();
                         }};
};

TaskQueue& Tasks() {
    static TaskQueue queue;
    return queue;
}

}  // namespace

void ProcessMessages() {
    RunQueueLookHook();
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            quitReceived = true;
            return;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

void WaitMessage() {
    RunQueueLookHook();
    MsgWaitForMultipleObjectsEx(0, nullptr, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
}

void PostQuitMessage() { ::PostQuitMessage(0); }

bool QuitReceived() { return quitReceived; }

void PostTask(std::function<void()> task) {
    TaskQueue& queue = Tasks();
    queue.tasks.push_back(std::move(task));
    PostMessageW(queue.window.impl().hwnd.Get(), kTaskMessage, 0, 0);
}

MessageWindow::MessageWindow(const std::string& className, MessageHandler handler) : impl_(std::make_unique<Impl>()) {
    impl_->handler = std::move(handler);
    const std::wstring wideClass = win32::Widen(className);
    if (!RegisterOnce(wideClass)) return;
    impl_->hwnd.Reset(CreateWindowExW(WS_EX_TOOLWINDOW, wideClass.c_str(), L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                      GetModuleHandleW(nullptr), impl_.get()));
}

// The window's last messages, sent while it is destroyed, find no handler.
MessageWindow::~MessageWindow() {
    if (impl_->hwnd) SetWindowLongPtrW(impl_->hwnd.Get(), GWLP_USERDATA, 0);
}

bool MessageWindow::Valid() const { return static_cast<bool>(impl_->hwnd); }

bool MessageWindow::SetTimer(unsigned interval) { return ::SetTimer(impl_->hwnd.Get(), 1, interval, nullptr) != 0; }

void MessageWindow::KillTimer() { ::KillTimer(impl_->hwnd.Get(), 1); }

void MessageWindow::Discard(unsigned message) {
    MSG pending;
    while (PeekMessageW(&pending, impl_->hwnd.Get(), message, message, PM_REMOVE)) {
    }
}

}  // namespace platform
