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
    FWindow.KillTimer();
    if (FInterval != 0 && FEnabled && FOnTimer && !FWindow.SetTimer(FInterval)) throw Exception("No Timer");
}
