// A test-only Windows program for the end-to-end scenarios, run in the wizard's prefix:
//   probe hold PATH     opens the file without sharing, as a running uninstaller or a virus
//                       scanner does, prints "held" and waits until it is ended;
//   probe text TITLE    prints the texts of the message box with that title, one a line;
//   probe window TITLE  prints the title of the top-level window with that title, then the
//                       texts of its visible windows, one a line;
//   probe value KEY NAME  prints the string value NAME of the registry key KEY (HKLM\... or
//                       HKCU\...), or exits 1 when there is none.
// Texts are read in UTF-16 and printed in UTF-8, whatever the system's code page; the
// arguments are ASCII.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "platform/win32/wide_text.h"

namespace {

using platform::win32::Narrow;
using platform::win32::Widen;

// By message: GetWindowText does not read the controls of another process (an edit's text).
std::string TextOf(HWND window) {
    std::wstring text(static_cast<std::size_t>(SendMessageW(window, WM_GETTEXTLENGTH, 0, 0)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        SendMessageW(window, WM_GETTEXT, static_cast<WPARAM>(text.size()), reinterpret_cast<LPARAM>(text.data()))));
    return Narrow(text);
}

void PrintLine(const std::string& text) { std::printf("%s\n", text.c_str()); }

BOOL CALLBACK PrintStaticText(HWND child, LPARAM) noexcept {
    wchar_t className[16] = {};
    GetClassNameW(child, className, 16);
    if (lstrcmpiW(className, L"Static") != 0) return TRUE;
    if (const std::string text = TextOf(child); !text.empty()) PrintLine(text);
    return TRUE;
}

BOOL CALLBACK PrintVisibleText(HWND child, LPARAM) noexcept {
    if (!IsWindowVisible(child)) return TRUE;
    if (const std::string text = TextOf(child); !text.empty()) PrintLine(text);
    return TRUE;
}

int PrintValue(const std::string& key, const std::string& name) {
    const auto separator = key.find('\\');
    if (separator == std::string::npos) return 2;
    const std::string root = key.substr(0, separator);
    const HKEY rootKey = root == "HKLM" ? HKEY_LOCAL_MACHINE : root == "HKCU" ? HKEY_CURRENT_USER : nullptr;
    if (!rootKey) return 2;
    HKEY opened = nullptr;
    if (RegOpenKeyExW(rootKey, Widen(key.substr(separator + 1)).c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS)
        return 1;
    wchar_t value[2048] = {};
    DWORD type = 0, size = sizeof value - sizeof(wchar_t);  // room for a terminating zero
    const LONG result =
        RegQueryValueExW(opened, Widen(name).c_str(), nullptr, &type, reinterpret_cast<BYTE*>(value), &size);
    RegCloseKey(opened);
    if (result != ERROR_SUCCESS || type != REG_SZ) return 1;
    PrintLine(Narrow(value));  // zero-filled beyond the data
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "hold") == 0) {
        const HANDLE file = CreateFileW(Widen(argv[2]).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
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
        const HWND box = FindWindowW(L"#32770", Widen(argv[2]).c_str());
        if (box == nullptr) return 1;
        EnumChildWindows(box, PrintStaticText, 0);
        return 0;
    }
    if (argc == 3 && std::strcmp(argv[1], "window") == 0) {
        const HWND window = FindWindowW(nullptr, Widen(argv[2]).c_str());
        if (window == nullptr) return 1;
        PrintLine(TextOf(window));
        EnumChildWindows(window, PrintVisibleText, 0);
        return 0;
    }
    if (argc == 4 && std::strcmp(argv[1], "value") == 0) return PrintValue(argv[2], argv[3]);
    std::fprintf(stderr, "usage: probe hold PATH | probe text TITLE | probe window TITLE | probe value KEY NAME\n");
    return 2;
}
