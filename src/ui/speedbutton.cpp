#include "ui/speedbutton.h"

bool TSpeedButton::Contains(int x, int y) const {
    const TBounds& b = Bounds();
    return x >= b.Left && x < b.Right() && y >= b.Top && y < b.Bottom();
}

void TSpeedButton::MouseDown(int x, int y) {
    if (!Enabled() || !Showing() || !Contains(x, y)) return;
    down_ = true;
    NotifyPeer(platform::PeerChange::Checked);
}

void TSpeedButton::MouseUp(int x, int y) {
    if (!down_) return;
    down_ = false;
    NotifyPeer(platform::PeerChange::Checked);
    if (Contains(x, y) && Enabled() && OnClick) OnClick(this);
}
