// A test-only Windows program for the end-to-end scenarios, run in the wizard's prefix:
//   probe hold PATH   opens the file without sharing, as a running uninstaller or a virus
//                     scanner does, prints "held" and waits until it is ended;
//   probe text TITLE  prints the texts of the message box with that title, one a line.
#include <windows.h>

#include <cstdio>
#include <cstring>

namespace {

BOOL CALLBACK PrintStaticText(HWND child, LPARAM) {
    char className[16] = {};
    char text[1024] = {};
    GetClassNameA(child, className, sizeof className);
    if (lstrcmpiA(className, "Static") == 0 && GetWindowTextA(child, text, sizeof text) > 0) std::printf("%s\n", text);
    return TRUE;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "hold") == 0) {
        const HANDLE file =
            CreateFileA(argv[2], GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            std::printf("cannot open %s: error %lu\n", argv[2], GetLastError());
            return 1;
        }
        std::printf("held\n");
        std::fflush(stdout);
        Sleep(INFINITE);
        return 0;
    }
    if (argc == 3 && std::strcmp(argv[1], "text") == 0) {
        const HWND box = FindWindowA("#32770", argv[2]);
        if (box == nullptr) return 1;
        EnumChildWindows(box, PrintStaticText, 0);
        return 0;
    }
    std::fprintf(stderr, "usage: probe hold PATH | probe text TITLE\n");
    return 2;
}
