#pragma once
// The mouse-only button: no window of its own, never focused, not in the tab order, no
// access key. A left press on it followed by the release over it runs OnClick.
#include "ui/control.h"

class TSpeedButton : public TControl {
public:
    using TControl::TControl;
    // Mouse events relative to the parent, from the parent's peer.
    void MouseDown(int x, int y);
    void MouseUp(int x, int y);
    // Drawn sunken while held.
    bool Down() const { return down_; }

private:
    bool Contains(int x, int y) const;
    bool down_ = false;
};
