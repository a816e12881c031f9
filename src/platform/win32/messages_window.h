#pragma once
// What the win32 message and socket files share about a hidden notification window.
#include <winsock2.h>
#include <windows.h>

#include "platform/messages.h"
#include "platform/win32/handle.h"

namespace platform {

struct MessageWindow::Impl {
    MessageHandler handler;
    win32::WindowHandle hwnd;  // destroyed before the handler goes
};

}  // namespace platform
