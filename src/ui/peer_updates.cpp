#include "ui/peer_updates.h"

#include <algorithm>

#include "platform/messages.h"
#include "ui/control.h"

TPeerUpdates& TPeerUpdates::Instance() {
    static TPeerUpdates updates;
    return updates;
}

void TPeerUpdates::Defer(TControl& control) {
    if (!hooked_) {
        platform::QueueLookHook() = [this] { Flush(); };
        hooked_ = true;
    }
    if (std::find(pending_.begin(), pending_.end(), &control) == pending_.end()) pending_.push_back(&control);
}

void TPeerUpdates::Forget(TControl& control) { std::erase(pending_, &control); }

// One at a time: a peer's update may make another control wait again, or destroy one.
void TPeerUpdates::Flush() {
    while (!pending_.empty()) {
        TControl* control = pending_.front();
        pending_.erase(pending_.begin());
        control->UpdatePeer();
    }
}
