#pragma once
// The emulated message queue shared by the posix message and socket stand-ins.
#include <cstdint>

#include "platform/messages.h"

namespace platform {

struct MessageWindow::Impl {
    std::uint64_t id = 0;
};

namespace posix {

// Queues a message for the window with that id; dropped if the window is gone by then.
void PostWindowMessage(std::uint64_t window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam);

// Implemented by the socket stand-in: turns socket readiness into notifications.
// Waits at most timeoutMs (-1: no limit) for something to report; 0 only looks.
void PollSockets(int timeoutMs);

}  // namespace posix
}  // namespace platform
