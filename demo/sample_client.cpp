// The sample Quorvane client the demo installs: one window that says what it is, so a
// newcomer sees the installed product start at the end of the wizard.
#include <windows.h>

namespace {

constexpr char kClassName[] = "QuorvaneSampleClient";
constexpr char kTitle[] = "Quorvane (sample client)";
constexpr char kText[] =
    "This is the Quorvane sample client.\r\n\r\n"
    "The setup wizard downloaded it from the demo web server and installed it.";

LRESULT CALLBACK ClientWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    switch (message) {
        case WM_CREATE:
            CreateWindowExA(0, "STATIC", kText, WS_CHILD | WS_VISIBLE | SS_LEFT, 16, 16, 360, 80, window, nullptr,
                            reinterpret_cast<CREATESTRUCTA*>(lParam)->hInstance, nullptr);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = ClientWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kClassName;
    if (RegisterClassA(&windowClass) == 0) return 1;

    HWND window = CreateWindowExA(0, kClassName, kTitle, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 400, 150,
                                  nullptr, nullptr, instance, nullptr);
    if (window == nullptr) return 1;
    ShowWindow(window, showCommand);

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}
