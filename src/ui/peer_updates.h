#pragma once
// The peers that lag behind their controls on purpose: a control that changes faster than
// anyone can read (a progress bar, its counters) has its peer brought up to date at most
// once per look at the message queue, through the hook the messages seam offers, or at
// once when asked. The control's own state is current all along.
#include <vector>

class TControl;

class TPeerUpdates {
public:
    static TPeerUpdates& Instance();

    // The control's peer is behind: it is brought up to date at the next look.
    void Defer(TControl& control);
    // The control is going: nothing is brought up to date for it any more.
    void Forget(TControl& control);
    // Brings every peer that is behind up to date now.
    void Flush();

private:
    TPeerUpdates() = default;
    std::vector<TControl*> pending_;
    bool hooked_ = false;
};
