#pragma once
// TThreadTimer: a window-message timer (identifier 1 on its own hidden window), the
// clock behind every time limit of the socket layer.
#include <cstdint>
#include <functional>

#include "platform/messages.h"

class TThreadTimer {
public:
    TThreadTimer();
    TThreadTimer(const TThreadTimer&) = delete;
    TThreadTimer& operator=(const TThreadTimer&) = delete;

    // Every assignment kills the system timer and starts it again from zero when
    // Interval is not 0, Enabled is true and OnTimer is set; raises "No Timer" when the
    // system refuses.
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value);
    std::uint32_t Interval() const { return FInterval; }
    void SetInterval(std::uint32_t Value);
    void SetOnTimer(std::function<void()> Value);

private:
    void UpdateTimer();

    bool FEnabled = true;
    std::uint32_t FInterval = 1000;
    std::function<void()> FOnTimer;
    bool FRunning = false;
    platform::MessageWindow FWindow;
};
