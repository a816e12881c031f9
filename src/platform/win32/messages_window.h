#pragma once
// What the win32 message and socket files share about a hidden notification window.
#include <winsock2.h>
#include <windows.h>

#include "platform/messages.h"

namespace platform {

struct MessageWindow::Impl {
    HWND hwnd = nullptr;
    MessageHandler handler;
};

}  // namespace platform
