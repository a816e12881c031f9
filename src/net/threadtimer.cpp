#include "net/threadtimer.h"

#include "platform/exception.h"

TThreadTimer::TThreadTimer()
    : FWindow("TmrWindowClass", [this](unsigned message, std::uintptr_t, std::intptr_t) {
          if (message == platform::kTimerMessage && FOnTimer) FOnTimer();
      }) {}

void TThreadTimer::SetEnabled(bool Value) {
    FEnabled = Value;
    UpdateTimer();
}

void TThreadTimer::SetInterval(std::uint32_t Value) {
    FInterval = Value;
    UpdateTimer();
}

void TThreadTimer::SetOnTimer(std::function<void()> Value) {
    FOnTimer = std::move(Value);
    UpdateTimer();
}

void TThreadTimer::UpdateTimer() {
    // Only a running timer is killed: the receive loop restarts the timer for every block.
    if (FRunning) FWindow.KillTimer();
    FRunning = false;
    if (FInterval == 0 || !FEnabled || !FOnTimer) return;
    if (!FWindow.SetTimer(FInterval)) throw Exception("No Timer");
    FRunning = true;
}
