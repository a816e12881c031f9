// The sample updater and uninstaller: each only says what it is. The build gives each its
// own title and text.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    MessageBoxA(nullptr, QUORVANE_SAMPLE_TEXT, QUORVANE_SAMPLE_TITLE, MB_OK | MB_ICONINFORMATION);
    return 0;
}
