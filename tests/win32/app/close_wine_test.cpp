// The application's loop with a real window under Wine: every close path (close box,
// system menu, Alt+F4) runs OnClose; a refused close keeps the window; the first allowed
// one ends the loop.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/application.h"
#include "platform/exception.h"
#include "platform/messages.h"
#include "platform/win32/peer_window.h"
#include "ui/button.h"
#include "ui/form.h"
#include "ui/panel.h"

namespace {

HWND HandleOf(const TControl& control) {
    auto* peer = dynamic_cast<platform::win32::WindowPeer*>(control.Peer());
    return peer ? peer->Handle() : nullptr;
}

struct Window : TForm {
    Window() : TForm("Window", 424, 367) {
        SetCaption("Installation de Quorvane");
        Page.SetTabOrder(2);
        Bottom.SetTabOrder(1);
        Next.SetTabOrder(0);
        Next.SetCaption("&Suivant");
        SetDefaultButton(&Next);
    }
    TPanel Page{this, "Page", {0, 0, 424, 337}};
    TPanel Bottom{this, "Bottom", {0, 337, 424, 32}};
    TButton Next{&Bottom, "Next", {200, 5, 93, 22}};
};

// The only test that runs the loop: a quit, once seen, is kept.
TEST(ApplicationWine, EveryClosePathRunsOnCloseAndOnlyAnAllowedOneEndsTheLoop) {
    Window window;
    std::vector<std::string> log;
    int closes = 0;
    window.OnCreate = [&](TComponent*) { log.push_back("OnCreate"); };
    window.OnClose = [&](TComponent*) {
        log.push_back("OnClose");
        // Refused twice, silently, so that no box waits for an answer.
        if (++closes < 3) throw EAbort();
    };
    Application.CreateForm(window);
    const HWND frame = HandleOf(window);
    const auto state = [&](const char* after) {
        log.push_back(std::string(after) + (IsWindowVisible(frame) ? ": open" : ": gone") +
                      (GetFocus() == HandleOf(window.Next) ? ", focus on Next" : ", focus elsewhere"));
    };

    PostMessageA(frame, WM_CLOSE, 0, 0);  // the close box
    platform::PostTask([&] {
        state("close box");
        PostMessageA(frame, WM_SYSCOMMAND, SC_CLOSE, 0);  // the system menu
        platform::PostTask([&] {
            state("system menu");
            PostMessageA(GetFocus(), WM_SYSKEYDOWN, VK_F4, 1 | (1 << 29));  // Alt+F4
        });
    });
    Application.Run(window);

    EXPECT_EQ(log, (std::vector<std::string>{"OnCreate", "OnClose", "close box: open, focus on Next", "OnClose",
                                             "system menu: open, focus on Next", "OnClose"}));
    EXPECT_TRUE(platform::QuitReceived());
    EXPECT_TRUE(window.CloseRequested());
}

}  // namespace
