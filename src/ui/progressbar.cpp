#include "ui/progressbar.h"

#include <algorithm>

#include "platform/exception.h"

void TProgressBar::SetMax(std::int32_t max) {
    if (max < min_) throw Exception("TProgressBar property out of range", "EInvalidOperation");
    if (max == max_) return;
    max_ = max;
    position_ = std::clamp(position_, min_, max_);
    NotifyPeer(platform::PeerChange::Range);
}

void TProgressBar::SetPosition(std::int32_t position) {
    position = std::clamp(position, min_, max_);
    if (position == position_) return;
    position_ = position;
    NotifyPeer(platform::PeerChange::Position);
}

void TProgressBar::PostBarColor(TColor color) {
    if (Peer()) Peer()->PostBarColor(*this, color);
}

void TProgressBar::BarColorArrived(TColor color) { barColor_ = color; }
