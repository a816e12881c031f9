// Real message boxes: a watcher thread finds each box, notes its buttons, its icon and
// the state of the program's other windows, and presses a button.
#include <windows.h>

#include <gtest/gtest.h>

#include <thread>

#include "platform/services.h"
#include "platform/win32/handle.h"
#include "platform/win32/wide_text.h"

namespace {

using namespace platform;

struct BoxSeen {
    bool found = false;
    bool ok = false, yes = false, no = false;
    HICON icon = nullptr;
    std::string text;  // of the box's static text, read in UTF-16
    bool mainEnabled = true, otherEnabled = true;
};

BOOL CALLBACK InspectChild(HWND child, LPARAM seen) noexcept {
    auto& box = *reinterpret_cast<BoxSeen*>(seen);
    wchar_t className[16] = {}, text[256] = {};
    GetClassNameW(child, className, 16);
    if (lstrcmpiW(className, L"Static") != 0) return TRUE;
    if ((GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
        box.icon = reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0));
    else if (GetWindowTextW(child, text, 256) > 0)
        box.text = platform::win32::Narrow(text);
    return TRUE;
}

// Runs on the watcher thread while the test thread sits in the box's modal loop.
void AnswerBox(const std::string& caption, int button, HWND main, HWND other, BoxSeen& seen) {
    const std::wstring title = platform::win32::Widen(caption);
    for (int attempt = 0; attempt < 300; ++attempt) {
        HWND box = FindWindowW(L"#32770", title.c_str());
        if (box && IsWindowVisible(box)) {
            seen.found = true;
            seen.ok = GetDlgItem(box, IDOK) != nullptr;
            seen.yes = GetDlgItem(box, IDYES) != nullptr;
            seen.no = GetDlgItem(box, IDNO) != nullptr;
            EnumChildWindows(box, InspectChild, reinterpret_cast<LPARAM>(&seen));
            seen.mainEnabled = IsWindowEnabled(main);
            seen.otherEnabled = IsWindowEnabled(other);
            PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(box, button)));
            return;
        }
        Sleep(100);
    }
}

win32::WindowHandle TopLevel(const wchar_t* title, DWORD style) {
    static const ATOM windowClass = [] {
        WNDCLASSW description = {};
        description.lpfnWndProc = DefWindowProcW;
        description.hInstance = GetModuleHandleW(nullptr);
        description.lpszClassName = L"QuorvaneServicesTest";
        return RegisterClassW(&description);
    }();
    return win32::WindowHandle(CreateWindowExW(0, MAKEINTATOM(windowClass), title, style | WS_OVERLAPPEDWINDOW, 10, 10,
                                               300, 200, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr));
}

TEST(MessageBoxes, StyleButtonsAndTheProgramsWindowsWhileUpAndAfter) {
    const struct {
        MessageBoxKind kind;
        int press;
        bool ok, yes, no;
        LPCWSTR icon;
        MessageBoxAnswer answer;
    } cases[] = {
        {MessageBoxKind::Error, IDOK, true, false, false, IDI_ERROR, MessageBoxAnswer::Ok},
        {MessageBoxKind::YesNoQuestion, IDNO, false, true, true, IDI_QUESTION, MessageBoxAnswer::No},
        {MessageBoxKind::YesNoExclamation, IDYES, false, true, true, IDI_EXCLAMATION, MessageBoxAnswer::Yes},
    };
    auto main = TopLevel(L"Installation de Quorvane", WS_VISIBLE);
    auto other = TopLevel(L"Other", WS_VISIBLE);
    auto idle = TopLevel(L"Already disabled", WS_VISIBLE | WS_DISABLED);
    HWND edit = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 5, 5, 100, 20, other.Get(), nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    ASSERT_TRUE(main && other && idle && edit);

    for (const auto& c : cases) {
        // Caption and text beyond any one code page: both reach the box whole.
        const std::string caption = "Quorvane ☃ " + std::to_string(static_cast<unsigned>(c.kind));
        SetActiveWindow(other.Get());
        SetFocus(edit);
        ASSERT_EQ(GetFocus(), edit);

        BoxSeen seen;
        std::thread watcher(AnswerBox, std::cref(caption), c.press, main.Get(), other.Get(), std::ref(seen));
        const MessageBoxAnswer answer = ShowMessageBox("Texte accentué é, Łódź", caption, c.kind);
        watcher.join();

        ASSERT_TRUE(seen.found) << caption;
        EXPECT_EQ(answer, c.answer) << caption;
        EXPECT_EQ(seen.ok, c.ok) << caption;
        EXPECT_EQ(seen.yes, c.yes) << caption;
        EXPECT_EQ(seen.no, c.no) << caption;
        EXPECT_EQ(seen.icon, LoadIconW(nullptr, c.icon)) << caption;
        EXPECT_EQ(seen.text, "Texte accentué é, Łódź") << caption;
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
