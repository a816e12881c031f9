// Reference: a bare WSAAsyncSelect loop, one recv of up to 64 KiB per read notification,
// every message through GetMessage and DispatchMessage to a hidden window.
#include "reference_winsock.h"

namespace {

constexpr UINT SocketMessage = WM_APP + 1;
constexpr char ClassName[] = "ref_winsock_async";

struct Receiver {
    SOCKET socket;
    reference::BodySink& sink;
    std::vector<char> block = std::vector<char>(reference::BlockSize);
    bool failed = false;
    bool ended = false;

    // One recv; false once the transfer has ended or failed.
    bool receiveOnce() {
        const int received = recv(socket, block.data(), reference::BlockSize, 0);
        if (received > 0) {
            failed = !sink.take(block.data(), static_cast<std::size_t>(received));
            return !failed;
        }
        if (received == 0) ended = true;
        if (received < 0 && WSAGetLastError() != WSAEWOULDBLOCK) failed = true;
        return false;
    }
};

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != SocketMessage) return DefWindowProcA(window, message, wParam, lParam);
    auto* receiver = reinterpret_cast<Receiver*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (WSAGETSELECTERROR(lParam) != 0) {
        receiver->failed = true;
    } else if (WSAGETSELECTEVENT(lParam) == FD_READ) {
        receiver->receiveOnce();
    } else {
        // What is left after the close notification is read at once.
        while (receiver->receiveOnce()) {
        }
        receiver->ended = receiver->ended || !receiver->failed;
    }
    if (receiver->ended || receiver->failed) PostQuitMessage(0);
    return 0;
}

class HiddenWindow {
public:
    HiddenWindow() {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = windowProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = ClassName;
        if (!RegisterClassA(&windowClass)) return;
        registered_ = true;
        handle_ =
            CreateWindowA(ClassName, "", WS_OVERLAPPED, 0, 0, 0, 0, nullptr, nullptr, windowClass.hInstance, nullptr);
    }
    ~HiddenWindow() {
        if (handle_) DestroyWindow(handle_);
        if (registered_) UnregisterClassA(ClassName, GetModuleHandleA(nullptr));
    }
    HiddenWindow(const HiddenWindow&) = delete;
    HiddenWindow& operator=(const HiddenWindow&) = delete;
    HWND get() const { return handle_; }

private:
    bool registered_ = false;
    HWND handle_ = nullptr;
};

void download(HWND window, const reference::Url& url, reference::OutputFile& file, reference::Transfer& transfer) {
    reference::Socket socket;
    if (!socket.open(url)) return;
    reference::BodySink sink(file, transfer);
    Receiver receiver{socket.get(), sink};
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&receiver));
    if (WSAAsyncSelect(socket.get(), window, SocketMessage, FD_READ | FD_CLOSE) != 0) return;
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    transfer.complete = receiver.ended && !receiver.failed;
}

}  // namespace

// The window is made before the transfer is timed: Wine's first window also connects to
// the display, which is start-up, not download.
int main(int argc, char** argv) {
    const reference::WinsockSession winsock;
    const HiddenWindow window;
    if (!winsock.ok() || !window.get()) return 1;
    return reference::runMeasured(argc, argv, [&](const char*, const reference::Url& url, auto& file, auto& transfer) {
        download(window.get(), url, file, transfer);
    });
}
