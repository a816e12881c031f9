// Stand-in for the Windows message queue: one queue for the single user-interface
// thread, hidden windows known by id, timer identifier 1 per window, posted tasks.
#include <algorithm>
#include <chrono>
#include <deque>
#include <map>
#include <optional>
#include <utility>

#include "platform/guard.h"
#include "platform/posix/messages_queue.h"

namespace platform {
namespace {

using Clock = std::chrono::steady_clock;

struct Entry {
    std::uint64_t window = 0;  // 0: a task or the quit marker
    unsigned message = 0;
    std::uintptr_t wParam = 0;
    std::intptr_t lParam = 0;
    std::function<void()> task;
    bool quit = false;
};

struct Timer {
    Clock::duration interval;
    Clock::time_point due;
};

struct Queue {
    std::deque<Entry> entries;
    std::map<std::uint64_t, MessageHandler> windows;
    std::map<std::uint64_t, Timer> timers;
    std::uint64_t nextWindow = 1;
    bool quitReceived = false;
};

Queue& TheQueue() {
    static Queue queue;
    return queue;
}

bool TimerMessagePending(std::uint64_t window) {
    const auto& entries = TheQueue().entries;
    return std::any_of(entries.begin(), entries.end(),
                       [&](const Entry& e) { return e.window == window && e.message == kTimerMessage; });
}

// Like the system, a timer has at most one message waiting.
void PostDueTimers() {
    const auto now = Clock::now();
    for (auto& [window, timer] : TheQueue().timers) {
        if (timer.due > now) continue;
        timer.due = now + timer.interval;
        if (!TimerMessagePending(window)) posix::PostWindowMessage(window, kTimerMessage, 1, 0);
    }
}

// Milliseconds until the nearest timer is due, -1 without timers.
int MillisecondsToNextTimer() {
    std::optional<Clock::time_point> nearest;
    for (const auto& [window, timer] : TheQueue().timers)
        if (!nearest || timer.due < *nearest) nearest = timer.due;
    if (!nearest) return -1;
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(*nearest - Clock::now()).count();
    return static_cast<int>(std::clamp<long long>(wait, 0, 1000 * 60 * 60));
}

void Dispatch(Entry& entry) {
    auto& queue = TheQueue();
    if (entry.quit) {
        queue.quitReceived = true;
    } else if (entry.task) {
        Guarded(entry.task);
    } else if (auto found = queue.windows.find(entry.window); found != queue.windows.end()) {
        // A copy: the handler may destroy its own window.
        MessageHandler handler = found->second;
        Guarded([&] { handler(entry.message, entry.wParam, entry.lParam); });
    }
}

}  // namespace

namespace posix {
void PostWindowMessage(std::uint64_t window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
    TheQueue().entries.push_back(Entry{window, message, wParam, lParam, {}, false});
}
}  // namespace posix

void ProcessMessages() {
    RunQueueLookHook();
    auto& queue = TheQueue();
    posix::PollSockets(0);
    PostDueTimers();
    while (!queue.entries.empty()) {
        Entry entry = std::move(queue.entries.front());
        queue.entries.pop_front();
        Dispatch(entry);
        if (entry.quit) return;
    }
}

void WaitMessage() {
    RunQueueLookHook();
    auto& queue = TheQueue();
    if (!queue.entries.empty()) return;
    const int timeout = MillisecondsToNextTimer();
    if (timeout == 0) return;
    posix::PollSockets(timeout);
}

void PostQuitMessage() {
    Entry quit;
    quit.quit = true;
    TheQueue().entries.push_back(std::move(quit));
}

bool QuitReceived() { return TheQueue().quitReceived; }

void PostTask(std::function<void()> task) {
    Entry entry;
    entry.task = std::move(task);
    TheQueue().entries.push_back(std::move(entry));
}

MessageWindow::MessageWindow(const std::string&, MessageHandler handler) : impl_(std::make_unique<Impl>()) {
    auto& queue = TheQueue();
    impl_->id = queue.nextWindow++;
    queue.windows.emplace(impl_->id, std::move(handler));
}

MessageWindow::~MessageWindow() {
    auto& queue = TheQueue();
    queue.windows.erase(impl_->id);
    queue.timers.erase(impl_->id);
    std::erase_if(queue.entries, [&](const Entry& e) { return e.window == impl_->id; });
}

bool MessageWindow::Valid() const { return true; }

bool MessageWindow::SetTimer(unsigned interval) {
    const auto period = std::chrono::milliseconds(interval);
    TheQueue().timers[impl_->id] = Timer{period, Clock::now() + period};
    return true;
}

void MessageWindow::KillTimer() {
    TheQueue().timers.erase(impl_->id);
    Discard(kTimerMessage);
}

void MessageWindow::Discard(unsigned message) {
    std::erase_if(TheQueue().entries, [&](const Entry& e) { return e.window == impl_->id && e.message == message; });
}

}  // namespace platform
