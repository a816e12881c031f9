// Real message boxes: a watcher thread finds each box, notes its buttons, its icon and
// the state of the program's other windows, and presses a button.
#include <windows.h>

#include <gtest/gtest.h>

#include <thread>

#include "platform/services.h"
#include "platform/win32/handle.h"

namespace {

using namespace platform;

struct BoxSeen {
    bool found = false;
    bool ok = false, yes = false, no = false;
    HICON icon = nullptr;
    bool mainEnabled = true, otherEnabled = true;
};

BOOL CALLBACK FindIcon(HWND child, LPARAM seen) noexcept {
    if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON) return TRUE;
    reinterpret_cast<BoxSeen*>(seen)->icon = reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0));
    return FALSE;
}

// Runs on the watcher thread while the test thread sits in the box's modal loop.
void AnswerBox(const char* caption, int button, HWND main, HWND other, BoxSeen& seen) {
    for (int attempt = 0; attempt < 300; ++attempt) {
        HWND box = FindWindowA("#32770", caption);
        if (box && IsWindowVisible(box)) {
            seen.found = true;
            seen.ok = GetDlgItem(box, IDOK) != nullptr;
            seen.yes = GetDlgItem(box, IDYES) != nullptr;
            seen.no = GetDlgItem(box, IDNO) != nullptr;
            EnumChildWindows(box, FindIcon, reinterpret_cast<LPARAM>(&seen));
            seen.mainEnabled = IsWindowEnabled(main);
            seen.otherEnabled = IsWindowEnabled(other);
            PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(box, button)));
            return;
        }
        Sleep(100);
    }
}

win32::WindowHandle TopLevel(const char* title, DWORD style) {
    static const ATOM windowClass = [] {
        WNDCLASSA description = {};
        description.lpfnWndProc = DefWindowProcA;
        description.hInstance = GetModuleHandleA(nullptr);
        description.lpszClassName = "QuorvaneServicesTest";
        return RegisterClassA(&description);
    }();
    return win32::WindowHandle(CreateWindowExA(0, MAKEINTATOM(windowClass), title, style | WS_OVERLAPPEDWINDOW, 10, 10,
                                               300, 200, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr));
}

TEST(MessageBoxes, StyleButtonsAndTheProgramsWindowsWhileUpAndAfter) {
    const struct {
        MessageBoxKind kind;
        int press;
        bool ok, yes, no;
        LPCSTR icon;
        MessageBoxAnswer answer;
    } cases[] = {
        {MessageBoxKind::Error, IDOK, true, false, false, IDI_ERROR, MessageBoxAnswer::Ok},
        {MessageBoxKind::YesNoQuestion, IDNO, false, true, true, IDI_QUESTION, MessageBoxAnswer::No},
        {MessageBoxKind::YesNoExclamation, IDYES, false, true, true, IDI_EXCLAMATION, MessageBoxAnswer::Yes},
    };
    auto main = TopLevel("Installation de Quorvane", WS_VISIBLE);
    auto other = TopLevel("Other", WS_VISIBLE);
    auto idle = TopLevel("Already disabled", WS_VISIBLE | WS_DISABLED);
    HWND edit = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE, 5, 5, 100, 20, other.Get(), nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    ASSERT_TRUE(main && other && idle && edit);

    for (const auto& c : cases) {
        const std::string caption = "Quorvane box " + std::to_string(static_cast<unsigned>(c.kind));
        SetActiveWindow(other.Get());
        SetFocus(edit);
        ASSERT_EQ(GetFocus(), edit);

        BoxSeen seen;
        std::thread watcher(AnswerBox, caption.c_str(), c.press, main.Get(), other.Get(), std::ref(seen));
        const MessageBoxAnswer answer = ShowMessageBox("Texte accentué é", caption, c.kind);
        watcher.join();

        ASSERT_TRUE(seen.found) << caption;
        EXPECT_EQ(answer, c.answer) << caption;
        EXPECT_EQ(seen.ok, c.ok) << caption;
        EXPECT_EQ(seen.yes, c.yes) << caption;
        EXPECT_EQ(seen.no, c.no) << caption;
        EXPECT_EQ(seen.icon, LoadIconA(nullptr, c.icon)) << caption;
        EXPECT_FALSE(seen.mainEnabled) << caption;
        EXPECT_FALSE(seen.otherEnabled) << caption;

        EXPECT_TRUE(IsWindowEnabled(main.Get())) << caption;
        EXPECT_TRUE(IsWindowEnabled(other.Get())) << caption;
        EXPECT_FALSE(IsWindowEnabled(idle.Get())) << caption << ": a window disabled before stays disabled";
        EXPECT_EQ(GetActiveWindow(), other.Get()) << caption;
        EXPECT_EQ(GetFocus(), edit) << caption;
    }
}

}  // namespace
